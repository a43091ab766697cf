#include "core/Startup.h"

#include "core/AppEx.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/frmArticoli.h"
#include "core/frmSplash.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/Dialogs.h"

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTime>

namespace {

// The first non-digit among the first five characters, else the fifth. A blank or a letter (a
// format that spells the month, as the C locale does) is no field separator: the default stays.
QString separatorOf(const QString& text, const QString& fallback)
{
    const QString head = text.left(5);
    QChar found;
    for (QChar c : head)
        if (!c.isDigit()) {
            found = c;
            break;
        }
    if (found.isNull() && head.size() == 5) found = head[4];
    return found.isNull() || found.isSpace() || found.isLetter() ? fallback : QString(found);
}

struct TableRecordset {
    const char* table;
    std::unique_ptr<Recordset>* global;
};

const TableRecordset kTables[] = {
    {"Setup", &rsSetup},
    {"Articoli", &rsArticoli},
    {"ExportTestate", &rsExportTestate},
    {"ExportRighe", &rsExportRighe},
    {"AppTestate", &rsAppTestate},
    {"AppRighe", &rsAppRighe},
    {"DDTTestate", &rsDDTTestate},
    {"DDTRighe", &rsDDTRighe},
    {"RichiesteTestate", &rsRichiesteTestate},
    {"RichiesteRighe", &rsRichiesteRighe},
    {"RichiesteImballi", &rsRichiesteImballi},
};

void createFolder(const QString& folder)
{
    if (!AppEx.FSPresent(folder)) MakeFolder(folder, 75, QStringLiteral("Avvio"));
}

// A database the program cannot write would open, then lose the operator's settings at exit; a
// Setup table without its row leaves nothing to print with. Both are found now by a change that is
// rolled back: the engine writes only what differs, so the change must differ.
void checkWritableSetup(Database& db)
{
    int rows = 0;
    try {
        db.BeginTrans();
        rows = db.ExecuteNative(QStringLiteral("UPDATE Setup SET contatore = contatore + 1"));
    } catch (const AppError& e) {
        db.Rollback();
        throw AppError(e.number(), e.source(),
                       QStringLiteral("Database STIVORA.MDB non disponibile/errato!\n\nIl database non si può modificare: ") + e.description());
    }
    db.Rollback();
    if (rows == 0)
        throw AppError(3021, QStringLiteral("Avvio"),
                       QStringLiteral("La tabella Setup del database STIVORA.MDB è vuota: il programma non può partire senza le impostazioni."));
}

} // namespace

void DateFormatProbe(QString& sep, const QLocale& locale)
{
    sep = separatorOf(locale.toString(QDate(1958, 8, 25), QLocale::ShortFormat), sep);
}

void TimeFormatProbe(QString& sep, const QLocale& locale)
{
    sep = separatorOf(locale.toString(QTime::currentTime(), QLocale::ShortFormat), sep);
}

void BuildDateTimeFormats(const QLocale& locale)
{
    QString d = QStringLiteral("/");
    DateFormatProbe(d, locale);
    FormatoData = QStringLiteral("dd") + d + QStringLiteral("mm") + d + QStringLiteral("yy");
    MascheraData = QStringLiteral("##") + d + QStringLiteral("##") + d + QStringLiteral("##");
    QString t = QStringLiteral(":");
    TimeFormatProbe(t, locale);
    FormatoOra = QStringLiteral("hh") + t + QStringLiteral("nn");
    MascheraOra = QStringLiteral("##") + t + QStringLiteral("##");
}

QStringList SplitCommandLine(const QString& commandLine, int maxArgs)
{
    QStringList args{QString()};
    bool inside = false;
    for (QChar c : commandLine) {
        if (c == u' ' || c == u'\t') {
            inside = false;
            continue;
        }
        if (!inside) {
            if (args.size() - 1 == maxArgs) break;
            args << QString();
            inside = true;
        }
        args.last() += (c == QChar(0x2030)) ? QChar(u' ') : c;
    }
    return args;
}

