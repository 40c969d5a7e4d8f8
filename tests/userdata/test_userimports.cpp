// The File menu's imports of user schedules and frequencies: the source stage's ways out, the kinds, the
// row stage and the error report ImportErr.log.
#include "userdata/ImportFixture.h"
#include "platform/jet/oracles.h"
#include "db/schema.h"

#include "platform/jet/biff4.h"
#include "platform/jet/dbase.h"
#include "platform/jet/wk1.h"
#include "userdata/frmTableSelect.h"

#include <QProcess>

namespace {

using dao::Variant;

const QString kScheduleIntro =
    "Note: Import Schedules is designed for importing user defined fees into user schedules S1 through S5 as an "
    "alternative to entering the information by hand on the main screen.  A valid code must exist in the KELVA "
    "Morvex program in order for the schedule data to be imported.  Please see the help file for more information.";
const QString kFrequencyIntro =
    "Note: Import Schedules is designed for importing user defined frequencies into frequency 1 through frequency 5 "
    "as an alternative to entering the information by hand on the main screen.  A valid code must exist in the "
    "KELVA Morvex program in order for the schedule data to be imported.  Please see the help file for more "
    "information.";
const QString kHeading = "\"KELVA F1 - F5 Import Error Report for: 6/16/2014 9:00:00 AM\r\n\r\n\"\r\n";

class UserImport : public ImportWindows {
protected:
    void intro(bool frequencies, int answer = vbOK)
    {
        if (frequencies)
            seam.expectMsgBox(kFrequencyIntro, vbOKCancel, answer, QStringLiteral("Import Frequencies"));
        else
            seam.expectMsgBox(kScheduleIntro, vbOKCancel, answer, QStringLiteral("Import Schedules"));
    }
    // Runs an import whose dialog chooses file (empty: the dialog is cancelled).
    void run(bool frequencies, const QString& file, const QString& message = QString())
    {
        intro(frequencies);
        if (!message.isEmpty())
            seam.expectMsgBox(message, vbOKOnly);
        if (file.isEmpty())
            seam.cancelFileDialog();
        else
            seam.answerFileDialog(file);
        if (frequencies)
            main().ImportUserFrequencies();
        else
            main().ImportUserSchedules();
        seam.verifyNothingLeft();
        EXPECT_EQ(platform::busyCount(), 0);
        EXPECT_FALSE(main().Data4.hasRecordset());
    }
    QByteArray report() const
    {
        QFile f(folder.file("ImportErr.log"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    QByteArray fileItem(const QString& file) const
    {
        return ("\"Import file name: " + file + "\r\n\r\n\"\r\n").toUtf8();
    }
    QString current() const { return QDir::currentPath(); }
    QString programFolder() const { return QDir(folder.path()).canonicalPath(); }
};

TEST_F(UserImport, SourceStageWaysOutWithTheFolderAndTheReportLeft)
{
    write("fees.txt", "CPT,Freq1\r\n99213,1\r\n");
    write("fees.xlsx", "x");
    write("my fees.csv", "CPT,Freq1\r\n99213,1\r\n");
    QDir().mkpath(path("my dir"));
    write("my dir/fees.csv", "CPT,Freq1\r\n99213,4\r\n");
    QDir().mkpath(path("copy"));
    write("copy/kelva.MDB", "x");
    accessFile("fees.mdb", {"Fees"});
    const QStringList before = sessionRows();
    const QString other = QDir(path("copy")).canonicalPath();

    // The introduction cancelled: the folder as it was, the report its heading only.
    QDir::setCurrent(other);
    intro(true, vbCancel);
    main().ImportUserFrequencies();
    EXPECT_EQ(current(), other);
    EXPECT_EQ(report(), kHeading.toUtf8());

    struct Way {
        const char* name;
        QString file;                // empty: the dialog cancelled
        QString message;             // empty: none
        std::function<void()> chooser;
        QByteArray reportAfterHeading;
    };
    const QByteArray cancelLine = "\"Error Description :Cancel was selected.. Stopped at record: 0\"\r\n";
    const QByteArray emptyLine = "\"Error Description :. Stopped at record: 0\"\r\n";
    const Way ways[] = {
        {"dialog cancelled", "", "", {}, cancelLine},
        {"main database", path("copy/kelva.MDB"), "You can not import from the KELVA Morvex main database.", {}, ""},
        {"blank in the name", path("my fees.csv"),
         "The name of the file you have selected cannot contain blanks. Rename your file\r\nand try again.  See "
         "Help-Importing for additional information.",
         {}, ""},
        {"fees.xlsx", path("fees.xlsx"), "No file Imported", {}, fileItem(path("fees.xlsx")) + emptyLine},
        {"fees.txt", path("fees.txt"), "No file Imported", {}, fileItem(path("fees.txt")) + emptyLine},
        {"chooser cancelled", path("fees.mdb"), "Import Canceled.  Click Ok to return to main browser.",
         [this] { seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.Command1(1)->click(); }); },
         fileItem(path("fees.mdb"))},
        {"chooser closed", path("fees.mdb"), "",
         [this] { seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.close(); }); },
         fileItem(path("fees.mdb")) + "\"Error Description :No table was chosen.. Stopped at record: 0\"\r\n"},
    };
    for (const Way& w : ways) {
        for (bool frequencies : {false, true}) {
            SCOPED_TRACE(std::string(w.name) + (frequencies ? " (frequencies)" : " (schedules)"));
            QDir::setCurrent(other);
            if (w.chooser)
                w.chooser();
            run(frequencies, w.file, w.message);
            EXPECT_EQ(current(), programFolder());
            if (frequencies) {
                EXPECT_EQ(report(), kHeading.toUtf8() + w.reportAfterHeading);
            }
        }
    }
    EXPECT_EQ(sessionRows(), before);

