#include "passive/RequestFile.h"

#include "core/Formats.h"
#include "core/Utility.h"
#include "core/db/Values.h"
#include "passive/RequestCheck.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

enum class Section { None, Articolo, Testata, Riga, Imballo };

// A value that does not fit its column refuses the whole file.
struct ParseError {
    QString description;
    int line = 0; // 0: the line being read
};

struct Range {
    qint64 low;
    qint64 high;
};
constexpr Range kInteger{std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()};
constexpr Range kLong{std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};

Section SectionOf(const QString& line)
{
    const QString upper = line.toUpper();
    if (upper == QLatin1String("[ARTICOLO]")) return Section::Articolo;
    if (upper == QLatin1String("[TESTATA]")) return Section::Testata;
    if (upper == QLatin1String("[RIGA]")) return Section::Riga;
    if (upper == QLatin1String("[IMBALLO]")) return Section::Imballo;
    return Section::None;
}

// The numeric value rounded to a whole number, halves to even.
qint64 Whole(const QString& key, const QString& value, Range range)
{
    const double v = std::nearbyint(NumericValue(value));
    if (!(v >= double(range.low) && v <= double(range.high)))
        throw ParseError{QStringLiteral("Overflow: ") + key + u'=' + value};
    return qint64(v);
}

qint64 AtLeastOne(qint64 v) { return v < 1 ? 1 : v; }

QString FirstDigit(const QString& value, const QString& otherwise)
{
    const QString first = value.left(1);
    return first.size() == 1 && first[0] >= u'0' && first[0] <= u'9' ? first : otherwise;
}

// Filled on the left to 12 digits, cut to 12, and given its check digit again.
QString Ean(const QString& value) { return AppendCheckDigit(PadLeft(value, 12, QStringLiteral("0"))); }

// Day, month and year in the regional order, then an optional time; the ISO forms are read too.
// A value no form reads keeps the import time, and is kept to refuse a line that gives its own date.
void ReadDate(const QString& value, RequestLine& l)
{
    const qsizetype blank = value.indexOf(u' ');
    const auto regional = blank < 0 ? ReadDateTime(value) : ReadDateTime(value.left(blank), value.mid(blank + 1).trimmed());
    const QDateTime read = regional ? *regional : ReadIsoDateTime(value);
    if (!read.isValid()) {
        l.dataOraIllegibile = value;
        return;
    }
    l.dataOra = read;
    l.dataOraIllegibile.reset();
}

void SetArticle(RequestArticle& a, const QString& key, const QString& value)
{
    if (key == QLatin1String("CODINTERNO")) a.codInterno = value.left(13);
    else if (key == QLatin1String("DESCRIZIONE")) a.descrizione = value.left(80);
    else if (key == QLatin1String("EANARTICOLO")) a.eanArticolo = Ean(value);
    else if (key == QLatin1String("QTCARTONE")) a.qtCartone = AtLeastOne(Whole(key, value, kInteger));
    else if (key == QLatin1String("PREFGTIN")) a.prefGTIN = FirstDigit(value, QStringLiteral("0"));
    else if (key == QLatin1String("EANCARTONE")) a.eanCartone = Ean(value);
    else if (key == QLatin1String("PESOCARTONE")) a.pesoCartone = DecimalValue(value);
    else if (key == QLatin1String("NUMCARTONI")) a.numCartoni = AtLeastOne(Whole(key, value, kInteger));
    else if (key == QLatin1String("UNITADURATA")) a.unitaDurata = Whole(key, value, kInteger);
    else if (key == QLatin1String("DURATAPRODOTTO")) a.durataProdotto = Whole(key, value, kInteger);
}

void SetHeader(RequestHeader& h, const QString& key, const QString& value)
{
    if (key == QLatin1String("COPIE")) h.copie = Whole(key, value, kInteger);
    else if (key == QLatin1String("RISTAMPA")) h.ristampa = LeggiSiNo(value);
    else if (key == QLatin1String("IDAPPTESTATE")) h.idAppTestate = Whole(key, value, kLong);
    else if (key == QLatin1String("SPECIFICACONTATORE")) h.specificaContatore = LeggiSiNo(value);
    else if (key == QLatin1String("CONTATORESSCC")) h.contatoreSSCC = Whole(key, value, kLong);
    else if (key == QLatin1String("AGGIORNACONTATORE")) h.aggiornaContatore = LeggiSiNo(value);
    else if (key == QLatin1String("TIPOPALLET")) h.tipoPallet = FirstDigit(value, QStringLiteral("1"));
}

