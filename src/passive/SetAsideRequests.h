#pragma once
// Requests passive mode could not print as they ask: each stays in its table with the reason it
// was refused, passed over while its row stays as it was, so that the requests behind it are
// printed. The operator drops one or sends it again from the window of set-aside requests. A
// request file refused whole is listed too, by where it was moved.

#include "labels/PrintTransaction.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <set>
#include <vector>

class Recordset;

struct SetAsideRequest {
    RequestKey key;
    QString fingerprint; // the row's values as they were refused
    QString reason;
    QByteArray file; // a refused request file: its path among the refused files, as bytes; "" for a row
};

class SetAsideRequests {
public:
    // Replaces an earlier entry of the same request.
    void add(const RequestKey& key, const QString& fingerprint, const QString& reason);
    // Set aside with these very values: a row changed since is another request.
    bool contains(const RequestKey& key, const QString& fingerprint) const;
    void remove(const RequestKey& key);
    void addFile(const QByteArray& file, const QString& reason);
    void removeFile(const QByteArray& file);
    // Entries of `table` whose rows are no longer there go.
    void keepOnly(const QString& table, const std::set<qint64>& ids);

    // In the order they were set aside.
    const std::vector<SetAsideRequest>& entries() const { return entries_; }
    // Called after every change of the list.
    void onChange(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    void changed();
    std::vector<SetAsideRequest> entries_;
    std::function<void()> listener_;
};

// Every column of the current row, so that a row changed in any of them is another request.
QString RowFingerprint(const Recordset& rs);
