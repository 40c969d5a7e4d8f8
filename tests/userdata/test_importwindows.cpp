// The table chooser, the fee import window and the main window's comma-delimited readers, on a started main
// window.
#include "userdata/ImportFixture.h"
#include "platform/jet/oracles.h"

#include "app/buildinfo.h"
#include "support/ReadableTexts.h"

#include <QSignalBlocker>
#include <QApplication>
#include "db/schema.h"
#include "platform/jet/biff4.h"
#include "platform/jet/dbase.h"
#include "platform/jet/wk1.h"
#include "userdata/frmImport.h"
#include "userdata/frmTableSelect.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using dao::Variant;

const QString kConnectMessage =
    "There is an error connecting to the Access data base.  If you are trying to import from QDX98, QDX99 or QDX00 "
    "you must use a file exported from there.";

// ---- The chooser

TEST_F(ImportWindows, ChooserListsUserTablesAndAnswersThroughWork)
{
    accessFile("a.mdb", {"MSysObjects", "MSysACEs", "Fees", "MsysBackup"});
    accessFile("b.mdb", {"Fee Table 2014", "Other"});
    QStringList listed;
    QString label;
    seam.onModal<frmTableSelect>([&](frmTableSelect& w) {
        EXPECT_EQ(w.Caption(), "Access Data Base Import Table Selection");
        label = w.Label1->text();
        for (int i = 0; i < w.List1->count(); ++i)
            listed << w.List1->item(i)->text();
        EXPECT_EQ(w.List1->currentRow(), 0);
        EXPECT_EQ(main().work->text(), "");
        w.Command1(0)->click();
    });
    EXPECT_EQ(frmTableSelect::Choose(path("a.mdb")), "Fees");
    EXPECT_EQ(listed, QStringList{"Fees"});
    EXPECT_TRUE(label.contains("importing to the KELVA Morvex Program.\n\nPress 'Continue' to proceed."));
    EXPECT_TRUE(label.contains("S1/S2 user defined fee"));
    EXPECT_TRUE(frmTableSelect::instruction().contains("Program.\r\rPress"));

    // A second use in the run lists the second file only; the table comes back as spelled.
    listed.clear();
    seam.onModal<frmTableSelect>([&](frmTableSelect& w) {
        for (int i = 0; i < w.List1->count(); ++i)
            listed << w.List1->item(i)->text();
        w.List1->setCurrentRow(0);
        w.Command1(0)->click();
    });
    EXPECT_EQ(frmTableSelect::Choose(path("b.mdb")), "Fee Table 2014");
    EXPECT_EQ(listed, (QStringList{"Fee Table 2014", "Other"}));

    seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.Command1(1)->click(); });
    EXPECT_EQ(frmTableSelect::Choose(path("b.mdb")), "nothing");
    seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.close(); });
    EXPECT_EQ(frmTableSelect::Choose(path("b.mdb")), "");
}

TEST_F(ImportWindows, ChooserConnectionMessage)
{
    accessFile("sys.mdb", {"MSysObjects", "msysqueries"});
    accessFile("locked.mdb", {"Fees"}, {}, true);
    write("text.mdb", "this is no database\r\n");
    for (const QString f : {"sys.mdb", "locked.mdb", "text.mdb", "missing.mdb"}) {
        SCOPED_TRACE(f.toStdString());
        int rows = -1;
        seam.expectMsgBox(kConnectMessage, vbOKOnly);
        seam.onModal<frmTableSelect>([&](frmTableSelect& w) {
            rows = w.List1->count();
            w.Command1(0)->click();
        });
        EXPECT_EQ(frmTableSelect::Choose(path(f)), "");
        EXPECT_EQ(rows, 0);
        seam.verifyNothingLeft();
    }
}

// ---- The fee import window

