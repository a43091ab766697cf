// The request folder into the tables: whole files, deleted only once their rows are committed.
#include "passive/RequestImport.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

class RequestImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ASSERT_TRUE(ApriDatabase());
        ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral("richieste")));
        folder = data.file(QStringLiteral("richieste"));
        defaults = RequestDefaultsFromSetup(*rsSetup, QDateTime(QDate(2026, 1, 15), QTime(9, 45)));
    }
    void TearDown() override { CloseDatabase(); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(QDir(folder).filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    qint64 count(const QString& table)
    {
        return DB->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM ") + table)->Value(QStringLiteral("n")).toLongLong();
    }

    QStringList files() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    TestDataFolder data;
    QString folder;
    RequestDefaults defaults;
};

TEST_F(RequestImportTest, AFolderOfRequestsIsImportedAndEmptied)
{
    write(QStringLiteral("a.req"), "[ARTICOLO]\r\nCODINTERNO=ART9\r\nDESCRIZIONE=Caff\xe8\r\nPREFGTIN=1\r\nEANCARTONE=800123456789\r\n"
                                   "QTCARTONE=6\r\n[TESTATA]\r\nCOPIE=2\r\n[RIGA]\r\nLOTTO=L1\r\nAUTOLOTTO=NO\r\n"
                                   "[TESTATA]\r\n[RIGA]\r\nDATAORA=05/03/2024 14:30\r\nAUTODATA=0\r\n[RIGA]\r\nNUMCARTONI=7\r\n");
    write(QStringLiteral("B.REQ"), "[IMBALLO]\nNUMCARTONI=40\nEANCARTONE=12345\n");
    write(QStringLiteral("note.txt"), "[IMBALLO]\n");
    write(QStringLiteral(".nascosto.req"), "[IMBALLO]\n");

    ImportRequestFolder(*DB, folder, defaults);

    EXPECT_EQ(files(), QStringList{QStringLiteral("note.txt")});
    EXPECT_EQ(count(QStringLiteral("RichiesteTestate")), 2);
    EXPECT_EQ(count(QStringLiteral("RichiesteRighe")), 3);
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 1);

    auto article = DB->OpenRecordset(QStringLiteral("SELECT * FROM Articoli WHERE CodInterno = 'ART9'"));
    ASSERT_FALSE(article->IsEmpty());
    EXPECT_EQ(article->Value(QStringLiteral("Descrizione")).toString(), QStringLiteral("Caff\u00e8")) << "Windows-1252 text";
    EXPECT_EQ(article->Value(QStringLiteral("EANCartone")).toString(), QStringLiteral("8001234567897"));
    EXPECT_EQ(article->Value(QStringLiteral("NumCartoni")).toInt(), 1);
    EXPECT_EQ(article->Value(QStringLiteral("DurataProdotto")).toInt(), rsSetup->Value(QStringLiteral("DurataDefault")).toInt());

    auto lines = DB->OpenRecordset(QStringLiteral("SELECT * FROM RichiesteRighe ORDER BY NumRiga"));
    const qint64 first = DB->OpenRecordset(QStringLiteral("SELECT min(IDRichiesteTestate) AS id FROM RichiesteTestate"))
                             ->Value(QStringLiteral("id"))
                             .toLongLong();
    EXPECT_EQ(lines->Value(QStringLiteral("IDRichiesteTestate")).toLongLong(), first);
    EXPECT_EQ(lines->Value(QStringLiteral("Lotto")).toString(), QStringLiteral("L1"));
    EXPECT_FALSE(lines->Value(QStringLiteral("AutoLotto")).toBool());
    lines->MoveNext();
    EXPECT_EQ(lines->Value(QStringLiteral("NumRiga")).toInt(), 2);
    EXPECT_EQ(lines->Value(QStringLiteral("IDRichiesteTestate")).toLongLong(), first + 1);
    EXPECT_EQ(lines->Value(QStringLiteral("DataOra")).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(14, 30)));
    lines->MoveNext();
    EXPECT_EQ(lines->Value(QStringLiteral("NumCartoni")).toInt(), 7);
    EXPECT_EQ(lines->Value(QStringLiteral("DataOra")).toDateTime(), defaults.dataOra);
}

