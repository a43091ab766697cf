#pragma once
// The preview windows Form1 to Form5: one viewer covering the window, showing the layout of the
// print job.

#include <QDialog>

#include <functional>
#include <memory>

class ReportLayout;
class ReportViewer;

enum class PreviewForm { Form1, Form2, Form3, Form4, Form5 };

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    // Loads the window: the viewer shows `layout`, which must outlive the window.
    PreviewWindow(PreviewForm form, ReportLayout& layout, QWidget* parent = nullptr);
    // Runs right before the document goes to the printer; a failure keeps it from printing.
    void OnPrinting(std::function<void()> printing);
    ReportViewer& viewer() { return *viewer_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    ReportViewer* viewer_;
};

// Shows the window modally and returns when it was closed: true when the layout was printed from it.
bool ShowPreview(PreviewForm form, ReportLayout& layout, std::function<void()> printing = {});
