// The carton tab's print button end to end: the window's fields, ReportImballi, the recording
// printer and the EAN-13 read back from the printed label.
#include "core/frmArticoli.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Startup.h"
#include "labels/LabelJob.h"
#include "reports/PagePainter.h"
#include "support/RecordingPrinter.h"
#include "reports/ReportViewer.h"
#include "support/SampleRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"
#include "support/Zbar.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace {

const QString kCartonEan = QStringLiteral("8012345678907");

class CartonPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ASSERT_TRUE(ApriDatabase());
        FillMonthNames();
        SetPrinterSystem(&printer);
        rsSetup->Edit();
        rsSetup->SetValue(QStringLiteral("ImballiPrinter"), QStringLiteral("Cartoni"));
        rsSetup->SetValue(QStringLiteral("MargineSinistroImballi"), 2);
        rsSetup->SetValue(QStringLiteral("CalcScadenza"), 0);
        rsSetup->Update();
        AddArticle({{"EANCartone", kCartonEan}});
        window = std::make_unique<frmArticoli>();
        TypeLabelJob(*window);
        auto& ui = window->ui;
        ui.chkAnteprimaImballi->setChecked(false);
        ui.mskQtImballi->setText(QStringLiteral("1"));
    }

    void TearDown() override
    {
        ModoInterattivo = true;
        window.reset();
        SetPrinterSystem(nullptr);
        CloseDatabase();
    }

    QString column(const char* name)
    {
        return DB->OpenRecordset(QStringLiteral("ReportImballi"))->Value(QString::fromLatin1(name)).toString();
    }

    // The EAN-13 symbols zbar reads on the page.
    static std::vector<std::string> eans(const QImage& page)
    {
        std::vector<std::string> found;
        for (const ScannedSymbol& s : ScanImage(page))
            if (s.type == "EAN-13") found.push_back(s.data);
        return found;
    }

    TestDataFolder data;
    RecordingPrinterSystem printer{{{QStringLiteral("Zebra"), QString(), QString()}, {QStringLiteral("Cartoni"), QString(), QString()}},
                                   QStringLiteral("Zebra"), 300};
    std::unique_ptr<frmArticoli> window;
};

TEST_F(CartonPrintTest, FiveLabelsAfterConfirmationAndNothingAfterNo)
{
    auto& ui = window->ui;
    ui.mskQtImballi->setText(QStringLiteral("5"));
    const qint64 counter = rsSetup->Value(QStringLiteral("contatore")).toLongLong();
    Dialogs().answer(vbNo);
    ui.cmdStampaImballi->click();
    EXPECT_TRUE(printer.jobs().empty());

    Dialogs().answer(vbYes);
    ui.cmdStampaImballi->click();
    ASSERT_EQ(Dialogs().messages().size(), 2u);
    EXPECT_EQ(Dialogs().messages()[1].prompt, QStringLiteral("Confermi la stampa di 5 etichette?"));
    EXPECT_EQ(Dialogs().messages()[1].title, QStringLiteral("Richiesta"));
    ASSERT_EQ(printer.jobs().size(), 1u);
    const RecordedJob& job = printer.jobs()[0];
    EXPECT_EQ(job.printer, QStringLiteral("Cartoni"));
    EXPECT_EQ(job.copies, 5);
    EXPECT_EQ(job.leftMarginTwips, 113);
    EXPECT_EQ(job.documentName, QStringLiteral("Etichetta cartone ART1 lotto L0342"));
    ASSERT_EQ(job.pages.size(), 1u);
    EXPECT_EQ(eans(job.pages[0]), std::vector<std::string>{kCartonEan.toStdString()});

    const QDateTime expiry = CalcolaScadenza(QDateTime(QDate(2026, 12, 8), QTime(10, 30)), 180, 1, 0);
    EXPECT_EQ(column("CodInterno"), QStringLiteral("ART1"));
    EXPECT_EQ(column("DataOraProduzione"), QStringLiteral("08.12.2026    10:30"));
    EXPECT_EQ(column("EANUC_Form"), QStringLiteral("80 12345 67890 7"));
    EXPECT_EQ(column("NumPezzi"), QStringLiteral("6"));
    EXPECT_EQ(column("DataScadenza"), FormatDate(expiry, QStringLiteral("dd.mm.yyyy")));
    EXPECT_EQ(column("Lotto"), QStringLiteral("L0342"));
    EXPECT_EQ(column("EANUC_Barcode"), QString()) << "the barcode is emptied after the job";
    // A carton label is no pallet: no SSCC is spent and nothing is archived.
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), counter);
    EXPECT_TRUE(DB->OpenRecordset(QStringLiteral("AppTestate"))->IsEmpty());
    EXPECT_TRUE(ui.cmdStampaImballi->isEnabled());
}

