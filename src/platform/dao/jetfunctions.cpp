#include "jetfunctions.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace jet {

namespace {

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double pow10(int n)
{
    if (n >= 0 && n <= 22)
        return kPow10[n];
    return std::pow(10.0, n);
}

// The nearest whole number of y, a half to even.
double roundHalfEven(double y)
{
    const double f = std::floor(y);
    const double frac = y - f;
    if (frac < 0.5)
        return f;
    if (frac > 0.5)
        return f + 1;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

// A decimal number as digits and the count of them before the point: 15 significant digits of the value.
struct Decimal {
    std::string digits;  // no sign
    int pointPos = 0;    // digits before the decimal point (may be <= 0 or > digits.size())
    bool zero = true;
};

Decimal decimalOf(double v)
{
    Decimal d;
    v = std::fabs(v);
    if (v == 0 || !std::isfinite(v)) {
        d.digits = "0";
        d.pointPos = 1;
        return d;
    }
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    std::string s(buf, r.ptr);
    const auto e = s.find('e');
    int exp10 = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0), s.data() + s.size(), exp10);
    d.digits = s.substr(0, 1) + s.substr(2, e - 2);
    d.pointPos = exp10 + 1;
    d.zero = false;
    return d;
}

// Rounds to `dec` decimals, a half away from zero; returns the whole-number digits (no leading zeros,
// "" for zero) and exactly `dec` fraction digits.
void roundDecimal(const Decimal& d, int dec, std::string& whole, std::string& fraction)
{
    std::string s = d.digits;
    int point = d.pointPos;
    if (point <= 0) {
        s.insert(0, std::string(-point, '0'));
        point = 0;
    }
    const int keep = point + dec;
    if (int(s.size()) < keep + 1)
        s.append(keep + 1 - s.size(), '0');
    std::string kept = s.substr(0, keep);
    if (s[keep] >= '5') {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (kept[i] == '9') {
                kept[i] = '0';
            } else {
                ++kept[i];
                break;
            }
        }
        if (i < 0) {
            kept.insert(0, "1");
            ++point;
        }
    }
    whole = kept.substr(0, point);
    fraction = kept.substr(point);
    const auto nz = whole.find_first_not_of('0');
    whole = nz == std::string::npos ? std::string() : whole.substr(nz);
}

struct Tok {
    enum Kind { Zero, Hash, Point, Comma, Percent, Lit } kind;
    QString lit;
    bool digit() const { return kind == Zero || kind == Hash; }
};

std::vector<Tok> tokenize(const QString& p)
{
    std::vector<Tok> out;
    for (int i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        switch (c.unicode()) {
        case '0':
            out.push_back({Tok::Zero, {}});
            break;
        case '#':
            out.push_back({Tok::Hash, {}});
            break;
        case '.':
            out.push_back({Tok::Point, {}});
            break;
        case ',':
            out.push_back({Tok::Comma, {}});
            break;
        case '%':
            out.push_back({Tok::Percent, {}});
            break;
        case '\\':
            if (i + 1 < p.size())
                out.push_back({Tok::Lit, QString(p[++i])});
            break;
        case '"': {
            const int end = p.indexOf(QLatin1Char('"'), i + 1);
            const int stop = end < 0 ? p.size() : end;
            out.push_back({Tok::Lit, p.mid(i + 1, stop - i - 1)});
            i = stop;
            break;
        }
        default:
            out.push_back({Tok::Lit, QString(c)});
        }
    }
    return out;
}

QStringList splitSections(const QString& pattern)
{
    QStringList out;
    QString cur;
    bool quoted = false;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('\\') && !quoted && i + 1 < pattern.size()) {
            cur += c;
            cur += pattern[++i];
            continue;
        }
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char(';') && !quoted) {
            out << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    out << cur;
    return out;
}

int decimalsOf(const std::vector<Tok>& toks)
{
    int dec = 0;
    bool after = false;
    for (const Tok& t : toks) {
        if (t.kind == Tok::Point)
            after = true;
        else if (after && t.digit())
            ++dec;
    }
    return dec;
}

bool hasPercent(const std::vector<Tok>& toks)
{
    for (const Tok& t : toks)
        if (t.kind == Tok::Percent)
            return true;
    return false;
}

