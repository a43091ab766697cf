#include "core/db/Recordset.h"

#include "core/db/Database.h"
#include "core/db/JetSql.h"

#include <sqlite3.h>

namespace {

QString quoted(const QString& name)
{
    QString n = name;
    if (n.startsWith(u'"') && n.endsWith(u'"')) return n;
    return u'"' + n.replace(u'"', QLatin1String("\"\"")) + u'"';
}

bool isPlainName(const QString& s)
{
    const QString t = s.trimmed();
    if (t.isEmpty()) return false;
    for (QChar c : t)
        if (!(c.isLetterOrNumber() || c == u'_')) return false;
    return true;
}

} // namespace

Recordset::Recordset(Database& db, Mode mode) : db_(db), mode_(mode) {}

Recordset::~Recordset() = default;

std::unique_ptr<Recordset> Recordset::open(Database& db, const QString& source)
{
    if (isPlainName(source)) {
        if (!db.TableExists(source.trimmed()))
            db.fail(3078, QStringLiteral("The Microsoft Jet database engine cannot find the input table or query '%1'.").arg(source.trimmed()));
        std::unique_ptr<Recordset> rs(new Recordset(db, Mode::Table));
        rs->table_ = quoted(source.trimmed());
        rs->loadColumns(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(rs->table_));
        rs->settle(Pos::Before);
        return rs;
    }

    TranslatedSql sql;
    try {
        sql = TranslateJetSql(source);
    } catch (const AppError& e) {
        db.fail(e.number(), e.description());
    }
    SingleTableSelect single;
    if (ParseSingleTableSelect(sql, single) && single.paramsInSelectList == 0 && db.TableExists(single.table.remove(u'"'))) {
        std::unique_ptr<Recordset> rs(new Recordset(db, Mode::Keyset));
        rs->table_ = quoted(single.table);
        rs->loadColumns(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(single.selectList, rs->table_));
        Statement st = db.prepare(QStringLiteral("SELECT %1.rowid FROM %1 %2").arg(rs->table_, single.rest));
        st.bindAll(sql.params);
        while (st.step()) rs->keys_.push_back(st.int64(0));
        rs->deletedKeys_.assign(rs->keys_.size(), false);
        rs->settle(Pos::Before);
        return rs;
    }

    std::unique_ptr<Recordset> rs(new Recordset(db, Mode::Snapshot));
    Statement st = db.prepare(sql.sql);
    st.bindAll(sql.params);
    for (int i = 0; i < st.columnCount(); ++i) {
        rs->columns_.push_back({st.columnName(i), ParseColumnType(st.declaredType(i))});
        rs->index_.insert(st.columnName(i).toLower(), i);
    }
    while (st.step()) {
        std::vector<QVariant> row;
        for (int i = 0; i < st.columnCount(); ++i) row.push_back(st.value(i));
        rs->rows_.push_back(std::move(row));
    }
    rs->settle(Pos::Before);
    return rs;
}

void Recordset::loadColumns(const QString& fetchSql)
{
    fetchSql_ = fetchSql;
    Statement st = db_.prepare(fetchSql_);
    for (int i = 0; i < st.columnCount(); ++i) {
        const QString name = st.columnName(i);
        columns_.push_back({name, ParseColumnType(st.declaredType(i))});
        // The first of two columns with one name wins, as a field lookup by name does.
        if (!index_.contains(name.toLower())) index_.insert(name.toLower(), i);
    }
}

// Right after opening, a recordset with rows is on its first row.
void Recordset::settle(Pos where)
{
    pos_ = where;
    try {
        MoveFirst();
    } catch (const AppError&) {
        pos_ = Pos::Before;
    }
    if (pos_ != Pos::At) {
        db_.ClearErrors();
        pos_ = Pos::Empty;
        cursor_ = -1;
    }
}

bool Recordset::hasRows() const
{
    if (mode_ == Mode::Table) return queryKey(QStringLiteral("SELECT rowid FROM %1 LIMIT 1").arg(table_), {}).has_value();
    if (mode_ == Mode::Snapshot) return !rows_.empty();
    return std::find(deletedKeys_.begin(), deletedKeys_.end(), false) != deletedKeys_.end();
}

