#pragma once
// A dynaset over a table or a query, with the original engine's behaviour: BOF and EOF, moves,
// find first with its no-match flag, add new / edit / update / cancel / delete through an edit
// buffer, bookmarks and the last-modified bookmark. A table is walked by its key through indexed
// queries, never loaded whole; a single-table query keeps only its row keys; any other query
// (joins) is a read-only snapshot of its rows.

#include "core/db/Values.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

class Database;

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

    QVariant Value(const QString& field) const;
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
    enum class Mode { Table, Keyset, Snapshot };
    enum class Pos { Before, At, After, Empty };
    struct Column {
        QString name;
        ColumnType type;
    };

    Recordset(Database& db, Mode mode);
    void loadColumns(const QString& fetchSql);
    int fieldIndex(const QString& field) const;
    void requireOpen() const;
    void requireCurrent() const;
    void requireUpdatable() const;
    void leaveEdit();
    void goTo(std::optional<qint64> key, Pos ifNone);
    std::optional<qint64> queryKey(const QString& sql, const QVector<QVariant>& params) const;
    const std::vector<QVariant>& currentRow() const;
    qint64 currentKey() const;
    void settle(Pos where);
    bool hasRows() const;
    void runOff(Pos end);

    Database& db_;
    Mode mode_;
    bool closed_ = false;
    QString table_;      // quoted base table
    QString fetchSql_;   // one row by rowid
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
