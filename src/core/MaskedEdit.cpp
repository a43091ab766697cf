#include "core/MaskedEdit.h"

#include <QLineEdit>

QString EditMaskToQt(const QString& mask, QChar prompt)
{
    QString out;
    for (QChar c : mask) {
        if (c == u'#') out += u'9';
        else if (c == u'9') out += u'0';
        else if (QStringLiteral("AaNnXx0Dd#HhBb><!\\[]{}").contains(c)) out += u'\\' + QString(c);
        else out += c;
    }
    return out + u';' + prompt;
}

void SetEditMask(QLineEdit& field, const QString& mask, QChar prompt) { field.setInputMask(EditMaskToQt(mask, prompt)); }
