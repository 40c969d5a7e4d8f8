#include "export/zuzizavoz/WltFeeLine.h"

namespace wlt {

namespace {

const QString kNoComponent = QStringLiteral("    000");

}  // namespace

QString cents(const dao::Variant& fee)
{
    if (fee.isNull())
        return QString(7, QLatin1Char(' '));
    const double product = dao::CDbl(fee) * 100;
    if (product == 0)
        return kNoComponent;
    return dao::doubleText(product).rightJustified(7, QLatin1Char(' '));
}

QByteArray WltFeeLine(const dao::Variant& cpt, const QString& feeCents, const QString& componentCents)
{
    const QString text = cpt.toString().rightJustified(5, QLatin1Char(' ')) + QLatin1Char(' ') + feeCents
                         + QLatin1Char(' ') + componentCents + QStringLiteral("\r\n");
    return text.toLatin1();
}

void writeLines(const std::vector<FeeRow>& rows, const std::function<void(const QByteArray&)>& line)
{
    std::size_t i = 0;
    while (i < rows.size()) {
        const FeeRow& r = rows[i];
        const QString code = r.cpt.toString();
        const QString fee = cents(r.fee);
        auto sameCode = [&](std::size_t j) { return j < rows.size() && rows[j].cpt.toString() == code; };
        if (sameCode(i + 1) && rows[i + 1].mod.toString() == QLatin1String("26")) {
            QString component;
            std::size_t j = i + 1;
            for (; sameCode(j); ++j)
                if (rows[j].mod.toString() == QLatin1String("26"))
                    component += cents(rows[j].fee);
            line(WltFeeLine(r.cpt, fee, component));
            i = j;
        } else {
            line(WltFeeLine(r.cpt, fee, kNoComponent));
            ++i;
        }
    }
}

}  // namespace wlt
