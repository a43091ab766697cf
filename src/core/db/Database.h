#pragma once
// The program's database over SQLite, with the behaviour the program expects of its original
// engine: opening an existing file only, SQL in the original dialect with literals bound as
// parameters, transactions, and the list of errors of the last failed operation.

#include "core/db/AppError.h"
#include "core/db/JetSql.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class Recordset;

struct DbError {
    long number;
    QString description;
    QString source;
};

// A prepared statement borrowed from the database's cache; reset when it goes out of scope so
// that no read keeps an old snapshot open.
class Statement {
public:
    Statement(sqlite3_stmt* stmt, class Database& db) : stmt_(stmt), db_(&db) {}
    Statement(Statement&& other) noexcept : stmt_(other.stmt_), db_(other.db_) { other.stmt_ = nullptr; }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    void bind(int index, const QVariant& value);
    void bindAll(const QVector<QVariant>& values, int first = 1);
    // True while a row is available.
    bool step();
    int columnCount() const;
    QString columnName(int i) const;
    QString declaredType(int i) const;
    QVariant value(int i) const;
    qint64 int64(int i) const;
    sqlite3_stmt* handle() const { return stmt_; }

private:
    sqlite3_stmt* stmt_;
    Database* db_;
};

class Database {
public:
    // Opens an existing database file; throws AppError when it is missing or not a database.
    static std::unique_ptr<Database> Open(const QString& path, bool readOnly = false);

    // How the calling thread waits for a lock another program holds: called at each retry with the
    // retries so far; false gives up, and the operation fails as locked. A thread without one sleeps
    // between retries, for 10 seconds at most.
    using LockWait = std::function<bool(int retries)>;
    static void SetLockWait(LockWait wait);

    // While one lives, the calling thread runs events in the middle of its own database work (a lock
    // wait, a worker it waits for): database work started meanwhile fails at once, so that nothing
    // re-enters the work under way.
    class WaitingScope {
    public:
        WaitingScope();
        ~WaitingScope();
        WaitingScope(const WaitingScope&) = delete;
        WaitingScope& operator=(const WaitingScope&) = delete;
    };
    static bool Waiting();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    bool readOnly() const { return readOnly_; }

    // A table name, or a SELECT in the original dialect.
    std::unique_ptr<Recordset> OpenRecordset(const QString& source);
    // Runs a statement in the original dialect; returns the rows it changed.
    int Execute(const QString& jetSql);
    // Runs SQLite SQL with bound values.
    int ExecuteNative(const QString& sql, const QVector<QVariant>& params = {});

    // Read-then-write transactions start IMMEDIATE so a concurrent commit cannot invalidate them.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    bool InTransaction() const;

    bool TableExists(const QString& table);

    // Errors of the last failed operation, in order.
    const std::vector<DbError>& Errors() const { return errors_; }
    void ClearErrors() { errors_.clear(); }

    // Internals for Recordset and Statement.
    Statement prepare(const QString& sql);
    [[noreturn]] void fail(long number, const QString& description);
    [[noreturn]] void failFromEngine(int rc);
    sqlite3* handle() const { return db_; }

private:
    Database(sqlite3* db, QString path, bool readOnly);
    sqlite3* db_;
    QString path_;
    bool readOnly_;
    std::vector<DbError> errors_;
    std::unordered_map<std::string, sqlite3_stmt*> cache_;
};
