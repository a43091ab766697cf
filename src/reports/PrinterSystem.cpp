#include "reports/PrinterSystem.h"

#include "core/db/AppError.h"
#include "reports/Twips.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <optional>

namespace {

[[noreturn]] void PrinterError(const QString& description)
{
    throw AppError(482, QStringLiteral("Stampa"), description);
}

// The system's print queues as Qt sees them (CUPS on Linux).
class QtPrinterSystem : public PrinterSystem {
public:
    QList<PrinterInfo> printers() const override
    {
        QList<PrinterInfo> out;
        for (const QPrinterInfo& p : QPrinterInfo::availablePrinters())
            out.push_back({p.printerName(), p.makeAndModel(), p.location()});
        return out;
    }
    QString defaultPrinterName() const override { return QPrinterInfo::defaultPrinterName(); }

    void print(const PrintJob& job) override
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(job.printer.deviceName);
        if (!printer.isValid() || printer.printerName() != job.printer.deviceName)
            PrinterError(QStringLiteral("Stampante \"%1\" non disponibile").arg(job.printer.deviceName));
        printer.setDocName(job.documentName);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(job.paper, QPageSize::Millimeter));
        printer.setPageOrientation(job.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        printer.setCopyCount(job.copies);
        QPainter painter;
        if (!painter.begin(&printer))
            PrinterError(QStringLiteral("Impossibile stampare su \"%1\"").arg(job.printer.deviceName));
        for (int page = 0; page < job.pageCount; ++page) {
            if (page > 0) printer.newPage();
            PaintJobPage(painter, job, page, printer.logicalDpiX(), printer.logicalDpiY());
        }
        if (!painter.end())
            PrinterError(QStringLiteral("Stampa non riuscita su \"%1\"").arg(job.printer.deviceName));
    }
};

PrinterSystem* g_system = nullptr;
std::optional<PrinterInfo> g_current;

} // namespace

PrinterSystem& Printers()
{
    static QtPrinterSystem real;
    return g_system ? *g_system : real;
}

void SetPrinterSystem(PrinterSystem* system)
{
    g_system = system;
    g_current.reset();
}

PrinterInfo CurrentPrinter()
{
    if (g_current) return *g_current;
    const QList<PrinterInfo> all = Printers().printers();
    const QString wanted = Printers().defaultPrinterName();
    for (const PrinterInfo& p : all)
        if (p.deviceName == wanted) return p;
    return all.isEmpty() ? PrinterInfo{} : all.front();
}

void SetCurrentPrinter(const PrinterInfo& printer) { g_current = printer; }

bool SelectCurrentPrinter(const QString& deviceName)
{
    for (const PrinterInfo& p : Printers().printers())
        if (p.deviceName == deviceName) {
            g_current = p;
            return true;
        }
    return false;
}

void PrintOut(const PrintJob& job)
{
    if (Printers().printers().isEmpty())
        PrinterError(QStringLiteral("Nessuna stampante installata: impossibile stampare."));
    if (job.printer.deviceName.isEmpty())
        PrinterError(QStringLiteral("Nessuna stampante selezionata: impossibile stampare.\n\n"
                                    "Scegliere la stampante in Configura > Impostazioni. Gli elenchi della ricerca stampano "
                                    "sulla stampante predefinita del sistema: impostarne una (con CUPS: "
                                    "lpadmin -d seguito dal nome della stampante) e riavviare il programma."));
    Printers().print(job);
}

void PaintJobPage(QPainter& painter, const PrintJob& job, int page, double dpiX, double dpiY)
{
    painter.save();
    painter.translate(TwipsToMm(job.leftMarginTwips) * dpiX / 25.4, TwipsToMm(job.topMarginTwips) * dpiY / 25.4);
    job.paintPage(painter, page, dpiX, dpiY);
    painter.restore();
}
