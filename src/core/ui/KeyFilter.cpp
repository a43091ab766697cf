#include "core/ui/KeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <memory>

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

void InstallCharacterFilter(QLineEdit* field, const KeyPressFilter& filter)
{
    InstallKeyFilter(field, filter);
    // Every way the user puts text in (paste, drop, the context menu, a middle click) ends in one
    // edit: the characters it inserted are filtered against the text around them.
    auto shown = std::make_shared<QString>(field->text());
    // The field's own text, not the signal's: a filtered edit is followed by the signal of the raw one.
    QObject::connect(field, &QLineEdit::textChanged, field, [field, shown] { *shown = field->text(); });
    QObject::connect(field, &QLineEdit::textEdited, field, [field, filter, shown](const QString& text) {
        const QString& before = *shown;
        qsizetype head = 0;
        while (head < before.size() && head < text.size() && before[head] == text[head]) ++head;
        qsizetype tail = 0;
        while (tail < before.size() - head && tail < text.size() - head
               && before[before.size() - 1 - tail] == text[text.size() - 1 - tail])
            ++tail;
        const QString after = text.right(tail);
        QString kept = text.left(head);
        for (QChar c : text.mid(head, text.size() - head - tail)) {
            const int code = filter(c.unicode(), kept + after);
            if (code > 0) kept += QChar(code);
        }
        if (kept + after == text) return;
        field->setText(kept + after);
        field->setCursorPosition(int(kept.size()));
    });
}

int DigitKey(int keyAscii, const QString&)
{
    return (keyAscii == 8 || (keyAscii >= '0' && keyAscii <= '9')) ? keyAscii : 0;
}

int UpperCaseKey(int keyAscii, const QString&)
{
    return QChar(keyAscii).toUpper().unicode();
}
