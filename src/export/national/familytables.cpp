#include "export/national/familytables.h"

#include "export/ExprtInd.h"
#include "platform/dao/Transaction.h"
#include "platform/seam/Seam.h"

#include <QSet>
#include <algorithm>

namespace nationaltables {

namespace {

// Every named column fills the column of its own name.
std::vector<std::pair<QString, QString>> columns(std::initializer_list<std::pair<const char*, const char*>> leading,
                                                 const char* states)
{
    std::vector<std::pair<QString, QString>> out;
    for (const auto& [target, source] : leading)
        out.emplace_back(QString::fromLatin1(target), QString::fromLatin1(source));
    for (const QString& s : QString::fromLatin1(states).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out.emplace_back(s, s);
    return out;
}

FamilyTable makeLab()
{
    return {.family = "LAB", .source = "LAB", .table = "LAB_States",
            .renames = {{"NATIONALLIMIT", "NAT"}, {"MIDPOINT", "MID"}, {"LABFLOOR", "FLR"}, {"HCPCS", "CODE"},
                        {"MOD", "MOD"}},
            .skipped = {"DESCRIPTION", "CODEMOD"},
            .primaryKey = true,
            .rowColumns = columns({{"CODE", "HCPCS"}, {"MOD", "Mod"}, {"IN", "IN"}, {"OR", "OR"},
                                   {"NAT", "NationalLimit"}, {"MID", "MidPoint"}, {"FLR", "LabFloor"}},
                                  "AL GA MS AR NM OK MO2 LA FL CT KS1 NE KY MO1 MT NY1 NY2 NJ ND SD CO WY IA AK AZ "
                                  "HI NV WA PA RI SC TX MD DE DC VA UT WI IL MI MN PR ID TN NC NY3 OH WV CA1 ME MA "
                                  "NH VT CA2 KS2")};
}

FamilyTable makeDme()
{
    return {.family = "DME", .source = "DME", .table = "DME_States",
            .renames = {{"CEILING", "CEIL"}, {"FLOOR", "FLR"}, {"HCPCS", "CODE"}, {"MOD", "MOD"}, {"MOD2", "MOD2"}},
            .skipped = {"DESCRIPTION", "CODEMOD", "JURIS", "CATG"},
            .rowColumns = columns({{"CODE", "HCPCS"}, {"MOD", "Mod"}, {"MOD2", "Mod2"}, {"CEIL", "Ceiling"},
                                   {"FLR", "Floor"}},
                                  "AL AR AZ CA CO CT DC DE FL GA IA ID IL IN KS KY LA MA MD ME MI MN MO MS MT NC ND "
                                  "NE NH NJ NM NV NY OH OK OR PA RI SC SD TN TX UT VA VT WA WI WV WY AK HI PR VI"),
            .textColumns = 3,
            .yieldAfterColumns = true,
            .emptySourceFails = true};
}

FamilyTable makeJcode()
{
    return {.family = "JCD", .source = "JCD", .table = "JCD_States",
            .renames = {{"HCPCS", "CODE"}, {"MOD", "MOD"}},
            .skipped = {"FIELD64", "CMS", "DESCRIPTION", "CODEMOD"},
            .primaryKey = true,
            .rowColumns = columns({{"CODE", "HCPCS"}, {"MOD", "Mod"}},
                                  "NY2 SC OH WV WI MI IL MN AL GA MS IN KY FL CT AK AZ CO HI IA NV ND OR SD WA WY GU "
                                  "AS NC TN ID UT NY1 NJ CA ME MA VT NH AR OK NM LA MO1 PA1 PR VI TX MD VA DC DE KS NE "
                                  "MO2 MT NY3 RI"),
            .yieldAfterColumns = true,
            .emptySourceFails = true};
}

QString columnList(const std::vector<std::pair<QString, QString>>& cols, bool target)
{
    QStringList names;
    for (const auto& [t, s] : cols)
        names << dao::quoteIdentifier(target ? t : s);
    return names.join(QLatin1Char(','));
}

void openProgress(const FamilyTable& t, const LabOpening& lab, ExprtInd& progress)
{
    if (t.family == QLatin1String("LAB")) {
        seam().DoEvents();
        progress.Show();
        seam().DoEvents();
        if (lab.showTwice)
            progress.Show();
    } else {
        progress.Show();
        seam().DoEvents();
    }
}

}  // namespace

const FamilyTable& labTable()
{
    static const FamilyTable t = makeLab();
    return t;
}

const FamilyTable& dmeTable()
{
    static const FamilyTable t = makeDme();
    return t;
}

const FamilyTable& jcodeTable()
{
    static const FamilyTable t = makeJcode();
    return t;
}

const FamilyTable* familyTable(const QString& family)
{
    for (const FamilyTable* t : {&labTable(), &dmeTable(), &jcodeTable()})
        if (t->family == family)
            return t;
    return nullptr;
}

std::vector<dao::FieldDef> nationalColumns(const FamilyTable& t, const dao::TableDef& source)
{
    std::vector<dao::FieldDef> out;
    for (std::size_t i = 1; i < source.fields.size(); ++i) {
        dao::FieldDef f = source.fields[i];
        const QString upper = f.name.toUpper();
        if (t.skipped.contains(upper))
            continue;
        for (const auto& [from, to] : t.renames)
            if (upper == from) {
                f.name = to;
                break;
            }
        out.push_back(f);
    }
    return out;
}

StageResult runStage(const FamilyTable& t, const LabOpening& lab, dao::Database& mainDb, dao::Database& target,
                     ExprtInd& progress)
{
    const bool isLab = t.family == QLatin1String("LAB");
    // A work table of that name is no business of this run's: it goes before the table is made.
    if (isLab && lab.dropMainTable && mainDb.hasTable(t.table))
        mainDb.Execute(QStringLiteral("DROP TABLE ") + dao::quoteIdentifier(t.table));
    openProgress(t, lab, progress);

    const dao::TableDef sourceDef = mainDb.tableDef(t.source);
    const qint64 n = mainDb.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + dao::quoteIdentifier(t.source)).toLongLong();
    progress.setPrg1Max(double(n + 2));

