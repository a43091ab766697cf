#pragma once
// Masked edit boxes: a field's edit mask written as the program writes it ("##/##/##", "9999"),
// set as the Qt input mask of a line edit. "#" is a required digit, "9" an optional one; other
// characters are fixed characters of the field; `prompt` marks the positions still to type.

#include <QString>

class QLineEdit;

QString EditMaskToQt(const QString& mask, QChar prompt = u' ');
void SetEditMask(QLineEdit& field, const QString& mask, QChar prompt = u' ');
