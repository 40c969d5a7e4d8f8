#include "SearchFixture.h"

#include <QTest>

namespace {

const QString kBlank = QStringLiteral("Search field can not be blank");

class SearchWindowTest : public SearchFixture {
protected:
    // The window as an opener leaves it: fresh, "NO REPLACE" written, shown and activated.
    template <class T>
    T& open()
    {
        forms().unloadIfLoaded<T>();
        settle();
        auto& w = load<T>();
        platform::setText(w.txt(1), "NO REPLACE");
        w.Show();
        return w;
    }
    QString sentMode(search::Family f) const { return g().FindMemory[f].LastSearchOptions; }
    QStringList history()
    {
        dao::Database d = db();
        return testsupport::tableRows(d, "SHIST", "rowid");
    }
    void type(SearchWindow& w, const QString& text) { platform::setComboText(w.Combo1, text); }
    void addHistory(const QString& text) { db().Execute("INSERT INTO SHIST (HISTTEXT) VALUES (?)", {text}); }
    static QStringList listOf(const QComboBox* box)
    {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }
};

TEST_F(SearchWindowTest, EachPressSendsItsMode)
{
    auto& w = open<frmSearchDME>();
    type(w, "knee");
    w.btn_Click(0);
    EXPECT_EQ(sentMode(search::Dme), "00*00");
    EXPECT_EQ(current(search::Dme), "A0001");
    w.btn_Click(0);
    EXPECT_EQ(sentMode(search::Dme), "00*10");
    EXPECT_EQ(current(search::Dme), "A0002");
    w.btn_Click(4);
    EXPECT_EQ(sentMode(search::Dme), "00*20");
    EXPECT_EQ(current(search::Dme), "A0001");
    EXPECT_EQ(w.btn(0)->text(), "Find Next");

    type(w, "A0003");
    platform::setOptionValue(w.Option2(1), true);
    w.btn_Click(0);
    EXPECT_EQ(sentMode(search::Dme), "00100");
    EXPECT_EQ(current(search::Dme), "A0003");
    EXPECT_EQ(main->DBGrid1->Col(), 1);
    type(w, "vaccine");
    platform::setOptionValue(w.Option2(2), true);
    w.btn_Click(0);
    EXPECT_EQ(sentMode(search::Dme), "00200");
    EXPECT_EQ(main->DBGrid1->Col(), 9);
    EXPECT_EQ(g().PendingSearchText, "vaccine");
}

// A new text, then "From Current" chosen by hand, then Find after an earlier Find: selecting "Next" in
// the direction list again counts as a selection, so the press goes on from the current record.
TEST_F(SearchWindowTest, NewTextWithFromCurrentChosenGoesOn)
{
    auto& w = open<frmSearchLAB>();
    type(w, "knee");
    w.btn_Click(0);
    type(w, "total");
    EXPECT_TRUE(w.Option1(0)->isChecked());
    EXPECT_EQ(w.btn(0)->text(), "Find");
    platform::setOptionValue(w.Option1(1), true);
    w.btn_Click(0);
    EXPECT_EQ(sentMode(search::Lab), "00*10");
    EXPECT_EQ(current(search::Lab), "A0002");
}

TEST_F(SearchWindowTest, EmptyTextWithHistoryOnlySaysSo)
{
    addHistory("knee");
    auto& w = open<frmSearchJCD>();
    goTo(search::Jcd, "A0003");
    seam.expectMsgBox(kBlank, vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(history(), QStringList{"knee"});
    EXPECT_EQ(w.btn(0)->text(), "Find");
    EXPECT_FALSE(w.btn(4)->isEnabled());
    EXPECT_TRUE(w.Option1(0)->isChecked());
    EXPECT_EQ(current(search::Jcd), "A0003");
    EXPECT_TRUE(sentMode(search::Jcd).isEmpty());
    seam.expectMsgBox(kBlank, vbOKOnly);
    w.btn_Click(4);
}

TEST_F(SearchWindowTest, EmptyTextWithEmptyHistoryRunsAsAReset)
{
    auto& w = open<frmSearchASC>();
    goTo(search::Asc, "A0003");
    w.btn_Click(0);
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_EQ(w.btn(0)->text(), "Find Next");
    EXPECT_TRUE(w.Option1(1)->isChecked());
    EXPECT_TRUE(w.btn(4)->isEnabled());
    EXPECT_EQ(current(search::Asc), "A0003");
    EXPECT_TRUE(history().isEmpty());
}

TEST_F(SearchWindowTest, HistoryGainsOnlyTextsOtherThanTheNewest)
{
    addHistory("older");
    addHistory("newest");
    auto& w = open<frmSearchDRG>();
    EXPECT_EQ(listOf(w.Combo1), (QStringList{"newest", "older"}));
    type(w, "newest");
    seam.answerMsgBox(vbOK);  // in no table
    w.btn_Click(0);
    EXPECT_EQ(history(), (QStringList{"older", "newest"}));
    w.Combo1->setCurrentIndex(1);  // the user picks "older"
    EXPECT_EQ(w.btn(0)->text(), "Find");
    seam.answerMsgBox(vbOK);       // "older" is in no table
    w.btn_Click(0);
    EXPECT_EQ(history(), (QStringList{"older", "newest", "older"}));
    EXPECT_EQ(listOf(w.Combo1), (QStringList{"older", "newest", "older"}));
    EXPECT_EQ(w.Combo1->currentText(), "older");
    // Every twin shows the same history.
    auto& other = open<frmSearch>();
    EXPECT_EQ(listOf(other.Combo1), listOf(w.Combo1));
}

TEST_F(SearchWindowTest, UntickingExcludeEmptiesItsText)
{
    auto& w = open<frmSearch>();
    EXPECT_FALSE(w.Text2->isEnabled());
    w.Check1->click();
    ASSERT_TRUE(w.Text2->isEnabled());
    w.Text2->setText("arthro");
    type(w, "knee");
    w.btn_Click(0);
    EXPECT_EQ(current(search::Kelva), "A0002");
    w.Check1->click();
    EXPECT_TRUE(w.Text2->text().isEmpty());
    EXPECT_FALSE(w.Text2->isEnabled());
}

TEST_F(SearchWindowTest, ToolbarOpenerGivesAFreshWindowOfTheView)
{
    platform::setListIndex(main->cmboCurrentView, 3);
    main->ShowFindWindow(true);
    auto* w = static_cast<SearchWindow*>(forms().loadedByName("frmSearchLAB"));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->txt(1)->text(), "NO REPLACE");
    EXPECT_FALSE(w->txt(1)->isVisible());
    EXPECT_EQ(w->Caption(), "KELVA Morvex Find a Code");
    type(*w, "knee");
    w->btn_Click(0);
    ASSERT_EQ(w->btn(0)->text(), "Find Next");
    main->ShowFindWindow(true);
    auto* again = static_cast<SearchWindow*>(forms().loadedByName("frmSearchLAB"));
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, w);
    EXPECT_EQ(again->btn(0)->text(), "Find");
    EXPECT_TRUE(again->Option1(0)->isChecked());
    EXPECT_FALSE(again->btn(4)->isEnabled());
    EXPECT_TRUE(again->Combo1->currentText().isEmpty());
}

