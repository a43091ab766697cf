#include "core/Formats.h"

#include "core/Clock.h"

#include <QLocale>

#include <cmath>

namespace {

QString two(int v) { return QString::number(v).rightJustified(2, u'0').right(2); }

int YearOfTwoDigits(int twoDigits)
{
    // GS1's window, as a scanner reads (11) and (15): from 49 years back to 50 ahead, so a year
    // exactly 50 away either way is the future one.
    const int today = Today().year();
    int year = today - today % 100 + twoDigits;
    if (year > today + 50) year -= 100;
    else if (year < today - 49) year += 100;
    return year;
}

} // namespace

QString FormatDate(const QDateTime& value, const QString& format)
{
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    for (int i = 0; i < format.size();) {
        const QStringView rest = QStringView(format).mid(i);
        if (rest.startsWith(u"yyyy")) {
            out += QString::number(d.year()).rightJustified(4, u'0');
            i += 4;
        } else if (rest.startsWith(u"dd")) {
            out += two(d.day());
            i += 2;
        } else if (rest.startsWith(u"mm")) {
            out += two(d.month());
            i += 2;
        } else if (rest.startsWith(u"yy")) {
            out += two(d.year() % 100);
            i += 2;
        } else if (rest.startsWith(u"hh")) {
            out += two(t.hour());
            i += 2;
        } else if (rest.startsWith(u"nn")) {
            out += two(t.minute());
            i += 2;
        } else if (rest.startsWith(u"ss")) {
            out += two(t.second());
            i += 2;
        } else {
            out += format[i++];
        }
    }
    return out;
}

double NumericValue(const QString& text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    QString digits;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) digits += text[i++];
    if (i < n && text[i] == u'.') {
        digits += u'.';
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) digits += text[i++];
    }
    bool ok = false;
    double v = digits.toDouble(&ok);
    if (!ok) return 0;
    return negative ? -v : v;
}

double DecimalValue(const QString& text)
{
    QString t = text;
    return NumericValue(t.replace(u',', u'.'));
}

QString GeneralNumber(double value)
{
    QString s = QString::number(value, 'g', 15);
    if (s.contains(u'e')) s = QString::number(value, 'f', 10);
    if (s.contains(u'.')) {
        while (s.endsWith(u'0')) s.chop(1);
        if (s.endsWith(u'.')) s.chop(1);
    }
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s.replace(u'.', QLocale::system().decimalPoint());
}

std::optional<QDateTime> ReadDateTime(const QString& dateText, const QString& timeText)
{
    auto parts = [](const QString& text) {
        QStringList out;
        QString cur;
        for (QChar c : text.trimmed()) {
            if (c.isDigit()) {
                cur += c;
            } else {
                if (cur.isEmpty()) return QStringList();
                out << cur;
                cur.clear();
            }
        }
        if (!cur.isEmpty()) out << cur;
        return out;
    };
    const QStringList d = parts(dateText);
    // No label or archive row states a year of five digits.
    if (d.size() != 3 || d[2].size() > 4) return std::nullopt;
    const int year = d[2].size() <= 2 ? YearOfTwoDigits(d[2].toInt()) : d[2].toInt();
    const QDate date(year, d[1].toInt(), d[0].toInt());
    if (!date.isValid()) return std::nullopt;
    QTime time(0, 0);
    if (!timeText.trimmed().isEmpty()) {
        const QStringList t = parts(timeText);
        if (t.size() < 2 || t.size() > 3) return std::nullopt;
        time = QTime(t[0].toInt(), t[1].toInt(), t.size() == 3 ? t[2].toInt() : 0);
        if (!time.isValid()) return std::nullopt;
    }
    return QDateTime(date, time);
}
