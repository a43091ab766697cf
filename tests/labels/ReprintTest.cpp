// The reprint tab end to end: the field, the picker, the reprinted label and what stays untouched.
#include "core/frmArticoli.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/ui/ControlTag.h"
#include "labels/ElementStrings.h"
#include "labels/PalletArchive.h"
#include "labels/frmScegliPNC.h"
#include "support/RecordingPrinter.h"
#include "support/SampleRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"
#include "support/Zbar.h"

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>
#include <limits>
#include <set>

namespace {

const QString kGtinA = QStringLiteral("18001234567894");
const QString kGtinB = QStringLiteral("18009876543214");

PalletLine line(const QString& gtin, const QString& lotto, qint64 cartoni, const QString& ean = QStringLiteral("8001234567897"),
                const QString& descrizione = QStringLiteral("Passata di pomodoro"))
{
    return {QStringLiteral("ART1"), QDateTime(QDate(2026, 12, 8), QTime(10, 30)), cartoni, lotto,
            QDateTime(QDate(2027, 6, 8), QTime(0, 0)), ean, gtin, cartoni * 6, descrizione};
}

class ReprintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ModoInterattivo = true;
        ASSERT_TRUE(ApriDatabase());
        FillMonthNames();
        SetPrinterSystem(&printer);
        rsSetup->Edit();
        rsSetup->SetValue(QStringLiteral("ReportPrinter"), QStringLiteral("Zebra"));
        rsSetup->SetValue(QStringLiteral("contatore"), 41);
        rsSetup->SetValue(QStringLiteral("PesoPallet3"), 25);
        rsSetup->Update();
        window = std::make_unique<frmArticoli>();
        window->ui.mskQtRistampa->setText(QStringLiteral("1"));
        window->ui.chkAnteprimaRistampa->setChecked(false);
        KeepReportRows("ReportPallet");
    }

    void TearDown() override
    {
        window.reset();
        SetPrinterSystem(nullptr);
        CloseDatabase();
    }

    qint64 archive(const QString& sscc, std::vector<PalletLine> lines)
    {
        PalletRecord p{sscc, 0, 0, 0, QStringLiteral("3"), std::move(lines)};
        for (const PalletLine& l : p.lines) {
            p.qtCartoni += l.qtCartoni;
            p.numPezzi += l.numPezzi;
        }
        p.pesoLordo = 12.5 * double(p.qtCartoni) + 25;
        const PalletTables tables{*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe};
        return RecordPrintedPallet(tables, p).idAppTestate;
    }

    qint64 count(const char* table)
    {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM %1").arg(QString::fromLatin1(table)));
        return rs->Value(QStringLiteral("n")).toLongLong();
    }

    // A column of the last label row the reprint wrote.
    QVariant reportPallet(const char* column)
    {
        Statement st = DB->prepare(QStringLiteral("SELECT %1 FROM KeptReportPallet ORDER BY rowid DESC LIMIT 1").arg(QString::fromLatin1(column)));
        return st.step() ? st.value(0) : QVariant();
    }

    std::set<std::string> lastSymbols()
    {
        const auto symbols = Gs1Symbols(printer.jobs().back().pages.at(0));
        return {symbols.begin(), symbols.end()};
    }

    // The picker the next reprint opens: `pick` chooses in it; the grid's rows are kept.
    void onPicker(const std::function<void(frmScegliPNC&)>& pick)
    {
        Dialogs().onModal([this, pick](QDialog& d) {
            auto& picker = static_cast<frmScegliPNC&>(d);
            pickerRows = picker.Lista().rowCount();
            pick(picker);
            return d.result();
        });
    }

    TestDataFolder data;
    RecordingPrinterSystem printer{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra"), 300};
    std::unique_ptr<frmArticoli> window;
    int pickerRows = -1;
};

void choose(frmScegliPNC& picker, int row) { picker.ui.flxArticoli->setCurrentIndex(picker.Lista().index(row, 0)); }

QString cell(const frmScegliPNC& picker, int row, int column) { return picker.Lista().index(row, column).data().toString(); }