// Moving off an end: with no rows left the recordset is at both ends at once.
void Recordset::runOff(Pos end)
{
    cache_.reset();
    currentDeleted_ = false;
    pos_ = hasRows() ? end : Pos::Empty;
}

void Recordset::requireOpen() const
{
    if (closed_) throw AppError(3420, QStringLiteral("DAO.Recordset"), QStringLiteral("Object invalid or no longer set."));
}

void Recordset::requireCurrent() const
{
    requireOpen();
    if (pos_ != Pos::At) db_.fail(3021, QStringLiteral("No current record."));
    if (currentDeleted_) db_.fail(3167, QStringLiteral("Record is deleted."));
}

void Recordset::requireUpdatable() const
{
    requireOpen();
    if (mode_ == Mode::Snapshot || db_.readOnly())
        db_.fail(3027, QStringLiteral("Cannot update. Database or object is read-only."));
}

void Recordset::leaveEdit()
{
    editMode_ = dbEditNone;
    buffer_.clear();
    editedFrom_.clear();
    touched_.clear();
}

std::optional<qint64> Recordset::queryKey(const QString& sql, const QVector<QVariant>& params) const
{
    Statement st = db_.prepare(sql);
    st.bindAll(params);
    if (st.step()) return st.int64(0);
    return std::nullopt;
}

void Recordset::goTo(std::optional<qint64> key, Pos ifNone)
{
    if (!key) {
        runOff(ifNone);
        return;
    }
    cache_.reset();
    currentDeleted_ = false;
    pos_ = Pos::At;
    key_ = *key;
}

qint64 Recordset::currentKey() const { return mode_ == Mode::Table ? key_ : keys_.at(size_t(cursor_)); }

