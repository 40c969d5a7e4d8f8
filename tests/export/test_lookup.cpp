// The KELVA Lookup Utility: the two tables of KELVA_Lookup.mdb, their work tables in the main database, and the
// run's ways out.
#include "s54_fixture.h"

#include "export/national/runguard.h"
#include "support/ReadableTexts.h"

#include <QFile>
#include <sqlite3.h>

namespace {

const QString kOverwrite = "File already exits.  Do you wish to overwrite this file?";
const QString kFailed = "Error exporting to the path and filename selected";

QStringList expectedColumns(const QString& rvu, const QStringList& localities)
{
    const QString t = " COLLATE NOCASE";
    QStringList out{"CODE TEXT(6)" + t, "MOD TEXT(2)" + t, "NAT REAL"};
    const std::pair<const char*, int> head[] = {
        {"STATUS", 3},   {"NOTUSEDIND", 1}, {"NAIND", 2},  {"NAFIND", 2},   {"PCTCIND", 2},  {"PREOP", 12},
        {"INTRAOP", 12}, {"POSTOP", 12},    {"MULTPROC", 2}, {"BILATSURG", 2}, {"ASSTSURG", 2}, {"COSURG", 2},
        {"TEAMSURG", 2}, {"PHYSSUPV", 2},   {"BMIND", 2},  {"ENDOBASE", 2}, {"GLOBAL", 10}};
    for (const auto& [name, width] : head)
        out << QString("%1 TEXT(%2)%3").arg(name).arg(width).arg(t);
    for (const char* name : {"Fee 1", "S2", "S3", "S4", "S5", "F1", "F2", "F3", "F4", "F5"})
        out << QString(name) + " REAL";
    out << "WORKZ TEXT(1)" + t << "MRVU TEXT(12)" + t << rvu + " TEXT(12)" + t;
    for (const QString& l : localities)
        out << l + " REAL";
    out << "CODEMOD TEXT(8)" + t;
    return out;
}

// ---- Layout and contents.

TEST_F(LookupTest, BothTablesShareTheLayoutButColumn33InTheFileAndAsWorkTables)
{
    createOk();
    dao::Database file = lookupFile();
    EXPECT_EQ(file.TableNames(), QStringList({"KELVA_Facility", "KELVA_NonFacility"}));
    const QStringList locs{"AL_10102_00", "AK_02102_01", "TX_04412_18"};
    for (dao::Database d : {file, db()}) {
        EXPECT_EQ(columnsOf(d, "KELVA_NonFacility"), expectedColumns("NFTPERVU", locs));
        EXPECT_EQ(columnsOf(d, "KELVA_Facility"), expectedColumns("FTPERVU", locs));
        EXPECT_EQ(d.scalar("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name IN "
                           "('KELVA_NonFacility_CODEMODIndexx', 'KELVA_Facility_CODEMODIndexx')").toLongLong(), 2);
    }
    // MOD alone takes the empty text; the index takes a CODEMOD twice.
    EXPECT_NO_THROW(file.Execute("INSERT INTO KELVA_Facility (MOD, CODEMOD) VALUES ('', 'x')"));
    EXPECT_NO_THROW(file.Execute("INSERT INTO KELVA_Facility (MOD, CODEMOD) VALUES ('', 'x')"));
    for (const char* column : {"CODE", "STATUS", "GLOBAL", "WORKZ", "FTPERVU", "CODEMOD"})
        EXPECT_THROW(file.Execute(QString("INSERT INTO KELVA_Facility (%1) VALUES ('')").arg(column)), dao::Error)
            << column;
}

TEST_F(LookupTest, EveryCodeWithItsColumnsAndOneFeePerLocality)
{
    createOk();
    // Fees of the non-facility setting; a Null text stays Null, a Null MOD is the empty text, a Null number 0;
    // the RVUs are text in the number form; the widths are declared, the values stored whole; the schedule columns
    // are named and filled from the parameter row's names, whatever the session calls them ("Other").
    EXPECT_EQ(rows(lookupFile(), "KELVA_NonFacility",
                   "CODE, MOD, NAT, AL_10102_00, AK_02102_01, TX_04412_18, STATUS, GLOBAL, ENDOBASE, [Fee 1], S2, F1, "
                   "WORKZ, MRVU, NFTPERVU, NOTUSEDIND, CODEMOD"),
              QStringList({"00100||0|0|0|0|<null>|<null>|<null>|0|0|0|5.00|1.00|0|<null>|00100",
                           "71010|26|9.36|8.93|12.74|0|<null>|X'Y|ABCDE|0|0|0|0.18|0.01|0|<null>|7101026",
                           "99213||76.32|71.46|97.2|0|A|XXX|<null>|10|20|5|0.97|0.05|1.20|<null>|99213",
                           "99999||0|0|0|0|<null>|<null>|<null>|0|0|0|0|1.00|0|<null>|99999"}));
    // The facility fees differ only through F98WORK; every other column but the RVU's is the same.
    EXPECT_EQ(rows(lookupFile(), "KELVA_Facility", "CODE, NAT, AL_10102_00, AK_02102_01, TX_04412_18, FTPERVU"),
              QStringList({"00100|0|0|0|0|0", "71010|9.36|8.93|12.74|0|0", "99213|51.12|48.78|69.48|0|0.80",
                           "99999|0|0|0|0|0"}));
    const QString same = "CODE, MOD, STATUS, NOTUSEDIND, PREOP, ENDOBASE, GLOBAL, [Fee 1], S2, S3, S4, S5, F1, F2, "
                         "F3, F4, F5, WORKZ, MRVU, CODEMOD";
    EXPECT_EQ(rows(lookupFile(), "KELVA_Facility", same), rows(lookupFile(), "KELVA_NonFacility", same));
    // The work tables stay in the main database, the fees as numbers and empty where a GPCI or an RVU is.
    EXPECT_EQ(rows(db(), "KELVA_NonFacility", "CODE, MOD, NAT, typeof(NAT), TX_04412_18, WORKZ"),
              QStringList({"00100|<null>|0|real|<null>|5.0", "71010|26|9.36|real|<null>|0.18",
                           "99213|<null>|76.32|real|<null>|0.97", "99999|<null>|<null>|null|<null>|<null>"}));
    EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_F(LookupTest, WorkedExampleRow)
{
    locations({{"**", nullptr, nullptr, 1, 1, 1}, {"AL", "10102", "00", 0, 0, 0}});
    db().Execute("DELETE FROM DATA0077");
    code("12345", "26", {{"WORKZ", 0.97}, {"NF98WORK", 1.03}, {"F98WORK", 1.03}, {"MRVU", 0}, {"NFTPERVU", 2.08},
                         {"STATUS", "A"}, {"GLOBAL", "XXX"}});
    code("12345", kNoMod, {{"WORKZ", 0.97}, {"NF98WORK", 1.03}, {"F98WORK", 1.03}, {"MRVU", 0},
                                   {"NFTPERVU", 2.08}, {"GLOBAL", "XXX"}});
    g().ConvFactor = 35.9;
    createOk();
    EXPECT_EQ(rows(lookupFile(), "KELVA_NonFacility",
                   "CODE, MOD, NAT, STATUS, GLOBAL, F1, WORKZ, NFTPERVU, AL_10102_00, CODEMOD, typeof(NAT), "
                   "typeof(F1), typeof(WORKZ), typeof(AL_10102_00), typeof(CODEMOD)"),
              QStringList({"12345||71.8|<null>|XXX|0|0.97|2.08|0|12345|real|real|text|real|text",
                           "12345|26|71.8|A|XXX|0|0.97|2.08|0|1234526|real|real|text|real|text"}));
}

TEST_F(LookupTest, NumberFormOfTheCopy)
{
    struct Case {
        double value;
        const char* text;  // in a text column (MRVU)
        double number;     // in a number column (the first schedule)
    };
    const Case cases[] = {{2.125, "2.13", 2.13}, {-2.125, "-2.13", -2.13}, {1234567.891, "1234567.89", 1234567.89},
                          {0, "0.00", 0}};
    db().Execute("DELETE FROM DATA0077");
    int i = 0;
    for (const Case& c : cases)
        code(QString("A%1").arg(i++), kNoMod, {{"MRVU", c.value}, {"S1", c.value}});
    createOk();
    dao::Recordset rs = lookupFile().OpenRecordset("SELECT MRVU, [Fee 1] FROM KELVA_NonFacility ORDER BY CODE");
    for (const Case& c : cases) {
        ASSERT_FALSE(rs.EOF());
        EXPECT_EQ(rs.Fields(0).Value().toString(), c.text) << c.value;
        EXPECT_EQ(rs.Fields(1).Value().toDouble(), c.number) << c.value;
        rs.MoveNext();
    }
}

TEST_F(LookupTest, OnlyTheNationalRowGivesTheFixedColumnsAndABarOf202)
{
    locations({{"**", nullptr, nullptr, 1, 1, 1}});
    std::vector<std::pair<double, double>> bar;  // max, value, as the run sets them
    seam.onDoEvents([&] {
        ExprtInd& p = load<ExprtInd>();
        EXPECT_TRUE(p.isVisible());
        QObject::connect(&p, &ExprtInd::prg1Changed, [&](double max, double value) { bar.push_back({max, value}); });
    });
    createOk();
    for (dao::Database d : {lookupFile(), db()})
        for (const char* table : {"KELVA_NonFacility", "KELVA_Facility"}) {
            const QStringList cols = columnsOf(d, table);
            EXPECT_EQ(cols.size(), 34) << table;
            EXPECT_EQ(cols.last(), "CODEMOD TEXT(8) COLLATE NOCASE") << table;
        }
    // Each fill starts at 1 and ends at 2; the copy leaves the bar still until it is full. The window was shown and
    // the loop run once.
    const std::vector<std::pair<double, double>> expected{{100, 1}, {202, 1}, {202, 2}, {202, 202},
                                                          {202, 1}, {202, 1}, {202, 2}, {202, 202}};
    EXPECT_EQ(bar, expected);
    EXPECT_EQ(seam.doEventsCount(), 1);
    EXPECT_EQ(rows(lookupFile(), "KELVA_Facility", "CODE, NAT"),
              QStringList({"00100|0", "71010|9.36", "99213|51.12", "99999|0"}));
}

// ---- Ways out.

TEST_F(LookupTest, NoLeavesEverythingAsItWas)
{
    QFile old(lookupPath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    QDir::setCurrent(out.path());
    seam.expectMsgBox(kOverwrite, vbYesNo, vbNo);
    frmExportWiz2& w = create();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("keep me"));
    EXPECT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(seam.doEventsCount(), 0);
    EXPECT_EQ(QDir::currentPath(), QDir(out.path()).canonicalPath());
    EXPECT_FALSE(db().hasTable("KELVA_NonFacility"));
    EXPECT_FALSE(platform::forms().isLoaded<ExprtInd>());
    EXPECT_TRUE(w.Command1->isEnabled());
    EXPECT_EQ(w.MousePointer(), 0);
    EXPECT_FALSE(nationalrun::active());
    // Asked again at the next press.
    seam.expectMsgBox(kOverwrite, vbYesNo, vbNo);
    w.Command1->click();
}

TEST_F(LookupTest, YesReplacesTheFileAndASecondRunRemakesTheWorkTables)
{
    {
        dao::Database old = dao::CreateDatabase(lookupPath());
        old.Execute("CREATE TABLE old (a TEXT)");
    }
    db().Execute("CREATE TABLE KELVA_NonFacility (CODE TEXT, CODEMOD TEXT)");
    db().Execute("INSERT INTO KELVA_NonFacility VALUES ('stale', 'stale')");
    seam.expectMsgBox(kOverwrite, vbYesNo, vbYes);
    createOk();
    EXPECT_FALSE(platform::forms().isLoaded<frmExportWiz2>());
    EXPECT_EQ(lookupFile().TableNames(), QStringList({"KELVA_Facility", "KELVA_NonFacility"}));
    EXPECT_EQ(rows(db(), "KELVA_NonFacility", "CODE").size(), 4);
    EXPECT_FALSE(g().AuxDb.isOpen());
    EXPECT_TRUE(g().MainDb.isOpen());
    EXPECT_EQ(g().MainDb.Name(), folder.mainDb());

    db().Execute("DELETE FROM DATA0077 WHERE CPT = '99999'");
    seam.expectMsgBox(kOverwrite, vbYesNo, vbYes);
    createOk();
    EXPECT_EQ(rows(db(), "KELVA_Facility", "CODE"), QStringList({"00100", "71010", "99213"}));
    EXPECT_EQ(rows(lookupFile(), "KELVA_Facility", "CODE"), QStringList({"00100", "71010", "99213"}));
}

class LookupFailure : public LookupTest {
protected:
    // What every failure leaves: the window open for another press, nothing of the run left open or shown, the
    // program folder current, the main database as before the run.
    void expectOrderlyEnd(frmExportWiz2& w)
    {
        EXPECT_TRUE(platform::forms().isLoaded<frmExportWiz2>());
        EXPECT_TRUE(w.Command1->isEnabled());
        EXPECT_FALSE(w.running());
        EXPECT_EQ(w.MousePointer(), 0);
        EXPECT_FALSE(platform::forms().isLoaded<ExprtInd>());
        EXPECT_FALSE(nationalrun::active());
        EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).canonicalPath());
        EXPECT_EQ(db().transactionDepth(), 0);
    }
    void SetUp() override
    {
        LookupTest::SetUp();
        QDir::setCurrent(out.path());
    }
};

