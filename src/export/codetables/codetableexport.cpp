#include "export/codetables/codetableexport.h"

#include "app/globals.h"
#include "db/jcodefees.h"
#include "db/sqltext.h"
#include "export/rules/csvlayout.h"
#include "export/rules/exportrules.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/Transaction.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"
#include "platform/seam/Seam.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStringList>

namespace codetables {

namespace {

const QString kFilter = QStringLiteral("Access 2000 (*.mdb)|*.mdb|Comma Delimited Text (*.csv)|*.csv");
const QString kCompleted = QStringLiteral("Export Completed");

// A typed rate as the number the query multiplies by; a text that is no number fails as the query would.
double typedNumber(const QString& text)
{
    double n = 0;
    if (!dao::parseNumber(text.trimmed(), &n))
        throw dao::Error(13, QStringLiteral("Type mismatch"));
    return n;
}

QString where(bool tagged, const char* tagTest)
{
    return tagged ? QString::fromLatin1(tagTest) : QString();
}

Query drgSource(dao::Database&, const Inputs& in)
{
    return {QStringLiteral("SELECT DRG.TAG, DRG.DRG, DRG.MDC, DRG.DRGTYPE, DRG.IND, DRG.\"DESC\", DRG.GMLOS, DRG.AMLOS, "
                           "DRG.ARW, round(? * ARW, 2) AS \"DRG Rate\" FROM DRG")
                + where(in.tagged, " WHERE (DRG.TAG = '+')") + QStringLiteral(" ORDER BY DRG"),
            {typedNumber(in.baseRate)}};
}

// windex is the box's text; the rate adjusts half of the payment by it.
Query ascSource(dao::Database&, const Inputs& in)
{
    return {QStringLiteral("SELECT Tag, CODE, \"Desc\", mult, comment, pay_ind, weight, ? AS windex, "
                           "round(((trans_payment * 0.5) * ?) + (trans_payment * 0.5), 2) AS ASCPAYRATE FROM \"ASC\"")
                + where(in.tagged, " WHERE (\"ASC\".TAG = '+')") + QStringLiteral(" ORDER BY \"ASC\".rowid"),
            {in.wageIndex, typedNumber(in.wageIndex)}};
}

// Rows with a price above 0 in the chosen state, with the J-code amounts of that price.
Query jcodeSource(dao::Database& main, const Inputs& in)
{
    const QString price = QStringLiteral("JCD.") + db::checkedColumn(main, QStringLiteral("JCD"), in.jcdState);
    const db::JCodeAmounts a = db::jcodeAmounts(price);
    return {QStringLiteral("SELECT JCD.Tag, JCD.HCPCS, JCD.\"Mod\", JCD.Dosage, MMA, %1 AS PAR, %2 AS NONPAR, %3 AS LC, "
                           "JCD.Description, JCD.Codemod, ESRD_Limit, Vaccine_AWP_percent, VaccineLimit, "
                           "Infusion_AWP_percent, DMEInfusion_Limit, Blood_AWP_percent, BloodLimit FROM JCD WHERE ")
                    .arg(a.participating, a.nonParticipating, a.limiting)
                + where(in.tagged, "(TAG = '+') AND ") + price + QStringLiteral(" > 0 ORDER BY HCPCS"),
            {}};
}

Query dmeposSource(dao::Database& main, const Inputs& in)
{
    const QString state = db::checkedColumn(main, QStringLiteral("DME"), in.dmeState);
    return {QStringLiteral("SELECT TAG, HCPCS, \"Mod\", Mod2, JURIS, CATG, Ceiling, Floor, %1 AS STATE, Description, "
                           "CODEMOD FROM DME")
                    .arg(state)
                + where(in.tagged, " WHERE TAG = '+'") + QStringLiteral(" ORDER BY DME.rowid"),
            {}};
}

Query labSource(dao::Database& main, const Inputs& in)
{
    const QString state = db::checkedColumn(main, QStringLiteral("LAB"), in.labState);
    return {QStringLiteral("SELECT TAG, HCPCS, \"Mod\", NationalLimit, MidPoint, labfloor, %1 AS STATE, Description, "
                           "CODEMOD FROM LAB")
                    .arg(state)
                + where(in.tagged, " WHERE TAG = '+'") + QStringLiteral(" ORDER BY HCPCS"),
            {}};
}

Query localitySource(dao::Database&, const Inputs&)
{
    return {QStringLiteral("SELECT state, st, \"desc\", county, carrier, loccode, work, pract, malp FROM LOCATION "
                           "ORDER BY state"),
            {}};
}

Query zipSource(dao::Database&, const Inputs&)
{
    return {QStringLiteral("SELECT ZIPCODE, CARRIER, LOCALITY, \"RURAL IND\", VERSION, WORK, PRACT, MALP, STATE, COUNTY, "
                           "\"DESC\" FROM ZIP_GPCI ORDER BY state"),
            {}};
}

// The OPPS-capped fees of the current carrier and locality.
Query oppsSource(dao::Database&, const Inputs& in)
{
    return {QStringLiteral("SELECT CPT, \"Mod\", NFTTOTAL, FTTOTAL FROM DATAOPPSVIEW WHERE ")
                + where(in.tagged, "DATAOPPSVIEW.TAG = '+' AND ")
                + QStringLiteral("carrier = ? AND locality = ? ORDER BY CODEMOD"),
            {in.carrier, in.loc}};
}

const std::vector<Member>& members()
{
    static const std::vector<Member> rows = {
        {Family::Dmepos, "morvex", true, dmeposSource,
         "CREATE TABLE [DMEPOS Export] ([Tag] Text, [HCPCS] TEXT, [MOD] TEXT, [MOD2] TEXT, [JURIS] TEXT, [CATG] TEXT, "
         "[Ceiling] TEXT, [Floor] TEXT, [State] TEXT,[Description] TEXT, [Codemod] TEXT)",
         "DMEPOS Export",
         {{"Tag"}, {"HCPCS"}, {"Mod"}, {"Mod2"}, {"JURIS"}, {"CATG"}, {"Ceiling"}, {"Floor"}, {"STATE"},
          {"Description"}, {"Codemod"}},
         false, true, true},
        {Family::Lab, "morvex", true, labSource,
         "CREATE TABLE [Lab Fees Export] ([Tag] Text, [HCPCS] TEXT, [MOD] TEXT, [NationalLimit] TEXT, [MidPoint] TEXT, "
         "[labfloor] TEXT, [STATE] TEXT, [Description] TEXT, [Codemod] TEXT)",
         "Lab Fees Export",
         {{"Tag"}, {"HCPCS"}, {"Mod"}, {"NationalLimit"}, {"MidPoint"}, {"LabFloor"}, {"STATE"}, {"Description"},
          {"Codemod"}},
         false, false, false},
        // ESRD_Limit and BloodLimit are double-precision numbers, the other columns text.
        {Family::JCodes, "morvex", true, jcodeSource,
         "CREATE TABLE [JCD Export] ([Tag] Text, [HCPCS] TEXT, [Mod] TEXT, [DOSAGE] TEXT,[ASP] TEXT, [PAR] TEXT, "
         "[NONPAR] TEXT,[Description] TEXT, [Codemod] TEXT, [ESRD_Limit] REAL, [Vaccine_AWP_percent] TEXT, "
         "[VaccineLimit] TEXT, [Infusion_AWP_percent] TEXT,  [DMEInfusion_Limit] TEXT, [Blood_AWP_percent] TEXT, "
         "[BloodLimit] REAL )",
         "JCD Export",
         {{"Tag"}, {"HCPCS"}, {"Mod"}, {"Dosage"}, {"ASP Fee"}, {"PAR"}, {"NONPAR"}, {"LC", false}, {"Description"},
          {"Codemod"}, {"ESRD_Limit"}, {"Vaccine_AWP_percent"}, {"VaccineLimit"}, {"Infusion_AWP_percent"},
          {"DMEInfusion_Limit"}, {"Blood_AWP_percent"}, {"BloodLimit"}},
         true, false, false},
        {Family::Asc, "morvex", true, ascSource,
         "CREATE TABLE [ASC Export] ([Tag] Text, [CODE] TEXT, [Desc] TEXT, [mult] TEXT, [comment] TEXT, "
         "[pay_ind] TEXT, [weight] TEXT, [windex] TEXT,  [ASCPAYRATE] TEXT)",
         "ASC Export",
         {{"Tag"}, {"CODE"}, {"Description"}, {"Multiplier"}, {"Comment"}, {"PayIndicator"}, {"Weight"}, {"Windex"},
          {"ASCPAYRATE", true, "###,###.00"}},
         false, false, false},
        {Family::Drg, "morvex", true, drgSource,
         "CREATE TABLE [DRG Export] ([Tag] Text, [DRG] TEXT, [MDC] TEXT, [DRGTYPE] TEXT, [IND] TEXT, [DESC] TEXT, "
         "[GMLOS] TEXT, [AMLOS] TEXT, [ARW] TEXT, [DRG Rate] TEXT)",
         "DRG Export",
         {{"Tag"}, {"DRG"}, {"MDC"}, {"DRGTYPE"}, {"IND"}, {"DESC"}, {"GMLOS"}, {"AMLOS"}, {"ARW"},
          {"DRG Rate", true, nullptr, "0"}},
         true, false, false},
        {Family::Locality, "locality", false, localitySource,
         "CREATE TABLE [Locality Export] ([State] Text, [ST] TEXT, [DESC] TEXT, [county] TEXT, [carrier] TEXT, "
         "[loccode] TEXT, [work] TEXT, [pract] TEXT, [malp] TEXT )",
         "Locality Export",
         {{"STATE"}, {"ST"}, {"DESC"}, {"COUNTY"}, {"CARRIER"}, {"LOCCODE"}, {"WORK"}, {"PRACT"}, {"MALP"}},
         false, false, false},
        {Family::Zip, "zipcode", false, zipSource,
         "CREATE TABLE [ZIP_GPCI Export] ([ZIPCODE] Text, [CARRIER] TEXT,  [LOCALITY] TEXT, [RURAL IND] TEXT, "
         "[VERSION] TEXT, [WORK] TEXT, [PRACT] TEXT, [MALP] TEXT, [STATE] TEXT , [COUNTY] TEXT , [DESC] TEXT)",
         "ZIP_GPCI Export",
         {{"ZIPCODE"}, {"CARRIER"}, {"LOCALITY"}, {"RURAL IND"}, {"VERSION"}, {"WORK"}, {"PRACT"}, {"MALP"},
          {"STATE"}, {"COUNTY"}, {"DESC"}},
         false, false, false},
        {Family::Opps, "morvex", true, oppsSource,
         "CREATE TABLE [OPPS Export] ( [CPT] TEXT, [MOD] TEXT, [OPPS Non Facility Fee] TEXT, [OPPS Facility Fee] TEXT)",
         "OPPS Export",
         {{"CPT"}, {"Mod"}, {"OPPS Non Facility Fee"}, {"OPPS Facility Fee"}},
         true, false, false},
    };
    return rows;
}

// A value as both targets write it: plain, or a number in the column's pattern; Null stays Null.
dao::Variant written(const Column& c, const dao::Variant& v)
{
    if (v.isNull() || c.pattern == nullptr)
        return v;
    return jet::format(dao::Variant(dao::CDbl(v)), QString::fromLatin1(c.pattern));
}

// One press of Continue.
class Run {
public:
    Run(const Member& m, platform::Form& window, bool tagged) : m(m), window(window), tagged(tagged) {}
    ~Run() { lowerBusy(); }

