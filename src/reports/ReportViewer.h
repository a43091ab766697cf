#pragma once
// Shows a layout's pages: page navigation, zoom and a print button, the page drawn at the screen's
// resolution times the zoom.

#include <QWidget>

#include <functional>

class QLabel;
class QScrollArea;
class QToolButton;
class ReportLayout;

class ReportViewer : public QWidget {
    Q_OBJECT
public:
    explicit ReportViewer(QWidget* parent = nullptr);

    // The layout shown; it must outlive the viewer.
    void SetReportSource(ReportLayout* layout) { layout_ = layout; }
    void ViewReport();

    int currentPage() const { return page_; }
    int pageCount() const;
    double zoom() const { return zoom_; }
    void showPage(int page);
    void setZoom(double zoom);
    // Prints the layout on the current printer; a failure is shown as a message.
    void printReport();
    // Runs right before each print; a failure keeps it from printing, and is shown.
    void OnPrinting(std::function<void()> printing) { printing_ = std::move(printing); }
    // True once a print from here went to the printer.
    bool printed() const { return printed_; }

private:
    void refresh();

    ReportLayout* layout_ = nullptr;
    int page_ = 0;
    double zoom_ = 1.0;
    bool printed_ = false;
    std::function<void()> printing_;
    QScrollArea* area_;
    QLabel* image_;
    QLabel* pageLabel_;
    QToolButton* previous_;
    QToolButton* next_;
};
