#include "reports/PrinterSystem.h"

#include <QPrinterInfo>

namespace {

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
};

PrinterSystem* g_system = nullptr;

} // namespace

PrinterSystem& Printers()
{
    static QtPrinterSystem real;
    return g_system ? *g_system : real;
}

void SetPrinterSystem(PrinterSystem* system) { g_system = system; }
