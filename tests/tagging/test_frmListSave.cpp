#include "main/MainWindowTest.h"

#include "app/buildinfo.h"
#include "platform/forms/controls.h"
#include "tagging/frmListSave.h"

#include <QDir>
#include <QFile>
#include <QSignalBlocker>
#include <QTest>

namespace {

const QString kNoLists = "There are no current lists available. Click the Load Prior Year button or select the "
                         "Create List Tab to continue.";

class ListSaveTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        session = withFirstSession();
        db().Execute(QStringLiteral("UPDATE SESSIONS SET CURUSEADJ = -1"));
        main = &start();
        settleStarted();
    }
    void TearDown() override
    {
        EXPECT_EQ(platform::busyCount(), 0);
        MainWindowTest::TearDown();
    }
    QString listFile() const { return folder.file("backup/taglist.mdb"); }
    // Opens the window on a folder that holds lists (no message expected) or on none.
    frmListSave& open(bool expectNoLists = false)
    {
        if (expectNoLists)
            seam.expectMsgBox(kNoLists, vbOKOnly);
        return *static_cast<frmListSave*>(forms().getByName("frmListSave"));
    }
    void tag(const QStringList& codes)
    {
        dao::Database d = db();
        d.Execute(QStringLiteral("UPDATE %1 SET Tag = Null").arg(session.table));
        for (const QString& c : codes)
            d.Execute(QStringLiteral("UPDATE %1 SET Tag = '+' WHERE CODEMOD = ?").arg(session.table), {c});
    }
    QStringList tagged() const
    {
        QStringList rows;
        dao::Recordset rs = db().OpenRecordset(QStringLiteral("SELECT CODEMOD FROM %1 WHERE Tag = '+' ORDER BY CODEMOD").arg(session.table));
        for (; !rs.EOF(); rs.MoveNext())
            rows << rs[0].Value().toString();
        return rows;
    }
    // Some codes of the session, in CODEMOD order.
    QStringList someCodes(int n, int skip = 0) const
    {
        QStringList rows;
        dao::Recordset rs = db().OpenRecordset(
            QStringLiteral("SELECT CODEMOD FROM %1 ORDER BY CODEMOD LIMIT %2 OFFSET %3").arg(session.table).arg(n).arg(skip));
        for (; !rs.EOF(); rs.MoveNext())
            rows << rs[0].Value().toString();
        return rows;
    }
    QStringList listRows(const QString& file) const
    {
        QStringList rows;
        dao::Database d = dao::OpenDatabase(file, testsupport::programConnect());
        dao::Recordset rs = d.OpenRecordset("SELECT tagname || '|' || tagcodemod FROM taglist ORDER BY 1");
        for (; !rs.EOF(); rs.MoveNext())
            rows << rs[0].Value().toString();
        return rows;
    }
    void save(frmListSave& w, const QString& name, const QString& answer = "Tag list save complete.")
    {
        w.Text2->setText(name);
        seam.expectMsgBox(answer, vbOKOnly);
        w.btn_Click(7);
    }
    static void choose(QComboBox* box, const QString& name)
    {
        const int i = box->findText(name);
        ASSERT_GE(i, 0) << qPrintable(name);
        box->setCurrentIndex(i);
    }
    // A prior year's list file of the given name in a folder of its own.
    QString priorFile(const QString& name, const std::vector<std::pair<QString, QString>>& rows)
    {
        const QString path = prior.filePath(name);
        dao::Database d = dao::CreateDatabase(path);
        d.Execute("CREATE TABLE taglist ( tagname Text (15),tagcodemod Text (8))");
        for (const auto& [n, c] : rows)
            d.Execute("INSERT INTO taglist VALUES (?, ?)", {n, c});
        d.Close();
        return path;
    }
    static QStringList entries(const QComboBox* box)
    {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    }
    static void expectListsEnabled(frmListSave& w, bool enabled)
    {
        for (QWidget* c : std::initializer_list<QWidget*>{w.Combo1, w.Combo2, w.btn(11), w.btn(10), w.btn(4)})
            EXPECT_EQ(c->isEnabled(), enabled) << qPrintable(c->objectName());
        EXPECT_TRUE(w.btn(7)->isEnabled());
    }

    testsupport::FirstSession session;
    frmMain* main = nullptr;
    QTemporaryDir prior;
};