TEST_F(ImportWindows, EachKindOfSourceImports)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    const jet::Rows rows = {{Variant("100"), Variant(12.5)}, {Variant("99213"), Variant(-4.0)}};
    const QStringList header = {"CPT", "S1"};
    QDir().mkpath(path("biff8"));
    oracle::sheetjsWrite({{path("biff8/fees.xls"), "biff8", {{Variant("CPT"), Variant("S1")}, rows[0], rows[1]}, "fees"}});
    write("fees.xls", jet::biff4WithRows(jet::biff4Template(header), 1, rows, false, "x"));
    write("fees.wk1", jet::wk1WithRows(jet::wk1Template(header), 1, rows, false, "x"));
    write("fees.csv", "CPT,S1\r\n100,12.5\r\n99213,-4\r\n");
    // fees.dbf is another table: fees.2004.dbf must be read itself.
    cptS1Dbf("fees.dbf");
    cptS1Dbf("fees.2004.dbf", rows);
    accessFile("fees.mdb", {"Fees"}, rows);

    for (const QString f : {"fees.xls", "biff8/fees.xls", "fees.wk1", "fees.csv", "fees.2004.dbf", "fees.mdb"}) {
        SCOPED_TRACE(f.toStdString());
        g().MainDb.Execute(QStringLiteral("UPDATE %1 SET S1 = 7 WHERE CODEMOD IN ('00100', '99213')").arg(g().CurSesTab));
        platform::setText(main().setchk, "0");
        if (f.endsWith("mdb"))
            seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.Command1(0)->click(); });
        seam.expectMsgBox("File Imported Successfully", vbOKOnly);
        importFrom(path(f));
        seam.verifyNothingLeft();
        EXPECT_EQ(value("00100", "S1").toDouble(), 12.5);
        EXPECT_EQ(value("99213", "S1").toDouble(), 0.0);  // a negative fee is written as 0
        EXPECT_FALSE(forms().isLoaded<frmImport>());
        EXPECT_EQ(main().setchk->text(), "2");
        EXPECT_EQ(platform::busyCount(), 0);
        EXPECT_FALSE(main().Data4.hasRecordset());
        EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).canonicalPath());
        settle();
    }
}

TEST_F(ImportWindows, ColumnChecksAndStepMessages)
{
    write("s4.csv", "Code,S4\r\n99213,3.25\r\n");
    write("desc.csv", "Code,Mod,Description\r\n99213,,x\r\n");
    write("codes.csv", "Codes,S1\r\n99213,1\r\n");
    write("long.csv", "CPT,S1,S3\r\n99213,5,\r\nG010226,6,1\r\n");
    write("text.csv", "CPT,S1\r\n99213,abc\r\n");
    write("fees.txt", "CPT,S1\r\n99213,1\r\n");
    QDir().mkpath(path("elsewhere"));
    write("elsewhere/Kelva.MDB", "x");
    const QStringList before = sessionRows();

    seam.expectMsgBox("The import file must have a column labeled S1, S2, S3, S4, and/or S5.", vbOKOnly);
    importFrom(path("desc.csv"));
    EXPECT_EQ(platform::busyCount(), 0);
    seam.expectMsgBox("The import file must have a column labeled\"CODE\" or \"CPT\".", vbOKOnly);
    importFrom(path("codes.csv"));
    EXPECT_EQ(platform::busyCount(), 0);
    seam.expectMsgBox("Error Reading Data from " + path("long.csv"), vbOKOnly);
    importFrom(path("long.csv"));
    seam.expectMsgBox("Error Reading Data from " + path("text.csv"), vbOKOnly);
    importFrom(path("text.csv"));
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_EQ(sessionRows(), before);  // nothing changed, the row before the long code included


    // Refusals before any source is opened; the window stays open throughout.
    accessFile("fees.mdb", {"Fees"});
    seam.cancelFileDialog();
    seam.expectMsgBox("No file Imported", vbOKOnly);
    forms().get<frmImport>().Command1->click();
    seam.expectMsgBox("You can not import from the KELVA Morvex main database.", vbOKOnly);
    importFrom(path("elsewhere/Kelva.MDB"));
    seam.expectMsgBox("No file Imported", vbOKOnly);
    importFrom(path("fees.txt"));
    seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.Command1(1)->click(); });
    seam.expectMsgBox("Import Canceled.  Click Ok to return to main browser.", vbOKOnly);
    importFrom(path("fees.mdb"));
    seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.close(); });
    seam.expectMsgBox("Error Opening " + path("fees.mdb"), vbOKOnly);
    importFrom(path("fees.mdb"));
    seam.expectMsgBox("Error Opening " + path("missing.csv"), vbOKOnly);
    importFrom(path("missing.csv"));
    seam.verifyNothingLeft();
    EXPECT_TRUE(forms().isLoaded<frmImport>());
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_EQ(sessionRows(), before);

    // Code and S4 only: accepted.
    seam.expectMsgBox("File Imported Successfully", vbOKOnly);
    importFrom(path("s4.csv"));
    EXPECT_EQ(value("99213", "S4").toDouble(), 3.25);
    EXPECT_FALSE(forms().isLoaded<frmImport>());
}

