#pragma once
// A printer system that prints nothing: it records each job with its pages rendered as images at
// the printers' resolution, so tests can look at what would have been printed.

#include "reports/PrinterSystem.h"

#include <QImage>

#include <vector>

struct RecordedJob {
    QString printer; // device name
    QString documentName;
    int copies = 0;
    bool landscape = false;
    int leftMarginTwips = 0;
    int topMarginTwips = 0;
    double dpi = 0;
    std::vector<QImage> pages;
};

class RecordingPrinterSystem : public PrinterSystem {
public:
    RecordingPrinterSystem(QList<PrinterInfo> printers, QString defaultName, double dpi = 300)
        : printers_(std::move(printers)), default_(std::move(defaultName)), dpi_(dpi) {}

    QList<PrinterInfo> printers() const override { return printers_; }
    QString defaultPrinterName() const override { return default_; }
    void print(const PrintJob& job) override;

    void setDpi(double dpi) { dpi_ = dpi; }
    // Pages are still rendered, but not kept: a long run's memory stays flat.
    void setKeepPages(bool keep) { keepPages_ = keep; }
    const std::vector<RecordedJob>& jobs() const { return jobs_; }

private:
    QList<PrinterInfo> printers_;
    QString default_;
    double dpi_;
    bool keepPages_ = true;
    std::vector<RecordedJob> jobs_;
};
