#pragma once
// The label job's derived values: expiry from the product life and the expiry rule, the lot code
// from its mask, and the production and expiry texts printed on the label.

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

// Units of the product life: 0 hours, 1 days, 2 weeks, 3 months, 4 years. Rules: 0 exact,
// 1 end of month, 2 start of next month, 3 first of the month, 4 first of next month.
QDateTime CalcolaScadenza(const QDateTime& production, int count, int unit, int rule);

// The mask with its eighteen tokens replaced, in order, from the production and expiry dates.
QString ComponiLotto(const QString& mask, const QDateTime& production, const QDateTime& expiry);

// "dd.mm.yyyy    hh:nn", the date alone, the time alone or nothing, by the two switches.
QString ProductionText(const QDateTime& production, bool withDate, bool withTime);

// "Marzo 2025" for the month-only rules 3 and 4, else "dd.mm.yyyy".
QString ExpiryText(const QDateTime& expiry, int rule);

// What the operator typed for a print run on the pallet tab.
struct LabelJobFields {
    QString ora;   // production time
    QString lotto;
    QString data;  // production date
    QString copie;
};

// A refused run: the message and its icon (title "Errore").
struct JobRefusal {
    QString message;
    int icon = 0;
};

// The first check of a run that fails, in the order the operator is told; nothing when it may start.
std::optional<JobRefusal> CheckLabelJob(const LabelJobFields& f);

// An article's product life as the print reads it: the count in the general number form and the
// unit as a whole number, each "" when its column is missing or not a number.
struct ProductLife {
    QString durata;
    QString unita;
};
ProductLife ProductLifeOf(const QVariant& durata, const QVariant& unita);

// Why no expiry can be computed from the article's product life (count and unit as text, "" when
// missing or not a number): a made-up one must not be printed. "" when it can.
QString ProductLifeRefusal(const QString& sigla, const QString& durata, const QString& unita);
