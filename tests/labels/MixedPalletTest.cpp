// The mixed pallet end to end: rows added on the window, printed on the recording printer, scanned
// and archived.
#include "core/frmArticoli.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Startup.h"
#include "labels/ArticleListLabels.h"
#include "labels/ElementStrings.h"
#include "labels/LabelJob.h"
#include "labels/PalletLabel.h"
#include "labels/PrintOutcome.h"
#include "labels/Sscc.h"
#include "support/RecordingPrinter.h"
#include "support/SampleRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"
#include "support/Zbar.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <algorithm>

namespace {

struct Article {
    const char* sigla;
    const char* ean;
    const char* prefGtin;
    int qtCartone;
    double pesoCartone;
    int durata;
};

const Article kPassata{"PASSATA", "8001234567897", "1", 6, 12.5, 180};
const Article kPelati{"PELATI", "8009876543217", "2", 12, 8, 30};

std::string scanned(const QString& barcodeForm)
{
    std::string s = barcodeForm.toLatin1().toStdString();
    std::replace(s.begin(), s.end(), char(kFnc1), '\x1d');
    return s;
}

bool holds(const std::vector<std::string>& symbols, const std::string& data)
{
    return std::find(symbols.begin(), symbols.end(), data) != symbols.end();
}

class MixedPalletTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ASSERT_TRUE(ApriDatabase());
        FillMonthNames();
        SetPrinterSystem(&printer);
        setSetup({{"ReportPrinter", QStringLiteral("Zebra")}, {"contatore", 41}, {"PesoPallet3", 25}, {"AutoUpdateSSCC", true}});
        passata = addArticle(kPassata);
        pelati = addArticle(kPelati);
        window = std::make_unique<frmArticoli>();
        TypeLabelJob(*window);
        auto& ui = window->ui;
        ui.mskTipoPallet->setText(QStringLiteral("3"));
        ui.mskQtBatchMulti->setText(QStringLiteral("1"));
        ui.chkMultiLotto->setChecked(true);
        window->chkMultiLotto_Click();
        window->PulisciLotti();
    }

    void TearDown() override
    {
        window.reset();
        SetPrinterSystem(nullptr);
        CloseDatabase();
    }

    void setSetup(std::initializer_list<std::pair<const char*, QVariant>> values)
    {
        rsSetup->Edit();
        for (const auto& [column, value] : values) rsSetup->SetValue(QString::fromLatin1(column), value);
        rsSetup->Update();
    }

    Bookmark addArticle(const Article& a)
    {
        rsArticoli->AddNew();
        rsArticoli->SetValue(QStringLiteral("Sigla"), QString::fromLatin1(a.sigla));
        rsArticoli->SetValue(QStringLiteral("CodInterno"), QString::fromLatin1(a.sigla).left(4));
        rsArticoli->SetValue(QStringLiteral("Descrizione"), QStringLiteral("Conserva ") + QString::fromLatin1(a.sigla));
        rsArticoli->SetValue(QStringLiteral("EANArticolo"), QString::fromLatin1(a.ean));
        rsArticoli->SetValue(QStringLiteral("QtCartone"), a.qtCartone);
        rsArticoli->SetValue(QStringLiteral("EANCartone"), QString::fromLatin1(a.ean));
        rsArticoli->SetValue(QStringLiteral("PesoCartone"), a.pesoCartone);
        rsArticoli->SetValue(QStringLiteral("TipoPallet"), QStringLiteral("3"));
        rsArticoli->SetValue(QStringLiteral("NumCartoni"), 40);
        rsArticoli->SetValue(QStringLiteral("DurataProdotto"), a.durata);
        rsArticoli->SetValue(QStringLiteral("PrefGTIN"), QString::fromLatin1(a.prefGtin));
        rsArticoli->SetValue(QStringLiteral("UnitaDurata"), 1);
        rsArticoli->Update();
        return rsArticoli->LastModified();
    }

    // A press of the add button with this article current.
    void addLot(Bookmark article, const QString& lot, const QString& cartons)
    {
        rsArticoli->SetBookmark(article);
        window->ui.txtLotto->setText(lot);
        window->ui.mskQtCartoni->setText(cartons);
        window->ui.cmdStampa->click();
    }

    void addThreeLots()
    {
        addLot(passata, QStringLiteral("L1"), QStringLiteral("10"));
        addLot(pelati, QStringLiteral("L2"), QStringLiteral("20"));
        addLot(passata, QStringLiteral("L3"), QStringLiteral("5"));
    }

    // What the article-list line of this lot scans as.
    std::string lineScan(const Article& a, const char* lot, int cartons)
    {
        const QDateTime production(QDate(2026, 12, 8), QTime(10, 30));
        const QString ean = QString::fromLatin1(a.ean);
        const ElementData d{CartonGtin(QString::fromLatin1(a.prefGtin), ean), QString::number(cartons), 0,
                            CalcolaScadenza(production, a.durata, 1, 0).date(), QString::fromLatin1(lot), QStringLiteral("0") + ean,
                            QString::number(cartons * a.qtCartone), production.date()};
        return scanned(CalcolaEAN128BarcodeMulti(d, ElementSettings::FromSetup(*rsSetup)));
    }

    qint64 count(const char* table)
    {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM %1").arg(QString::fromLatin1(table)));
        return rs->Value(QStringLiteral("n")).toLongLong();
    }

    void expectNothingRecorded()
    {
        EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toInt(), 41);
        for (const char* t : {"AppTestate", "AppRighe", "ExportTestate", "ExportRighe"}) EXPECT_EQ(count(t), 0) << t;
    }

    QString sscc() { return ComposeSscc(QStringLiteral("3"), *rsSetup, 42); }

    TestDataFolder data;
    RecordingPrinterSystem printer{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra"), 300};
    std::unique_ptr<frmArticoli> window;
    Bookmark passata = 0;
    Bookmark pelati = 0;
};

