#include "s49_fixture.h"

#include "../platform/jet/oracles.h"
#include "support/ReadableTexts.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QThread>

namespace {

using PredefinedWindowTest = PredefinedFixture;

const QString kRefused =
    "You can not select files: KELVA.MDB or any of the export template files (files begining with EXPORT.??"
    "?) as the export file.  Please pick another file name.";
const QString kFilter = "Excel 4.0 (*.xls)|*.xls|Access (*.mdb)|*.mdb|Comma Delimited Text (*.csv)|*.csv";

TEST_F(PredefinedWindowTest, OpensFromTheDialogAndGoesBackToIt)
{
    frmExportInfo& dialog = load<frmExportInfo>();
    dialog.Show();
    platform::setOptionValue(dialog.Option1(1), true);
    bool opened = false;
    seam.onModal<frmPredefinedExport>([&](frmPredefinedExport& w) {
        opened = true;
        EXPECT_EQ(w.Caption(), "Predefined Columns Data Exportation");
        EXPECT_EQ(w.Option2(0)->text(), "Partipating Fees (Non Facility)");
        EXPECT_TRUE(w.Option1(1)->isChecked());
        EXPECT_TRUE(w.Option2(0)->isChecked());
        EXPECT_FALSE(dialog.isVisible());
        platform::setOptionValue(w.Option2(3), true);
        w.Command1(1)->click();  // Cancel
    });
    dialog.Option2(2)->click();
    ASSERT_TRUE(opened);
    EXPECT_FALSE(forms().isLoaded<frmPredefinedExport>());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.Option2(0)->isChecked());
    EXPECT_EQ(dialog.Option2(0)->text(), "Export all columns ");
    EXPECT_TRUE(dialog.Option1(1)->isChecked());

    // Opened again: layout 1 whatever was chosen before; a completed export leaves the dialog hidden.
    platform::setOptionValue(dialog.Option1(0), true);
    seam.onModal<frmPredefinedExport>([&](frmPredefinedExport& w) {
        EXPECT_TRUE(w.Option1(0)->isChecked());
        EXPECT_TRUE(w.Option2(0)->isChecked());
        seam.answerFileDialog(target("again.csv"));
        seam.expectMsgBox("Export Completed", vbOKOnly);
        w.Command1(2)->click();
    });
    dialog.Option2(2)->click();
    EXPECT_FALSE(forms().isLoaded<frmPredefinedExport>());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.Option2(0)->isChecked());
    EXPECT_TRUE(QFile::exists(target("again.csv")));
}

TEST_F(PredefinedWindowTest, ReadsWholeAtItsSize)
{
    frmPredefinedExport& w = open(5);
    w.Show();
    QApplication::processEvents();
    testsupport::saveShot(&w, "frmPredefinedExport");
    EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(w.Label1(i)->text(), QString::fromLatin1(predefined::layout(i).label));
    EXPECT_EQ(w.Label1(5)->text(),
              "Code, Mod, Short Descriptions, S1, S2, S3, S4, S5, Freq1, Freq2, Freq3, Freq4, Freq5");
}

TEST_F(PredefinedWindowTest, CountsProposeTheNameAndAdvance)
{
    struct Case {
        qint64 count;
        const char* name;
        qint64 next;
    };
    for (const Case& c : {Case{1234, "morvex234", 1235}, Case{2000, "morvex000", 2001}, Case{2001, "morvex001", 1001}}) {
        setCount(c.count);
        exportTo(0, target(QString("n%1.csv").arg(c.count)));
        const auto saves = seam.calls("FileSave");
        EXPECT_EQ(saves.back().text, c.name);
        EXPECT_EQ(saves.back().title, "Export");
        EXPECT_EQ(saves.back().detail, kFilter + " @ " + folder.path());
        EXPECT_EQ(count(), c.next);
        EXPECT_EQ(platform::busyCount(), 0);
        EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).canonicalPath());
        settle();
    }
}

