#pragma once
// The archive as the reprint picker lists it: highest SSCC first, pallets of one SSCC by falling
// key, pallets without an SSCC last. The model knows the archive's length and reads the rows a
// view shows through the SSCC index, a block at a time, keeping a few blocks: opening, scrolling
// anywhere and the memory it takes do not grow with the archive.

#include <QAbstractTableModel>
#include <QString>

#include <list>
#include <vector>

class Database;

struct ArchiveListRow {
    qint64 idAppTestate = -1;
    QString sscc;
    QString qtCartoni;
    QString numPezzi;
    QString pesoLordo;
    QString descrizione; // the first line's, or "Vari" when the lines hold several EANs
};

class ArchiveListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kBlock = 64;
    static constexpr size_t kBlocksKept = 16;

    // Counts the archive now; the rows are read as they are asked for.
    explicit ArchiveListModel(Database& db, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Row `row` of the list; a pallet deleted since the count reads as an empty row.
    ArchiveListRow Row(int row) const;

private:
    struct Block {
        int first;
        std::vector<ArchiveListRow> rows;
    };
    std::vector<qint64> keysFrom(int first, int count) const;

    Database& db_;
    int rows_ = 0;
    int withSscc_ = 0; // the rows with an SSCC come first
    mutable std::list<Block> blocks_; // most recently used first
};
