#include "GridFixture.h"

#include "platform/controls/twips.h"

#include <QTest>

namespace {

namespace col = db::feecol;

class DetailTest : public GridFixture {
protected:
    int rightEdge(const QWidget* w) { return w->x() + w->width(); }
};

TEST_F(DetailTest, MoreAndLessSetWidthCaptionAndButtonPlaces)
{
    main->Recolumnize();
    const struct {
        int width;
        const char* caption;
    } clicks[] = {{11500, "<< Less"}, {3105, "More >>"}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.caption);
        main->btnMore_Click();
        EXPECT_EQ(main->CodeDetailFrame->width(), platform::tw(c.width));
        EXPECT_EQ(main->btnMore->text(), c.caption);
        EXPECT_EQ(rightEdge(main->btnMore), main->CodeDetailFrame->width());
        EXPECT_EQ(rightEdge(main->btnHelp), main->CodeDetailFrame->width());
    }
}

TEST_F(DetailTest, InTheOppsViewBothBoxesShowBesideThePanelEitherWay)
{
    showView("KELVA OPPS");
    for (int click = 0; click < 2; ++click) {
        main->btnMore_Click();
        for (int i : {0, 1}) {
            EXPECT_FALSE(main->txt(i)->isHidden());
            EXPECT_EQ(main->txt(i)->x(), platform::tw(4000));
            EXPECT_EQ(main->txt(i)->width(), platform::tw(7720));
        }
    }
}

TEST_F(DetailTest, HelpButtonsOpenTheirTopics)
{
    g().ProgramFolder = "/opt/kelva";
    main->btnHelp_Click();
    main->Command66_Click();
    const auto calls = seam.calls("Help");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, "/opt/kelva/morvex.chm");
    EXPECT_EQ(calls[0].flags, 970);
    EXPECT_EQ(calls[1].text, "/opt/kelva/morvex.chm");
    EXPECT_EQ(calls[1].flags, 1140);
}

TEST_F(DetailTest, CodeWithoutPhysicianRowHidesTheValuesUntilOneWithARow)
{
    db().Execute("UPDATE DATA0001 SET NOTES = 'first note', STATUS = 'A' WHERE CODEMOD = '10000'");
    main->ViewAllRecs();
    rows().setAbsolutePosition(rowOf("10000"));
    main->ShowCodeDescription();
    EXPECT_EQ(main->txt(0)->text(), "Not Available");
    EXPECT_EQ(main->txt(1)->text(), "");
    EXPECT_EQ(main->txt(1)->DataSource(), nullptr);
    for (int i = 0; i <= 14; ++i)
        EXPECT_TRUE(main->lblData(i)->isHidden()) << i;
    EXPECT_FALSE(main->c(1)->isHidden());
    EXPECT_FALSE(main->lblData(15)->isHidden());
    EXPECT_FALSE(main->lblData(16)->isHidden());
    // Moving the bound record no longer writes the notes box.
    rows().setAbsolutePosition(rowOf("10003"));
    rows().setAbsolutePosition(rowOf("10000"));

    main->ShowLongDescAndNotes();
    EXPECT_EQ(main->txt(1)->DataSource(), &main->Data1);
    EXPECT_EQ(main->txt(1)->text(), "first note");
    for (int i = 0; i <= 14; ++i)
        EXPECT_FALSE(main->lblData(i)->isHidden()) << i;
}

TEST_F(DetailTest, OppsItemsAreEnabledUnlessTheIndicatorIsADash)
{
    db().Execute("UPDATE DATA0001 SET Opps_Cap_Ind = '-' WHERE CODEMOD = '10000'");
    db().Execute("UPDATE DATA0001 SET Opps_Cap_Ind = 'YC' WHERE CODEMOD = '10003'");
    main->ViewAllRecs();
    rows().setAbsolutePosition(rowOf("10000"));
    EXPECT_FALSE(main->lbldetail(17)->isEnabled());
    EXPECT_FALSE(main->Command66->isEnabled());
    rows().setAbsolutePosition(rowOf("10003"));
    EXPECT_TRUE(main->lbldetail(17)->isEnabled());
    EXPECT_TRUE(main->Command66->isEnabled());
}

TEST_F(DetailTest, StoredTextsSnapBackAndNotesOfARowWithoutThemAreTyped)
{
    db().Execute("UPDATE DATA0001 SET LDESC = 'Stored long', NOTES = 'Stored note' WHERE CODEMOD = '10000'");
    db().Execute("UPDATE DATA0001 SET LDESC = NULL, NOTES = NULL WHERE CODEMOD = '10003'");
    main->ViewAllRecs();
    main->show();
    rows().setAbsolutePosition(rowOf("10000"));
    QTest::keyClicks(main->txt(0), "x");
    EXPECT_EQ(main->txt(0)->text(), "Stored long");
    QTest::keyClicks(main->txt(1), "y");
    EXPECT_EQ(main->txt(1)->text(), "Stored note");

    rows().setAbsolutePosition(rowOf("10003"));
    EXPECT_EQ(main->txt(0)->text(), "Not Available");
    main->txt(1)->setFocus();
    QTest::keyClicks(main->txt(1), "typed");
    EXPECT_EQ(main->txt(1)->text(), "typed");
    // The bound box writes it into the row when the record moves.
    rows().setAbsolutePosition(rowOf("10000"));
    EXPECT_EQ(stored("NOTES", "10003").toString(), "typed");
    main->hide();
}

}  // namespace
