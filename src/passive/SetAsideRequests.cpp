#include "passive/SetAsideRequests.h"

#include "core/db/Recordset.h"

#include <algorithm>

namespace {

bool same(const SetAsideRequest& e, const RequestKey& key) { return e.file.isEmpty() && e.key.id == key.id && e.key.table == key.table; }

} // namespace

void SetAsideRequests::add(const RequestKey& key, const QString& fingerprint, const QString& reason)
{
    std::erase_if(entries_, [&](const SetAsideRequest& e) { return same(e, key); });
    entries_.push_back({key, fingerprint, reason, {}});
    changed();
}

bool SetAsideRequests::contains(const RequestKey& key, const QString& fingerprint) const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const SetAsideRequest& e) { return same(e, key) && e.fingerprint == fingerprint; });
}

void SetAsideRequests::remove(const RequestKey& key)
{
    if (std::erase_if(entries_, [&](const SetAsideRequest& e) { return same(e, key); })) changed();
}

void SetAsideRequests::addFile(const QByteArray& file, const QString& reason)
{
    entries_.push_back({{}, {}, reason, file});
    changed();
}

void SetAsideRequests::removeFile(const QByteArray& file)
{
    if (std::erase_if(entries_, [&](const SetAsideRequest& e) { return e.file == file; })) changed();
}

void SetAsideRequests::keepOnly(const QString& table, const std::set<qint64>& ids)
{
    const auto gone = [&](const SetAsideRequest& e) { return e.file.isEmpty() && e.key.table == table && !ids.count(e.key.id); };
    if (std::erase_if(entries_, gone)) changed();
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