TEST_F(ListSaveTest, AFreshFolderHasNoListsAndSavingNothingMakesNoFile)
{
    QDir(folder.file("backup")).removeRecursively();
    frmListSave& w = open(true);
    EXPECT_EQ(w.Caption(), "Save / Load Tagged List");
    expectListsEnabled(w, false);
    EXPECT_EQ(w.SSTab1->currentIndex(), 0);
    EXPECT_EQ(w.Text2->maxLength(), 15);
    save(w, "first", "There were no codes tagged");
    EXPECT_FALSE(QFileInfo::exists(folder.file("backup")));

    tag(someCodes(3));
    save(w, " my list ");
    ASSERT_TRUE(QFileInfo::exists(listFile()));
    dao::Database lists = dao::OpenDatabase(listFile(), testsupport::programConnect());
    EXPECT_TRUE(lists.hasTable("taglist"));
    EXPECT_FALSE(lists.hasTable("export"));
    lists.Close();
    QStringList expected;
    for (const QString& c : someCodes(3))
        expected << "MY LIST|" + c;
    EXPECT_EQ(listRows(listFile()), expected);
    EXPECT_EQ(w.Text2->text(), " my list ");
    expectListsEnabled(w, true);
    EXPECT_EQ(entries(w.Combo1), QStringList({"MY LIST"}));
}

TEST_F(ListSaveTest, NamesAreTakenTrimmedInUpperCaseAndBoundAsTheyStand)
{
    tag(someCodes(2));
    frmListSave& w = open(true);
    save(w, " my list ");
    save(w, "My List", "This taglist already exists.  Provide a unique name for this taglist.");
    w.Text2->setText("   ");
    seam.expectMsgBox("Enter a name for the list being saved.", vbOKOnly);
    w.btn_Click(7);
    save(w, "O'BRIEN");
    save(w, "say \"hi\"");
    EXPECT_EQ(entries(w.Combo2), QStringList({"MY LIST", "O'BRIEN", "SAY \"HI\""}));

    tag({});
    choose(w.Combo1, "O'BRIEN");
    seam.expectMsgBox("Tagged list load complete.", vbOKOnly);
    w.btn_Click(11);
    EXPECT_EQ(tagged(), someCodes(2));

    for (const QString& name : {QString("O'BRIEN"), QString("SAY \"HI\"")}) {
        choose(w.Combo2, name);
        seam.expectMsgBox("List deleted.", vbOKOnly);
        w.btn_Click(4);
    }
    EXPECT_EQ(entries(w.Combo1), QStringList({"MY LIST"}));
}

TEST_F(ListSaveTest, ASixteenthCharacterCannotBeTyped)
{
    frmListSave& w = open(true);
    QTest::keyClicks(w.Text2, "ABCDEFGHIJKLMNOPQ");
    EXPECT_EQ(w.Text2->text(), "ABCDEFGHIJKLMNO");
}

TEST_F(ListSaveTest, ApplyReplacesTheSessionsTagsWithTheListsCodes)
{
    const QStringList listed = someCodes(4);
    tag(listed);
    frmListSave& w = open(true);
    save(w, "four");
    // A code the session lacks is skipped; tags set by hand are cleared.
    {
        dao::Database lists = dao::OpenDatabase(listFile(), testsupport::programConnect());
        lists.Execute("INSERT INTO taglist VALUES ('FOUR', 'ZZZZZ')");
    }
    const QStringList byHand = someCodes(2, 100);
    tag(byHand);
    choose(w.Combo1, "FOUR");
    seam.expectMsgBox("Tagged list load complete.", vbOKOnly);
    w.btn_Click(11);
    EXPECT_EQ(tagged(), listed);
}

