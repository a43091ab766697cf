// The label job on the pallet tab: production date and time, automatic lot, expiry.
#include "core/frmArticoli.h"

#include "core/Formats.h"
#include "core/MaskedEdit.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "labels/LabelJob.h"

void frmArticoli::cmdDataOra_Click()
{
    SetEditMask(*ui.mskDataProduzione, MascheraData);
    ui.mskDataProduzione->setText(FormatDate(QDateTime::currentDateTime(), FormatoData));
    SetEditMask(*ui.mskOraProd, MascheraOra);
    ui.mskOraProd->setText(FormatDate(QDateTime::currentDateTime(), FormatoOra));
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
    const QDateTime expiry = CalcolaScadenza(QDateTime::currentDateTime(), count.toInt(), unit.toInt());
    ui.txtLotto->setText(ComponiLotto(expiry));
}

QString frmArticoli::ComponiLotto(const QDateTime& expiry)
{
    QDateTime production;
    if (ui.chkAutoUpdate->isChecked()) {
        production = QDateTime::currentDateTime();
        SetEditMask(*ui.mskDataProduzione, MascheraData);
        ui.mskDataProduzione->setText(FormatDate(production, FormatoData));
        SetEditMask(*ui.mskOraProd, MascheraOra);
        ui.mskOraProd->setText(FormatDate(production, FormatoOra));
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
