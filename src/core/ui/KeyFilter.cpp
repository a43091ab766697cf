#include "core/ui/KeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

class KeyFilterObject : public QObject {
public:
    KeyFilterObject(QLineEdit* field, KeyPressFilter filter) : QObject(field), field_(field), filter_(std::move(filter)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != field_ || event->type() != QEvent::KeyPress || replaying_) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = typedCode(*key);
        if (code == 0) return false;
        const int result = filter_(code, field_->text());
        if (result == code) return false;
        if (result != 0) {
            QKeyEvent replaced(QEvent::KeyPress, key->key(), key->modifiers(), QString(QChar(result)));
            replaying_ = true;
            QCoreApplication::sendEvent(field_, &replaced);
            replaying_ = false;
        }
        return true;
    }

private:
    static int typedCode(const QKeyEvent& key)
    {
        if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
        switch (key.key()) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete: return 0;
        default: break;
        }
        const QString text = key.text();
        if (text.isEmpty() || text[0].unicode() < 32 || text[0].unicode() == 127) return 0;
        return text[0].unicode();
    }

    QLineEdit* field_;
    KeyPressFilter filter_;
    bool replaying_ = false;
};

} // namespace

void InstallKeyFilter(QLineEdit* field, KeyPressFilter filter)
{
    field->installEventFilter(new KeyFilterObject(field, std::move(filter)));
}

int DigitKey(int keyAscii, const QString&)
{
    return (keyAscii == 8 || (keyAscii >= '0' && keyAscii <= '9')) ? keyAscii : 0;
}

int UpperCaseKey(int keyAscii, const QString&)
{
    return QChar(keyAscii).toUpper().unicode();
}