TEST_F(ListSaveTest, ApplyRefusesAnUnlistedNameAndWorksOnTheSessionInAnyView)
{
    tag(someCodes(2));
    frmListSave& w = open(true);
    save(w, "two");
    tag({someCodes(1, 50)});
    {
        const QSignalBlocker block(main->cmboCurrentView);
        main->cmboCurrentView->setCurrentIndex(1);  // "KELVA OPPS"
    }
    w.Combo1->setEditable(true);  // a name that is no entry of the list
    w.Combo1->setEditText("NOPE");
    seam.expectMsgBox("Invalid list entered", vbOKOnly);
    w.btn_Click(11);
    EXPECT_EQ(tagged(), someCodes(1, 50));
    w.Combo1->setEditable(false);
    choose(w.Combo1, "TWO");
    seam.expectMsgBox("Tagged list load complete.", vbOKOnly);
    w.btn_Click(11);
    EXPECT_EQ(tagged(), someCodes(2));
}

TEST_F(ListSaveTest, AFailedSaveLeavesNoRowUnderTheName)
{
    tag(someCodes(5));
    frmListSave& w = open(true);
    save(w, "one");
    {
        dao::Database lists = dao::OpenDatabase(listFile(), testsupport::programConnect());
        lists.Execute("CREATE TABLE counter (n INTEGER)");
        lists.Execute("INSERT INTO counter VALUES (0)");
        lists.Execute("CREATE TRIGGER third BEFORE INSERT ON taglist BEGIN UPDATE counter SET n = n + 1; "
                      "SELECT RAISE(ABORT, 'refused') WHERE (SELECT n FROM counter) = 3; END");
    }
    save(w, "two", "An error occurred in save attempt.  Please call support at " + supportPhone());
    EXPECT_EQ(listRows(listFile()).filter("TWO|").size(), 0);
    EXPECT_EQ(entries(w.Combo1), QStringList({"ONE"}));
    dao::OpenDatabase(listFile(), testsupport::programConnect()).Execute("DROP TRIGGER third");
    save(w, "two");
    EXPECT_EQ(listRows(listFile()).filter("TWO|").size(), 5);
}

TEST_F(ListSaveTest, AFailedApplyLeavesEveryTagAsItWas)
{
    tag(someCodes(12));
    frmListSave& w = open(true);
    save(w, "twelve");
    const QStringList before = someCodes(3, 200);
    tag(before);
    db().Execute("CREATE TABLE counter (n INTEGER)");
    db().Execute("INSERT INTO counter VALUES (0)");
    db().Execute(QStringLiteral("CREATE TRIGGER tenth BEFORE UPDATE OF Tag ON %1 WHEN NEW.Tag = '+' BEGIN "
                                "UPDATE counter SET n = n + 1; SELECT RAISE(ABORT, 'tenth refused') "
                                "WHERE (SELECT n FROM counter) = 10; END")
                     .arg(session.table));
    choose(w.Combo1, "TWELVE");
    seam.expectMsgBox("tenth refused", vbOKOnly);
    w.btn_Click(11);
    EXPECT_EQ(tagged(), before);
}

TEST_F(ListSaveTest, DeletingTheLastListDisablesTheListsButNotSave)
{
    tag(someCodes(2));
    frmListSave& w = open(true);
    save(w, "a");
    save(w, "b");
    w.Combo2->setCurrentIndex(-1);
    seam.expectMsgBox("Enter a list to delete. ", vbOKOnly);
    w.btn_Click(4);
    choose(w.Combo2, "A");
    seam.expectMsgBox("List deleted.", vbOKOnly);
    w.btn_Click(4);
    expectListsEnabled(w, true);
    EXPECT_EQ(w.Combo2->currentText(), "");
    choose(w.Combo2, "B");
    seam.expectMsgBox("List deleted.", vbOKOnly);
    w.btn_Click(4);
    for (QWidget* c : std::initializer_list<QWidget*>{w.Combo1, w.Combo2, w.btn(11), w.btn(10), w.btn(4)})
        EXPECT_FALSE(c->isEnabled()) << qPrintable(c->objectName());
    EXPECT_TRUE(listRows(listFile()).isEmpty());
    save(w, "c");
    expectListsEnabled(w, true);
}