TEST_F(RequestImportTest, AnArticleOfAKnownGtinIsRewrittenWholeAndKeepsItsOwnColumns)
{
    rsArticoli->AddNew();
    rsArticoli->SetValue(QStringLiteral("Sigla"), QStringLiteral("PASSATA"));
    rsArticoli->SetValue(QStringLiteral("TipoPallet"), QStringLiteral("3"));
    rsArticoli->SetValue(QStringLiteral("PrefGTIN"), QStringLiteral("1"));
    rsArticoli->SetValue(QStringLiteral("EANCartone"), QStringLiteral("8001234567897"));
    rsArticoli->SetValue(QStringLiteral("NumCartoni"), 40);
    rsArticoli->SetValue(QStringLiteral("PesoCartone"), 12.5);
    rsArticoli->SetValue(QStringLiteral("CodInterno"), QStringLiteral("OLD"));
    rsArticoli->Update();
    write(QStringLiteral("a.req"), "[ARTICOLO]\nPREFGTIN=1\nEANCARTONE=8001234567890\nCODINTERNO=NEW\n");

    ImportRequestFolder(*DB, folder, defaults);

    EXPECT_EQ(count(QStringLiteral("Articoli")), 1);
    auto a = DB->OpenRecordset(QStringLiteral("Articoli"));
    EXPECT_EQ(a->Value(QStringLiteral("CodInterno")).toString(), QStringLiteral("NEW"));
    EXPECT_EQ(a->Value(QStringLiteral("NumCartoni")).toInt(), 1);
    EXPECT_EQ(a->Value(QStringLiteral("PesoCartone")).toDouble(), 0);
    EXPECT_EQ(a->Value(QStringLiteral("Sigla")).toString(), QStringLiteral("PASSATA"));
    EXPECT_EQ(a->Value(QStringLiteral("TipoPallet")).toString(), QStringLiteral("3"));
}

TEST_F(RequestImportTest, AFileThatCannotBeReadWholeStaysAndImportsNothing)
{
    const QString overflow = write(QStringLiteral("1.req"), "[ARTICOLO]\nCODINTERNO=X\n[TESTATA]\n[RIGA]\n[IMBALLO]\nNUMCARTONI=5\n"
                                                            "[ARTICOLO]\nQTCARTONE=40000\n");
    const QString orphan = write(QStringLiteral("2.req"), "[IMBALLO]\n[RIGA]\n[TESTATA]\n");
    write(QStringLiteral("3.req"), "[IMBALLO]\nNUMCARTONI=3\n");

    ImportRequestFolder(*DB, folder, defaults);

    EXPECT_EQ(files(), (QStringList{QStringLiteral("1.req"), QStringLiteral("2.req")}));
    EXPECT_EQ(count(QStringLiteral("Articoli")), 0);
    EXPECT_EQ(count(QStringLiteral("RichiesteTestate")), 0);
    EXPECT_EQ(count(QStringLiteral("RichiesteRighe")), 0);
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 1) << "the good file behind them still goes in";
    EXPECT_FALSE(LeggiFileRichiesta(*DB, overflow, defaults));
    EXPECT_FALSE(LeggiFileRichiesta(*DB, orphan, defaults));
    EXPECT_FALSE(LeggiFileRichiesta(*DB, QDir(folder).filePath(QStringLiteral("manca.req")), defaults));
}

TEST_F(RequestImportTest, AFailedWriteRollsTheWholeFileBack)
{
    DB->ExecuteNative(QStringLiteral("CREATE TRIGGER rifiuta BEFORE INSERT ON RichiesteImballi BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"));
    const QString path = write(QStringLiteral("a.req"), "[ARTICOLO]\nCODINTERNO=X\n[TESTATA]\n[RIGA]\n[IMBALLO]\n");

    EXPECT_FALSE(LeggiFileRichiesta(*DB, path, defaults));

    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(DB->InTransaction());
    for (const char* t : {"Articoli", "RichiesteTestate", "RichiesteRighe", "RichiesteImballi"})
        EXPECT_EQ(count(QString::fromLatin1(t)), 0) << t;

    DB->ExecuteNative(QStringLiteral("DROP TRIGGER rifiuta"));
    EXPECT_TRUE(LeggiFileRichiesta(*DB, path, defaults));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(count(QStringLiteral("RichiesteRighe")), 1);
}

} // namespace
