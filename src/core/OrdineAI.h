#pragma once
// The order of the six AI groups of the GS1-128 strings: the Setup column OrdineAI holds one digit
// per group, the settings dialog shows one list item per digit.

#include <QString>
#include <QStringList>

// One item per digit 1 to 6, in the order of the text; other characters add nothing.
QStringList OrdineAIItems(const QString& ordine);
// The digits of the items in their order, each found by the item's first two characters.
QString OrdineAIFromItems(const QStringList& items);
