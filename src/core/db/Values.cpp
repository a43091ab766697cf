#include "core/db/Values.h"

#include "core/db/AppError.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>

#include <sqlite3.h>

#include <cmath>

namespace {

const QString kSource = QStringLiteral("DAO.Field");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

[[noreturn]] void conversionError()
{
    throw AppError(3421, kSource, QStringLiteral("Data type conversion error."));
}

} // namespace

QDateTime ReadIsoDateTime(const QString& text)
{
    static const QRegularExpression iso(QStringLiteral(
        "^(\\d{4})-(\\d{2})-(\\d{2})(?:[T ](\\d{2}):(\\d{2})(?::(\\d{2})(?:[.,](\\d+))?)?(Z|[+-]\\d{2}(?::?\\d{2})?)?)?$"));
    const QRegularExpressionMatch m = iso.match(text.trimmed());
    if (!m.hasMatch()) return {};
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    // Beyond the milliseconds a fraction names no moment the program can keep.
    const QString fraction = (m.captured(7) + QStringLiteral("00")).left(3);
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), fraction.toInt());
    if (!date.isValid() || !time.isValid()) return {};
    const QString zone = m.captured(8);
    if (zone.isEmpty()) return QDateTime(date, time);
    // A moment written with its offset from UTC is the same moment on this machine's clock.
    int offset = 0;
    if (zone != QLatin1String("Z")) {
        const QString digits = zone.mid(1).remove(u':');
        const int minutes = digits.mid(2).toInt();
        offset = (digits.left(2).toInt() * 60 + minutes) * 60 * (zone[0] == u'-' ? -1 : 1);
        // An offset no place on earth has names no moment: it is not read as this machine's time.
        if (minutes > 59 || offset < QTimeZone::MinUtcOffsetSecs || offset > QTimeZone::MaxUtcOffsetSecs) return {};
    }
    return QDateTime(date, time, QTimeZone(offset)).toLocalTime();
}

ColumnType ParseColumnType(const QString& declaredType)
{
    const QString t = declaredType.trimmed().toUpper();
    ColumnType out;
    if (t.isEmpty()) return out;
    if (t.startsWith(QLatin1String("BOOL")) || t == QLatin1String("BIT") || t == QLatin1String("YESNO")) out.kind = ColumnKind::Boolean;
    else if (t.startsWith(QLatin1String("DATE")) || t == QLatin1String("TIME")) out.kind = ColumnKind::DateTime;
    else if (t.contains(QLatin1String("INT")) || t == QLatin1String("LONG") || t == QLatin1String("COUNTER")) out.kind = ColumnKind::Integer;
    else if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) || t.contains(QLatin1String("MEMO"))
             || t.contains(QLatin1String("CLOB"))) {
        out.kind = ColumnKind::Text;
        static const QRegularExpression width(QStringLiteral("\\((\\d+)\\)"));
        auto m = width.match(t);
        if (m.hasMatch()) out.width = m.captured(1).toInt();
    } else if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("FLOA"))
               || t.contains(QLatin1String("NUM")) || t.contains(QLatin1String("DEC")) || t.contains(QLatin1String("CURRENCY"))
               || t.contains(QLatin1String("SINGLE")))
        out.kind = ColumnKind::Real;
    return out;
}

QVariant ValueForColumn(const QVariant& value, const ColumnType& type, const QString& column)
{
    if (value.isNull() || !value.isValid()) return QVariant();
    const auto id = value.typeId();
    const bool isText = id == QMetaType::QString || id == QMetaType::QByteArray || id == QMetaType::QChar;
    switch (type.kind) {
    case ColumnKind::Boolean:
        if (isText) {
            const QString s = value.toString().trimmed();
            if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0) return 1;
            if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || s.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0) return 0;
            bool ok = false;
            double d = s.toDouble(&ok);
            if (!ok) conversionError();
            return d != 0 ? 1 : 0;
        }
        return value.toDouble() != 0 ? 1 : 0;
    case ColumnKind::Integer: {
        bool ok = false;
        double d = isText ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
        if (!ok) conversionError();
        if (id == QMetaType::Bool) d = value.toBool() ? -1 : 0;
        return qint64(std::llround(d));
    }
    case ColumnKind::Real: {
        bool ok = false;
        double d = isText ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
        if (!ok) conversionError();
        return d;
    }
    case ColumnKind::DateTime:
        if (id == QMetaType::QDateTime) return value.toDateTime().toString(kDateFormat);
        if (id == QMetaType::QDate) return QDateTime(value.toDate(), QTime(0, 0)).toString(kDateFormat);
        if (id == QMetaType::QTime) return QDateTime(QDate(1899, 12, 30), value.toTime()).toString(kDateFormat);
        if (isText) {
            QDateTime dt = ReadIsoDateTime(value.toString().trimmed());
            if (!dt.isValid()) conversionError();
            return dt.toString(kDateFormat);
        }
        conversionError();
    case ColumnKind::Text: {
        QString s = id == QMetaType::Bool ? (value.toBool() ? QStringLiteral("True") : QStringLiteral("False")) : value.toString();
        if (type.width > 0 && s.size() > type.width)
            throw AppError(3163, kSource,
                           QStringLiteral("The field '%1' is too small to accept the amount of data you attempted to add.").arg(column));
        return s;
    }
    case ColumnKind::Any: break;
    }
    return value;
}

int BindValue(sqlite3_stmt* stmt, int index, const QVariant& value)
{
    if (value.isNull() || !value.isValid()) return sqlite3_bind_null(stmt, index);
    switch (value.typeId()) {
    case QMetaType::Bool: return sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort: return sqlite3_bind_int64(stmt, index, value.toLongLong());
    case QMetaType::ULongLong: return sqlite3_bind_int64(stmt, index, qint64(value.toULongLong()));
    case QMetaType::Double:
    case QMetaType::Float: return sqlite3_bind_double(stmt, index, value.toDouble());
    case QMetaType::QDateTime: {
        QByteArray b = value.toDateTime().toString(kDateFormat).toUtf8();
        return sqlite3_bind_text(stmt, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    case QMetaType::QDate: {
        QByteArray b = QDateTime(value.toDate(), QTime(0, 0)).toString(kDateFormat).toUtf8();
        return sqlite3_bind_text(stmt, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    default: {
        QByteArray b = value.toString().toUtf8();
        return sqlite3_bind_text(stmt, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    }
}

QVariant ColumnValue(sqlite3_stmt* stmt, int column, ColumnKind kind)
{
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL) return QVariant();
    switch (kind) {
    case ColumnKind::Boolean: return sqlite3_column_int64(stmt, column) != 0;
    case ColumnKind::Integer:
        if (type == SQLITE_INTEGER) return qint64(sqlite3_column_int64(stmt, column));
        break;
    case ColumnKind::Real: return sqlite3_column_double(stmt, column);
    case ColumnKind::DateTime: {
        if (type != SQLITE_TEXT) break;
        QDateTime dt = ReadIsoDateTime(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                                         sqlite3_column_bytes(stmt, column)));
        if (dt.isValid()) return dt;
        break;
    }
    case ColumnKind::Text:
    case ColumnKind::Any: break;
    }
    switch (type) {
    case SQLITE_INTEGER: return qint64(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT: return sqlite3_column_double(stmt, column);
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)), sqlite3_column_bytes(stmt, column));
    }
}
