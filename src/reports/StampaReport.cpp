#include "reports/StampaReport.h"

#include "core/Globals.h"
#include "core/Utility.h"
#include "core/db/AppError.h"
#include "reports/PalletLayout.h"
#include "reports/CartonLayout.h"
#include "reports/ArticleListLayout.h"
#include "reports/Twips.h"

#include <vector>

namespace {

QVariant Setting(const QString& column) { return rsSetup->Value(column); }

} // namespace

void ChoosePrinter(ReportJob& job)
{
    SelectCurrentPrinter(NzStr(Setting(job.printerSetting)).trimmed());
    job.printer = CurrentPrinter();
}

BoundReport BindReport(const ReportJob& job)
{
    if (!job.printer) {
        if (DB->InTransaction())
            throw AppError(3034, QStringLiteral("Stampa"), QStringLiteral("Stampante da scegliere prima della transazione."));
        ReportJob chosen = job;
        ChoosePrinter(chosen);
        return BindReport(chosen);
    }
    // Inside a write transaction the rows just written are read through the same connection: the
    // layout copies them now, so the job prints them whatever another program writes after the commit.
    std::unique_ptr<Database> reader = DB->InTransaction() ? nullptr : Database::Open(PercorsoDB, true);
    auto rs = (reader ? *reader : *DB).OpenRecordset(job.table);

    const bool twoUp = job.twoUpLayout && Setting(QStringLiteral("DoubleLayout")).toBool();
    BoundReport bound{job, twoUp ? job.twoUpLayout() : job.singleLayout()};
    ReportLayout& layout = *bound.layout;
    if (twoUp) {
        layout.Subreport1().SetDataSource(*rs);
        layout.Subreport2().SetDataSource(*rs);
    } else {
        layout.SetDataSource(*rs);
    }
    rs->Close();
    if (job.followUp) job.followUp();

    if (twoUp) layout.PaperOrientation = 2;
    const PrinterInfo& printer = *job.printer;
    layout.SelectPrinter(printer.driverName, printer.deviceName, printer.port);
    layout.LeftMargin = MmToTwips(Setting(job.leftMarginSetting).toDouble());
    layout.TopMargin = MmToTwips(Setting(job.topMarginSetting).toDouble());
    return bound;
}

bool SendReport(BoundReport report, std::unique_ptr<ReportLayout>& holder)
{
    if (DB->InTransaction())
        throw AppError(3034, QStringLiteral("Stampa"), QStringLiteral("Stampa richiesta prima del salvataggio: transazione in corso."));
    const ReportJob& job = report.job;
    holder = std::move(report.layout);
    if (job.preview) {
        const bool printed = ShowPreview(job.previewWindow, *holder, job.previewPrinting);
        if (job.clearHolderAfterPreview) holder.reset();
        return printed;
    }
    holder->PrintOut(job.copies);
    holder.reset();
    return true;
}

bool StampaReport(const ReportJob& job, std::unique_ptr<ReportLayout>& holder) { return SendReport(BindReport(job), holder); }

ReportJob PalletLabelJob(bool preview, int copies)
{
    ReportJob job;
    job.table = QStringLiteral("ReportPallet");
    job.singleLayout = [] { return ReportLayout::Create<CrystalReport1>(); };
    job.twoUpLayout = [] { return ReportLayout::Create<CrystalReport7>(); };
    job.printerSetting = QStringLiteral("ReportPrinter");
    job.leftMarginSetting = QStringLiteral("MargineSinistro");
    job.topMarginSetting = QStringLiteral("MargineSuperiore");
    job.preview = preview;
    job.previewWindow = PreviewForm::Form1;
    job.copies = copies;
    job.followUp = ClearReportTable(QStringLiteral("ReportPallet"));
    return job;
}

// Mixed-pallet article list.
ReportJob ArticleListJob(int copies)
{
    ReportJob job;
    job.table = QStringLiteral("ReportPalletArticoli");
    job.singleLayout = [] { return ReportLayout::Create<CrystalReport3>(); };
    job.twoUpLayout = [] { return ReportLayout::Create<CrystalReport8>(); };
    job.printerSetting = QStringLiteral("ReportPrinter");
    job.leftMarginSetting = QStringLiteral("MargineSinistro");
    job.topMarginSetting = QStringLiteral("MargineSuperiore");
    job.copies = copies;
    job.followUp = ClearReportTable(QStringLiteral("ReportPalletArticoli"));
    return job;
}

// Carton labels.
ReportJob CartonLabelJob(bool preview, int copies)
{
    ReportJob job;
    job.table = QStringLiteral("ReportImballi");
    job.singleLayout = [] { return ReportLayout::Create<CrystalReport2>(); };
    job.printerSetting = QStringLiteral("ImballiPrinter");
    job.leftMarginSetting = QStringLiteral("MargineSinistroImballi");
    job.topMarginSetting = QStringLiteral("MargineSuperioreImballi");
    job.preview = preview;
    job.previewWindow = PreviewForm::Form2;
    job.copies = copies;
    job.followUp = OverwriteFirstRecord(QStringLiteral("ReportImballi"), {{QStringLiteral("EANUC_Barcode"), QString()}});
    return job;
}

std::function<void()> ClearReportTable(const QString& table)
{
    return [table] { DB->Execute(QStringLiteral("DELETE FROM ") + table); };
}

std::function<void()> OverwriteFirstRecord(const QString& table, std::initializer_list<std::pair<QString, QVariant>> values)
{
    return [table, list = std::vector<std::pair<QString, QVariant>>(values)] {
        auto rs = DB->OpenRecordset(table);
        if (rs->IsEmpty()) return;
        rs->Edit();
        for (const auto& [column, value] : list)
            rs->SetValue(column, value);
        rs->Update();
        rs->Close();
    };
}

// Delivery-note summary
#include "reports/DdtLayout.h"

ReportJob DeliveryNoteJob(bool preview, int copies)
{
    ReportJob job;
    job.table = QStringLiteral("ReportDDT");
    job.singleLayout = [] { return ReportLayout::Create<CrystalReport4>(); };
    job.twoUpLayout = [] { return ReportLayout::Create<CrystalReport9>(); };
    job.printerSetting = QStringLiteral("ReportPrinter");
    job.leftMarginSetting = QStringLiteral("MargineSinistro");
    job.topMarginSetting = QStringLiteral("MargineSuperiore");
    job.preview = preview;
    job.previewWindow = PreviewForm::Form3;
    job.copies = copies;
    job.followUp = ClearReportTable(QStringLiteral("ReportDDT"));
    job.clearHolderAfterPreview = true;
    return job;
}
