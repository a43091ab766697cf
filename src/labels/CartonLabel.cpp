#include "labels/CartonLabel.h"

#include "barcodes/Barcodes.h"
#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/db/AppError.h"
#include "core/ui/Dialogs.h"
#include "labels/LabelJob.h"
#include "labels/PalletLabel.h"

namespace {

QString Half(const QString& text) { return PadRight(text.left(40), 40, QStringLiteral(" ")); }

QString EanBarcode(const QString& ean)
{
    return QString::fromLatin1(EncodeBarcode(ean.left(12).toLatin1().toStdString(), "EAN13", true));
}

} // namespace

std::optional<CartonRefusal> CheckCartonJob(const CartonJobFields& f)
{
    const auto refuse = [](const char* text, int icon) { return CartonRefusal{QString::fromUtf8(text), icon}; };
    if (f.ora.trimmed().isEmpty() || !ReadDateTime(QStringLiteral("01/01/2000"), f.ora))
        return refuse("Ora di produzione errata.", vbInformation);
    if (f.lotto.trimmed().isEmpty()) return refuse("Il lotto non può essere nullo.", vbCritical);
    if (!ReadDateTime(f.data)) return refuse("La data di produzione non è valida.", vbCritical);
    if (NumericValue(f.copie) < 1) return refuse("La quantità non può essere nulla.", vbCritical);
    return std::nullopt;
}

std::optional<CartonRefusal> CheckCartonArticle(const QString& sigla, const QString& durata, const QString& unita,
                                                const QString& eanCartone)
{
    if (durata.isEmpty() || unita.isEmpty())
        return CartonRefusal{QStringLiteral("L'articolo %1 non ha una durata del prodotto valida: correggerla prima di stampare.")
                                 .arg(sigla),
                             vbCritical};
    if (EanBarcode(eanCartone).isEmpty())
        return CartonRefusal{QStringLiteral("L'articolo %1 non ha un codice EAN cartone valido: correggerlo prima di stampare.")
                                 .arg(sigla),
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
