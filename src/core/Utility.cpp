#include "core/Utility.h"

#include "core/db/Database.h"
#include "core/db/Recordset.h"
#include "core/ui/Dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <QWidget>

#include <algorithm>

namespace {

std::function<bool(const QString&)>& shellHandler()
{
    static std::function<bool(const QString&)> handler;
    return handler;
}

bool hasWildcard(const QString& s) { return s.contains(u'*') || s.contains(u'?'); }

// The entry of a folder whose name equals the given one without regard to case. Folders on the way
// may be hidden (~/.local/share); only a hidden file is passed over, as a directory search does.
QString matchEntry(const QString& folder, const QString& name, QDir::Filters filters)
{
    const bool files = filters & QDir::Files;
    const QString exact = QDir(folder).filePath(name);
    QFileInfo fi(exact);
    if (files ? fi.isFile() && !fi.isHidden() : fi.isDir()) return exact;
    const QStringList entries = QDir(folder).entryList(filters | QDir::NoDotAndDotDot | (files ? QDir::Filters() : QDir::Hidden), QDir::Name);
    const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(name), QRegularExpression::CaseInsensitiveOption);
    for (const QString& e : entries)
        if (hasWildcard(name) ? wildcard.match(e).hasMatch() : e.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(e);
    return {};
}

} // namespace

QString PathJoin(const QString& folder, const QString& name)
{
    QString joined;
    const bool a = folder.endsWith(u'/');
    const bool b = name.startsWith(u'/');
    if (a && b) joined = folder + name.mid(1);
    else if (a || b) joined = folder + name;
    else joined = folder + u'/' + name;
    return joined.trimmed();
}

QString FindFile(const QString& path)
{
    if (path.isEmpty()) return {};
    const QString clean = QDir::cleanPath(path);
    QFileInfo direct(clean);
    if (!hasWildcard(direct.fileName()) && direct.isFile() && !direct.isHidden()) return clean;
    // Walk the path from its root, matching each part without regard to case.
    QStringList parts = clean.split(u'/');
    QString current = clean.startsWith(u'/') ? QStringLiteral("/") : QStringLiteral(".");
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part == QLatin1String(".")) continue;
        const bool last = i == parts.size() - 1;
        QString next = matchEntry(current, part, last ? QDir::Files : QDir::Dirs);
        if (next.isEmpty()) return {};
        current = next;
    }
    return current;
}

bool FileExists(const QString& path) { return !FindFile(path).isEmpty(); }

bool FolderHasFiles(const QString& folder) { return FileExists(PathJoin(folder, QStringLiteral("*"))); }

void DeleteFileQuiet(const QString& path)
{
    // Every match of a wildcard goes, as a directory search would find them.
    for (QString f = FindFile(path); !f.isEmpty(); f = FindFile(path))
        if (!QFile::remove(f)) return;
}

QString PadLeft(const QString& s, int width, const QString& fill)
{
    if (s.size() > width) return s.left(width);
    return QString(width - s.size(), fill.isEmpty() ? QChar(u' ') : fill[0]) + s;
}

QString TrimBlanks(const QString& s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s[from] == u' ') ++from;
    while (to > from && s[to - 1] == u' ') --to;
    return s.mid(from, to - from);
}

QString PadRight(const QString& s, int width, const QString& fill)
{
    if (s.size() > width) return s.left(width);
    return s + QString(width - s.size(), fill.isEmpty() ? QChar(u' ') : fill[0]);
}

QString ReplaceAll(const QString& source, const QString& find, const QString& replacement)
{
    if (find.isEmpty()) return source;
    QString out;
    int from = 0;
    for (int at = source.indexOf(find, from, Qt::CaseSensitive); at >= 0; at = source.indexOf(find, from, Qt::CaseSensitive)) {
        out += QStringView(source).mid(from, at - from);
        out += replacement;
        from = at + find.size();
    }
    out += QStringView(source).mid(from);
    return out;
}

QString NzStr(const QVariant& value)
{
    if (value.isNull() || !value.isValid()) return QString();
    return value.toString();
}

QString SqlQuote(const QString& text) { return ReplaceAll(text, QStringLiteral("'"), QStringLiteral("''")); }

QString CheckDigitMod10(const QString& digits)
{
    int odd = 0, even = 0;
    for (int i = 0; i < digits.size(); ++i) {
        const QChar c = digits[i];
        const int v = (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : 0;
        if (i % 2 == 0) odd += v;
        else even += v;
    }
    const int total = digits.size() == 12 ? 3 * even + odd : 3 * odd + even;
    const int r = total % 10;
    return QString::number(r == 0 ? 0 : 10 - r);
}

QString AppendCheckDigit(const QString& digits) { return digits + CheckDigitMod10(digits); }

bool IsDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool IsEan13(const QString& code) { return code.size() == 13 && IsDigits(code) && CheckDigitMod10(code.left(12)) == code.right(1); }

int NumericKeyFilter(int keyAscii, const QString& currentText)
{
    if (keyAscii >= '0' && keyAscii <= '9') return keyAscii;
    // "12,5" typed means twelve and a half: the field keeps the point the numbers are read with.
    if (keyAscii == '.' || keyAscii == ',') return currentText.contains(u'.') ? 0 : '.';
    if (keyAscii == 8 || keyAscii == 9) return keyAscii;
    return 0;
}

bool ActivateForm(const QString& caption)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowTitle() != caption) continue;
        if (w->isMinimized()) w->showNormal();
        w->raise();
        w->activateWindow();
        return true;
    }
    return false;
}

bool ShellOpen(const QString& target)
{
    if (shellHandler()) return shellHandler()(target);
    const QUrl url = QFileInfo(target).exists() ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    return QDesktopServices::openUrl(url);
}

void SetShellOpenHandler(std::function<bool(const QString&)> handler) { shellHandler() = std::move(handler); }

void CommitAndRefresh(Recordset& rs)
{
    try {
        rs.MoveFirst();
    } catch (const AppError&) {
    }
}

void ShowDBErrors(const Database& db)
{
    for (const DbError& e : db.Errors()) MsgBox(QStringLiteral("Errore: ") + e.description, vbExclamation, QStringLiteral("Errore"));
}