    void go()
    {
        try {
            const exportrules::Parms parms = exportrules::readParms(g().MainDb);
            const exportrules::Target target = exportrules::chooseTarget(
                kFilter, g().ProgramFolder, QString::fromLatin1(m.prefix) + exportrules::countSuffix(parms.exportCnt));
            if (exportrules::refused(target.title)) {
                exportrules::showRefused();
                exportrules::makeCurrent(folder);
                return;
            }
            step = exportrules::kCreatingFile;
            platform::SetBusyCursor(11);
            busy = true;
            switch (exportrules::fileType(target.path)) {
            case exportrules::FileType::Mdb:
                writeAccess(target.path);
                finish(kCompleted, parms.exportCnt, false);
                break;
            case exportrules::FileType::Csv:
                writeCsv(target.path);
                finish(exportrules::kSuccess, parms.exportCnt, m.countAfterMessage);
                break;
            default:
                // No error is pending: the description box, where shown, is empty.
                lowerBusy();
                fail(QString());
                break;
            }
        } catch (const dao::Error& e) {
            fail(e.description);
        }
    }

private:
    Inputs inputs() const { return currentInputs(m.readsRowChoice && tagged); }

    void writeAccess(const QString& path)
    {
        exportrules::copyTemplate(programPath(QStringLiteral("export.mdb")), path);
        if (m.attachCheck) {
            step = attachStep(path);
            dao::Database copy = dao::OpenDatabase(path);
            copy.OpenRecordset(QStringLiteral("export")).Close();
        }
        step = exportrules::kExportingData;
        // The target has a handle of its own; the main database stays the program's throughout.
        dao::Database target = dao::OpenDatabase(path);
        target.Execute(QString::fromLatin1(m.createTable));
        const Query q = m.source(g().MainDb, inputs());
        dao::Recordset rows = g().MainDb.OpenRecordset(q.sql, q.params);

        const dao::TableDef def = target.tableDef(QString::fromLatin1(m.table));
        QStringList names, marks;
        for (const dao::FieldDef& f : def.fields) {
            names << dao::quoteIdentifier(f.name);
            marks << QStringLiteral("?");
        }
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(dao::quoteIdentifier(def.name), names.join(QStringLiteral(", ")),
                                        marks.join(QStringLiteral(", ")));
        std::vector<dao::Variant> values(def.fields.size());
        {
            dao::Transaction t(target);
            for (; !rows.EOF(); rows.MoveNext()) {
                std::size_t out = 0;
                for (std::size_t i = 0; i < m.columns.size(); ++i) {
                    const Column& c = m.columns[i];
                    if (!c.inTable)
                        continue;
                    const dao::Variant v = written(c, rows.Fields(int(i)).Value());
                    // Text columns hold the value's text form; number columns the number.
                    const bool text = def.fields[out].type == dao::FieldType::Text
                                      || def.fields[out].type == dao::FieldType::Memo;
                    values[out++] = v.isNull() || !text ? v : dao::Variant(v.toString());
                }
                target.Execute(insert, values);
            }
            t.Commit();
        }
        rows.Close();
        target.Execute(QStringLiteral("DROP TABLE export"));
        target.Close();
    }

