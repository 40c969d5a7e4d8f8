#include "tagging/TagFixture.h"

#include "platform/controls/colours.h"
#include "platform/forms/controls.h"
#include "tagging/TagWindow.h"
#include "tagging/tagcriteria.h"

#include <QTabBar>

namespace {

using platform::setText;

// What a test reads of a family: its rows as keys, the warning and the headings it shows.
struct FamilyCase {
    int row;  // of kTagFamilies
    const char* frame;
    QStringList headings;
    const char* warningWord;  // the grid's name in the clear warning
    const char* table;
    const char* keySql;       // the key of a row as text
    bool firstCodeFilled;
};

const FamilyCase kCases[] = {
    {0, "Tagging preview for DMEPOS Table", {"HCPCS", "Mod", "Description"}, "DME", "DME", "HCPCS || ifnull(Mod, '')", true},
    {1, "Tag Preview for Lab Codes", {"HCPCS", "Mod", "Description"}, "Lab Code", "LAB", "HCPCS || ifnull(Mod, '')", false},
    {2, "Tagging preview for J Code Table", {"HCPCS", "Mod", "Description"}, "J-Code", "JCD", "HCPCS || ifnull(Mod, '')", true},
    {3, "Tag Preview for ASC Codes", {"CODE", "DESC"}, "ASC Code", "ASC", "CODE", true},
    {4, "Tag Preview for DRG Codes", {"DRG", "DESC"}, "DRG Code", "DRG", "CAST(DRG AS TEXT)", true},
};

void PrintTo(const FamilyCase& c, std::ostream* os)
{
    *os << kTagFamilies[c.row].window;
}

class FamilyFixture : public TagFixture {
protected:
    void SetUp() override
    {
        TagFixture::SetUp();
        if (HasFatalFailure())
            return;
        dao::Database d = db();
        const std::pair<const char*, const char*> hcpcs[] = {
            {"A0100", "SURGEON'S WHEELCHAIR"}, {"E0100", "CANE ADJUSTABLE"}, {"E0100NU", "CANE ADJUSTABLE NEW"},
            {"E0105", "CANE QUAD O'BRIEN"},    {"00005", "LOW CODE CANE"}};
        for (const char* table : {"DME", "LAB", "JCD"}) {
            d.Execute(QStringLiteral("DELETE FROM %1").arg(table));
            for (const auto& [key, desc] : hcpcs) {
                const QString k = QString::fromLatin1(key);
                db::insertRow(d, table,
                              {{"HCPCS", k.left(5)}, {"Mod", k.mid(5)}, {"Description", QString::fromUtf8(desc)}, {"CODEMOD", k}});
            }
        }
        d.Execute("DELETE FROM ASC");
        const std::pair<const char*, const char*> asc[] = {{"10021", "ASC CANE SPECIAL"},
                                                           {"10022", "ASC CANE O'BRIEN"},
                                                           {"10030", "ASC CANE DRAIN"},
                                                           {"10040", "ASC CANE PLAIN"},
                                                           {"99213", "SURGEON'S VISIT"}};
        for (const auto& [code, desc] : asc)
            db::insertRow(d, "ASC", {{"CODE", code}, {"Desc", QString::fromUtf8(desc)}});
        d.Execute("DELETE FROM DRG");
        const std::pair<int, const char*> drg[] = {
            {1, "CANE HEART"}, {2, "CANE O'BRIEN"}, {100, "CANE LUNG"}, {470, "CANE HIP"}, {500, "KNEE SURGEON'S"}};
        for (const auto& [number, desc] : drg)
            db::insertRow(d, "DRG", {{"DRG", number}, {"DESC", QString::fromUtf8(desc)}});
    }

