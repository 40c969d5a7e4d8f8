#include "schedules/ScheduleFamily.h"

#include "db/jcodefees.h"
#include "db/sqltext.h"
#include "platform/dao/Variant.h"

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

// ---- J-codes.

QStringList jcdItems(const QString& state)
{
    return {QStringLiteral("ASP Fee"), state + QStringLiteral(" Participating "),
            state + QStringLiteral(" Non Participating"), state + QStringLiteral(" Limiting")};
}

FamilyRun jcdRun(const FamilyRunInput& in)
{
    // The amounts of the state box's column, for the J-codes priced in JCDSTATE's.
    const QString price = QStringLiteral("JCD.") + db::checkedColumn(*in.db, QStringLiteral("JCD"), in.state);
    const QString filter = QStringLiteral("JCD.") + db::checkedColumn(*in.db, QStringLiteral("JCD"), in.filterState);
    const db::JCodeAmounts amounts = db::jcodeAmounts(price);
    const QString sources[] = {QStringLiteral("JCD.MMA"), amounts.participating, amounts.nonParticipating,
                               amounts.limiting};
    const QString value = sources[in.source];
    const QString t = in.table;
    const QString d = in.column();
    const QString where = (in.tagged ? QStringLiteral(" AND JCD.Tag = '+'") : QString()) +
                          QStringLiteral(" AND %1 > 0").arg(filter);
    const QString jcd = firstRows(QStringLiteral("JCD"), QStringLiteral("CODEMOD"));
    FamilyRun run;
    run.statements = {
        {QStringLiteral("UPDATE %1 SET Tag = JCD.Tag, %2 = %3 FROM %4 WHERE JCD.CODEMOD = %1.CODEMOD%5 AND %6")
             .arg(t, d, twoDecimals(value, in), jcd, where, numberOrNull(value))},
        {QStringLiteral("INSERT INTO %1 (Tag, CODEMOD, CPT, MOD, \"DESC\", %2, %3) SELECT JCD.Tag, JCD.CODEMOD, "
                        "JCD.HCPCS, JCD.Mod, JCD.Description, %4, %5 FROM %6 WHERE NOT EXISTS (SELECT 1 FROM %1 "
                        "WHERE %1.CODEMOD = JCD.CODEMOD)%7 AND %8")
             .arg(t, d, kZeroColumns, twoDecimals(value, in), kZeros, jcd, where, numberOrNull(value))},
    };
    run.skipped = skippedRows(QStringLiteral("JCD"), QStringLiteral("CODEMOD"), value, where);
    return run;
}

// ---- ASC.

QStringList ascItems(const QString&)
{
    return {QStringLiteral("Local ASC Payment Rate")};
}

// A number typed into a box of the main window, bound into the statement.
dao::Variant boxNumber(const QString& text, const QString& refusal)
{
    double v = 0;
    if (!dao::parseNumber(text, &v))
        throw FamilyRefusal{refusal};
    return v;
}

FamilyRun ascRun(const FamilyRunInput& in)
{
    const dao::Variant w = boxNumber(in.wageIndex, QStringLiteral("The wage index in use is not a number."));
    // The local payment rate of the ASC view, rounded to cents after the percentage.
    QString rate = QStringLiteral("(((\"ASC\".trans_payment*0.5)* ? )+ (((\"ASC\".trans_payment)*0.5)))");
    if (in.calculate)
        rate = QStringLiteral("(%1 * %2)").arg(rate, in.factor);
    const QString tag = in.tagged ? QStringLiteral(" AND \"ASC\".Tag = '+'") : QString();
    FamilyRun run;
    // Only the session row keyed by the bare ASC code: its rows with modifiers keep their values.
    run.statements = {
        {QStringLiteral("UPDATE %1 SET %2 = round(%3,2) FROM \"ASC\" WHERE \"ASC\".CODE = %1.CODEMOD%4 AND %5")
             .arg(in.table, in.column(), rate, tag, numberOrNull(QStringLiteral("\"ASC\".trans_payment"))),
         {w}},
    };
    run.skipped = {QStringLiteral("SELECT count(*) FROM \"ASC\" WHERE NOT %1%2")
                       .arg(numberOrNull(QStringLiteral("\"ASC\".trans_payment")), tag)};
    return run;
}

