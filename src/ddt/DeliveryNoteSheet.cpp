#include "ddt/DeliveryNoteSheet.h"

#include "core/Formats.h"
#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"
#include "reports/TraceLayouts.h"

#include <cmath>

namespace {

const char* const kColonneSlot[] = {"SSCC", "GTIN", "QtCartoni", "Lotto", "DataScadenza"};

QString colonna(const char* nome, int slot) { return QString::fromLatin1(nome) + QString::number(slot); }

int scriviRighe(Database& db, const QString& numero, const QString& data)
{
    db.Execute(QStringLiteral("DELETE FROM ReportDDT"));
    auto righe = db.OpenRecordset(
        QStringLiteral("SELECT * FROM (DDTTESTATE INNER JOIN DDTRIGHE ON (DDTRIGHE.IDDDT = DDTTESTATE.IDDDT)) WHERE (NUMERODDT = '") +
        SqlQuote(numero) + QStringLiteral("' AND DATA = '") + SqlQuote(data) + QStringLiteral("') ORDER BY NUMRIGA"));
    auto report = db.OpenRecordset(QStringLiteral("ReportDDT"));
    int slot = kRigheFoglioDDT + 1;
    int fogli = 0;
    for (; !righe->Eof(); righe->MoveNext()) {
        if (slot > kRigheFoglioDDT) {
            if (fogli > 0) report->Update();
            report->AddNew();
            ++fogli;
            report->SetValue(QStringLiteral("NumeroDDT"), righe->Value(QStringLiteral("NumeroDDT")));
            report->SetValue(QStringLiteral("Data"), righe->Value(QStringLiteral("Data")));
            for (int n = 1; n <= kRigheFoglioDDT; ++n)
                for (const char* c : kColonneSlot) report->SetValue(colonna(c, n), QString());
            slot = 1;
        }
        report->SetValue(colonna("SSCC", slot), NzStr(righe->Value(QStringLiteral("SSCC"))));
        report->SetValue(colonna("GTIN", slot), NzStr(righe->Value(QStringLiteral("GTIN"))));
        report->SetValue(colonna("QtCartoni", slot), NzStr(righe->Value(QStringLiteral("QtCartoni"))));
        report->SetValue(colonna("Lotto", slot), NzStr(righe->Value(QStringLiteral("lotto"))));
        report->SetValue(colonna("DataScadenza", slot), PrintedText(righe->Value(QStringLiteral("datascadenza"))));
        ++slot;
    }
    if (fogli > 0) report->Update();
    return fogli;
}

} // namespace

int CompilaReportDDT(Database& db, const QString& numero, const QString& data)
{
    db.BeginTrans();
    try {
        const int fogli = scriviRighe(db, numero, data);
        db.CommitTrans();
        return fogli;
    } catch (const AppError&) {
        db.Rollback();
        throw;
    }
}

int CopieDDT(const QString& testo)
{
    return static_cast<int>(std::nearbyint(NumericValue(testo)));
}