    void writeCsv(const QString& path)
    {
        step = exportrules::kWritingText;
        exportcsv::CsvFile file(path);
        QStringList labels;
        for (const Column& c : m.columns)
            labels << QString::fromLatin1(c.label);
        file.header(labels);
        const Query q = m.source(g().MainDb, inputs());
        dao::Recordset rows = g().MainDb.OpenRecordset(q.sql, q.params);
        std::vector<jet::TextField> fields;
        for (; !rows.EOF(); rows.MoveNext()) {
            fields.clear();
            for (std::size_t i = 0; i < m.columns.size(); ++i) {
                const Column& c = m.columns[i];
                const dao::Variant v = written(c, rows.Fields(int(i)).Value());
                fields.push_back(exportcsv::quoted(v.isNull() ? QString::fromLatin1(c.csvNull) : v.toString()));
            }
            file.data(fields);
        }
        rows.Close();
        file.close();
    }

    // Stores the next export number, returns to the earlier folder and reports success.
    void finish(const QString& message, qint64 count, bool messageFirst)
    {
        exportrules::makeCurrent(folder);
        lowerBusy();
        if (!messageFirst)
            exportrules::advanceCount(g().MainDb, count);
        seam().MsgBox(message, vbOKOnly);
        window.Unload();
        if (messageFirst)
            exportrules::advanceCount(g().MainDb, count);
    }

