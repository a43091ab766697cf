#include "core/Globals.h"
#include "core/Informazioni.h"
#include "core/Startup.h"
#include "core/Utility.h"
#include "core/frmArticoli.h"
#include "core/frmIntestazioni.h"
#include "core/frmSplash.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QTest>

TEST(Prompt, EnterConfirmsWhatWasTypedEscapeCancels)
{
    TestoRichiesta = QStringLiteral("prima");
    {
        frmIntestazioni prompt;
        prompt.show();
        QTest::keyClicks(prompt.ui.txtIntestazione, QStringLiteral("AB"));
        QTest::keyClick(prompt.ui.txtIntestazione, Qt::Key_Escape);
        EXPECT_FALSE(RichiestaOK);
        EXPECT_EQ(prompt.result(), QDialog::Rejected);
        EXPECT_EQ(TestoRichiesta, QStringLiteral("prima"));
    }
    {
        frmIntestazioni prompt;
        prompt.show();
        QTest::keyClicks(prompt.ui.txtIntestazione, QStringLiteral(" AB'c "));
        QTest::keyClick(prompt.ui.txtIntestazione, Qt::Key_Return);
        EXPECT_TRUE(RichiestaOK);
        EXPECT_EQ(TestoRichiesta, QStringLiteral(" AB'c "));
    }
    {
        frmIntestazioni prompt;
        EXPECT_FALSE(RichiestaOK) << "opening the prompt clears the flag";
        prompt.show();
        QTest::keyClick(prompt.ui.txtIntestazione, Qt::Key_Enter);
        EXPECT_TRUE(RichiestaOK);
        EXPECT_EQ(TestoRichiesta, QString());
    }
    {
        frmIntestazioni prompt;
        prompt.show();
        QTest::keyClicks(prompt.ui.txtIntestazione, QStringLiteral("X"));
        prompt.close();
        EXPECT_FALSE(RichiestaOK);
    }
}

TEST(Splash, ClosesOnItsTimerAfterThreeSeconds)
{
    frmSplash splash;
    EXPECT_EQ(splash.ui.lblVersion->text(), QStringLiteral("Versione 1.0.0"));
    EXPECT_TRUE(splash.Timer1.isSingleShot());
    EXPECT_EQ(splash.Timer1.interval(), 3000);
    splash.show();
    ASSERT_TRUE(splash.Timer1.isActive());
    // However long the machine takes, it is the timer that closes the window.
    QEventLoop closed;
    QObject::connect(&splash, &QDialog::finished, &closed, &QEventLoop::quit);
    closed.exec();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

TEST(Splash, ClosesAtOnceOnAKeyOrAClick)
{
    {
        frmSplash splash;
        splash.show();
        QTest::keyClick(&splash, Qt::Key_A);
        EXPECT_FALSE(splash.isVisible());
    }
    {
        frmSplash splash;
        splash.show();
        QTest::keyClick(splash.ui.cmdOk, Qt::Key_X);
        EXPECT_FALSE(splash.isVisible()) << "a key while the button has the focus";
    }
    {
        frmSplash splash;
        splash.show();
        QTest::mouseClick(splash.ui.Image1, Qt::LeftButton);
        EXPECT_FALSE(splash.isVisible());
    }
}

TEST(About, FifthClickOnTheVersionChangesThePictureAndLinksKeepItOpen)
{
    QStringList opened;
    SetShellOpenHandler([&](const QString& target) {
        opened << target;
        return true;
    });
    Informazioni about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("S T I V O R A   v1.0.0"));
    about.show();
    const QImage before = about.ui.imgKVR->pixmap().toImage();
    for (int i = 0; i < 4; ++i) QTest::mouseClick(about.ui.Label4, Qt::LeftButton);
    EXPECT_EQ(about.ui.imgKVR->pixmap().toImage(), before);
    QTest::mouseClick(about.ui.Label4, Qt::LeftButton);
    EXPECT_EQ(about.ui.imgKVR->pixmap().toImage(), about.ui.imgTervo->pixmap().toImage());
    QTest::mouseClick(about.ui.Label4, Qt::LeftButton);
    EXPECT_EQ(about.numClick, 6);
    QTest::mouseClick(about.ui.Label6, Qt::LeftButton);
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(opened.size(), 1);
    QTest::mouseClick(about.ui.Label9, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    SetShellOpenHandler(nullptr);
}

TEST(Start, SplashThenDatabaseThenTheMainWindow)
{
    TestDataFolder folder;
    Dialogs().onModal([](QDialog& splash) {
        EXPECT_TRUE(qobject_cast<frmSplash*>(&splash));
        EXPECT_FALSE(DB) << "the splash comes before the database";
        return int(QDialog::Accepted);
    });
    ASSERT_EQ(Main({QStringLiteral("stivora"), folder.path()}, QStringLiteral("/usr/bin/stivora")), 0);
    ASSERT_TRUE(FormArticoli);
    EXPECT_TRUE(FormArticoli->isVisible());
    EXPECT_TRUE(DB);
    Dialogs().answer(vbYes);
    FormArticoli->ui.mnuUscita->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(FormArticoli);
    EXPECT_FALSE(DB);
}
