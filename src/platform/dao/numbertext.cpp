#include "numbertext.h"

#include <charconv>
#include <cmath>
#include <string>

namespace dao {

QString plainNumber(double v)
{
    if (!std::isfinite(v))
        return QStringLiteral("NULL");
    if (v == 0)
        return QStringLiteral("0");
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14);
    const std::string s(buf, r.ptr);
    const auto e = s.find('e');
    int exp10 = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0), s.data() + s.size(), exp10);
    std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string out;
    if (v < 0)
        out += '-';
    const int point = exp10 + 1;  // digits before the decimal point
    if (point <= 0) {
        out += "0.";
        out.append(std::size_t(-point), '0');
        out += digits;
    } else if (point >= int(digits.size())) {
        out += digits;
        out.append(std::size_t(point) - digits.size(), '0');
    } else {
        out += digits.substr(0, std::size_t(point));
        out += '.';
        out += digits.substr(std::size_t(point));
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

}  // namespace dao
