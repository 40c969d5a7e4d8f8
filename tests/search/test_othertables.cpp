#include "SearchFixture.h"

#include "search/frmCodeTable.h"
#include "search/othertables.h"

namespace {

const QString kNotFound = QStringLiteral("Finished searching the records; Item not found");

// Besides the fixture's rows: "DMEDRGONLY" in DME and DRG descriptions, "DMELABONLY" in DME and LAB, a J-code
// J9999 without a price, ASC group codes A0002 (in DATA0000, "TOTAL KNEE REPLACEMENT") and Q0001 (not there).
class OtherTablesTest : public SearchFixture {
protected:
    void prepare(dao::Database& d) override
    {
        db::insertRow(d, "DME", {{"HCPCS", "E1000"}, {"Description", "DMEDRGONLY CHAIR"}, {"CODEMOD", "E1000"}});
        db::insertRow(d, "DRG", {{"DRG", 300}, {"DESC", "DMEDRGONLY GROUP"}, {"ARW", 1.0}});
        db::insertRow(d, "DME", {{"HCPCS", "E2000"}, {"Description", "DMELABONLY ITEM"}, {"CODEMOD", "E2000"}});
        db::insertRow(d, "LAB", {{"HCPCS", "80000"}, {"Description", "DMELABONLY TEST"}, {"CODEMOD", "80000"}});
        db::insertRow(d, "JCD", {{"HCPCS", "J9999"}, {"Description", "UNPRICED DRUG"}, {"Codemod", "J9999"}, {jcdState, 0.0}});
        d.Execute("DELETE FROM DATA0000 WHERE CODEMOD IN ('A0002', 'Q0001')");
        db::insertRow(d, "DATA0000", {{"CODEMOD", "A0002"}, {"CPT", "A0002"}, {"DESC", "TOTAL KNEE REPLACEMENT"}});
        for (const char* code : {"A0002", "Q0001"})
            db::insertRow(d, "ASCGROUPS", {{"CODE", code}, {"GROUP", 1}});
    }
};

struct OtherCase {
    const char* name;
    const char* current;
    const char* field;
    const char* text;
    const char* found;
};

const OtherCase kOtherCases[] = {
    {"FromLabDmeAndDrgOnly", "LAB", "*", "dmedrgonly", " DME, DRG"},
    {"FromPhysicianEveryOther", "KELVA", "*", "knee", " DME, DRG, JCD, LAB, ASC"},
    {"DrgByThreeDigitCode", "KELVA", "1", "300", " DRG"},
    {"UnpricedJCodeNotFound", "KELVA", "1", "J9999", ""},
    {"AscMissingFromData0000NotFound", "KELVA", "1", "Q0001", ""},
    {"StarIsLiteral", "KELVA", "1", "3*4", " DME, JCD, LAB"},
    {"QuestionMarkIsLiteral", "KELVA", "*", "3?4", ""},
    {"Apostrophe", "KELVA", "2", "o'brien", " DME, JCD, LAB"},
    {"OnlyInCurrentFamily", "KELVA", "*", "zebra", ""},
    {"PhysicianFromOthers", "DME", "2", "zebra", " KELVA"},
    {"CodeOnlySkipsDescriptions", "DME", "1", "zebra", ""},
};

class OtherTablesCases : public OtherTablesTest, public ::testing::WithParamInterface<OtherCase> {};

TEST_P(OtherTablesCases, ListsTheFamiliesHoldingTheText)
{
    const OtherCase& c = GetParam();
    EXPECT_EQ(FindInOtherTables(c.text, c.field, c.current), QString::fromLatin1(c.found));
}

INSTANTIATE_TEST_SUITE_P(Cases, OtherTablesCases, ::testing::ValuesIn(kOtherCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OtherTablesTest, EnablesOnlyTheFoundFamilies)
{
    g().FoundInTables = FindInOtherTables("dmedrgonly", "*", "LAB");
    EnableFoundTables();
    auto& t = load<frmCodeTable>();
    const bool enabled[] = {false, true, false, false, false, true};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(t.Option1(i)->isEnabled(), enabled[i]) << i;
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(t.Option1(i)->isChecked());
}

TEST_F(OtherTablesTest, StateColumnThatIsNoColumnSkipsOnlyItsFamily)
{
    db().Execute("UPDATE PARMS_CL SET LABSTATE = 'XX'");
    EXPECT_EQ(FindInOtherTables("total knee", "*", "KELVA"), " DME, JCD, ASC");
}

class OtherTablesRoad : public OtherTablesTest {
protected:
    frmSearch& searchFor(const QString& text)
    {
        auto& w = load<frmSearch>();
        platform::setText(w.txt(1), "NO REPLACE");
        w.Show();
        platform::setComboText(w.Combo1, text);
        return w;
    }
    QString question(const QString& list)
    {
        return "There were no more items found in the current table. The item was found in table(s): " + list +
               ".  Do you wish to switch to one of the other tables?";
    }
};

TEST_F(OtherTablesRoad, YesAndOkSwitchesToTheChosenFamily)
{
    auto& w = searchFor("dmelabonly");
    seam.expectMsgBox(question(" DME, LAB"), vbYesNo, vbYes);
    seam.onModal<frmCodeTable>([](frmCodeTable& t) {
        const bool enabled[] = {false, true, true, false, false, false};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(t.Option1(i)->isEnabled(), enabled[i]) << i;
        t.Option1(1)->click();
        t.btn(1)->click();
    });
    w.btn_Click(0);
    EXPECT_EQ(main->cmboCurrentView->currentIndex(), 2);
    EXPECT_EQ(current(search::Dme), "E2000");
    EXPECT_EQ(forms().loadedByName("frmSearch"), nullptr);
    EXPECT_EQ(g().SkipOtherTables, -1);
    // The next miss, in any family, ends silently and clears the flag; the one after reports again.
    auto& lab = load<frmSearchLAB>();
    platform::setComboText(lab.Combo1, "nothing like it");
    lab.btn_Click(0);
    EXPECT_EQ(g().SkipOtherTables, 0);
    seam.expectMsgBox(kNotFound, vbOKOnly);
    lab.btn_Click(0);
}

TEST_F(OtherTablesRoad, OkWithoutChoiceLeavesTheFlagForTheNextMiss)
{
    auto& w = searchFor("dmelabonly");
    seam.answerMsgBox(vbYes);
    seam.onModal<frmCodeTable>([](frmCodeTable& t) { t.btn(1)->click(); });
    w.btn_Click(0);
    EXPECT_EQ(main->cmboCurrentView->currentIndex(), 0);
    EXPECT_EQ(g().SkipOtherTables, -1);
    auto& again = searchFor("nothing like it");
    again.btn_Click(0);
    EXPECT_EQ(g().SkipOtherTables, 0);
    seam.expectMsgBox(kNotFound, vbOKOnly);
    again.btn_Click(0);
}

TEST_F(OtherTablesRoad, CancelLeavesViewAndGrids)
{
    goTo(search::Kelva, "A0003");
    auto& w = searchFor("dmelabonly");
    seam.answerMsgBox(vbYes);
    seam.onModal<frmCodeTable>([](frmCodeTable& t) { t.btn(0)->click(); });
    w.btn_Click(0);
    EXPECT_EQ(main->cmboCurrentView->currentIndex(), 0);
    EXPECT_EQ(current(search::Kelva), "A0003");
    EXPECT_EQ(forms().loadedByName("frmSearch"), nullptr);
    EXPECT_EQ(g().SkipOtherTables, 0);
}

TEST_F(OtherTablesRoad, NoKeepsTheWindowAndTheRow)
{
    goTo(search::Kelva, "A0003");
    auto& w = searchFor("dmelabonly");
    seam.answerMsgBox(vbNo);
    w.btn_Click(0);
    EXPECT_EQ(current(search::Kelva), "A0003");
    EXPECT_NE(forms().loadedByName("frmSearch"), nullptr);
}

TEST_F(OtherTablesRoad, TextFoundNowhereOnlySaysSo)
{
    auto& w = searchFor("nothing like it");
    seam.expectMsgBox(kNotFound, vbOKOnly);
    w.btn_Click(0);
    EXPECT_TRUE(seam.calls("ShowModal").empty());
}

}  // namespace