TEST_F(PredefinedWindowTest, RefusedCancelledAndUntypedTargetsWriteNothing)
{
    setCount(1234);
    for (const char* name : {"kelva.MDB", "Export.xls", "exportpre3.xls"}) {
        frmPredefinedExport& w = open(0);
        seam.answerFileDialog(target(name));
        seam.expectMsgBox(kRefused, vbOKOnly);
        w.Command1(2)->click();
        EXPECT_FALSE(QFile::exists(target(name))) << name;
        EXPECT_TRUE(forms().isLoaded<frmPredefinedExport>());
    }
    {
        frmPredefinedExport& w = open(2, true);
        seam.cancelFileDialog();
        seam.expectMsgBox("No Export Performed", vbOKOnly);
        seam.expectMsgBox("Cancel was selected.", vbOKOnly);
        w.Command1(2)->click();
        EXPECT_TRUE(w.Option2(2)->isChecked());
        EXPECT_TRUE(w.Option1(1)->isChecked());
    }
    exportFails(0, target("morvex234"), "Error creating file", QString());
    EXPECT_FALSE(QFile::exists(target("morvex234")));
    EXPECT_EQ(count(), 1234);
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).canonicalPath());
}

// A Null fee: layouts 1 to 3 stop at its row in CSV, layout 4 writes zeros; the worksheet leaves it empty.
TEST_F(PredefinedWindowTest, NullAmounts)
{
    db().Execute("UPDATE " + table + " SET NF98WORK = NULL, F98WORK = NULL, WORKZ = NULL, MRVU = NULL, "
                 "FTPERVU = NULL, FTTOTAL = NULL WHERE CODEMOD = '0010026'");
    setCount(1234);
    exportFails(0, target("null1.csv"), "Error writing Text File", "Invalid use of Null");
    EXPECT_EQ(QString::fromLatin1(bytes(target("null1.csv"))),
              "\"CPT\",\"Mod\",\"GLOBAL\",\"Desc\",\"QNPART\",\"\"\r\n"
              "\"CPT\",\"Mod\",\"GFP\",\"Description\",\"Non Facility Par Fee\",\"\"\r\n"
              "\"00100\",\"\",\"090\",\"Cut, \"\"quoted\"\" text\",69.50\r\n");
    EXPECT_EQ(count(), 1234);
    settle();
    exportTo(3, target("null4.csv"));
    EXPECT_TRUE(QString::fromLatin1(bytes(target("null4.csv"))).endsWith("\"00100\",\"26\",\"Plain\",0,0,0,0,0.00,XXX\r\n"));
    settle();
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    exportTo(2, target("null3.xls"));
    const std::vector<jet::Rows> read = oracle::sheetjsRead({target("null3.xls")});
    ASSERT_EQ(read[0].size(), 3u);
    EXPECT_TRUE(read[0][2].size() < 4 || read[0][2][3].isNull());
    EXPECT_EQ(read[0][2][1].toString(), "26");
}

TEST_F(PredefinedWindowTest, TaggedWithNoneTaggedGivesTheHeadersOnly)
{
    setCount(1234);
    exportTo(5, target("none.csv"), true);
    EXPECT_EQ(QString::fromLatin1(bytes(target("none.csv"))).count("\r\n"), 1);
    settle();
    exportTo(0, target("none.mdb"), true);
    EXPECT_EQ(dao::OpenDatabase(target("none.mdb")).scalar("SELECT COUNT(*) FROM \"Predefined Export\"").toLongLong(), 0);
    EXPECT_EQ(count(), 1236);
}

