#include "export/session/tablefields.h"

#include "platform/dao/Error.h"
#include "platform/dao/jetfunctions.h"
#include "platform/jet/biff4.h"
#include "platform/jet/wk1.h"

#include <QDir>
#include <QFile>

namespace tablefields {

const std::vector<Field>& fields()
{
    static const std::vector<Field> all = [] {
        std::vector<Field> f{
            {"Tag", "Tag", Value::Unchanged},
            {"Codemod", "CODEMOD", Value::Unchanged},
            {"CPT", "CPT", Value::Unchanged},
            {"Mod", "MOD", Value::Unchanged},
            {"Status", "STATUS", Value::Unchanged},
            {"Desc", "DESC", Value::ShortDesc},
            {"NFTPERVU", "NFTPERVU", Value::UnitText},
            {"FTPERVU", "FTPERVU", Value::Number},
            {"MRVU", "MRVU", Value::Number},
            {"NFTTOTAL", "NFTTOTAL", Value::Number},
            {"FTTOTAL", "FTTOTAL", Value::Number},
            {"QNPART", "NPART", Value::FeeText},
            {"QFPART", "FPART", Value::FeeText},
            {"NFRBPERVU", "NFRBPERVU", Value::Number},
            {"FRBPERVU", "FRBPERVU", Value::Number},
            {"WORKZ", "WORKZ", Value::Number},
            {"NFRBTOTAL", "NFRBTOTAL", Value::Number},
            {"QNNPART", "NNPART", Value::FeeText},
            {"QNLC", "NLC", Value::FeeText},
            {"QFNPART", "FNPART", Value::FeeText},
            {"QFLC", "FLC", Value::FeeText},
            {"Global", "GLOBAL", Value::Unchanged},
        };
        for (const char* s : {"S1", "S2", "S3", "S4", "S5", "Freq1", "Freq2", "Freq3", "Freq4", "Freq5"})
            f.push_back({s, s, Value::Unchanged, false, true});
        for (const char* s : {"NAIND", "NAFIND", "PCTCIND", "PREOP", "INTRAOP", "POSTOP", "MULTPROC", "BILATSURG",
                              "ASSTSURG", "COSURG", "TEAMSURG", "PHYSSUPV", "ENDOBASE", "NOTUSEDIND"})
            f.push_back({s, s, Value::Unchanged});
        for (const char* s : {"NON_PE_OPPS", "FAC_PE_OPPS", "MAL_PE_OPPS"})
            f.push_back({s, s, Value::Unchanged, true});
        f.push_back({"USRDF", "USRDF", Value::UserField});
        f.push_back({"Notes", "NOTES", Value::Notes});
        f.push_back({"LDesc", "LDESC", Value::LongDesc});
        return f;
    }();
    return all;
}

QString targetName(const Field& field, bool access)
{
    const QString name = QString::fromLatin1(field.target);
    return access && field.schedule ? name + QStringLiteral("_1") : name;
}

dao::Variant converted(Value value, const dao::Variant& source)
{
    if (source.isNull())
        return {};
    switch (value) {
    case Value::Unchanged:
        return source;
    case Value::ShortDesc:
        return source.toString().left(150).replace(QLatin1Char('"'), QLatin1Char(' '));
    case Value::UnitText:
        return jet::format(dao::Variant(dao::CDbl(source)), QStringLiteral("#####.00"));
    case Value::Number:
        return dao::CDbl(source);
    case Value::FeeText:
        return jet::format(dao::Variant(dao::CDbl(source)), QStringLiteral("#0.00"));
    case Value::UserField:
        // Only the exact upper-case word means "no user field".
        return source.toString() == QLatin1String("XXXXXXX") ? dao::Variant() : source;
    case Value::Notes: {
        QString text = source.toString();
        if (text.isEmpty())
            return {};
        text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        return text.left(150).replace(QLatin1Char('"'), QLatin1Char(' '));
    }
    case Value::LongDesc:
        return source.toString().left(150);
    }
    return source;
}

QStringList sheetHeader()
{
    QStringList names;
    for (const Field& f : fields())
        names << QString::fromLatin1(f.target);
    return names;
}

std::vector<jet::DbfField> dbfFields()
{
    std::vector<jet::DbfField> out;
    for (const Field& f : fields()) {
        if (f.oppsFactor)
            continue;
        const QString name = QString::fromLatin1(f.target);
        jet::DbfField d{name, 'C', 12, 0};
        switch (f.value) {
        case Value::ShortDesc:
        case Value::Notes:
        case Value::LongDesc:
            d.width = 150;
            break;
        case Value::UnitText:
        case Value::FeeText:
            d = {name, 'N', 14, 2};
            break;
        case Value::Number:
            d = {name, 'N', 18, 4};
            break;
        case Value::UserField:
            d.width = 10;
            break;
        case Value::Unchanged:
            if (f.schedule)
                d = {name, 'N', 18, 4};
            break;
        }
        out.push_back(d);
    }
    return out;
}

bool writeTemplates(const QString& folder)
{
    const QDir dir(folder);
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    };
    if (!write(QStringLiteral("export.xls"), jet::biff4Template(sheetHeader())) ||
        !write(QStringLiteral("export.wk1"), jet::wk1Template(sheetHeader())))
        return false;
    const QString dbf = dir.filePath(QStringLiteral("export.dbf"));
    QFile::remove(dbf);
    try {
        jet::createDbf(dbf, dbfFields());
    } catch (const dao::Error&) {
        return false;
    }
    return true;
}

}  // namespace tablefields
