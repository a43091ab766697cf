#pragma once
// Requests a check of the print refused: the refusal was shown once, and the request stays in its
// table, passed over until the program starts again or its row changes, so the requests behind it
// are printed.

#include <QString>

#include <map>
#include <utility>

class Recordset;

class SetAsideRequests {
public:
    // `fingerprint` stands for the row's values as they were refused.
    void add(const QString& table, qint64 id, const QString& fingerprint) { rows_[{table, id}] = fingerprint; }
    bool contains(const QString& table, qint64 id, const QString& fingerprint) const;

private:
    std::map<std::pair<QString, qint64>, QString> rows_;
};

// Every column of the current row, so that a row changed in any of them is another request.
QString RowFingerprint(const Recordset& rs);
