#pragma once
// Text formats shared by every window and print: the date formatter, the numeric value of a
// text, the general number format and reading the date and time fields as a date.

#include <QDateTime>
#include <QString>

#include <optional>

// Tokens: dd, mm, yy, yyyy, hh (24-hour), nn, ss; any other character is copied.
QString FormatDate(const QDateTime& value, const QString& format);
inline QString FormatDate(const QDate& value, const QString& format) { return FormatDate(QDateTime(value, QTime(0, 0)), format); }

// The number formed by the text's leading digits and an optional "." with decimals; 0 when none.
double NumericValue(const QString& text);
// The same after every "," became "." (weights and margins may be typed with a decimal comma).
double DecimalValue(const QString& text);

// A number as the system shows it: no grouping, as many decimals as it has, the system's decimal separator.
QString GeneralNumber(double value);

// Reads a date text laid out as FormatoData (day, month, year of two or four digits) and an
// optional time text laid out as FormatoOra. Nothing when either cannot be read. A two-digit year
// is the year of its century nearest to today ("31" is 2031 in 2026, "99" is 1999).
std::optional<QDateTime> ReadDateTime(const QString& dateText, const QString& timeText = QString());
