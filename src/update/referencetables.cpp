#include "update/referencetables.h"

#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"
#include "platform/seam/Seam.h"

namespace update {

namespace {

const QString kStage = QStringLiteral("temp.kelva_update_rows");

bool isNumber(dao::FieldType t)
{
    return t == dao::FieldType::Long || t == dao::FieldType::Double || t == dao::FieldType::YesNo;
}

void run(UpdateRun& r, const char* operation)
{
    applyReplacement(r, replacementMember(QString::fromLatin1(operation)));
}

}  // namespace

const std::vector<ReplacementMember>& replacementMembers()
{
    static const std::vector<ReplacementMember> members = {
        {"Update_ASC",
         {{"ASCWAGEINDEX", "ASCWAGEINDEX1"}, {"ASCGROUPS", "ASCGROUPS1"}, {"ASCGROUPRATES", "ASCGROUPRATES1"}},
         "ASCGROUPRATES1", " ASC "},
        {"Update_Lab", {{"LAB", "Lab1"}}, "Lab1", " Lab "},
        {"Update_DME", {{"DME", "dme1"}}, "dme1", " DME "},
        {"Update_DRG", {{"DRG", "DRG1"}}, "DRG1", " DRG "},
        {"Update_JCODE", {{"JCD", "JCD1"}}, "JCD1", " JCODE "},
        {"Update_Location", {{"LOCATION", "location1"}}, "location1", " LOCATION "},
        {"Update_ExcelReplacementsKelva", {{"DatesKELVA", "DatesKELVA1"}}, "DatesKELVA1", nullptr},
        {"Update_ExcelReplacementsAsc", {{"DatesASC", "DatesASC1"}}, "DatesASC1", nullptr},
        {"Update_ExcelReplacementsJCD", {{"DatesJCD", "DatesJCD1"}}, "DatesJCD1", nullptr},
        {"Update_ExcelReplacementsDME", {{"DatesDME", "DatesDME1"}}, "DatesDME1", nullptr},
        {"Update_ExcelReplacementsLab", {{"DatesLAB", "DatesLab1"}}, "DatesLab1", nullptr},
        {"Update_ExcelReplacementsDrg", {{"DatesDRG", "DatesDRG1"}}, "DatesDRG1", nullptr},
    };
    return members;
}

const ReplacementMember& replacementMember(const QString& operation)
{
    for (const ReplacementMember& m : replacementMembers())
        if (operation == QLatin1String(m.operation))
            return m;
    throw dao::Error(dao::errItemNotFound, QStringLiteral("Item not found in this collection."));
}

void applyReplacement(UpdateRun& run, const ReplacementMember& member)
{
    if (!run.source.hasTable(QString::fromLatin1(member.probe)))
        return;
    seam().SetMousePointer(vbHourglass);
    dao::Transaction trans(run.main);
    for (const TablePair& t : member.tables) {
        const QString source = QString::fromLatin1(t.source);
        // A family whose source is missing keeps its rows (the ASC tables one by one).
        if (!run.source.hasTable(source))
            continue;
        const QString target = QString::fromLatin1(t.target);
        if (const qint64 refused = replaceRows(run, target, source))
            run.refused[target] += refused;
    }
    trans.Commit();
    // The date tables append no word and leave the hourglass to the driver.
    if (member.word) {
        run.strUpdTables += QString::fromLatin1(member.word);
        seam().SetMousePointer(vbDefault);
    }
}

qint64 replaceRows(UpdateRun& run, const QString& target, const QString& source)
{
    dao::Database& db = run.main;
    const dao::TableDef def = db.tableDef(target);
    const QStringList from = run.source.columns(source);
    if (from.size() > int(def.fields.size()))
        throw dao::Error(3127, QStringLiteral("The update table '%1' has %2 columns; the table '%3' has only %4.")
                                   .arg(source)
                                   .arg(from.size())
                                   .arg(def.name)
                                   .arg(def.fields.size()));

    // The rows go first into a scratch table whose columns have the target's kinds, so that each value is
    // converted as the target would convert it; what the target would refuse is then plain to see.
    QStringList stageColumns, columns, picked, refusedWhen;
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
        const dao::FieldDef& f = def.fields[i];
        const QString col = dao::quoteIdentifier(f.name);
        stageColumns << col + QLatin1Char(' ') + dao::declaredType(f);
        columns << col;
        picked << (int(i) < from.size() ? dao::quoteIdentifier(from[int(i)]) : QStringLiteral("NULL"));
        if (isNumber(f.type))
            refusedWhen << QStringLiteral("(typeof(%1) = 'text' AND %1 <> '')").arg(col);
    }
    const QString columnList = columns.join(QStringLiteral(", "));

    db.Execute(QStringLiteral("DROP TABLE IF EXISTS ") + kStage);
    db.Execute(QStringLiteral("CREATE TEMP TABLE kelva_update_rows (%1)").arg(stageColumns.join(QStringLiteral(", "))));
    db.Execute(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4 ORDER BY rowid")
                   .arg(kStage, columnList, picked.join(QStringLiteral(", ")), run.source.table(source)));
    const qint64 offered = db.RecordsAffected();

    db.Execute(QStringLiteral("DELETE FROM main.") + dao::quoteIdentifier(def.name));
    const QString where = refusedWhen.isEmpty()
                              ? QString()
                              : QStringLiteral(" WHERE NOT (%1)").arg(refusedWhen.join(QStringLiteral(" OR ")));
    // OR IGNORE leaves out a row that breaks a key or a required value, as the old engine did.
    db.Execute(QStringLiteral("INSERT OR IGNORE INTO main.%1 (%2) SELECT %2 FROM %3%4 ORDER BY rowid")
                   .arg(dao::quoteIdentifier(def.name), columnList, kStage, where));
    const qint64 stored = db.RecordsAffected();
    db.Execute(QStringLiteral("DROP TABLE ") + kStage);
    return offered - stored;
}

void Update_ASC(UpdateRun& r) { run(r, "Update_ASC"); }
void Update_Lab(UpdateRun& r) { run(r, "Update_Lab"); }
void Update_DME(UpdateRun& r) { run(r, "Update_DME"); }
void Update_DRG(UpdateRun& r) { run(r, "Update_DRG"); }
void Update_JCODE(UpdateRun& r) { run(r, "Update_JCODE"); }
void Update_Location(UpdateRun& r) { run(r, "Update_Location"); }
void Update_ExcelReplacementsKelva(UpdateRun& r) { run(r, "Update_ExcelReplacementsKelva"); }
void Update_ExcelReplacementsAsc(UpdateRun& r) { run(r, "Update_ExcelReplacementsAsc"); }
void Update_ExcelReplacementsJCD(UpdateRun& r) { run(r, "Update_ExcelReplacementsJCD"); }
void Update_ExcelReplacementsDME(UpdateRun& r) { run(r, "Update_ExcelReplacementsDME"); }
void Update_ExcelReplacementsLab(UpdateRun& r) { run(r, "Update_ExcelReplacementsLab"); }
void Update_ExcelReplacementsDrg(UpdateRun& r) { run(r, "Update_ExcelReplacementsDrg"); }

}  // namespace update
