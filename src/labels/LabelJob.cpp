#include "labels/LabelJob.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/ui/Dialogs.h"

namespace {

QString padded(int value, int width) { return PadLeft(QString::number(value), width, QStringLiteral("0")); }

QString lastDigits(int year, int n) { return QString::number(year).right(n); }

} // namespace

QDateTime CalcolaScadenza(const QDateTime& production, int count, int unit, int rule)
{
    // Calendar arithmetic on the wall-clock value: a daylight-saving change moves no expiry.
    const QDateTime start(production.date(), production.time(), Qt::UTC);
    QDateTime expiry;
    switch (unit) {
    case 0: expiry = start.addSecs(qint64(count) * 3600); break;
    case 1: expiry = start.addDays(count); break;
    case 2: expiry = start.addDays(qint64(count) * 7); break;
    case 3: expiry = start.addMonths(count); break;
    case 4: expiry = start.addYears(count); break;
    default: expiry = QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC); break; // no unit: the zero date, then the rule
    }
    const QDate d = expiry.date();
    const QDate firstOfNext = d.month() == 12 ? QDate(d.year() + 1, 1, 1) : QDate(d.year(), d.month() + 1, 1);
    switch (rule) {
    case 1: return QDateTime(firstOfNext.addDays(-1), QTime(0, 0));
    case 2:
    case 4: return QDateTime(firstOfNext, QTime(0, 0));
    case 3: return QDateTime(QDate(d.year(), d.month(), 1), QTime(0, 0));
    default: return QDateTime(d, expiry.time());
    }
}

QString ComponiLotto(const QString& mask, const QDateTime& production, const QDateTime& expiry)
{
    const QDate p = production.date();
    const QTime t = production.time();
    const QDate e = expiry.date();
    const QString shift = (t.hour() >= 12 && t.second() > 0) ? QStringLiteral("1") : QStringLiteral("0");
    const std::pair<const char*, QString> tokens[] = {
        {"dd", padded(p.day(), 2)},
        {"mm", padded(p.month(), 2)},
        {"hh", padded(t.hour(), 2)},
        {"nn", padded(t.minute(), 2)},
        {"ss", padded(t.second(), 2)},
        {"ggg", padded(p.dayOfYear(), 3)},
        {"t", shift},
        {"aaaa", padded(p.year(), 4)},
        {"aaa", lastDigits(p.year(), 3)},
        {"aa", lastDigits(p.year(), 2)},
        {"a", lastDigits(p.year(), 1)},
        {"d2", padded(e.day(), 2)},
        {"m2", padded(e.month(), 2)},
        {"ooo", padded(e.dayOfYear(), 3)},
        {"yyyy", padded(e.year(), 4)},
        {"yyy", lastDigits(e.year(), 3)},
        {"yy", lastDigits(e.year(), 2)},
        {"y", lastDigits(e.year(), 1)},
    };
    QString lot = mask;
    for (const auto& [token, value] : tokens) lot = ReplaceAll(lot, QString::fromLatin1(token), value);
    return lot;
}

QString ProductionText(const QDateTime& production, bool withDate, bool withTime)
{
    if (withDate && withTime) return FormatDate(production, QStringLiteral("dd.mm.yyyy    hh:nn"));
    if (withDate) return FormatDate(production, QStringLiteral("dd.mm.yyyy"));
    if (withTime) return FormatDate(production, QStringLiteral("hh:nn"));
    return {};
}

QString ExpiryText(const QDateTime& expiry, int rule)
{
    if (rule == 3 || rule == 4) return NomiMesi[size_t(expiry.date().month())] + u' ' + QString::number(expiry.date().year());
    return FormatDate(expiry, QStringLiteral("dd.mm.yyyy"));
}

std::optional<JobRefusal> CheckLabelJob(const LabelJobFields& f)
{
    const auto refuse = [](const char* text, int icon) { return JobRefusal{QString::fromUtf8(text), icon}; };
    if (f.ora.trimmed().isEmpty() || !ReadDateTime(QStringLiteral("01/01/2000"), f.ora))
        return refuse("Ora di produzione errata.", vbInformation);
    if (f.lotto.trimmed().isEmpty()) return refuse("Il lotto non può essere nullo.", vbCritical);
    if (!ReadDateTime(f.data)) return refuse("La data di produzione non è valida.", vbCritical);
    if (NumericValue(f.copie) < 1) return refuse("La quantità non può essere nulla.", vbCritical);
    return std::nullopt;
}

ProductLife ProductLifeOf(const QVariant& durata, const QVariant& unita)
{
    const auto number = [](const QVariant& v) -> std::optional<double> {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        if (v.isNull() || !ok) return std::nullopt;
        return d;
    };
    const auto count = number(durata);
    const auto unit = number(unita);
    return {count ? GeneralNumber(*count) : QString(), unit ? QString::number(qint64(*unit)) : QString()};
}

QString ProductLifeRefusal(const QString& sigla, const QString& durata, const QString& unita)
{
    if (durata.isEmpty() || unita.isEmpty())
        return QStringLiteral("L'articolo %1 non ha una durata del prodotto valida: correggerla prima di stampare.").arg(sigla);
    const int unit = unita.toInt();
    if (unit < 0 || unit > 4)
        return QStringLiteral("L'articolo %1 ha un'unità di durata non valida (%2): deve essere tra 0 (ore) e 4 (anni).").arg(sigla, unita);
    return {};
}
