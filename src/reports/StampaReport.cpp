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

void StampaReport(const ReportJob& job, std::unique_ptr<ReportLayout>& holder)
{
    // Committed rows are visible to another connection at once; rows of an open transaction are not,
    // and printing without them would put old labels on the pallet.
    if (DB->InTransaction())
        throw AppError(3034, QStringLiteral("Stampa"),
                       QStringLiteral("Le righe da stampare non sono ancora salvate: transazione in corso."));

    auto connection = Database::Open(PercorsoDB, true);
    auto rs = connection->OpenRecordset(job.table);

    const bool twoUp = job.twoUpLayout && Setting(QStringLiteral("DoubleLayout")).toBool();
    holder = twoUp ? job.twoUpLayout() : job.singleLayout();
    ReportLayout& layout = *holder;
    if (twoUp) {
        layout.Subreport1().SetDataSource(*rs);
        layout.Subreport2().SetDataSource(*rs);
    } else {
        layout.SetDataSource(*rs);
    }

    SelectCurrentPrinter(NzStr(Setting(job.printerSetting)).trimmed());
    if (twoUp) layout.PaperOrientation = 2;
    const PrinterInfo current = CurrentPrinter();
    layout.SelectPrinter(current.driverName, current.deviceName, current.port);
    layout.LeftMargin = MmToTwips(Setting(job.leftMarginSetting).toDouble());
    layout.TopMargin = MmToTwips(Setting(job.topMarginSetting).toDouble());
    if (twoUp) layout.PaperOrientation = 2;

    if (job.preview) {
        ShowPreview(job.previewWindow, layout);
        if (job.clearHolderAfterPreview) holder.reset();
    } else {
        layout.PrintOut(job.copies);
        holder.reset();
    }

    rs->Close();
    rs.reset();
    connection.reset();

    if (job.followUp) job.followUp();
}

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
    job.followUp = OverwriteFirstRecord(QStringLiteral("ReportPallet"),
                                        {{QStringLiteral("E128_Barcode"), QStringLiteral("0")},
                                         {QStringLiteral("SSCC_Barcode"), QStringLiteral("1")}});
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
