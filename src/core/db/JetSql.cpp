#include "core/db/JetSql.h"

#include "core/db/AppError.h"

#include <QDateTime>

namespace {

enum class Kind { Word, Symbol, Param, Space };

struct Token {
    Kind kind;
    QString text;
};

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

QString likePattern(const QString& jet)
{
    QString out;
    out.reserve(jet.size());
    for (QChar c : jet) {
        if (c == u'*') out += u'%';
        else if (c == u'?') out += u'_';
        else out += c;
    }
    return out;
}

QVariant dateLiteral(const QString& text)
{
    const QString t = text.trimmed();
    static const char* formats[] = {"M/d/yyyy H:mm:ss", "M/d/yyyy H:mm", "M/d/yyyy", "M/d/yy", "yyyy-MM-dd HH:mm:ss",
                                    "yyyy-MM-dd"};
    for (const char* f : formats) {
        QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(f));
        if (dt.isValid()) {
            // Two-digit years as the original engine reads them: 00-29 are 2000s, 30-99 are 1900s.
            if (dt.date().year() < 1930) dt = dt.addYears(100);
            return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        }
    }
    throw AppError(3075, QStringLiteral("DAO.Database"), QStringLiteral("Syntax error in date in query expression '#%1#'.").arg(text));
}

QString lastWord(const std::vector<Token>& out)
{
    for (auto it = out.rbegin(); it != out.rend(); ++it) {
        if (it->kind == Kind::Space) continue;
        return it->kind == Kind::Word ? it->text.toUpper() : QString();
    }
    return {};
}

} // namespace

TranslatedSql TranslateJetSql(const QString& jet)
{
    TranslatedSql result;
    std::vector<Token> out;
    const int n = jet.size();
    int i = 0;
    auto unterminated = [&](QChar q) {
        return AppError(3075, QStringLiteral("DAO.Database"),
                        QStringLiteral("Syntax error (missing operator) in query expression: missing %1.").arg(q));
    };
    while (i < n) {
        const QChar c = jet[i];
        if (c.isSpace()) {
            while (i < n && jet[i].isSpace()) ++i;
            out.push_back({Kind::Space, QStringLiteral(" ")});
        } else if (c == u'\'' || c == u'"') {
            QString value;
            ++i;
            bool closed = false;
            while (i < n) {
                if (jet[i] == c) {
                    if (i + 1 < n && jet[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += jet[i++];
            }
            if (!closed) throw unterminated(c);
            if (lastWord(out) == QLatin1String("LIKE")) value = likePattern(value);
            result.params.push_back(value);
            out.push_back({Kind::Param, QStringLiteral("?")});
        } else if (c == u'#') {
            const int end = jet.indexOf(u'#', i + 1);
            if (end < 0) throw unterminated(c);
            result.params.push_back(dateLiteral(jet.mid(i + 1, end - i - 1)));
            out.push_back({Kind::Param, QStringLiteral("?")});
            i = end + 1;
        } else if (c == u'[') {
            const int end = jet.indexOf(u']', i + 1);
            if (end < 0) throw unterminated(u']');
            out.push_back({Kind::Word, u'"' + jet.mid(i + 1, end - i - 1) + u'"'});
            i = end + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && jet[i + 1].isDigit())) {
            int start = i;
            while (i < n && (jet[i].isDigit() || jet[i] == u'.')) ++i;
            const QString num = jet.mid(start, i - start);
            if (i < n && isWordChar(jet[i])) {
                // Part of a name such as 1A: not a number.
                while (i < n && isWordChar(jet[i])) ++i;
                out.push_back({Kind::Word, jet.mid(start, i - start)});
            } else if (lastWord(out) == QLatin1String("TOP")) {
                out.push_back({Kind::Word, num});
            } else {
                if (num.contains(u'.')) result.params.push_back(num.toDouble());
                else result.params.push_back(num.toLongLong());
                out.push_back({Kind::Param, QStringLiteral("?")});
            }
        } else if (isWordChar(c)) {
            int start = i;
            while (i < n && (isWordChar(jet[i]) || (jet[i] == u'.' && i + 1 < n && isWordChar(jet[i + 1]) && !jet[i + 1].isDigit())))
                ++i;
            QString word = jet.mid(start, i - start);
            const QString upper = word.toUpper();
            if (upper == QLatin1String("TRUE")) word = QStringLiteral("1");
            else if (upper == QLatin1String("FALSE")) word = QStringLiteral("0");
            out.push_back({Kind::Word, word});
        } else {
            QString sym(c);
            if (c == u'&') sym = QStringLiteral("||");
            else if ((c == u'<' || c == u'>' || c == u'!') && i + 1 < n && (jet[i + 1] == u'=' || jet[i + 1] == u'>'))
                sym += jet[++i];
            ++i;
            out.push_back({Kind::Symbol, sym});
        }
    }

    // Drop trailing blanks and semicolons.
    while (!out.empty() && (out.back().kind == Kind::Space || out.back().text == QLatin1String(";"))) out.pop_back();

    // SELECT [DISTINCT] TOP n … becomes SELECT [DISTINCT] … LIMIT n.
    QString limit;
    {
        std::vector<int> words;
        for (int k = 0; k < int(out.size()) && words.size() < 4; ++k)
            if (out[k].kind != Kind::Space) words.push_back(k);
        if (words.size() >= 3 && out[words[0]].text.toUpper() == QLatin1String("SELECT")) {
            int top = (out[words[1]].text.toUpper() == QLatin1String("DISTINCT") && words.size() >= 4) ? 2 : 1;
            if (out[words[top]].text.toUpper() == QLatin1String("TOP") && words.size() > size_t(top + 1)) {
                limit = out[words[top + 1]].text;
                out.erase(out.begin() + words[top], out.begin() + words[top + 1] + 1);
            }
        }
    }

    for (const auto& t : out) {
        if (t.kind == Kind::Space) continue;
        result.tokens << t.text;
    }
    if (!limit.isEmpty()) result.tokens << QStringLiteral("LIMIT") << limit;
    result.sql = result.tokens.join(u' ');
    return result;
}

bool ParseSingleTableSelect(const TranslatedSql& sql, SingleTableSelect& out)
{
    const QStringList& t = sql.tokens;
    if (t.isEmpty() || t[0].toUpper() != QLatin1String("SELECT")) return false;
    int k = 1;
    QStringList select;
    int params = 0;
    for (; k < t.size(); ++k) {
        const QString u = t[k].toUpper();
        if (u == QLatin1String("FROM")) break;
        if (u == QLatin1String("DISTINCT") || t[k] == QLatin1String("(")) return false;
        if (t[k] == QLatin1String("?")) ++params;
        select << t[k];
    }
    if (k + 1 >= t.size() || select.isEmpty()) return false;
    const QString table = t[k + 1];
    if (table == QLatin1String("(")) return false;
    QStringList rest = t.mid(k + 2);
    if (!rest.isEmpty()) {
        const QString next = rest[0].toUpper();
        if (next != QLatin1String("WHERE") && next != QLatin1String("ORDER") && next != QLatin1String("LIMIT")) return false;
    }
    for (const QString& w : rest) {
        const QString u = w.toUpper();
        if (u == QLatin1String("JOIN") || u == QLatin1String("GROUP") || u == QLatin1String("UNION")) return false;
    }
    out.table = table;
    out.selectList = select.join(u' ');
    out.rest = rest.join(u' ');
    out.paramsInSelectList = params;
    return true;
}
