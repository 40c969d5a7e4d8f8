#include "sessions/KelvaFixture.h"

#include "app/frmExpireMsg.h"
#include "db/sessions.h"
#include "sessions/frmDropSession.h"
#include "sessions/frmNewSession.h"

namespace {

const QString kCreated = QStringLiteral(
    "The new session has been created and is available in the drop down session box on the main browser.");
const QString kQuote = QStringLiteral("Session name can not contain quotation marks.  Please re-enter.");
const QString kBlank = QStringLiteral("New Session Name cannot be blank.");
const QString kInUse = QStringLiteral("The New Session Name matches an existing name.\r\n\r\nPlease enter a new name.");
const QString kLastChance = QStringLiteral(
    "This is your last chance to cancel this procedure.  Clicking on OK will permenantly remove the selected "
    "session.");
const QString kOnlySession = QStringLiteral(
    "You must have at least one available session at all times.  If you want to delete the available session you "
    "must first create a new working session.");

// "Sample" (current) and "Coast" on the sample data; the main window on 99213.
class SessionListTest : public KelvaFixture {
protected:
    QStringList listed() const
    {
        QStringList items;
        for (int i = 0; i < main->Combo1->count(); ++i)
            items << main->Combo1->itemText(i);
        return items;
    }
    // Every column of a session row but Session and SESTAB.
    QStringList settingsOf(const QString& name) const
    {
        QStringList cells = sessionRow(name).split('|');
        cells.removeAt(1);
        cells.removeAt(0);
        return cells;
    }
    QStringList columnsOf(const QString& table) const
    {
        QStringList names;
        dao::Database d = db();
        for (const dao::FieldDef& f : d.tableDef(table).fields)
            names << f.name;
        return names;
    }
    bool tableExists(const QString& table) const { return db().hasTable(table); }
    // The name page of the new-session window, the name typed, Continue.
    frmNewSession& createNamed(const QString& name, const QString& copyOf = QString())
    {
        frmNewSession& w = load<frmNewSession>();
        if (!copyOf.isEmpty()) {
            platform::setOptionValue(w.Option1(0), true);
            platform::setComboText(w.Combo1, copyOf);
        }
        w.cmd_Click(1);
        w.Text1->setText(name);
        w.cmd_Click(1);
        return w;
    }
    QString state() const
    {
        return QStringList{parms("SESCOUNT").toString(), db().TableNames().join(','), listed().join(','),
                           db().scalar("SELECT group_concat(Session || ':' || SESTAB) FROM SESSIONS").toString()}
            .join(" / ");
    }
    QString code() { return main->Data1.Recordset()["CODEMOD"].Value().toString(); }
};

TEST_F(SessionListTest, NewSessionsCopyTheirSourceWhole)
{
    dao::Database d = db();
    d.Execute("UPDATE DATA0002 SET Tag = '+', S1 = 12.5, NOTES = 'see ''this''' WHERE CODEMOD = '99213'");
    setSession("S1NAME = 'Contract', OPTName = 'Mine', selectzip = '01155', rualind = 'R', GDEC = -1", "Coast");
    for (const auto& [source, table, from] : {std::tuple{QString("Coast"), QString("DATA0003"), QString("DATA0002")},
                                              std::tuple{QString(), QString("DATA0004"), QString("DATA0000")}}) {
        SCOPED_TRACE(qPrintable(table));
        const QString name = source.isEmpty() ? "From Default" : "Copy of Coast";
        seam.expectMsgBox(kCreated, vbOKOnly);
        createNamed(name, source);
        EXPECT_FALSE(platform::forms().isLoaded<frmNewSession>());
        EXPECT_EQ(session("SESTAB", name).toString(), table);
        EXPECT_EQ(testsupport::tableRows(d, table), testsupport::tableRows(d, from));
        EXPECT_EQ(columnsOf(table), columnsOf("DATA0000"));
        const auto indexes = d.tableDef(table).indexes;
        ASSERT_EQ(indexes.size(), 1u);
        EXPECT_EQ(indexes[0].name, "CODEMODIndexx");
        EXPECT_EQ(indexes[0].fields, QStringList{"CODEMOD"});
        EXPECT_EQ(settingsOf(name), settingsOf(source.isEmpty() ? "Default" : source));
        EXPECT_EQ(listed().last(), name);
        EXPECT_EQ(g().CurSesName, "Sample");
        EXPECT_EQ(main->CurrentSession().get(db::SessionRow::Session), "Sample");
        EXPECT_EQ(code(), "99213");
    }
    EXPECT_EQ(parms("SESCOUNT").toLongLong(), 5);
}

TEST_F(SessionListTest, NewSessionNames)
{
    struct Case {
        QString name;
        QString message;  // empty: created
    };
    const Case cases[] = {{QString(51, 'n'), ""},  // the box keeps 50
                          {"", kBlank},
                          {" ", kBlank},
                          {"say \"hi\"", kQuote},
                          {"Coast", kInUse},
                          {"COAST", kInUse},
                          {"Default", kInUse},
                          {"default", kInUse},
                          {"< - Make New Session - >", kInUse},
                          {"O'Brien", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.name));
        const QString before = state();
        seam.expectMsgBox(c.message.isEmpty() ? kCreated : c.message, vbOKOnly);
        frmNewSession& w = createNamed(c.name);
        if (c.message.isEmpty()) {
            EXPECT_EQ(listed().last(), c.name.left(50));
            EXPECT_FALSE(session("SESTAB", c.name.left(50)).isNull());
        } else {
            EXPECT_EQ(state(), before);
            EXPECT_TRUE(w.Frame3->isVisible() || !w.Frame3->isHidden());
            EXPECT_EQ(w.Text1->text(), c.name);
            w.cmd_Click(0);
        }
        settle();
    }
    choose("O'Brien");
    EXPECT_EQ(g().CurSesName, "O'Brien");
    EXPECT_EQ(parms("CURSES").toString(), "O'Brien");
}

