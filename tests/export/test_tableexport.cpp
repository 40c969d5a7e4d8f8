#include "ExportDialogTest.h"

#include "db/schema.h"
#include "export/ExprtInd.h"
#include "platform/jet/DriverTable.h"
#include "platform/jet/dbase.h"
#include "../platform/jet/oracles.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kDescWritten = "Say  hi  " + QString(141, 'd');

// Three codes at factors of 1: 00100 pays 0.50 (non-facility and facility alike).
class TableExportTest : public ExportDialogTest {
protected:
    void prepare(dao::Database& d) override
    {
        d.Execute("DELETE FROM " + table);
        db::insertRow(d, table,
                      {{"Tag", "+"}, {"CODEMOD", "00100"}, {"CPT", "00100"}, {"STATUS", "A"},
                       {"DESC", "Say \"hi\" " + QString(191, 'd')}, {"LDESC", QString(200, 'L')}, {"WORKZ", 0.25},
                       {"NF98WORK", 0.25}, {"F98WORK", 0.25}, {"MRVU", 0}, {"calcflag", 1}, {"NFTPERVU", 0.25},
                       {"FTPERVU", 0.5}, {"NFTTOTAL", 0.5}, {"FTTOTAL", 0.5}, {"NFRBPERVU", 0.1}, {"FRBPERVU", 0.2},
                       {"NFRBTOTAL", 0.3}, {"GLOBAL", "090"}, {"S1", 10.5}, {"S2", 20}, {"Freq1", 3},
                       {"NOTES", "a\r\nb"}, {"USRDF", "XXXXXXX"}, {"NON_PE_OPPS", 1.5}});
        db::insertRow(d, table,
                      {{"CODEMOD", "0010026"}, {"CPT", "00100"}, {"MOD", "26"}, {"DESC", "Short"}, {"WORKZ", 1},
                       {"NF98WORK", 1}, {"F98WORK", 1}, {"MRVU", 0}, {"calcflag", 1}, {"NOTES", ""},
                       {"USRDF", "xxxxxxx"}});
        db::insertRow(d, table, {{"CODEMOD", "99213"}, {"CPT", "99213"}, {"calcflag", 0}});
        d.Execute("UPDATE SESSIONS SET S1NAME = 'Office', S2NAME = 'Home Visit', S3NAME = 'a]b', S4NAME = 'S4', "
                  "S5NAME = 'S5', F1NAME = 'Freq A', F2NAME = 'F2', F3NAME = 'F3', F4NAME = 'F4', F5NAME = 'F5' "
                  "WHERE SESTAB = ?",
                  {table});
    }
    void SetUp() override
    {
        ExportDialogTest::SetUp();
        g().WorkGpci = g().PracGpci = g().MalpGpci = g().ConvFactor = 1.0;
    }
    // Exports all columns of every code to the named file; the messages are the caller's.
    void exportTo(const QString& name)
    {
        frmExportInfo& w = load<frmExportInfo>();
        platform::setOptionValue(w.Option2(0), true);
        seam.answerFileDialog(target(name));
        pressContinue(w);
        settle();
    }
    // An export that ends with two messages, answered OK.
    QStringList exportFailing(const QString& name)
    {
        const qsizetype before = seam.messages().size();
        seam.answerMsgBox(vbOK);
        seam.answerMsgBox(vbOK);
        exportTo(name);
        return seam.messages().mid(before);
    }
    void exportOk(const QString& name)
    {
        seam.expectMsgBox("File exported successfully", vbOKOnly);
        exportTo(name);
    }
    static dao::Variant cell(const jet::Rows& rows, int row, const QString& column)
    {
        for (std::size_t c = 0; c < rows[0].size(); ++c)
            if (rows[0][c].toString().compare(column, Qt::CaseInsensitive) == 0)
                return c < rows[std::size_t(row)].size() ? rows[std::size_t(row)][c] : dao::Variant();
        ADD_FAILURE() << "no column " << column.toStdString();
        return {};
    }
};

