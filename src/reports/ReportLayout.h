#pragma once
// A layout object for one print job, made from a template. A one-up layout prints one page per row;
// a two-up layout is a page without data of its own holding `Subreport1` and `Subreport2`, and its
// page k carries row k of each. Band handlers run as each band is formatted, once per row.

#include "reports/FormattedPage.h"
#include "reports/PrinterSystem.h"
#include "reports/ReportSection.h"

#include <QString>

#include <memory>
#include <vector>

class Recordset;

class ReportLayout {
public:
    virtual ~ReportLayout() = default;
    ReportLayout(const ReportLayout&) = delete;
    ReportLayout& operator=(const ReportLayout&) = delete;

    // Makes the layout and raises its Initialize event, before anything else touches it.
    template <class Layout, class... Args>
    static std::unique_ptr<Layout> Create(Args&&... args)
    {
        std::unique_ptr<Layout> layout(new Layout(std::forward<Args>(args)...));
        static_cast<ReportLayout&>(*layout).Initialize();
        return layout;
    }

    const QString& name() const { return name_; }
    bool isTwoUp() const { return sections_.size() == 2; }

    // One-up: the layout's only table. Two-up: bind each sub-report instead.
    void SetDataSource(Recordset& rs);
    ReportSection& Subreport1();
    ReportSection& Subreport2();
    ReportSection& mainSection();

    // 1 portrait, 2 landscape.
    int PaperOrientation = 1;
    int LeftMargin = 0; // twips
    int TopMargin = 0;
    void SelectPrinter(const QString& driverName, const QString& deviceName, const QString& port);
    const PrinterInfo& printer() const { return printer_; }
    // Prints every page on the selected printer (the current one when none was selected).
    void PrintOut(int copies);
    // The job's name in the printer queue, as an operator reads it, from the first row bound.
    virtual QString DocumentTitle() const = 0;

    // Paper in mm, portrait.
    QSizeF paper() const { return tmpl_.paper; }
    // Formats every row on first use; later calls give the same pages.
    const std::vector<FormattedPage>& pages();

protected:
    explicit ReportLayout(const QString& templateName);

    // A column of the first row bound (of `Subreport1` in a two-up layout), as trimmed text; empty
    // before binding.
    QString firstValue(const char* column) const;

    virtual void Initialize() {}
    // Raised for `band` of `section` before the band is laid out for the section's current row.
    virtual void Format(ReportSection& section, ReportBand& band) {}

private:
    QString name_;
    ReportTemplate tmpl_;
    std::vector<std::unique_ptr<ReportSection>> sections_;
    std::vector<QPointF> origins_;
    PrinterInfo printer_;
    std::vector<FormattedPage> pages_;
    bool formatted_ = false;
};
