#include "reports/PreviewWindow.h"

#include "core/ui/Dialogs.h"
#include "reports/ReportViewer.h"

#include <QApplication>
#include <QResizeEvent>

namespace {

// Default inner area: 10335 x 7980 twips at 15 twips a pixel.
constexpr int kWidth = 689;
constexpr int kHeight = 532;

// The arrow over whatever pointer the caller set, for the life of the object.
struct ArrowCursor {
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

} // namespace

PreviewWindow::PreviewWindow(PreviewForm form, ReportLayout& layout, QWidget* parent) : QDialog(parent)
{
    const int number = static_cast<int>(form) + 1;
    setObjectName(QStringLiteral("Form%1").arg(number));
    // Form2 has always had a leading blank in its caption.
    setWindowTitle(form == PreviewForm::Form2 ? QStringLiteral(" Anteprima di stampa") : QStringLiteral("Anteprima di stampa"));
    setSizeGripEnabled(true);
    viewer_ = new ReportViewer(this);
    WaitCursor wait;
    viewer_->SetReportSource(&layout);
    viewer_->ViewReport();
    resize(kWidth, kHeight);
    viewer_->setGeometry(rect());
}

void PreviewWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    viewer_->setGeometry(0, 0, event->size().width(), event->size().height());
}

void PreviewWindow::OnPrinting(std::function<void()> printing) { viewer_->OnPrinting(std::move(printing)); }

bool ShowPreview(PreviewForm form, ReportLayout& layout, std::function<void()> printing)
{
    PreviewWindow window(form, layout);
    window.OnPrinting(std::move(printing));
    // The print's hourglass stays underneath: the operator reads the preview with the arrow.
    ArrowCursor arrow;
    ShowModal(window);
    return window.viewer().printed();
}