TEST_F(ImportWindows, WorkbookSheetMustBeNamedLikeTheFile)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    oracle::sheetjsWrite({{path("fees.xls"), "biff8", {{Variant("CPT"), Variant("S1")}, {Variant("99213"), Variant(5.0)}}, "Sheet1"}});
    seam.expectMsgBox("Error Opening " + path("fees.xls"), vbOKOnly);
    importFrom(path("fees.xls"));
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_TRUE(value("99213", "S1").isNull());
}

// ---- As a person sees them: every text whole (with KELVA_SHOTS set, pictures of both windows).

TEST_F(ImportWindows, WindowsShowTheirTextsWhole)
{
    accessFile("fees.mdb", {"Fees", "Fee Table 2014", "S1 Schedules"});
    seam.onModal<frmTableSelect>([](frmTableSelect& w) {
        QApplication::processEvents();
        testsupport::saveShot(&w, "frmTableSelect");
        EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
        w.Command1(1)->click();
    });
    frmTableSelect::Choose(path("fees.mdb"));

    frmImport& w = forms().get<frmImport>();
    w.Show();
    QApplication::processEvents();
    testsupport::saveShot(&w, "frmImport");
    EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
    EXPECT_EQ(w.Caption(), "KELVA Morvex Fee Import");
}

// ---- The main window's comma-delimited readers

TEST_F(ImportWindows, ReadersShowTheirMessagesAndRefreshTheGrid)
{
    write("s.csv", "CPT,S1,Tag\nXXXXXX\n99213,45.5,x\n");
    write("f.csv", "CPT,Freq2\r99213,3\r");
    write("bad.csv", "CPT,Description\r\n99213,x\r\n");
    write("many.csv", "CPT,Freq1\r\n99213,1\r\n00100,1,2,3\r\n");

    // The start-up's view switch lets the message loop run once; the import adds one run. The code box's
    // own lookups, which the grid's moves set off, are kept out of the count.
    const int startEvents = (main(), seam.doEventsCount());
    const QSignalBlocker quietCodeBox(main().Text1(0));
    const QSignalBlocker quietFeeBox(main().Text1(1));
    main().dia.FileName = path("s.csv");
    seam.expectMsgBox("File imported successfully", vbOKOnly);
    main().ImportUserSchedulesCsv();
    EXPECT_EQ(value("99213", "S1").toDouble(), 45.5);
    EXPECT_EQ(value("99213", "Tag").toString(), "+");
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_EQ(seam.doEventsCount() - startEvents, 1);
    EXPECT_EQ(seam.mousePointer(), vbDefault);
    // The grid shows the new value.
    main().Data1.Recordset().FindFirst("CODEMOD = ?", {QStringLiteral("99213")});
    EXPECT_EQ(main().Data1.Recordset()["S1"].Value().toDouble(), 45.5);

    main().dia.FileName = path("f.csv");
    seam.expectMsgBox("File imported successfully\r\n", vbOKOnly);
    main().ImportUserFrequenciesCsv();
    EXPECT_EQ(value("99213", "Freq2").toDouble(), 3.0);
    EXPECT_EQ(seam.doEventsCount() - startEvents, 1);

    main().dia.FileName = path("bad.csv");
    seam.expectMsgBox("Importing Problem.  If problem persists call tech support at " + supportPhone(), vbOKOnly);
    main().ImportUserSchedulesCsv();
    seam.expectMsgBox("Importing Error.  If problem persists call tech support at " + supportPhone(), vbOKOnly);
    main().ImportUserFrequenciesCsv();
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_EQ(main().dia.FileName, path("bad.csv"));

    // A failure is passed up with nothing changed; the caller lowers the cursor.
    main().dia.FileName = path("many.csv");
    EXPECT_THROW(main().ImportUserFrequenciesCsv(), dao::Error);
    EXPECT_EQ(value("99213", "Freq1").isNull(), true);
    EXPECT_EQ(g().MainDb.transactionDepth(), 0);
    platform::SetBusyCursor(0);
}

}  // namespace
