// The search page's listings and the two clearing commands.
#include "DdtFixture.h"

#include "core/db/JetSql.h"
#include "core/ui/ControlTag.h"
#include "ddt/TraceSearch.h"
#include "support/RecordingPrinter.h"
#include "reports/TraceLayouts.h"

#include <QApplication>
#include <QDialog>

namespace {

const QString kEanA = QStringLiteral("8001234567897");
const QString kEanB = QStringLiteral("8009876543217");

class TraceSearch : public DdtTest {
protected:
    void SetUp() override
    {
        DdtTest::SetUp();
        SetPrinterSystem(&printers);
        w->DefaultPrinter = printers.printers().front();
    }
    void TearDown() override
    {
        DdtTest::TearDown();
        SetPrinterSystem(nullptr);
    }
    static void articolo(const QString& ean, const QString& descrizione)
    {
        rsArticoli->AddNew();
        rsArticoli->SetValue(QStringLiteral("Sigla"), descrizione.left(3).toUpper());
        rsArticoli->SetValue(QStringLiteral("Descrizione"), descrizione);
        rsArticoli->SetValue(QStringLiteral("EANArticolo"), ean);
        rsArticoli->Update();
        rsArticoli->SetBookmark(rsArticoli->LastModified());
    }
    static void pallet(const QString& sscc, const QString& ean, const QString& lotto,
                       const QDateTime& scadenza = QDateTime(QDate(2027, 5, 31), QTime(0, 0)))
    {
        PalletRecord p;
        p.sscc = sscc;
        PalletLine l;
        l.codEAN = ean;
        l.gtin = QStringLiteral("1") + ean;
        l.qtCartoni = 40;
        l.lotto = lotto;
        l.dataScadenza = scadenza;
        l.descrizione = QStringLiteral("Riga ") + lotto;
        p.lines.push_back(l);
        RecordPrintedPallet({*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe}, p);
    }
    // Runs the search and returns the listing's first page as shown, by object name.
    QHash<QString, QString> cerca(const char* form)
    {
        QHash<QString, QString> texts;
        Dialogs().onModal([&](QDialog& d) {
            EXPECT_EQ(d.objectName(), QString::fromLatin1(form));
            ReportLayout& listing = *(form == std::string("Form4") ? w->Report5 : w->Report6);
            EXPECT_EQ(listing.printer().deviceName, QStringLiteral("Office"));
            for (const DrawItem& item : listing.pages().front().items) texts.insert(item.name, item.text);
            return 0;
        });
        w->ui.cmdCerca->click();
        EXPECT_TRUE(Dialogs().allAnswered());
        return texts;
    }