// ---- DRG.

QStringList drgItems(const QString&)
{
    return {QStringLiteral("DRG Payment"), QStringLiteral("Relative Weight"), QStringLiteral("GMLOS"),
            QStringLiteral("AMLOS")};
}

int cptSize(dao::Database& db, const QString& table)
{
    for (const dao::FieldDef& f : db.tableDef(table).fields)
        if (f.name.compare(QStringLiteral("CPT"), Qt::CaseInsensitive) == 0 && f.size > 0)
            return f.size;
    return 255;
}

FamilyRun drgRun(const FamilyRunInput& in)
{
    static const char* const columns[] = {"DRG.ARW", "DRG.ARW", "DRG.GMLOS", "DRG.AMLOS"};
    const QString column = QString::fromLatin1(columns[in.source]);
    std::vector<dao::Variant> params;
    QString value = column;
    if (in.source == 0) {
        params = {boxNumber(in.baseRate, QStringLiteral("The base rate amount must be numeric.  Please re-enter."))};
        value = QStringLiteral("(? * DRG.ARW)");
    }
    const QString written = in.calculate ? QStringLiteral("%1*%2").arg(value, in.factor) : value;
    // A DRG's row in the session table: "DRG" and the number in at least three digits.
    const QString key = QStringLiteral("jcat('DRG', format(DRG.DRG, '000'))");
    const QString t = in.table;
    const QString tag = in.tagged ? QStringLiteral(" AND DRG.TAG = '+'") : QString();
    // A key longer than the session's CPT column (DRG1000 and up) finds no new row: only a row already
    // keyed so is written.
    const QString fits = QStringLiteral("length(%1) <= %2").arg(key).arg(cptSize(*in.db, in.tableName));
    FamilyRun run;
    run.statements = {
        {QStringLiteral("UPDATE %1 SET %2 = %3 FROM DRG WHERE %1.CODEMOD = %4%5 AND %6")
             .arg(t, in.column(), written, key, tag, numberOrNull(column)),
         params},
        {QStringLiteral("INSERT INTO %1 (Tag, CODEMOD, CPT, %2, \"DESC\", LDESC, NOTES, %3) SELECT DRG.TAG, %4, %4, "
                        "%5, jcat('DRG:', DRG.\"DESC\"), jcat('DRG:  ', DRG.\"DESC\"), jcat('MDC CODE: ', DRG.MDC, "
                        "'   DRG Type: ', DRG.DRGTYPE), %6 FROM DRG WHERE NOT EXISTS (SELECT 1 FROM %1 WHERE "
                        "%1.CODEMOD = %4)%7 AND %8 AND %9")
             .arg(t, in.column(), kZeroColumns, key, written, kZeros, tag, numberOrNull(column), fits),
         params},
    };
    run.skipped = {QStringLiteral("SELECT count(*) FROM DRG WHERE NOT (%1 AND (%2 OR EXISTS (SELECT 1 FROM %3 WHERE "
                                  "%3.CODEMOD = %4)))%5")
                       .arg(numberOrNull(column), fits, t, key, tag)};
    return run;
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
     jcdRun, -1, false, false},
    {"frmSchedulesASC", " Schedule Manager ASC Codes to KELVA", "Source: ASC Code Table", ascItems, true, "", true,
     ascRun, -1, false, true},
    {"frmSchedulesDRG", " Schedule Manager DRG Rates to KELVA", "Source: DRG Code Table", drgItems, true, "", false,
     drgRun, -1, false, true},
};

}  // namespace schedules