void SetLine(RequestLine& l, const QString& key, const QString& value)
{
    if (key == QLatin1String("AUTOLOTTO")) l.autoLotto = LeggiSiNo(value);
    else if (key == QLatin1String("LOTTO")) l.lotto = value.left(6);
    else if (key == QLatin1String("AUTODATA")) l.autoData = LeggiSiNo(value);
    else if (key == QLatin1String("DATAORA")) ReadDate(value, l);
    else if (key == QLatin1String("PREFGTIN")) l.prefGTIN = FirstDigit(value, QStringLiteral("0"));
    else if (key == QLatin1String("EANCARTONE")) l.eanCartone = Ean(value);
    else if (key == QLatin1String("NUMCARTONI")) l.numCartoni = AtLeastOne(Whole(key, value, kLong));
}

class Parser {
public:
    explicit Parser(const RequestDefaults& defaults) : defaults_(defaults) {}

    void line(int number, const QString& raw)
    {
        number_ = number;
        const QString text = TrimBlanks(raw);
        if (text.startsWith(u';')) return;
        if (text.startsWith(u'[')) return open(SectionOf(text));
        const qsizetype eq = text.indexOf(u'=');
        if (section_ == Section::None || eq < 0) return;
        const QString key = text.left(eq).toUpper();
        const QString value = TrimBlanks(text.mid(eq + 1));
        switch (section_) {
        case Section::Articolo: SetArticle(out_.articoli.back(), key, value); break;
        case Section::Testata: SetHeader(out_.testate.back(), key, value); break;
        case Section::Riga: SetLine(out_.testate.back().righe.back(), key, value); break;
        case Section::Imballo: SetLine(out_.imballi.back(), key, value); break;
        case Section::None: break;
        }
    }

    RequestFile result()
    {
        check();
        return std::move(out_);
    }

private:
    // The section just ended, as a whole: its keys come in any order.
    void check() const
    {
        QString why;
        switch (section_) {
        case Section::Articolo: why = ArticleRefusal(out_.articoli.back()); break;
        case Section::Testata: why = HeaderRefusal(out_.testate.back(), defaults_.codProduttore); break;
        case Section::Riga: why = LineRefusal(out_.testate.back().righe.back()); break;
        case Section::Imballo: why = CartonRequestRefusal(out_.imballi.back()); break;
        case Section::None: break;
        }
        if (!why.isEmpty()) throw ParseError{why, sectionLine_};
    }

    void open(Section section)
    {
        check();
        section_ = section;
        sectionLine_ = number_;
        switch (section) {
        case Section::Articolo: {
            RequestArticle a;
            a.qtCartone = defaults_.qtCartone;
            a.unitaDurata = defaults_.unitaDurata;
            a.durataProdotto = defaults_.durataProdotto;
            out_.articoli.push_back(a);
            break;
        }
        case Section::Testata: {
            RequestHeader h;
            h.tipoPallet = defaults_.tipoPallet;
            out_.testate.push_back(h);
            break;
        }
        case Section::Riga: {
            if (out_.testate.empty()) throw ParseError{QStringLiteral("[RIGA] senza [TESTATA]")};
            RequestLine l = newLine();
            l.numRiga = ++righe_;
            out_.testate.back().righe.push_back(l);
            break;
        }
        case Section::Imballo: out_.imballi.push_back(newLine()); break;
        case Section::None: break;
        }
    }

    RequestLine newLine() const
    {
        RequestLine l;
        l.dataOra = defaults_.dataOra;
        return l;
    }

    const RequestDefaults& defaults_;
    RequestFile out_;
    Section section_ = Section::None;
    int righe_ = 0;
    int number_ = 0;
    int sectionLine_ = 0;
};

} // namespace

RequestFile ParseRequestFile(const QString& text, const RequestDefaults& defaults)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    Parser parser(defaults);
    int number = 0;
    try {
        for (const QString& line : text.split(lineEnd)) parser.line(++number, line);
        return parser.result();
    } catch (const ParseError& e) {
        RequestFile refused;
        refused.error = e.description;
        refused.errorLine = e.line > 0 ? e.line : number;
        return refused;
    }
}

bool LeggiSiNo(const QString& value)
{
    static const QStringList yes{QStringLiteral("SI"), QStringLiteral("S"), QStringLiteral("S\u00cc"), QStringLiteral("Y"),
                                 QStringLiteral("YES"), QStringLiteral("1"), QStringLiteral("-1")};
    return yes.contains(value.toUpper());
}