    TagWindow& openFamily(int row)
    {
        auto* w = static_cast<TagWindow*>(forms().getByName(QString::fromLatin1(kTagFamilies[row].window)));
        w->Form_Activate();
        return *w;
    }
    static QStringList previewKeys(TagWindow& w)
    {
        QStringList rows;
        dao::Recordset& rs = w.Data(0).Recordset();
        const bool withMod = w.family().columns.size() == 3;
        for (int r = 0; r < rs.rowCount(); ++r)
            rows << rs.cell(r, 0).toString() + (withMod ? rs.cell(r, 1).toString() : QString());
        rows.sort();
        return rows;
    }
    QStringList taggedKeys(const FamilyCase& c) const
    {
        QStringList rows;
        dao::Recordset rs = db().OpenRecordset(
            QStringLiteral("SELECT %1 FROM \"%2\" WHERE Tag = '+'").arg(QString::fromLatin1(c.keySql), c.table));
        for (; !rs.EOF(); rs.MoveNext())
            rows << rs[0].Value().toString();
        rows.sort();
        return rows;
    }
    static void search(TagWindow& w, const QString& text, const QString& exclude = {})
    {
        w.Combo1->setEditText(text);
        if (!exclude.isNull()) {
            w.Check1(0)->setChecked(true);
            setText(w.Text2(0), exclude);
        }
        w.btn_Click(0);
    }
    static void range(TagWindow& w, const QString& low, const QString& high, const QString& exclude = {})
    {
        w.SSTab1->setCurrentIndex(1);
        setText(w.Text1(0), low);
        setText(w.Text1(1), high);
        if (!exclude.isNull()) {
            w.Check1(1)->setChecked(true);
            setText(w.Text2(1), exclude);
        }
        w.btn_Click(5);
    }
};

class FamilyTest : public FamilyFixture, public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(FamilyTest, OpensOnTheDescriptionWithItsTexts)
{
    const FamilyCase& c = GetParam();
    TagWindow& w = openFamily(c.row);
    EXPECT_EQ(w.Caption(), "KELVA Morvex Code Tagging");
    EXPECT_EQ(w.Frame1->title(), c.frame);
    QStringList headings;
    for (int i = 0; i < w.DBGrid1->ColumnCount(); ++i)
        headings << w.DBGrid1->Columns(i).Caption();
    EXPECT_EQ(headings, c.headings);
    EXPECT_EQ(w.SSTab1->tabText(0), "Description Contains");
    EXPECT_EQ(w.SSTab1->tabText(1), "Code Range");
    EXPECT_EQ(w.SSTab1->currentIndex(), 0);
    EXPECT_TRUE(w.Option1(0)->isChecked());
    EXPECT_EQ(w.ActiveControl(), w.Combo1);
    EXPECT_FALSE(w.btn(0)->isEnabled());
    EXPECT_EQ(w.Text1(0)->text(), c.firstCodeFilled ? "00000" : "");
    EXPECT_EQ(w.btn(5)->isEnabled(), c.firstCodeFilled);
    EXPECT_FALSE(w.DBGrid1->isVisibleTo(&w));
    EXPECT_FALSE(w.Label4->isVisibleTo(&w));
}

TEST_P(FamilyTest, DescriptionSearchPreviewsAndYesTagsExactlyThePreview)
{
    const FamilyCase& c = GetParam();
    TagWindow& w = openFamily(c.row);
    search(w, "cane");
    EXPECT_EQ(w.Label3->text(), tagging::countLine(4));
    EXPECT_TRUE(w.btn(2)->isVisibleTo(&w));
    w.btn_Click(7);
    EXPECT_TRUE(taggedKeys(c).isEmpty());
    search(w, "cane", "O'Brien");
    EXPECT_EQ(w.Label3->text(), tagging::countLine(3));
    const QStringList shown = previewKeys(w);
    w.btn_Click(2);
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_EQ(taggedKeys(c), shown);
    EXPECT_EQ(w.ActiveControl(), w.btn(3));
    EXPECT_FALSE(w.btn(2)->isVisibleTo(&w));
    // The text heads the physician window's history too; searched twice it was stored once.
    EXPECT_EQ(history(), QStringList({"cane"}));
    w.Unload();
    settle();
    EXPECT_EQ(open().Combo1->itemText(0), "cane");
}

TEST_P(FamilyTest, SurgeonsAsDescriptionAndExclusion)
{
    const FamilyCase& c = GetParam();
    TagWindow& w = openFamily(c.row);
    search(w, "Surgeon's");
    EXPECT_EQ(w.Label3->text(), tagging::countLine(1));
    w.btn_Click(7);
    search(w, "e", "surgeon's");
    EXPECT_TRUE(seam.messages().isEmpty());
    for (const QString& key : previewKeys(w))
        EXPECT_NE(key, c.row == 4 ? "500" : c.row == 3 ? "99213" : "A0100");
}

TEST_P(FamilyTest, ClearAllTagsAskedYesAndNo)
{
    const FamilyCase& c = GetParam();
    db().Execute(QStringLiteral("UPDATE \"%1\" SET Tag = '+'").arg(c.table));
    const QStringList all = taggedKeys(c);
    const QString warning = QStringLiteral("Warning 'Clear All Tags' will permenantly remove all tagged codes from the %1 "
                                           "grid on the main screen! Yes to Continue.")
                                .arg(c.warningWord);
    TagWindow& w = openFamily(c.row);
    seam.expectMsgBox(warning, vbYesNo + vbExclamation, vbNo);
    w.btn_Click(4);
    EXPECT_EQ(taggedKeys(c), all);
    seam.expectMsgBox(warning, vbYesNo + vbExclamation, vbYes);
    w.btn_Click(4);
    EXPECT_TRUE(taggedKeys(c).isEmpty());
    EXPECT_EQ(seam.messages().size(), 2);
}

TEST_P(FamilyTest, GoesThroughTheSignals)
{
    const FamilyCase& c = GetParam();
    TagWindow& w = openFamily(c.row);
    w.Combo1->lineEdit()->setText("cane");
    EXPECT_TRUE(w.btn(0)->isEnabled());
    w.btn(0)->click();
    EXPECT_EQ(w.Label3->text(), tagging::countLine(4));
    w.btn(2)->click();
    EXPECT_EQ(taggedKeys(c).size(), 4);
    w.Check1(1)->click();
    w.SSTab1->setCurrentIndex(1);
    EXPECT_TRUE(w.Option1(1)->isChecked());
    EXPECT_TRUE(w.Text2(1)->isEnabled());
    EXPECT_TRUE(w.Text1(0)->isEnabled());
    w.btn(3)->click();
    settle();
    EXPECT_FALSE(forms().loadedByName(kTagFamilies[c.row].window));
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FamilyCase>& info) {
                             return std::string(kTagFamilies[info.param.row].window);
                         });

