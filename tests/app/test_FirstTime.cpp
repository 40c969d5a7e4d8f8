#include "sessions/FirstRunFixture.h"

#include "app/FirstTime.h"
#include "db/sessions.h"
#include "platform/dao/Recordset.h"
#include "platform/forms/controls.h"
#include "sessions/frmSLocation.h"

#include <QTest>

namespace {

const QString kPageOne =
    "KELVA Morvex allows you to save your user defined fees, custom fee schedules, display preferences and other "
    "settings in a \"Session.\"\r\n\r\nYour initial session name is displayed below.  After installation you may "
    "create and modify additional sessions.\r\n\r\nClick 'NEXT' to continue.";
const QString kFinalPage =
    "\r\n\r\nClick 'FINISH' to complete installation and start KELVA Morvex or click 'BACK' to return to the "
    "previous menu.\r\n\r\nAfter installation, select 'Help' from the main menu bar to browse the extensive help "
    "files for tips, suggestions, and definitions.";

class FirstTimeTest : public FirstRunFixture {
protected:
    // The locality window's answer: a state (and a row of its list), or a ZIP code.
    void chooseState(const QString& state, int row = -1)
    {
        seam.onModal<frmSLocation>([state, row](frmSLocation& w) {
            platform::setListIndex(w.cmb, w.cmb->findText(state));
            if (row >= 0) {
                w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(row, 0));
                w.DBGrid1_Click();
            }
            w.btn_Click(2);
        });
    }
    void chooseZip(const QString& zip)
    {
        seam.onModal<frmSLocation>([zip](frmSLocation& w) {
            w.Text1->setText(zip);
            int key = 0;
            w.Text1_KeyUp(key, 0);
            w.btn_Click(2);
        });
    }
    // Page 1 with the name, Next (the locality step), then Finish.
    FirstTime& runWizard(const QString& name)
    {
        FirstTime& w = load<FirstTime>();
        w.txtSession->setText(name);
        w.btn_Click(1);
        EXPECT_EQ(w.step->text(), "2");
        w.btn_Click(1);
        return w;
    }
    QStringList rowsOf(const QString& table)
    {
        dao::Database d = db();
        return testsupport::tableRows(d, table);
    }
    void expectPageOne(FirstTime& w)
    {
        EXPECT_EQ(w.Frame1->title(), "Welcome to KELVA initial set up: ");
        EXPECT_EQ(w.lbl(0)->text(), kPageOne);
        EXPECT_FALSE(w.txtSession->isHidden());
        EXPECT_FALSE(w.lblSession->isHidden());
        EXPECT_EQ(w.btn(0)->text(), "Cancel");
        EXPECT_EQ(w.btn(1)->text(), "Next");
        EXPECT_EQ(w.step->text(), "1");
    }
};

TEST_F(FirstTimeTest, OpensOnItsFirstPageWithAnEmptyName)
{
    FirstTime& w = load<FirstTime>();
    EXPECT_EQ(w.Caption(), "KELVA Morvex\u00AE 2014  First Time Setup");
    expectPageOne(w);
    EXPECT_EQ(w.txtSession->text(), "");
    EXPECT_EQ(w.txtSession->maxLength(), 50);
    EXPECT_EQ(w.lblSession->text(), "Initial Session Name:");
    for (QLineEdit* hidden : {w.step, w.CURWORKGPCI, w.CURPRACGPCI, w.CURMALPGPCI, w.GEOLOC})
        EXPECT_TRUE(hidden->isHidden());
}

TEST_F(FirstTimeTest, RefusedNamesStayOnTheFirstPage)
{
    const QString inUse = "The New Session Name matches an existing name.\r\n\r\nPlease enter a new name.";
    const std::vector<std::pair<QString, QString>> cases{
        {"", "New Session Name cannot be blank."},
        {" ", "New Session Name cannot be blank."},
        {"Dr. \"Bob\"", "Session name can not contain quotation marks.  Please re-enter."},
        {"\"", "Session name can not contain quotation marks.  Please re-enter."},
        {"default", inUse},
        {"DEFAULT", inUse},
    };
    FirstTime& w = load<FirstTime>();
    for (const auto& [name, message] : cases) {
        w.txtSession->setText(name);
        seam.expectMsgBox(message, vbOKOnly);
        w.btn_Click(1);
        expectPageOne(w);
        EXPECT_EQ(w.txtSession->text(), name);
    }
    EXPECT_TRUE(seam.calls("ShowModal").empty());

    // Two blanks are a name.
    w.txtSession->setText("  ");
    seam.onModal<frmSLocation>([](frmSLocation& l) { l.btn_Click(0); });
    w.btn_Click(1);
    EXPECT_EQ(seam.calls("ShowModal").size(), 1u);
    EXPECT_EQ(parms("CreateTables").toLongLong(), 0);
}

