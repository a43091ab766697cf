#include "core/OrdineAI.h"

namespace {

struct AIGroup {
    QChar digit;
    const char* item;
};

const AIGroup kGroups[] = {
    {u'1', "02 Gtin (o 01)"}, {u'2', "37 Quantità (o 30)"}, {u'3', "15 Data scadenza"},
    {u'4', "33 Peso lordo"},  {u'5', "10 Lotto"},           {u'6', "11 Data produzione"},
};

} // namespace

QStringList OrdineAIItems(const QString& ordine)
{
    QStringList items;
    for (QChar c : ordine)
        for (const AIGroup& g : kGroups)
            if (g.digit == c) items << QString::fromUtf8(g.item);
    return items;
}

QString OrdineAIFromItems(const QStringList& items)
{
    QString ordine;
    for (const QString& item : items)
        for (const AIGroup& g : kGroups)
            if (item.left(2) == QString::fromUtf8(g.item).left(2)) ordine += g.digit;
    return ordine;
}
