#pragma once
// Caption files: the fixed texts of the layouts in the operator's language, read from
// Lang<Lingua>.txt in the data folder, one [SECTION] per layout family with KEY=VALUE lines.

#include <QByteArray>
#include <QMap>
#include <QString>

// Caption by key; only the keys present are ever replaced.
using Captions = QMap<QString, QString>;

// Applies the entries of `section` in the file's text to `captions`. Lines end at CR or CR LF.
void ApplyCaptionText(const QString& text, const QString& section, Captions& captions);

// The caption file named by the Setup row's Lingua.
QString CaptionFilePath();
// Applies that file's `section`; a missing or unreadable file leaves the captions as they are.
void LoadCaptions(const QString& section, Captions& captions);

// Text of an 8-bit file: UTF-8 when it is valid UTF-8, otherwise Windows-1252.
QString DecodeTextFile(const QByteArray& bytes);
