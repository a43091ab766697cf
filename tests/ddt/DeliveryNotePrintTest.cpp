// Printing the open delivery note: the summary sheet on the recording printer or in the preview.
#include "DdtFixture.h"

#include "ddt/DeliveryNoteSheet.h"
#include "reports/PreviewWindow.h"
#include "support/RecordingPrinter.h"

#include <QDialog>

namespace {

QString Sscc(int n) { return QStringLiteral("3800000000000%1").arg(n, 5, 10, QLatin1Char('0')); }

// Texts of the page's objects by name; a hidden or missing object is absent.
QHash<QString, QString> Texts(const FormattedPage& page, double left = 0, double right = 1e9)
{
    QHash<QString, QString> out;
    for (const DrawItem& item : page.items)
        if (item.rect.left() >= left && item.rect.left() < right) out.insert(item.name, item.text);
    return out;
}

class DeliveryNotePrint : public DdtTest {
protected:
    void SetUp() override
    {
        DdtTest::SetUp();
        SetPrinterSystem(&printers);
        rsSetup->Edit();
        rsSetup->SetValue(QStringLiteral("ReportPrinter"), QStringLiteral("Laser"));
        rsSetup->Update();
        w->ui.mskQtDDT->setText(QStringLiteral("1"));
        w->ui.chkAnteprimaDDT->setChecked(false);
    }
    void TearDown() override
    {
        DdtTest::TearDown();
        SetPrinterSystem(nullptr);
    }
    // A saved note of `pallets` one-line pallets, left open on the page.
    void notaSalvata(int pallets)
    {
        nuovo(QStringLiteral("7"), QStringLiteral("02/03/26"));
        for (int n = 1; n <= pallets; ++n) {
            archivia(Sscc(n), 1);
            aggiungi(Sscc(n));
        }
        w->ui.cmdSalvaDDT->click();
    }
    // Previews the note and returns the pages as the preview showed them.
    std::vector<FormattedPage> anteprima()
    {
        std::vector<FormattedPage> pages;
        w->ui.chkAnteprimaDDT->setChecked(true);
        Dialogs().onModal([&](QDialog& d) {
            EXPECT_TRUE(dynamic_cast<PreviewWindow*>(&d));
            EXPECT_EQ(d.objectName(), QStringLiteral("Form3"));
            pages = w->MyReport->pages();
            return 0;
        });
        w->ui.cmdStampaDDT->click();
        return pages;
    }

