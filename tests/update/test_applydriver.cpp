#include "update/WizardFixture.h"

#include "app/endprogram.h"
#include "update/applydriver.h"
#include "update/updateserver.h"

#include <QFile>

using namespace updatetest;

namespace {

class ApplyDriverTest : public WizardTest {
protected:
    // The window on its second page as the local-file path leaves it, the progress values recorded.
    frmDataUpdate2& prepared(std::vector<int>& progress)
    {
        frmDataUpdate2& w = wizard();
        QObject::connect(w.ProgressBar1, &QProgressBar::valueChanged, [&progress](int v) { progress.push_back(v); });
        w.strDate = QDateTime(QDate(2014, 6, 30), QTime(0, 0));
        w.strUpdTables = "The tables updated inlcude: ";
        w.Frame2->show();
        w.Frame1->hide();
        return w;
    }
    double parmsFactor() { return db().scalar("SELECT CURCONVF FROM PARMS_CL").toDouble(); }
};

}  // namespace

TEST_F(ApplyDriverTest, ACompleteUpdateSetsTheFactorEverywhereReportsTheSevenFamiliesAndEndsTheProgram)
{
    writeLocalUpdate(QDateTime(QDate(2014, 6, 30), QTime(0, 0)));
    std::vector<int> progress;
    frmDataUpdate2& w = prepared(progress);
    seam.expectMsgBox(kCompletion, vbOKOnly);
    w.DownloadUpdateFile();

    EXPECT_TRUE(programEnded());
    EXPECT_EQ(progress, (std::vector<int>{1, 5, 10, 30, 60, 100, 110, 120, 160, 199}));
    EXPECT_EQ(w.Label7->text(), "COMPLETE");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM SESSIONS WHERE CURCONVF = 37.3374").toLongLong(), 4);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM SESSIONS WHERE CURCONVA = 1.25").toLongLong(), 4);
    EXPECT_DOUBLE_EQ(parmsFactor(), 37.3374);
    EXPECT_EQ(db().scalar("SELECT dataupdate FROM PARMS_CL").toDateTime(), w.strDate);
    for (const char* t : {"DATA0000", "DATA0001", "DATA0003"})
        EXPECT_EQ(db().scalar(QString("SELECT COUNT(*) FROM %1 WHERE CODEMOD = '99214'").arg(t)).toLongLong(), 1) << t;
    EXPECT_EQ(rows("DME"), sourceRowsAt(programFile(update::kUpdateFileName), "dme1"));
}

TEST_F(ApplyDriverTest, WithoutDrg1TheMessageLacksDrgAndTheOtherFamiliesAreStillUpdated)
{
    writeLocalUpdate(QDateTime(QDate(2014, 6, 30), QTime(0, 0)), false);
    const QStringList drg = rows("DRG");
    std::vector<int> progress;
    frmDataUpdate2& w = prepared(progress);
    QString expected = kCompletion;
    expected.replace("  DRG ", " ");
    seam.expectMsgBox(expected, vbOKOnly);
    w.DownloadUpdateFile();
    EXPECT_TRUE(programEnded());
    EXPECT_EQ(rows("DRG"), drg);
    EXPECT_EQ(rows("LAB"), sourceRowsAt(programFile(update::kUpdateFileName), "Lab1"));
}

// A failure anywhere rolls the whole update back, shows the error's own description, and the program runs on
// with the window on its second page.
TEST_F(ApplyDriverTest, AFailureRollsEverythingBackAndTheProgramRunsOn)
{
    struct Case {
        const char* name;
        std::function<void()> breakIt;
        QString message;
    };
    const std::vector<Case> cases = {
        {"no update database", [] {}, "Could not find file '%1'."},
        {"merge of the third session table",
         [this] {
             writeLocalUpdate(QDateTime(QDate(2014, 6, 30), QTime(0, 0)));
             db().Execute("DROP TABLE DATA0003");
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.breakIt();
        auto tables = [this] {
            auto all = snapshot();
            all["DATA0001"] = rows("DATA0001");
            all["DATA0002"] = rows("DATA0002");
            return all;
        };
        const auto before = tables();
        std::vector<int> progress;
        frmDataUpdate2& w = prepared(progress);
        const QString message =
            c.message.contains("%1") ? c.message.arg(programFile(update::kUpdateFileName)) : c.message;
        if (message.isEmpty())
            seam.answerMsgBox(vbOK);
        else
            seam.expectMsgBox(message, vbOKOnly);
        w.DownloadUpdateFile();

        EXPECT_FALSE(programEnded());
        EXPECT_EQ(tables(), before);
        EXPECT_FALSE(seam.messages().join("|").contains("Update Complete"));
        EXPECT_EQ(page(w), "second");
        EXPECT_FALSE(w.applying());
        EXPECT_TRUE(w.Command4->isEnabled());
        EXPECT_FALSE(w.Command3(1)->isEnabled());
        EXPECT_TRUE(w.Unload());
        settle();
        QFile::remove(programFile(update::kUpdateFileName));
    }
}

// While the steps run the window cannot be closed, its own "Exit" and close box included.
TEST_F(ApplyDriverTest, TheWindowStaysWhileTheUpdateRuns)
{
    writeLocalUpdate(QDateTime(QDate(2014, 6, 30), QTime(0, 0)));
    std::vector<int> progress;
    frmDataUpdate2& w = prepared(progress);
    bool stayed = false;
    // The first turn of the event loop inside the physician code merge.
    for (int i = 0; i < 2; ++i)
        seam.onDoEvents([] {});
    seam.onDoEvents([&] {
        w.Command4_Click();
        stayed = w.isLoaded() && !w.isUnloading();
    });
    seam.expectMsgBox(kCompletion, vbOKOnly);
    w.DownloadUpdateFile();
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(programEnded());
}