std::string scanned(const QString& barcodeForm)
{
    std::string s = barcodeForm.toLatin1().toStdString();
    std::replace(s.begin(), s.end(), char(kFnc1), '\x1d');
    return s;
}

TEST_F(ReprintTest, APrintedPalletReprintsTheSameBarcodesAndRecordsNothing)
{
    auto& ui = window->ui;
    AddArticle();
    TypeLabelJob(*window);
    ui.mskQtCartoni->setText(QStringLiteral("40"));
    ui.mskQtBatch->setText(QStringLiteral("3"));
    ui.mskQtPallet->setText(QStringLiteral("1"));
    ui.cmdStampa->click();
    ASSERT_EQ(printer.jobs().size(), 1u);
    ASSERT_EQ(printer.jobs()[0].pages.size(), 3u);
    const std::set<std::string> original = lastSymbols();
    ASSERT_EQ(original.size(), 2u);
    const QString sscc = ui.txtSSCC->text();
    const QString tag = Tag(ui.txtSSCC);

    ui.mskQtRistampa->setText(QStringLiteral("2"));
    ui.cmdRistampa->click();
    ASSERT_EQ(printer.jobs().size(), 2u);
    EXPECT_EQ(printer.jobs()[1].copies, 2);
    ASSERT_EQ(printer.jobs()[1].pages.size(), 1u);
    EXPECT_EQ(lastSymbols(), original);
    EXPECT_TRUE(lastSymbols().count("00" + sscc.toStdString()));
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(Dialogs().modalCount(), 0);
    for (const char* t : {"AppTestate", "AppRighe", "ExportTestate", "ExportRighe"}) EXPECT_EQ(count(t), 1) << t;
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 42);
    EXPECT_EQ(count("ReportPallet"), 0) << "emptied once bound";
    EXPECT_EQ(ui.txtSSCC->text(), sscc);
    EXPECT_EQ(Tag(ui.txtSSCC), tag);
    EXPECT_TRUE(ui.cmdRistampa->isEnabled());
    EXPECT_FALSE(EtichettaMulti);
    EXPECT_TRUE(ArticoloUnico);
}

TEST_F(ReprintTest, StartUpShowsTheHighestSsccAndReprintsItWithoutALookup)
{
    archive(QStringLiteral("380012345000000420"), {line(kGtinA, QStringLiteral("L1"), 40)});
    const qint64 highest = archive(QStringLiteral("380012345000000444"), {line(kGtinA, QStringLiteral("L2"), 40)});
    archive(QStringLiteral("380012345000000437"), {line(kGtinA, QStringLiteral("L3"), 40)});
    window->Form_Load();
    EXPECT_EQ(window->ui.txtSSCC->text(), QStringLiteral("380012345000000444"));
    EXPECT_EQ(Tag(window->ui.txtSSCC), QString::number(highest));

    window->ui.mskQtRistampa->setText(QStringLiteral("1"));
    window->ui.cmdRistampa->click();
    EXPECT_EQ(Dialogs().modalCount(), 0);
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_TRUE(lastSymbols().count("00380012345000000444"));
}

TEST_F(ReprintTest, AnEmptyArchiveLeavesTheFieldEmptyAndOpensAnEmptyPicker)
{
    window->UltimoSSCC();
    EXPECT_TRUE(window->ui.txtSSCC->text().isEmpty());
    EXPECT_EQ(Tag(window->ui.txtSSCC), QStringLiteral("-1"));
    onPicker([](frmScegliPNC& p) { p.ui.cmdOk->click(); });
    window->ui.cmdRistampa->click();
    EXPECT_EQ(pickerRows, 0);
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_TRUE(printer.jobs().empty());

    // A typed SSCC has nothing to be found in.
    window->ui.txtSSCC->setText(QStringLiteral("380012345000000444"));
    window->ui.cmdRistampa->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("L'archivio è vuoto."));
    EXPECT_EQ(Dialogs().messages()[0].title, QStringLiteral("Errore"));
    EXPECT_TRUE(Dialogs().allAnswered());
}

