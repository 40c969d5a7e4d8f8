#include "update/WizardFixture.h"

#include "app/endprogram.h"
#include "update/updateserver.h"

#include <QFile>
#include <QFileInfo>

using namespace updatetest;

namespace {

const QString kNoUpdateFile =
    "The file selected is not an update data file. Please select a valid update file";
const QString kLocalQuestion =
    "An update file was found in the application directory.  Do you wish to use use this file for updating or "
    "continue with the download wizard? (Selecting 'No' will continue online download process.)";

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

// The window against the local FTP server.
class ServerTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        ASSERT_TRUE(server.started()) << "python3-pyftpdlib is needed for the update server tests";
        update::updateServer().port = server.port();
        seam.ftpThroughCurl();
        qunsetenv("ftp_proxy");
        qunsetenv("all_proxy");
    }
    LocalFtpServer server;
};

}  // namespace

TEST_F(WizardTest, OpensOnTheFirstPageWithTheLinkAndWithoutNextOrCancel)
{
    frmDataUpdate2& w = wizard();
    EXPECT_EQ(w.Caption(), "Data Update");
    EXPECT_EQ(page(w), "first");
    EXPECT_TRUE(w.btnNext->isHidden());
    EXPECT_TRUE(w.Command1->isHidden());
    EXPECT_EQ(w.Label2->text(), " " + frmDataUpdate2::updateWebPage());
    EXPECT_EQ(w.Label4->text(), "Please visit " + frmDataUpdate2::updateWebPage() + " for updates.");
    EXPECT_FALSE(w.Command4->isHidden());

    seam.shellResult(2);
    seam.expectMsgBox("Could not open a browser for viewing websites", vbOKOnly);
    w.Label2_Click();
    ASSERT_EQ(seam.calls("Shell").size(), 1u);
    EXPECT_EQ(seam.calls("Shell")[0].text, frmDataUpdate2::updateWebPage());
}

// One table of status-check cases against a real FTP server.
TEST_F(ServerTest, TheStatusCheckDecidesThePage)
{
    struct Case {
        const char* name;
        QByteArray status;     // empty: no status file on the server
        const char* installed; // nullptr: an empty installed date
        QString page;
        QString message;       // the only message shown, if any
        bool statusKept = false;
        bool noConnection = false;
        std::function<void()> before = {};
    };
    const QString cannot = "Cannot perform the update process at this time.  If you continue to receive this message "
                           "please call tech support 1-800-555-0142.";
    const std::vector<Case> cases = {
        {"later", "kelvaupd04.mdb 06/30/2014\r\n", "2013-01-01 00:00:00", "second", ""},
        {"equal", "kelvaupd04.mdb 06/30/2014\r\n", "2014-06-30 00:00:00", "third", ""},
        {"earlier", "kelvaupd04.mdb 01/15/2012\r\n", "2013-01-01 00:00:00", "third", ""},
        {"empty installed date", "kelvaupd04.mdb 06/30/2014\r\n", nullptr, "third", ""},
        {"no .mdb", "kelvaupd04.zip 06/30/2014\r\n", "2013-01-01 00:00:00", "first", ""},
        {".mdb without a blank", "kelvaupd04.mdb\r\n", "2013-01-01 00:00:00", "first",
         "Can't determine update status. Please again try later.", true},
        {"several lines", "kelvaupd04.mdb 01/15/2012\r\nkelvaupd04.mdb 06/30/2099\r\n", "2013-01-01 00:00:00",
         "third", ""},
        {"day above 12", "kelvaupd04.mdb 12/13/2014 10:30\r\n", "2014-12-12 00:00:00", "second", ""},
        {"no status file", "", "2013-01-01 00:00:00", "first", cannot},
        {"wrong password", "kelvaupd04.mdb 06/30/2014\r\n", "2013-01-01 00:00:00", "second", "", false, true,
         [] { update::updateServer().password = "wrong"; }},
    };
    const QString kelva = update::updateServer().password;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        update::updateServer().password = kelva;
        QFile::remove(server.path(update::kStatusFileName));
        QFile::remove(programFile(update::kStatusFileName));
        if (!c.status.isEmpty())
            server.put(update::kStatusFileName, c.status);
        db().Execute("UPDATE PARMS_CL SET dataupdate = ?", {c.installed ? dao::Variant(QString(c.installed)) : dao::Variant()});
        if (c.before)
            c.before();
        if (!c.message.isEmpty())
            seam.expectMsgBox(c.message, vbOKOnly);

        const auto connects = seam.calls("FtpConnect").size();
        const auto messages = seam.messages().size();
        frmDataUpdate2& w = wizard();
        w.btnNext_Click();
        EXPECT_EQ(page(w), c.page);
        EXPECT_EQ(seam.messages().size() - messages, c.message.isEmpty() ? 0 : 1);
        EXPECT_EQ(QFileInfo::exists(programFile(update::kStatusFileName)), c.statusKept);
        EXPECT_EQ(update::connection().NoInternet, c.noConnection ? -1 : 0);
        EXPECT_EQ(!w.Label5->isHidden(), c.noConnection);
        EXPECT_EQ(!w.Label3->isHidden(), c.page == "second" && !c.noConnection);
        if (c.page == "second" && !c.noConnection) {
            EXPECT_EQ(w.strDownLoadFileName, "kelvaupd04.mdb");
        }
        ASSERT_EQ(seam.calls("FtpConnect").size(), connects + 1);
        EXPECT_EQ(seam.calls("FtpConnect").back().flags, server.port());
        EXPECT_EQ(seam.calls("FtpConnect").back().detail, "direct");
        EXPECT_EQ(seam.mousePointer(), vbDefault);
        w.Unload();
        settle();
    }
}

