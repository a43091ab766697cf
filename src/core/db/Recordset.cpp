#include "core/db/Recordset.h"

#include "core/db/Database.h"
#include "core/db/JetSql.h"

#include <sqlite3.h>

#include <algorithm>

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

void bindRaw(Database& db, Statement& st, int index, sqlite3_value* value)
{
    const int rc = sqlite3_bind_value(st.handle(), index, value);
    if (rc != SQLITE_OK) db.failFromEngine(rc);
}

} // namespace

Recordset::Recordset(Database& db, Mode mode, QString source) : db_(db), mode_(mode), source_(std::move(source)) {}

Recordset::~Recordset() = default;

std::unique_ptr<Recordset> Recordset::open(Database& db, const QString& source)
{
    if (isPlainName(source)) {
        if (!db.TableExists(source.trimmed()))
            db.fail(3078, QStringLiteral("The Microsoft Jet database engine cannot find the input table or query '%1'.").arg(source.trimmed()));
        SelectParts table;
        table.selectList = QStringLiteral("*");
        table.tables << quoted(source.trimmed());
        table.names << table.tables.front();
        table.from = table.tables.front();
        std::unique_ptr<Recordset> rs(new Recordset(db, Mode::Table, source.trimmed()));
        rs->prepareSeek(table);
        rs->settle(Pos::Before);
        return rs;
    }

    TranslatedSql sql;
    try {
        sql = TranslateJetSql(source);
    } catch (const AppError& e) {
        db.fail(e.number(), e.description());
    }
    SelectParts parts;
    if (ParseSelect(sql, parts)) {
        const bool single = parts.tables.size() == 1;
        if (parts.limit.isEmpty()) {
            // A query the search cannot walk (a view, an ambiguous order…) is copied instead.
            try {
                std::unique_ptr<Recordset> rs(new Recordset(db, single ? Mode::Table : Mode::Join, source.trimmed()));
                rs->prepareSeek(parts);
                rs->settle(Pos::Before);
                return rs;
            } catch (const AppError& e) {
                // Another program's lock is no reason to copy: the copy would wait for it again.
                if (e.number() == 3260) throw;
                db.ClearErrors();
            }
        } else if (single && parts.selectParams.isEmpty()) {
            std::unique_ptr<Recordset> rs(new Recordset(db, Mode::Keyset, source.trimmed()));
            rs->table_ = quoted(parts.tables.front());
            const QString key = parts.names.front() + QStringLiteral(".rowid");
            rs->loadColumns(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(parts.selectList, parts.from, key));
            rs->fetchParams_ = parts.fromParams;
            QString keys = QStringLiteral("SELECT %1 FROM %2").arg(key, parts.from);
            if (!parts.where.isEmpty()) keys += QStringLiteral(" WHERE ") + parts.where;
            QStringList order;
            for (const auto& o : parts.orderBy) order << o.expr + (o.desc ? QStringLiteral(" DESC") : QString());
            if (!order.isEmpty()) keys += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
            Statement st = db.prepare(keys + QStringLiteral(" LIMIT ") + parts.limit);
            st.bindAll(parts.fromParams + parts.whereParams);
            while (st.step()) rs->keys_.push_back(st.int64(0));
            rs->deletedKeys_.assign(rs->keys_.size(), false);
            rs->settle(Pos::Before);
            return rs;
        }
    }

    std::unique_ptr<Recordset> rs(new Recordset(db, Mode::Snapshot, source.trimmed()));
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

// The walk's order is the query's own, then each table's rowid: a total order the indexes serve.
void Recordset::prepareSeek(const SelectParts& parts)
{
    table_ = quoted(parts.tables.front());
    from_ = parts.from;
    where_ = parts.where;
    seekParams_ = parts.fromParams + parts.whereParams;
    fromParamCount_ = int(parts.fromParams.size());
    for (const auto& o : parts.orderBy) terms_.push_back({o.expr, o.desc});
    keyCount_ = size_t(parts.names.size());
    QStringList keyTests;
    for (const QString& name : parts.names) {
        terms_.push_back({name + QStringLiteral(".rowid"), false});
        keyTests << terms_.back().expr + QStringLiteral(" = ?");
    }
    loadColumns(QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(parts.selectList, from_, keyTests.join(QStringLiteral(" AND "))));
    // A join without a condition, led by a column of one of its tables (or by its first table's key),
    // starts from that table; a condition leads SQLite to its own index.
    const QString lead = terms_.front().expr;
    for (int t = 0; mode_ == Mode::Join && where_.isEmpty() && t < parts.names.size(); ++t) {
        const QString column = lead.mid(parts.names[t].size() + 1);
        if (lead.startsWith(parts.names[t] + u'.', Qt::CaseInsensitive) && !column.isEmpty() &&
            std::all_of(column.begin(), column.end(), [](QChar c) { return c.isLetterOrNumber() || c == u'_'; }))
            leadFrom_ = parts.tables[t] + (parts.names[t] == parts.tables[t] ? QString() : QStringLiteral(" AS ") + parts.names[t]);
    }
    fetchParams_ = parts.selectParams + parts.fromParams;
    db_.prepare(seekSql(QString(), true, 0)); // fails here on what the search cannot walk
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
    } catch (const AppError& e) {
        // A locked file is not an empty one.
        if (e.number() == 3260) throw;
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
    if (mode_ == Mode::Snapshot) return !rows_.empty();
    if (mode_ == Mode::Keyset) return std::find(deletedKeys_.begin(), deletedKeys_.end(), false) != deletedKeys_.end();
    // A walk running off an end from a row that is still there need not sort for the first row.
    if (pos_ == Pos::At && positionOfKeys(currentKeys(), true)) return true;
    return seekFirst(true, 1).count > 0;
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
    if (mode_ == Mode::Snapshot || mode_ == Mode::Join || db_.readOnly())
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

// The query's rows that also meet `conditions`, in the walk's direction, ordered from term
// `firstTerm` on: the terms before it are equal over the rows sought. The number of rows to take is
// bound last.
QString Recordset::seekSql(const QString& conditions, bool forward, size_t firstTerm) const
{
    QStringList select;
    QStringList order;
    for (size_t i = 0; i < terms_.size(); ++i) {
        select << terms_[i].expr;
        if (i >= firstTerm) order << terms_[i].expr + (terms_[i].desc == forward ? QStringLiteral(" DESC") : QString());
    }
    QStringList where;
    if (!where_.isEmpty()) where << u'(' + where_ + u')';
    if (!conditions.isEmpty()) where << conditions;
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(select.join(QStringLiteral(", ")), from_);
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    return sql + QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", ")) + QStringLiteral(" LIMIT ?");
}

