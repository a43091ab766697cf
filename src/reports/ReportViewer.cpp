#include "reports/ReportViewer.h"

#include "core/db/AppError.h"
#include "core/ui/Dialogs.h"
#include "reports/PagePainter.h"
#include "reports/ReportLayout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QToolButton* Button(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    return b;
}

} // namespace

ReportViewer::ReportViewer(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CRViewer1"));
    previous_ = Button(QStringLiteral("cmdPaginaPrecedente"), QStringLiteral("<"), this);
    next_ = Button(QStringLiteral("cmdPaginaSuccessiva"), QStringLiteral(">"), this);
    auto* zoomOut = Button(QStringLiteral("cmdZoomMeno"), QStringLiteral("-"), this);
    auto* zoomIn = Button(QStringLiteral("cmdZoomPiu"), QStringLiteral("+"), this);
    auto* print = Button(QStringLiteral("cmdStampa"), QStringLiteral("Stampa"), this);
    pageLabel_ = new QLabel(this);
    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{print, previous_, pageLabel_, next_, zoomOut, zoomIn})
        bar->addWidget(w);
    bar->addStretch();

    area_ = new QScrollArea(this);
    area_->setAlignment(Qt::AlignCenter);
    area_->setBackgroundRole(QPalette::Dark);
    image_ = new QLabel;
    area_->setWidget(image_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(bar);
    column->addWidget(area_);

    connect(previous_, &QToolButton::clicked, this, [this] { showPage(page_ - 1); });
    connect(next_, &QToolButton::clicked, this, [this] { showPage(page_ + 1); });
    connect(zoomOut, &QToolButton::clicked, this, [this] { setZoom(zoom_ / 1.25); });
    connect(zoomIn, &QToolButton::clicked, this, [this] { setZoom(zoom_ * 1.25); });
    connect(print, &QToolButton::clicked, this, &ReportViewer::printReport);
}

int ReportViewer::pageCount() const { return layout_ ? static_cast<int>(layout_->pages().size()) : 0; }

void ReportViewer::ViewReport()
{
    page_ = 0;
    refresh();
}

void ReportViewer::showPage(int page)
{
    page_ = std::clamp(page, 0, std::max(0, pageCount() - 1));
    refresh();
}

void ReportViewer::setZoom(double zoom)
{
    zoom_ = std::clamp(zoom, 0.25, 8.0);
    refresh();
}

void ReportViewer::printReport()
{
    if (!layout_) return;
    try {
        if (printing_) printing_();
        layout_->PrintOut(1);
        printed_ = true;
    } catch (const AppError& e) {
        MsgBox(e.description(), vbCritical, QStringLiteral("Errore"));
    }
}

void ReportViewer::refresh()
{
    const int count = pageCount();
    pageLabel_->setText(QStringLiteral("%1 / %2").arg(count ? page_ + 1 : 0).arg(count));
    previous_->setEnabled(page_ > 0);
    next_->setEnabled(page_ + 1 < count);
    if (!count) {
        image_->clear();
        image_->adjustSize();
        return;
    }
    QImage page = RenderPage(layout_->pages()[static_cast<std::size_t>(page_)], logicalDpiX() * zoom_);
    page.setDevicePixelRatio(1.0);
    image_->setPixmap(QPixmap::fromImage(page));
    image_->adjustSize();
}
