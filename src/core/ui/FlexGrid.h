#pragma once
// A table that keeps the numbering of the program's grids: row 0 is the title row (shown as the
// column headers), Rows() counts it, and every row carries a hidden key, RowData(r).

#include <QTableWidget>
#include <QVariant>

class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    // Rows including the title row; SetRows(1) leaves only the titles.
    int Rows() const { return rowCount() + 1; }
    void SetRows(int rows);
    int Cols() const { return columnCount(); }
    void SetCols(int cols);

    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString& text);

    QVariant RowData(int row) const;
    void SetRowData(int row, const QVariant& value);

    // Adds a row from tab-separated cells, at the end or before row `index`.
    void AddItem(const QString& tabbedText, int index = -1);
    void RemoveItem(int row);
    // Empties every cell, titles included; the row count stays.
    void Clear();

    // The current row: 0 when no data row is current.
    int Row() const;
    // Makes `row` current and selects it.
    void SetRow(int row);

private:
    QVariant titleRowData_;
};

// Writes the tab-separated titles into row 0: extra pieces are dropped, missing ones left empty.
void SetGridHeader(FlexGrid& grid, const QString& tabbedText);