    RecordingPrinterSystem printers{{{QStringLiteral("Laser"), QStringLiteral("HP"), QStringLiteral("ipp://1")},
                                     {QStringLiteral("Office"), QStringLiteral("HP"), QStringLiteral("ipp://2")}},
                                    QStringLiteral("Office")};
};

TEST_F(DeliveryNotePrint, TwelvePalletsPrintOnTwoSheetsOfTenAndTwo)
{
    notaSalvata(12);
    w->ui.mskQtDDT->setText(QStringLiteral("2"));
    w->ui.cmdStampaDDT->click();

    ASSERT_EQ(printers.jobs().size(), 1u);
    const RecordedJob& job = printers.jobs()[0];
    EXPECT_EQ(job.printer, QStringLiteral("Laser"));
    EXPECT_EQ(job.copies, 2);
    EXPECT_EQ(job.documentName, QStringLiteral("DDT 7 del 02/03/26"));
    EXPECT_FALSE(job.landscape);
    EXPECT_EQ(job.pages.size(), 2u);
    EXPECT_FALSE(w->MyReport);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM ReportDDT")), 0);
    EXPECT_TRUE(w->ui.cmdStampaDDT->isEnabled());
    EXPECT_EQ(w->ui.txtNumDDT->text(), QStringLiteral("7"));
    EXPECT_EQ(griglia().size(), 12);
    EXPECT_FALSE(w->ui.cmdSalvaDDT->isEnabled());

    const auto pages = anteprima();
    ASSERT_EQ(pages.size(), 2u);
    const auto first = Texts(pages[0]);
    const auto second = Texts(pages[1]);
    EXPECT_EQ(first.value(QStringLiteral("lblTitolo")), QStringLiteral("SSCCs, articles and batchs"));
    EXPECT_EQ(first.value(QStringLiteral("lblQt")), QStringLiteral("Qty"));
    EXPECT_EQ(first.value(QStringLiteral("NumeroDDT")), QStringLiteral("7"));
    EXPECT_EQ(first.value(QStringLiteral("Data")), QStringLiteral("02/03/26"));
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(first.value(QStringLiteral("SSCC%1").arg(n)), Sscc(n)) << n;
    EXPECT_EQ(first.value(QStringLiteral("Lotto1")), QStringLiteral("L1"));
    EXPECT_EQ(first.value(QStringLiteral("QtCartoni1")), QStringLiteral("10"));
    EXPECT_EQ(first.value(QStringLiteral("DataScadenza1")), QStringLiteral("01/03/27"));
    EXPECT_EQ(second.value(QStringLiteral("SSCC1")), Sscc(11));
    EXPECT_EQ(second.value(QStringLiteral("SSCC2")), Sscc(12));
    EXPECT_EQ(second.value(QStringLiteral("SSCC3")), QString());
    EXPECT_EQ(second.value(QStringLiteral("GTIN10")), QString());

    EXPECT_FALSE(w->MyReport) << "the previewed sheet is released";
    EXPECT_EQ(printers.jobs().size(), 1u) << "the preview prints nothing itself";
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM ReportDDT")), 0);
    EXPECT_TRUE(Dialogs().allAnswered());
}

TEST_F(DeliveryNotePrint, DoubleLayoutPutsTheSameSheetInBothHalvesOfALandscapePage)
{
    notaSalvata(3);
    rsSetup->Edit();
    rsSetup->SetValue(QStringLiteral("DoubleLayout"), true);
    rsSetup->Update();
    w->ui.cmdStampaDDT->click();
    ASSERT_EQ(printers.jobs().size(), 1u);
    EXPECT_TRUE(printers.jobs()[0].landscape);
    EXPECT_EQ(printers.jobs()[0].pages.size(), 1u);

    const auto pages = anteprima();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_GT(pages[0].size.width(), pages[0].size.height());
    const auto left = Texts(pages[0], 0, 148);
    const auto right = Texts(pages[0], 148, 297);
    for (const auto* half : {&left, &right}) {
        EXPECT_EQ(half->value(QStringLiteral("SSCC3")), Sscc(3));
        EXPECT_EQ(half->value(QStringLiteral("lblNumeroData")), QStringLiteral("DDT number and date:"));
    }
}

TEST_F(DeliveryNotePrint, NothingIsPrintedWithoutANoteItsLinesOrCopies)
{
    w->ui.cmdStampaDDT->click();
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Introdurre dei dati da stampare."));

    nuovo(QStringLiteral("7"), QStringLiteral("02/03/26"));
    for (const QString& copies : {QStringLiteral("0"), QString()}) {
        w->ui.mskQtDDT->setText(copies);
        w->ui.cmdStampaDDT->click();
        EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Specificare una quantità positiva di copie da stampare."));
        EXPECT_EQ(Dialogs().messages().back().title, QStringLiteral("Errore"));
    }
    EXPECT_TRUE(w->ui.cmdSalvaDDT->isEnabled()) << "nothing was saved";
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTTestate")), 0);

    // A note without lines is saved but gives no sheet to print.
    w->ui.mskQtDDT->setText(QStringLiteral("1"));
    w->ui.cmdStampaDDT->click();
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Introdurre dei dati da stampare."));
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTTestate")), 1);
    EXPECT_TRUE(printers.jobs().empty());
    EXPECT_TRUE(w->ui.cmdStampaDDT->isEnabled());
}

TEST_F(DeliveryNotePrint, PendingChangesAreSavedFirstAndAFailedSaveStopsThePrint)
{
    archivia(kSscc1, 1);
    nuovo(QStringLiteral("7"), QStringLiteral("02/03/26"));
    aggiungi(kSscc1);
    w->ui.cmdStampaDDT->click();
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTRighe")), 1);
    EXPECT_FALSE(w->ui.cmdSalvaDDT->isEnabled());
    ASSERT_EQ(printers.jobs().size(), 1u);

    archivia(kSscc2, 1);
    aggiungi(kSscc2);
    DB->ExecuteNative(QStringLiteral("DROP TABLE DDTRighe"));
    w->ui.cmdStampaDDT->click();
    EXPECT_FALSE(Dialogs().messages().empty());
    EXPECT_EQ(printers.jobs().size(), 1u) << "a note that could not be saved is not printed";
    EXPECT_TRUE(w->ui.cmdSalvaDDT->isEnabled());
    EXPECT_TRUE(w->ui.cmdStampaDDT->isEnabled());
}

// The sheet's records straight from the table, before the job empties it.
TEST_F(DeliveryNotePrint, LinesFillTenSlotsARecordAndAPalletOfTwoLinesTakesTwo)
{
    nuovo(QStringLiteral("N'9"), QStringLiteral("02/03/26"));
    archivia(Sscc(1), 2);
    aggiungi(Sscc(1));
    for (int n = 2; n <= 22; ++n) {
        archivia(Sscc(n), 1);
        aggiungi(Sscc(n));
    }
    w->ui.cmdSalvaDDT->click();
    ASSERT_EQ(CompilaReportDDT(*DB, QStringLiteral("N'9"), QStringLiteral("02/03/26")), 3);
    auto rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM ReportDDT ORDER BY ID"));
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC1")).toString(), Sscc(1));
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC2")).toString(), Sscc(1));
    EXPECT_EQ(rs->Value(QStringLiteral("Lotto2")).toString(), QStringLiteral("L2"));
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC3")).toString(), Sscc(2));
    rs->MoveLast();
    EXPECT_EQ(rs->Value(QStringLiteral("NumeroDDT")).toString(), QStringLiteral("N'9"));
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC3")).toString(), Sscc(22));
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC4")).toString(), QString());
    EXPECT_FALSE(rs->Value(QStringLiteral("DataScadenza10")).isNull()) << "empty slots hold empty text";

    EXPECT_EQ(CompilaReportDDT(*DB, QStringLiteral("N'9"), QStringLiteral("03/03/26")), 0);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM ReportDDT")), 0);
}

} // namespace