QString formatSection(const std::vector<Tok>& toks, double value, bool withSign)
{
    bool anyDigit = false;
    for (const Tok& t : toks)
        anyDigit = anyDigit || t.digit();
    if (!anyDigit) {
        QString out;
        for (const Tok& t : toks)
            out += t.kind == Tok::Lit ? t.lit : t.kind == Tok::Percent ? QStringLiteral("%") : QString();
        return out;
    }

    std::size_t pointAt = toks.size();
    for (std::size_t i = 0; i < toks.size(); ++i)
        if (toks[i].kind == Tok::Point) {
            pointAt = i;
            break;
        }
    std::vector<std::size_t> intPos;
    bool grouping = false;
    int minWhole = 0;  // the placeholders from the first 0 on must show a digit; # ones before it need not
    for (std::size_t i = 0; i < pointAt; ++i) {
        if (toks[i].digit()) {
            intPos.push_back(i);
            if (toks[i].kind == Tok::Zero || minWhole > 0)
                ++minWhole;
        } else if (toks[i].kind == Tok::Comma && !intPos.empty()) {
            grouping = true;
        }
    }

    const int dec = decimalsOf(toks);
    if (hasPercent(toks))
        value *= 100;
    std::string whole, fraction;
    roundDecimal(decimalOf(value), dec, whole, fraction);
    const bool roundsToZero = whole.empty() && fraction.find_first_not_of('0') == std::string::npos;
    if (int(whole.size()) < minWhole)
        whole.insert(0, std::string(minWhole - whole.size(), '0'));

    QString wholeText = QString::fromLatin1(whole);
    if (grouping) {
        for (int i = wholeText.size() - 3; i > 0; i -= 3)
            wholeText.insert(i, QLatin1Char(','));
    }

    QString out;
    if (withSign && value < 0 && !roundsToZero)
        out += QLatin1Char('-');

    // Whole part: literals keep their places among the placeholders; the leftmost placeholder takes the
    // digits that do not fit.
    if (intPos.empty()) {
        for (std::size_t i = 0; i < pointAt; ++i)
            if (toks[i].kind == Tok::Lit)
                out += toks[i].lit;
            else if (toks[i].kind == Tok::Percent)
                out += QLatin1Char('%');
        out += wholeText;
    } else if (grouping) {
        for (std::size_t i = 0; i < pointAt; ++i) {
            if (i == intPos.front())
                out += wholeText;
            else if (toks[i].kind == Tok::Lit)
                out += toks[i].lit;
            else if (toks[i].kind == Tok::Percent)
                out += QLatin1Char('%');
        }
    } else {
        std::vector<QString> pieces(pointAt);
        int w = wholeText.size();
        for (std::size_t k = intPos.size(); k-- > 0;) {
            const std::size_t p = intPos[k];
            if (k == 0) {
                pieces[p] = wholeText.left(w);
            } else if (w > 0) {
                pieces[p] = wholeText.mid(w - 1, 1);
                --w;
            }
        }
        for (std::size_t i = 0; i < pointAt; ++i) {
            if (toks[i].digit())
                out += pieces[i];
            else if (toks[i].kind == Tok::Lit)
                out += toks[i].lit;
            else if (toks[i].kind == Tok::Percent)
                out += QLatin1Char('%');
        }
    }

    if (pointAt < toks.size()) {
        // Trailing # places drop their zeros; the point itself always stays.
        std::vector<int> digitTok;
        for (std::size_t i = pointAt + 1; i < toks.size(); ++i)
            if (toks[i].digit())
                digitTok.push_back(int(i));
        int shown = int(digitTok.size());
        while (shown > 0 && toks[digitTok[shown - 1]].kind == Tok::Hash && fraction[shown - 1] == '0')
            --shown;
        out += QLatin1Char('.');
        int k = 0;
        for (std::size_t i = pointAt + 1; i < toks.size(); ++i) {
            if (toks[i].digit()) {
                if (k < shown)
                    out += QLatin1Char(fraction[k]);
                ++k;
            } else if (toks[i].kind == Tok::Lit) {
                out += toks[i].lit;
            } else if (toks[i].kind == Tok::Percent) {
                out += QLatin1Char('%');
            }
        }
    }
    return out;
}

