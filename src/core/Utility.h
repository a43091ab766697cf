#pragma once
// Small procedures shared by every part of the program.

#include <QString>
#include <QVariant>

#include <functional>

class Recordset;
class Database;
class QWidget;

// Joins a folder and a name with exactly one "/"; the result is trimmed of blanks.
QString PathJoin(const QString& folder, const QString& name);

// The file a path names, found without regard to letter case in every part of the path
// (LOGO.BMP and logo.bmp are one file); the last part may hold the wildcards * and ?.
// Only ordinary, non-hidden files count. Empty when there is none.
QString FindFile(const QString& path);
bool FileExists(const QString& path);
bool FolderHasFiles(const QString& folder);
void DeleteFileQuiet(const QString& path);

QString PadLeft(const QString& s, int width, const QString& fill);
QString PadRight(const QString& s, int width, const QString& fill);
// Drops blanks at both ends; a tab is part of the text (lines of the program's text files).
QString TrimBlanks(const QString& s);
QString ReplaceAll(const QString& source, const QString& find, const QString& replacement);
QString NzStr(const QVariant& value);
QString SqlQuote(const QString& text);

QString CheckDigitMod10(const QString& digits);
QString AppendCheckDigit(const QString& digits);
// Not empty and nothing but "0" to "9".
bool IsDigits(const QString& text);
// Thirteen digits whose last is the check digit of the other twelve.
bool IsEan13(const QString& code);

// Key filter of decimal fields: digits, one decimal separator, backspace and tab pass; a comma is
// taken as the point; any other key becomes 0.
int NumericKeyFilter(int keyAscii, const QString& currentText);

// Brings the first loaded window with exactly this caption to the front, restoring it when minimised.
bool ActivateForm(const QString& caption);
inline bool TryActivateForm(const QString& caption) { return ActivateForm(caption); }

// Opens a document or link with the desktop's default application.
bool ShellOpen(const QString& target);
// Tests replace the desktop with a recorder; nullptr restores it.
void SetShellOpenHandler(std::function<bool(const QString&)> handler);

// Pending writes are already visible to other connections once a statement commits, so this only
// moves the recordset to its first row, ignoring every error.
void CommitAndRefresh(Recordset& rs);

// One message per error of the engine's last failed operation.
void ShowDBErrors(const Database& db);
