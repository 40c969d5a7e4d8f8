#include "feequery.h"

#include "platform/dao/Database.h"

namespace db {

namespace {

// Select-list items of the passed-through columns; DESC is a keyword of SQLite, MOD is quoted with it.
constexpr std::array<const char*, feecol::Count> kItems{{
    "Tag",      "CODEMOD",   "CPT",      "\"MOD\"",    "STATUS",   "\"DESC\"",  "LDESC",   "WORKZ",
    "FRBPERVU", "NFBPERVU",  "NFTPERVU", "NFRBPERVU", "FBPERVU", "FTPERVU", "MRVU",    "NFRBTOTAL",
    "NFTTOTAL", "FRBTOTAL",  "FTTOTAL",  nullptr,    nullptr,    nullptr,   nullptr,   nullptr,
    nullptr,    "GLOBAL",    "PCTCIND",  "PREOP",    "INTRAOP",  "POSTOP",  "MULTPROC", "BILATSURG",
    "ASSTSURG", "COSURG",    "TEAMSURG", "PHYSSUPV", "BMIND",    "BMCODE",  "ENDOBASE", "CONVF",
    "CALCIND",  "WORKC",     "NRVUC",    "FRVUC",    "S1",       "S2",      "S3",      "S4",
    "S5",       "Freq1",     "Freq2",    "Freq3",    "Freq4",    "Freq5",   "CWORK",   "NOTES",
    "NAIND",    "USRDF",     "NAFIND",   "OPPS_CAP_IND", "NOTUSEDIND",
}};

constexpr std::array<const char*, feecol::Count> kNames{{
    "Tag",      "CODEMOD",   "CPT",      "MOD",      "STATUS",   "DESC",    "LDESC",   "WORKZ",
    "FRBPERVU", "NFBPERVU",  "NFTPERVU", "NFRBPERVU", "FBPERVU", "FTPERVU", "MRVU",    "NFRBTOTAL",
    "NFTTOTAL", "FRBTOTAL",  "FTTOTAL",  "NPART",    "NNPART",   "NLC",     "FPART",   "FNPART",
    "FLC",      "GLOBAL",    "PCTCIND",  "PREOP",    "INTRAOP",  "POSTOP",  "MULTPROC", "BILATSURG",
    "ASSTSURG", "COSURG",    "TEAMSURG", "PHYSSUPV", "BMIND",    "BMCODE",  "ENDOBASE", "CONVF",
    "CALCIND",  "WORKC",     "NRVUC",    "FRVUC",    "S1",       "S2",      "S3",      "S4",
    "S5",       "Freq1",     "Freq2",    "Freq3",    "Freq4",    "Freq5",   "CWORK",   "NOTES",
    "NAIND",    "USRDF",     "NAFIND",   "OPPS_CAP_IND", "NOTUSEDIND",
}};

dao::Variant textOrEmpty(const dao::Variant& v)
{
    return v.isNull() ? dao::Variant(QString()) : dao::Variant(v.toString());
}

}  // namespace

const std::array<const char*, feecol::Count>& feeQueryColumns()
{
    return kNames;
}

QStringList feeKindCaptions(const QStringList& scheduleNames)
{
    QStringList out;
    int schedule = 0;
    for (const FeeKind& k : kFeeKinds) {
        if (k.caption)
            out << QString::fromLatin1(k.caption);
        else
            out << scheduleNames.value(schedule++);
    }
    return out;
}

int feeKindIndex(int position)
{
    for (std::size_t i = 0; i < kFeeKinds.size(); ++i)
        if (kFeeKinds[i].position == position)
            return int(i);
    return -1;
}

namespace {

QString selectList(const FeeFactors& f, bool opps, bool withOppsCap)
{
    QString out;
    out.reserve(4096);
    for (int i = 0; i < feecol::Count; ++i) {
        if (i == feecol::NPart) {
            if (opps) {
                const FeeExpressions e = feeExpressions(f, PeColumn::NonFacility);
                out += QStringLiteral("NFTTOTAL as NPART, %1 as NNPART, %2 as NLC").arg(e.nonParticipating, e.limiting);
            } else {
                out += feeSelectItems(f, PeColumn::NonFacility);
            }
        } else if (i == feecol::FPart) {
            if (opps) {
                const FeeExpressions e = feeExpressions(f, PeColumn::Facility);
                out += QStringLiteral("FTTOTAL as FPART, %1 as FNPART, %2 as FLC").arg(e.nonParticipating, e.limiting);
            } else {
                out += feeSelectItems(f, PeColumn::Facility);
            }
        } else if (i == feecol::OppsCapInd && !withOppsCap) {
            continue;
        } else if (kItems[std::size_t(i)]) {
            out += QLatin1String(kItems[std::size_t(i)]);
        } else {
            continue;  // the amounts after NPART and FPART came with them
        }
        if (i < feecol::Count - 1)
            out += QLatin1String(", ");
    }
    return out;
}

}  // namespace

QString feeSelectList(const FeeFactors& f, bool opps)
{
    return selectList(f, opps, true);
}

QString sessionSelectList(const FeeFactors& f)
{
    return selectList(f, false, false);
}

FeeQuery backupFeeQuery(const FeeFactors& f, const QString& table)
{
    FeeQuery q;
    q.sql = QStringLiteral("SELECT ") + selectList(f, false, false) + QStringLiteral(" FROM ") + dao::quoteIdentifier(table.trimmed())
            + QStringLiteral(" ORDER BY CODEMOD");
    return q;
}

FeeQuery sessionFeeQuery(const FeeFactors& f, const QString& table, FeeList list)
{
    FeeQuery q;
    q.sql = QStringLiteral("SELECT ") + feeSelectList(f, false) + QStringLiteral(" FROM ") + dao::quoteIdentifier(table.trimmed())
            + (list == FeeList::Tagged ? QStringLiteral(" WHERE TAG ='+' ORDER BY CODEMOD")
                                       : QStringLiteral(" ORDER BY CODEMOD"));
    return q;
}

FeeQuery oppsFeeQuery(const FeeFactors& f, const dao::Variant& carrier, const dao::Variant& locality, FeeList list)
{
    FeeQuery q;
    q.sql = QStringLiteral("SELECT ") + feeSelectList(f, true) + QStringLiteral(" FROM DATAOPPSVIEW ")
            + (list == FeeList::Tagged ? QStringLiteral("where TAG ='+' and carrier = ?") : QStringLiteral("where carrier = ?"))
            + QStringLiteral(" and locality = ? ORDER BY CODEMOD");
    q.params = {textOrEmpty(carrier), textOrEmpty(locality)};
    return q;
}

}  // namespace db