TEST_F(ReprintTest, ATypedSsccIsLookedUpTrimmedAndAnUnknownOneOpensThePicker)
{
    archive(QStringLiteral("380012345000000420"), {line(kGtinA, QStringLiteral("L1"), 40)});
    const qint64 id = archive(QStringLiteral("380012345000000437"), {line(kGtinA, QStringLiteral("L1"), 40)});
    auto& ui = window->ui;
    SetTag(ui.txtSSCC, QString::number(id));
    QTest::keyClicks(ui.txtSSCC, QStringLiteral("x"));
    EXPECT_EQ(Tag(ui.txtSSCC), QStringLiteral("-1"));

    ui.txtSSCC->setText(QStringLiteral(" 380012345000000437 "));
    ui.cmdRistampa->click();
    EXPECT_EQ(Dialogs().modalCount(), 0);
    EXPECT_EQ(Tag(ui.txtSSCC), QString::number(id));
    ASSERT_EQ(printer.jobs().size(), 1u);

    // What a scanner sends, or the operator reads under the symbol, fits the field and reprints that
    // pallet, shown as its 18 digits.
    for (const char* form : {"]C100380012345000000420", "(00)380012345000000437"}) {
        ui.txtSSCC->setText(QString::fromLatin1(form));
        ui.cmdRistampa->click();
        EXPECT_EQ(ui.txtSSCC->text(), QString::fromLatin1(form).right(18));
        EXPECT_NE(Tag(ui.txtSSCC), QStringLiteral("-1"));
        EXPECT_EQ(reportPallet("SSCC_Text").toString(), QStringLiteral("(00)") + QString::fromLatin1(form).right(18));
    }
    ASSERT_EQ(printer.jobs().size(), 3u);

    for (const QString& unknown : {QStringLiteral("3800'12345"), QStringLiteral("380012345000000999")}) {
        ui.txtSSCC->setText(unknown);
        onPicker([](frmScegliPNC& p) { p.ui.cmdOk->click(); });
        ui.cmdRistampa->click();
        EXPECT_EQ(pickerRows, 2) << unknown.toStdString();
        EXPECT_EQ(Tag(ui.txtSSCC), QStringLiteral("-1"));
    }
    EXPECT_EQ(printer.jobs().size(), 3u);
    EXPECT_TRUE(Dialogs().messages().empty());
}

TEST_F(ReprintTest, EnterInTheFieldReprintsAndTypesNothing)
{
    archive(QStringLiteral("380012345000000420"), {line(kGtinA, QStringLiteral("L1"), 40)});
    window->UltimoSSCC();
    QTest::keyClick(window->ui.txtSSCC, Qt::Key_Return);
    EXPECT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(window->ui.txtSSCC->text(), QStringLiteral("380012345000000420"));
    EXPECT_NE(Tag(window->ui.txtSSCC), QStringLiteral("-1"));
}

TEST_F(ReprintTest, NoCopiesIsRefusedAfterThePickerHasChosen)
{
    const qint64 id = archive(QStringLiteral("380012345000000420"), {line(kGtinA, QStringLiteral("L1"), 40)});
    window->ui.mskQtRistampa->setText(QStringLiteral("0"));
    onPicker([](frmScegliPNC& p) {
        choose(p, 0);
        p.ui.cmdSeleziona->click();
    });
    window->ui.cmdRistampa->click();
    EXPECT_EQ(Dialogs().modalCount(), 1);
    EXPECT_EQ(window->ui.txtSSCC->text(), QStringLiteral("380012345000000420"));
    EXPECT_EQ(Tag(window->ui.txtSSCC), QString::number(id));
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("La quantità non può essere nulla."));
    EXPECT_TRUE(printer.jobs().empty());
}

TEST_F(ReprintTest, APalletNoLongerArchivedIsNotFound)
{
    const qint64 id = archive(QStringLiteral("380012345000000420"), {line(kGtinA, QStringLiteral("L1"), 40)});
    window->UltimoSSCC();
    DB->Execute(QStringLiteral("DELETE FROM AppTestate"));
    window->ui.cmdRistampa->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("SSCC non trovato"));
    EXPECT_EQ(Dialogs().messages()[0].icon(), vbCritical);
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_TRUE(window->ui.cmdRistampa->isEnabled());
    EXPECT_EQ(Tag(window->ui.txtSSCC), QString::number(id));
}