    // A blank in the folder is no refusal; a comma-delimited frequency import returns to the program folder,
    // a schedule one to the folder current at its start.
    QDir::setCurrent(other);
    run(true, path("my dir/fees.csv"), "File imported successfully\r\n");
    EXPECT_EQ(value("99213", "Freq1").toDouble(), 4.0);
    EXPECT_EQ(current(), programFolder());
    EXPECT_EQ(report(), kHeading.toUtf8() + fileItem(path("my dir/fees.csv")));
    write("s.csv", "CPT,S1\r\n99213,4\r\n");
    QDir::setCurrent(other);
    run(false, path("s.csv"), "File imported successfully");
    EXPECT_EQ(current(), other);
}

TEST_F(UserImport, KindsOfSources)
{
    const jet::Rows rows = {{Variant("100"), Variant(12.5)}, {Variant("99213"), Variant(3.0)}};
    write("FEES.XLS", jet::biff4WithRows(jet::biff4Template({"CPT", "S1"}), 1, rows, false, "x"));
    write("FEES.csv", "stale copy");
    write("fees.wk1", jet::wk1WithRows(jet::wk1Template({"CPT", "S1"}), 1, rows, false, "x"));
    cptS1Dbf("fees.dbf");
    cptS1Dbf("fees.2004.dbf", rows);
    for (const QString f : {"FEES.XLS", "fees.wk1", "fees.2004.dbf"}) {
        SCOPED_TRACE(f.toStdString());
        g().MainDb.Execute(QStringLiteral("UPDATE %1 SET S1 = NULL").arg(g().CurSesTab));
        run(false, path(f), f.endsWith("XLS") ? "File imported successfully" : "File Imported Successfully");
        EXPECT_EQ(value("00100", "S1").toDouble(), 12.5);
        EXPECT_EQ(value("99213", "S1").toDouble(), 3.0);
    }
    // The workbook's copy replaced the file of its name and stays; the dialog keeps the copy's path.
    QFile copy(path("FEES.csv"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_TRUE(copy.readAll().startsWith("CPT,S1\r\n"));
    EXPECT_EQ(main().dia.InitDir, folder.path());
}

TEST_F(UserImport, RowStageRecordsAndTheReport)
{
    // Code, Mod and S1 in any case; a tag-only record; codes the table lacks or cannot hold.
    dao::Database a = dao::CreateDatabase(path("rows.mdb"));
    a.Execute("CREATE TABLE Fees (cOdE TEXT(10), mOd TEXT(2), s1 TEXT(10), S2 TEXT(10), TAG TEXT(5))");
    a.Execute("INSERT INTO Fees VALUES ('100', NULL, '10', '.5', NULL), ('99213', NULL, NULL, NULL, 'N'), "
              "('1234F', '26', '-5', '7', NULL), ('99214', '  ', '1,000', NULL, NULL), "
              "('123456789', NULL, '1', NULL, NULL), ('99203', NULL, 'abc', '0', NULL)");
    a.Execute("CREATE TABLE Freqs (CPT TEXT(10), FREQ1 TEXT(5), Freq2 TEXT(5), freq3 TEXT(5), Freq5 TEXT(5))");
    a.Execute("INSERT INTO Freqs VALUES ('100', '-3', '-3', '-3', '2'), ('99213', '4', '', 'x', NULL), "
              "('99214', NULL, NULL, NULL, '1'), ('99203', '1', NULL, NULL, NULL), (NULL, '1', '1', '1', '1'), "
              "('1234F', '6', NULL, NULL, NULL)");
    a.Close();
    g().MainDb.Execute(QStringLiteral("UPDATE %1 SET S1 = 1, S2 = 2, Freq1 = 3, Freq2 = 4, Freq3 = 5, Tag = NULL")
                           .arg(g().CurSesTab));
    if (!g().MainDb.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE CODEMOD = '1234F26'").arg(g().CurSesTab)).toLongLong())
        db::insertRow(g().MainDb, g().CurSesTab, {{"CODEMOD", "1234F26"}, {"S1", 1.0}, {"S2", 2.0}});

    seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.Command1(0)->click(); });
    run(false, path("rows.mdb"), "File Imported Successfully");
    EXPECT_EQ(value("00100", "S1").toDouble(), 10.0);
    EXPECT_EQ(value("00100", "S2").toDouble(), 2.0);  // .5 sorts before "0"
    EXPECT_EQ(value("99213", "Tag").toString(), "+");
    EXPECT_EQ(value("99213", "S1").toDouble(), 1.0);
    EXPECT_EQ(value("1234F26", "S1").toDouble(), 1.0);
    EXPECT_EQ(value("1234F26", "S2").toDouble(), 7.0);
    EXPECT_EQ(value("99214", "S1").toDouble(), 1.0);  // 1,000 is no number
    EXPECT_EQ(value("99203", "S1").toDouble(), 1.0);
    EXPECT_EQ(value("99203", "S2").toDouble(), 0.0);
    EXPECT_TRUE(value("00100", "Tag").isNull());

    // The Null CPT code is the fifth record: counter 6.
    seam.onModal<frmTableSelect>([](frmTableSelect& w) {
        w.List1->setCurrentRow(1);
        w.Command1(0)->click();
    });
    run(true, path("rows.mdb"), "File Imported Successfully.\r\nSome records were not imported.  See log for details.");
    EXPECT_EQ(report(), kHeading.toUtf8() + fileItem(path("rows.mdb")) + "\"Record number :6 is not numeric\"\r\n");
    EXPECT_EQ(value("00100", "Freq1").toDouble(), 3.0);
    EXPECT_EQ(value("00100", "Freq2").toDouble(), 0.0);
    EXPECT_EQ(value("00100", "Freq3").toDouble(), 0.0);
    EXPECT_EQ(value("00100", "Freq5").toDouble(), 2.0);
    EXPECT_EQ(value("99213", "Freq1").toDouble(), 4.0);
    EXPECT_EQ(value("99213", "Freq2").toDouble(), 0.0);  // an empty text sorts before "0"
    EXPECT_EQ(value("99213", "Freq3").toDouble(), 5.0);
    EXPECT_EQ(value("1234F", "Freq1").toDouble(), 6.0);

    // The schedule import of the same table does not mention the Null code.
    seam.onModal<frmTableSelect>([](frmTableSelect& w) {
        w.List1->setCurrentRow(1);
        w.Command1(0)->click();
    });
    run(false, path("rows.mdb"), "The import file must have a column labeled S1, S2, S3, S4, and/or S5.");
}

TEST_F(UserImport, AFailureAtTheThirdRecordChangesNothing)
{
    dao::Database a = dao::CreateDatabase(path("f.mdb"));
    a.Execute("CREATE TABLE Freqs (CODE TEXT(10), Freq1 REAL)");
    a.Execute("INSERT INTO Freqs VALUES ('100', 1), ('99213', 2), ('99214', 3), ('99203', 4)");
    a.Close();
    g().MainDb.Execute(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON %1 WHEN NEW.CODEMOD = '99214' "
                                      "BEGIN SELECT RAISE(ABORT, 'The row is locked'); END")
                           .arg(g().CurSesTab));
    const QStringList before = sessionRows();
    seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.Command1(0)->click(); });
    run(true, path("f.mdb"), "Error Reading Data from " + path("f.mdb") + "\r\n\r\nThe row is locked");
    EXPECT_EQ(sessionRows(), before);
    EXPECT_TRUE(report().endsWith("\"Error Description :The row is locked. Stopped at record: 4\"\r\n"));
    EXPECT_EQ(current(), programFolder());

    // A second frequency import starts its report anew.
    g().MainDb.Execute("DROP TRIGGER refuse");
    seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.Command1(0)->click(); });
    run(true, path("f.mdb"), "File Imported Successfully");
    EXPECT_EQ(report(), kHeading.toUtf8() + fileItem(path("f.mdb")));
    EXPECT_EQ(value("99214", "Freq1").toDouble(), 3.0);
}

