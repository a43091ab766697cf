#include "labels/ArticleListLabels.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "labels/ElementStrings.h"
#include "labels/PalletLabel.h"
#include "labels/SymbolRefusal.h"

#include <algorithm>

namespace {

QString slotColumn(int slot, const char* part) { return QStringLiteral("E128_%1_%2").arg(slot).arg(QLatin1String(part)); }

} // namespace

ElementData ArticleLineElements(const ArticleLine& l)
{
    return ElementData{l.gtin, QString::number(l.qt), 0, l.scadenza.date(), l.lotto, l.gtin2, l.pezzi, l.produzione.date()};
}

void FillArticleList(const QString& sscc, const std::vector<ArticleLine>& lines)
{
    const bool fiveDigitProducer = NzStr(rsSetup->Value(QStringLiteral("CodProduttore"))).size() == 5;
    const ElementSettings settings = ElementSettings::FromSetup(*rsSetup);
    DB->Execute(QStringLiteral("DELETE FROM ReportPalletArticoli"));
    auto rs = DB->OpenRecordset(QStringLiteral("ReportPalletArticoli"));
    int slot = kLinesPerLabel + 1;
    for (const ArticleLine& l : lines) {
        if (slot > kLinesPerLabel) {
            if (rs->EditMode() == dbEditAdd) rs->Update();
            rs->AddNew();
            for (int s = 1; s <= kLinesPerLabel; ++s) {
                rs->SetValue(slotColumn(s, "Text"), QString());
                rs->SetValue(slotColumn(s, "Barcode"), QString());
            }
            rs->SetValue(QStringLiteral("SSCC_Form"), fiveDigitProducer ? Grouped(sscc, {1, 2, 5, 9, 1}) : Grouped(sscc, {1, 2, 7, 7, 1}));
            rs->SetValue(QStringLiteral("SSCC_Text"), QStringLiteral("(00)") + sscc);
            rs->SetValue(QStringLiteral("SSCC_Barcode"), EncodeE128(QStringLiteral("00") + sscc));
            slot = 1;
        }
        const ElementData data = ArticleLineElements(l);
        rs->SetValue(slotColumn(slot, "Text"), CalcolaEAN128TextMulti(data, settings));
        rs->SetValue(slotColumn(slot, "Barcode"), EncodeE128(CalcolaEAN128BarcodeMulti(data, settings)));
        ++slot;
    }
    if (rs->EditMode() == dbEditAdd) rs->Update();
    rs->Close();
}