TEST_F(LookupFailure, InTheFacilityCopyKeepsWhatWasCopied)
{
    ASSERT_EQ(sqlite3_exec(db().handle(), "DROP TRIGGER kelva_rules_DATA0077_bu; UPDATE DATA0077 SET FTPERVU = 'abc' "
                                          "WHERE CPT = '00100'", nullptr, nullptr, nullptr), SQLITE_OK);
    seam.expectMsgBox(kFailed, vbOKOnly);
    seam.expectMsgBox("Type mismatch", vbOKOnly);
    frmExportWiz2& w = create();
    expectOrderlyEnd(w);
    EXPECT_FALSE(g().AuxDb.isOpen());
    EXPECT_EQ(rows(lookupFile(), "KELVA_NonFacility", "CODE").size(), 4);
    EXPECT_EQ(lookupFile().scalar("SELECT group_concat(CODE, ',') FROM KELVA_Facility").toString(), "99213,71010");
    EXPECT_FALSE(db().hasTable("KELVA_NonFacility"));
    EXPECT_FALSE(db().hasTable("KELVA_Facility"));

    // Nothing of the failed run stands in the way of the next.
    db().Execute("UPDATE DATA0077 SET FTPERVU = 2 WHERE CPT = '00100'");
    seam.expectMsgBox(kOverwrite, vbYesNo, vbYes);
    seam.expectMsgBox("Export Successful", vbOKOnly);
    w.Command1->click();
    EXPECT_EQ(rows(lookupFile(), "KELVA_Facility", "FTPERVU").first(), "2.00");
}