TEST_F(FamilyFixture, ACodeRangeThatRunsBackwardsIsRefusedWithoutAQuery)
{
    TagWindow& w = openFamily(0);
    const qint64 before = dao::statementCount();
    seam.expectMsgBox("First code can not be greater than second code. Please try again.", vbOKOnly);
    range(w, "E0100", "A0000");
    EXPECT_EQ(dao::statementCount(), before);
    EXPECT_EQ(w.ActiveControl(), w.Text1(0));
}

TEST_F(FamilyFixture, CodeBoxesAreZeroFilledWhenLeft)
{
    TagWindow& w = openFamily(0);
    w.SSTab1->setCurrentIndex(1);
    setText(w.Text1(1), "5");
    w.Text1_LostFocus(1);
    EXPECT_EQ(w.Text1(1)->text(), "00005");
    range(w, "00000", "00005");
    EXPECT_EQ(previewKeys(w), QStringList({"00005"}));
    w.btn_Click(7);
}

TEST_F(FamilyFixture, DrgCodesAreNumbersComparedAsNumbers)
{
    TagWindow& w = openFamily(4);
    w.SSTab1->setCurrentIndex(1);
    setText(w.Text1(0), "1");
    w.Text1_LostFocus(0);
    setText(w.Text1(1), "470");
    w.Text1_LostFocus(1);
    EXPECT_EQ(w.Text1(0)->text(), "00001");
    EXPECT_EQ(w.Text1(1)->text(), "00470");
    w.btn_Click(5);
    EXPECT_EQ(previewKeys(w), QStringList({"1", "100", "2", "470"}));
    w.btn_Click(2);
    EXPECT_EQ(taggedKeys(kCases[4]), QStringList({"1", "100", "2", "470"}));
}