    void fail(const QString& description)
    {
        lowerBusy();
        if (m.showsDescription)
            seam().MsgBox(description, vbOKOnly);
        seam().MsgBox(step, vbOKOnly);
        exportrules::makeCurrent(folder);
    }

    void lowerBusy()
    {
        if (busy)
            platform::SetBusyCursor(0);
        busy = false;
    }

    const Member& m;
    platform::Form& window;
    const bool tagged;
    const QString folder = QDir::currentPath();
    QString step = exportrules::kNoExport;
    bool busy = false;
};

}  // namespace

Inputs currentInputs(bool tagged)
{
    frmMain& main = forms().get<frmMain>();
    Inputs in;
    in.tagged = tagged;
    in.baseRate = main.Combo4->currentText();
    in.wageIndex = main.ascwr->text();
    if (main.Data2.hasCurrentRecord()) {
        dao::Recordset& parms = main.Data2.Recordset();
        in.dmeState = parms.Fields(QStringLiteral("DMESTATE")).Value().toString();
        in.labState = parms.Fields(QStringLiteral("LABSTATE")).Value().toString();
        in.jcdState = parms.Fields(QStringLiteral("JCDSTATE")).Value().toString();
        in.carrier = parms.Fields(QStringLiteral("CARRIER")).Value().toString();
        in.loc = parms.Fields(QStringLiteral("Loc")).Value().toString();
    }
    return in;
}

const Member& member(Family family)
{
    return members()[std::size_t(family)];
}

QString attachStep(const QString& path)
{
    return QStringLiteral("Error attaching to output database\r\nDB:") + path
           + QStringLiteral(" RecordSource:export DBTYPE:Access");
}

void run(const Member& m, platform::Form& window, bool tagged)
{
    Run(m, window, tagged).go();
}

}  // namespace codetables