TEST_F(ReprintTest, PalletsWithoutLinesOrWithALotGs1ForbidsAreRefusedWithAMessage)
{
    archive(QStringLiteral("380012345000000420"), {});
    window->UltimoSSCC();
    window->ui.cmdRistampa->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_TRUE(Dialogs().messages()[0].prompt.contains(QStringLiteral("380012345000000420")));
    EXPECT_TRUE(printer.jobs().empty());

    // A lot archived before lots were checked would print a symbol without it, or one GS1 forbids.
    for (const char* lot : {"L\u00e91", "L 1"}) {
        Dialogs().reset();
        archive(QStringLiteral("380012345000000437"), {line(kGtinA, QString::fromUtf8(lot), 30)});
        window->UltimoSSCC();
        window->ui.cmdRistampa->click();
        ASSERT_EQ(Dialogs().messages().size(), 1u) << lot;
        EXPECT_TRUE(Dialogs().messages()[0].prompt.startsWith(QStringLiteral("Il lotto \"") + QString::fromUtf8(lot)));
        DB->Execute(QStringLiteral("DELETE FROM AppRighe"));
        DB->Execute(QStringLiteral("DELETE FROM AppTestate"));
    }
    EXPECT_TRUE(printer.jobs().empty());
}

// Rows another program wrote: an SSCC no scanner would take, a GTIN with a wrong check digit on a line
// without its internal code. Each is refused naming the article by what it has, and nothing prints.
TEST_F(ReprintTest, ArchivedValuesNoScannerTakesAreRefusedNamingTheArticle)
{
    const auto withoutCode = [](const QString& gtin) {
        PalletLine l = line(gtin, QStringLiteral("L1"), 40);
        l.codInterno.clear();
        return l;
    };
    const std::pair<qint64, QString> refused[] = {
        {archive(QString(), {line(kGtinA, QStringLiteral("L1"), 40)}),
         QStringLiteral("L'SSCC del pallet dell'articolo ART1 non è valido (\"\"): deve avere 18 cifre, l'ultima il check digit delle altre.")},
        {archive(QStringLiteral("0012345"), {line(kGtinA, QStringLiteral("L1"), 40)}),
         QStringLiteral("L'SSCC del pallet dell'articolo ART1 non è valido (\"0012345\")")},
        {archive(QStringLiteral("380012345000000428"), {withoutCode(kGtinA)}),
         QStringLiteral("L'SSCC del pallet dell'articolo 8001234567897 non è valido")},
        {archive(QStringLiteral("380012345000000437"), {withoutCode(QStringLiteral("18001234567895"))}),
         QStringLiteral("Il GTIN (02) dell'articolo 8001234567897 non è valido (\"18001234567895\")")},
    };
    for (const auto& [id, message] : refused) {
        Dialogs().reset();
        window->RistampaEtichetta(id, 1, false);
        ASSERT_EQ(Dialogs().messages().size(), 1u) << message.toStdString();
        EXPECT_TRUE(Dialogs().messages()[0].prompt.startsWith(message)) << Dialogs().messages()[0].prompt.toStdString();
    }
    EXPECT_TRUE(printer.jobs().empty());
}

