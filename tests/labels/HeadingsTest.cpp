// Logo headings: the heading folder, its list, and the logo files a pick overwrites.
#include "labels/Headings.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "core/Utility.h"
#include "core/frmArticoli.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

class HeadingsTest : public ::testing::Test {
protected:
    QString folder() const { return PathJoin(data.path(), QStringLiteral("Intestazioni")); }

    static void write(const QString& path, const QByteArray& content)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static QByteArray read(const QString& path)
    {
        QFile f(FindFile(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray logo(const char* name) const { return read(PathJoin(data.path(), QString::fromLatin1(name))); }
    void heading(const char* name, const QByteArray& content) const
    {
        QDir().mkpath(folder());
        write(PathJoin(folder(), QString::fromLatin1(name)), content);
    }

    TestDataFolder data{false};
};

TEST_F(HeadingsTest, ANewDataFolderGetsTheCurrentLogosAsDefault)
{
    write(PathJoin(data.path(), QStringLiteral("LOGO.BMP")), "small");
    write(PathJoin(data.path(), QStringLiteral("logo2.bmp")), "large");
    PrepareHeadingFolder(folder(), data.path());
    EXPECT_EQ(read(PathJoin(folder(), QStringLiteral("Default.BMP"))), QByteArray("small"));
    EXPECT_EQ(read(PathJoin(folder(), QStringLiteral("Default2.BMP"))), QByteArray("large"));
    EXPECT_EQ(HeadingNames(folder()), QStringList{QStringLiteral("Default")});

    // A folder with files is left alone.
    write(PathJoin(data.path(), QStringLiteral("LOGO.BMP")), "changed");
    PrepareHeadingFolder(folder(), data.path());
    EXPECT_EQ(read(PathJoin(folder(), QStringLiteral("Default.BMP"))), QByteArray("small"));
}

TEST_F(HeadingsTest, AnEmptyFolderWithoutLogosStaysWithoutHeadings)
{
    QDir().mkpath(folder());
    PrepareHeadingFolder(folder(), data.path());
    EXPECT_TRUE(HeadingNames(folder()).isEmpty());
    EXPECT_TRUE(HeadingNames(PathJoin(data.path(), QStringLiteral("Missing"))).isEmpty());
}

TEST_F(HeadingsTest, LargePicturesAreNoHeadingsOfTheirOwn)
{
    heading("Linea.bmp", "linea");
    heading("Linea2.bmp", "linea large");
    heading("Cliente.BMP", "cliente");
    heading("Reparto2.bmp", "reparto");
    heading("note.txt", "not a picture");
    EXPECT_EQ(HeadingNames(folder()), (QStringList{QStringLiteral("Cliente"), QStringLiteral("Linea")}));
}

TEST_F(HeadingsTest, APickOverwritesTheLogosWhateverTheirLetterCase)
{
    heading("Linea.bmp", "linea");
    heading("LINEA2.BMP", "linea large");
    heading("Cliente.BMP", "cliente");
    write(PathJoin(data.path(), QStringLiteral("logo.bmp")), "old small");
    write(PathJoin(data.path(), QStringLiteral("LOGO2.BMP")), "old large");

    ApplyHeading(folder(), QStringLiteral("Linea"), data.path());
    EXPECT_EQ(logo("LOGO.BMP"), QByteArray("linea"));
    EXPECT_EQ(logo("LOGO2.BMP"), QByteArray("linea large"));
    // One file per logo: the existing lower-case one was overwritten, not doubled.
    EXPECT_EQ(QDir(data.path()).entryList({QStringLiteral("logo*.bmp")}, QDir::Files).size(), 2);

    ApplyHeading(folder(), QStringLiteral("Cliente"), data.path());
    EXPECT_EQ(logo("LOGO.BMP"), QByteArray("cliente"));
    EXPECT_EQ(logo("LOGO2.BMP"), QByteArray("linea large"));

    ApplyHeading(folder(), QStringLiteral("Sparita"), data.path());
    EXPECT_EQ(logo("LOGO.BMP"), QByteArray("cliente"));
    EXPECT_TRUE(QDir(data.path()).entryList({QStringLiteral("*.part")}, QDir::Files).isEmpty());
}

TEST_F(HeadingsTest, TheWindowListsHeadingsAtLoadAndOnADoubleClick)
{
    TestDataFolder withDb;
    CartellaDati = withDb.path();
    ModoInterattivo = true;
    ASSERT_TRUE(ApriDatabase());
    const QString dir = PathJoin(CartellaDati, QStringLiteral("Intestazioni"));
    write(PathJoin(CartellaDati, QStringLiteral("LOGO.BMP")), "small");
    {
        frmArticoli window;
        window.Form_Load();
        ASSERT_EQ(window.ui.cmbIntestazione->count(), 1);
        EXPECT_EQ(window.ui.cmbIntestazione->currentText(), QStringLiteral("Default"));

        write(PathJoin(dir, QStringLiteral("Alfa.bmp")), "alfa");
        write(PathJoin(dir, QStringLiteral("Alfa2.bmp")), "alfa large");
        QTest::mouseDClick(window.ui.labIntestazione_0, Qt::LeftButton);
        ASSERT_EQ(window.ui.cmbIntestazione->count(), 2);
        // The first heading became the logo.
        EXPECT_EQ(read(PathJoin(CartellaDati, QStringLiteral("LOGO.BMP"))), QByteArray("alfa"));
        EXPECT_EQ(read(PathJoin(CartellaDati, QStringLiteral("LOGO2.BMP"))), QByteArray("alfa large"));

        window.ui.cmbIntestazione->setCurrentIndex(1);
        emit window.ui.cmbIntestazione->activated(1);
        EXPECT_EQ(read(PathJoin(CartellaDati, QStringLiteral("LOGO.BMP"))), QByteArray("small"));
        EXPECT_EQ(read(PathJoin(CartellaDati, QStringLiteral("LOGO2.BMP"))), QByteArray("alfa large"));
    }
    CloseDatabase();
}

} // namespace
