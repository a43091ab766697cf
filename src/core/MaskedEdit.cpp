#include "core/MaskedEdit.h"

#include "core/Formats.h"

#include <QLineEdit>

QString EditMaskToQt(const QString& mask, QChar prompt)
{
    QString out;
    for (QChar c : mask) out += c == u'9' ? QStringLiteral("0") : QtInputMask(QString(c));
    return out + u';' + prompt;
}

void SetEditMask(QLineEdit& field, const QString& mask, QChar prompt) { field.setInputMask(EditMaskToQt(mask, prompt)); }
