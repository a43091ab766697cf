#pragma once
// The one place the program reads the date and time of day: the fields, labels, lots, archive rows
// and the reading of two-digit years all take "now" from here, so they agree with each other.

#include <QDateTime>

QDateTime Now();
inline QDate Today() { return Now().date(); }

// Tests: from here on Now() answers this moment; an invalid moment gives the system clock back.
void SetNow(const QDateTime& moment);
