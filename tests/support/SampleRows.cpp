#include "support/SampleRows.h"

#include "core/Globals.h"
#include "core/frmArticoli.h"

void KeepReportRows(const char* table)
{
    const QString name = QString::fromLatin1(table);
    DB->ExecuteNative(QStringLiteral("CREATE TEMP TABLE Kept%1 AS SELECT * FROM main.%1 WHERE 0").arg(name));
    DB->ExecuteNative(QStringLiteral("CREATE TEMP TRIGGER keep%1 AFTER INSERT ON main.%1 BEGIN INSERT INTO Kept%1 SELECT * FROM main.%1 "
                                     "WHERE rowid = new.rowid; END")
                          .arg(name));
}

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
