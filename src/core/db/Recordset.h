#pragma once
// A dynaset over a table or a query, with the original engine's behaviour: BOF and EOF, moves,
// find first with its no-match flag, add new / edit / update / cancel / delete through an edit
// buffer, bookmarks and the last-modified bookmark. Tables, single-table queries and joins are
// walked by the database's own search: each find and bookmark seeks its row on the query's order
// and row keys, and a walk fetches the keys of the rows beyond the current one a batch at a time,
// so nothing grows with the table. A TOP query keeps its few row keys; any other query (grouping,
// outer joins…) is a read-only copy of its rows.

#include "core/db/Values.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

struct sqlite3_value;
struct SelectParts;
#include <optional>
#include <vector>

class Database;
class Statement;

using Bookmark = qint64;

enum EditModeValue { dbEditNone = 0, dbEditInProgress = 1, dbEditAdd = 2 };

class Recordset {
public:
    static std::unique_ptr<Recordset> open(Database& db, const QString& source);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool Bof() const { return pos_ == Pos::Before || pos_ == Pos::Empty; }
    bool Eof() const { return pos_ == Pos::After || pos_ == Pos::Empty; }
    // No rows: before the first and after the last at once.
    bool IsEmpty() const { return Bof() && Eof(); }

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    // Criteria in the original dialect ("SSCC = '…'"); the position stays put when nothing matches.
    void FindFirst(const QString& criteria);
    bool NoMatch() const { return noMatch_; }

    // Values come from a copy of the current row, read at the first value after a move.
    QVariant Value(const QString& field) const;
    // Drops that copy: the next value is read from the row as it is in the file now, with what
    // other programs wrote since.
    void Refresh() { cache_.reset(); }
    void SetValue(const QString& field, const QVariant& value);
    int FieldCount() const { return int(columns_.size()); }
    QString FieldName(int index) const { return columns_.at(index).name; }
    bool HasField(const QString& field) const { return index_.contains(field.toLower()); }

    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    void Delete();
    void Close();
    int EditMode() const { return editMode_; }

    Bookmark GetBookmark() const;
    void SetBookmark(Bookmark bookmark);
    Bookmark LastModified() const;

private:
    // Table: one table's rows (a table or a query on it), sought; Join: rows of inner joins, sought,
    // read-only; Keyset: a TOP query's row keys; Snapshot: a read-only copy of the rows.
    enum class Mode { Table, Join, Keyset, Snapshot };
    enum class Pos { Before, At, After, Empty };
    struct Column {
        QString name;
        ColumnType type;
    };
    // A value exactly as SQLite holds it, to seek from.
    using SqlValue = std::shared_ptr<sqlite3_value>;
    using Position = std::vector<SqlValue>; // the order terms' values, then the row keys
    struct SeekTerm {
        QString expr;
        bool desc = false;
    };

    Recordset(Database& db, Mode mode, QString source);
    void loadColumns(const QString& fetchSql);
    void prepareSeek(const SelectParts& parts);
    int fieldIndex(const QString& field) const;
    void requireOpen() const;
    void requireCurrent() const;
    void requireUpdatable() const;
    void leaveEdit();
    // Rows found by a seek, nearest first: their keys, keyCount_ a row, and where the first and the
    // last stand; `sortedAll` when its last query sorted all the rows it matched at once.
    struct Found {
        std::vector<qint64> keys;
        size_t count = 0;
        Position first;
        Position last;
        bool sortedAll = false;
    };
    QString seekSql(const QString& conditions, bool forward, size_t firstTerm) const;
    void seekRows(const QString& conditions, const std::vector<SqlValue>& values, const QVector<QVariant>& extra, bool forward,
                  size_t firstTerm, size_t count, Found& found) const;
    std::optional<Position> seekOne(const QString& conditions, const QVector<QVariant>& extra) const;
    std::pair<QStringList, std::vector<SqlValue>> equalTo(const Position& from, size_t level) const;
    void seekBeyond(bool forward, const Position& from, size_t level, size_t count, Found& found) const;
    Found seekAfter(bool forward, const Position& from, size_t count) const;
    Found seekFirst(bool forward, size_t count) const;
    std::optional<Position> takeBatch(Found found, bool forward);
    std::optional<Position> step(bool forward);
    std::optional<Position> startWalk(bool forward);
    void dropBatch();
    std::optional<Position> positionOfKeys(const std::vector<qint64>& keys, bool meetingCondition) const;
    Position readPosition(const Statement& st) const;
    void goTo(std::optional<Position> position, Pos ifNone);
    std::optional<qint64> queryKey(const QString& sql, const QVector<QVariant>& params) const;
    const std::vector<QVariant>& currentRow() const;
    qint64 currentKey() const;
    std::vector<qint64> currentKeys() const;
    void settle(Pos where);
    bool hasRows() const;
    void runOff(Pos end);
    bool sought() const { return mode_ == Mode::Table || mode_ == Mode::Join; }

    Database& db_;
    Mode mode_;
    QString source_; // the table or query opened, to name it in messages
    bool closed_ = false;
    QString table_;      // quoted base table
    QString fetchSql_;   // one row by its keys
    QVector<QVariant> fetchParams_; // bound before the keys

    // Sought modes: the query's parts, its order terms followed by one key per table.
    QString from_;
    QString where_;
    QVector<QVariant> seekParams_; // the FROM and WHERE values
    int fromParamCount_ = 0;
    std::vector<SeekTerm> terms_;
    size_t keyCount_ = 1;
    QString leadFrom_;              // a join's table holding its first term, with its name in the join
    Position at_;                   // where the current row stands
    // The walk's batch: the keys of its rows, keyCount_ a row, nearest first, and where the next row's
    // keys start; where the batch ended, in which direction, and how many rows the next one takes.
    static constexpr size_t kFirstBatch = 8;
    static constexpr size_t kLargestBatch = 16384;
    std::vector<qint64> ahead_;
    size_t aheadAt_ = 0;
    std::optional<Position> batchEnd_;
    bool batchForward_ = true;
    size_t batchSize_ = kFirstBatch;
    mutable std::vector<std::vector<qint64>> joinBookmarks_;
    std::vector<Column> columns_;
    QHash<QString, int> index_;

    Pos pos_ = Pos::Before;
    qint64 key_ = 0;              // current rowid (Table mode)
    long cursor_ = -1;            // current position in keys_ or rows_
    std::vector<qint64> keys_;    // Keyset mode
    std::vector<std::vector<QVariant>> rows_; // Snapshot mode
    std::vector<bool> deletedKeys_;
    bool currentDeleted_ = false;
    mutable std::optional<std::vector<QVariant>> cache_;

    bool noMatch_ = false;
    int editMode_ = dbEditNone;
    std::vector<QVariant> buffer_;
    std::vector<QVariant> editedFrom_; // the row as Edit read it
    std::vector<bool> touched_;
    std::optional<qint64> lastModified_;
};
