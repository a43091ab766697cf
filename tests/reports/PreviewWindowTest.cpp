// The preview windows: their captions, a viewer that fills them, page navigation and printing.
#include "PalletFixture.h"

#include "reports/PalletLayout.h"
#include "reports/PreviewWindow.h"
#include "reports/ReportViewer.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QToolButton>

namespace {

class Preview : public PalletTest {
protected:
    std::unique_ptr<CrystalReport1> layoutOf(int rows)
    {
        auto layout = ReportLayout::Create<CrystalReport1>();
        layout->mainSection().setRows(std::vector<ReportRow>(static_cast<std::size_t>(rows), PalletRow().row()));
        return layout;
    }
};

TEST_F(Preview, CaptionsOfTheFiveWindows)
{
    auto layout = layoutOf(1);
    EXPECT_EQ(PreviewWindow(PreviewForm::Form2, *layout).windowTitle(), " Anteprima di stampa");
    for (PreviewForm f : {PreviewForm::Form1, PreviewForm::Form3, PreviewForm::Form4, PreviewForm::Form5}) {
        PreviewWindow w(f, *layout);
        EXPECT_EQ(w.windowTitle(), "Anteprima di stampa");
        EXPECT_EQ(w.objectName(), QStringLiteral("Form%1").arg(static_cast<int>(f) + 1));
    }
}

TEST_F(Preview, ViewerFillsTheWindowAsItIsResized)
{
    auto layout = layoutOf(1);
    PreviewWindow window(PreviewForm::Form1, *layout);
    for (QSize size : {QSize(400, 300), QSize(1000, 800)}) {
        window.resize(size);
        window.show();
        EXPECT_EQ(window.viewer().geometry(), QRect(QPoint(0, 0), size));
    }
}

// The print keeps its hourglass while it lasts; the operator reads its preview with the arrow.
TEST_F(Preview, TheArrowWhileAPreviewWaitsForTheOperator)
{
    auto layout = layoutOf(1);
    WaitCursor hourglass;
    for (PreviewForm f : {PreviewForm::Form1, PreviewForm::Form2, PreviewForm::Form3}) {
        std::optional<Qt::CursorShape> shown;
        Dialogs().onModal([&](QDialog&) {
            shown = QApplication::overrideCursor()->shape();
            return int(QDialog::Rejected);
        });
        ShowPreview(f, *layout);
        EXPECT_EQ(shown, Qt::ArrowCursor);
        ASSERT_TRUE(QApplication::overrideCursor());
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
}

TEST_F(Preview, NavigationZoomAndPrint)
{
    auto layout = layoutOf(3);
    ReportViewer viewer;
    viewer.SetReportSource(layout.get());
    viewer.ViewReport();
    EXPECT_EQ(viewer.pageCount(), 3);
    viewer.findChild<QToolButton*>(QStringLiteral("cmdPaginaSuccessiva"))->click();
    EXPECT_EQ(viewer.currentPage(), 1);
    viewer.showPage(10);
    EXPECT_EQ(viewer.currentPage(), 2);
    viewer.findChild<QToolButton*>(QStringLiteral("cmdZoomPiu"))->click();
    EXPECT_DOUBLE_EQ(viewer.zoom(), 1.25);
    viewer.findChild<QToolButton*>(QStringLiteral("cmdStampa"))->click();
    ASSERT_EQ(printers.jobs().size(), 1u);
    EXPECT_EQ(printers.jobs()[0].printer, "Office");
    EXPECT_EQ(printers.jobs()[0].pages.size(), 3u);
}

} // namespace