TEST_F(SessionListTest, AFailedCreationLeavesNothingAndALeftOverTableIsPassedOver)
{
    dao::Database d = db();
    const struct {
        const char* trigger;
    } failures[] = {{"CREATE TRIGGER fail BEFORE INSERT ON SESSIONS BEGIN SELECT RAISE(ABORT, 'no row'); END"},
                    {"CREATE TRIGGER fail BEFORE UPDATE ON PARMS_CL BEGIN SELECT RAISE(ABORT, 'no count'); END"}};
    for (const auto& f : failures) {
        d.Execute(QString::fromLatin1(f.trigger));
        const QString before = state();
        seam.answerMsgBox(vbOK);
        createNamed("Broken").cmd_Click(0);
        EXPECT_EQ(state(), before);
        EXPECT_FALSE(tableExists("DATA0003"));
        d.Execute("DROP TRIGGER fail");
        settle();
    }
    // A table under the next number that no session names.
    d.Execute("UPDATE PARMS_CL SET SESCOUNT = 7");
    db::createSessionCodeTable(d, "DATA0007", "DATA0000");
    main->Data2.Refresh();
    seam.expectMsgBox(kCreated, vbOKOnly);
    createNamed("Next");
    EXPECT_EQ(session("SESTAB", "Next").toString(), "DATA0008");
    EXPECT_EQ(parms("SESCOUNT").toLongLong(), 9);
}

TEST_F(SessionListTest, MakeNewSessionOpensTheWindowAndKeepsTheCurrentSession)
{
    platform::setListIndex(main->Combo1, 0);
    EXPECT_TRUE(platform::forms().isLoaded<frmNewSession>());
    EXPECT_EQ(main->Combo1->currentText(), "Sample");
    frmNewSession& w = load<frmNewSession>();
    EXPECT_EQ(w.Caption(), g().AppTitle + " Create New KELVA Session");
    EXPECT_TRUE(w.Option1(1)->isChecked());
    EXPECT_FALSE(w.Combo1->isVisibleTo(&w));
    EXPECT_EQ(w.Combo1->count(), 2);
    // Shown and activated, outside the notice's dates: no notice.
    EXPECT_EQ(w.LoadChk->text(), "2");
    EXPECT_TRUE(seam.calls("ShowModal").empty());
}

TEST_F(SessionListTest, TheDataAgeNoticeComesOncePerOpening)
{
    seam.setNow(QDateTime(QDate(2014, 11, 15), QTime(9, 0)));
    frmNewSession& w = load<frmNewSession>();
    seam.onModal<frmExpireMsg>([](frmExpireMsg& n) { n.Unload(); });
    w.Form_Activate();
    w.Form_Activate();
    EXPECT_EQ(seam.calls("ShowModal").size(), 1u);
}