TEST_F(FamilyFixture, DrgCodesThatAreNoNumbersAreRefusedWithoutAQuery)
{
    for (const auto& [low, high] : {std::pair{"A1", "00470"}, std::pair{"00001", ""}, std::pair{"-1", "5"}}) {
        SCOPED_TRACE(low);
        TagWindow& w = openFamily(4);
        const qint64 before = dao::statementCount();
        seam.expectMsgBox("Code fields must be numeric for DRG", vbOKOnly);
        range(w, low, high);
        EXPECT_EQ(dao::statementCount(), before);
        EXPECT_EQ(platform::busyCount(), 0);
        EXPECT_FALSE(w.btn(2)->isVisibleTo(&w));
        w.Unload();
        settle();
    }
    TagWindow& w = openFamily(4);
    seam.expectMsgBox("First code can not be greater than second code. Please try again.", vbOKOnly);
    range(w, "500", "100");
}

TEST_F(FamilyFixture, LabPutsTheFirstCodeBackAtEveryChoiceOfTheRange)
{
    TagWindow& w = openFamily(1);
    w.SSTab1->setCurrentIndex(1);
    EXPECT_EQ(w.Text1(0)->text(), "00000");
    EXPECT_TRUE(w.btn(5)->isEnabled());
    setText(w.Text1(0), "E0100");
    w.SSTab1->setCurrentIndex(0);
    w.SSTab1->setCurrentIndex(1);
    EXPECT_EQ(w.Text1(0)->text(), "00000");
}

TEST_F(FamilyFixture, AscRangePreviewsTheSessionsCodesAndTagsEveryCodeOfTheRange)
{
    TagWindow& w = openFamily(3);
    range(w, "10021", "10040");
    // The session holds 10021 and 10022 only; each is listed with the session's description.
    EXPECT_EQ(w.Label3->text(), tagging::countLine(2));
    EXPECT_EQ(w.DBGrid1->cellText(0, 1), "FINE NEEDLE SURGEON'S BIOPSY");
    w.btn_Click(2);
    EXPECT_EQ(taggedKeys(kCases[3]), QStringList({"10021", "10022", "10030", "10040"}));
}

TEST_F(FamilyFixture, AscRangeExclusionTestsAscsOwnDescription)
{
    TagWindow& w = openFamily(3);
    // "SPECIAL" is in ASC's description of 10021, not in the session's.
    range(w, "10021", "10040", "special");
    EXPECT_EQ(previewKeys(w), QStringList({"10022"}));
    w.btn_Click(2);
    EXPECT_EQ(taggedKeys(kCases[3]), QStringList({"10022", "10030", "10040"}));
}

TEST_F(FamilyFixture, AnExclusionOfBlanksExcludesEveryCode)
{
    TagWindow& w = openFamily(0);
    search(w, "cane", "   ");
    EXPECT_EQ(w.Label3->text(), tagging::countLine(0));
    EXPECT_FALSE(w.btn(2)->isVisibleTo(&w));
}

TEST_F(FamilyFixture, JCodeWindowShowsItsCountAndQuestionInItsOwnLabels)
{
    auto& w = static_cast<frmTagJCD&>(openFamily(2));
    EXPECT_EQ(w.JCDel3->objectName(), "JCDel3");
    EXPECT_EQ(w.JCDel4->objectName(), "JCDel4");
    EXPECT_EQ(w.Label1->text(), "to");
    EXPECT_TRUE(w.Label1->isEnabled());
    search(w, "cane");
    EXPECT_EQ(w.JCDel3->text(), tagging::countLine(4));
    EXPECT_TRUE(w.JCDel3->isVisibleTo(&w));
    EXPECT_EQ(w.JCDel4->text(), "Tag these codes?");
    EXPECT_TRUE(w.JCDel4->isVisibleTo(&w));
    w.btn_Click(7);
}

TEST_F(FamilyFixture, ARefusedStatementIsShownAndTheCriteriaComeBack)
{
    TagWindow& w = openFamily(0);
    search(w, "cane");
    db().Execute("CREATE TRIGGER refuse BEFORE UPDATE ON DME BEGIN SELECT RAISE(ABORT, 'tag refused'); END");
    seam.expectMsgBox("tag refused", vbOKOnly);
    w.btn_Click(2);
    EXPECT_TRUE(taggedKeys(kCases[0]).isEmpty());
    EXPECT_TRUE(w.SSTab1->isEnabled());
    EXPECT_TRUE(w.Combo1->isEnabled());
    EXPECT_FALSE(w.btn(2)->isVisibleTo(&w));
}

}  // namespace
