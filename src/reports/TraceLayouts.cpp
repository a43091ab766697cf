#include "reports/TraceLayouts.h"

#include "core/Formats.h"
#include "core/Globals.h"

#include <algorithm>

CrystalReport5::CrystalReport5()
    : TraceListingLayout(QStringLiteral("CrystalReport5"),
                         {QStringLiteral("EANArticolo"), QStringLiteral("Descrizione"), QStringLiteral("Lotto"),
                          QStringLiteral("SSCC"), QStringLiteral("GTIN"), QStringLiteral("QtCartoni")})
{
}

CrystalReport6::CrystalReport6()
    : TraceListingLayout(QStringLiteral("CrystalReport6"),
                         {QStringLiteral("SSCC"), QStringLiteral("CodEAN"), QStringLiteral("GTIN"), QStringLiteral("QtCartoni"),
                          QStringLiteral("Lotto"), QStringLiteral("Descrizione"), QStringLiteral("DataScadenza")})
{
}

// The template holds a fixed number of numbered lines per page (SSCC1 … SSCC40): each page is
// formatted from one row that carries the values of its lines.
void TraceListingLayout::SetListingSource(Recordset& rs)
{
    ReportSection& section = mainSection();
    section.SetDataSource(rs);
    const std::vector<ReportRow> found = section.rows();
    std::vector<ReportRow> pages(std::max<std::size_t>(1, (found.size() + kLinesPerPage - 1) / kLinesPerPage));
    for (std::size_t i = 0; i < found.size(); ++i) {
        ReportRow& page = pages[i / kLinesPerPage];
        const QString line = QString::number(i % kLinesPerPage + 1);
        for (const QString& column : columns_) {
            // The listings state a date as a date: an expiry counted in hours carries a time of day.
            const QVariant value = found[i].value(column.toLower());
            page.insert(column.toLower() + line, value.typeId() == QMetaType::QDateTime ? FormatDate(value.toDate(), FormatoData)
                                                                                         : PrintedText(value));
        }
    }
    section.setRows(std::move(pages));
}

QString PrintedText(const QVariant& value)
{
    if (value.typeId() != QMetaType::QDateTime) return value.toString();
    const QDateTime when = value.toDateTime();
    QString text = FormatDate(when, FormatoData);
    if (when.time() != QTime(0, 0)) text += u' ' + FormatDate(when, QStringLiteral("hh:nn:ss"));
    return text;
}
