#pragma once
// The program's version, from the build: major.minor.revision without leading zeros.

#include <QString>
#include <QVersionNumber>

inline QString ProgramVersion() { return QVersionNumber::fromString(QStringLiteral(STIVORA_VERSION)).toString(); }