// Adds to `found` the rows of seekSql (its conditions bound with `values`, then `extra`), nearest
// first, until it holds `count`.
void Recordset::seekRows(const QString& conditions, const std::vector<SqlValue>& values, const QVector<QVariant>& extra, bool forward,
                         size_t firstTerm, size_t count, Found& found) const
{
    Statement st = db_.prepare(seekSql(conditions, forward, firstTerm));
    st.bindAll(seekParams_);
    int next = int(seekParams_.size()) + 1;
    for (const SqlValue& v : values) bindRaw(db_, st, next++, v.get());
    st.bindAll(extra, next);
    st.bind(next + int(extra.size()), qint64(count - found.count));
    while (st.step()) {
        Position p = readPosition(st);
        for (size_t k = terms_.size() - keyCount_; k < terms_.size(); ++k) found.keys.push_back(sqlite3_value_int64(p[k].get()));
        if (found.count++ == 0) found.first = p;
        found.last = std::move(p);
    }
    // One sort: the query sorted every row it matched, however few it took (sorting group by group,
    // along an index, takes time with the rows taken instead). The last query of a seek looks
    // furthest.
    found.sortedAll = sqlite3_stmt_status(st.handle(), SQLITE_STMTSTATUS_SORT, 1) == 1;
}

// The first row that also meets `conditions` (bound with `extra`).
std::optional<Recordset::Position> Recordset::seekOne(const QString& conditions, const QVector<QVariant>& extra) const
{
    Found found;
    seekRows(conditions, {}, extra, true, 0, 1, found);
    if (!found.count) return std::nullopt;
    return std::move(found.first);
}

// The terms before `level` of a position as conditions that hold them equal, with their values.
std::pair<QStringList, std::vector<Recordset::SqlValue>> Recordset::equalTo(const Position& from, size_t level) const
{
    QStringList equal;
    std::vector<SqlValue> values;
    for (size_t j = 0; j < level; ++j) {
        if (sqlite3_value_type(from[j].get()) == SQLITE_NULL) {
            equal << u'(' + terms_[j].expr + QStringLiteral(") IS NULL");
        } else {
            equal << u'(' + terms_[j].expr + QStringLiteral(") = ?");
            values.push_back(from[j]);
        }
    }
    return {equal, values};
}