// The session's names become the Access table's columns as they stand; names the engine cannot take apart
// fail the export and leave the template copy.
TEST_F(PredefinedWindowTest, AccessColumnsNamedAfterTheSession)
{
    setNames("S1NAME = ?, S2NAME = ?, S3NAME = ?, S4NAME = ?", {"Fee ] one", ".a!b`c", " lead", "[x]"});
    exportTo(4, target("names.mdb"));
    dao::Database d = dao::OpenDatabase(target("names.mdb"));
    const dao::TableDef def = d.tableDef("Predefined Export");
    QStringList names;
    for (const dao::FieldDef& f : def.fields)
        names << f.name;
    EXPECT_EQ(names, QStringList({"CPT", "MOD", "DESC", "Fee ] one", ".a!b`c", " lead", "[x]", "Cash"}));
    EXPECT_EQ(d.scalar("SELECT \"Fee ] one\" FROM \"Predefined Export\" WHERE MOD IS NULL").toString(), "10");
    d.Close();
    settle();

    setNames("S3NAME = 'Third', F1NAME = 'Visits', F2NAME = 'VISITS'");
    QFile::remove(target("equal.mdb"));
    exportFails(5, target("equal.mdb"), "Error creating file");
    EXPECT_TRUE(seam.messages().back().contains("duplicate column name", Qt::CaseInsensitive))
        << qPrintable(seam.messages().back());
    EXPECT_EQ(dao::OpenDatabase(target("equal.mdb")).TableNames(), QStringList({"export"}));
}

TEST_F(PredefinedWindowTest, OppsViewCarriesTheStoredTotals)
{
    {
        const QSignalBlocker block(forms().get<frmMain>().cmboCurrentView);
        forms().get<frmMain>().cmboCurrentView->setCurrentIndex(forms().get<frmMain>().cmboCurrentView->findText("KELVA OPPS"));
    }
    ASSERT_EQ(forms().get<frmMain>().cmboCurrentView->currentText(), "KELVA OPPS");
    exportTo(1, target("opps.mdb"));
    dao::Database d = dao::OpenDatabase(target("opps.mdb"));
    dao::Recordset rs = d.OpenRecordset("SELECT CPT, NFTTOTAL, QNPART FROM \"Predefined Export\"");
    ASSERT_FALSE(rs.EOF());
    EXPECT_EQ(rs.Fields(0).Value().toString(), "00100");
    EXPECT_EQ(rs.Fields(1).Value().toString(), "69.5");
    EXPECT_EQ(rs.Fields(2).Value().toString(), "69.50");
    rs.MoveNext();
    EXPECT_TRUE(rs.EOF());
}

// The worksheet holds 16,384 rows with its header: the last code of such a session fails at its save, and
// the rows before it stay in the file.
TEST_F(PredefinedWindowTest, TheSheetsLastRowFailsTheLastCode)
{
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    db().Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 16382) INSERT INTO " + table +
                 " (CODEMOD, CPT, WORKZ, NF98WORK, MRVU, calcflag) SELECT printf('A%05d', i), printf('A%05d', i), 1, 1, 0, 1 FROM n");
    ASSERT_EQ(db().scalar("SELECT COUNT(*) FROM " + table).toLongLong(), 16384);
    setCount(1234);
    exportFails(0, target("big.xls"), "Error creating file");
    EXPECT_TRUE(seam.messages().back().contains("16383")) << qPrintable(seam.messages().back());
    EXPECT_EQ(count(), 1234);
    QString messages;
    const std::vector<jet::Rows> read = oracle::ssconvertRead({target("big.xls")}, &messages);
    EXPECT_EQ(read[0].size(), 16384u);
    EXPECT_FALSE(messages.contains("corrupt")) << qPrintable(messages);
}

// As a user sees it: the layout window over the session dialog (saved when KELVA_SHOTS names a folder).
TEST_F(PredefinedWindowTest, ScreenOfBothWindows)
{
    const QString shots = qEnvironmentVariable("KELVA_SHOTS");
    if (shots.isEmpty() || QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "a look under Xvfb only";
    frmExportInfo& dialog = load<frmExportInfo>();
    dialog.Show();
    dialog.move(40, 40);
    frmPredefinedExport& w = open(1);
    w.Show();
    w.move(200, 120);
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(shots).filePath("predefined_over_dialog.png"));
    exportTo(1, QDir(shots).filePath("layout2.csv"));
    settle();
    frmPredefinedExport& w5 = open(4);
    w5.Show();
    exportTo(4, QDir(shots).filePath("layout5.xls"));
}

}  // namespace