TEST_F(TableExportTest, FourTypesHoldTheFieldTablesValues)
{
    for (const char* name : {"fees.xls", "fees.wk1", "fees.dbf", "fees.mdb"})
        exportOk(name);
    EXPECT_EQ(count(), 1004);

    REQUIRE_TOOL(oracle::Tool::SheetJS);
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    REQUIRE_TOOL(oracle::Tool::PythonDbf);
    const QStringList sheets{target("fees.xls"), target("fees.wk1")};
    std::vector<std::pair<const char*, jet::Rows>> read;
    const auto sheetjs = oracle::sheetjsRead(sheets + QStringList{target("fees.dbf")});
    read.emplace_back("SheetJS xls", sheetjs[0]);
    read.emplace_back("SheetJS wk1", sheetjs[1]);
    QString messages;
    const auto ssconvert = oracle::ssconvertRead(sheets, &messages);
    EXPECT_FALSE(messages.contains("corrupted") || messages.contains("Invalid")) << messages.toStdString();
    read.emplace_back("ssconvert xls", ssconvert[0]);
    read.emplace_back("ssconvert wk1", ssconvert[1]);
    for (const auto& [who, rows] : read) {
        SCOPED_TRACE(who);
        ASSERT_EQ(rows.size(), 4u);
        EXPECT_EQ(cell(rows, 1, "Codemod"), dao::Variant("00100"));
        EXPECT_TRUE(cell(rows, 1, "Mod").isNull());
        EXPECT_EQ(cell(rows, 1, "Desc"), dao::Variant(kDescWritten));
        EXPECT_EQ(cell(rows, 1, "NFTPERVU"), dao::Variant(".25"));
        EXPECT_EQ(cell(rows, 1, "QNPART"), dao::Variant("0.50"));
        EXPECT_EQ(cell(rows, 1, "QFPART"), dao::Variant("0.50"));
        EXPECT_EQ(cell(rows, 1, "FTPERVU"), dao::Variant(0.5));
        EXPECT_EQ(cell(rows, 1, "S1"), dao::Variant(10.5));
        EXPECT_EQ(cell(rows, 1, "Freq1"), dao::Variant(3.0));
        EXPECT_EQ(cell(rows, 1, "NON_PE_OPPS"), dao::Variant(1.5));
        EXPECT_TRUE(cell(rows, 1, "USRDF").isNull());
        EXPECT_EQ(cell(rows, 1, "Notes"), dao::Variant("a  b"));
        EXPECT_EQ(cell(rows, 1, "LDesc"), dao::Variant(QString(150, 'L')));
        EXPECT_EQ(cell(rows, 2, "USRDF"), dao::Variant("xxxxxxx"));
        EXPECT_TRUE(cell(rows, 2, "Notes").isNull());
        EXPECT_TRUE(cell(rows, 3, "QNPART").isNull());  // no RVUs: no amount
    }
    // SheetJS on the dBASE file: numbers as numbers, texts as written.
    const jet::Rows& dbf = sheetjs[2];
    ASSERT_EQ(dbf.size(), 4u);
    EXPECT_EQ(cell(dbf, 1, "CODEMOD"), dao::Variant("00100"));
    EXPECT_EQ(cell(dbf, 1, "NFTPERVU"), dao::Variant(0.25));
    EXPECT_EQ(cell(dbf, 1, "QNPART"), dao::Variant(0.5));
    oracle::runPython(
        "import dbf, sys\n"
        "t = dbf.Table(sys.argv[1]); t.open()\n"
        "r = t[0]\n"
        "want = {'codemod': '00100', 'desc': sys.argv[2], 'notes': 'a  b', 'usrdf': ''}\n"
        "for k, v in want.items():\n"
        "    got = getattr(r, k).rstrip()\n"
        "    if got != v: sys.exit('%s: %r' % (k, got))\n"
        "if abs(r.nftpervu - 0.25) > 1e-9 or abs(r.qnpart - 0.5) > 1e-9 or abs(r.s1 - 10.5) > 1e-9: sys.exit('numbers')\n"
        "if t[1].usrdf.rstrip() != 'xxxxxxx' or len(t) != 3: sys.exit('second row')\n",
        {target("fees.dbf"), kDescWritten});

    // The Access file, through the layer: exportF with the session's names at its end.
    dao::Database mdb = dao::OpenDatabase(target("fees.mdb"), "");
    EXPECT_FALSE(mdb.hasTable("export"));
    const dao::TableDef f = mdb.tableDef("exportF");
    QStringList tail;
    for (std::size_t i = f.fields.size() - 10; i < f.fields.size(); ++i) {
        tail << f.fields[i].name;
        EXPECT_EQ(f.fields[i].type, dao::FieldType::Double) << f.fields[i].name.toStdString();
    }
    EXPECT_EQ(tail, QStringList({"Office", "Home Visit", "a]b", "S4", "S5", "Freq A", "F2", "F3", "F4", "F5"}));
    dao::Recordset rs = mdb.OpenRecordset("SELECT * FROM exportF ORDER BY Codemod");
    EXPECT_EQ(rs.Fields("Codemod").Value(), dao::Variant("00100"));
    EXPECT_EQ(rs.Fields("QNPART").Value().toDouble(), 0.5);
    EXPECT_EQ(rs.Fields("NFTPERVU").Value().toDouble(), 0.25);
    EXPECT_EQ(rs.Fields("Office").Value().toDouble(), 10.5);
    EXPECT_EQ(rs.Fields("Home Visit").Value().toDouble(), 20.0);
    EXPECT_EQ(rs.Fields("Freq A").Value().toDouble(), 3.0);
    EXPECT_TRUE(rs.Fields("USRDF").Value().isNull());
}