    dao::TableDef def;
    def.name = t.table;
    def.fields = nationalColumns(t, sourceDef);
    if (t.yieldAfterColumns) {
        progress.setPrg1Value(1);
        seam().DoEvents();
    }
    def.indexes.push_back({QStringLiteral("CODEIndexx"), {QStringLiteral("CODE")}, false, t.primaryKey});
    if (!t.yieldAfterColumns)
        progress.setPrg1Value(1);
    target.CreateTable(def);

    // The statement names its columns: a source lacking one of them fails here, before any row.
    for (const auto& [to, from] : t.rowColumns) {
        const bool found = std::any_of(sourceDef.fields.begin(), sourceDef.fields.end(), [&](const dao::FieldDef& f) {
            return f.name.compare(from, Qt::CaseInsensitive) == 0;
        });
        if (!found)
            throw dao::Error(3265, QStringLiteral("Item not found in this collection."));
    }
    dao::Recordset rows = mainDb.OpenRecordset(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                                   .arg(columnList(t.rowColumns, false), dao::quoteIdentifier(t.source)));
    if (rows.rowCount() == 0 && t.emptySourceFails)
        throw dao::Error(3021, QStringLiteral("No current record."));

    const QString insert =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(dao::quoteIdentifier(t.table), columnList(t.rowColumns, true),
                 QStringList(int(t.rowColumns.size()), QStringLiteral("?")).join(QLatin1Char(',')));
    StageResult result;
    QSet<QString> codes;
    std::vector<dao::Variant> values(t.rowColumns.size());
    target.BeginTrans();
    for (int r = 0; r < rows.rowCount(); ++r) {
        for (int c = 0; c < int(values.size()); ++c) {
            values[std::size_t(c)] = rows.cell(r, c);
            if (c < t.textColumns && values[std::size_t(c)].isNull())
                values[std::size_t(c)] = QString();
        }
        bool keep = true;
        if (t.primaryKey) {
            const QString code = values[0].toString().toUpper();
            keep = !codes.contains(code);
            codes.insert(code);
        }
        if (keep) {
            target.Execute(insert, values);
            ++result.written;
        } else {
            ++result.skippedKeys;
        }
        progress.setPrg1Value(progress.prg1Value() + 1);
    }
    target.CommitTrans();
    progress.setPrg1Value(progress.prg1Max());
    return result;
}

}  // namespace nationaltables