// Dates another program wrote into the archive (none, empty, another form) would print as
// "00.00.0000" and a (15)000000 no scanner takes: a reprint whose label states such a date is refused
// by the pallet's SSCC and article. A date the print options leave off the label stops nothing.
TEST_F(ReprintTest, ArchivedDatesThatAreNoneAreRefusedWhereTheLabelStatesThem)
{
    const QString sscc = QStringLiteral("380012345000000420");
    const qint64 id = archive(sscc, {line(kGtinA, QStringLiteral("L1"), 40)});
    const auto column = [](const char* name, const QVariant& value) {
        DB->ExecuteNative(QStringLiteral("UPDATE AppRighe SET %1 = ?").arg(QString::fromLatin1(name)), {value});
    };
    const auto options = [](bool dataProd, bool oraProd, bool scadenza) {
        rsSetup->Edit();
        rsSetup->SetValue(QStringLiteral("StampaDataProd"), dataProd);
        rsSetup->SetValue(QStringLiteral("StampaOraProd"), oraProd);
        rsSetup->SetValue(QStringLiteral("StampaScadenza"), scadenza);
        rsSetup->Update();
    };
    const auto reprint = [&](qint64 pallet) {
        Dialogs().reset();
        window->RistampaEtichetta(pallet, 1, false);
        return Dialogs().messages().empty() ? QString() : Dialogs().messages()[0].prompt;
    };
    const QString expiry = QStringLiteral("Il pallet %1 dell'articolo ART1 non ha una data di scadenza leggibile in archivio: "
                                          "impossibile ristamparlo.").arg(sscc);
    const QString production = QString(expiry).replace(QStringLiteral("di scadenza"), QStringLiteral("di produzione"));

    for (const QVariant& none : {QVariant(), QVariant(QString()), QVariant(QStringLiteral("31/12/2026"))}) {
        column("DataScadenza", none);
        EXPECT_EQ(reprint(id), expiry) << none.toString().toStdString();
    }
    options(true, true, false);
    EXPECT_EQ(reprint(id), QString()) << "no expiry on the label";
    ASSERT_EQ(printer.jobs().size(), 1u);

    column("DataScadenza", QDateTime(QDate(2027, 6, 8), QTime(0, 0)));
    column("DataOra", QStringLiteral("2026-12-08 25:30"));
    EXPECT_EQ(reprint(id), production);
    options(false, true, true);
    EXPECT_EQ(reprint(id), production) << "the time alone";
    options(false, false, true);
    EXPECT_EQ(reprint(id), QString()) << "neither date nor time on the label";
    EXPECT_EQ(printer.jobs().size(), 2u);

    // A summary states neither line, and its symbol no production date; its article lists state the
    // production date of each line where the expiry is left out.
    options(true, true, true);
    const qint64 mixed = archive(QStringLiteral("380012345000000437"),
                                 {line(kGtinA, QStringLiteral("L1"), 40), line(kGtinA, QStringLiteral("L2"), 20)});
    DB->ExecuteNative(QStringLiteral("UPDATE AppRighe SET DataOra = 'ieri', CodInterno = 'ART2' WHERE IDAppTestate = ? AND Lotto = 'L2'"),
                      {mixed});
    EXPECT_EQ(reprint(mixed), QString());
    options(true, false, false);
    EXPECT_EQ(reprint(mixed), QStringLiteral("Il pallet 380012345000000437 dell'articolo ART2 non ha una data di produzione "
                                             "leggibile in archivio: impossibile ristamparlo."));
    EXPECT_EQ(printer.jobs().size(), 4u) << "the summary and its article list, once";
}

TEST_F(ReprintTest, TwoLinesOfOneLotPrintOneLabelWithTheHeadersTotals)
{
    archive(QStringLiteral("380012345000000420"), {line(kGtinA, QStringLiteral("L1"), 30), line(kGtinA, QStringLiteral("L1"), 10)});
    window->UltimoSSCC();
    window->ui.cmdRistampa->click();
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(reportPallet("NumImballi").toString(), QStringLiteral("40"));
    EXPECT_EQ(reportPallet("NumPezzi").toString(), QStringLiteral("240"));
    EXPECT_EQ(reportPallet("Lotto").toString(), QStringLiteral("L1"));
    const ElementData elements{kGtinA, QStringLiteral("40"), 12.5 * 40 + 25, QDate(2027, 6, 8), QStringLiteral("L1"),
                               QStringLiteral("08001234567897"), QStringLiteral("6"), QDate(2026, 12, 8)};
    EXPECT_TRUE(lastSymbols().count(scanned(CalcolaEAN128Barcode(elements, ElementSettings::FromSetup(*rsSetup), {}))));
}