TEST_F(ServerTest, AStoppedServerGivesTheNoConnectionPageWithoutAMessage)
{
    server.stop();
    frmDataUpdate2& w = wizard();
    w.btnNext_Click();
    EXPECT_EQ(page(w), "second");
    EXPECT_FALSE(w.Label5->isHidden());
    EXPECT_FALSE(w.Command2->isHidden());
    EXPECT_FALSE(w.Text1->isHidden());
    EXPECT_TRUE(w.Label7->isHidden());
    EXPECT_EQ(update::connection().NoInternet, -1);
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(ServerTest, TheDownloadBringsTheUpdateDatabaseByteForByteAndAMissingOneIsNoConnection)
{
    const QString local = programFile(update::kUpdateFileName);
    EXPECT_FALSE(update::FtpUpdateDownload());
    EXPECT_FALSE(QFileInfo::exists(local));

    writeUpdateDatabase(server.path(update::kUpdateFileName), fullUpdate(QDateTime(QDate(2014, 6, 30), QTime())));
    QByteArray bytes = fileBytes(server.path(update::kUpdateFileName));
    bytes.append("\r\n\x1a\n\r", 5);  // line ends and bytes that a text transfer would change
    server.put(update::kUpdateFileName, bytes);
    EXPECT_TRUE(update::FtpUpdateDownload());
    EXPECT_EQ(fileBytes(local), bytes);
    EXPECT_EQ(seam.calls("FtpConnect").back().detail, "proxy");

    // A later failed download leaves the file already there.
    QFile::remove(server.path(update::kUpdateFileName));
    EXPECT_FALSE(update::FtpUpdateDownload());
    EXPECT_EQ(fileBytes(local), bytes);
}

// Through "Next >>" and "Update" against the server: the offered page, the download, the update applied.
TEST_F(ServerTest, OfferedDownloadedAndApplied)
{
    server.put(update::kStatusFileName, "kelvaupd04.mdb 06/30/2014\r\n");
    writeUpdateDatabase(server.path(update::kUpdateFileName), fullUpdate(QDateTime(QDate(2014, 6, 30), QTime())));
    frmDataUpdate2& w = wizard();
    w.btnNext_Click();
    ASSERT_EQ(page(w), "second");
    seam.expectMsgBox(kPreparation, vbOKOnly);
    seam.expectMsgBox(kCompletion, vbOKOnly);
    w.Command3_Click(0);
    EXPECT_TRUE(programEnded());
    EXPECT_DOUBLE_EQ(db().scalar("SELECT CURCONVF FROM PARMS_CL").toDouble(), 37.3374);
}

TEST_F(WizardTest, TheLocalFileQuestion)
{
    writeLocalUpdate(QDateTime(QDate(2014, 6, 30), QTime()));
    seam.ftpUnreachable();

    // No: Data5 lets the file go and the server is checked.
    frmDataUpdate2& w = wizard();
    seam.expectMsgBox(kLocalQuestion, vbYesNo, vbNo, QString("KELVA Morvex Update"));
    w.btnNext_Click();
    EXPECT_FALSE(w.Data5.hasRecordset());
    EXPECT_EQ(seam.calls("FtpConnect").size(), 1u);
    EXPECT_EQ(page(w), "second");
    EXPECT_EQ(update::connection().NoInternet, -1);
    w.Unload();
    settle();

    // Yes: the update is applied and the program ends.
    frmDataUpdate2& again = wizard();
    seam.expectMsgBox(kLocalQuestion, vbYesNo, vbYes, QString("KELVA Morvex Update"));
    seam.expectMsgBox(kPreparation, vbOKOnly);
    seam.expectMsgBox(kCompletion, vbOKOnly);
    again.btnNext_Click();
    EXPECT_TRUE(programEnded());
    EXPECT_EQ(seam.calls("FtpConnect").size(), 1u);
}

TEST_F(WizardTest, ALocalFileThatIsNotLaterGoesStraightToTheServerCheck)
{
    writeLocalUpdate(QDateTime(QDate(2012, 6, 30), QTime()));
    seam.ftpUnreachable();
    frmDataUpdate2& w = wizard();
    w.btnNext_Click();
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_EQ(seam.calls("FtpConnect").size(), 1u);
}

TEST_F(WizardTest, AnUnreadableUpdateDatabaseIsReportedOnTheFirstPage)
{
    QFile f(programFile(update::kUpdateFileName));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    frmDataUpdate2& w = wizard();
    seam.answerMsgBox(vbOK);
    w.btnNext_Click();
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_FALSE(seam.messages()[0].isEmpty());
    EXPECT_EQ(page(w), "first");
    EXPECT_TRUE(seam.calls("FtpConnect").empty());
}

TEST_F(WizardTest, BrowseRefusesTheMainDatabaseInAnyCaseAndFolder)
{
    frmDataUpdate2& w = wizard();
    for (const QString& path : {programFile("kelva.mdb"), QString("/home/u/KELVA.MDB"), QString("/tmp/x/Kelva.Mdb")}) {
        seam.answerFileDialog(path);
        seam.expectMsgBox("You can not update from the KELVA Morvex(tm) main database.", vbOKOnly);
        w.Command2_Click();
        EXPECT_EQ(w.Text1->text(), "");
    }
    seam.cancelFileDialog();
    w.Command2_Click();
    const auto dialogs = seam.calls("FileOpen");
    ASSERT_EQ(dialogs.size(), 4u);
    EXPECT_EQ(dialogs[0].title, "Select the update file.");
}

TEST_F(WizardTest, UpdateOnTheServerPathWantsAnUpdateFileName)
{
    frmDataUpdate2& w = wizard();
    w.strDownLoadFileName = "otherfile.mdb";
    seam.expectMsgBox(kNoUpdateFile, vbOKOnly, vbOK, QString("Data Update"));
    w.Command3_Click(0);
    EXPECT_TRUE(seam.calls("FtpConnect").empty());
}

// On the no-connection page a file chosen in another folder is copied into the program folder and applied.
TEST_F(WizardTest, AFileChosenElsewhereIsCopiedIntoTheProgramFolderAndApplied)
{
    QTemporaryDir elsewhere;
    const QString chosen = elsewhere.filePath("update2014.mdb");
    writeUpdateDatabase(chosen, fullUpdate(QDateTime(QDate(2014, 6, 30), QTime())));
    seam.ftpUnreachable();
    frmDataUpdate2& w = wizard();
    w.btnNext_Click();
    ASSERT_EQ(page(w), "second");
    seam.answerFileDialog(chosen);
    w.Command2_Click();
    EXPECT_EQ(w.Text1->text(), chosen);
    seam.expectMsgBox(kPreparation, vbOKOnly);
    seam.expectMsgBox(kCompletion, vbOKOnly);
    w.Command3_Click(0);
    EXPECT_TRUE(programEnded());
    EXPECT_EQ(sourceRowsAt(programFile(update::kUpdateFileName), "dme1"), sourceRowsAt(chosen, "dme1"));
    EXPECT_EQ(rows("DME"), sourceRowsAt(chosen, "dme1"));
}

TEST(StatusLine, DatesReadAsMonthDayYearWhateverTheLocale)
{
    struct Case {
        const char* line;
        QDateTime date;  // invalid: not a status line
    };
    const std::vector<Case> cases = {
        {"kelvaupd04.mdb 06/30/2014", QDateTime(QDate(2014, 6, 30), QTime(0, 0))},
        {"kelvaupd04.mdb 12/13/2014", QDateTime(QDate(2014, 12, 13), QTime(0, 0))},
        {"kelvaupd04.mdb 3/4/2014 2:05:09 PM", QDateTime(QDate(2014, 3, 4), QTime(14, 5, 9))},
        {"kelvaupd04.mdb 3/4/14 14:05", QDateTime(QDate(2014, 3, 4), QTime(14, 5))},
        {"kelvaupd04.mdb 13/12/2014", {}},
        {"kelvaupd04.mdb", {}},
        {"kelvaupd04.mdb 2014-06-30", {}},
    };
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto parsed = update::parseStatusLine(c.line);
        EXPECT_EQ(parsed.has_value(), c.date.isValid());
        if (parsed) {
            EXPECT_EQ(parsed->date, c.date);
            EXPECT_EQ(parsed->fileName, "kelvaupd04.mdb");
        }
    }
    QLocale::setDefault(previous);
    EXPECT_EQ(update::firstLine("a b\r\nc"), "a b");
    EXPECT_EQ(update::firstLine("a b\nc"), "a b");
}
