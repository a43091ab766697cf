#include "passive/SetAsideRequests.h"

#include "core/db/Recordset.h"

bool SetAsideRequests::contains(const QString& table, qint64 id, const QString& fingerprint) const
{
    const auto found = rows_.find({table, id});
    return found != rows_.end() && found->second == fingerprint;
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