TEST_F(ReprintTest, MixedPalletsPrintASummaryWithoutLotOrArticle)
{
    struct Case {
        std::vector<PalletLine> lines;
        bool articoloUnico;
    };
    const Case cases[] = {
        {{line(kGtinA, QStringLiteral("L1"), 30), line(kGtinA, QStringLiteral("L2"), 10)}, true},
        {{line(kGtinA, QStringLiteral("L1"), 30), line(kGtinB, QStringLiteral("L1"), 10, QStringLiteral("8009876543217"))}, false},
    };
    for (const Case& c : cases) {
        const QString sscc = AppendCheckDigit(QStringLiteral("3800123450000004") + QChar(u'1' + int(&c - cases)));
        archive(sscc, c.lines);
        window->UltimoSSCC();
        window->ui.cmdRistampa->click();
        EXPECT_TRUE(EtichettaMulti);
        EXPECT_EQ(ArticoloUnico, c.articoloUnico);
        EXPECT_EQ(reportPallet("Lotto").toString(), QString());
        EXPECT_EQ(reportPallet("CodInterno").toString().isEmpty(), !c.articoloUnico);
        EXPECT_EQ(reportPallet("GTIN_Form").toString().isEmpty(), !c.articoloUnico);
        EXPECT_EQ(reportPallet("EANUC_Form").toString().isEmpty(), !c.articoloUnico);
        const ElementData elements{c.articoloUnico ? kGtinA : QString(), QStringLiteral("40"), 12.5 * 40 + 25, QDate(2027, 6, 8), QString(),
                                   QStringLiteral("08001234567897"), QStringLiteral("6"), QDate(2026, 12, 8)};
        const std::string summary =
            scanned(CalcolaEAN128Barcode(elements, ElementSettings::FromSetup(*rsSetup), {true, c.articoloUnico}));
        // The summary, then one article list with both lines and the pallet's SSCC.
        ASSERT_EQ(printer.jobs().size(), size_t(2 * (&c - cases + 1)));
        const auto summarySymbols = Gs1Symbols(printer.jobs()[printer.jobs().size() - 2].pages.at(0));
        EXPECT_NE(std::find(summarySymbols.begin(), summarySymbols.end(), summary), summarySymbols.end());
        EXPECT_NE(std::find(summarySymbols.begin(), summarySymbols.end(), "00" + sscc.toStdString()), summarySymbols.end());
        EXPECT_EQ(printer.jobs().back().pages.size(), 1u);
        EXPECT_EQ(lastSymbols().size(), 3u);
        EXPECT_TRUE(lastSymbols().count("00" + sscc.toStdString()));
    }
}

TEST_F(ReprintTest, ThePickerListsByDescendingSsccAndPicksByButtonOrDoubleClick)
{
    archive(QStringLiteral("380012345000000420"), {line(kGtinA, QStringLiteral("L1"), 40, QStringLiteral("8001234567897"), QStringLiteral("Passata"))});
    const qint64 mixed = archive(QStringLiteral("380012345000000444"),
                                 {line(kGtinA, QStringLiteral("L1"), 30), line(kGtinB, QStringLiteral("L1"), 10, QStringLiteral("8009876543217"))});
    const qint64 oneEan = archive(QStringLiteral("380012345000000437"),
                                  {line(kGtinA, QStringLiteral("L1"), 30, QStringLiteral("8001234567897"), QStringLiteral("Polpa")),
                                   line(kGtinA, QStringLiteral("L2"), 10, QStringLiteral("8001234567897"), QStringLiteral("Altro"))});
    QLineEdit field;
    SetTag(&field, QStringLiteral("-1"));
    {
        frmScegliPNC picker(field);
        EXPECT_EQ(picker.windowTitle(), QStringLiteral(" Scelta SSCC"));
        ASSERT_EQ(picker.Lista().rowCount(), 3);
        EXPECT_EQ(picker.Lista().headerData(1, Qt::Horizontal).toString(), QStringLiteral("N° cartoni"));
        EXPECT_EQ(cell(picker, 0, 0), QStringLiteral("380012345000000444"));
        EXPECT_EQ(cell(picker, 0, 4), QStringLiteral("Vari"));
        EXPECT_EQ(cell(picker, 1, 0), QStringLiteral("380012345000000437"));
        EXPECT_EQ(cell(picker, 1, 1), QStringLiteral("40"));
        EXPECT_EQ(cell(picker, 1, 2), QStringLiteral("240"));
        EXPECT_EQ(cell(picker, 1, 4), QStringLiteral("Polpa"));
        EXPECT_EQ(cell(picker, 2, 0), QStringLiteral("380012345000000420"));

        // Without a current row nothing is chosen and the picker stays open.
        picker.cmdSeleziona_Click();
        EXPECT_EQ(picker.result(), 0);
        EXPECT_TRUE(field.text().isEmpty());

        choose(picker, 1);
        picker.ui.cmdSeleziona->click();
        EXPECT_EQ(picker.result(), int(QDialog::Accepted));
        EXPECT_EQ(field.text(), QStringLiteral("380012345000000437"));
        EXPECT_EQ(Tag(&field), QString::number(oneEan));
    }
    frmScegliPNC picker(field);
    QTableView& view = *picker.ui.flxArticoli;
    picker.show();
    const QPoint first = view.visualRect(picker.Lista().index(0, 2)).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(field.text(), QStringLiteral("380012345000000444"));
    EXPECT_EQ(Tag(&field), QString::number(mixed));
}