TEST_F(LookupFailure, AMissingTemplateOpensNothingAndLeavesTheFile)
{
    QFile::remove(folder.file("export.mdb"));
    QFile old(lookupPath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    g().AuxDb = dao::CreateDatabase(out.filePath("aux.mdb"));
    seam.expectMsgBox(kOverwrite, vbYesNo, vbYes);
    seam.expectMsgBox(kFailed, vbOKOnly);
    seam.answerMsgBox(vbOK);
    frmExportWiz2& w = create();
    ASSERT_EQ(seam.messages().size(), 3);
    EXPECT_TRUE(seam.messages()[2].startsWith("Could not find file")) << qPrintable(seam.messages()[2]);
    expectOrderlyEnd(w);
    EXPECT_EQ(g().AuxDb.Name(), out.filePath("aux.mdb"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("keep me"));
}

TEST_F(LookupFailure, AnEmptySessionTableEndsAtTheFirstCopy)
{
    db().Execute("DELETE FROM DATA0077");
    seam.expectMsgBox(kFailed, vbOKOnly);
    seam.expectMsgBox("No current record.", vbOKOnly);
    expectOrderlyEnd(create());
    EXPECT_EQ(lookupFile().TableNames(), QStringList({"KELVA_NonFacility"}));
    EXPECT_FALSE(db().hasTable("KELVA_NonFacility"));
}

TEST_F(LookupFailure, ARepeatedScheduleNameKeepsThePreviousWorkTables)
{
    seam.expectMsgBox("Export Successful", vbOKOnly);
    create();
    const QStringList before = rows(db(), "KELVA_Facility", "*");
    db().Execute("UPDATE PARMS_CL SET S2 = 'f1'");
    seam.expectMsgBox(kOverwrite, vbYesNo, vbYes);
    seam.expectMsgBox(kFailed, vbOKOnly);
    seam.expectMsgBox("Cannot define field more than once.", vbOKOnly);
    expectOrderlyEnd(create());
    EXPECT_EQ(rows(db(), "KELVA_Facility", "*"), before);
    EXPECT_TRUE(lookupFile().TableNames().isEmpty());
}

// ---- The guard.

TEST_F(LookupTest, ASecondCreateAndTheCloseBoxAtTheYieldChangeNothing)
{
    bool tried = false;
    seam.onDoEvents([&] {
        frmExportWiz2* w = platform::forms().loadedOrNull<frmExportWiz2>();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(nationalrun::active());
        EXPECT_FALSE(w->Command1->isEnabled());
        EXPECT_EQ(w->MousePointer(), 11);
        w->Command1->click();
        w->Command1_Click();
        w->close();
        EXPECT_TRUE(platform::forms().isLoaded<frmExportWiz2>());
        tried = true;
    });
    createOk();
    EXPECT_TRUE(tried);
    EXPECT_EQ(seam.doEventsCount(), 1);
    EXPECT_EQ(seam.messages(), QStringList({"Export Successful"}));
    EXPECT_EQ(rows(lookupFile(), "KELVA_NonFacility", "CODE").size(), 4);
    EXPECT_FALSE(nationalrun::active());
}

}  // namespace

namespace {

// ---- The window as a user sees it; with KELVA_SHOTS set, it and the progress window are saved there.

TEST_F(LookupTest, TheWindowReadsWholeAtItsDesignedSizeAndOpensByItsName)
{
    platform::Form* byName = platform::forms().getByName("frmExportWiz2");
    ASSERT_NE(byName, nullptr);
    auto& w = dynamic_cast<frmExportWiz2&>(*byName);
    w.Show();
    settle();
    EXPECT_EQ(w.Caption(), " National Export Wizard");
    EXPECT_EQ(w.ScaleWidth(), 5190);
    EXPECT_EQ(w.ScaleHeight(), 3450);
    EXPECT_EQ(w.Label3->text(), "Note: The National Export Wizard allows the user to create a single MS Access "
                                "Database (MDB) for all codes and all  localities.  For locality specific exports "
                                "select  File - Export.  ");
    EXPECT_TRUE(testsupport::cutTexts(&w).isEmpty()) << qPrintable(testsupport::cutTexts(&w).join(" | "));
    testsupport::saveShot(&w, "frmExportWiz2");
    seam.onDoEvents([&] {
        ExprtInd& p = load<ExprtInd>();
        EXPECT_TRUE(testsupport::cutTexts(&p).isEmpty()) << qPrintable(testsupport::cutTexts(&p).join(" | "));
        testsupport::saveShot(&p, "lookup-progress");
    });
    createOk();
}

}  // namespace
