#include "support/RecordingPrinter.h"

#include "reports/PagePainter.h"

#include <QPainter>

void RecordingPrinterSystem::print(const PrintJob& job)
{
    RecordedJob rec{job.printer.deviceName, job.documentName, job.copies, job.landscape,
                    job.leftMarginTwips, job.topMarginTwips, dpi_, {}};
    for (int page = 0; page < job.pageCount; ++page) {
        QImage image = BlankSheet(job.landscape ? job.paper.transposed() : job.paper, dpi_);
        QPainter painter(&image);
        PaintJobPage(painter, job, page, dpi_, dpi_);
        painter.end();
        if (keepPages_) rec.pages.push_back(std::move(image));
    }
    jobs_.push_back(std::move(rec));
}
