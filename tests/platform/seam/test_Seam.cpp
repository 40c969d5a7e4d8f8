#include "support/SeamTest.h"

#include "platform/forms/guarded.h"
#include "platform/seam/CommonDialog.h"
#include "platform/ftp/ftp.h"
#include "platform/seam/QtSeam.h"

#include <gtest/gtest-spi.h>

using platform::seam;

namespace {

// A procedure with a question, as the windows write them.
QString deleteSession()
{
    if (seam().MsgBox("Delete session \"Clinic A\"?", vbYesNo + vbQuestion + vbDefaultButton2, "Delete") == vbNo)
        return "kept";
    return "deleted";
}

}  // namespace

class SeamScriptTest : public SeamTest {};

TEST_F(SeamScriptTest, QuestionAnsweredNoTakesTheNoPathAndRecordsTheExactCall)
{
    seam.answerMsgBox(vbNo);
    EXPECT_EQ(deleteSession(), "kept");
    ASSERT_EQ(seam.calls("MsgBox").size(), 1u);
    const auto call = seam.calls("MsgBox").front();
    EXPECT_EQ(call.text, "Delete session \"Clinic A\"?");
    EXPECT_EQ(call.flags, vbYesNo + vbQuestion + vbDefaultButton2);
    EXPECT_EQ(call.title, "Delete");

    seam.expectMsgBox("Delete session \"Clinic A\"?", vbYesNo + vbQuestion + vbDefaultButton2, vbYes);
    EXPECT_EQ(deleteSession(), "deleted");
}

TEST(ScriptedSeamSelf, UnexpectedDialogFailsAtOnceAndStopsTheProcedure)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedSeam s;
            auto* previous = platform::setSeam(&s);
            bool after = false;
            platform::guarded([&] {
                seam().MsgBox("Overwrite the file?", vbYesNo);
                after = true;
            });
            platform::setSeam(previous);
            EXPECT_FALSE(after);
        },
        "Unexpected message box \"Overwrite the file?\"");
}

TEST(ScriptedSeamSelf, AnswersLeftOverFailTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedSeam s;
            s.expectMsgBox("File exported successfully", vbOKOnly);
            s.verifyNothingLeft();
        },
        "left over: File exported successfully");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedSeam s;
            s.answerFileDialog("/tmp/x.csv");
            s.verifyNothingLeft();
        },
        "file dialog answer(s) left over");
}

TEST(ScriptedSeamSelf, WrongTextOrFlagsFail)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedSeam s;
            s.expectMsgBox("That isn't a number!", vbOKOnly);
            s.MsgBox("That is not a number!", vbOKOnly, QString());
        },
        "message box text");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedSeam s;
            s.expectMsgBox("That isn't a number!", vbOKOnly);
            s.MsgBox("That isn't a number!", vbExclamation, QString());
        },
        "message box flags");
}

TEST_F(SeamScriptTest, UnhandledFailureShowsTheRunTimeErrorWithTheProgramTitle)
{
    seam.expectMsgBox("Run-time error '3021':\r\n\r\nNo current record.", vbOKOnly, vbOK, QString("KELVA Morvex"));
    int ended = 0;
    platform::setUnhandledErrorHandler([&] { ++ended; });
    platform::guarded([] { throw dao::Error(3021, "No current record."); });
    platform::setUnhandledErrorHandler(nullptr);
    EXPECT_EQ(ended, 1);
}

TEST_F(SeamScriptTest, CommonDialogCancelRaises32755OnlyWithCancelError)
{
    platform::CommonDialog dlg;
    dlg.Filter = "Excel (*.xls)|*.xls|Comma delimited (*.csv)|*.csv";
    dlg.FileName = "export001.xls";
    dlg.CancelError = true;
    seam.cancelFileDialog();
    try {
        dlg.ShowSave();
        ADD_FAILURE() << "no error on cancel";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, 32755);
        EXPECT_EQ(e.description, "Cancel was selected.");
    }

    dlg.CancelError = false;
    seam.cancelFileDialog();
    dlg.ShowSave();
    EXPECT_EQ(dlg.FileName, "export001.xls");

    seam.answerFileDialog("/home/u/fees.csv", 2);
    dlg.ShowOpen();
    EXPECT_EQ(dlg.FileName, "/home/u/fees.csv");
    EXPECT_EQ(dlg.FileTitle, "fees.csv");
    EXPECT_EQ(dlg.FilterIndex, 2);
    EXPECT_EQ(seam.calls("FileSave").size(), 2u);
    EXPECT_EQ(seam.calls("FileOpen").front().text, "export001.xls");
}

TEST_F(SeamScriptTest, PrinterKeepsLinesPerPageAndWritesThePdf)
{
    auto& p = seam.printer();
    p.setFontName("Courier");
    p.setFontSize(10);
    p.Print("KELVA Morvex Fee Report");
    p.Write("Code");
    p.Tab(10);
    p.Write("Fee");
    p.Tab(5);  // already past column 5: column 5 of the next line
    p.Print("x");
    p.NewPage();
    p.Print("page two");
    p.EndDoc();
    ASSERT_EQ(p.printedPages().size(), 2u);
    EXPECT_EQ(p.printedPages()[0], QStringList({"KELVA Morvex Fee Report", "Code     Fee", "    x"}));
    EXPECT_EQ(p.printedPages()[1], QStringList({"page two"}));
    EXPECT_TRUE(QFileInfo(p.outputFile()).size() > 0);
    EXPECT_GT(p.TextHeight(), 0);
}

TEST(QtSeamHelpers, FilterTextAndHelpPages)
{
    EXPECT_EQ(platform::qtNameFilters("Excel (*.xls)|*.xls|Text|*.csv;*.txt"),
              QStringList({"Excel (*.xls) (*.xls)", "Text (*.csv *.txt)"}));
    EXPECT_EQ(platform::helpPagePath("/opt/kelva", "morvex.chm", 970), "/opt/kelva/help/morvex/970.html");
}

TEST_F(SeamScriptTest, ScriptedFtpServesItsFilesAndRefusesAWrongLogin)
{
    QTemporaryDir dir;
    seam.ftpServer("127.0.0.1", "kelva", "pw");
    seam.ftpFile("/html/kelva/cgi/kelvaupd04.dat", "kelvaupd04.mdb 06/30/2014\r\n");
    EXPECT_EQ(seam.FtpConnect("127.0.0.1", "kelva", "wrong"), nullptr);
    auto ftp = seam.FtpConnect("127.0.0.1", "kelva", "pw");
    ASSERT_NE(ftp, nullptr);
    EXPECT_TRUE(ftp->SetCurrentDirectory("/html/kelva/cgi/"));
    EXPECT_TRUE(ftp->GetFile("kelvaupd04.dat", dir.filePath("kelvaupd04.dat"), false));
    EXPECT_FALSE(ftp->GetFile("kelvamu.exe", dir.filePath("kelvamu.exe"), true));
    QFile f(dir.filePath("kelvaupd04.dat"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "kelvaupd04.mdb 06/30/2014\r\n");
}

TEST(CurlFtp, ServerThatRefusesTheConnectionGivesNoConnection)
{
    // Nothing listens on port 1 of this machine: connecting fails at once.
    EXPECT_EQ(platform::ftpConnect("127.0.0.1", "kelva", "kelva", 1), nullptr);
}
