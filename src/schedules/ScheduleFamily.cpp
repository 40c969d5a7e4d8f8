#include "schedules/ScheduleFamily.h"

#include "db/sqltext.h"

namespace schedules {

namespace {

// The twenty RVU, total and frequency columns a new session row gets as '0'.
const QString kZeroColumns = QStringLiteral(
    "WORKZ, NFBPERVU, NFRBPERVU, NFTPERVU, FBPERVU, FRBPERVU, FTPERVU, MRVU, NFRBTOTAL, NFTTOTAL, FRBTOTAL, "
    "FTTOTAL, NF98WORK, F98WORK, CWORK, Freq1, Freq2, Freq3, Freq4, Freq5");
const QString kZeros =
    QStringLiteral("'0','0','0','0','0','0','0','0','0','0','0','0','0','0','0','0','0','0','0','0'");

// The family table with one row per key, the first in stored order: the session table holds a key once,
// so a key given again is left out, as the database refused it there.
QString firstRows(const QString& table, const QString& key)
{
    return QStringLiteral("(SELECT * FROM %1 WHERE rowid IN (SELECT min(rowid) FROM %1 GROUP BY %2)) AS %1")
        .arg(table, key);
}

// A value a schedule can take: a number, or Null (which empties the schedule).
QString numberOrNull(const QString& value)
{
    return QStringLiteral("(%1 IS NULL OR typeof(%1) IN ('integer', 'real'))").arg(value);
}

// The family rows a run leaves out: keys given again and values that are no number.
FamilyStatement skippedRows(const QString& table, const QString& key, const QString& value, const QString& filter)
{
    return {QStringLiteral("SELECT count(*) FROM %1 WHERE (rowid NOT IN (SELECT min(rowid) FROM %1 GROUP BY %2) "
                           "OR NOT %3)%4")
                .arg(table, key, numberOrNull(value), filter)};
}

// The amount as stored text with two decimals, times F for Calculate.
QString twoDecimals(const QString& value, const FamilyRunInput& in)
{
    if (in.calculate)
        return QStringLiteral("format((%1 * %2),'#0.00')").arg(value, in.factor);
    return QStringLiteral("format(%1,'#0.00')").arg(value);
}

// ---- Lab.

QStringList labItems(const QString& state)
{
    return {QStringLiteral("National"), QStringLiteral("MidPoint"), QStringLiteral("LabFloor"),
            state + QStringLiteral(" State ")};
}

FamilyRun labRun(const FamilyRunInput& in)
{
    static const char* const sources[] = {"NationalLimit", "MidPoint", "LabFloor"};
    const QString s = db::checkedColumn(*in.db, QStringLiteral("LAB"),
                                        in.source < 3 ? QString::fromLatin1(sources[in.source]) : in.state);
    const QString t = in.table;
    const QString d = in.column();
    const QString value = QStringLiteral("LAB.") + s;
    const QString tag = in.tagged ? QStringLiteral(" AND LAB.TAG = '+'") : QString();
    const QString lab = firstRows(QStringLiteral("LAB"), QStringLiteral("CODEMOD"));
    FamilyRun run;
    run.statements = {
        {QStringLiteral("UPDATE %1 SET %2 = %3 FROM %4 WHERE LAB.CODEMOD = %1.CODEMOD%5 AND %6")
             .arg(t, d, twoDecimals(value, in), lab, tag, numberOrNull(value))},
        {QStringLiteral("UPDATE %1 SET Tag = LAB.TAG FROM %2 WHERE LAB.CODEMOD = %1.CODEMOD%3").arg(t, lab, tag)},
        {QStringLiteral("INSERT INTO %1 (Tag, CODEMOD, CPT, MOD, \"DESC\", %2, %3) SELECT LAB.TAG, LAB.CODEMOD, "
                        "LAB.HCPCS, LAB.Mod, LAB.Description, %4, %5 FROM %6 WHERE NOT EXISTS (SELECT 1 FROM %1 "
                        "WHERE %1.CODEMOD = LAB.CODEMOD)%7 AND %8")
             .arg(t, d, kZeroColumns, twoDecimals(value, in), kZeros, lab, tag, numberOrNull(value))},
    };
    run.skipped = skippedRows(QStringLiteral("LAB"), QStringLiteral("CODEMOD"), value, tag);
    return run;
}

// ---- DMEPOS.

QStringList dmeItems(const QString& state)
{
    return {QStringLiteral("Ceiling"), QStringLiteral("Floor"), state + QStringLiteral(" State")};
}

// The jurisdiction's words: existing rows' notes and new rows' notes are spelled differently.
QString jurisdiction(bool newRow)
{
    return QStringLiteral("iif(DME.JURIS = 'D', '%1', iif(DME.JURIS = 'L', 'Local Part B Carrier jurisdiction', "
                          "iif(DME.JURIS = 'J', 'Joint DMERC/Local Carrier jurisciction', '')))")
        .arg(newRow ? QStringLiteral("DMERC jurisciction") : QStringLiteral("DMERC jurisdiction"));
}

// A description with the second modifier when there is one.
QString withSecondModifier(const QString& column)
{
    return QStringLiteral("iif(DME.MOD2 <> '', jcat(%1, ' (2nd modifier - ', DME.MOD2, ')'), %1)").arg(column);
}

FamilyRun dmeRun(const FamilyRunInput& in)
{
    static const char* const sources[] = {"Ceiling", "Floor"};
    const QString s = db::checkedColumn(*in.db, QStringLiteral("DME"),
                                        in.source < 2 ? QString::fromLatin1(sources[in.source]) : in.state);
    const QString t = in.table;
    const QString d = in.column();
    const QString value = QStringLiteral("DME.") + s;
    const QString tag = in.tagged ? QStringLiteral(" AND DME.TAG = '+'") : QString();
    const QString dme = firstRows(QStringLiteral("DME"), QStringLiteral("CODEMOD")) +
                        QStringLiteral(" LEFT JOIN DMECATS ON DME.CATG = DMECATS.CAT");
    // Calculate names the category by its code where it has no description at hand.
    const QString category = QStringLiteral("DMECATS.CATDESC");
    const QString updateCategory = in.calculate && in.tagged ? QStringLiteral("DME.CATG") : category;
    const QString insertCategory = in.calculate ? QStringLiteral("DME.CATG") : category;
    FamilyRun run;
    run.statements = {
        {QStringLiteral("UPDATE %1 SET %2 = %3, NOTES = jcat(%1.NOTES, ' ', %4, '  - Category: ', %5) FROM %6 "
                        "WHERE DME.CODEMOD = %1.CODEMOD%7 AND %8")
             .arg(t, d, twoDecimals(value, in), jurisdiction(false), updateCategory, dme, tag, numberOrNull(value))},
        {QStringLiteral("UPDATE %1 SET Tag = DME.TAG FROM %2 WHERE DME.CODEMOD = %1.CODEMOD%3").arg(t, dme, tag)},
        {QStringLiteral("INSERT INTO %1 (Tag, CODEMOD, CPT, MOD, \"DESC\", LDESC, NOTES, %2, %3) SELECT DME.TAG, "
                        "DME.CODEMOD, DME.HCPCS, DME.Mod, %4, %5, jcat(%6, '  -  Category: ', %7), %8, %9 FROM %10 "
                        "WHERE NOT EXISTS (SELECT 1 FROM %1 WHERE %1.CODEMOD = DME.CODEMOD)%11 AND %12")
             .arg(t, d, kZeroColumns, withSecondModifier(QStringLiteral("DME.Description")),
                  withSecondModifier(QStringLiteral("DME.LDESC")), jurisdiction(true), insertCategory,
                  twoDecimals(value, in), kZeros)
             .arg(dme, tag, numberOrNull(value))},
    };
    run.skipped = skippedRows(QStringLiteral("DME"), QStringLiteral("CODEMOD"), value, tag);
    return run;
}

// ---- J-codes, ASC, DRG: their lists.

QStringList jcdItems(const QString& state)
{
    return {QStringLiteral("ASP Fee"), state + QStringLiteral(" Participating "),
            state + QStringLiteral(" Non Participating"), state + QStringLiteral(" Limiting")};
}

QStringList ascItems(const QString&)
{
    return {QStringLiteral("Local ASC Payment Rate")};
}

QStringList drgItems(const QString&)
{
    return {QStringLiteral("DRG Payment"), QStringLiteral("Relative Weight"), QStringLiteral("GMLOS"),
            QStringLiteral("AMLOS")};
}

}  // namespace

const ScheduleFamily kScheduleFamilies[5] = {
    {"frmSchedulesDME", " Schedule Manager DMEPOS to KELVA", "Source: DMEPOS Table", dmeItems, false,
     "Note that if a DME code exists in the KELVA table, any amount in the destination field will be replaced by "
     "the source amount select here.",
     false, dmeRun, -1, true, true},
    {"frmSchedulesLAB", " Schedule Manager Lab to KELVA", "Source: Lab Fee Table", labItems, false, "", false,
     labRun, 3, false, false},
    {"frmSchedulesJCD", " Schedule Manager J-Code to KELVA", "Source: J Code Table", jcdItems, false, "", false,
     nullptr, -1, false, false},
    {"frmSchedulesASC", " Schedule Manager ASC Codes to KELVA", "Source: ASC Code Table", ascItems, true, "", true,
     nullptr, -1, false, true},
    {"frmSchedulesDRG", " Schedule Manager DRG Rates to KELVA", "Source: DRG Code Table", drgItems, true, "", false,
     nullptr, -1, false, true},
};

}  // namespace schedules
