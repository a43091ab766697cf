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

// Only "*" and "?" are wildcards in the dialect: SQLite's own wildcards typed by the operator are
// escaped to stand for themselves.
QString likePattern(const QString& jet)
{
    QString out;
    out.reserve(jet.size());
    for (QChar c : jet) {
        if (c == u'*') out += u'%';
        else if (c == u'?') out += u'_';
        else if (c == u'%' || c == u'_' || c == kLikeEscape) out += QString(kLikeEscape) + c;
        else out += c;
    }
    return out;
}

bool hasNonAsciiLetter(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() > 127 && c.isLetter()) return true;
    return false;
}

int previousToken(const std::vector<Token>& out, int from)
{
    for (int k = from - 1; k >= 0; --k)
        if (out[size_t(k)].kind != Kind::Space) return k;
    return -1;
}

// The operand left of the last token, when that token compares text ("=", "<>", [NOT] LIKE), is
// wrapped in the case fold: SQLite ignores the case of ASCII letters only. Returns whether it did.
bool foldLeftOperand(std::vector<Token>& out)
{
    int op = previousToken(out, int(out.size()));
    if (op < 0) return false;
    const QString o = out[size_t(op)].text.toUpper();
    if (o != QLatin1String("=") && o != QLatin1String("<>") && o != QLatin1String("LIKE")) return false;
    int k = previousToken(out, op);
    if (k >= 0 && out[size_t(k)].kind == Kind::Word && out[size_t(k)].text.toUpper() == QLatin1String("NOT")) k = previousToken(out, k);
    if (k < 0) return false;
    if (out[size_t(k)].kind == Kind::Word) {
        out[size_t(k)].text = QLatin1String(kCaseFoldFunction) + u'(' + out[size_t(k)].text + u')';
        return true;
    }
    if (out[size_t(k)].text != QLatin1String(")")) return false;
    for (int depth = 0; k >= 0; --k) {
        if (out[size_t(k)].text == QLatin1String(")")) ++depth;
        else if (out[size_t(k)].text == QLatin1String("(") && --depth == 0) break;
    }
    if (k < 0) return false;
    out.insert(out.begin() + k, Token{Kind::Word, QLatin1String(kCaseFoldFunction)});
    return true;
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
            const bool like = lastWord(out) == QLatin1String("LIKE");
            if (like) value = likePattern(value);
            if (hasNonAsciiLetter(value) && foldLeftOperand(out)) value = value.toCaseFolded();
            result.params.push_back(value);
            out.push_back({Kind::Param, QStringLiteral("?")});
            if (like) {
                // A literal escape character, so that the LIKE can still use an index.
                out.push_back({Kind::Word, QStringLiteral("ESCAPE")});
                out.push_back({Kind::Word, QStringLiteral("'") + kLikeEscape + QStringLiteral("'")});
            }
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

namespace {

bool isKeyword(const QString& word, std::initializer_list<const char*> keywords)
{
    const QString u = word.toUpper();
    for (const char* k : keywords)
        if (u == QLatin1String(k)) return true;
    return false;
}

// The tables of a FROM clause of inner joins, with the name each is known by.
bool parseFrom(const QStringList& t, SelectParts& out)
{
    bool expectTable = true;
    for (int k = 0; k < t.size(); ++k) {
        const QString& w = t[k];
        if (isKeyword(w, {"SELECT", "LEFT", "RIGHT", "FULL", "OUTER", "NATURAL", "USING"})) return false;
        if (w == QLatin1String("(")) continue;
        if (expectTable) {
            if (w == QLatin1String("?") || w == QLatin1String(")") || isKeyword(w, {"INNER", "JOIN", "ON", "CROSS"})) return false;
            QString name = w;
            if (k + 2 < t.size() && t[k + 1].toUpper() == QLatin1String("AS")) {
                name = t[k + 2];
                k += 2;
            } else if (k + 1 < t.size() && t[k + 1] != QLatin1String(")") && t[k + 1] != QLatin1String(",") &&
                       !isKeyword(t[k + 1], {"INNER", "JOIN", "ON", "CROSS", "LEFT", "RIGHT", "FULL", "OUTER", "NATURAL"})) {
                name = t[++k];
            }
            out.tables << w;
            out.names << name;
            expectTable = false;
        } else if (w == QLatin1String(",") || w.toUpper() == QLatin1String("JOIN")) {
            expectTable = true;
        }
    }
    return !out.tables.isEmpty() && !expectTable;
}

QVector<QVariant> takeParams(const QStringList& part, const QVector<QVariant>& params, int& next)
{
    const int n = int(part.count(QStringLiteral("?")));
    QVector<QVariant> taken = params.mid(next, n);
    next += n;
    return taken;
}

} // namespace

bool ParseSelect(const TranslatedSql& sql, SelectParts& out)
{
    const QStringList& t = sql.tokens;
    if (t.isEmpty() || t[0].toUpper() != QLatin1String("SELECT")) return false;
    // Each part of the statement: the clause words at parenthesis depth 0 divide them.
    enum Part { Select, From, Where, Order, Limit };
    QStringList parts[5];
    Part part = Select;
    int depth = 0;
    for (int k = 1; k < t.size(); ++k) {
        const QString& w = t[k];
        const QString u = w.toUpper();
        if (w == QLatin1String("(")) ++depth;
        if (w == QLatin1String(")")) --depth;
        if (depth == 0) {
            if (isKeyword(u, {"DISTINCT", "GROUP", "HAVING", "UNION", "EXCEPT", "INTERSECT", "OFFSET"})) return false;
            if (u == QLatin1String("FROM") && part == Select) {
                part = From;
                continue;
            }
            if (u == QLatin1String("WHERE") && part == From) {
                part = Where;
                continue;
            }
            if (u == QLatin1String("ORDER") && k + 1 < t.size() && t[k + 1].toUpper() == QLatin1String("BY") && (part == From || part == Where)) {
                part = Order;
                ++k;
                continue;
            }
            if (u == QLatin1String("LIMIT") && part != Select) {
                part = Limit;
                continue;
            }
        }
        // Calls in the select list may be aggregates.
        if (part == Select && w == QLatin1String("(")) return false;
        parts[part] << w;
    }
    if (parts[Select].isEmpty() || parts[From].isEmpty() || parts[Order].contains(QStringLiteral("?"))) return false;
    if (!parseFrom(parts[From], out)) return false;
    int next = 0;
    out.selectList = parts[Select].join(u' ');
    out.selectParams = takeParams(parts[Select], sql.params, next);
    out.from = parts[From].join(u' ');
    out.fromParams = takeParams(parts[From], sql.params, next);
    out.where = parts[Where].join(u' ');
    out.whereParams = takeParams(parts[Where], sql.params, next);
    out.limit = parts[Limit].join(u' ');
    QStringList term;
    depth = 0;
    for (int k = 0; !parts[Order].isEmpty() && k <= parts[Order].size(); ++k) {
        const bool end = k == parts[Order].size();
        const QString w = end ? QString() : parts[Order][k];
        if (w == QLatin1String("(")) ++depth;
        if (w == QLatin1String(")")) --depth;
        if (end || (depth == 0 && w == QLatin1String(","))) {
            if (term.isEmpty()) return false;
            SelectParts::OrderTerm o;
            const QString last = term.last().toUpper();
            if (last == QLatin1String("DESC") || last == QLatin1String("ASC")) {
                o.desc = last == QLatin1String("DESC");
                term.removeLast();
            }
            o.expr = term.join(u' ');
            out.orderBy.push_back(o);
            term.clear();
        } else {
            term << w;
        }
    }
    return true;
}