TEST_F(FirstTimeTest, AFirstRunCreatesTheFirstSessionFromDefault)
{
    const QString name = "Dr. O'Brien's Clinic";
    {
        chooseState("CALIFORNIA", 2);
        FirstTime& w = load<FirstTime>();
        w.txtSession->setText(name);
        w.btn_Click(1);
        EXPECT_EQ(w.Frame1->title(), "Final Step - Create tables and start KELVA Morvex: ");
        EXPECT_EQ(w.lbl(0)->text(), kFinalPage);
        EXPECT_EQ(w.btn(0)->text(), "Back");
        EXPECT_EQ(w.btn(1)->text(), "Finish");
        EXPECT_TRUE(w.txtSession->isHidden());
        EXPECT_EQ(w.step->text(), "2");
        w.btn_Click(1);
        EXPECT_FALSE(forms().isLoaded<FirstTime>());

        // The session table: DATA0000's columns in order, every row, the unique index on CODEMOD.
        const dao::TableDef model = db().tableDef("DATA0000");
        const dao::TableDef made = db().tableDef("DATA0001");
        ASSERT_EQ(made.fields.size(), model.fields.size());
        for (size_t i = 0; i < model.fields.size(); ++i) {
            EXPECT_EQ(made.fields[i].name, model.fields[i].name);
            EXPECT_EQ(made.fields[i].type, model.fields[i].type);
            EXPECT_EQ(made.fields[i].size, model.fields[i].size);
        }
        ASSERT_EQ(made.indexes.size(), 1u);
        EXPECT_EQ(made.indexes[0].name, "CODEMODIndexx");
        EXPECT_EQ(made.indexes[0].fields, QStringList{"CODEMOD"});
        EXPECT_TRUE(made.indexes[0].unique);
        EXPECT_EQ(rowsOf("DATA0001"), rowsOf("DATA0000"));
        EXPECT_EQ(rowsOf("DATA0001").size(), 3);

        // "Default" and the new row carry the locality; the new row copies the rest of "Default".
        for (const QString& s : {QString("Default"), name}) {
            EXPECT_DOUBLE_EQ(session(s, "CURWORKGPCI").toDouble(), 1.068);
            EXPECT_DOUBLE_EQ(session(s, "CURPRACGPCI").toDouble(), 1.464);
            EXPECT_DOUBLE_EQ(session(s, "CURMALPGPCI").toDouble(), 0.49);
            EXPECT_EQ(session(s, "GEOLOC").toString(), "CALIFORNIA - SAN FRANCISCO");
            EXPECT_EQ(session(s, "PLIMCOL").toLongLong(), 19);
        }
        EXPECT_EQ(session(name, "Session").toString(), name);
        EXPECT_EQ(session(name, "SESTAB").toString(), "DATA0001");
        EXPECT_EQ(session(name, "CV44").toLongLong(), -1);
        EXPECT_EQ(session(name, "CV45").toLongLong(), -1);
        EXPECT_EQ(session("Default", "CV44").toLongLong(), 0);
        for (const char* copied : {"CURCONVF", "CURCONVA", "CURUSEADJ", "COLWS", "COLVS", "S1NAME", "F5NAME", "CV00"})
            EXPECT_EQ(session(name, copied), session("Default", copied)) << copied;
        EXPECT_TRUE(session(name, "selectzip").isNull());
        EXPECT_TRUE(session(name, "rualind").isNull());
        EXPECT_TRUE(session(name, "OPTName").isNull());

        EXPECT_EQ(parms("CURSES").toString(), name);
        EXPECT_EQ(parms("CreateTables").toLongLong(), 1);
        EXPECT_EQ(parms("SESCOUNT").toLongLong(), 2);
        EXPECT_EQ(parms("CARRIER").toString(), "01112");
        EXPECT_EQ(parms("Loc").toString(), "05");
    }
}

TEST_F(FirstTimeTest, ALocalityFoundByZipCodeKeepsTheZipCode)
{
    chooseZip("35004");
    runWizard("Clinic");
    EXPECT_EQ(session("Clinic", "selectzip").toString(), "35004");
    EXPECT_EQ(session("Clinic", "rualind").toString(), "B");
    EXPECT_TRUE(session("Default", "selectzip").isNull());
    EXPECT_EQ(session("Clinic", "GEOLOC").toString(), "ALABAMA - STATEWIDE");
    EXPECT_TRUE(g().SelectedZip.isEmpty());
}