QString namedFormat(const QString& pattern)
{
    const QString p = pattern.trimmed();
    if (p.compare(QLatin1String("Fixed"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("0.00");
    if (p.compare(QLatin1String("Standard"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("#,##0.00");
    if (p.compare(QLatin1String("Currency"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("$#,##0.00;($#,##0.00)");
    if (p.compare(QLatin1String("Percent"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("0.00%");
    return pattern;
}

}  // namespace

double round(double x, int n)
{
    if (!std::isfinite(x))
        return x;
    const double scale = pow10(n < 0 ? -n : n);
    const double r = roundHalfEven(n >= 0 ? x * scale : x / scale);
    if (r == 0)
        return 0.0;
    return n >= 0 ? r / scale : r * scale;
}

qint64 clng(double x)
{
    return qint64(roundHalfEven(x));
}

QString format(const dao::Variant& v, const QString& pattern)
{
    if (v.isNull())
        return {};
    double x = 0;
    switch (v.type()) {
    case dao::Variant::Type::Text:
        if (!dao::parseNumber(v.toString(), &x))
            return v.toString();
        break;
    case dao::Variant::Type::Date:
        return v.toString();
    default:
        x = v.toDouble();
    }
    const QString pat = namedFormat(pattern);
    if (pat.isEmpty() || pat.compare(QLatin1String("General Number"), Qt::CaseInsensitive) == 0)
        return v.type() == dao::Variant::Type::Text ? dao::doubleText(x) : v.toString();

    const QStringList sections = splitSections(pat);
    const std::vector<Tok> positive = tokenize(sections[0]);
    if (x == 0 && sections.size() >= 3 && !sections[2].isEmpty())
        return formatSection(tokenize(sections[2]), 0, false);
    if (x < 0 && sections.size() >= 2 && !sections[1].isEmpty())
        return formatSection(tokenize(sections[1]), -x, false);
    return formatSection(positive, x, true);
}

namespace {

struct LikeElem {
    enum Kind { Star, One, Digit, Class, Char } kind;
    QChar c;
    bool negate = false;
    std::vector<std::pair<QChar, QChar>> ranges;

    LikeElem(Kind k, QChar ch) : kind(k), c(ch) {}

    bool matches(QChar t) const
    {
        switch (kind) {
        case One:
            return true;
        case Digit:
            return t >= QLatin1Char('0') && t <= QLatin1Char('9');
        case Char:
            return t == c;
        case Class: {
            bool in = false;
            for (const auto& [lo, hi] : ranges)
                in = in || (t >= lo && t <= hi);
            return in != negate;
        }
        default:
            return false;
        }
    }
};

using LikePattern = std::vector<LikeElem>;

LikePattern compileLike(const QString& pattern, QChar escape = QChar())
{
    const QString p = pattern.toCaseFolded();
    LikePattern out;
    for (int i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (!escape.isNull() && c == escape && i + 1 < p.size()) {
            out.push_back({LikeElem::Char, p[++i]});
            continue;
        }
        if (c == QLatin1Char('*')) {
            if (out.empty() || out.back().kind != LikeElem::Star)
                out.push_back({LikeElem::Star, c});
        } else if (c == QLatin1Char('?')) {
            out.push_back({LikeElem::One, c});
        } else if (c == QLatin1Char('#')) {
            out.push_back({LikeElem::Digit, c});
        } else if (c == QLatin1Char('[') && p.indexOf(QLatin1Char(']'), i + 1) > i) {
            const int end = p.indexOf(QLatin1Char(']'), i + 1);
            LikeElem e{LikeElem::Class, c};
            int j = i + 1;
            if (j < end && p[j] == QLatin1Char('!')) {
                e.negate = true;
                ++j;
            }
            for (; j < end; ++j) {
                if (j + 2 < end && p[j + 1] == QLatin1Char('-')) {
                    e.ranges.push_back({p[j], p[j + 2]});
                    j += 2;
                } else {
                    e.ranges.push_back({p[j], p[j]});
                }
            }
            out.push_back(std::move(e));
            i = end;
        } else {
            out.push_back({LikeElem::Char, c});
        }
    }
    return out;
}

bool matchLike(const LikePattern& pat, const QString& folded)
{
    const int n = folded.size();
    const int m = int(pat.size());
    int i = 0, p = 0, starP = -1, starI = 0;
    while (i < n) {
        if (p < m && pat[p].kind == LikeElem::Star) {
            starP = p++;
            starI = i;
        } else if (p < m && pat[p].matches(folded[i])) {
            ++p;
            ++i;
        } else if (starP >= 0) {
            p = starP + 1;
            i = ++starI;
        } else {
            return false;
        }
    }
    while (p < m && pat[p].kind == LikeElem::Star)
        ++p;
    return p == m;
}

}  // namespace

bool like(const QString& text, const QString& pattern)
{
    return matchLike(compileLike(pattern), text.toCaseFolded());
}

double val(const QString& text)
{
    std::string s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            continue;
        s += c.unicode() < 128 ? char(c.unicode()) : '\x7f';
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    const std::size_t start = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
    }
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            end = j;
        }
    }
    std::string num = s.substr(start, end - start);
    for (char& c : num)
        if (c == 'd' || c == 'D')
            c = 'e';
    if (num.empty() || num == ".")
        return 0;
    double v = 0;
    std::from_chars(num.data(), num.data() + num.size(), v, std::chars_format::general);
    return negative ? -v : v;
}

// ---- The SQL functions ----

namespace {

bool argNumber(sqlite3_value* v, double* out)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        *out = double(sqlite3_value_int64(v));
        return true;
    case SQLITE_FLOAT:
        *out = sqlite3_value_double(v);
        return true;
    case SQLITE_TEXT: {
        const char* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return dao::parseNumber(QString::fromUtf8(t, sqlite3_value_bytes(v)), out);
    }
    default:
        return false;
    }
}

QString argText(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return dao::doubleText(sqlite3_value_double(v));
    case SQLITE_NULL:
        return {};
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
    }
}

dao::Variant argVariant(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return dao::Variant(qint64(sqlite3_value_int64(v)));
    case SQLITE_FLOAT:
        return dao::Variant(sqlite3_value_double(v));
    case SQLITE_NULL:
        return {};
    default:
        return dao::Variant(argText(v));
    }
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray b = s.toUtf8();
    sqlite3_result_text(ctx, b.constData(), b.size(), SQLITE_TRANSIENT);
}

bool truth(sqlite3_value* v)
{
    double d = 0;
    if (argNumber(v, &d))
        return d != 0;
    if (sqlite3_value_type(v) == SQLITE_TEXT)
        return argText(v).trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    return false;
}

bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

void fnRound(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    double x = 0, n = 0;
    if (!argNumber(argv[0], &x) || (argc > 1 && !argNumber(argv[1], &n))) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_double(ctx, round(x, int(n)));
}

void fnClng(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    }
    double x = 0;
    if (!argNumber(argv[0], &x) || !std::isfinite(x)) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, clng(x));
}

void fnCdbl(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double x = 0;
    if (!argNumber(argv[0], &x))
        sqlite3_result_null(ctx);
    else
        sqlite3_result_double(ctx, x);
}

void fnCstr(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
    else
        resultText(ctx, argText(argv[0]));
}

void fnInt(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double x = 0;
    if (!argNumber(argv[0], &x))
        sqlite3_result_null(ctx);
    else
        sqlite3_result_double(ctx, std::floor(x));
}

void fnFix(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double x = 0;
    if (!argNumber(argv[0], &x))
        sqlite3_result_null(ctx);
    else
        sqlite3_result_double(ctx, std::trunc(x));
}

void fnIif(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_value(ctx, truth(argv[0]) ? argv[1] : argv[2]);
}

void fnFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, format(argVariant(argv[0]), argc > 1 ? argText(argv[1]) : QString()));
}

void fnVal(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        sqlite3_result_value(ctx, argv[0]);
        return;
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    default:
        sqlite3_result_double(ctx, val(argText(argv[0])));
    }
}

