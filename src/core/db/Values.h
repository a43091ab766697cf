#pragma once
// Conversions between the program's values and what SQLite stores, chosen by each column's
// declared type: BOOLEAN as 0/1, DATETIME as "yyyy-MM-dd HH:mm:ss" text, TEXT(n) of at most n
// characters.

#include <QDateTime>
#include <QString>
#include <QVariant>

struct sqlite3_stmt;

enum class ColumnKind { Any, Text, Integer, Real, Boolean, DateTime };

struct ColumnType {
    ColumnKind kind = ColumnKind::Any;
    int width = 0; // characters a text column holds; 0 for no limit
};

// A date alone or a date and time as ISO 8601 writes them: "T" or a blank between them, minutes with
// or without seconds, a fraction of a second, a "Z" or an offset from UTC of at most 14 hours (read
// as this machine's local time). Invalid for any other text.
QDateTime ReadIsoDateTime(const QString& text);

ColumnType ParseColumnType(const QString& declaredType);
inline ColumnKind ColumnKindOf(const QString& declaredType) { return ParseColumnType(declaredType).kind; }

// The value to store in a column of that type; throws AppError when it does not fit.
QVariant ValueForColumn(const QVariant& value, const ColumnType& type, const QString& column);

int BindValue(sqlite3_stmt* stmt, int index, const QVariant& value);
QVariant ColumnValue(sqlite3_stmt* stmt, int column, ColumnKind kind);