    RecordingPrinterSystem printers{{{QStringLiteral("Office"), QStringLiteral("HP"), QStringLiteral("ipp://2")},
                                     {QStringLiteral("Laser"), QStringLiteral("HP"), QStringLiteral("ipp://1")}},
                                    QStringLiteral("Office")};
};

TEST_F(TraceSearch, LotSearchListsTheEqualLotOfTheCurrentArticleOnly)
{
    articolo(kEanB, QStringLiteral("Burrata"));
    articolo(kEanA, QStringLiteral("Mozzarella"));
    pallet(kSscc1, kEanA, QStringLiteral("L'7"));
    pallet(kSscc2, kEanB, QStringLiteral("L'7"));
    pallet(kSscc3, kEanA, QStringLiteral("L'70"));
    SetCurrentPrinter(printers.printers().back());
    w->ui.txtCercaLotto->setText(QStringLiteral("L'7"));

    const auto page = cerca("Form4");
    EXPECT_EQ(page.value(QStringLiteral("SSCC1")), kSscc1);
    EXPECT_EQ(page.value(QStringLiteral("EANArticolo1")), kEanA);
    EXPECT_EQ(page.value(QStringLiteral("Descrizione1")), QStringLiteral("Mozzarella"));
    EXPECT_EQ(page.value(QStringLiteral("Lotto1")), QStringLiteral("L'7"));
    EXPECT_EQ(page.value(QStringLiteral("QtCartoni1")), QStringLiteral("40"));
    EXPECT_EQ(page.value(QStringLiteral("SSCC2")), QString());
    EXPECT_EQ(page.value(QStringLiteral("lblTitolo")), QStringLiteral("Tracciabilità per lotto"));
    EXPECT_EQ(CurrentPrinter().deviceName, QStringLiteral("Office")) << "the search restores the default printer";
    EXPECT_TRUE(w->Report5) << "the listing stays until the next search";
    EXPECT_TRUE(printers.jobs().empty());
}

TEST_F(TraceSearch, APalletOfADeletedArticleIsFoundBySsccOnly)
{
    articolo(kEanA, QStringLiteral("Mozzarella"));
    articolo(kEanB, QStringLiteral("Burrata"));
    pallet(kSscc2, kEanB, QStringLiteral("B1"));
    rsArticoli->Delete();
    rsArticoli->MoveFirst();
    w->ui.txtCercaLotto->setText(QStringLiteral("B1"));
    EXPECT_EQ(cerca("Form4").value(QStringLiteral("SSCC1")), QString());

    w->ui.optCercaSSCC->click();
    EXPECT_FALSE(w->ui.txtCercaLotto->isEnabled());
    EXPECT_TRUE(w->ui.txtCercaSSCC->isEnabled());
    w->ui.txtCercaSSCC->setText(kSscc2);
    const auto page = cerca("Form5");
    EXPECT_EQ(page.value(QStringLiteral("SSCC1")), kSscc2);
    EXPECT_EQ(page.value(QStringLiteral("CodEAN1")), kEanB);
    EXPECT_EQ(page.value(QStringLiteral("Descrizione1")), QStringLiteral("Riga B1"));
    EXPECT_EQ(page.value(QStringLiteral("DataScadenza1")), QStringLiteral("31/05/27"));

    // What a scanner sends: the SSCC after its identifier, or after the symbol's mark too; and what the
    // operator reads under the symbol.
    for (const QString& scan : {QStringLiteral("00") + kSscc2, QStringLiteral("]C100") + kSscc2, QStringLiteral("(00)") + kSscc2}) {
        w->ui.txtCercaSSCC->setText(scan);
        EXPECT_EQ(cerca("Form5").value(QStringLiteral("SSCC1")), kSscc2) << scan.toStdString();
        EXPECT_EQ(w->ui.txtCercaSSCC->text(), kSscc2);
    }
}

// An expiry counted in hours has a time of day; the SSCC listing states it as a date.
TEST_F(TraceSearch, TheSsccListingStatesTheExpiryAsADate)
{
    articolo(kEanA, QStringLiteral("Mozzarella"));
    pallet(kSscc1, kEanA, QStringLiteral("H36"), QDateTime(QDate(2028, 12, 9), QTime(6, 6)));
    w->ui.optCercaSSCC->click();
    w->ui.txtCercaSSCC->setText(kSscc1);
    EXPECT_EQ(cerca("Form5").value(QStringLiteral("DataScadenza1")), QStringLiteral("09/12/28"));
}

TEST_F(TraceSearch, QuotesAreSearchedAsTextAndNoArticleIsAnError)
{
    w->ui.txtCercaLotto->setText(QStringLiteral("x"));
    w->ui.cmdCerca->click();
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Selezionare un articolo."));

    pallet(kSscc1, kEanA, QStringLiteral("L1"));
    w->ui.optCercaSSCC->click();
    w->ui.txtCercaSSCC->setText(QStringLiteral("' OR '1'='1"));
    const auto page = cerca("Form5");
    EXPECT_EQ(page.value(QStringLiteral("SSCC1")), QString());
    EXPECT_EQ(page.value(QStringLiteral("lblTitolo")), QStringLiteral("Tracciabilità per SSCC")) << "an empty listing still shows";
}

TEST_F(TraceSearch, ListingsFlowOverPagesInTheSearchOrder)
{
    const int rows = TraceListingLayout::kLinesPerPage + 3;
    PalletRecord p;
    p.sscc = kSscc1;
    for (int n = 1; n <= rows; ++n) {
        PalletLine l;
        l.lotto = QStringLiteral("R%1").arg(n);
        p.lines.push_back(l);
    }
    RecordPrintedPallet({*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe}, p);
    auto db = Database::Open(PercorsoDB, true);
    auto rs = db->OpenRecordset(QueryTracciaSSCC(kSscc1));
    auto listing = ReportLayout::Create<CrystalReport6>();
    listing->SetListingSource(*rs);
    ASSERT_EQ(listing->pages().size(), 2u);
    QStringList second;
    for (const DrawItem& item : listing->pages()[1].items)
        if (item.name.startsWith(u"Lotto") && !item.text.isEmpty()) second << item.text;
    EXPECT_EQ(second, (QStringList{QStringLiteral("R41"), QStringLiteral("R42"), QStringLiteral("R43")}));
}

TEST_F(TraceSearch, SearchesReachTheirRowsThroughIndexes)
{
    for (const QString& query : {QueryTracciaLotto(QStringLiteral("L1"), kEanA), QueryTracciaSSCC(kSscc1)}) {
        const TranslatedSql t = TranslateJetSql(query);
        Statement plan = DB->prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + t.sql);
        plan.bindAll(t.params);
        QStringList steps;
        while (plan.step()) steps << plan.value(3).toString();
        EXPECT_FALSE(steps.join(u'\n').contains(QStringLiteral("SCAN"))) << steps.join(u'\n').toStdString();
    }
}