void fnNz(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL)
        sqlite3_result_value(ctx, argv[0]);
    else if (argc > 1)
        sqlite3_result_value(ctx, argv[1]);
    else
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
}

void fnIsNull(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_int(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL ? -1 : 0);
}

void fnUcase(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (anyNull(1, argv))
        sqlite3_result_null(ctx);
    else
        resultText(ctx, argText(argv[0]).toUpper());
}

void fnLcase(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (anyNull(1, argv))
        sqlite3_result_null(ctx);
    else
        resultText(ctx, argText(argv[0]).toLower());
}

void fnLeft(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (anyNull(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, argText(argv[0]).left(std::max(0, sqlite3_value_int(argv[1]))));
}

void fnRight(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (anyNull(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, argText(argv[0]).right(std::max(0, sqlite3_value_int(argv[1]))));
}

void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int start = std::max(1, sqlite3_value_int(argv[1]));
    const QString s = argText(argv[0]);
    resultText(ctx, argc > 2 ? s.mid(start - 1, std::max(0, sqlite3_value_int(argv[2]))) : s.mid(start - 1));
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (anyNull(1, argv))
        sqlite3_result_null(ctx);
    else
        sqlite3_result_int(ctx, int(argText(argv[0]).size()));
}

void fnInstr(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    int start = 1;
    int a = 0;
    if (argc == 3) {
        start = std::max(1, sqlite3_value_int(argv[0]));
        a = 1;
    }
    const QString hay = argText(argv[a]);
    const QString needle = argText(argv[a + 1]);
    if (start > hay.size() + 1) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    sqlite3_result_int(ctx, int(hay.indexOf(needle, start - 1, Qt::CaseInsensitive)) + 1);
}

void fnStr(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double x = 0;
    if (!argNumber(argv[0], &x)) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString t = sqlite3_value_type(argv[0]) == SQLITE_INTEGER ? QString::number(sqlite3_value_int64(argv[0]))
                                                                    : dao::doubleText(x);
    resultText(ctx, x < 0 ? t : QLatin1Char(' ') + t);
}

void fnSpace(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    resultText(ctx, QString(std::max(0, sqlite3_value_int(argv[0])), QLatin1Char(' ')));
}

void fnJcat(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::string out;
    bool allNull = true;
    for (int i = 0; i < argc; ++i) {
        switch (sqlite3_value_type(argv[i])) {
        case SQLITE_NULL:
            break;
        case SQLITE_FLOAT:
            allNull = false;
            out += dao::doubleText(sqlite3_value_double(argv[i])).toStdString();
            break;
        default:
            allNull = false;
            out.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[i])), sqlite3_value_bytes(argv[i]));
        }
    }
    if (allNull)
        sqlite3_result_null(ctx);
    else
        sqlite3_result_text(ctx, out.data(), int(out.size()), SQLITE_TRANSIENT);
}

