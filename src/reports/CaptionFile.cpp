#include "reports/CaptionFile.h"

#include "core/Globals.h"
#include "core/Utility.h"

#include <QFile>
#include <QStringDecoder>

namespace {

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r') {
            line += text[i];
            continue;
        }
        lines.push_back(line);
        line.clear();
        if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    }
    if (!line.isEmpty()) lines.push_back(line);
    return lines;
}

} // namespace

void ApplyCaptionText(const QString& text, const QString& section, Captions& captions)
{
    const QString header = u'[' + section.toUpper() + u']';
    const QStringList lines = SplitLines(text);
    qsizetype i = 0;
    while (i < lines.size()) {
        if (TrimBlanks(lines[i++]).toUpper() != header) continue;
        while (i < lines.size()) {
            const QString line = TrimBlanks(lines[i++]);
            if (line.startsWith(u';')) continue;
            if (line.startsWith(u'[')) break; // ends the section; this line is not looked at again
            const qsizetype eq = line.indexOf(u'=');
            if (eq < 0) continue;
            const QString key = line.left(eq).toUpper();
            if (captions.contains(key)) captions[key] = TrimBlanks(line.mid(eq + 1));
        }
    }
}

QString CaptionFilePath()
{
    const QString lingua = rsSetup ? NzStr(rsSetup->Value(QStringLiteral("Lingua"))) : QString();
    return PathJoin(CartellaDati, QStringLiteral("Lang") + lingua + QStringLiteral(".txt"));
}

void LoadCaptions(const QString& section, Captions& captions)
{
    const QString path = CaptionFilePath();
    if (!FileExists(path)) return;
    QFile file(FindFile(path));
    if (!file.open(QIODevice::ReadOnly)) return;
    ApplyCaptionText(DecodeTextFile(file.readAll()), section, captions);
}

std::optional<QString> DecodeText(const QByteArray& bytes)
{
    std::optional<QStringDecoder> utf16;
    if (bytes.startsWith("\xff\xfe")) utf16.emplace(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
    else if (bytes.startsWith("\xfe\xff")) utf16.emplace(QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless);
    QString text;
    if (utf16) {
        // Half a character at the end is no error to the decoder.
        if (bytes.size() % 2 != 0) return std::nullopt;
        text = utf16->decode(bytes.mid(2));
        if (utf16->hasError()) return std::nullopt;
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(bytes);
        if (utf8.hasError()) {
            QStringDecoder cp1252("windows-1252");
            text = cp1252.isValid() ? QString(cp1252.decode(bytes)) : QString::fromLatin1(bytes);
        }
    }
    // No text file holds a NUL: UTF-16 without its mark, or no text at all.
    if (text.contains(QChar(0))) return std::nullopt;
    return text;
}

QString DecodeTextFile(const QByteArray& bytes) { return DecodeText(bytes).value_or(QString()); }
