#include "support/RecordingPrinter.h"

#include "reports/PagePainter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSaveFile>

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
    if (!folder_.isEmpty()) save(rec);
    jobs_.push_back(std::move(rec));
    if (afterJob_) afterJob_();
}

void RecordingPrinterSystem::save(const RecordedJob& job) const
{
    static int sequence = 0;
    // Named by time and process, so that the jobs of several runs sort in the order they were sent.
    const QString name = QStringLiteral("%1-%2-%3")
                             .arg(QDateTime::currentMSecsSinceEpoch(), 15, 10, QLatin1Char('0'))
                             .arg(QCoreApplication::applicationPid())
                             .arg(++sequence, 4, 10, QLatin1Char('0'));
    QStringList line{job.documentName, QString::number(job.copies)};
    for (size_t p = 0; p < job.pages.size(); ++p) {
        const QString page = QStringLiteral("%1-%2.png").arg(name).arg(p);
        job.pages[p].convertToFormat(QImage::Format_Grayscale8).save(QDir(folder_).filePath(page), "PNG", 100);
        line << page;
    }
    QSaveFile meta(QDir(folder_).filePath(name + QStringLiteral(".job")));
    meta.open(QIODevice::WriteOnly);
    meta.write(line.join(u'\t').toUtf8());
    meta.commit();
}

std::vector<RecordedJob> RecordedJobsIn(const QString& folder)
{
    std::vector<RecordedJob> jobs;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.job")}, QDir::Files, QDir::Name)) {
        QFile meta(dir.filePath(name));
        meta.open(QIODevice::ReadOnly);
        const QStringList line = QString::fromUtf8(meta.readAll()).split(u'\t');
        RecordedJob job;
        job.documentName = line.value(0);
        job.copies = line.value(1).toInt();
        for (const QString& page : line.mid(2)) job.pages.emplace_back(dir.filePath(page));
        jobs.push_back(std::move(job));
    }
    return jobs;
}
