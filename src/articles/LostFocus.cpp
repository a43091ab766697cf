#include "articles/LostFocus.h"

#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

namespace {

class LostFocusFilter : public QObject {
public:
    LostFocusFilter(QWidget* field, std::function<void()> handler) : QObject(field), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::FocusOut) return false;
        // Switching to another application or opening a menu does not leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

} // namespace

void OnLostFocus(QWidget* field, std::function<void()> handler)
{
    field->installEventFilter(new LostFocusFilter(field, std::move(handler)));
}