TEST_F(MixedPalletTest, ThreeLotsOfTwoArticlesPrintASummaryAndTheirArticleList)
{
    auto& ui = window->ui;
    Dialogs().type(QStringLiteral("12"));
    Dialogs().type(QStringLiteral("08/12/26"));
    ui.cmdNuovoDDT->click();
    addThreeLots();
    ASSERT_EQ(ui.flxLotti->Rows(), 4);
    rsArticoli->SetBookmark(pelati);
    ui.cmdStampaMulti->click();

    ASSERT_TRUE(Dialogs().messages().empty()) << Dialogs().messages()[0].prompt.toStdString();
    ASSERT_EQ(printer.jobs().size(), 2u);
    const std::string ssccScan = "00" + sscc().toStdString();

    // The summary states the last article without item and count, the totals and the earliest expiry
    // of its lines (the pelati's 30 days).
    const QDate today = QDate::currentDate();
    const ElementData summary{CartonGtin(QStringLiteral("1"), QString::fromLatin1(kPassata.ean)), QStringLiteral("35"),
                              25 + 10 * 12.5 + 20 * 8 + 5 * 12.5, QDate(2027, 1, 7), QString(), QStringLiteral("08001234567897"),
                              QStringLiteral("6"), today};
    ASSERT_EQ(printer.jobs()[0].pages.size(), 1u);
    const auto label = Gs1Symbols(printer.jobs()[0].pages[0]);
    EXPECT_TRUE(holds(label, ssccScan));
    EXPECT_TRUE(holds(label, scanned(CalcolaEAN128Barcode(summary, ElementSettings::FromSetup(*rsSetup), {true, false}))));

    ASSERT_EQ(printer.jobs()[1].pages.size(), 1u);
    const auto list = Gs1Symbols(printer.jobs()[1].pages[0]);
    EXPECT_EQ(list.size(), 4u);
    EXPECT_TRUE(holds(list, ssccScan));
    EXPECT_TRUE(holds(list, lineScan(kPassata, "L1", 10)));
    EXPECT_TRUE(holds(list, lineScan(kPelati, "L2", 20)));
    EXPECT_TRUE(holds(list, lineScan(kPassata, "L3", 5)));
    EXPECT_TRUE(EtichettaMulti);
    EXPECT_FALSE(ArticoloUnico);

    auto header = DB->OpenRecordset(QStringLiteral("AppTestate"));
    EXPECT_EQ(header->Value(QStringLiteral("SSCC")).toString(), sscc());
    EXPECT_EQ(header->Value(QStringLiteral("QtCartoni")).toInt(), 35);
    EXPECT_EQ(header->Value(QStringLiteral("numpezzi")).toInt(), 330);
    EXPECT_DOUBLE_EQ(header->Value(QStringLiteral("pesolordo")).toDouble(), 372.5);
    auto lines = DB->OpenRecordset(QStringLiteral("SELECT * FROM AppRighe ORDER BY numriga"));
    for (const auto& [lot, pieces, gtin] : {std::tuple{"L1", 60, "18001234567894"}, {"L2", 240, "28009876543211"}, {"L3", 30, "18001234567894"}}) {
        ASSERT_FALSE(lines->Eof());
        EXPECT_EQ(lines->Value(QStringLiteral("lotto")).toString(), QString::fromLatin1(lot));
        EXPECT_EQ(lines->Value(QStringLiteral("numpezzi")).toInt(), pieces);
        EXPECT_EQ(lines->Value(QStringLiteral("GTIN")).toString(), QString::fromLatin1(gtin));
        lines->MoveNext();
    }
    EXPECT_TRUE(lines->Eof());
    EXPECT_EQ(count("AppTestate"), 1);
    EXPECT_EQ(count("ExportTestate"), 1);
    EXPECT_EQ(count("ExportRighe"), 3);
    EXPECT_EQ(count("ReportPalletArticoli"), 0);

    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toInt(), 42);
    EXPECT_EQ(ui.txtContatoreSSCC->text(), QStringLiteral("42"));
    EXPECT_EQ(ui.txtSSCC->text(), sscc());
    EXPECT_EQ(ui.flxDDT->TextMatrix(1, 0), sscc());
    EXPECT_EQ(ui.flxLotti->Rows(), 1);
    EXPECT_EQ(rsArticoli->Value(QStringLiteral("Sigla")).toString(), QStringLiteral("PELATI"));
    EXPECT_TRUE(ui.cmdStampaMulti->isEnabled());

    // Its reprint repeats every symbol of the summary and of the article list.
    ui.chkAnteprimaRistampa->setChecked(false);
    ui.cmdRistampa->click();
    ASSERT_TRUE(Dialogs().messages().empty()) << Dialogs().messages()[0].prompt.toStdString();
    ASSERT_EQ(printer.jobs().size(), 4u);
    const auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(Gs1Symbols(printer.jobs()[2].pages[0])), sorted(label));
    EXPECT_EQ(sorted(Gs1Symbols(printer.jobs()[3].pages[0])), sorted(list));
}

