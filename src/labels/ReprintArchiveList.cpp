#include "labels/ReprintArchiveList.h"

#include "core/Formats.h"
#include "core/Utility.h"
#include "core/db/Database.h"
#include "labels/Reprint.h"

#include <algorithm>

namespace {

const char* const kTitles[] = {"SSCC", "N° cartoni", "Pezzi", "Peso lordo", "Descrizione"};

QString description(Database& db, qint64 idAppTestate)
{
    const std::vector<PalletLine> lines = ReadArchivedLines(db, idAppTestate);
    if (lines.empty()) return {};
    for (const PalletLine& line : lines)
        if (line.codEAN != lines.front().codEAN) return QStringLiteral("Vari");
    return lines.front().descrizione;
}

QString number(const QVariant& v) { return v.isNull() ? QString() : GeneralNumber(v.toDouble()); }

qint64 single(Database& db, const QString& sql)
{
    Statement st = db.prepare(sql);
    return st.step() ? st.int64(0) : 0;
}

// `count` keys from `offset` of a part of the list, read from its nearer end; both ends are
// ranges of the SSCC index, and only the index is stepped over.
std::vector<qint64> keysOf(Database& db, const QString& part, const QString& order, const QString& reverse, int size,
                           int offset, int count)
{
    std::vector<qint64> keys;
    const bool fromEnd = offset > size - offset - count;
    Statement st = db.prepare(QStringLiteral("SELECT IDAppTestate FROM AppTestate WHERE %1 ORDER BY %2 LIMIT ? OFFSET ?")
                                  .arg(part, fromEnd ? reverse : order));
    st.bindAll({count, fromEnd ? size - offset - count : offset});
    while (st.step()) keys.push_back(st.int64(0));
    if (fromEnd) std::reverse(keys.begin(), keys.end());
    return keys;
}

} // namespace

ArchiveListModel::ArchiveListModel(Database& db, QObject* parent) : QAbstractTableModel(parent), db_(db)
{
    rows_ = int(single(db_, QStringLiteral("SELECT count(*) FROM AppTestate")));
    withSscc_ = rows_ - int(single(db_, QStringLiteral("SELECT count(*) FROM AppTestate WHERE SSCC IS NULL")));
}

int ArchiveListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ArchiveListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 5; }

QVariant ArchiveListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 5) return {};
    return QString::fromUtf8(kTitles[section]);
}

QVariant ArchiveListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    ArchiveListRow r;
    // Asked while painting: a row the database cannot give now (locked, damaged) shows empty.
    try {
        r = Row(index.row());
    } catch (const AppError&) {
        return {};
    }
    switch (index.column()) {
    case 0: return r.sscc;
    case 1: return r.qtCartoni;
    case 2: return r.numPezzi;
    case 3: return r.pesoLordo;
    default: return r.descrizione;
    }
}

std::vector<qint64> ArchiveListModel::keysFrom(int first, int count) const
{
    std::vector<qint64> keys;
    if (first < withSscc_) {
        keys = keysOf(db_, QStringLiteral("SSCC IS NOT NULL"), QStringLiteral("SSCC DESC, IDAppTestate DESC"),
                      QStringLiteral("SSCC, IDAppTestate"), withSscc_, first, std::min(count, withSscc_ - first));
    }
    const int rest = first + count - std::max(first, withSscc_);
    if (rest > 0) {
        const std::vector<qint64> more = keysOf(db_, QStringLiteral("SSCC IS NULL"), QStringLiteral("IDAppTestate DESC"),
                                                QStringLiteral("IDAppTestate"), rows_ - withSscc_,
                                                std::max(first, withSscc_) - withSscc_, rest);
        keys.insert(keys.end(), more.begin(), more.end());
    }
    return keys;
}

ArchiveListRow ArchiveListModel::Row(int row) const
{
    if (row < 0 || row >= rows_) return {};
    const int first = row - row % kBlock;
    auto it = std::find_if(blocks_.begin(), blocks_.end(), [first](const Block& b) { return b.first == first; });
    if (it == blocks_.end()) {
        Block block{first, {}};
        for (qint64 id : keysFrom(first, std::min(kBlock, rows_ - first))) {
            Statement st = db_.prepare(QStringLiteral("SELECT SSCC, QtCartoni, numpezzi, pesolordo FROM AppTestate WHERE IDAppTestate = ?"));
            st.bind(1, id);
            if (!st.step()) continue;
            block.rows.push_back({id, NzStr(st.value(0)), number(st.value(1)), number(st.value(2)), number(st.value(3)), QString()});
        }
        for (ArchiveListRow& r : block.rows) r.descrizione = description(db_, r.idAppTestate);
        blocks_.push_front(std::move(block));
        if (blocks_.size() > kBlocksKept) blocks_.pop_back();
        it = blocks_.begin();
    } else if (it != blocks_.begin()) {
        blocks_.splice(blocks_.begin(), blocks_, it);
        it = blocks_.begin();
    }
    const size_t at = size_t(row - first);
    return at < it->rows.size() ? it->rows[at] : ArchiveListRow{};
}
