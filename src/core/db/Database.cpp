#include "core/db/Database.h"

#include "core/db/Recordset.h"
#include "core/db/Values.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <iterator>

namespace {

const QString kSource = QStringLiteral("DAO.Database");

thread_local Database::LockWait tLockWait;
thread_local int tWaiting = 0;

// Why work started while the thread waits in the middle of its own fails.
QString busyWithOwnWork() { return QStringLiteral("Database occupato: un'operazione del programma attende di completarsi"); }

// SQLite's own busy timeout: short sleeps first, so that a lock taken and let go again and again
// is caught between two holds; 10 seconds in all.
int sleepThenRetry(int retries)
{
    static const int delays[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
    static const int totals[] = {0, 1, 3, 8, 18, 33, 53, 78, 103, 128, 178, 228};
    constexpr int kLimitMs = 10000;
    constexpr int kSteps = int(std::size(delays));
    int delay = delays[std::min(retries, kSteps - 1)];
    const int prior = retries < kSteps ? totals[retries] : totals[kSteps - 1] + delay * (retries - kSteps + 1);
    if (prior + delay > kLimitMs) delay = kLimitMs - prior;
    if (delay <= 0) return 0;
    sqlite3_sleep(delay);
    return 1;
}

// SQLite calls it while another connection holds the lock it needs; what it returns goes back to
// C code, so nothing may be thrown through it.
int onBusy(void*, int retries)
{
    if (!tLockWait) return sleepThenRetry(retries);
    try {
        Database::WaitingScope waiting;
        return tLockWait(retries) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

// Numbers the program's messages and callers know the engine's failures by.
long errorNumber(int rc, const QString& message)
{
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_NOTNULL) return 3314;
        if (rc == SQLITE_CONSTRAINT_FOREIGNKEY) return 3201;
        return 3022;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return 3260;
    case SQLITE_READONLY: return 3027;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return 3343;
    case SQLITE_CANTOPEN: return 3024;
    case SQLITE_FULL:
    case SQLITE_IOERR: return 3043;
    default: break;
    }
    if (message.startsWith(QLatin1String("no such table"))) return 3078;
    if (message.startsWith(QLatin1String("no such column"))) return 3061;
    if (message.contains(QLatin1String("syntax error"))) return 3075;
    return 3146;
}

// What the operator reads before the engine's own text.
QString italianDescription(int rc, long number)
{
    switch (rc) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY: return QStringLiteral("Valore duplicato in un indice univoco");
    case SQLITE_CONSTRAINT_NOTNULL: return QStringLiteral("Campo obbligatorio senza valore");
    case SQLITE_CONSTRAINT_FOREIGNKEY: return QStringLiteral("Manca il record collegato");
    default: break;
    }
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT: return QStringLiteral("Modifica rifiutata da un vincolo del database");
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return QStringLiteral("Database bloccato da un altro utente o programma");
    case SQLITE_READONLY: return QStringLiteral("Database di sola lettura");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return QStringLiteral("File di database non riconosciuto o danneggiato");
    case SQLITE_CANTOPEN: return QStringLiteral("Impossibile aprire il file di database");
    case SQLITE_FULL: return QStringLiteral("Disco pieno");
    case SQLITE_IOERR: return QStringLiteral("Errore di lettura o scrittura del file di database");
    default: break;
    }
    switch (number) {
    case 3078: return QStringLiteral("Tabella inesistente");
    case 3061: return QStringLiteral("Campo inesistente");
    case 3075: return QStringLiteral("Errore di sintassi nell'istruzione SQL");
    default: return QStringLiteral("Errore del database");
    }
}

