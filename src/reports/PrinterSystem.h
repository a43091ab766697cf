#pragma once
// The printers of the system, behind a seam: the program lists them, picks the default and prints
// jobs through it; tests install a recording printer system instead of the real one.

#include <QList>
#include <QSizeF>
#include <QString>

#include <functional>

class QPainter;

struct PrinterInfo {
    QString deviceName;
    QString driverName;
    QString port;
};

// One print-out: the pages are drawn by `paintPage` on a painter without transformation, at the
// device's resolution, with the page's top left corner at the margins.
struct PrintJob {
    PrinterInfo printer;
    QString documentName;
    QSizeF paper; // mm, portrait
    bool landscape = false;
    int copies = 1;
    int leftMarginTwips = 0;
    int topMarginTwips = 0;
    int pageCount = 0;
    std::function<void(QPainter& painter, int page, double dpiX, double dpiY)> paintPage;
};

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    // In the system's order.
    virtual QList<PrinterInfo> printers() const = 0;
    // Empty when the system has no default printer.
    virtual QString defaultPrinterName() const = 0;
    // Throws AppError when the job cannot be printed.
    virtual void print(const PrintJob& job) = 0;
};

// The printer system in use: the real one unless a test installed another.
PrinterSystem& Printers();
// nullptr restores the real one. The caller keeps ownership. The current printer starts afresh.
void SetPrinterSystem(PrinterSystem* system);

// The program's current printer: the system's default until a job makes another current; it stays
// current after the job. Empty when the system has no printer.
PrinterInfo CurrentPrinter();
void SetCurrentPrinter(const PrinterInfo& printer);
// Makes current the first printer, in the system's order, whose device name equals `deviceName`
// exactly; false, changing nothing, when none does.
bool SelectCurrentPrinter(const QString& deviceName);

// Sends the job; throws AppError with a clear description when the system has no printer at all.
void PrintOut(const PrintJob& job);

// Moves the painter to the job's margins and draws page `page` (for PrinterSystem implementations).
void PaintJobPage(QPainter& painter, const PrintJob& job, int page, double dpiX, double dpiY);
