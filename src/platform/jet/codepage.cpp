#include "platform/jet/codepage.h"

#include <QStringDecoder>
#include <array>
#include <map>
#include <mutex>
#include <vector>

namespace jet {
namespace {

using Upper = std::array<char16_t, 128>;  // the characters of bytes 0x80..0xFF

Upper upperFrom(const char16_t* text)
{
    Upper u{};
    for (int i = 0; i < 128; ++i)
        u[i] = text[i];
    return u;
}

const Upper& cp1252()
{
    static const Upper table = [] {
        Upper u{};
        static const char16_t c1[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
        for (int i = 0; i < 32; ++i)
            u[i] = c1[i];
        for (int i = 32; i < 128; ++i)
            u[i] = char16_t(0x80 + i);
        return u;
    }();
    return table;
}

const Upper& cp437()
{
    static const Upper table = upperFrom(
        u"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
        u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0");
    return table;
}

const Upper& cp850()
{
    static const Upper table = upperFrom(
        u"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜø£Ø×ƒáíóúñÑªº¿®¬½¼¡«»░▒▓│┤ÁÂÀ©╣║╗╝¢¥┐"
        u"└┴┬├─┼ãÃ╚╔╩╦╠═╬¤ðÐÊËÈıÍÎÏ┘┌█▄¦Ì▀ÓßÔÒõÕµþÞÚÛÙýÝ¯´\u00AD±‗¾¶§÷¸°¨·¹³²■\u00A0");
    return table;
}

const Upper& latin1()
{
    static const Upper table = [] {
        Upper u{};
        for (int i = 0; i < 128; ++i)
            u[i] = char16_t(0x80 + i);
        return u;
    }();
    return table;
}

// The single-byte table of a code page we carry ourselves, or null.
const Upper* tableOf(int codepage)
{
    switch (codepage) {
    case 1252: return &cp1252();
    case 437: return &cp437();
    case 850: return &cp850();
    case 28591: return &latin1();
    default: return nullptr;
    }
}

QString decodeTable(QByteArrayView bytes, const Upper& upper)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = b < 0x80 ? QChar(b) : QChar(upper[b - 0x80]);
    }
    return out;
}

// The byte of each character of a table's upper half, built once per table; 0 where it has none.
const std::vector<char>& reverseOf(const Upper& upper)
{
    static std::mutex guard;
    static std::map<const Upper*, std::vector<char>> built;
    const std::lock_guard lock(guard);
    std::vector<char>& r = built[&upper];
    if (r.empty()) {
        r.assign(0x10000, 0);
        for (int i = 0; i < 128; ++i)
            if (r[upper[i]] == 0)
                r[upper[i]] = char(0x80 + i);
    }
    return r;
}

QByteArray encodeTable(const QString& text, const Upper& upper)
{
    const std::vector<char>& reverse = reverseOf(upper);
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out.append(char(c));
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;  // one character outside the plane: one "?"
        const char b = QChar::isSurrogate(c) ? 0 : reverse[c];
        out.append(b == 0 ? '?' : b);
    }
    return out;
}

}  // namespace

QString decode(QByteArrayView bytes, int codepage)
{
    if (const Upper* t = tableOf(codepage))
        return decodeTable(bytes, *t);
    switch (codepage) {
    case 65001: return QString::fromUtf8(bytes);
    case 1200: {
        const qsizetype n = bytes.size() / 2;
        QString out(n, Qt::Uninitialized);
        for (qsizetype i = 0; i < n; ++i)
            out[i] = QChar(char16_t(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8)));
        return out;
    }
    case 20127: case 367: {
        QString out = QString::fromLatin1(bytes);
        for (QChar& c : out)
            if (c.unicode() >= 0x80)
                c = u'?';
        return out;
    }
    default: break;
    }
    if (codepage >= 1250 && codepage <= 1258) {
        QStringDecoder other(QStringLiteral("windows-%1").arg(codepage).toLatin1().constData());
        if (other.isValid())
            return other.decode(bytes);
    }
    return decodeTable(bytes, cp1252());
}

QByteArray encode(const QString& text, int codepage)
{
    if (const Upper* t = tableOf(codepage))
        return encodeTable(text, *t);
    switch (codepage) {
    case 65001: return text.toUtf8();
    case 1200: {
        QByteArray out;
        out.reserve(text.size() * 2);
        for (const QChar c : text) {
            out.append(char(c.unicode() & 0xFF));
            out.append(char(c.unicode() >> 8));
        }
        return out;
    }
    case 20127: case 367: {
        QByteArray out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            out.append(c < 0x80 ? char(c) : '?');
        }
        return out;
    }
    default: return encodeTable(text, cp1252());
    }
}

QString decodeUtf8Or1252(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeTable(bytes, cp1252());
}

}  // namespace jet