TEST_F(MixedPalletTest, OneLotPrintsAnOrdinaryLabelCountedByTheCheckBox)
{
    setSetup({{"AutoUpdateSSCC", false}});
    addLot(passata, QStringLiteral("L1"), QStringLiteral("40"));
    window->ui.cmdStampaMulti->click();

    ASSERT_EQ(printer.jobs().size(), 1u);
    const QDateTime production(QDate(2026, 12, 8), QTime(10, 30));
    const ElementData d{QStringLiteral("18001234567894"), QStringLiteral("40"), 12.5 * 40 + 25,
                        CalcolaScadenza(production, 180, 1, 0).date(), QStringLiteral("L1"), QStringLiteral("08001234567897"),
                        QStringLiteral("6"), production.date()};
    const auto symbols = Gs1Symbols(printer.jobs()[0].pages.at(0));
    EXPECT_TRUE(holds(symbols, scanned(CalcolaEAN128Barcode(d, ElementSettings::FromSetup(*rsSetup), {}))));
    EXPECT_TRUE(holds(symbols, "00" + sscc().toStdString()));
    EXPECT_FALSE(EtichettaMulti);
    EXPECT_EQ(count("AppTestate"), 1);
    EXPECT_EQ(count("AppRighe"), 1);
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toInt(), 42);
    EXPECT_EQ(window->ui.flxLotti->Rows(), 1);
}

TEST_F(MixedPalletTest, TwoUpSheetsAndNoCounterWithoutTheSavedSetting)
{
    setSetup({{"AutoUpdateSSCC", false}, {"DoubleLayout", true}});
    for (int i = 1; i <= 7; ++i) addLot(passata, QStringLiteral("L%1").arg(i), QString::number(i));
    window->ui.cmdStampaMulti->click();

    ASSERT_EQ(printer.jobs().size(), 2u);
    const RecordedJob& list = printer.jobs()[1];
    EXPECT_TRUE(list.landscape);
    ASSERT_EQ(list.pages.size(), 2u);
    // Lines 1 to 5 on the first label, 6 and 7 on the second; each half of a sheet carries its label.
    for (const QImage& sheet : list.pages) {
        const int half = sheet.width() / 2;
        EXPECT_EQ(Gs1Symbols(sheet.copy(0, 0, half, sheet.height())), Gs1Symbols(sheet.copy(half, 0, half, sheet.height())));
    }
    const auto first = Gs1Symbols(list.pages[0].copy(0, 0, list.pages[0].width() / 2, list.pages[0].height()));
    const auto second = Gs1Symbols(list.pages[1].copy(0, 0, list.pages[1].width() / 2, list.pages[1].height()));
    EXPECT_EQ(first.size(), 6u);
    EXPECT_EQ(second.size(), 3u);
    EXPECT_TRUE(holds(first, lineScan(kPassata, "L5", 5)));
    EXPECT_TRUE(holds(second, lineScan(kPassata, "L7", 7)));
    EXPECT_TRUE(ArticoloUnico);
    EXPECT_EQ(count("AppRighe"), 7);
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toInt(), 41);
}