TEST_F(FirstTimeTest, BackReturnsToTheFirstPage)
{
    FirstTime& w = load<FirstTime>();
    w.txtSession->setText("Clinic");
    // Back in the locality window.
    seam.onModal<frmSLocation>([](frmSLocation& l) { l.btn_Click(0); });
    w.btn_Click(1);
    expectPageOne(w);
    EXPECT_EQ(w.txtSession->text(), "Clinic");
    // Its close box does the same.
    seam.onModal<frmSLocation>([](frmSLocation& l) { forms().Unload(l, vbFormControlMenu); });
    w.btn_Click(1);
    expectPageOne(w);
    // Back on the final page; Next from there opens a fresh locality window.
    chooseState("ALABAMA");
    w.btn_Click(1);
    ASSERT_EQ(w.btn(1)->text(), "Finish");
    w.btn_Click(0);
    expectPageOne(w);
    chooseState("NEW YORK");
    w.btn_Click(1);
    EXPECT_EQ(w.GEOLOC->text(), "NEW YORK - MANHATTAN");
    EXPECT_EQ(seam.calls("ShowModal").size(), 4u);
    EXPECT_EQ(parms("CreateTables").toLongLong(), 0);
}

TEST_F(FirstTimeTest, CancelAndTheCloseBoxEndTheProgram)
{
    for (const bool closeBox : {false, true}) {
        resetProgramEnded();
        FirstTime& w = load<FirstTime>();
        w.txtSession->setText("Clinic");
        if (closeBox) {
            // On the final page too.
            chooseState("ALABAMA");
            w.btn_Click(1);
            forms().Unload(w, vbFormControlMenu);
        } else {
            w.btn_Click(0);
        }
        EXPECT_TRUE(programEnded());
        EXPECT_FALSE(forms().isLoaded<FirstTime>());
        EXPECT_EQ(parms("CreateTables").toLongLong(), 0);
        EXPECT_FALSE(db().hasTable("DATA0001"));
        settle();
    }
}

TEST_F(FirstTimeTest, AFailedFinishLeavesTheDatabaseAsItWas)
{
    db().Execute("CREATE TRIGGER refuse BEFORE INSERT ON SESSIONS BEGIN SELECT RAISE(ABORT, 'no new sessions'); END");
    const QStringList defaultBefore{session("Default", "CURWORKGPCI").toString(), session("Default", "GEOLOC").toString(),
                                    session("Default", "PLIMCOL").toString()};
    chooseState("ALABAMA");
    FirstTime& w = load<FirstTime>();
    w.txtSession->setText("Clinic");
    w.btn_Click(1);
    try {
        w.btn_Click(1);
        ADD_FAILURE() << "Finish did not fail";
    } catch (const dao::Error& e) {
        EXPECT_TRUE(e.description.contains("no new sessions")) << e.description.toStdString();
    }
    EXPECT_FALSE(db().hasTable("DATA0001"));
    EXPECT_EQ(db::sessionNames(db()), QStringList{"Default"});
    EXPECT_EQ((QStringList{session("Default", "CURWORKGPCI").toString(), session("Default", "GEOLOC").toString(),
                           session("Default", "PLIMCOL").toString()}),
              defaultBefore);
    EXPECT_EQ(parms("SESCOUNT").toLongLong(), 1);
    EXPECT_EQ(parms("CreateTables").toLongLong(), 0);
    EXPECT_TRUE(parms("CURSES").isNull());

    // The next run can create the session.
    db().Execute("DROP TRIGGER refuse");
    forms().discardAll();
    settle();
    chooseState("ALABAMA");
    runWizard("Clinic");
    EXPECT_EQ(db::sessionTable(db(), "Clinic"), "DATA0001");
    EXPECT_EQ(parms("CreateTables").toLongLong(), 1);
    EXPECT_EQ(parms("SESCOUNT").toLongLong(), 2);
}

TEST_F(FirstTimeTest, WorksThroughItsControls)
{
    chooseState("ALABAMA");
    FirstTime& w = load<FirstTime>();
    QTest::keyClicks(w.txtSession, "Main Office");
    QTest::mouseClick(w.btn(1), Qt::LeftButton);
    ASSERT_EQ(w.btn(1)->text(), "Finish");
    QTest::mouseClick(w.btn(1), Qt::LeftButton);
    EXPECT_EQ(parms("CURSES").toString(), "Main Office");
}

}  // namespace
