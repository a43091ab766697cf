#pragma once
// Turns the program's SQL texts, written in the original engine's dialect, into SQLite SQL with
// every literal value pulled out as a bound parameter.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

struct TranslatedSql {
    QString sql;
    QVector<QVariant> params;
    QStringList tokens; // the translated text split into words, symbols and "?" markers
};

// String literals ('…' with '' inside, or "…"), date literals (#m/d/y#) and numbers become parameters;
// "*" and "?" in LIKE patterns become "%" and "_"; "TOP n" becomes "LIMIT n"; [name] becomes "name";
// "&" concatenates; True and False become 1 and 0. Throws AppError on an unterminated literal.
TranslatedSql TranslateJetSql(const QString& jetSql);

// For a single-table SELECT: the table and the select list, so that rows can be addressed by rowid.
struct SingleTableSelect {
    QString table;      // as written
    QString selectList; // translated, e.g. "*"
    QString rest;       // translated text after the table name (WHERE …, ORDER BY …, LIMIT …)
    int paramsInSelectList = 0;
};
bool ParseSingleTableSelect(const TranslatedSql& sql, SingleTableSelect& out);