// Adds to `found`, until it holds `count`, the rows equal to `from` on the terms before `level` and
// beyond it on term `level`, nearest first.
void Recordset::seekBeyond(bool forward, const Position& from, size_t level, size_t count, Found& found) const
{
    const auto [equal, values] = equalTo(from, level);
    const QString e = u'(' + terms_[level].expr + u')';
    const SqlValue& v = from[level];
    const bool isNull = sqlite3_value_type(v.get()) == SQLITE_NULL;
    const bool upward = forward != terms_[level].desc;
    std::vector<std::pair<QString, bool>> ranges; // condition, binds v
    if (upward) ranges.push_back(isNull ? std::pair(e + QStringLiteral(" IS NOT NULL"), false) : std::pair(e + QStringLiteral(" > ?"), true));
    else if (!isNull) ranges = {{e + QStringLiteral(" < ?"), true}, {e + QStringLiteral(" IS NULL"), false}};
    for (const auto& [range, binds] : ranges) {
        if (found.count >= count) return;
        std::vector<SqlValue> bound = values;
        if (binds) bound.push_back(v);
        QStringList conditions = equal;
        conditions << range;
        seekRows(conditions.join(QStringLiteral(" AND ")), bound, {}, forward, level, count, found);
    }
}

// Up to `count` rows next to `from` in the walk's direction, nearest first. The rows after a
// position are, nearest first: those equal on every term but the last and beyond it on the last,
// then those equal on all terms but the last two and beyond on the last but one, and so on; each
// group is one indexed range. NULL comes before any value, as in SQLite's order.
Recordset::Found Recordset::seekAfter(bool forward, const Position& from, size_t count) const
{
    Found found;
    for (size_t level = terms_.size(); level-- > 0 && found.count < count;) seekBeyond(forward, from, level, count, found);
    return found;
}

// Up to `count` rows from the first in the walk's direction.
Recordset::Found Recordset::seekFirst(bool forward, size_t count) const
{
    Found found;
    if (leadFrom_.isEmpty()) {
        seekRows(QString(), {}, {}, forward, 0, count, found);
        return found;
    }
    // Without statistics SQLite would sort the whole join for its first row. The first term's first
    // value in its own table is found through that table's index; the join's first rows have it or
    // lie beyond it, and both are ranges of that index.
    const SeekTerm& lead = terms_.front();
    Statement st = db_.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1%3 LIMIT 1")
                                   .arg(lead.expr, leadFrom_, lead.desc == forward ? QStringLiteral(" DESC") : QString()));
    if (!st.step()) return found;
    Position start(terms_.size());
    start.front() = SqlValue(sqlite3_value_dup(sqlite3_column_value(st.handle(), 0)), sqlite3_value_free);
    const auto [equal, values] = equalTo(start, 1);
    seekRows(equal.front(), values, {}, forward, 1, count, found);
    if (found.count < count) seekBeyond(forward, start, 0, count, found);
    return found;
}

// A walk takes the keys of the rows ahead a batch at a time, one query a batch, so that a query
// that must sort its rows sorts them once a batch, however far the walk has come. Batches grow as a
// walk goes on in one direction; after a batch whose query sorted every row it matched, the next
// takes as many rows as a batch can hold, since that sort costs the same for a few rows as for many.
std::optional<Recordset::Position> Recordset::takeBatch(Found found, bool forward)
{
    batchForward_ = forward;
    batchSize_ = found.sortedAll ? kLargestBatch : std::min(batchSize_ * 4, kLargestBatch);
    if (!found.count) return std::nullopt;
    ahead_ = std::move(found.keys);
    aheadAt_ = keyCount_;
    batchEnd_ = std::move(found.last);
    return std::move(found.first);
}

// The row next to the current one in the walk's direction. A row of the batch is read again as it
// is now when the walk reaches it: one deleted since, or changed so that it no longer meets the
// condition, is passed over. The next batch starts where the last one ended, so that rows added
// beyond it are reached. No statement stays open between two steps.
std::optional<Recordset::Position> Recordset::step(bool forward)
{
    if (batchEnd_ && batchForward_ != forward) dropBatch();
    while (aheadAt_ < ahead_.size()) {
        const auto row = ahead_.begin() + std::ptrdiff_t(aheadAt_);
        aheadAt_ += keyCount_;
        if (auto found = positionOfKeys(std::vector<qint64>(row, row + std::ptrdiff_t(keyCount_)), true)) return found;
    }
    return takeBatch(seekAfter(forward, batchEnd_ ? *batchEnd_ : at_, batchSize_), forward);
}

// Off to a row not reached by a step: the walk starts again from there.
std::optional<Recordset::Position> Recordset::startWalk(bool forward)
{
    dropBatch();
    return takeBatch(seekFirst(forward, batchSize_), forward);
}

void Recordset::dropBatch()
{
    ahead_.clear();
    aheadAt_ = 0;
    batchEnd_.reset();
    batchSize_ = kFirstBatch;
}

