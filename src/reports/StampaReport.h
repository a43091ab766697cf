#pragma once
// The print job shared by every printed document: the report table the caller has just written is
// read into a layout (bound), which then goes to the configured printer with the configured
// margins, or to a preview window (sent).

#include "reports/PreviewWindow.h"
#include "reports/PrinterSystem.h"
#include "reports/ReportLayout.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

using LayoutFactory = std::function<std::unique_ptr<ReportLayout>()>;

struct ReportJob {
    QString table;
    LayoutFactory singleLayout;
    LayoutFactory twoUpLayout; // empty when the document has no two-up layout
    QString printerSetting;    // Setup column holding the printer's device name
    QString leftMarginSetting; // Setup columns holding the margins in mm
    QString topMarginSetting;
    bool preview = false;
    PreviewForm previewWindow = PreviewForm::Form1;
    int copies = 1;
    // What is done to the report table once its rows are copied into the layout, in the same
    // transaction: nothing after the commit touches rows another program may have replaced.
    std::function<void()> followUp;
    bool clearHolderAfterPreview = false;
    // Runs right before the preview window sends the document to the printer; a failure keeps it
    // from printing.
    std::function<void()> previewPrinting;
    // Chosen before any transaction: the printer system may take its time to answer.
    std::optional<PrinterInfo> printer;
};

// Makes the printer of the job's setting current and keeps it in the job. It asks the printer
// system, which may not answer for a while: never call it inside a transaction.
void ChoosePrinter(ReportJob& job);

// A job whose rows are copied into its layout, printer and margins chosen: sending it reads no rows.
struct BoundReport {
    ReportJob job;
    std::unique_ptr<ReportLayout> layout;
};

// Reads the rows through a second, read-only connection, or inside a write transaction through the
// program's own connection, which alone sees the rows the transaction wrote; then runs the
// follow-up. Inside a transaction the job must have its printer already.
BoundReport BindReport(const ReportJob& job);

// Prints or previews. True when the document went to the printer: printed, or printed from the
// preview window before it closed. Must not run inside a transaction: a preview waits for the
// operator, and a printed label must not depend on a commit still to come.
bool SendReport(BoundReport report, std::unique_ptr<ReportLayout>& holder);

// Binds and sends; the layout stays in `holder` after a preview (unless the job clears it). Errors of
// the database, the layout or the printer reach the caller.
bool StampaReport(const ReportJob& job, std::unique_ptr<ReportLayout>& holder);

// The pallet label and its reprint: CrystalReport1, or CrystalReport7 when DoubleLayout is on;
// ReportPallet is emptied once the rows are bound.
ReportJob PalletLabelJob(bool preview, int copies);

// Carton labels: CrystalReport2 only, on the carton printer; the barcode of the table's one row is
// emptied once bound.
ReportJob CartonLabelJob(bool preview, int copies);

// Mixed-pallet article list: CrystalReport3, or CrystalReport8 when DoubleLayout is on; never previewed.
ReportJob ArticleListJob(int copies);

// Delivery-note summary: CrystalReport4, or CrystalReport9 when DoubleLayout is on; ReportDDT is
// emptied once bound and the layout released even after a preview.
ReportJob DeliveryNoteJob(bool preview, int copies);

// Follow-ups: empty the report table, or overwrite columns of its first record.
std::function<void()> ClearReportTable(const QString& table);
std::function<void()> OverwriteFirstRecord(const QString& table, std::initializer_list<std::pair<QString, QVariant>> values);
