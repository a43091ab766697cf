#include "reports/ReportLayout.h"

#include "core/db/AppError.h"
#include "reports/PagePainter.h"

#include <algorithm>

ReportLayout::ReportLayout(const QString& templateName) : name_(templateName), tmpl_(LoadTemplate(templateName))
{
    PaperOrientation = tmpl_.landscape ? 2 : 1;
    if (tmpl_.subreports.empty()) {
        sections_.push_back(std::make_unique<ReportSection>(name_, tmpl_));
        origins_.emplace_back(0, 0);
        return;
    }
    for (const TemplateSubreport& s : tmpl_.subreports) {
        sections_.push_back(std::make_unique<ReportSection>(s.name, LoadTemplate(s.templateName)));
        origins_.push_back(s.origin);
    }
}

void ReportLayout::SetDataSource(Recordset& rs) { mainSection().SetDataSource(rs); }

ReportSection& ReportLayout::mainSection()
{
    if (isTwoUp()) throw AppError(20599, QStringLiteral("Report"), QStringLiteral("Il modello ha due sotto-report"));
    return *sections_.front();
}

ReportSection& ReportLayout::Subreport1()
{
    if (!isTwoUp()) throw AppError(20599, QStringLiteral("Report"), QStringLiteral("Il modello non ha sotto-report"));
    return *sections_[0];
}

ReportSection& ReportLayout::Subreport2()
{
    Subreport1();
    return *sections_[1];
}

QString ReportLayout::firstValue(const char* column) const
{
    const auto& rows = sections_.front()->rows();
    return rows.empty() ? QString() : rows.front().value(QString::fromLatin1(column).toLower()).toString().trimmed();
}

void ReportLayout::SelectPrinter(const QString& driverName, const QString& deviceName, const QString& port)
{
    printer_ = {deviceName, driverName, port};
}

const std::vector<FormattedPage>& ReportLayout::pages()
{
    if (formatted_) return pages_;
    formatted_ = true;
    std::size_t count = 0;
    for (const auto& s : sections_)
        count = std::max(count, s->rows().size());
    const QSizeF pageSize = PaperOrientation == 2 ? tmpl_.paper.transposed() : tmpl_.paper;
    for (std::size_t row = 0; row < count; ++row) {
        FormattedPage page{pageSize, {}};
        for (std::size_t i = 0; i < sections_.size(); ++i) {
            ReportSection& section = *sections_[i];
            if (row < section.rows().size())
                section.formatRow(row, origins_[i], [&](ReportBand& band) { Format(section, band); }, page);
        }
        pages_.push_back(std::move(page));
    }
    return pages_;
}

void ReportLayout::PrintOut(int copies)
{
    const std::vector<FormattedPage>& all = pages();
    PrintJob job;
    job.printer = printer_.deviceName.isEmpty() ? CurrentPrinter() : printer_;
    job.documentName = DocumentTitle().simplified();
    job.paper = tmpl_.paper;
    job.landscape = PaperOrientation == 2;
    job.copies = copies;
    job.leftMarginTwips = LeftMargin;
    job.topMarginTwips = TopMargin;
    job.pageCount = static_cast<int>(all.size());
    job.paintPage = [&all](QPainter& painter, int page, double dpiX, double dpiY) { PaintPage(painter, all[page], dpiX, dpiY); };
    ::PrintOut(job);
}
