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
// optional time text laid out as FormatoOra. Nothing when either cannot be read, or when the year
// has more than four digits. A two-digit year is read by GS1's rule, from 49 years back to 50 ahead
// of today ("76" is 2076 in 2026, "77" is 1977).
std::optional<QDateTime> ReadDateTime(const QString& dateText, const QString& timeText = QString());