// Where the row of these keys stands, or nothing when it is gone. A row added through the recordset
// stays reachable by its bookmark whether or not it meets the query's condition; a walk asks
// `meetingCondition`.
std::optional<Recordset::Position> Recordset::positionOfKeys(const std::vector<qint64>& keys, bool meetingCondition) const
{
    QStringList conditions;
    QVector<QVariant> values = meetingCondition ? seekParams_ : seekParams_.mid(0, fromParamCount_);
    if (meetingCondition && !where_.isEmpty()) conditions << u'(' + where_ + u')';
    for (size_t k = 0; k < keys.size(); ++k) {
        conditions << terms_[terms_.size() - keyCount_ + k].expr + QStringLiteral(" = ?");
        values << keys[k];
    }
    QStringList select;
    for (const SeekTerm& t : terms_) select << t.expr;
    Statement st = db_.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                   .arg(select.join(QStringLiteral(", ")), from_, conditions.join(QStringLiteral(" AND "))));
    st.bindAll(values);
    if (!st.step()) return std::nullopt;
    return readPosition(st);
}

Recordset::Position Recordset::readPosition(const Statement& st) const
{
    Position found;
    for (size_t i = 0; i < terms_.size(); ++i)
        found.emplace_back(sqlite3_value_dup(sqlite3_column_value(st.handle(), int(i))), sqlite3_value_free);
    return found;
}

void Recordset::goTo(std::optional<Position> position, Pos ifNone)
{
    if (!position) {
        runOff(ifNone);
        return;
    }
    cache_.reset();
    currentDeleted_ = false;
    pos_ = Pos::At;
    at_ = std::move(*position);
    key_ = sqlite3_value_int64(at_.back().get());
}

qint64 Recordset::currentKey() const { return mode_ == Mode::Keyset ? keys_.at(size_t(cursor_)) : key_; }

std::vector<qint64> Recordset::currentKeys() const
{
    if (!sought()) return {currentKey()};
    std::vector<qint64> keys;
    for (size_t k = terms_.size() - keyCount_; k < terms_.size(); ++k) keys.push_back(sqlite3_value_int64(at_[k].get()));
    return keys;
}

void Recordset::MoveFirst()
{
    requireOpen();
    leaveEdit();
    if (sought()) {
        auto p = startWalk(true);
        if (!p) {
            pos_ = Pos::Empty;
            db_.fail(3021, QStringLiteral("No current record."));
        }
        goTo(std::move(p), Pos::Before);
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
    if (sought()) {
        auto p = startWalk(false);
        if (!p) {
            pos_ = Pos::Empty;
            db_.fail(3021, QStringLiteral("No current record."));
        }
        goTo(std::move(p), Pos::After);
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
    if (sought()) {
        goTo(pos_ == Pos::Before ? startWalk(true) : step(true), Pos::After);
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
    if (sought()) {
        goTo(pos_ == Pos::After ? startWalk(false) : step(false), Pos::Before);
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
    if (sought()) {
        auto p = seekOne(u'(' + t.sql + u')', t.params);
        noMatch_ = !p;
        if (!p) return;
        dropBatch();
        goTo(std::move(p), Pos::Before);
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
        st.bindAll(fetchParams_);
        QVector<QVariant> keys;
        for (qint64 k : currentKeys()) keys << k;
        st.bindAll(keys, int(fetchParams_.size()) + 1);
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
    if (it == index_.constEnd())
        db_.fail(3265, QStringLiteral("Campo %1 inesistente in %2 (Item not found in this collection.)").arg(field, source_));
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
    at_.clear();
    dropBatch();
    closed_ = true;
}

Bookmark Recordset::GetBookmark() const
{
    requireCurrent();
    if (mode_ == Mode::Snapshot) return cursor_;
    if (mode_ != Mode::Join) return currentKey();
    // A joined row is known by the keys of all its tables: its bookmark numbers them.
    const std::vector<qint64> keys = currentKeys();
    auto it = std::find(joinBookmarks_.begin(), joinBookmarks_.end(), keys);
    if (it == joinBookmarks_.end()) it = joinBookmarks_.insert(it, keys);
    return Bookmark(it - joinBookmarks_.begin());
}

void Recordset::SetBookmark(Bookmark bookmark)
{
    requireOpen();
    leaveEdit();
    auto invalid = [&] { db_.fail(3159, QStringLiteral("Not a valid bookmark.")); };
    if (sought()) {
        std::optional<Position> p;
        if (mode_ == Mode::Table) p = positionOfKeys({bookmark}, false);
        else if (bookmark >= 0 && bookmark < Bookmark(joinBookmarks_.size())) p = positionOfKeys(joinBookmarks_[size_t(bookmark)], false);
        if (!p) invalid();
        dropBatch();
        goTo(std::move(p), Pos::Before);
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