// Case-folds Unicode text for the comparisons the translated SQL folds; other values pass as they are.
void caseFold(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_value(context, argv[0]);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const QByteArray folded = QString::fromUtf8(text, sqlite3_value_bytes(argv[0])).toCaseFolded().toUtf8();
    sqlite3_result_text(context, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

// A change cut short leaves its journal beside the file: undoing it writes the file through the
// journal, then deletes the journal from the folder. What cannot be written, by what SQLite tells
// of the undoing; "" when it tells of something else.
QString interruptedChange(int code, const QString& path, bool readOnly)
{
    const QString journal = path + QStringLiteral("-journal");
    if (code == SQLITE_READONLY_ROLLBACK && readOnly)
        return QStringLiteral("Il database %1 ha una modifica interrotta, che una connessione di sola lettura non annulla").arg(path);
    // A file that cannot be written is opened read-only.
    if (code == SQLITE_READONLY_ROLLBACK)
        return QStringLiteral("Il file %1 non è scrivibile: ha una modifica interrotta, che va annullata prima di leggerlo").arg(path);
    if (code == SQLITE_IOERR_DELETE)
        return QStringLiteral("La cartella %1 non è scrivibile: il database vi ha lasciato una modifica interrotta, che va annullata "
                              "prima di leggerlo")
            .arg(QFileInfo(path).absolutePath());
    // A journal that cannot be written is opened read-only, and cannot undo.
    if ((code & 0xff) == SQLITE_CANTOPEN && QFileInfo::exists(journal))
        return QStringLiteral("Il file %1 non è scrivibile: tiene una modifica interrotta del database, che va annullata prima di "
                              "leggerlo")
            .arg(journal);
    return {};
}

} // namespace

Statement::~Statement()
{
    if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
}

void Statement::bind(int index, const QVariant& value)
{
    int rc = BindValue(stmt_, index, value);
    if (rc != SQLITE_OK) db_->failFromEngine(rc);
}

void Statement::bindAll(const QVector<QVariant>& values, int first)
{
    for (int i = 0; i < values.size(); ++i) bind(first + i, values[i]);
}

bool Statement::step()
{
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    db_->failFromEngine(rc);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

QString Statement::columnName(int i) const { return QString::fromUtf8(sqlite3_column_name(stmt_, i)); }

QString Statement::declaredType(int i) const
{
    const char* t = sqlite3_column_decltype(stmt_, i);
    return t ? QString::fromUtf8(t) : QString();
}

QVariant Statement::value(int i) const { return ColumnValue(stmt_, i, ColumnKindOf(declaredType(i))); }

qint64 Statement::int64(int i) const { return sqlite3_column_int64(stmt_, i); }

Database::Database(sqlite3* db, QString path, bool readOnly) : db_(db), path_(std::move(path)), readOnly_(readOnly) {}

Database::~Database()
{
    for (auto& [sql, stmt] : cache_) sqlite3_finalize(stmt);
    sqlite3_close_v2(db_);
}

void Database::SetLockWait(LockWait wait) { tLockWait = std::move(wait); }

Database::WaitingScope::WaitingScope() { ++tWaiting; }

Database::WaitingScope::~WaitingScope() { --tWaiting; }

bool Database::Waiting() { return tWaiting > 0; }

std::unique_ptr<Database> Database::Open(const QString& path, bool readOnly)
{
    if (Waiting()) throw AppError(3260, kSource, busyWithOwnWork());
    QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw AppError(3024, kSource, QStringLiteral("Could not find file '%1'.").arg(path));
    sqlite3* db = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_FULLMUTEX;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        throw AppError(3024, kSource, QStringLiteral("Could not open file '%1'.").arg(path));
    }
    sqlite3_busy_handler(db, onBusy, nullptr);
    sqlite3_extended_result_codes(db, 1);
    // On this connection only: the file itself needs nothing but SQLite, for any other program.
    sqlite3_create_function_v2(db, kCaseFoldFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, caseFold, nullptr, nullptr,
                               nullptr);
    // Reading the schema is what tells a database from any other file.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK && !readOnly) rc = sqlite3_exec(db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        // A file another program holds locked is a database all the same: try again later.
        const int code = sqlite3_extended_errcode(db);
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close_v2(db);
        if (errorNumber(code, message) == 3260)
            throw AppError(3260, kSource, italianDescription(code, 3260) + QStringLiteral(" (") + message + u')');
        if (const QString why = interruptedChange(code, path, readOnly); !why.isEmpty())
            throw AppError(3027, kSource, why + QStringLiteral(" (") + message + u')');
        throw AppError(3343, kSource, QStringLiteral("Unrecognized database format '%1'.").arg(path));
    }
    return std::unique_ptr<Database>(new Database(db, path, readOnly));
}

Statement Database::prepare(const QString& sql)
{
    if (Waiting()) fail(3260, busyWithOwnWork());
    const std::string key = sql.toStdString();
    auto it = cache_.find(key);
    if (it != cache_.end()) return Statement(it->second, *this);
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v3(db_, key.c_str(), int(key.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) failFromEngine(rc);
    cache_.emplace(key, stmt);
    return Statement(stmt, *this);
}

void Database::fail(long number, const QString& description)
{
    errors_.clear();
    errors_.push_back({number, description, kSource});
    throw AppError(number, kSource, description);
}

void Database::failFromEngine(int rc)
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
    const long number = errorNumber(rc, message);
    fail(number, italianDescription(rc, number) + QStringLiteral(" (") + message + u')');
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& source)
{
    errors_.clear();
    return Recordset::open(*this, source);
}

int Database::Execute(const QString& jetSql)
{
    errors_.clear();
    TranslatedSql t;
    try {
        t = TranslateJetSql(jetSql);
    } catch (const AppError& e) {
        fail(e.number(), e.description());
    }
    return ExecuteNative(t.sql, t.params);
}

int Database::ExecuteNative(const QString& sql, const QVector<QVariant>& params)
{
    errors_.clear();
    Statement st = prepare(sql);
    st.bindAll(params);
    while (st.step()) {
    }
    return sqlite3_changes(db_);
}

void Database::BeginTrans() { ExecuteNative(QStringLiteral("BEGIN IMMEDIATE")); }

void Database::CommitTrans() { ExecuteNative(QStringLiteral("COMMIT")); }

// Cleanup after a failure: keeps the failure's errors for the message that follows.
void Database::Rollback()
{
    if (InTransaction()) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Database::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

bool Database::TableExists(const QString& table)
{
    Statement st = prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    st.bind(1, table);
    return st.step();
}
