#pragma once

#include <QByteArray>
#include <cstring>

// Little-endian fields of the binary file formats.
namespace jet::bytes {

inline unsigned u8(const QByteArray& b, qsizetype at) { return static_cast<unsigned char>(b[at]); }
inline unsigned u16(const QByteArray& b, qsizetype at) { return u8(b, at) | u8(b, at + 1) << 8; }
inline quint32 u32(const QByteArray& b, qsizetype at) { return u16(b, at) | quint32(u16(b, at + 2)) << 16; }
inline double f64(const QByteArray& b, qsizetype at)
{
    quint64 v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | u8(b, at + i);
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
}

inline void put8(QByteArray& b, unsigned v) { b.append(char(v & 0xFF)); }
inline void put16(QByteArray& b, unsigned v)
{
    put8(b, v);
    put8(b, v >> 8);
}
inline void put32(QByteArray& b, quint32 v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void putF64(QByteArray& b, double d)
{
    quint64 v;
    std::memcpy(&v, &d, sizeof v);
    for (int i = 0; i < 8; ++i)
        put8(b, unsigned(v >> (8 * i)));
}
inline void set16(QByteArray& b, qsizetype at, unsigned v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

// One record of a BIFF or WK1 stream: u16 id, u16 size, then the body.
struct Record {
    unsigned id = 0;
    QByteArray body;
};

inline void putRecord(QByteArray& out, unsigned id, const QByteArray& body)
{
    put16(out, id);
    put16(out, unsigned(body.size()));
    out.append(body);
}

}  // namespace jet::bytes
