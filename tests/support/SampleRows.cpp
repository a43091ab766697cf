#include "support/SampleRows.h"

#include "core/Globals.h"
#include "core/frmArticoli.h"

void SetSetup(Columns values)
{
    rsSetup->Edit();
    for (const auto& [column, value] : values) rsSetup->SetValue(QString::fromLatin1(column), value);
    rsSetup->Update();
}

qint64 AddArticle(Columns changes)
{
    const Columns sample{{"Sigla", QStringLiteral("PASSATA")},        {"CodInterno", QStringLiteral("ART1")},
                         {"Descrizione", QStringLiteral("Passata di pomodoro")},
                         {"EANArticolo", QStringLiteral("8001234567897")}, {"QtCartone", 6},
                         {"EANCartone", QStringLiteral("8001234567897")}, {"PesoCartone", 12.5},
                         {"TipoPallet", QStringLiteral("3")},          {"NumCartoni", 40},
                         {"DurataProdotto", 180},                      {"PrefGTIN", QStringLiteral("1")},
                         {"UnitaDurata", 1}};
    rsArticoli->AddNew();
    for (const auto& [column, value] : sample) rsArticoli->SetValue(QString::fromLatin1(column), value);
    for (const auto& [column, value] : changes) rsArticoli->SetValue(QString::fromLatin1(column), value);
    rsArticoli->Update();
    rsArticoli->SetBookmark(rsArticoli->LastModified());
    return rsArticoli->Value(QStringLiteral("ID")).toLongLong();
}

void TypeLabelJob(frmArticoli& window)
{
    auto& ui = window.ui;
    ui.chkAutoUpdate->setChecked(false);
    ui.chkAutoLotto->setChecked(false);
    ui.chkAnteprima->setChecked(false);
    ui.chkUpdateSSCC->setChecked(true);
    ui.mskDataProduzione->setText(QStringLiteral("08/12/26"));
    ui.mskOraProd->setText(QStringLiteral("10:30"));
    ui.txtLotto->setText(QStringLiteral("L0342"));
    ui.mskQtBatch->setText(QStringLiteral("1"));
}