void deleteLikePattern(void* p)
{
    delete static_cast<LikePattern*>(p);
}

// like(pattern, text[, escape]): "text LIKE pattern" in statement text.
void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    auto* pat = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pat) {
        QChar escape;
        if (argc > 2) {
            const QString e = argText(argv[2]);
            if (!e.isEmpty())
                escape = e[0];
        }
        pat = new LikePattern(compileLike(argText(argv[0]), escape));
        sqlite3_set_auxdata(ctx, 0, pat, deleteLikePattern);
        pat = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pat) {
            // SQLite freed it at once (the pattern is no constant): match with a fresh one.
            sqlite3_result_int(ctx, like(argText(argv[1]), argText(argv[0])) ? 1 : 0);
            return;
        }
    }
    sqlite3_result_int(ctx, matchLike(*pat, argText(argv[1]).toCaseFolded()) ? 1 : 0);
}

struct FirstState {
    sqlite3_value* value;
    bool set;
};

void firstStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto* st = static_cast<FirstState*>(sqlite3_aggregate_context(ctx, sizeof(FirstState)));
    if (st && !st->set) {
        st->value = sqlite3_value_dup(argv[0]);
        st->set = true;
    }
}

void firstFinal(sqlite3_context* ctx)
{
    auto* st = static_cast<FirstState*>(sqlite3_aggregate_context(ctx, 0));
    if (st && st->set) {
        sqlite3_result_value(ctx, st->value);
        sqlite3_value_free(st->value);
    } else {
        sqlite3_result_null(ctx);
    }
}

}  // namespace

void registerJetFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    struct Fn {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    static const Fn fns[] = {
        {"round", 1, fnRound}, {"round", 2, fnRound},   {"clng", 1, fnClng},     {"cint", 1, fnClng},
        {"cdbl", 1, fnCdbl},   {"cstr", 1, fnCstr},     {"int", 1, fnInt},       {"fix", 1, fnFix},
        {"iif", 3, fnIif},     {"format", 1, fnFormat}, {"format", 2, fnFormat}, {"val", 1, fnVal},
        {"nz", 1, fnNz},       {"nz", 2, fnNz},         {"jisnull", 1, fnIsNull}, {"ucase", 1, fnUcase},
        {"lcase", 1, fnLcase}, {"jleft", 2, fnLeft},    {"jright", 2, fnRight},   {"mid", 2, fnMid},
        {"mid", 3, fnMid},     {"len", 1, fnLen},       {"instr", 2, fnInstr},   {"instr", 3, fnInstr},
        {"str", 1, fnStr},     {"space", 1, fnSpace},   {"jcat", -1, fnJcat},    {"like", 2, fnLike},
        {"like", 3, fnLike},
    };
    for (const Fn& f : fns)
        sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "first", 1, SQLITE_UTF8 | SQLITE_INNOCUOUS, nullptr, nullptr, firstStep,
                               firstFinal, nullptr);
}

}  // namespace jet
