#include "passive/SetAsideRequests.h"

#include "core/db/Recordset.h"

#include <algorithm>

namespace {

bool same(const RequestKey& a, const RequestKey& b) { return a.id == b.id && a.table == b.table; }

} // namespace

void SetAsideRequests::add(const RequestKey& key, const QString& fingerprint, const QString& reason)
{
    std::erase_if(entries_, [&](const SetAsideRequest& e) { return same(e.key, key); });
    entries_.push_back({key, fingerprint, reason});
    changed();
}

bool SetAsideRequests::contains(const RequestKey& key, const QString& fingerprint) const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const SetAsideRequest& e) { return same(e.key, key) && e.fingerprint == fingerprint; });
}

void SetAsideRequests::remove(const RequestKey& key)
{
    if (std::erase_if(entries_, [&](const SetAsideRequest& e) { return same(e.key, key); })) changed();
}

void SetAsideRequests::keepOnly(const QString& table, const std::set<qint64>& ids)
{
    if (std::erase_if(entries_, [&](const SetAsideRequest& e) { return e.key.table == table && !ids.count(e.key.id); })) changed();
}

void SetAsideRequests::changed()
{
    if (listener_) listener_();
}

QString RowFingerprint(const Recordset& rs)
{
    QString fingerprint;
    for (int i = 0; i < rs.FieldCount(); ++i) {
        const QVariant value = rs.Value(rs.FieldName(i));
        // A separator no column holds, and null told apart from empty.
        fingerprint += (value.isNull() ? QStringLiteral("\x1e") : value.toString()) + u'\x1f';
    }
    return fingerprint;
}
