#pragma once
// The trace listings over the pallet archive: `CrystalReport5` (by lot of an article) and
// `CrystalReport6` (by SSCC). One line per row of the search, in its order, forty lines to a page
// under the listing's headings; no captions and no band handlers.

#include "reports/ReportLayout.h"

#include <QStringList>
#include <QVariant>

class TraceListingLayout : public ReportLayout {
public:
    static constexpr int kLinesPerPage = 40;

    // Binds the search's rows. A search that found nothing still gives a page of headings.
    void SetListingSource(Recordset& rs);
    const QStringList& columns() const { return columns_; }

protected:
    TraceListingLayout(const QString& templateName, QStringList columns)
        : ReportLayout(templateName), columns_(std::move(columns)) {}

private:
    QStringList columns_;
};

class CrystalReport5 : public TraceListingLayout {
    friend class ReportLayout;
    CrystalReport5();

public:
    QString DocumentTitle() const override { return QStringLiteral("Tracciabilità lotto ") + firstValue("Lotto1"); }
};

class CrystalReport6 : public TraceListingLayout {
    friend class ReportLayout;
    CrystalReport6();

public:
    QString DocumentTitle() const override { return QStringLiteral("Tracciabilità SSCC ") + firstValue("SSCC1"); }
};

// A column value as a sheet prints it: a date in the system's short format (with its time when it
// has one), any other value as its text.
QString PrintedText(const QVariant& value);