TEST_F(CartonPrintTest, ChecksStopTheJobInOrderBeforeAnythingIsWritten)
{
    auto& ui = window->ui;
    const QString before = column("CodInterno");
    struct Case {
        const char* time;
        const char* lot;
        const char* date;
        const char* copies;
        const char* message;
        int icon;
    };
    const Case cases[] = {
        {"99:99", "   ", "08/12/26", "1", "Ora di produzione errata.", vbInformation},
        {"10:30", "   ", "08/12/26", "1", "Il lotto non può essere nullo.", vbCritical},
        {"10:30", "L1", "31/02/26", "1", "La data di produzione non è valida.", vbCritical},
        {"10:30", "L1", "08/12/26", "0", "La quantità non può essere nulla.", vbCritical},
        {"10:30", "L1", "08/12/26", "", "La quantità non può essere nulla.", vbCritical},
    };
    // The lot is composed only after the checks, so an automatic lot does not rescue a blank one.
    ui.chkAutoLotto->setChecked(true);
    for (const Case& c : cases) {
        Dialogs().reset();
        ui.mskOraProd->setText(QString::fromLatin1(c.time));
        ui.txtLotto->setText(QString::fromLatin1(c.lot));
        ui.mskDataProduzione->setText(QString::fromLatin1(c.date));
        ui.mskQtImballi->setText(QString::fromLatin1(c.copies));
        ui.cmdStampaImballi->click();
        ASSERT_EQ(Dialogs().messages().size(), 1u) << c.message;
        EXPECT_EQ(Dialogs().messages()[0].prompt, QString::fromUtf8(c.message));
        EXPECT_EQ(Dialogs().messages()[0].icon(), c.icon) << c.message;
        EXPECT_EQ(Dialogs().messages()[0].title, QStringLiteral("Errore"));
    }
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(column("CodInterno"), before);
}

TEST_F(CartonPrintTest, AnArticleWithoutAUsableCartonEanIsRefused)
{
    // Letters, nothing, too few digits, a wrong check digit: none may become a symbol of other digits.
    for (const char* ean : {"80123ABC78907", "", "801234567890", "8012345678906"}) {
        Dialogs().reset();
        rsArticoli->Edit();
        rsArticoli->SetValue(QStringLiteral("EANCartone"), QString::fromLatin1(ean));
        rsArticoli->Update();
        window->ui.cmdStampaImballi->click();
        ASSERT_EQ(Dialogs().messages().size(), 1u) << ean;
        EXPECT_EQ(Dialogs().messages()[0].prompt,
                  QStringLiteral("L'articolo PASSATA non ha un codice EAN cartone valido (\"%1\"): correggerlo prima di stampare.")
                      .arg(QString::fromLatin1(ean)));
    }
    EXPECT_TRUE(printer.jobs().empty());
}

TEST_F(CartonPrintTest, EmptyArchiveOfArticles)
{
    rsArticoli->Delete();
    rsArticoli = DB->OpenRecordset(QStringLiteral("Articoli"));
    window->ui.cmdStampaImballi->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("Selezionare un articolo."));
    EXPECT_TRUE(printer.jobs().empty());
}

TEST_F(CartonPrintTest, PreviewAsksNothingAndKeepsTheLayout)
{
    auto& ui = window->ui;
    ui.chkAnteprimaImballi->setChecked(true);
    ui.mskQtImballi->setText(QStringLiteral("5"));
    QString shownBarcode;
    Dialogs().onModal([&](QDialog& form) {
        EXPECT_EQ(form.objectName(), QStringLiteral("Form2"));
        EXPECT_EQ(form.findChild<ReportViewer*>(QStringLiteral("CRViewer1"))->pageCount(), 1);
        shownBarcode = column("EANUC_Barcode");
        return 0;
    });
    ui.cmdStampaImballi->click();
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(shownBarcode, QString()) << "emptied once bound: the layout shows its own copy";
    EXPECT_EQ(column("EANUC_Barcode"), QString());
    ASSERT_TRUE(window->Report2);
    EXPECT_EQ(eans(RenderPage(window->Report2->pages().at(0), 300)), std::vector<std::string>{kCartonEan.toStdString()});
}

TEST_F(CartonPrintTest, PassiveModeNeitherAsksNorPreviews)
{
    auto& ui = window->ui;
    ModoInterattivo = false;
    ui.chkAnteprimaImballi->setChecked(true);
    ui.mskQtImballi->setText(QStringLiteral("3"));
    window->cmdStampaImballi_Click();
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(Dialogs().modalCount(), 0);
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(printer.jobs()[0].copies, 3);
}

TEST_F(CartonPrintTest, ClockLotAndMonthExpiry)
{
    auto& ui = window->ui;
    rsSetup->Edit();
    rsSetup->SetValue(QStringLiteral("CalcScadenza"), 3);
    rsSetup->SetValue(QStringLiteral("MaskLotto"), QStringLiteral("Lddm2yy"));
    rsSetup->Update();
    ui.chkAutoUpdate->setChecked(true);
    ui.chkAutoLotto->setChecked(true);
    const QDateTime before = QDateTime::currentDateTime();
    ui.cmdStampaImballi->click();
    const QDateTime after = QDateTime::currentDateTime();
    ASSERT_EQ(printer.jobs().size(), 1u);
    // The label carries the moment of printing, not the fields' earlier 08/12/26 10:30.
    const QString stamp = column("DataOraProduzione");
    const auto label = [](const QDateTime& t) { return FormatDate(t, QStringLiteral("dd.mm.yyyy    hh:nn")); };
    EXPECT_TRUE(stamp == label(before) || stamp == label(after)) << stamp.toStdString();
    const QDateTime production = stamp == label(before) ? before : after;
    const QDateTime expiry = CalcolaScadenza(production, 180, 1, 3);
    EXPECT_EQ(column("DataScadenza"), NomiMesi[size_t(expiry.date().month())] + u' ' + QString::number(expiry.date().year()));
    EXPECT_EQ(column("Lotto"), ComponiLotto(QStringLiteral("Lddm2yy"), production, expiry));
    EXPECT_EQ(ui.txtLotto->text(), column("Lotto")) << "the composed lot stays in the field";
}

} // namespace
