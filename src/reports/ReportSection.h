#pragma once
// One copy of a template bound to rows: the whole of a one-up layout, or one sub-report of a two-up
// layout. Band handlers reach its bands and objects by name and read the row being formatted.

#include "reports/FormattedPage.h"
#include "reports/ReportObjects.h"
#include "reports/ReportTemplate.h"

#include <QHash>
#include <QPointF>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class Recordset;

// Column values by lower-case name.
using ReportRow = QHash<QString, QVariant>;

class ReportSection {
public:
    ReportSection(QString name, const ReportTemplate& tmpl);
    ReportSection(const ReportSection&) = delete;
    ReportSection& operator=(const ReportSection&) = delete;

    const QString& name() const { return name_; }
    QSizeF pageSize() const { return tmpl_->pageSize(); }

    // Reads every row of the recordset, in order, from its first.
    void SetDataSource(Recordset& rs);
    void setRows(std::vector<ReportRow> rows) { rows_ = std::move(rows); }
    const std::vector<ReportRow>& rows() const { return rows_; }

    // Throw AppError for a name the template does not have.
    ReportBand& Band(const QString& name);
    ReportObject& Object(const QString& name);
    // The row being formatted; null for a column it does not have.
    QVariant Value(const QString& field) const;

    // Formats row `index` band by band, calling `onFormat` before each band is laid out, and adds
    // what is to be drawn, placed at `origin`, to `page`.
    void formatRow(std::size_t index, QPointF origin, const std::function<void(ReportBand&)>& onFormat,
                   FormattedPage& page);

private:
    void addBand(const ReportBand& band, QPointF topLeft, FormattedPage& page) const;
    DrawItem itemFor(const ReportObject& o, QPointF topLeft) const;
    QString fieldText(const TemplateObject& def) const;

    QString name_;
    std::shared_ptr<const ReportTemplate> tmpl_;
    std::vector<ReportBand> bands_;
    std::vector<ReportRow> rows_;
    const ReportRow* current_ = nullptr;
};
