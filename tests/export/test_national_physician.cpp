// The national physician table: the work table in the main database and its copy in the export file, through
// both wizards' fee-type page.
#include "s52_fixture.h"

#include "export/national/physiciantable.h"
#include "platform/dao/jetfunctions.h"

#include <QRandomGenerator>
#include <sqlite3.h>

namespace {

const QString kLoc = "AL_10102_00";

class NationalPhysician : public NationalTest {
protected:
    void SetUp() override
    {
        NationalTest::SetUp();
        // The national row, three localities (Texas without a practice-expense GPCI).
        db().Execute("DELETE FROM LOCATION");
        const char* st[] = {"**", "AL", "AK", "TX"};
        const char* carrier[] = {nullptr, "10102", "02102", "04412"};
        const char* loc[] = {nullptr, "00", "01", "18"};
        const double work[] = {1, 1.0, 1.5, 1.0}, malp[] = {1, 0.5, 0.7, 0.6};
        const dao::Variant pract[] = {1.0, 0.9, 1.1, dao::Variant()};
        for (int i = 0; i < 4; ++i)
            db::insertRow(db(), "LOCATION",
                          {{"STATE", QString("S%1").arg(i)}, {"ST", st[i]}, {"DESC", "D"},
                           {"CARRIER", carrier[i] ? dao::Variant(carrier[i]) : dao::Variant()},
                           {"LOCCODE", loc[i] ? dao::Variant(loc[i]) : dao::Variant()}, {"WORK", work[i]},
                           {"PRACT", pract[i]}, {"MALP", malp[i]}});
        db().Execute("CREATE TABLE DATA0077 AS SELECT * FROM DATA0000 WHERE 0");
        code("99213", "", {{"WORKZ", 0.97}, {"NF98WORK", 1.1}, {"F98WORK", 0.4}, {"MRVU", 0.05}, {"NFTPERVU", 1.2},
                           {"FTPERVU", 0.8}, {"S1", 10}, {"S2", 20}, {"Freq1", 5}, {"NON_PE_OPPS", 0.5},
                           {"FAC_PE_OPPS", 0.25}, {"MAL_PE_OPPS", 0.04}, {"STATUS", "A"}});
        code("71010", "26", {{"WORKZ", 0.18}, {"NF98WORK", 0.07}, {"F98WORK", 0.07}, {"MRVU", 0.01},
                             {"GLOBAL", "X'Y"}});
        code("00100", "", {{"WORKZ", 5}, {"NF98WORK", 2}, {"F98WORK", 2}, {"MRVU", 1}, {"calcflag", 0}});
        code("99999", "", {{"NF98WORK", 2}, {"F98WORK", 2}, {"MRVU", 1}});
        code("G0001", "", {{"WORKZ", 1}, {"NF98WORK", 0.25}, {"F98WORK", 0.25}, {"MRVU", 0.25}});
        db().Execute("UPDATE PARMS_CL SET S1 = 'Fee 1', S2 = 'S2', S3 = 'S3', S4 = 'S4', S5 = 'S5'");
        db().Execute("UPDATE SESSIONS SET S1NAME = 'Other'");
        g().CurSesTab = "DATA0077";
        g().ConvFactor = 36;
    }
    void code(const QString& cpt, const QString& mod, db::ColumnValues v)
    {
        v.insert(v.end(), {{"CPT", cpt}, {"MOD", mod}, {"CODEMOD", cpt + mod}});
        if (std::none_of(v.begin(), v.end(), [](const auto& p) { return p.first == "calcflag"; }))
            v.push_back({"calcflag", 1});
        db::insertRow(db(), "DATA0077", v);
    }
    // A physician run of wizard W from its fee-type page.
    template <class W>
    void run(const QString& path, const QString& percent, bool facility = false)
    {
        W& w = onFamilyPage<W>(0);
        w.Command1(1)->click();
        ASSERT_FALSE(w.Frame4->isHidden());
        w.Option1(facility ? 6 : 7)->setChecked(true);
        w.Text1->setText(percent);
        seam.answerFileDialog(path);
        w.Command1(1)->click();
    }
    static QStringList rows(dao::Database d, const QString& columns, const QString& table = "KELVA_States")
    {
        return testsupport::rowTexts(d, "SELECT " + columns + " FROM " + table + " ORDER BY CODEMOD");
    }
    static QStringList columnsOf(dao::Database d)
    {
        QStringList out;
        for (const dao::FieldDef& f : d.tableDef("KELVA_States").fields)
            out << f.name + " " + dao::declaredType(f);
        return out;
    }
};

TEST_F(NationalPhysician, WorkTableHoldsEveryCodeWithOneFeePerLocalityAsText)
{
    seam.expectMsgBox("Export Successful", vbOKOnly);
    run<frmExportWiz>(target("k.mdb"), "10");
    const QStringList cols = columnsOf(db());
    ASSERT_EQ(cols.size(), 35 + 3 + 1);
    EXPECT_EQ(cols.mid(0, 3), QStringList({"CODE TEXT(6) COLLATE NOCASE", "MOD TEXT(2) COLLATE NOCASE",
                                           "NAT TEXT(8) COLLATE NOCASE"}));
    EXPECT_EQ(cols[20], "Fee 1 TEXT(8) COLLATE NOCASE");  // the parameter row's name, not the session's "Other"
    EXPECT_EQ(cols[30], "WORKZ TEXT(1) COLLATE NOCASE");
    EXPECT_EQ(cols.mid(32, 7), QStringList({"NFTPERVU TEXT(12) COLLATE NOCASE", "NON_PE_OPPS TEXT(12) COLLATE NOCASE",
                                            "MAL_PE_OPPS TEXT(12) COLLATE NOCASE", "AL_10102_00 TEXT(8) COLLATE NOCASE",
                                            "AK_02102_01 TEXT(8) COLLATE NOCASE", "TX_04412_18 TEXT(8) COLLATE NOCASE",
                                            "CODEMOD TEXT(8) COLLATE NOCASE"}));
    // Fees as the engine writes numbers; calcflag 0 prices 0; a Null RVU or GPCI leaves the fee empty.
    EXPECT_EQ(rows(db(), "CODE, MOD, NAT, AL_10102_00, AK_02102_01, TX_04412_18, GLOBAL, [Fee 1], S3, WORKZ, MRVU"),
              QStringList({"00100||0|0|0|<null>|<null>|<null>|<null>|5.0|1.0",
                           "71010|26|9.36|8.93|12.74|<null>|X'Y|<null>|<null>|0.18|0.01",
                           "99213||76.32|71.46|97.2|<null>|<null>|10.0|<null>|0.97|0.05",
                           "99999||<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|1.0",
                           "G0001||54|48.6|70.2|<null>|<null>|<null>|<null>|1.0|0.25"}));
    EXPECT_EQ(db().scalar("SELECT typeof(NAT) FROM KELVA_States WHERE CODE = 'G0001'").toString(), "text");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM sqlite_master WHERE name = 'KELVA_States_CODEMODIndexx'").toLongLong(), 1);
}

TEST_F(NationalPhysician, ExportFileScalesTheAmountsOnlyAndWritesTwoDecimals)
{
    seam.expectMsgBox("Export Successful", vbOKOnly);
    run<frmExportWiz>(target("k.mdb"), "10");
    dao::Database f = exportFile(target("k.mdb"));
    const QStringList cols = columnsOf(f);
    EXPECT_EQ(cols[2], "NAT REAL");
    EXPECT_EQ(cols[18], "ENDOBASE TEXT(2) COLLATE NOCASE");
    EXPECT_EQ(cols[19], "GLOBAL TEXT(10) COLLATE NOCASE");
    EXPECT_EQ(cols[20], "Fee 1 REAL");
    EXPECT_EQ(cols[25], "F1 REAL");
    EXPECT_EQ(cols[30], "WORKZ TEXT(1) COLLATE NOCASE");
    EXPECT_EQ(cols[35], "AL_10102_00 REAL");
    EXPECT_EQ(rows(f, "CODE, MOD, NAT, AL_10102_00, AK_02102_01, TX_04412_18, GLOBAL, STATUS, [Fee 1], S2, S3, F1, "
                      "WORKZ, MRVU, NFTPERVU, NON_PE_OPPS, MAL_PE_OPPS"),
              QStringList({"00100||0|0|0|0|||0|0|0|0|5.00|1.00|0|0|0",
                           "71010|26|10.3|9.82|14.01|0|X'Y||0|0|0|0|0.18|0.01|0|0|0",
                           "99213||83.95|78.61|106.92|0||A|11|22|0|5|0.97|0.05|1.20|0.50|0.04",
                           "99999||0|0|0|0|||0|0|0|0|0|1.00|0|0|0",
                           "G0001||59.4|53.46|77.22|0|||0|0|0|0|1.00|0.25|0|0|0"}));
    EXPECT_EQ(f.scalar("SELECT typeof(AL_10102_00) || typeof(MRVU) FROM KELVA_States WHERE CODE = 'G0001'").toString(),
              "realtext");
    EXPECT_EQ(f.scalar("SELECT COUNT(*) FROM sqlite_master WHERE name = 'KELVA_States_CODEMODIndexx'").toLongLong(), 1);
}

TEST_F(NationalPhysician, CarrierWizardNamesLocalitiesByCarrierAndPricesTheFacilityFee)
{
    seam.expectMsgBox("Export Successful", vbOKOnly);
    run<frmExportWizBeta>(target("k.mdb"), "", true);
    dao::Database f = exportFile(target("k.mdb"));
    const QStringList cols = columnsOf(f);
    EXPECT_EQ(cols.mid(32, 4), QStringList({"FTPERVU TEXT(12) COLLATE NOCASE", "FAC_PE_OPPS TEXT(12) COLLATE NOCASE",
                                            "MAL_PE_OPPS TEXT(12) COLLATE NOCASE", "10102_00 REAL"}));
    // (0.97 + 0.4 + 0.05) x 36 nationally; the Beta box left empty counts as 0 %.
    EXPECT_EQ(rows(f, "CODE, NAT, [10102_00], FTPERVU, FAC_PE_OPPS"),
              QStringList({"00100|0|0|0|0", "71010|9.36|8.93|0|0", "99213|51.12|48.78|0.80|0.25", "99999|0|0|0|0",
                           "G0001|54|48.6|0|0"}));
}

TEST_F(NationalPhysician, PercentageCases)
{
    struct Case {
        QString percent;
        QString nat;  // 99213's 76.32
        QString f1;   // 5, never scaled
    };
    for (const Case& c : {Case{"-100", "0", "5"}, Case{"-150", "-38.16", "5"}, Case{"  ", "76.32", "5"},
                          Case{"0", "76.32", "5"}}) {
        SCOPED_TRACE(c.percent.toStdString());
        seam.expectMsgBox("Export Successful", vbOKOnly);
        const QString path = target("p" + QString::number(qHash(c.percent)) + ".mdb");
        run<frmExportWiz>(path, c.percent);
        EXPECT_EQ(rows(exportFile(path), "NAT, F1", "KELVA_States WHERE CODE = '99213'"), QStringList(c.nat + "|" + c.f1));
    }
}

TEST_F(NationalPhysician, FailedRunKeepsThePreviousWorkTable)
{
    seam.expectMsgBox("Export Successful", vbOKOnly);
    run<frmExportWiz>(target("k.mdb"), "10");
    const QStringList before = rows(db(), "*");
    // A schedule named like another column: the tables cannot be made.
    db().Execute("UPDATE PARMS_CL SET S2 = 'f1'");
    db().Execute("UPDATE DATA0077 SET WORKZ = 9");
    seam.expectMsgBox("Error exporting to the path and filename selected", vbOKOnly);
    seam.expectMsgBox("Cannot define field more than once.", vbOKOnly);
    run<frmExportWiz>(target("k2.mdb"), "10");
    EXPECT_EQ(rows(db(), "*"), before);
    forms().unloadIfLoaded<frmExportWiz>();
    // A percentage that is no number fails before anything changes.
    db().Execute("UPDATE PARMS_CL SET S2 = 'S2'");
    seam.expectMsgBox("Error exporting to the path and filename selected", vbOKOnly);
    seam.expectMsgBox("Type mismatch", vbOKOnly);
    run<frmExportWiz>(target("k3.mdb"), "1.2.");
    EXPECT_EQ(rows(db(), "*"), before);
    forms().unloadIfLoaded<frmExportWiz>();
    // A schedule value that is no number fails the export file's rows after the work table was made anew.
    ASSERT_EQ(sqlite3_exec(db().handle(), "DROP TRIGGER kelva_rules_DATA0077_bu; UPDATE DATA0077 SET S1 = 'abc' "
                                          "WHERE CPT = 'G0001'", nullptr, nullptr, nullptr), SQLITE_OK);
    seam.expectMsgBox("Error exporting to the path and filename selected", vbOKOnly);
    seam.expectMsgBox("Type mismatch", vbOKOnly);
    run<frmExportWiz>(target("k4.mdb"), "10");
    EXPECT_EQ(rows(db(), "*"), before);
}

TEST_F(NationalPhysician, OppsViewTakesTheCurrentCarrierAndLocalityOnly)
{
    dao::Database d = db();
    physician::Inputs in;
    in.sessionTable = "DATA0000";
    in.convFactor = 36;
    in.schedules = QStringList({"S1", "S2", "S3", "S4", "S5"});
    in.oppsView = true;
    in.carrier = d.scalar("SELECT carrier FROM DATAOPPSVIEW LIMIT 1");
    in.loc = d.scalar("SELECT locality FROM DATAOPPSVIEW LIMIT 1");
    ExprtInd& progress = load<ExprtInd>();
    physician::buildWorkTable(physician::kAllLocalityRow, in, d, progress);
    d.CommitTrans();
    EXPECT_EQ(d.scalar("SELECT COUNT(*) FROM KELVA_States").toLongLong(),
              d.scalar("SELECT COUNT(*) FROM DATAOPPSVIEW WHERE carrier = ? AND locality = ?", {in.carrier, in.loc}).toLongLong());
    EXPECT_EQ(d.scalar("SELECT COUNT(*) - COUNT(DISTINCT CODEMOD) FROM KELVA_States").toLongLong(), 0);
    EXPECT_EQ(progress.prg1Max(), 2 * 4 + 200);
    EXPECT_EQ(progress.prg1Value(), 1 + 4);
}

TEST(NationalPhysicianFormat, TwoDecimalsAgreesWithTheFormatFunction)
{
    struct Case {
        double v;
        const char* text;
    };
    for (const Case& c : {Case{52.3 * 1.1, "57.53"}, Case{48 * 1.1, "52.80"}, Case{61.3, "61.30"}, Case{0, "0.00"},
                          Case{2.675, "2.68"}, Case{1.005, "1.01"}, Case{-5.555, "-5.56"}, Case{-0.001, "0.00"},
                          Case{123456789.125, "123456789.13"}})
        EXPECT_EQ(physician::twoDecimals(c.v), c.text) << c.v;
    QRandomGenerator rng(53);
    for (int i = 0; i < 200000; ++i) {
        const double v = (i % 2 ? 1 : -1) * double(rng.bounded(10000000)) / (i % 3 ? 1000.0 : 200.0) * (1 + (i % 7) / 10.0);
        ASSERT_EQ(physician::twoDecimals(v), jet::format(dao::Variant(v), "####0.00;;")) << v;
        ASSERT_EQ(physician::twoDecimalsValue(v), physician::twoDecimals(v).toDouble()) << v;
    }
}

}  // namespace