TEST_F(MixedPalletTest, ADatabaseFailureWhileReservingPrintsNothingAndKeepsTheRows)
{
    DB->ExecuteNative(QStringLiteral("CREATE TEMP TRIGGER fail_lines BEFORE INSERT ON AppRighe BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END"));
    addThreeLots();
    window->ui.cmdStampaMulti->click();

    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_TRUE(Dialogs().messages()[0].prompt.contains(QStringLiteral("disk I/O error")));
    expectNothingRecorded();
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(window->ui.flxLotti->Rows(), 4);
    EXPECT_TRUE(window->ui.cmdStampaMulti->isEnabled());
    EXPECT_TRUE(window->ui.txtSSCC->text().isEmpty());

    DB->ExecuteNative(QStringLiteral("DROP TRIGGER fail_lines"));
    Dialogs().reset();
    window->ui.cmdStampaMulti->click();
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(count("AppRighe"), 3);
}

// The summary and the article lists print under the hourglass. A summary the printer refuses gives
// back the pallet; article lists that fail once the summary is out are told as what they are: the
// pallet is printed and archived, its lists are not. The report tables stay empty either way.
TEST_F(MixedPalletTest, PrintsUnderTheHourglassAndTellsListsThatFailedAfterTheSummary)
{
    class OutOfPaper : public RecordingPrinterSystem {
    public:
        using RecordingPrinterSystem::RecordingPrinterSystem;
        void print(const PrintJob& job) override
        {
            hourglass.push_back(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
            if (int(hourglass.size()) == failing) throw AppError(1, QStringLiteral("Stampante"), QStringLiteral("Carta esaurita"));
            RecordingPrinterSystem::print(job);
        }
        std::vector<bool> hourglass;
        int failing = 1;
    } outOfPaper{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra"), 300};
    SetPrinterSystem(&outOfPaper);
    addThreeLots();
    const auto reportTablesEmpty = [&] {
        for (const char* t : {"ReportPallet", "ReportPalletArticoli"}) EXPECT_EQ(count(t), 0) << t;
    };
    window->ui.cmdStampaMulti->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_TRUE(Dialogs().messages()[0].prompt.contains(QStringLiteral("Carta esaurita")));
    expectNothingRecorded();
    reportTablesEmpty();
    EXPECT_EQ(window->ui.flxLotti->Rows(), 4);

    Dialogs().reset();
    outOfPaper.hourglass.clear();
    outOfPaper.failing = 2;
    window->ui.cmdStampaMulti->click();

    EXPECT_EQ(outOfPaper.hourglass, (std::vector<bool>{true, true}));
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, StampatoConErrore(sscc(), QStringLiteral("Carta esaurita")));
    EXPECT_EQ(outOfPaper.jobs().size(), 1u);
    EXPECT_EQ(count("AppTestate"), 1);
    EXPECT_EQ(window->ui.txtSSCC->text(), sscc());
    EXPECT_EQ(window->ui.flxLotti->Rows(), 1) << "the pallet's rows are gone with it";
    reportTablesEmpty();

    // The operator was told: the next start sends nothing again.
    window->RiprendiStampe();
    EXPECT_EQ(outOfPaper.jobs().size(), 1u);
    EXPECT_EQ(Dialogs().messages().size(), 1u);

    // Its reprint, refused at its summary.
    outOfPaper.hourglass.clear();
    outOfPaper.failing = 1;
    window->ui.chkAnteprimaRistampa->setChecked(false);
    window->ui.cmdRistampa->click();
    EXPECT_EQ(Dialogs().messages().size(), 2u);
    EXPECT_EQ(outOfPaper.jobs().size(), 1u);
    reportTablesEmpty();
}

// An article whose carton EAN is none (as an integration that sends none stores it) goes onto a pallet
// wherever no symbol or label states its carton GTIN: with the carton EAN setting off, or as a line
// of one carton beside another article. A summary of that article alone states it, and is refused.
TEST_F(MixedPalletTest, ACartonEanIsCheckedOnlyWhereTheLabelsStateIt)
{
    auto& ui = window->ui;
    rsArticoli->SetBookmark(pelati);
    rsArticoli->Edit();
    rsArticoli->SetValue(QStringLiteral("EANCartone"), QStringLiteral("000000000000"));
    rsArticoli->SetValue(QStringLiteral("PrefGTIN"), QString());
    rsArticoli->Update();

    setSetup({{"StampaEANCartone", false}});
    addLot(passata, QStringLiteral("L1"), QStringLiteral("10"));
    addLot(pelati, QStringLiteral("L2"), QStringLiteral("20"));
    ui.cmdStampaMulti->click();
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(count("AppTestate"), 1);
    ASSERT_FALSE(printer.jobs().empty());
    const auto lists = Gs1Symbols(printer.jobs().back().pages.at(0));
    EXPECT_TRUE(holds(lists, lineScan(kPelati, "L2", 20))) << "(01) with the article's EAN";

    setSetup({{"StampaEANCartone", true}});
    addLot(passata, QStringLiteral("L3"), QStringLiteral("10"));
    addLot(pelati, QStringLiteral("L4"), QStringLiteral("1"));
    ui.cmdStampaMulti->click();
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(count("AppTestate"), 2);

    rsArticoli->SetBookmark(pelati);
    rsArticoli->Edit();
    rsArticoli->SetValue(QStringLiteral("Sigla"), QString());
    rsArticoli->Update();
    addLot(pelati, QStringLiteral("L5"), QStringLiteral("1"));
    addLot(pelati, QStringLiteral("L6"), QStringLiteral("1"));
    ui.cmdStampaMulti->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt,
              QStringLiteral("L'articolo PELA non ha un codice EAN cartone valido (\"000000000000\"): correggerlo prima di stampare."));
    EXPECT_EQ(count("AppTestate"), 2);
    EXPECT_EQ(ui.flxLotti->Rows(), 3);
}

