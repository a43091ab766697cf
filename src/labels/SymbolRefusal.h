#pragma once
// Checks made before anything of a label is written or printed: every GS1-128 symbol must carry
// exactly what the label's text and the archive state, within GS1's rules, or the label is refused.

#include "labels/ElementStrings.h"

#include <QString>

// The E128 font string of `data`; "" when a character cannot be carried (none outside Latin-1 is
// turned into another one on the way).
QString EncodeE128(const QString& data);

// Why the element symbol of a pallet or summary label cannot be printed, naming the lot or the
// article; "" when it can.
QString PalletSymbolRefusal(const ElementData& data, const ElementSettings& settings, LabelContent content,
                            const QString& article);

// The same for one line of the article-list labels, which state no weight.
QString ArticleLineSymbolRefusal(const ElementData& data, const ElementSettings& settings);
