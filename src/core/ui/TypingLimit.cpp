#include "core/ui/TypingLimit.h"

#include <QLineEdit>
#include <QVariant>

#include <algorithm>

namespace {

const char* const kLimit = "typingLimit";

int limitOf(const QLineEdit* field) { return field->property(kLimit).toInt(); }

// Once the operator's edits bring a longer value within the limit, the limit holds again.
void holdLimitAfterEdits(QLineEdit* field)
{
    field->setProperty(kLimit, field->maxLength());
    QObject::connect(field, &QLineEdit::textEdited, field, [field] {
        const int limit = limitOf(field);
        if (field->maxLength() <= limit || field->text().size() > limit) return;
        const int at = field->cursorPosition();
        field->setMaxLength(limit);
        field->setCursorPosition(at);
    });
}

} // namespace

// Qt cuts what is set as well as what is typed beyond the maximum length: while a longer value is
// shown, the maximum is its length.
void ShowWhole(QLineEdit* field, const QString& text)
{
    if (!field->property(kLimit).isValid()) holdLimitAfterEdits(field);
    const int wanted = std::max(limitOf(field), int(text.size()));
    if (wanted > field->maxLength()) field->setMaxLength(wanted);
    field->setText(text);
    if (wanted < field->maxLength()) field->setMaxLength(wanted);
}