TEST_F(MixedPalletTest, RefusedPalletsPrintNothingAndKeepTheirRows)
{
    auto& ui = window->ui;
    ui.cmdStampaMulti->click();
    EXPECT_TRUE(Dialogs().messages().empty());

    addThreeLots();
    struct Case {
        std::function<void()> spoil;
        std::function<void()> mend;
        const char* message;
    };
    const Case cases[] = {
        {[] { DB->Execute(QStringLiteral("INSERT INTO AppTestate (SSCC) VALUES ('") + ComposeSscc(QStringLiteral("3"), *rsSetup, 42) + "')"); },
         [] { DB->Execute(QStringLiteral("DELETE FROM AppTestate")); }, "SSCC esistente"},
        {[&] { ui.mskTipoPallet->setText(QString()); }, [&] { ui.mskTipoPallet->setText(QStringLiteral("3")); }, "Tipo pallet non valido!"},
        {[&] {
             setSetup({{"ForzaDDT", true}});
             window->show();
         },
         [&] {
             window->hide();
             setSetup({{"ForzaDDT", false}});
         },
         "Introdurre prima i dati del DDT."},
        // The summary's weight and every line's lot go into GS1-128 symbols.
        {[&] { ui.flxLotti->SetTextMatrix(2, 1, QStringLiteral("L 2")); }, [&] { ui.flxLotti->SetTextMatrix(2, 1, QStringLiteral("L2")); },
         "Il lotto \"L 2\" contiene il carattere \" \""},
        {[&] { setSetup({{"PesoPallet3", -1000}}); }, [&] { setSetup({{"PesoPallet3", 25}}); },
         "Il peso lordo del pallet dell'articolo PASSATA (-652,5 kg)"},
        {[&] {
             rsArticoli->SetBookmark(pelati);
             rsArticoli->Delete();
             rsArticoli->SetBookmark(passata);
         },
         [] {}, "Articolo non trovato!"},
    };
    for (const Case& c : cases) {
        Dialogs().reset();
        c.spoil();
        ui.cmdStampaMulti->click();
        ASSERT_EQ(Dialogs().messages().size(), 1u) << c.message;
        EXPECT_TRUE(Dialogs().messages()[0].prompt.startsWith(QString::fromUtf8(c.message))) << Dialogs().messages()[0].prompt.toStdString();
        c.mend();
    }
    EXPECT_EQ(rsArticoli->Value(QStringLiteral("Sigla")).toString(), QStringLiteral("PASSATA"));
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(ui.flxLotti->Rows(), 4);
    EXPECT_TRUE(ui.cmdStampaMulti->isEnabled());
    expectNothingRecorded();
}

} // namespace