TEST_F(SearchWindowTest, EditOpenerShowsThePhysicianWindowModallyInAnyView)
{
    platform::setListIndex(main->cmboCurrentView, 3);
    seam.onModal<frmSearch>([this](frmSearch& w) {
        EXPECT_EQ(w.txt(1)->text(), "NO REPLACE");
        type(w, "total knee");
        w.btn_Click(0);
        w.btn_Click(3);
    });
    main->ShowFindWindow(false);
    EXPECT_EQ(current(search::Kelva), "A0002");
    EXPECT_EQ(forms().loadedByName("frmSearch"), nullptr);
}

// One case per window, through the controls' signals: Enter in the search box moves on to Find, Enter
// there finds, Esc closes.
class SearchWindowSignals : public SearchWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(SearchWindowSignals, KeysAndButtonsReachTheEngine)
{
    const SearchFamily& row = kSearchFamilies[GetParam()];
    const search::Family f = row.engine;
    platform::setListIndex(main->cmboCurrentView, search::kFindFamilies[f].view);
    main->ShowFindWindow(true);
    auto* w = static_cast<SearchWindow*>(forms().loadedByName(row.window));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->ScaleWidth(), row.clientWidthTwips);
    EXPECT_EQ(w->lbl(0)->objectName(), QString::fromLatin1(row.labelName));
    EXPECT_EQ(w->Option2(2)->text(), QString::fromLatin1(row.option2[2]));
    platform::SetFocus(w->Combo1);
    QTest::keyClicks(w->Combo1, "knee");
    EXPECT_EQ(w->Combo1->currentText(), "knee");
    QTest::keyClick(w->Combo1, Qt::Key_Return);
    EXPECT_EQ(w->ActiveControl(), w->btn(0));
    EXPECT_EQ(sentMode(f), "");
    QTest::keyClick(w->btn(0), Qt::Key_Return);
    EXPECT_EQ(sentMode(f), "00*00");
    EXPECT_EQ(current(f), f == search::Drg ? "1" : "A0001");
    EXPECT_EQ(w->btn(0)->text(), "Find Next");
    w->Check1->click();
    EXPECT_TRUE(w->Text2->isEnabled());
    QTest::keyClick(w->Combo1, Qt::Key_Escape);
    EXPECT_EQ(forms().loadedByName(row.window), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Twins, SearchWindowSignals, ::testing::Range(0, 6));

}  // namespace
