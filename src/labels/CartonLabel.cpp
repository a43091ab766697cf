#include "labels/CartonLabel.h"

#include "barcodes/Barcodes.h"
#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/db/AppError.h"
#include "core/ui/Dialogs.h"
#include "labels/LabelJob.h"
#include "labels/PalletLabel.h"

#include <algorithm>

namespace {

QString Half(const QString& text) { return PadRight(text.left(40), 40, QStringLiteral(" ")); }

QString EanBarcode(const QString& ean)
{
    return QString::fromLatin1(EncodeBarcode(ean.left(12).toLatin1().toStdString(), "EAN13", true));
}

} // namespace

std::optional<JobRefusal> CheckCartonArticle(const QString& sigla, const QString& durata, const QString& unita,
                                             const QString& eanCartone)
{
    if (durata.isEmpty() || unita.isEmpty()) return JobRefusal{ProductLifeRefusal(sigla), vbCritical};
    // Thirteen digits with their own check digit: the encoder would fill or correct anything else
    // into a valid-looking symbol of other digits.
    const bool digits = eanCartone.size() == 13
                        && std::all_of(eanCartone.begin(), eanCartone.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digits || CheckDigitMod10(eanCartone.left(12)) != eanCartone.right(1))
        return JobRefusal{QStringLiteral("L'articolo %1 non ha un codice EAN cartone valido: correggerlo prima di stampare.").arg(sigla),
                          vbCritical};
    return std::nullopt;
}

CartonRow MakeCartonRow(const CartonLabelArgs& a)
{
    CartonRow r;
    r.codInterno = a.codInterno;
    r.dataOraProduzione = ProductionText(a.produzione, true, true);
    r.descrizione = Half(a.descrizione1) + Half(a.descrizione2);
    r.eanForm = Grouped(a.eanCartone, {2, 5, 5}) + u' ' + a.eanCartone.right(1);
    r.eanBarcode = EanBarcode(a.eanCartone);
    r.numPezzi = GeneralNumber(NumericValue(a.qtCassa));
    r.dataScadenza = ExpiryText(a.scadenza, a.expiryRule);
    r.lotto = a.lotto;
    return r;
}

void WriteCartonRow(const CartonRow& row)
{
    auto rs = DB->OpenRecordset(QStringLiteral("ReportImballi"));
    try {
        if (rs->IsEmpty()) rs->AddNew();
        else rs->Edit();
        rs->SetValue(QStringLiteral("CodInterno"), row.codInterno);
        rs->SetValue(QStringLiteral("DataOraProduzione"), row.dataOraProduzione);
        rs->SetValue(QStringLiteral("Descrizione"), row.descrizione);
        rs->SetValue(QStringLiteral("EANUC_Form"), row.eanForm);
        rs->SetValue(QStringLiteral("EANUC_Barcode"), row.eanBarcode);
        rs->SetValue(QStringLiteral("NumPezzi"), row.numPezzi);
        rs->SetValue(QStringLiteral("DataScadenza"), row.dataScadenza);
        rs->SetValue(QStringLiteral("Lotto"), row.lotto);
        rs->Update();
    } catch (const AppError&) {
        rs->CancelUpdate();
        throw;
    }
    rs->Close();
}
