#pragma once
// The printers of the system, behind a seam: the program lists them and picks the default through
// it; tests install a recording printer system instead of the real one.

#include <QList>
#include <QString>

struct PrinterInfo {
    QString deviceName;
    QString driverName;
    QString port;
};

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    // In the system's order.
    virtual QList<PrinterInfo> printers() const = 0;
    // Empty when the system has no default printer.
    virtual QString defaultPrinterName() const = 0;
};

// The printer system in use: the real one unless a test installed another.
PrinterSystem& Printers();
// nullptr restores the real one. The caller keeps ownership.
void SetPrinterSystem(PrinterSystem* system);
