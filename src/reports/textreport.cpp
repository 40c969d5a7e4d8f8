#include "reports/textreport.h"

#include "db/sqltext.h"
#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"
#include "reports/reportitems.h"

#include <QFontDatabase>
#include <cmath>

namespace reports {

const QString kReportTitle = QStringLiteral("KELVA Morvex 2014");
const QString kReportNotice =
    QStringLiteral("Fees shown are computed from sample data and are not official Medicare amounts.");

namespace {

using S = PrintStyle;

const ReportColumn kColumns[kReportItems] = {
    {{"     ", " CPT ", " Code"}, 7, S::Plain},
    {{"                    ", "                    ", "Description         "}, 20, S::Description},
    {{" Non Facility", "Participating", "     Fee     "}, 11, S::Amount},
    {{"Non Facility Non", "  Participating ", "      Fee       "}, 13, S::Amount},
    {{"            ", "Non Facility", "Limiting Fee"}, 16, S::Amount},
    {{"   Facility  ", "Participating", "     Fee     "}, 12, S::Amount},
    {{" Facility Non", "Participating", "    Fee      "}, 11, S::Amount},
    {{"Facility", "Limiting", "  Fee   "}, 13, S::Amount},
    {{" Total Non ", " Facility  ", "KELVA Units"}, 13, S::Amount},
    {{"   Total   ", " Facility  ", "KELVA Units"}, 8, S::Amount},
    {{"    ", "WORK", " RVU"}, 6, S::Amount},
    {{"Global", "  Fee ", "Period"}, 8, S::Amount},
    {{"  User  ", "Schedule", "   1   "}, 8, S::Amount},
    {{"  User  ", "Schedule", "    2   "}, 8, S::Amount},
    {{"  User  ", "Schedule", "    3   "}, 8, S::Amount},
    {{"  User  ", "Schedule", "    4   "}, 8, S::Amount},
    {{"  User  ", "Schedule", "    5   "}, 8, S::Amount},
    {{"         ", "Frequency", "    1    "}, 9, S::Count},
    {{"         ", "Frequency", "    2    "}, 9, S::Count},
    {{"         ", "Frequency", "    3    "}, 9, S::Count},
    {{"         ", "Frequency", "    4    "}, 9, S::Count},
    {{"         ", "Frequency", "     5   "}, 9, S::Count},
    {{"         ", "User Field", "     6   "}, 9, S::Plain},
};

QString quoted(int item)
{
    return QLatin1Char('"') + reportItemText(item) + QLatin1Char('"');
}

}  // namespace

const ReportColumn& reportColumn(int item)
{
    return kColumns[item];
}

PrintSettings readPrintSettings(dao::Database& db)
{
    PrintSettings s;
    dao::Recordset rs = db.OpenRecordset(QStringLiteral("SELECT DEFPRT, PCOLS, PLENGTH, PFSIZE FROM Parms_CL"));
    if (rs.EOF())
        return s;
    const dao::Variant font = rs["DEFPRT"].Value();
    if (!font.isNull() && !font.toString().trimmed().isEmpty())
        s.font = font.toString();
    const dao::Variant cols = rs["PCOLS"].Value();
    if (cols.isNumeric() && cols.toDouble() >= 6 && cols.toDouble() <= 100000)
        s.columns = static_cast<int>(cols.toDouble());
    const dao::Variant lines = rs["PLENGTH"].Value();
    if (lines.isNumeric() && lines.toDouble() >= 3 && lines.toDouble() <= 100000)
        s.lines = static_cast<int>(lines.toDouble());
    const dao::Variant size = rs["PFSIZE"].Value();
    if (size.isNumeric() && size.toDouble() > 0 && size.toDouble() <= 1000)
        s.size = size.toDouble();
    return s;
}

int widthSum(const std::vector<int>& items)
{
    int sum = 0;
    for (std::size_t i = 0; i + 1 < items.size(); ++i)
        sum += kColumns[items[i]].width + kColumnGap;
    return sum;
}

int descriptionWidth(int columns, int sum)
{
    return std::max(columns - sum, kMinDescriptionWidth);
}

int pageNumberIndent(int columns)
{
    return std::max(0, static_cast<int>(std::nearbyint(columns / 2.0 - 3)));
}

int pageCount(qint64 rows, int lines)
{
    const qint64 perPage = std::max(1, lines - 2);
    return static_cast<int>((rows + perPage - 1) / perPage);
}

QString lastPrintText(const QString& lower, const QString& upper, bool tagged, int orientation,
                      const QStringList& chosenTexts)
{
    QString text = tagged ? QStringLiteral("Tag,Tag") : lower + QLatin1Char(',') + upper;
    text += orientation == 1 ? QStringLiteral(",0") : QStringLiteral(",1");
    for (const QString& t : chosenTexts)
        text += QLatin1Char(',') + t;
    return text;
}

QString reportQuery(const QString& table, bool opps, bool tagged, const db::FeeFactors& factors)
{
    const db::FeeExpressions nf = db::feeExpressions(factors, db::PeColumn::NonFacility);
    const db::FeeExpressions fa = db::feeExpressions(factors, db::PeColumn::Facility);
    QStringList cols = {
        QStringLiteral("Tag"), QStringLiteral("CODEMOD"), QStringLiteral("CPT"), QStringLiteral("[MOD]"),
        QStringLiteral("jcat(CPT, ' ', [MOD]) AS \"Code\""), QStringLiteral("[DESC]"),
        (opps ? QStringLiteral("NFTTOTAL") : nf.participating) + " AS " + quoted(2),
        nf.nonParticipating + " AS " + quoted(3),
        nf.limiting + " AS " + quoted(4),
        (opps ? QStringLiteral("FTTOTAL") : fa.participating) + " AS " + quoted(5),
        fa.nonParticipating + " AS " + quoted(6),
        fa.limiting + " AS " + quoted(7),
        QStringLiteral("NFTTOTAL AS ") + quoted(8),
        QStringLiteral("FTTOTAL AS ") + quoted(9),
        QStringLiteral("WORKZ AS ") + quoted(10),
        QStringLiteral("GLOBAL AS ") + quoted(11),
    };
    for (int i = 1; i <= 5; ++i)
        cols << QStringLiteral("S%1 AS ").arg(i) + quoted(11 + i);
    for (int i = 1; i <= 5; ++i)
        cols << QStringLiteral("Freq%1 AS ").arg(i) + quoted(16 + i);
    cols << QStringLiteral("USRDF");
    QString sql = QStringLiteral("SELECT ") + cols.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                  (opps ? QStringLiteral("DATAOPPSVIEW") : table) + QStringLiteral(" WHERE CPT >= ? AND CPT <= ?");
    if (tagged)
        sql += QStringLiteral(" AND Tag = '+'");
    if (opps)
        sql += QStringLiteral(" AND carrier = ? AND locality = ?");
    return sql + QStringLiteral(" ORDER BY CODEMOD");
}

QString columnText(int item, const dao::Variant& value, int descWidth, bool last)
{
    const ReportColumn& c = kColumns[item];
    const int width = c.style == PrintStyle::Description ? descWidth : (c.style == PrintStyle::Count && last ? 8 : c.width);
    if (value.isNull())
        return QString(width, QLatin1Char(' '));
    switch (c.style) {
    case PrintStyle::Description:
        return value.toString().left(descWidth);
    case PrintStyle::Amount: {
        const QString text = value.isNumeric() ? QString::number(value.toDouble(), 'f', 2) : value.toString();
        return text.rightJustified(width, QLatin1Char(' '));
    }
    case PrintStyle::Count:
        return value.toString().rightJustified(width, QLatin1Char(' '));
    case PrintStyle::Plain:
        break;
    }
    return value.toString();
}

QString printerFontFor(const QString& setting)
{
    const QString wanted = setting.trimmed().toLower();
    if (!wanted.isEmpty()) {
        for (const QString& family : QFontDatabase::families())
            if (family.toLower().contains(wanted) && QFontDatabase::isFixedPitch(family))
                return family;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

}  // namespace reports
