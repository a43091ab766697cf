#include "ddt/DeliveryNote.h"

#include "core/Formats.h"
#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"

namespace {

QString criterioDDT(const QString& numero, const QString& data)
{
    return QStringLiteral("NumeroDDT = '") + SqlQuote(numero) + QStringLiteral("' AND Data = '") + SqlQuote(data) +
           QStringLiteral("'");
}

qint64 aggiungiTestata(Recordset& testate, const QString& numero, const QString& data)
{
    testate.AddNew();
    testate.SetValue(QStringLiteral("NumeroDDT"), numero);
    testate.SetValue(QStringLiteral("Data"), data);
    testate.Update();
    testate.SetBookmark(testate.LastModified());
    return testate.Value(QStringLiteral("IDDDT")).toLongLong();
}

// Copies the archived lines of one pallet; returns the next line number.
int copiaRighe(const DDTTables& t, qint64 idDDT, qint64 idApp, const QString& sscc, int numRiga)
{
    auto app = t.db.OpenRecordset(QStringLiteral("SELECT * FROM AppRighe WHERE IDAppTestate = ") + QString::number(idApp) +
                                  QStringLiteral(" ORDER BY NumRiga"));
    for (; !app->Eof(); app->MoveNext()) {
        t.righe.AddNew();
        t.righe.SetValue(QStringLiteral("IDDDT"), idDDT);
        t.righe.SetValue(QStringLiteral("numriga"), numRiga++);
        t.righe.SetValue(QStringLiteral("SSCC"), sscc);
        for (const char* col : {"GTIN", "QtCartoni", "lotto", "datascadenza", "Descrizione"})
            t.righe.SetValue(QString::fromLatin1(col), app->Value(QString::fromLatin1(col)));
        t.righe.Update();
    }
    app->Close();
    return numRiga;
}

} // namespace

QString DataDDT(const QDate& date) { return FormatDate(date, QStringLiteral("dd/mm/yy")); }

std::optional<QString> LeggiDataDDT(const QString& text)
{
    const auto value = ReadDateTime(text);
    if (!value) return std::nullopt;
    return DataDDT(value->date());
}

std::optional<QStringList> LeggiDDT(const DDTTables& t, const QString& numero, const QString& data)
{
    t.testate.FindFirst(criterioDDT(numero, data));
    if (t.testate.NoMatch()) return std::nullopt;
    const qint64 id = t.testate.Value(QStringLiteral("IDDDT")).toLongLong();
    auto righe = t.db.OpenRecordset(QStringLiteral("SELECT * FROM DDTRighe WHERE IDDDT = ") + QString::number(id) +
                                    QStringLiteral(" ORDER BY NumRiga"));
    // A pallet of several lines is one entry.
    QStringList sscc;
    QString ultimo;
    for (; !righe->Eof(); righe->MoveNext()) {
        const QString s = NzStr(righe->Value(QStringLiteral("SSCC")));
        if (s != ultimo) sscc << s;
        ultimo = s;
    }
    righe->Close();
    return sscc;
}

std::vector<int> ScriviDDT(const DDTTables& t, const QString& numero, const QString& data, const QStringList& sscc)
{
    std::vector<int> mancanti;
    t.db.BeginTrans();
    try {
        // The old lines go with their header.
        t.db.Execute(QStringLiteral("DELETE FROM DDTTestate WHERE (") + criterioDDT(numero, data) + QStringLiteral(")"));
        CommitAndRefresh(t.testate);
        CommitAndRefresh(t.righe);
        const qint64 id = aggiungiTestata(t.testate, numero, data);
        int numRiga = 1;
        for (int i = 0; i < sscc.size(); ++i) {
            t.appTestate.FindFirst(QStringLiteral("SSCC = '") + SqlQuote(sscc[i]) + QStringLiteral("'"));
            if (t.appTestate.NoMatch()) {
                mancanti.push_back(i);
                continue;
            }
            numRiga = copiaRighe(t, id, t.appTestate.Value(QStringLiteral("idapptestate")).toLongLong(), sscc[i], numRiga);
        }
        t.db.CommitTrans();
    } catch (...) {
        for (Recordset* rs : {&t.testate, &t.righe}) rs->CancelUpdate();
        t.db.Rollback();
        throw;
    }
    return mancanti;
}