void Recordset::MoveFirst()
{
    requireOpen();
    leaveEdit();
    if (mode_ == Mode::Table) {
        auto k = queryKey(QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid LIMIT 1").arg(table_), {});
        if (!k) {
            pos_ = Pos::Empty;
            db_.fail(3021, QStringLiteral("No current record."));
        }
        goTo(k, Pos::Before);
        return;
    }
    const long n = mode_ == Mode::Keyset ? long(keys_.size()) : long(rows_.size());
    cache_.reset();
    currentDeleted_ = false;
    cursor_ = 0;
    while (mode_ == Mode::Keyset && cursor_ < n && deletedKeys_[size_t(cursor_)]) ++cursor_;
    if (cursor_ >= n) {
        cursor_ = -1;
        pos_ = Pos::Empty;
        db_.fail(3021, QStringLiteral("No current record."));
    }
    pos_ = Pos::At;
}

void Recordset::MoveLast()
{
    requireOpen();
    leaveEdit();
    if (mode_ == Mode::Table) {
        auto k = queryKey(QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid DESC LIMIT 1").arg(table_), {});
        if (!k) {
            pos_ = Pos::Empty;
            db_.fail(3021, QStringLiteral("No current record."));
        }
        goTo(k, Pos::After);
        return;
    }
    const long n = mode_ == Mode::Keyset ? long(keys_.size()) : long(rows_.size());
    cache_.reset();
    currentDeleted_ = false;
    cursor_ = n - 1;
    while (mode_ == Mode::Keyset && cursor_ >= 0 && deletedKeys_[size_t(cursor_)]) --cursor_;
    if (cursor_ < 0) {
        pos_ = Pos::Empty;
        db_.fail(3021, QStringLiteral("No current record."));
    }
    pos_ = Pos::At;
}

void Recordset::MoveNext()
{
    requireOpen();
    if (Eof()) db_.fail(3021, QStringLiteral("No current record."));
    leaveEdit();
    if (mode_ == Mode::Table) {
        if (pos_ == Pos::Before) {
            goTo(queryKey(QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid LIMIT 1").arg(table_), {}), Pos::After);
            return;
        }
        goTo(queryKey(QStringLiteral("SELECT rowid FROM %1 WHERE rowid > ? ORDER BY rowid LIMIT 1").arg(table_), {key_}), Pos::After);
        return;
    }
    const long n = mode_ == Mode::Keyset ? long(keys_.size()) : long(rows_.size());
    cache_.reset();
    currentDeleted_ = false;
    ++cursor_;
    while (mode_ == Mode::Keyset && cursor_ < n && deletedKeys_[size_t(cursor_)]) ++cursor_;
    if (cursor_ >= n) {
        cursor_ = n;
        runOff(Pos::After);
    } else {
        pos_ = Pos::At;
    }
}

void Recordset::MovePrevious()
{
    requireOpen();
    if (Bof()) db_.fail(3021, QStringLiteral("No current record."));
    leaveEdit();
    if (mode_ == Mode::Table) {
        if (pos_ == Pos::After) {
            goTo(queryKey(QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid DESC LIMIT 1").arg(table_), {}), Pos::Before);
            return;
        }
        goTo(queryKey(QStringLiteral("SELECT rowid FROM %1 WHERE rowid < ? ORDER BY rowid DESC LIMIT 1").arg(table_), {key_}), Pos::Before);
        return;
    }
    cache_.reset();
    currentDeleted_ = false;
    --cursor_;
    while (mode_ == Mode::Keyset && cursor_ >= 0 && deletedKeys_[size_t(cursor_)]) --cursor_;
    if (cursor_ < 0) {
        cursor_ = -1;
        runOff(Pos::Before);
    } else {
        pos_ = Pos::At;
    }
}

void Recordset::FindFirst(const QString& criteria)
{
    requireOpen();
    if (mode_ == Mode::Snapshot) db_.fail(3251, QStringLiteral("Operation is not supported for this type of object."));
    TranslatedSql t;
    try {
        t = TranslateJetSql(criteria);
    } catch (const AppError& e) {
        db_.fail(e.number(), e.description());
    }
    leaveEdit();
    if (mode_ == Mode::Table) {
        auto k = queryKey(QStringLiteral("SELECT rowid FROM %1 WHERE (%2) ORDER BY rowid LIMIT 1").arg(table_, t.sql), t.params);
        noMatch_ = !k;
        if (k) goTo(k, Pos::Before);
        return;
    }
    QVector<QVariant> params{QVariant()};
    params += t.params;
    const QString test = QStringLiteral("SELECT rowid FROM %1 WHERE rowid = ? AND (%2)").arg(table_, t.sql);
    for (size_t i = 0; i < keys_.size(); ++i) {
        if (deletedKeys_[i]) continue;
        params[0] = keys_[i];
        if (queryKey(test, params)) {
            noMatch_ = false;
            cache_.reset();
            currentDeleted_ = false;
            cursor_ = long(i);
            pos_ = Pos::At;
            return;
        }
    }
    noMatch_ = true;
}

const std::vector<QVariant>& Recordset::currentRow() const
{
    requireCurrent();
    if (mode_ == Mode::Snapshot) return rows_.at(size_t(cursor_));
    if (!cache_) {
        Statement st = db_.prepare(fetchSql_);
        st.bind(1, currentKey());
        if (!st.step()) db_.fail(3167, QStringLiteral("Record is deleted."));
        std::vector<QVariant> row;
        row.reserve(columns_.size());
        for (size_t i = 0; i < columns_.size(); ++i) row.push_back(ColumnValue(st.handle(), int(i), columns_[i].type.kind));
        cache_ = std::move(row);
    }
    return *cache_;
}

int Recordset::fieldIndex(const QString& field) const
{
    auto it = index_.constFind(field.toLower());
    if (it == index_.constEnd()) db_.fail(3265, QStringLiteral("Item not found in this collection."));
    return *it;
}

QVariant Recordset::Value(const QString& field) const
{
    requireOpen();
    const int i = fieldIndex(field);
    if (editMode_ != dbEditNone) return buffer_[size_t(i)];
    return currentRow()[size_t(i)];
}

void Recordset::SetValue(const QString& field, const QVariant& value)
{
    requireOpen();
    const int i = fieldIndex(field);
    if (editMode_ == dbEditNone) db_.fail(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const Column& c = columns_[size_t(i)];
    try {
        buffer_[size_t(i)] = ValueForColumn(value, c.type, c.name);
    } catch (const AppError& e) {
        db_.fail(e.number(), e.description());
    }
    touched_[size_t(i)] = true;
}

void Recordset::AddNew()
{
    requireUpdatable();
    leaveEdit();
    buffer_.assign(columns_.size(), QVariant());
    touched_.assign(columns_.size(), false);
    editMode_ = dbEditAdd;
}

// The edit starts from the row as it is in the file now, not from the copy read at the last move.
void Recordset::Edit()
{
    requireUpdatable();
    requireCurrent();
    leaveEdit();
    cache_.reset();
    buffer_ = currentRow();
    editedFrom_ = buffer_;
    touched_.assign(columns_.size(), false);
    editMode_ = dbEditInProgress;
}

void Recordset::CancelUpdate()
{
    requireOpen();
    leaveEdit();
}

void Recordset::Update()
{
    requireUpdatable();
    if (editMode_ == dbEditNone) db_.fail(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    QStringList names;
    QVector<QVariant> values;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (!touched_[i]) continue;
        names << quoted(columns_[i].name);
        values << buffer_[i];
    }
    // A failed write keeps the edit pending, so the caller can show the error and cancel or retry.
    if (editMode_ == dbEditAdd) {
        QString sql;
        if (names.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table_);
        } else {
            QStringList marks;
            for (int i = 0; i < names.size(); ++i) marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table_, names.join(u','), marks.join(u','));
        }
        db_.ExecuteNative(sql, values);
        const qint64 key = sqlite3_last_insert_rowid(db_.handle());
        lastModified_ = key;
        // New rows join a query's rows at the end; the current row stays where it was.
        if (mode_ == Mode::Keyset) {
            keys_.push_back(key);
            deletedKeys_.push_back(false);
        }
    } else {
        const qint64 key = currentKey();
        // Optimistic locking: the row must still be the one Edit read. Compared and written under
        // the write lock, so no other connection can slip in between.
        const bool ownTransaction = !db_.InTransaction();
        if (ownTransaction) db_.BeginTrans();
        try {
            cache_.reset();
            if (currentRow() != editedFrom_)
                db_.fail(3197, QStringLiteral("The Microsoft Jet database engine stopped the process because you and another user are "
                                              "attempting to change the same data at the same time."));
            if (!names.isEmpty()) {
                QStringList sets;
                for (const QString& n : names) sets << n + QStringLiteral(" = ?");
                values << key;
                db_.ExecuteNative(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(table_, sets.join(u',')), values);
            }
            if (ownTransaction) db_.CommitTrans();
        } catch (const AppError&) {
            cache_.reset();
            if (ownTransaction) db_.Rollback();
            throw;
        }
        lastModified_ = key;
        cache_.reset();
    }
    leaveEdit();
}

void Recordset::Delete()
{
    requireUpdatable();
    requireCurrent();
    leaveEdit();
    const qint64 key = currentKey();
    db_.ExecuteNative(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(table_), {key});
    cache_.reset();
    currentDeleted_ = true;
    if (mode_ == Mode::Keyset) deletedKeys_[size_t(cursor_)] = true;
}

void Recordset::Close()
{
    leaveEdit();
    cache_.reset();
    keys_.clear();
    rows_.clear();
    closed_ = true;
}

Bookmark Recordset::GetBookmark() const
{
    requireCurrent();
    return mode_ == Mode::Snapshot ? cursor_ : currentKey();
}

void Recordset::SetBookmark(Bookmark bookmark)
{
    requireOpen();
    leaveEdit();
    auto invalid = [&] { db_.fail(3159, QStringLiteral("Not a valid bookmark.")); };
    if (mode_ == Mode::Table) {
        if (!queryKey(QStringLiteral("SELECT rowid FROM %1 WHERE rowid = ?").arg(table_), {bookmark})) invalid();
        goTo(bookmark, Pos::Before);
        return;
    }
    if (mode_ == Mode::Snapshot) {
        if (bookmark < 0 || bookmark >= qint64(rows_.size())) invalid();
        cursor_ = long(bookmark);
    } else {
        auto it = std::find(keys_.begin(), keys_.end(), bookmark);
        if (it == keys_.end() || deletedKeys_[size_t(it - keys_.begin())]) invalid();
        cursor_ = long(it - keys_.begin());
    }
    cache_.reset();
    currentDeleted_ = false;
    pos_ = Pos::At;
}

Bookmark Recordset::LastModified() const
{
    requireOpen();
    if (!lastModified_) db_.fail(3159, QStringLiteral("Not a valid bookmark."));
    return *lastModified_;
}
