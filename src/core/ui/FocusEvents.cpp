#include "core/ui/FocusEvents.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace {

class FocusFilter : public QObject {
public:
    FocusFilter(QWidget* field, QEvent::Type type, std::function<void()> handler)
        : QObject(field), type_(type), handler_(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != type_) return false;
        if (type_ == QEvent::FocusIn) {
            QTimer::singleShot(0, this, handler_);
            return false;
        }
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) handler_();
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> handler_;
};

class TabFilter : public QObject {
public:
    TabFilter(QWidget* field, std::function<void()> handler) : QObject(field), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

} // namespace

void OnLostFocus(QWidget* field, std::function<void()> handler)
{
    field->installEventFilter(new FocusFilter(field, QEvent::FocusOut, std::move(handler)));
}

void OnGotFocus(QWidget* field, std::function<void()> handler)
{
    field->installEventFilter(new FocusFilter(field, QEvent::FocusIn, std::move(handler)));
}

void OnTabKey(QWidget* field, std::function<void()> handler)
{
    field->installEventFilter(new TabFilter(field, std::move(handler)));
}
