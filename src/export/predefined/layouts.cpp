#include "export/predefined/layouts.h"

#include "platform/dao/Database.h"
#include "platform/dao/Error.h"
#include "platform/jet/biff4.h"

#include <QDir>
#include <QFile>

namespace predefined {

namespace {

using V = Value;
using C = Csv;

const Column kCpt{"CPT", "CPT", "CPT", "CPT", "CPT", V::Text, C::Quoted};
const Column kMod{"MOD", "Mod", "MOD", "Mod", "Mod", V::Text, C::Quoted};
const Column kDesc{"DESC", "Desc", "DESC", "Desc", "Description", V::Text, C::Quoted};
const Column kGlobalQuoted{"GLOBAL", "Global", "GLOBAL", "GLOBAL", "GFP", V::Text, C::Quoted};
const Column kGlobalBare{"GLOBAL", "Global", "GLOBAL", "GLOBAL", "GFP", V::Text, C::Bare};
const Column kNonFacilityFee{"NPART", "QNPART", "QNPART", "QNPART", "Non Facility Par Fee", V::Fee, C::Fee};
const Column kFacilityFee{"FPART", "QFPART", "QFPART", "QFPART", "Facility Par Fee", V::Fee, C::Fee};

Column zeroForNull(Column c)
{
    c.nullAsZero = true;
    return c;
}

Column schedule(int n, const char* source, int name)
{
    // The worksheet keeps the template's name; the table and the CSV take the session's.
    return {source, source, nullptr, nullptr, nullptr, V::Stored, C::Bare, false, name + n};
}

std::vector<Column> schedules(bool frequencies)
{
    static const char* const s[] = {"S1", "S2", "S3", "S4", "S5"};
    static const char* const f[] = {"Freq1", "Freq2", "Freq3", "Freq4", "Freq5"};
    std::vector<Column> cols{kCpt, kMod, kDesc};
    for (int i = 0; i < 5; ++i)
        cols.push_back(schedule(i, s[i], 0));
    if (frequencies)
        for (int i = 0; i < 5; ++i)
            cols.push_back(schedule(i, f[i], 5));
    return cols;
}

const std::array<Layout, kLayouts>& table()
{
    static const std::array<Layout, kLayouts> layouts{{
        {"Partipating Fees (Non Facility)", "Code, Mod, GFP, Short Description, Fee", "exportpre1.xls",
         {kCpt, kMod, kGlobalQuoted, kDesc, kNonFacilityFee}, true, true},
        {"Participating Fees (Non Facility) with RVUs",
         "Code, Mod, Short Description, Work, Practice, Malpractice, Total RVU, Fee, GFP", "exportpre2.xls",
         {kCpt, kMod, kDesc, {"WORKZ", "WORKZ", "WORKZ", "WORKZ", "Work RVU", V::Number, C::Number},
          {"NFTPERVU", "NFTPERVU", "NFTPERVU", "NFTPERVU", "Practice Non Facility RVU", V::Number, C::Number},
          {"MRVU", "MRVU", "MRVU", "MRVU", "Mal Practice RVU", V::Number, C::Number},
          {"NFTTOTAL", "NFTTOTAL", "NFTTOTAL", "NFTTOTAL", "Non Facility Total RVUs ", V::Number, C::Number},
          kNonFacilityFee, kGlobalBare},
         false, true},
        {"Participating Fees (Facility)", "Code, Mod, Short Description, Fee", "exportpre3.xls",
         {kCpt, kMod, kDesc, kFacilityFee}, true, true},
        {"Participating Fees (Facility) with RVUs",
         "Code, Mod, ShortDescription, Work, Practice, Malpractice, Total RVU, Fee, GFP", "exportpre4.xls",
         {kCpt, kMod, kDesc, zeroForNull({"WORKZ", "WORKZ", "WORKZ", "WORKZ", "Work RVU", V::Number, C::Number}),
          zeroForNull({"FTPERVU", "FTPERVU", "FTPERVU", "FTPERVU", "Practice Facility RVU", V::Number, C::Number}),
          zeroForNull({"MRVU", "MRVU", "MRVU", "MRVU", "Mal Practice RVU", V::Number, C::Number}),
          zeroForNull({"FTTOTAL", "FTTOTAL", "FTTOTAL", "FTTOTAL", "Facility Total RVUs", V::Number, C::Number}),
          zeroForNull(kFacilityFee), kGlobalBare},
         false, true},
        {"User Defined Fee Schedules", "Code, Mod, Short Descriptions, S1, S2, S3, S4, S5", "exportpre5.xls",
         schedules(false), false, true},
        {"User Defined Fee Schedules and Frequencies",
         "Code, Mod, Short Descriptions, S1, S2, S3, S4, S5, Freq1, Freq2, Freq3, Freq4, Freq5", "exportpre6.xls",
         schedules(true), false, false},
    }};
    return layouts;
}

QString nameOf(const Column& c, const char* fixed, const SessionNames& names)
{
    return fixed ? QString::fromLatin1(fixed) : names[std::size_t(c.name)].toString();
}

}  // namespace

bool Layout::usesNames() const
{
    for (const Column& c : columns)
        if (c.name >= 0)
            return true;
    return false;
}

const Layout& layout(int index)
{
    return table().at(std::size_t(index));
}

QStringList sheetHeader(const Layout& l)
{
    QStringList names;
    for (const Column& c : l.columns)
        names << QString::fromLatin1(c.sheet);
    return names;
}

QString createTable(const Layout& l, const SessionNames& names)
{
    QStringList defs;
    for (const Column& c : l.columns) {
        const QString name = nameOf(c, c.table, names);
        if (name.isEmpty())
            throw dao::Error(3125, QStringLiteral("'' is not a valid name. Make sure that it does not include "
                                                  "invalid characters or punctuation and that it is not too long."));
        // Jet's TEXT without a size holds 255 characters.
        defs << dao::quoteIdentifier(name) + QStringLiteral(" TEXT(255) COLLATE NOCASE");
    }
    return QStringLiteral("CREATE TABLE \"Predefined Export\" (") + defs.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QStringList csvFieldNames(const Layout& l, const SessionNames& names)
{
    QStringList texts;
    for (const Column& c : l.columns)
        texts << nameOf(c, c.field, names);
    return texts;
}

QStringList csvCaptions(const Layout& l, const SessionNames& names)
{
    QStringList texts;
    for (const Column& c : l.columns)
        texts << nameOf(c, c.caption, names);
    return texts;
}

bool writeTemplates(const QString& folder)
{
    const QDir dir(folder);
    for (const Layout& l : table()) {
        const QByteArray bytes = jet::biff4Template(sheetHeader(l));
        QFile f(dir.filePath(QString::fromLatin1(l.templateName)));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

}  // namespace predefined
