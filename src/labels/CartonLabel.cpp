#include "labels/CartonLabel.h"

#include "barcodes/Barcodes.h"
#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/db/AppError.h"
#include "core/ui/Dialogs.h"
#include "labels/LabelJob.h"
#include "labels/PalletLabel.h"
#include "labels/SymbolRefusal.h"

namespace {

QString Half(const QString& text) { return PadRight(text.left(40), 40, QStringLiteral(" ")); }

QString EanBarcode(const QString& ean)
{
    return QString::fromLatin1(EncodeBarcode(ean.left(12).toLatin1().toStdString(), "EAN13", true));
}

} // namespace

std::optional<JobRefusal> CheckCartonArticle(const QString& name, const QString& durata, const QString& unita,
                                             const QString& eanCartone)
{
    QString why = ProductLifeRefusal(name, durata, unita);
    if (why.isEmpty()) why = CartonEanRefusal(name, eanCartone);
    if (why.isEmpty()) return std::nullopt;
    return JobRefusal{why, vbCritical};
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