TEST_F(ListSaveTest, PriorYearListsAreShownAppliedAndLeftForTheCurrentOnes)
{
    tag(someCodes(2));
    frmListSave& w = open(true);
    save(w, "current");
    const QString file = priorFile("TAGLIST.MDB", {{"OLD", someCodes(1, 10)[0]}, {"OLD", someCodes(1, 11)[0]},
                                                   {"ONLY OLD", someCodes(1, 12)[0]}});
    seam.answerFileDialog(file);
    seam.expectMsgBox("List(s) loaded", vbOKOnly);
    w.btn_Click(5);
    EXPECT_EQ(entries(w.Combo1), QStringList({"OLD", "ONLY OLD"}));
    EXPECT_EQ(w.listSource(), file);
    EXPECT_EQ(seam.calls("FileOpen").back().title, "Select the file to import the list from.");

    choose(w.Combo1, "OLD");
    seam.expectMsgBox("Tagged list load complete.", vbOKOnly);
    w.btn_Click(11);
    EXPECT_EQ(tagged(), QStringList({someCodes(1, 10)[0], someCodes(1, 11)[0]}));

    // A name that only the prior year's file holds is not deleted from the current file.
    const QStringList current = listRows(listFile());
    choose(w.Combo2, "ONLY OLD");
    seam.expectMsgBox("Invalid list entered", vbOKOnly);
    w.btn_Click(4);
    EXPECT_EQ(listRows(listFile()), current);

    seam.expectMsgBox("List(s) loaded", vbOKOnly);
    w.btn_Click(10);
    EXPECT_EQ(entries(w.Combo1), QStringList({"CURRENT"}));
    choose(w.Combo1, "CURRENT");
    seam.expectMsgBox("Tagged list load complete.", vbOKOnly);
    w.btn_Click(11);
    EXPECT_EQ(tagged(), someCodes(2));
}

TEST_F(ListSaveTest, PriorYearChoicesThatAreRefusedOrFail)
{
    QDir(folder.file("backup")).removeRecursively();
    frmListSave& w = open(true);
    seam.answerFileDialog(priorFile("lists.mdb", {}));
    seam.expectMsgBox("You can only import from an KELVA Morvex main database.", vbOKOnly);
    w.btn_Click(5);

    seam.cancelFileDialog();
    seam.expectMsgBox("No list Imported", vbOKOnly);
    seam.expectMsgBox("Cancel was selected.", vbOKOnly);
    w.btn_Click(5);

    // Not one of ours: an old file of that name.
    const QString old = prior.filePath("old/taglist.mdb");
    QDir().mkpath(QFileInfo(old).path());
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("Standard Jet DB").leftJustified(4096, '\0'));
    f.close();
    const QString here = QDir::currentPath();
    seam.answerFileDialog(old);
    seam.expectMsgBox("Error Opening " + old, vbOKOnly);
    seam.answerMsgBox(vbOK);
    w.btn_Click(5);
    EXPECT_EQ(QDir::currentPath(), here);

    // With no current file the load creates it, empty, with both tables.
    const QString file = priorFile("taglist.mdb", {{"OLD", "99213"}});
    seam.answerFileDialog(file);
    seam.expectMsgBox("List(s) loaded", vbOKOnly);
    w.btn_Click(5);
    ASSERT_TRUE(QFileInfo::exists(listFile()));
    {
        dao::Database lists = dao::OpenDatabase(listFile(), testsupport::programConnect());
        EXPECT_TRUE(lists.hasTable("export"));
        EXPECT_TRUE(lists.hasTable("taglist"));
    }
    EXPECT_TRUE(listRows(listFile()).isEmpty());

    seam.answerFileDialog(folder.path() + "/backup/taglist.mdb");
    seam.expectMsgBox("You cannot import the current year tablist", vbOKOnly);
    w.btn_Click(5);
    EXPECT_EQ(platform::checkValue(w.Check1), 0);
    EXPECT_EQ(w.listSource(), listFile());
}

TEST_F(ListSaveTest, GoesThroughTheSignals)
{
    tag(someCodes(1));
    frmListSave& w = open(true);
    w.SSTab1->setCurrentIndex(1);
    w.Text2->setText("sig");
    seam.expectMsgBox("Tag list save complete.", vbOKOnly);
    w.btn(7)->click();
    EXPECT_EQ(entries(w.Combo1), QStringList({"SIG"}));
    w.btn(6)->click();
    settle();
    EXPECT_FALSE(forms().loadedByName("frmListSave"));
}

}  // namespace
