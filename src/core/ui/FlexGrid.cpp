#include "core/ui/FlexGrid.h"

#include <QHeaderView>

namespace {

QTableWidgetItem* cellItem(QTableWidget& table, int row, int col)
{
    QTableWidgetItem* item = table.item(row, col);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table.setItem(row, col, item);
    }
    return item;
}

} // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableWidget(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(true);
}

void FlexGrid::SetRows(int rows) { setRowCount(qMax(rows, 1) - 1); }

void FlexGrid::SetCols(int cols) { setColumnCount(cols); }

QString FlexGrid::TextMatrix(int row, int col) const
{
    const QTableWidgetItem* item = row == 0 ? horizontalHeaderItem(col) : this->item(row - 1, col);
    return item ? item->text() : QString();
}

void FlexGrid::SetTextMatrix(int row, int col, const QString& text)
{
    if (row == 0) {
        QTableWidgetItem* header = horizontalHeaderItem(col);
        if (!header) {
            header = new QTableWidgetItem;
            setHorizontalHeaderItem(col, header);
        }
        header->setText(text);
        return;
    }
    cellItem(*this, row - 1, col)->setText(text);
}

QVariant FlexGrid::RowData(int row) const
{
    if (row == 0) return titleRowData_;
    const QTableWidgetItem* first = item(row - 1, 0);
    return first ? first->data(Qt::UserRole) : QVariant();
}

void FlexGrid::SetRowData(int row, const QVariant& value)
{
    if (row == 0) {
        titleRowData_ = value;
        return;
    }
    cellItem(*this, row - 1, 0)->setData(Qt::UserRole, value);
}

void FlexGrid::AddItem(const QString& tabbedText, int index)
{
    const int row = (index < 1 || index > rowCount()) ? rowCount() : index - 1;
    insertRow(row);
    const QStringList cells = tabbedText.split(u'\t');
    for (int c = 0; c < columnCount(); ++c) cellItem(*this, row, c)->setText(c < cells.size() ? cells[c] : QString());
}

void FlexGrid::RemoveItem(int row)
{
    if (row >= 1 && row <= rowCount()) removeRow(row - 1);
}

void FlexGrid::Clear()
{
    for (int r = 0; r < Rows(); ++r)
        for (int c = 0; c < columnCount(); ++c) SetTextMatrix(r, c, QString());
}

int FlexGrid::Row() const
{
    const int r = currentRow();
    return r < 0 ? 0 : r + 1;
}

void FlexGrid::SetRow(int row)
{
    if (row < 1 || row > rowCount()) return;
    setCurrentCell(row - 1, 0);
    selectRow(row - 1);
}

void SetGridHeader(FlexGrid& grid, const QString& tabbedText)
{
    const int n = grid.Cols();
    QStringList titles;
    QString rest = tabbedText;
    for (int k = 0; k < n; ++k) {
        const int tab = rest.indexOf(u'\t');
        if (tab < 0) {
            titles << rest;
            break;
        }
        titles << rest.left(tab);
        rest = rest.mid(tab + 1);
    }
    for (int k = 0; k < n; ++k) grid.SetTextMatrix(0, k, k < titles.size() ? titles[k] : QString());
}
