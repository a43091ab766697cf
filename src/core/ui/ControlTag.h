#pragma once
// The free text a control carries besides its value (the key of the chosen record, a unit code).

#include <QObject>
#include <QString>
#include <QVariant>

inline QString Tag(const QObject* control) { return control->property("Tag").toString(); }
inline void SetTag(QObject* control, const QString& tag) { control->setProperty("Tag", tag); }
