// The label job on the pallet tab: production date and time, automatic lot, expiry.
#include "core/frmArticoli.h"

#include "core/Clock.h"
#include "core/Formats.h"
#include "core/MaskedEdit.h"
#include "core/Globals.h"
#include "core/SetupRow.h"
#include "core/Utility.h"
#include "core/ui/ControlTag.h"
#include "labels/LabelJob.h"
#include "labels/PalletLabel.h"
#include "labels/Sscc.h"
#include "labels/SymbolRefusal.h"

void frmArticoli::cmdDataOra_Click() { LeggiOrologio(); }

// One reading for both fields: at midnight two readings could give one day's date and the next day's time.
QDateTime frmArticoli::LeggiOrologio()
{
    const QDateTime now = Now();
    SetEditMask(*ui.mskDataProduzione, MascheraData);
    ui.mskDataProduzione->setText(FormatDate(now, FormatoData));
    SetEditMask(*ui.mskOraProd, MascheraOra);
    ui.mskOraProd->setText(FormatDate(now, FormatoOra));
    return now;
}

void frmArticoli::chkAutoUpdate_Click()
{
    const bool fromClock = ui.chkAutoUpdate->isChecked();
    ui.mskDataProduzione->setEnabled(!fromClock);
    ui.mskOraProd->setEnabled(!fromClock);
    if (fromClock && ui.chkAutoLotto->isChecked()) LottoAutomatico();
}

void frmArticoli::chkAutoLotto_Click()
{
    ui.txtLotto->setEnabled(!ui.chkAutoLotto->isChecked());
    if (ui.chkAutoLotto->isChecked()) LottoAutomatico();
}

void frmArticoli::LottoAutomatico()
{
    // Empty or after the last record: no current article.
    const bool noArticle = rsArticoli->Eof();
    const QVariant count = noArticle ? rsSetup->Value(QStringLiteral("DurataDefault")) : rsArticoli->Value(QStringLiteral("DurataProdotto"));
    const QVariant unit = noArticle ? rsSetup->Value(QStringLiteral("UnitaDurata")) : rsArticoli->Value(QStringLiteral("UnitaDurata"));
    // With automatic time the fields, the expiry and the lot share one reading of the clock.
    const QDateTime now = ui.chkAutoUpdate->isChecked() ? LeggiOrologio() : Now();
    const QDateTime expiry = CalcolaScadenza(now, count.toInt(), unit.toInt());
    ui.txtLotto->setText(ComponiLotto(expiry, now));
}

QString frmArticoli::ComponiLotto(const QDateTime& expiry, const QDateTime& clock)
{
    QDateTime production;
    if (ui.chkAutoUpdate->isChecked()) {
        production = clock.isValid() ? clock : LeggiOrologio();
    } else {
        const auto typed = ReadDateTime(ui.mskDataProduzione->text(), ui.mskOraProd->text());
        // Fields that do not hold a date yet compose nothing: the lot stays as it is.
        if (!typed) return ui.txtLotto->text();
        production = *typed;
    }
    return ::ComponiLotto(NzStr(rsSetup->Value(QStringLiteral("MaskLotto"))), production, expiry);
}

QDateTime frmArticoli::CalcolaScadenza(const QDateTime& production, int count, int unit)
{
    return ::CalcolaScadenza(production, count, unit, rsSetup->Value(QStringLiteral("CalcScadenza")).toInt());
}

QString frmArticoli::RifiutoEtichettaPallet()
{
    const QString name = ArticleName(NzStr(rsArticoli->Value(QStringLiteral("Sigla"))), ui.txtCodInternoS->text(), ui.txtEANS->text());
    const ElementSettings settings = ElementSettings::FromSetup(*rsSetup);
    const LabelArticle article{name,
                               ui.txtTipoPalletS->text(),
                               ui.txtPrefGTINS->text(),
                               ui.txtGTINS->text(),
                               ui.mskQtCartoni->text(),
                               ui.txtDurataProdottoS->text(),
                               ::Tag(ui.txtDurataProdottoS),
                               CartonGtinOnLabel(settings, ui.mskQtCartoni->text(), false)};
    if (QString why = LabelArticleRefusal(article); !why.isEmpty()) return why;
    if (QString why = SsccRefusal(*rsSetup, CounterInFile(*rsSetup) + 1); !why.isEmpty()) return why;

    // The lot the print will compose holds the mask's own characters and digits: composing it now shows them.
    const QDateTime production = ui.chkAutoUpdate->isChecked()
                                     ? Now()
                                     : ReadDateTime(ui.mskDataProduzione->text(), ui.mskOraProd->text()).value_or(QDateTime());
    PalletLabelArgs a = ArgomentiEtichetta();
    a.produzione = production;
    a.scadenza = CalcolaScadenza(production, int(NumericValue(ui.txtDurataProdottoS->text())), ::Tag(ui.txtDurataProdottoS).toInt());
    if (ui.chkAutoLotto->isChecked()) a.lotto = ::ComponiLotto(NzStr(rsSetup->Value(QStringLiteral("MaskLotto"))), production, a.scadenza);
    return PalletSymbolRefusal(PalletElements(a, false), settings, LabelContent{false, true}, name);
}