TEST_F(TableExportTest, RenamingFailuresLeaveWhatWasReached)
{
    struct Case {
        const char* name;
        const char* update;
        const char* description;
    };
    for (const Case& c : {Case{"equal names", "S2NAME = 'OFFICE'", "duplicate column name"},
                          Case{"empty name", "F3NAME = ''", "'' is not a valid name"}}) {
        db().Execute(QString("UPDATE SESSIONS SET %1 WHERE SESTAB = ?").arg(c.update), {table});
        const qint64 before = count();
        const QString file = QString("%1.mdb").arg(c.name).replace(' ', '_');
        const QStringList messages = exportFailing(file);
        ASSERT_EQ(messages.size(), 2) << c.name;
        EXPECT_TRUE(messages[0].contains(c.description)) << messages[0].toStdString();
        EXPECT_EQ(messages[1], "error creating export file");
        EXPECT_EQ(count(), before + 1);
        dao::Database mdb = dao::OpenDatabase(target(file), "");
        EXPECT_TRUE(mdb.hasTable("export") && mdb.hasTable("exportF")) << c.name;
        db().Execute("UPDATE SESSIONS SET S2NAME = 'Home Visit', F3NAME = 'F3' WHERE SESTAB = ?", {table});
    }
}

TEST_F(TableExportTest, TargetsAndTheirRefusals)
{
    // A title without "." names no sheet or table: nothing is written.
    for (const char* name : {"feesxls", "feeswk1", "feesdbf"}) {
        seam.expectMsgBox("Error creating file", vbOKOnly);
        seam.expectMsgBox("Invalid procedure call or argument", vbOKOnly);
        exportTo(name);
        EXPECT_FALSE(QFile::exists(target(name))) << name;
    }
    // The dBASE target is the chosen file itself; a fees.dbf beside it keeps its bytes.
    QFile::copy(folder.file("export.dbf"), target("fees.dbf"));
    const QByteArray beside = bytes(target("fees.dbf"));
    exportOk("fees.2014.dbf");
    EXPECT_EQ(bytes(target("fees.dbf")), beside);
    EXPECT_EQ(jet::readDbf(target("fees.2014.dbf")).rows.size(), 3u);

    // An existing Access file: No keeps it, Yes replaces it.
    QFile keep(target("old.mdb"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("mine");
    keep.close();
    const qint64 before = count();
    seam.expectMsgBox("Exporting to an existing access database will overwrite the entire database.  Do you wish to continue?",
                      vbYesNo, vbNo);
    seam.expectMsgBox("No Export Performed", vbOKOnly);
    exportTo("old.mdb");
    EXPECT_EQ(bytes(target("old.mdb")), QByteArray("mine"));
    EXPECT_EQ(count(), before);
    seam.answerMsgBox(vbYes);
    exportOk("old.mdb");
    EXPECT_TRUE(dao::OpenDatabase(target("old.mdb"), "").hasTable("exportF"));
}

TEST_F(TableExportTest, DamagedTemplateFailsTheAttach)
{
    QFile damaged(folder.file("export.xls"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("not a worksheet");
    damaged.close();
    const qint64 before = count();
    const QStringList messages = exportFailing("fees.xls");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], "Error attaching to output database\r\nDB:" + target("fees.xls") +
                               " RecordSource:fees$ DBTYPE:Excel 4.0;");
    EXPECT_FALSE(messages[1].isEmpty());
    EXPECT_EQ(count(), before);
    EXPECT_FALSE(forms().isLoaded<ExprtInd>());
}

// A session of 16,384 codes: one row more than a worksheet holds below its header.
class FullSheetTest : public TableExportTest {
protected:
    void prepare(dao::Database& d) override
    {
        d.Execute("DELETE FROM " + table);
        d.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 16384) "
                  "INSERT INTO " + table + " (CODEMOD, CPT, WORKZ, NF98WORK, F98WORK, MRVU, calcflag, NFTPERVU) "
                  "SELECT printf('%05d', i), printf('%05d', i), 1, 1, 1, 0, 1, 1 FROM n");
    }
    qint64 sheetRows(const QString& name)
    {
        auto t = jet::DriverTable::open(jet::Driver::Excel, target(name), "fees$");
        return t->database().scalar("SELECT count(*) FROM " + dao::quoteIdentifier(t->tableName())).toLongLong();
    }
};

TEST_F(FullSheetTest, RowPastTheSheetFailsAndKeepsTheRowsBefore)
{
    const qint64 before = count();
    const QStringList messages = exportFailing("fees.xls");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], "An Error occurred while exporting data");
    EXPECT_EQ(count(), before);
    EXPECT_EQ(sheetRows("fees.xls"), 16383);
    // Without the last code the sheet takes them all.
    db().Execute("DELETE FROM " + table + " WHERE CODEMOD = '16384'");
    exportOk("fees.xls");
    EXPECT_EQ(sheetRows("fees.xls"), 16383);
}

}  // namespace