TEST_F(ReprintTest, ThePickerListsTheWholeArchiveInOrderFromEitherEnd)
{
    // More blocks than the picker keeps; pallets of one SSCC straddle the blocks, and pallets
    // without an SSCC come last.
    const int pallets = ArchiveListModel::kBlock * int(ArchiveListModel::kBlocksKept + 2) + 30;
    DB->ExecuteNative(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?) "
                                     "INSERT INTO AppTestate (SSCC, QtCartoni, numpezzi, pesolordo, TipoPallet) "
                                     "SELECT CASE WHEN i % 97 = 5 THEN NULL ELSE printf('3800123450000%05d', i / 3) END, "
                                     "1, 6, 37.5, '3' FROM n"),
                      {pallets});
    DB->ExecuteNative(QStringLiteral("INSERT INTO AppRighe (IDAppTestate, NumRiga, CodEAN, Descrizione) "
                                     "SELECT IDAppTestate, 1, '8001234567897', 'Passata' FROM AppTestate"));
    std::set<qint64> archived;
    for (auto rs = DB->OpenRecordset(QStringLiteral("SELECT IDAppTestate FROM AppTestate")); !rs->Eof(); rs->MoveNext())
        archived.insert(rs->Value(QStringLiteral("IDAppTestate")).toLongLong());
    QLineEdit field;
    frmScegliPNC picker(field);
    const ArchiveListModel& list = picker.Lista();
    ASSERT_EQ(list.rowCount(), pallets);
    const qint64 lastId = list.Row(pallets - 1).idAppTestate;
    EXPECT_TRUE(list.Row(pallets - 1).sscc.isEmpty());
    EXPECT_EQ(list.Row(pallets - 1).descrizione, QStringLiteral("Passata"));
    std::set<qint64> listed;
    bool nullsReached = false;
    for (int r = 0; r < pallets; ++r) {
        const ArchiveListRow row = list.Row(r);
        listed.insert(row.idAppTestate);
        if (r == 0) continue;
        const ArchiveListRow above = list.Row(r - 1);
        if (row.sscc.isEmpty()) {
            nullsReached = true;
            EXPECT_LT(row.idAppTestate, above.sscc.isEmpty() ? above.idAppTestate : std::numeric_limits<qint64>::max()) << r;
        } else {
            ASSERT_FALSE(nullsReached) << r;
            EXPECT_TRUE(above.sscc > row.sscc || (above.sscc == row.sscc && above.idAppTestate > row.idAppTestate)) << r;
        }
    }
    EXPECT_EQ(listed, archived);
    EXPECT_EQ(list.Row(pallets - 1).idAppTestate, lastId);
    choose(picker, pallets - 1);
    picker.cmdSeleziona_Click();
    EXPECT_EQ(Tag(&field), QString::number(lastId));
}

} // namespace
