#pragma once
// Start-up: the date and time formats of the system, the command line, the data folder, the
// database with its table recordsets.

#include "core/db/AppError.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>

// The separator the system's short date (or time) format puts after the first number; sep keeps its
// value when the probe finds none.
void DateFormatProbe(QString& sep, const QLocale& locale = QLocale::system());
void TimeFormatProbe(QString& sep, const QLocale& locale = QLocale::system());

// Sets FormatoData, MascheraData, FormatoOra and MascheraOra from the system's separators.
void BuildDateTimeFormats(const QLocale& locale = QLocale::system());

// Arguments at positions 1 to count (position 0 stays empty), at most maxArgs. Blanks and tabs
// separate; the per-mille sign stands for a blank inside an argument; quotes are ordinary characters.
QStringList SplitCommandLine(const QString& commandLine, int maxArgs = 10);

// The data folder: the first argument, or the shared application data folder + KVR + the program's
// name (both created) when it holds stivora.mdb, else the program's own folder.
QString ChooseDataFolder(const QStringList& args, const QString& executablePath);

void FillMonthNames();

// Qt's own texts (message box buttons, input boxes, the print dialog) in Italian, from Qt's
// translations folder. Null, changing nothing, when the translations are not installed.
std::unique_ptr<QTranslator> InstallQtTranslations();

// "Database STIVORA.MDB non disponibile/errato!" and the engine's reason.
void MostraDatabaseErrato(const AppError& error);

// Opens stivora.mdb in CartellaDati and the eleven table recordsets. On failure shows
// MostraDatabaseErrato and returns false, leaving nothing open.
bool ApriDatabase();
// Closes the recordsets, then the database.
void CloseDatabase();

// The program's entry after the application object exists: splash, database, main window.
// Returns the exit status of a failed start, 0 when the main window is up.
int Main(const QStringList& arguments, const QString& executablePath);
