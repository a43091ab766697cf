#pragma once
// Caption files: the fixed texts of the layouts in the operator's language, read from
// Lang<Lingua>.txt in the data folder, one [SECTION] per layout family with KEY=VALUE lines.

#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>

// Caption by key; only the keys present are ever replaced.
using Captions = QMap<QString, QString>;

// Applies the entries of `section` in the file's text to `captions`. Lines end at CR or CR LF.
void ApplyCaptionText(const QString& text, const QString& section, Captions& captions);

// The caption file named by the Setup row's Lingua.
QString CaptionFilePath();
// Applies that file's `section`; a missing or unreadable file leaves the captions as they are.
void LoadCaptions(const QString& section, Captions& captions);

// Text of a file: UTF-16 (LE or BE) when it starts with its byte-order mark, else UTF-8 when it is
// valid UTF-8, else Windows-1252. No value when the bytes are no text in these (a UTF-16 body cut
// in the middle of a character, a NUL character).
std::optional<QString> DecodeText(const QByteArray& bytes);
// The same, with no text at all for bytes that are none.
QString DecodeTextFile(const QByteArray& bytes);