TEST_F(SessionListTest, DeleteDropsTheTableAndTheRowOnly)
{
    frmDropSession& w = load<frmDropSession>();
    EXPECT_EQ(w.Caption(), "Drop / Rename Session");
    EXPECT_EQ(w.Combo1->count(), 1);
    EXPECT_EQ(w.Combo1->itemText(0), "Coast");
    EXPECT_EQ(w.Combo2->count(), 1);
    const double fee = main->Data1.Recordset().Fields(19).Value().toDouble();

    // Cancel in the confirmation.
    const QString before = state();
    w.Command1_Click(1);
    platform::setListIndex(w.Combo1, 0);
    seam.expectMsgBox(kLastChance, vbOKCancel, vbCancel);
    w.Command1_Click(2);
    EXPECT_FALSE(platform::forms().isLoaded<frmDropSession>());
    EXPECT_EQ(state(), before);
    settle();

    frmDropSession& again = load<frmDropSession>();
    again.Command1_Click(1);
    again.Command1_Click(2);  // nothing chosen: nothing happens
    EXPECT_EQ(state(), before);
    platform::setListIndex(again.Combo1, 0);
    seam.expectMsgBox(kLastChance, vbOKCancel, vbOK);
    again.Command1_Click(2);
    EXPECT_FALSE(tableExists("DATA0002"));
    EXPECT_TRUE(session("SESTAB", "Coast").isNull());
    EXPECT_EQ(listed(), (QStringList{"< - Make New Session - >", "Sample"}));
    EXPECT_EQ(g().CurSesName, "Sample");
    EXPECT_EQ(main->CurrentSession().get(db::SessionRow::Session), "Sample");
    EXPECT_EQ(code(), "99213");
    EXPECT_EQ(main->Data1.Recordset().Fields(19).Value().toDouble(), fee);
    EXPECT_EQ(parms("SESCOUNT").toLongLong(), 3);
    settle();

    // Only the current session is left.
    frmDropSession& last = load<frmDropSession>();
    seam.expectMsgBox("Select a session to rename", vbOKOnly);
    last.Command1_Click(4);
    seam.expectMsgBox(kOnlySession, vbOKOnly);
    last.Command1_Click(1);
    EXPECT_FALSE(platform::forms().isLoaded<frmDropSession>());
}

TEST_F(SessionListTest, AFailedDeleteKeepsTableAndRow)
{
    db().Execute("CREATE TRIGGER fail BEFORE DELETE ON SESSIONS BEGIN SELECT RAISE(ABORT, 'kept'); END");
    const QString before = state();
    frmDropSession& w = load<frmDropSession>();
    w.Command1_Click(1);
    platform::setListIndex(w.Combo1, 0);
    seam.expectMsgBox(kLastChance, vbOKCancel, vbOK);
    seam.answerMsgBox(vbOK);
    w.Command1_Click(2);
    EXPECT_EQ(state(), before);
    EXPECT_TRUE(tableExists("DATA0002"));
}

TEST_F(SessionListTest, ASessionThatBecameCurrentIsNeitherDeletedNorRenamed)
{
    frmDropSession& w = load<frmDropSession>();
    w.Command1_Click(1);
    platform::setListIndex(w.Combo1, 0);
    platform::setListIndex(w.Combo2, 0);
    w.Text1->setText("Other");
    choose("Coast");
    const QString before = state();
    w.Command1_Click(2);
    seam.expectMsgBox("Select a session to rename", vbOKOnly);
    w.Command1_Click(4);
    EXPECT_EQ(state(), before);
}

TEST_F(SessionListTest, RenameNames)
{
    seam.expectMsgBox(kCreated, vbOKOnly);
    createNamed("foo");
    settle();
    struct Case {
        QString from, to, message;  // empty message: renamed
    };
    const Case cases[] = {{"Coast", QString(46, 'r'), ""},  // the box keeps 45
                          {"foo", "", "Enter a new name for the session"},
                          {"foo", "  ", "Enter a new name for the session"},
                          {"foo", "a \"b\"", kQuote},
                          {"foo", "Sample", kInUse},
                          {"foo", "sample", kInUse},
                          {"foo", "Default", kInUse},
                          {"foo", "DEFAULT", kInUse},
                          {"foo", "< - Make New Session - >", kInUse},
                          {"foo", "Foo", ""},
                          {"Foo", " O'Brien ", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.to));
        const QString before = state();
        frmDropSession& w = load<frmDropSession>();
        platform::setComboText(w.Combo2, c.from);
        w.Text1->setText(c.to);
        if (!c.message.isEmpty())
            seam.expectMsgBox(c.message, vbOKOnly);
        w.Command1_Click(4);
        if (c.message.isEmpty()) {
            EXPECT_FALSE(platform::forms().isLoaded<frmDropSession>());
            const QString stored = c.to.left(45);
            EXPECT_FALSE(session("SESTAB", stored).isNull());
            EXPECT_EQ(listed().last(), stored);
            EXPECT_EQ(listed().indexOf(c.from), -1);
        } else {
            EXPECT_EQ(state(), before);
            EXPECT_TRUE(platform::forms().isLoaded<frmDropSession>());
            w.Command1_Click(0);
        }
        settle();
    }
    EXPECT_EQ(session("SESTAB", " O'Brien ").toString(), "DATA0003");
    EXPECT_EQ(g().CurSesName, "Sample");
}

}  // namespace