QString ChooseDataFolder(const QStringList& args, const QString& executablePath)
{
    if (args.size() > 1) return args[1];
    QString folder = AppEx.Path(35, true, 0) + QStringLiteral("/KVR");
    createFolder(folder);
    folder += u'/' + QFileInfo(executablePath).completeBaseName();
    createFolder(folder);
    if (!FileExists(PathJoin(folder, QStringLiteral("stivora.mdb")))) folder = QFileInfo(executablePath).absolutePath();
    return folder;
}

std::unique_ptr<QTranslator> InstallQtTranslations()
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

void FillMonthNames()
{
    const char* names[] = {"Gennaio", "Febbraio", "Marzo",     "Aprile",  "Maggio",   "Giugno",
                           "Luglio",  "Agosto",   "Settembre", "Ottobre", "Novembre", "Dicembre"};
    for (int m = 1; m <= 12; ++m) NomiMesi[size_t(m)] = QString::fromLatin1(names[m - 1]);
}

void MostraDatabaseErrato(const AppError& error)
{
    MsgBox(QStringLiteral("Database STIVORA.MDB non disponibile/errato!\n\n") + error.description(), vbCritical | vbOKOnly,
           QStringLiteral("Errore"));
}

bool ApriDatabase()
{
    PercorsoDB = PathJoin(CartellaDati, QStringLiteral("stivora.mdb"));
    try {
        // The file is found without regard to letter case, and every later connection opens the
        // file that was opened here (STIVORA.MDB, not a stivora.mdb that is not there).
        if (const QString file = FindFile(PercorsoDB); !file.isEmpty()) PercorsoDB = file;
        DB = Database::Open(PercorsoDB);
        for (const auto& t : kTables) *t.global = DB->OpenRecordset(QString::fromLatin1(t.table));
    } catch (const AppError& e) {
        CloseDatabase();
        MostraDatabaseErrato(e);
        return false;
    }
    try {
        checkWritableSetup(*DB);
    } catch (const AppError& e) {
        CloseDatabase();
        MsgBox(e.description(), vbCritical | vbOKOnly, QStringLiteral("Errore"));
        return false;
    }
    return true;
}

void CloseDatabase()
{
    for (auto* rs : {&rsSetup, &rsArticoli, &rsExportTestate, &rsExportRighe, &rsAppTestate, &rsAppRighe, &rsRichiesteTestate,
                     &rsRichiesteRighe, &rsRichiesteImballi, &rsDDTTestate, &rsDDTRighe})
        rs->reset();
    DB.reset();
}

int Main(const QStringList& arguments, const QString& executablePath)
{
    BuildDateTimeFormats();
    const QStringList args = SplitCommandLine(arguments.mid(1).join(u' '));
    try {
        CartellaDati = ChooseDataFolder(args, executablePath);
    } catch (const AppError& e) {
        MsgBox(e.description(), vbCritical | vbOKOnly, QStringLiteral("Errore"));
        return 1;
    }
    ModoInterattivo = true;
    ModoFileRichiesta = false;
    {
        frmSplash splash;
        ShowModal(splash);
    }
    QCoreApplication::processEvents();
    FillMonthNames();
    RichiestaOK = false;
    WaitForLocksWhileWindowsPaint(std::chrono::seconds(10));
    if (!ApriDatabase()) return 1;
    // The window lives until it is closed; closing it ends the program. A database that fails it
    // at load ends the program as one that does not open: nothing shown, nothing written.
    auto* window = new frmArticoli;
    window->setAttribute(Qt::WA_DeleteOnClose);
    try {
        window->Form_Load();
    } catch (const AppError& e) {
        delete window;
        CloseDatabase();
        MostraDatabaseErrato(e);
        return 1;
    }
    QCoreApplication::processEvents();
    return 0;
}