TEST_F(UserImport, OneSetOfRowsThroughEveryKind)
{
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    REQUIRE_TOOL(oracle::Tool::PythonDbf);
    // 00100 S1 12.5 S2 3; 99214 S1 15 (a formula in the workbook) S2 4, tagged; 1234F with modifier 26.
    write("in.csv", "CPT,MOD,S1,S2,Tag\n00100,,12.5,3,\n99214,,=6*2.5,4,x\n1234F,26,8,,\n");
    QProcess ss;
    ss.start("ssconvert", {"-T", "Gnumeric_Excel:excel_biff8", path("in.csv"), path("rows.xls")});
    ASSERT_TRUE(ss.waitForFinished(60000));
    ASSERT_TRUE(QFile::exists(path("rows.xls")));
    write("rows.csv", "CPT,MOD,S1,S2,Tag\n00100,,12.5,3,\n99214,,15,4,x\n1234F,26,8,,\n");
    oracle::runPython(QStringLiteral(R"(
import dbf, sys
t = dbf.Table(sys.argv[1], 'CPT C(7); MOD C(2); S1 N(10,2); S2 N(10,2); TAG C(1)', dbf_type='db3')
t.open(dbf.READ_WRITE)
t.append(('00100', '', 12.5, 3, ''))
t.append(('99214', '', 15, 4, 'x'))
t.append({'cpt': '1234F', 'mod': '26', 's1': 8})
t.close()
)"),
                      {path("rows.dbf")});
    const jet::Rows rows = {{Variant("00100"), Variant(), Variant(12.5), Variant(3.0), Variant()},
                            {Variant("99214"), Variant(), Variant(15.0), Variant(4.0), Variant("x")},
                            {Variant("1234F"), Variant("26"), Variant(8.0), Variant(), Variant()}};
    const QStringList header = {"CPT", "MOD", "S1", "S2", "Tag"};
    write("rows.wk1", jet::wk1WithRows(jet::wk1Template(header), 1, rows, false, "x"));
    dao::Database a = dao::CreateDatabase(path("rows.mdb"));
    a.Execute("CREATE TABLE Fees (CPT TEXT(7), MOD TEXT(2), S1 REAL, S2 REAL, Tag TEXT(1))");
    for (const auto& r : rows)
        a.Execute("INSERT INTO Fees VALUES (?, ?, ?, ?, ?)", r);
    a.Close();
    if (!g().MainDb.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE CODEMOD = '1234F26'").arg(g().CurSesTab)).toLongLong())
        db::insertRow(g().MainDb, g().CurSesTab, {{"CODEMOD", "1234F26"}});

    const QStringList original = sessionRows();
    QStringList expected;
    for (const QString f : {"rows.csv", "rows.xls", "rows.dbf", "rows.wk1", "rows.mdb"}) {
        SCOPED_TRACE(f.toStdString());
        g().MainDb.Execute(QStringLiteral("UPDATE %1 SET S1 = NULL, S2 = NULL, Tag = NULL").arg(g().CurSesTab));
        if (f.endsWith("mdb"))
            seam.onModal<frmTableSelect>([](frmTableSelect& w) { w.Command1(0)->click(); });
        run(false, path(f),
            f.endsWith("csv") || f.endsWith("xls") ? "File imported successfully" : "File Imported Successfully");
        EXPECT_EQ(value("99214", "S1").toDouble(), 15.0);
        EXPECT_EQ(value("99214", "Tag").toString(), "+");
        EXPECT_EQ(value("1234F26", "S1").toDouble(), 8.0);
        if (expected.isEmpty())
            expected = sessionRows();
        else
            EXPECT_EQ(sessionRows(), expected);
    }
    EXPECT_NE(expected, original);
}

TEST_F(UserImport, AReportThatCannotBeCreatedEndsTheFrequencyImport)
{
    QDir().mkpath(folder.file("ImportErr.log"));
    seam.answerMsgBox(vbOK);
    main().ImportUserFrequencies();
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages().front().startsWith("The error report '"));
    EXPECT_TRUE(seam.calls("FileOpen").empty());
}

TEST_F(UserImport, FileMenuRunsTheImports)
{
    write("s.csv", "CPT,S1\r\n99213,21\r\n");
    write("f.csv", "CPT,Freq4\r\n99213,22\r\n");
    intro(false);
    seam.answerFileDialog(path("s.csv"));
    seam.expectMsgBox("File imported successfully", vbOKOnly);
    main().mnufile(0)->trigger();
    intro(true);
    seam.answerFileDialog(path("f.csv"));
    seam.expectMsgBox("File imported successfully\r\n", vbOKOnly);
    main().mnufile(1)->trigger();
    EXPECT_EQ(value("99213", "S1").toDouble(), 21.0);
    EXPECT_EQ(value("99213", "Freq4").toDouble(), 22.0);
    EXPECT_EQ(main().mnufile(0)->text(), "Import User Defined Fees (S1-S5)");
}

}  // namespace