TEST_F(TraceSearch, ClearingTheArchiveAsksFirstAndLeavesNotesAndExportAlone)
{
    archivia(kSscc1, 2);
    nuovo(QStringLiteral("5"), QStringLiteral("02/03/26"));
    aggiungi(kSscc1);
    w->ui.cmdSalvaDDT->click();
    w->ui.txtSSCC->setText(kSscc1);
    SetTag(w->ui.txtSSCC, QStringLiteral("1"));

    Dialogs().answer(vbNo);
    w->ui.mnuAzzeraStorico->trigger();
    EXPECT_EQ(Dialogs().messages().back().prompt, QStringLiteral("Confermi l'azzeramento dell'archivio SSCC?"));
    EXPECT_EQ(Dialogs().messages().back().title, QStringLiteral("Richiesta"));
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM AppRighe")), 2);

    Dialogs().answer(vbYes);
    w->ui.mnuAzzeraStorico->trigger();
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Archivio azzerato"));
    EXPECT_EQ(Dialogs().messages().back().title, QStringLiteral("Avviso"));
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM AppTestate")), 0);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM AppRighe")), 0);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM ExportRighe")), 2);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTRighe")), 2) << "saved notes keep their own lines";
    EXPECT_TRUE(w->ui.txtSSCC->text().isEmpty());
    EXPECT_EQ(Tag(w->ui.txtSSCC), QStringLiteral("-1"));

    w->ui.mskQtDDT->setText(QStringLiteral("1"));
    w->ui.chkAnteprimaDDT->setChecked(false);
    w->ui.cmdStampaDDT->click();
    ASSERT_EQ(printers.jobs().size(), 1u) << "a saved note still prints after the archive is gone";
}

// A window closed while the archive is cleared on its worker waits for the clearing and its notice,
// then asks and closes.
TEST_F(TraceSearch, AWindowClosedWhileTheArchiveIsClearedClosesAfterIt)
{
    archivia(kSscc1, 2);
    for (int answer : {vbYes, vbOK, vbYes}) Dialogs().answer(answer);
    // Handled by the first events the program runs: those of the clearing's wait.
    QMetaObject::invokeMethod(w.get(), [this] { w->close(); }, Qt::QueuedConnection);
    w->ui.mnuAzzeraStorico->trigger();

    EXPECT_EQ(Dialogs().prompts(), (std::vector<QString>{QStringLiteral("Confermi l'azzeramento dell'archivio SSCC?"),
                                                         QStringLiteral("Archivio azzerato"), QStringLiteral("Vuoi uscire dal programma?")}));
    EXPECT_FALSE(DB) << "closed after the clearing";
    auto file = Database::Open(folder.mdbPath());
    EXPECT_TRUE(file->OpenRecordset(QStringLiteral("AppTestate"))->IsEmpty());
}

TEST_F(TraceSearch, ClearingTheExportEmptiesOnlyTheExportTables)
{
    archivia(kSscc1, 2);
    // A line another program wrote without its header is left alone, as deleting the headers leaves it.
    DB->ExecuteNative(QStringLiteral("PRAGMA foreign_keys = OFF"));
    DB->ExecuteNative(QStringLiteral("INSERT INTO ExportRighe (IDExportTestate, NumRiga) VALUES (4242, 1)"));
    DB->ExecuteNative(QStringLiteral("PRAGMA foreign_keys = ON"));
    Dialogs().answer(vbNo);
    w->ui.mnuAzzeraExport->trigger();
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM ExportTestate")), 1);

    Dialogs().answer(vbYes);
    w->ui.mnuAzzeraExport->trigger();
    EXPECT_EQ(Dialogs().messages().front().prompt, QStringLiteral("Confermi l'azzeramento delle tabelle di esportazione?"));
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Tabelle azzerate"));
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM ExportTestate")), 0);
    EXPECT_EQ(conta(QStringLiteral("SELECT IDExportTestate FROM ExportRighe")), 4242);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM ExportRighe")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM AppRighe")), 2);
    EXPECT_FALSE(QApplication::overrideCursor()) << "the hourglass is gone";

    // The lines still go with their header afterwards.
    archivia(kSscc2, 1);
    DB->Execute(QStringLiteral("DELETE FROM ExportTestate"));
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM ExportRighe")), 1);
}

} // namespace
