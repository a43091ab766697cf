#pragma once
// A printer system that prints nothing: it records each job with its pages rendered as images at
// the printers' resolution, so tests can look at what would have been printed. It can also write
// each job to a folder as it is handed over, so that a process killed right after still leaves it.

#include "reports/PrinterSystem.h"

#include <QImage>

#include <functional>
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
    // Each job also goes to `folder`: its pages as PNG files, then a ".job" line naming them, which
    // appears at once and whole (written aside, then renamed). `afterJob` runs once it is there.
    void recordTo(const QString& folder, std::function<void()> afterJob = {})
    {
        folder_ = folder;
        afterJob_ = std::move(afterJob);
    }

private:
    void save(const RecordedJob& job) const;
    QList<PrinterInfo> printers_;
    QString default_;
    double dpi_;
    bool keepPages_ = true;
    std::vector<RecordedJob> jobs_;
    QString folder_;
    std::function<void()> afterJob_;
};

// The jobs a recording printer wrote to `folder`, in the order they were handed over.
std::vector<RecordedJob> RecordedJobsIn(const QString& folder);
