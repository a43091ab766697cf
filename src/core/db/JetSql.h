#pragma once
// Turns the program's SQL texts, written in the original engine's dialect, into SQLite SQL with
// every literal value pulled out as a bound parameter.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <vector>

struct TranslatedSql {
    QString sql;
    QVector<QVariant> params;
    QStringList tokens; // the translated text split into words, symbols and "?" markers
};

// The escape character of translated LIKE patterns.
inline constexpr QChar kLikeEscape = u'\\';
// The case fold of Unicode text, a function the program's own connection provides (see Database).
inline constexpr char kCaseFoldFunction[] = "stivora_casefold";

// String literals ('…' with '' inside, or "…"), date literals (#m/d/y#) and numbers become parameters;
// "*" and "?" in LIKE patterns become "%" and "_", any other "%", "_" stands for itself; "TOP n"
// becomes "LIMIT n"; [name] becomes "name"; "&" concatenates; True and False become 1 and 0. A text
// compared ("=", "<>", LIKE) with a literal holding a non-ASCII letter is compared case-folded, as the
// original engine compares every letter without case. Throws AppError on an unterminated literal.
TranslatedSql TranslateJetSql(const QString& jetSql);

// The parts of a plain SELECT (no DISTINCT, grouping, aggregate, outer join or compound), so that
// its rows can be walked by the search on their order and keys.
struct SelectParts {
    struct OrderTerm {
        QString expr;
        bool desc = false;
    };
    QString selectList; // translated, e.g. "*"
    QString from;       // the FROM clause without the word FROM
    QStringList tables; // each table as written, and how the query names it (its alias or itself)
    QStringList names;
    QString where;      // the WHERE condition, empty when none
    std::vector<OrderTerm> orderBy;
    QString limit;      // the LIMIT count, empty when none
    // Bound values of each part, in the text's order.
    QVector<QVariant> selectParams, fromParams, whereParams;
};
bool ParseSelect(const TranslatedSql& sql, SelectParts& out);
