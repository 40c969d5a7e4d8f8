#include "tagging/TagFixture.h"

#include "main/frmPlimView.h"
#include "platform/controls/colours.h"
#include "platform/forms/controls.h"
#include "search/findengine.h"
#include "tagging/tagcriteria.h"

#include <QTabBar>
#include <QTest>
#include <functional>

namespace {

using platform::setText;

class TagTest : public TagFixture {};

TEST_F(TagTest, OpensOnTheDescriptionWithItsSearchDisabled)
{
    g().PlimViewActive = -1;
    frmTag& w = open();
    EXPECT_EQ(w.Caption(), "KELVA Morvex Code Tagging");
    EXPECT_EQ(w.Frame1->title(), "Tagging preview for KELVA Table");
    EXPECT_EQ(g().PlimViewActive, 0);
    EXPECT_FALSE(forms().isLoaded<frmPlimView>());
    EXPECT_EQ(w.SSTab1->currentIndex(), 0);
    EXPECT_TRUE(w.Option1(0)->isChecked());
    EXPECT_EQ(w.ActiveControl(), w.Combo1);
    EXPECT_TRUE(w.Combo1->isEnabled());
    EXPECT_FALSE(w.btn(0)->isEnabled());
    EXPECT_EQ(w.Text1(0)->text(), "00000");
    EXPECT_EQ(w.Text1(1)->text(), "");
    EXPECT_TRUE(w.btn(5)->isEnabled());
    EXPECT_FALSE(w.Text1(0)->isEnabled());
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(w.SSTab1->isTabEnabled(i)) << i;
    EXPECT_FALSE(w.DBGrid1->isVisibleTo(&w));
    EXPECT_FALSE(w.btn(2)->isVisibleTo(&w));
    EXPECT_TRUE(w.pending().condition.isEmpty());
    // The status list: the statuses of data0000 without "g", then the OPPS indicators.
    QStringList statuses;
    for (int i = 0; i < w.Combo3->count(); ++i)
        statuses << w.Combo3->itemText(i);
    ASSERT_GE(statuses.size(), 3);
    EXPECT_EQ(statuses.mid(statuses.size() - 2), QStringList({"Y", "YC"}));
    for (const QString& s : statuses.mid(0, statuses.size() - 2))
        EXPECT_FALSE(s.contains('g', Qt::CaseInsensitive)) << qPrintable(s);
    EXPECT_FALSE(w.Combo3->isEnabled());
}

// A changed code range makes the next physician find start afresh rather than go on from the remembered text.
TEST_F(TagTest, ACodeRangeChangeResetsThePhysicianSearch)
{
    frmTag& w = open();
    g().FindMemory[search::Kelva].LastSearchText = QStringLiteral("knee");
    g().FindMemory[search::Dme].LastSearchText = QStringLiteral("walker");
    setText(w.Text1(1), QStringLiteral("99999"));
    EXPECT_TRUE(g().FindMemory[search::Kelva].LastSearchText.isEmpty());
    EXPECT_EQ(g().FindMemory[search::Dme].LastSearchText, "walker");
}

TEST_F(TagTest, InTheOppsViewOnlyDescriptionAndCodeRangeCanBeChosen)
{
    showOppsView();
    frmTag& w = open();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(w.SSTab1->isTabEnabled(i), i < 2) << i;
}

TEST_F(TagTest, SpecialtiesListWithoutPrefixStablySortedAfterAllCodes)
{
    frmTag& w = open();
    QStringList list;
    for (int i = 0; i < w.Combo2->count(); ++i)
        list << w.Combo2->itemText(i);
    // Sorted on the first three characters shown: the two "ONC" ones keep the table's order; "X" is shorter
    // than its prefix and lists as the empty text.
    EXPECT_EQ(list, QStringList({"ALL CODES/ALL SPECIALTIES", "", "GENERAL PRACTICE", "NEPHROLOGY",
                                 "ONCOLOGY RADIATION", "ONCOLOGY", "RADIOLOGY (70000 - 79999)", "SURGEON'S CARE"}));
    EXPECT_EQ(w.Combo2->currentText(), "ALL CODES/ALL SPECIALTIES");
}

// The key and focus cases of the criteria, each from a freshly opened window.
TEST_F(TagTest, CriteriaFollowKeysFocusAndPages)
{
    struct Case {
        const char* name;
        std::function<void(frmTag&)> act;
        std::function<void(frmTag&)> check;
    };
    const std::vector<Case> cases = {
        {"a character typed into the empty description",
         [](frmTag& w) {
             int key = 'a';
             w.Combo1_KeyPress(key);
             w.Combo1->setEditText("a");
         },
         [](frmTag& w) { EXPECT_TRUE(w.btn(0)->isEnabled()); }},
        {"Enter in the empty description",
         [](frmTag& w) {
             int key = 13;
             w.Combo1_KeyPress(key);
         },
         [](frmTag& w) {
             EXPECT_FALSE(w.btn(0)->isEnabled());
             EXPECT_EQ(w.ActiveControl(), w.Combo1);
         }},
        {"Enter after a description moves to its search",
         [](frmTag& w) {
             w.Combo1->setEditText("x");
             int key = 13;
             w.Combo1_KeyPress(key);
         },
         [](frmTag& w) { EXPECT_EQ(w.ActiveControl(), w.btn(0)); }},
        {"the last character deleted",
         [](frmTag& w) {
             w.Combo1->setEditText("a");
             int key = 8;
             w.Combo1_KeyPress(key);
             w.Combo1->setEditText("");
         },
         [](frmTag& w) { EXPECT_TRUE(w.btn(0)->isEnabled()); }},
        {"a code box left with 7",
         [](frmTag& w) {
             w.SSTab1->setCurrentIndex(1);
             setText(w.Text1(1), "7");
             w.Text1_LostFocus(1);
         },
         [](frmTag& w) { EXPECT_EQ(w.Text1(1)->text(), "00007"); }},
        {"a code box left empty",
         [](frmTag& w) {
             setText(w.Text1(0), "");
             w.Text1_LostFocus(0);
         },
         [](frmTag& w) { EXPECT_EQ(w.Text1(0)->text(), "00000"); }},
        {"a code box left with A1",
         [](frmTag& w) {
             setText(w.Text1(0), "A1");
             w.Text1_LostFocus(0);
         },
         [](frmTag& w) { EXPECT_EQ(w.Text1(0)->text(), "000A1"); }},
        {"page 1",
         [](frmTag& w) { w.SSTab1->setCurrentIndex(1); },
         [](frmTag& w) {
             EXPECT_TRUE(w.Option1(1)->isChecked());
             EXPECT_TRUE(w.Text1(0)->isEnabled());
             EXPECT_TRUE(w.Text1(1)->isEnabled());
             EXPECT_FALSE(w.Combo1->isEnabled());
             EXPECT_EQ(w.ActiveControl(), w.Text1(0));
             EXPECT_EQ(platform::backColor(w.Text1(0)), platform::vbWindowBackground);
         }},
        {"page 1 and back",
         [](frmTag& w) {
             w.SSTab1->setCurrentIndex(1);
             w.SSTab1->setCurrentIndex(0);
         },
         [](frmTag& w) {
             EXPECT_TRUE(w.Option1(0)->isChecked());
             EXPECT_FALSE(w.Text1(0)->isEnabled());
             EXPECT_EQ(platform::backColor(w.Text1(0)), platform::vbButtonFace);
             EXPECT_EQ(w.ActiveControl(), w.Combo1);
         }},
        {"page 2",
         [](frmTag& w) { w.SSTab1->setCurrentIndex(2); },
         [](frmTag& w) {
             EXPECT_TRUE(w.Option1(2)->isChecked());
             EXPECT_TRUE(w.btn(6)->isEnabled());
             EXPECT_EQ(w.ActiveControl(), w.btn(6));
         }},
        {"page 2, the frequencies chosen",
         [](frmTag& w) {
             w.SSTab1->setCurrentIndex(2);
             w.Option1(4)->setChecked(true);
         },
         [](frmTag& w) {
             EXPECT_FALSE(w.Option1(2)->isChecked());
             EXPECT_EQ(w.ActiveControl(), w.btn(6));
         }},
        {"other status chosen",
         [](frmTag& w) {
             w.SSTab1->setCurrentIndex(4);
             w.Option1(6)->setChecked(true);
         },
         [](frmTag& w) {
             EXPECT_TRUE(w.Combo3->isEnabled());
             EXPECT_FALSE(w.Option1(0)->isChecked());
         }},
        {"GAP codes chosen after other status",
         [](frmTag& w) {
             w.SSTab1->setCurrentIndex(4);
             w.Option1(6)->setChecked(true);
             w.Option1(5)->setChecked(true);
         },
         [](frmTag& w) { EXPECT_FALSE(w.Combo3->isEnabled()); }},
        {"an exclusion unticked and ticked again",
         [](frmTag& w) {
             w.Check1(0)->setChecked(true);
             setText(w.Text2(0), "TC");
             w.Check1(0)->setChecked(false);
             w.Check1(0)->setChecked(true);
         },
         [](frmTag& w) {
             EXPECT_TRUE(w.Text2(0)->isEnabled());
             EXPECT_EQ(w.Text2(0)->text(), "");
             EXPECT_EQ(platform::foreColor(w.Check1(0)), platform::vbButtonText);
         }},
        {"an exclusion unticked",
         [](frmTag& w) {
             w.Check1(1)->setChecked(true);
             setText(w.Text2(1), "TC");
             w.Check1(1)->setChecked(false);
         },
         [](frmTag& w) {
             EXPECT_FALSE(w.Text2(1)->isEnabled());
             EXPECT_EQ(w.Text2(1)->text(), "");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmTag& w = open();
        c.act(w);
        c.check(w);
        w.Unload();
        settle();
    }
}

struct Search {
    const char* name;
    std::function<void(frmTag&)> set;  // chooses the page and the criterion; returns the search button
    int button;
    QStringList rows;  // code + modifier, as listed
    bool twoBlanks = false;
};

void PrintTo(const Search& s, std::ostream* os)
{
    *os << s.name;
}

void description(frmTag& w, const QString& text, const QString& exclude = {})
{
    w.Combo1->setEditText(text);
    if (!exclude.isNull()) {
        w.Check1(0)->setChecked(true);
        setText(w.Text2(0), exclude);
    }
}
void codeRange(frmTag& w, const QString& low, const QString& high, const QString& exclude = {})
{
    w.SSTab1->setCurrentIndex(1);
    setText(w.Text1(0), low);
    setText(w.Text1(1), high);
    if (!exclude.isNull()) {
        w.Check1(1)->setChecked(true);
        setText(w.Text2(1), exclude);
    }
}
void page(frmTag& w, int tab, int option, const QString& exclude = {})
{
    w.SSTab1->setCurrentIndex(tab);
    if (option >= 0)
        w.Option1(option)->setChecked(true);
    if (!exclude.isNull()) {
        w.Check1(tab)->setChecked(true);
        setText(w.Text2(tab), exclude);
    }
}
void specialty(frmTag& w, const QString& s, const QString& exclude = {})
{
    page(w, 3, -1, exclude);
    w.Combo2->setEditText(s);
}
void status(frmTag& w, const QString& s)
{
    page(w, 4, 6);
    w.Combo3->setEditText(s);
}

const QStringList kAll = {"10021", "1002126", "10021TC", "10022", "70010", "80050", "99213", "99214"};

class TagSearchTest : public TagFixture, public ::testing::WithParamInterface<Search> {};

TEST_P(TagSearchTest, PreviewsCountsAndTagsExactlyItsRows)
{
    const Search& s = GetParam();
    frmTag& w = open();
    s.set(w);
    w.btn_Click(s.button);
    EXPECT_TRUE(seam.messages().isEmpty()) << qPrintable(seam.messages().join(" | "));
    EXPECT_EQ(w.Label3->text(), tagging::countLine(s.rows.size(), s.twoBlanks));
    EXPECT_TRUE(w.Label3->isVisibleTo(&w));
    QStringList listed = previewRows(w);
    listed.sort();
    EXPECT_EQ(listed, s.rows);
    if (s.rows.isEmpty()) {
        EXPECT_FALSE(w.btn(2)->isVisibleTo(&w));
        EXPECT_TRUE(w.pending().condition.isEmpty());
        return;
    }
    EXPECT_TRUE(w.btn(2)->isVisibleTo(&w));
    EXPECT_FALSE(w.SSTab1->isEnabled());
    EXPECT_FALSE(w.btn(3)->isEnabled());
    seam.expectMsgBox("Codes have been tagged", vbOKOnly);
    w.btn_Click(2);
    EXPECT_EQ(tagged(), s.rows);
    EXPECT_FALSE(w.btn(2)->isVisibleTo(&w));
    EXPECT_TRUE(w.SSTab1->isEnabled());
}

QStringList rowsOf(std::initializer_list<const char*> rows)
{
    QStringList list;
    for (const char* r : rows)
        list << QString::fromLatin1(r);
    list.sort();
    return list;
}

INSTANTIATE_TEST_SUITE_P(
    Searches, TagSearchTest,
    ::testing::Values(
        Search{"Description", [](frmTag& w) { description(w, "needle"); }, 0, rowsOf({"10021", "1002126", "10021TC", "10022"})},
        Search{"DescriptionExcluding", [](frmTag& w) { description(w, "needle", "O'Brien"); }, 0,
               rowsOf({"10021", "1002126", "10021TC"})},
        Search{"DescriptionApostrophe", [](frmTag& w) { description(w, "Surgeon's"); }, 0,
               rowsOf({"10021", "1002126", "10021TC"})},
        Search{"DescriptionExcludingApostrophe", [](frmTag& w) { description(w, "needle", "Surgeon's"); }, 0,
               rowsOf({"10022"})},
        Search{"DescriptionOfBlanksListsEveryDescribedCode", [](frmTag& w) { description(w, "  "); }, 0, kAll},
        Search{"DescriptionLeadingBlanksKept", [](frmTag& w) { description(w, " VISIT   "); }, 0, rowsOf({"99213", "99214"})},
        Search{"DescriptionLeadingBlanksMatchNothingElse", [](frmTag& w) { description(w, " OFFICE"); }, 0, {}},
        Search{"CodeRange", [](frmTag& w) { codeRange(w, "10021", "10022"); }, 5, rowsOf({"10021", "1002126", "10021TC", "10022"})},
        Search{"CodeRangeExcluding", [](frmTag& w) { codeRange(w, "10021", "10022", "o'brien"); }, 5,
               rowsOf({"10021", "1002126", "10021TC"})},
        Search{"CodeRangeEqualCodes", [](frmTag& w) { codeRange(w, "00000", "00000"); }, 5, {}},
        Search{"CodeRangeExclusionOfBlanksExcludesAll", [](frmTag& w) { codeRange(w, "10021", "10022", "  "); }, 5, {}},
        Search{"Schedules", [](frmTag& w) { page(w, 2, 2); }, 6, rowsOf({"10021", "1002126", "99213"})},
        Search{"SchedulesExcluding", [](frmTag& w) { page(w, 2, 2, "office"); }, 6, rowsOf({"10021", "1002126"})},
        Search{"Frequencies", [](frmTag& w) { page(w, 2, 4); }, 6, rowsOf({"10021TC", "70010", "99214"})},
        Search{"FrequenciesExcluding", [](frmTag& w) { page(w, 2, 4, "radiologic"); }, 6, rowsOf({"10021TC", "99214"})},
        Search{"AllSpecialties", [](frmTag& w) { specialty(w, "ALL CODES/ALL SPECIALTIES"); }, 8, kAll},
        Search{"AllSpecialtiesExcluding", [](frmTag& w) { specialty(w, "ALL CODES/ALL SPECIALTIES", "Surgeon's"); }, 8,
               rowsOf({"10022", "70010", "80050", "99213", "99214"})},
        Search{"FixedSpecialty", [](frmTag& w) { specialty(w, "RADIOLOGY (70000 - 79999)"); }, 8, rowsOf({"70010"})},
        Search{"FixedSpecialtyExcluding", [](frmTag& w) { specialty(w, "SURGERY (10000 - 69999)", "o'brien"); }, 8,
               rowsOf({"10021", "1002126", "10021TC"})},
        Search{"LookedUpSpecialty", [](frmTag& w) { specialty(w, "ONCOLOGY"); }, 8, rowsOf({"80050", "99213"}), true},
        Search{"LookedUpSpecialtyExcluding", [](frmTag& w) { specialty(w, "ONCOLOGY", "office"); }, 8, rowsOf({"80050"}), true},
        Search{"LookedUpSpecialtyApostrophe", [](frmTag& w) { specialty(w, "SURGEON'S CARE"); }, 8, rowsOf({"10022"}), true},
        Search{"LookedUpSpecialtyOBrien", [](frmTag& w) { specialty(w, "O'Brien"); }, 8, rowsOf({"70010"}), true},
        Search{"LookedUpSpecialtyUnknown", [](frmTag& w) { specialty(w, "NOBODY"); }, 8, {}, true},
        Search{"GapCodes", [](frmTag& w) { page(w, 4, 5); }, 9, rowsOf({"10022", "70010"})},
        Search{"OtherStatus", [](frmTag& w) { status(w, "X"); }, 9, rowsOf({"80050"})},
        Search{"OppsIndicatorYC", [](frmTag& w) { status(w, "YC"); }, 9, rowsOf({"80050", "99213"})},
        Search{"OppsIndicatorY", [](frmTag& w) { status(w, "Y"); }, 9, rowsOf({"70010", "99214"})},
        Search{"SiteOfService", [](frmTag& w) { page(w, 5, -1); }, 10, rowsOf({"99213", "99214"})}),
    [](const ::testing::TestParamInfo<Search>& info) { return std::string(info.param.name); });

TEST_F(TagTest, CountLineForms)
{
    EXPECT_EQ(tagging::countLine(3), "This search found 3 code(s) which are displayed below.");
    EXPECT_EQ(tagging::countLine(2, true), "This search found  2 code(s) which are displayed below.");
}

TEST_F(TagTest, ACodeRangeThatRunsBackwardsIsRefusedWithoutAQuery)
{
    frmTag& w = open();
    codeRange(w, "A0000", "99999");
    const qint64 before = dao::statementCount();
    seam.expectMsgBox("First code can not be greater than second code. Please try again.", vbOKOnly);
    w.btn_Click(5);
    EXPECT_EQ(dao::statementCount(), before);
    EXPECT_FALSE(w.Label3->isVisibleTo(&w) && !w.Label3->text().isEmpty());
    EXPECT_EQ(w.ActiveControl(), w.Text1(0));
}

TEST_F(TagTest, HistoryKeepsTheTextAsTypedAndSkipsOnlyTheNewest)
{
    frmTag& w = open();
    for (const char* text : {"  needle  ", "  needle  ", "exam", "  needle  "}) {
        description(w, text);
        w.btn_Click(0);
        if (w.btn(2)->isVisibleTo(&w))
            w.btn_Click(7);
    }
    EXPECT_EQ(history(), QStringList({"  needle  ", "exam", "  needle  "}));
    EXPECT_EQ(w.Combo1->itemText(0), "  needle  ");
    EXPECT_EQ(w.Combo1->itemText(1), "exam");
    EXPECT_EQ(w.Combo1->count(), 3);
    EXPECT_TRUE(tagged().isEmpty());
}

TEST_F(TagTest, ABlankDescriptionSearchesNothing)
{
    frmTag& w = open();
    for (const char* text : {"", " "}) {
        description(w, text);
        w.btn_Click(0);
        EXPECT_FALSE(w.Label3->isVisibleTo(&w) && !w.Label3->text().isEmpty()) << text;
    }
    EXPECT_TRUE(history().isEmpty());
    EXPECT_EQ(w.ActiveControl(), w.Combo1);
}

TEST_F(TagTest, SearchesWithoutTheirCriterionDoNothing)
{
    frmTag& w = open();
    w.SSTab1->setCurrentIndex(1);  // the description option is no longer chosen
    w.Combo1->setEditText("needle");
    w.btn_Click(0);
    w.SSTab1->setCurrentIndex(4);  // no status option chosen
    w.btn_Click(9);
    EXPECT_FALSE(w.btn(2)->isVisibleTo(&w));
    EXPECT_TRUE(w.pending().condition.isEmpty());
    EXPECT_TRUE(history().isEmpty());
}

TEST_F(TagTest, NoWritesNothingAndTagsAccumulateByTheLastPreview)
{
    frmTag& w = open();
    description(w, "office");
    w.btn_Click(0);
    w.btn_Click(7);
    EXPECT_TRUE(tagged().isEmpty());
    EXPECT_EQ(w.ActiveControl(), w.btn(3));
    EXPECT_TRUE(w.Combo1->isEnabled());
    EXPECT_TRUE(w.Text1(0)->isEnabled());
    codeRange(w, "70010", "70010");
    w.btn_Click(5);
    seam.expectMsgBox("Codes have been tagged", vbOKOnly);
    w.btn_Click(2);
    page(w, 5, -1);
    w.btn_Click(10);
    seam.expectMsgBox("Codes have been tagged", vbOKOnly);
    w.btn_Click(2);
    EXPECT_EQ(tagged(), QStringList({"70010", "99213", "99214"}));
}

TEST_F(TagTest, AfterNoTheExclusionIsUsableExactlyWhenTicked)
{
    frmTag& w = open();
    description(w, "needle", "TC");
    w.btn_Click(0);
    EXPECT_FALSE(w.Text2(0)->isEnabled());
    EXPECT_FALSE(w.Check1(0)->isEnabled());
    w.btn_Click(7);
    EXPECT_TRUE(w.Check1(0)->isEnabled());
    EXPECT_TRUE(w.Text2(0)->isEnabled());
    w.Check1(0)->setChecked(false);
    w.btn_Click(0);
    w.btn_Click(7);
    EXPECT_FALSE(w.Text2(0)->isEnabled());
}

TEST_F(TagTest, OppsViewPreviewsTheSessionAndTagsOnlyItsLocality)
{
    showOppsView();
    frmTag& w = open();
    description(w, "office");
    w.btn_Click(0);
    EXPECT_EQ(w.Label3->text(), tagging::countLine(2));
    seam.expectMsgBox("Codes have been tagged", vbOKOnly);
    w.btn_Click(2);
    EXPECT_TRUE(tagged().isEmpty());
    const QStringList opps = [&] {
        QStringList rows;
        dao::Recordset rs = db().OpenRecordset("SELECT CODEMOD, carrier, locality FROM DATAOPPSVIEW WHERE Tag = '+'");
        for (; !rs.EOF(); rs.MoveNext())
            rows << rs[0].Value().toString() + "/" + rs[1].Value().toString() + "/" + rs[2].Value().toString();
        return rows;
    }();
    EXPECT_EQ(opps, QStringList({"99213/" + session.carrier + "/" + session.loc}));
}

TEST_F(TagTest, ClearAllTagsAsksAndClearsTheViewsTable)
{
    db().Execute(QStringLiteral("UPDATE %1 SET Tag = '+' WHERE CPT = '10021'").arg(session.table));
    db().Execute("UPDATE DATAOPPSVIEW SET Tag = '+'");
    const QString warning = "Warning 'Clear All Tags' will permenantly remove all tagged codes from the main screen! "
                            "Yes to Continue.";
    frmTag& w = open();
    seam.expectMsgBox(warning, vbYesNo + vbExclamation, vbNo);
    w.btn_Click(4);
    EXPECT_EQ(tagged().size(), 3);
    EXPECT_EQ(seam.messages().size(), 1);

    seam.expectMsgBox(warning, vbYesNo + vbExclamation, vbYes);
    seam.expectMsgBox("All tags have been cleared.", vbOKOnly);
    w.btn_Click(4);
    EXPECT_TRUE(tagged().isEmpty());
    EXPECT_EQ(tagged("DATAOPPSVIEW").size(), 4);  // the session's table only
    w.Unload();
    settle();

    // In the OPPS view every carrier and locality is cleared, and the session table is left alone.
    db().Execute(QStringLiteral("UPDATE %1 SET Tag = '+' WHERE CPT = '99213'").arg(session.table));
    showOppsView();
    frmTag& o = open();
    seam.expectMsgBox(warning, vbYesNo + vbExclamation, vbYes);
    seam.expectMsgBox("All tags have been cleared.", vbOKOnly);
    o.btn_Click(4);
    EXPECT_TRUE(tagged("DATAOPPSVIEW").isEmpty());
    EXPECT_EQ(tagged(), QStringList({"99213"}));
}

TEST_F(TagTest, ARefusedStatementIsShownAndTheWindowReturnsToItsCriteria)
{
    frmTag& w = open();
    description(w, "needle");
    w.btn_Click(0);
    ASSERT_TRUE(w.btn(2)->isVisibleTo(&w));
    db().Execute(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON %1 BEGIN SELECT RAISE(ABORT, 'tag refused'); END")
                     .arg(session.table));
    seam.expectMsgBox("tag refused", vbOKOnly);
    w.btn_Click(2);
    EXPECT_TRUE(tagged().isEmpty());
    EXPECT_FALSE(w.btn(2)->isVisibleTo(&w));
    EXPECT_TRUE(w.SSTab1->isEnabled());
    EXPECT_TRUE(w.btn(3)->isEnabled());
}

TEST_F(TagTest, ATaggedOnlyMainGridKeepsItsRowsUntilQueriedAgain)
{
    db().Execute(QStringLiteral("UPDATE %1 SET Tag = '+' WHERE CPT = '80050'").arg(session.table));
    main->ViewTagRecs();
    ASSERT_EQ(main->Data1.Recordset().RecordCount(), 1);
    frmTag& w = open();
    description(w, "office");
    w.btn_Click(0);
    seam.expectMsgBox("Codes have been tagged", vbOKOnly);
    w.btn_Click(2);
    EXPECT_EQ(main->Data1.Recordset().RecordCount(), 1);
    EXPECT_EQ(main->dbg->model()->rowCount(), 1);
}

TEST_F(TagTest, GoesThroughTheSignals)
{
    frmTag& w = open();
    QTest::keyClicks(w.Combo1, "needle");
    EXPECT_EQ(w.Combo1->currentText(), "needle");
    EXPECT_TRUE(w.btn(0)->isEnabled());
    QTest::keyClick(w.Combo1, Qt::Key_Return);
    EXPECT_EQ(w.ActiveControl(), w.btn(0));
    w.btn(0)->click();
    EXPECT_EQ(w.Label3->text(), tagging::countLine(4));
    seam.expectMsgBox("Codes have been tagged", vbOKOnly);
    w.btn(2)->click();
    EXPECT_EQ(tagged().size(), 4);
    w.Check1(1)->click();
    w.SSTab1->setCurrentIndex(1);
    EXPECT_TRUE(w.Text2(1)->isEnabled());
    w.btn(3)->click();
    settle();
    EXPECT_FALSE(forms().loadedByName("frmTag"));
}

}  // namespace
