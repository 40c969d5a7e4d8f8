#include "GridFixture.h"

#include "platform/controls/BusyCursor.h"
#include "platform/controls/colours.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

namespace col = db::feecol;

class GridTest : public GridFixture {
protected:
    QLineEdit* editor()
    {
        return qobject_cast<QLineEdit*>(main->dbg->indexWidget(main->dbg->currentIndex()));
    }
    // Types into a cell as the user does: the first key opens the editor.
    void type(const QString& codemod, int column, const QString& text)
    {
        goTo(codemod, column);
        QTest::keyClick(main->dbg, Qt::Key_F2);
        ASSERT_TRUE(main->dbg->isEditing());
        editor()->selectAll();
        QTest::keyClick(editor(), Qt::Key_Backspace);
        if (!text.isEmpty())
            QTest::keyClicks(editor(), text);
    }
};

// ---- Locate.

TEST_F(GridTest, LocateFindsTheCodeInTheCodeBoxAsABoundValue)
{
    const struct {
        const char* box;
        const char* row;  // where the grid stands afterwards
    } cases[] = {
        {"99213", "99213"},         // without modifier: not 99213 with one
        {" 9921326  ", "9921326"},  // trimmed
        {"99213-26", "9921326"},    // code, any separator, modifier
        {"99213 26", "9921326"},
        {"77777", "10003"},         // missing: no message, the grid keeps its row
        {"O'Neil", "10003"},        // an apostrophe is a character like any other
        {"", "10003"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        rows().setAbsolutePosition(rowOf("10003"));
        {
            // The box as a program step left it, without its own lookup.
            const QSignalBlocker quiet(main->Text1(0));
            main->Text1(0)->setText(c.box);
        }
        main->LocateCode();
        EXPECT_EQ(currentCode(), c.row);
        EXPECT_EQ(main->dbg->MarqueeStyle(), 3);
    }
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(GridTest, OnlyTheUsersOwnColumnsCanBeTypedInto)
{
    for (int j = 0; j < main->dbg->ColumnCount(); ++j) {
        const bool own = (j >= col::S1 && j <= col::Freq5) || j == col::Notes || j == 57;
        EXPECT_EQ(main->dbg->Columns(j).Locked(), !own) << "column " << j;
    }
}

// ---- Refresh.

TEST_F(GridTest, RefreshGridEndsOnTheFirstRowColumnOneAndEmptyListsFollowTheToolbar)
{
    rows().setAbsolutePosition(3);
    db().Execute("UPDATE DATA0001 SET S2 = 7 WHERE CODEMOD = '10000'");
    main->RefreshGrid();
    EXPECT_EQ(rows().AbsolutePosition(), 0);
    EXPECT_EQ(main->dbg->Col(), 1);
    EXPECT_EQ(main->dbg->cellValue(rowOf("10000"), col::S1 + 1).toDouble(), 7);

    // The tagged list stays empty ...
    main->setViewTaggedCaption("View All");
    seam.answerMsgBox(vbOK);  // "There are no tagged codes."
    main->ViewTagRecs();
    EXPECT_EQ(rows().RecordCount(), 0);
    main->RefreshGrid();
    EXPECT_EQ(rows().RecordCount(), 0);
    // ... the all-codes list is queried again.
    main->setViewTaggedCaption("View Tagged");
    main->RefreshGrid();
    EXPECT_EQ(rows().RecordCount(), 6);
    EXPECT_EQ(main->dbgscroll->Max(), 5);
}

// ---- Scroll bars.

TEST_F(GridTest, BarsFollowTheRowAndOnlyTheUsersMoveOfABarMovesIt)
{
    rows().setAbsolutePosition(2);
    EXPECT_EQ(main->dbgscroll->Value(), 2);
    EXPECT_EQ(main->plimscroll->Value(), 2);

    // A value the program sets moves no row, and the bars keep following afterwards.
    main->dbgscroll->setValue(5);
    main->plimscroll->setValue(4);
    EXPECT_EQ(rows().AbsolutePosition(), 2);
    for (int r : {3, 1, 4}) {
        rows().setAbsolutePosition(r);
        EXPECT_EQ(main->dbgscroll->Value(), r);
        EXPECT_EQ(main->plimscroll->Value(), r);
    }

    // The user's moves: a step of either bar, a page of the grid's bar.
    main->dbgscroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(rows().AbsolutePosition(), 5);
    EXPECT_EQ(main->dbg->currentRow(), 5);
    EXPECT_EQ(main->plimscroll->Value(), 5);
    main->plimscroll->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(rows().AbsolutePosition(), 0);
    EXPECT_EQ(main->dbgscroll->Value(), 0);

    // In "KELVA OPPS" the grid's bar follows Data1 too; in a family view it is that grid's bar.
    showView("KELVA OPPS");
    rows().setAbsolutePosition(3);
    EXPECT_EQ(main->dbgscroll->Value(), 3);
    showView("DMEPOS");
    rows().setAbsolutePosition(1);
    EXPECT_EQ(main->dbgscroll->Value(), 3);
    EXPECT_EQ(main->plimscroll->Value(), 1);
}

TEST_F(GridTest, RowMovesOutsideTheOppsCapRunNoStatement)
{
    for (int i = 0; i < 20; ++i)
        addCode(QString::number(20000 + i));
    main->ViewAllRecs();
    rows().MoveFirst();
    const qint64 before = dao::statementCount();
    for (int i = 0; i < 20; ++i)
        rows().MoveNext();
    EXPECT_EQ(dao::statementCount() - before, 0);
    EXPECT_EQ(main->Text1(0)->text(), currentCode().left(5) + " ");
}

// ---- Current row.

TEST_F(GridTest, CurrentRowFillsCodePanelCaptionDescriptionAndNotes)
{
    db().Execute("UPDATE DATA0001 SET STATUS = 'g', LDESC = 'Long text', NOTES = 'Note', S2 = 4.5 "
                 "WHERE CODEMOD = '12345'");
    db().Execute("UPDATE DATA0001 SET S2 = NULL, LDESC = NULL, NOTES = NULL WHERE CODEMOD = '9921326'");
    main->ViewAllRecs();
    const int busy = platform::busyCount();
    platform::SetBusyCursor(11);
    rows().setAbsolutePosition(rowOf("12345"));
    EXPECT_EQ(platform::busyCount(), busy);
    EXPECT_EQ(main->Text1(0)->text(), "12345 ");
    EXPECT_EQ(main->Text1(1)->text(), "$4.50");
    EXPECT_EQ(main->CodeDetailFrame->title(), "Code 12345  Detail - GAP Code");
    EXPECT_EQ(main->txt(0)->text(), "Long text");
    EXPECT_EQ(main->txt(1)->text(), "Note");
    EXPECT_EQ(main->strCurrentCpt, "12345");
    EXPECT_TRUE(main->Combo1->isEnabled());

    rows().setAbsolutePosition(rowOf("9921326"));
    EXPECT_EQ(main->Text1(0)->text(), "99213 26");
    EXPECT_EQ(main->Text1(1)->text(), "$");
    EXPECT_EQ(main->CodeDetailFrame->title(), "Code 99213 26 Detail");
    EXPECT_EQ(main->txt(0)->text(), "Not Available");
    EXPECT_EQ(main->txt(1)->text(), "");

    showView("KELVA OPPS");
    rows().setAbsolutePosition(0);
    EXPECT_FALSE(main->Combo1->isEnabled());
}

TEST_F(GridTest, OppsCappedRowsShowTheOppsAmountsOfTheLocality)
{
    auto opps = [&](const QString& codemod, const QString& loc, double nft) {
        db::insertRow(db(), "DATAOPPSVIEW", {{"CODEMOD", codemod}, {"CPT", codemod.left(5)}, {"MOD", codemod.mid(5)},
                                             {"NFTTOTAL", nft}, {"FTTOTAL", nft - 10}, {"carrier", session.carrier},
                                             {"locality", loc}});
    };
    opps("99213", session.loc, 60);
    opps("9921326", session.loc, 25);
    opps("9921326", "99", 99);
    opps("10000", "99", 80);  // another locality only
    db().Execute("UPDATE DATA0001 SET Opps_Cap_Ind = 'YC' WHERE CODEMOD IN ('99213', '9921326', '10000')");
    db().Execute("UPDATE DATA0001 SET Opps_Cap_Ind = '-' WHERE CODEMOD = '10003'");
    main->ViewAllRecs();
    const qint64 red = platform::RGB(192, 0, 0), grey = platform::RGB(128, 128, 128);
    const struct {
        const char* code;
        const char* nf;
        const char* fac;
        qint64 colour;
    } cases[] = {
        {"9921326", "25", "15", red},  // with its modifier
        {"10003", "", "", grey},       // not capped
        {"99213", "60", "50", red},    // without modifier: the code alone
        {"10000", "", "", grey},       // capped, but nothing for this locality
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        rows().setAbsolutePosition(rowOf(c.code));
        EXPECT_EQ(main->lblData(19)->Caption(), c.nf);
        EXPECT_EQ(main->lblData(20)->Caption(), c.fac);
        EXPECT_EQ(platform::foreColor(main->lbldetail(20)), c.colour);
        EXPECT_EQ(platform::foreColor(main->lbldetail(21)), c.colour);
    }
}

// ---- Tags.

TEST_F(GridTest, TagToggleWritesPlusOrNull)
{
    const struct {
        dao::Variant before;
        dao::Variant after;
    } cases[] = {
        {dao::Variant(), dao::Variant("+")},
        {dao::Variant(""), dao::Variant("+")},
        {dao::Variant(" "), dao::Variant("+")},
        {dao::Variant("+"), dao::Variant()},
        {dao::Variant("x"), dao::Variant()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.isNull() ? QString("Null").toStdString() : ("'" + c.before.toString() + "'").toStdString());
        db().Execute("UPDATE DATA0001 SET Tag = ? WHERE CODEMOD = '10003'", {c.before});
        main->ViewAllRecs();
        goTo("10003", 5);
        main->GridClickPending = -1;
        main->dbg_DblClick();
        EXPECT_EQ(main->GridClickPending, 0);
        const dao::Variant now = stored("Tag", "10003");
        EXPECT_EQ(now.isNull(), c.after.isNull());
        if (!c.after.isNull()) {
            EXPECT_EQ(now.toString(), c.after.toString());
        }
        EXPECT_EQ(main->dbg->cellValue(rowOf("10003"), col::Tag).toString(), c.after.toString());
    }
}

TEST_F(GridTest, ClickIntoTheTagColumnTogglesAndAKeyboardMoveDoesNot)
{
    main->dbg->resize(1200, 400);
    goTo("10000", 2);
    // The left button goes down before the current cell moves.
    main->dbg_MouseDown(platform::vbLeftButton, 0, 0, 0);
    goTo("12345", col::Tag);
    EXPECT_EQ(stored("Tag", "12345").toString(), "+");
    EXPECT_EQ(main->dbg->Col(), 1);
    EXPECT_EQ(main->GridClickPending, 0);

    goTo("12345", col::Tag);  // a keyboard move
    EXPECT_EQ(stored("Tag", "12345").toString(), "+");
    main->dbg_MouseDown(2, 0, 0, 0);  // the right button
    goTo("12345", 1);
    goTo("12345", col::Tag);
    EXPECT_EQ(stored("Tag", "12345").toString(), "+");

    main->dbg_MouseDown(platform::vbLeftButton, 0, 0, 0);
    goTo("12345", 1);
    goTo("12345", col::Tag);  // the press led elsewhere first: nothing
    EXPECT_EQ(stored("Tag", "12345").toString(), "+");
}

// ---- Editing.

TEST_F(GridTest, EditOfAScheduleReachesTheTableAndTheFeeBox)
{
    type("10003", col::S1 + 2, "42.5");
    QTest::keyClick(editor(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(stored("S3", "10003").toDouble(), 42.5);
    main->ViewAllRecs();
    EXPECT_EQ(main->dbg->cellValue(rowOf("10003"), col::S1 + 2).toDouble(), 42.5);

    // The schedule the code panel shows (PLIMCOL 45) follows the typing.
    type("10003", col::S1 + 1, "12.5");
    EXPECT_EQ(main->Text1(1)->text(), "$12.50");
    QTest::keyClick(editor(), Qt::Key_Escape);
    goTo("10003", col::S1);
    const QString shown = main->Text1(1)->text();
    type("10003", col::S1, "3");
    EXPECT_EQ(main->Text1(1)->text(), shown);
    QTest::keyClick(editor(), Qt::Key_Escape);
}

TEST_F(GridTest, EmptiedScheduleIsNullHoweverTheCellIsLeft)
{
    const struct {
        const char* how;
        Qt::Key key;
    } cases[] = {{"Down", Qt::Key_Down}, {"Up", Qt::Key_Up}, {"Tab", Qt::Key_Tab}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        db().Execute("UPDATE DATA0001 SET S2 = 8, Freq2 = 3 WHERE CODEMOD = '10003'");
        main->ViewAllRecs();
        type("10003", col::S1 + 1, "");
        QTest::keyClick(editor(), c.key);
        QApplication::processEvents();
        EXPECT_TRUE(stored("S2", "10003").isNull());
        type("10003", col::Freq1 + 1, "");
        QTest::keyClick(editor(), c.key);
        QApplication::processEvents();
        EXPECT_TRUE(stored("Freq2", "10003").isNull());
    }
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(GridTest, DeletePutsZeroIntoSchedulesAndFrequenciesOnly)
{
    db().Execute("UPDATE DATA0001 SET NOTES = 'keep', Freq3 = 9 WHERE CODEMOD = '10000'");
    main->ViewAllRecs();
    for (int column : {col::S1, col::Freq1 + 2}) {
        goTo("10000", column);
        QTest::keyClick(main->dbg, Qt::Key_Delete);
    }
    EXPECT_EQ(stored("S1", "10000").toDouble(), 0);
    EXPECT_FALSE(stored("S1", "10000").isNull());
    EXPECT_EQ(stored("Freq3", "10000").toDouble(), 0);
    for (int column : {col::Notes, col::Cpt, col::Tag}) {
        goTo("10000", column);
        QTest::keyClick(main->dbg, Qt::Key_Delete);
    }
    EXPECT_EQ(stored("NOTES", "10000").toString(), "keep");
    EXPECT_EQ(stored("CPT", "10000").toString(), "10000");
}

TEST_F(GridTest, TextInAScheduleIsReportedWhenLeftAndTheCellGoesBackIntoEdit)
{
    rows().setAbsolutePosition(rowOf("10003"));
    const QString box = main->Text1(0)->text();
    seam.expectMsgBox("That isn't a number!", vbOKOnly);
    type("10003", col::S1 + 1, "abc");
    QTest::keyClick(editor(), Qt::Key_Down);
    EXPECT_EQ(main->Text1(0)->text(), box);  // the rest of the row change did not run
    QApplication::processEvents();
    EXPECT_EQ(main->dbg->currentRow(), rowOf("10003"));
    EXPECT_EQ(main->dbg->Col(), col::S1 + 1);
    EXPECT_TRUE(main->dbg->isEditing());
    EXPECT_EQ(main->dbg->Text(), "abc");
    EXPECT_TRUE(stored("S2", "10003").isNull());
    seam.verifyNothingLeft();

    // Correcting it writes the number.
    editor()->selectAll();
    QTest::keyClicks(editor(), "12.50");
    QTest::keyClick(editor(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(stored("S2", "10003").toDouble(), 12.5);
    EXPECT_TRUE(seam.messages().size() == 1);
}

TEST_F(GridTest, RefusedFrequencyIsReportedWithTheDataLayersDescription)
{
    seam.expectMsgBox("Data type conversion error.", vbOKOnly);
    type("10003", col::Freq1, "x1");
    QTest::keyClick(editor(), Qt::Key_Return);
    QApplication::processEvents();  // the edit is taken in
    QApplication::processEvents();  // the cell goes back into edit
    seam.verifyNothingLeft();
    ASSERT_TRUE(main->dbg->isEditing());
    EXPECT_EQ(main->dbg->Text(), "x1");
    EXPECT_TRUE(stored("Freq1", "10003").isNull());
    QTest::keyClick(editor(), Qt::Key_Escape);
}

TEST_F(GridTest, FirstFocusGoesToTheFirstRowAndEmptiesTheRecentCodes)
{
    platform::addItem(main->cmbNewCodes, "10003");
    main->cmbNewCodes->show();
    main->cmboCurrentView->setEnabled(false);
    rows().setAbsolutePosition(3);
    main->dbg_GotFocus();
    EXPECT_EQ(rows().AbsolutePosition(), 0);
    EXPECT_EQ(main->strCurrentCpt, "09999");
    EXPECT_EQ(main->cmbNewCodes->count(), 0);
    EXPECT_FALSE(main->cmbNewCodes->isVisibleTo(main.get()));
    EXPECT_TRUE(main->cmboCurrentView->isEnabled());
    rows().setAbsolutePosition(3);
    main->dbg_GotFocus();
    EXPECT_EQ(rows().AbsolutePosition(), 3);
}

}  // namespace

namespace {

TEST_F(GridTest, InTheOppsViewTagsAndEditsGoToTheOppsTable)
{
    db::insertRow(db(), "DATAOPPSVIEW", {{"CODEMOD", "10000"}, {"CPT", "10000"}, {"WORKZ", 1.0}, {"NF98WORK", 1.0},
                                         {"F98WORK", 1.0}, {"MRVU", 0.1}, {"calcflag", 1}, {"NFTTOTAL", 50.0},
                                         {"FTTOTAL", 40.0}, {"carrier", session.carrier}, {"locality", session.loc}});
    showView("KELVA OPPS");
    main->ViewAllRecs();
    ASSERT_EQ(rows().RecordCount(), 1);
    main->dbg_DblClick();
    EXPECT_EQ(stored("Tag", "10000", "DATAOPPSVIEW").toString(), "+");
    EXPECT_TRUE(stored("Tag", "10000").isNull());
    main->dbg->setCurrentIndex(main->dbg->model()->index(0, db::feecol::Freq1));
    main->dbg->setText("4");
    EXPECT_EQ(stored("Freq1", "10000", "DATAOPPSVIEW").toDouble(), 4);
    EXPECT_TRUE(stored("Freq1", "10000").isNull());
}

}  // namespace

namespace {

TEST_F(GridTest, TheBarMovesTheDataControlOfTheViewShown)
{
    for (int drg : {1, 2, 3, 4})
        db::insertRow(db(), "DRG", {{"DRG", drg}, {"DESC", QString("Group %1").arg(drg)}, {"ARW", 1.0}});
    main->Data9.setDatabase(db());
    main->Data9.setRecordSource("SELECT * FROM DRG ORDER BY DRG");
    main->Data9.Refresh();
    rows().setAbsolutePosition(1);
    showView("DRG Codes");
    main->dbgscroll->setMax(3);
    main->dbgscroll->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(main->Data9.Recordset()["DRG"].Value().toLongLong(), 4);
    EXPECT_EQ(rows().AbsolutePosition(), 1);
    main->dbgscroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(main->Data9.Recordset()["DRG"].Value().toLongLong(), 3);
}

TEST_F(GridTest, EscapeInTheCodeBoxPutsTheCurrentCodeBack)
{
    rows().setAbsolutePosition(rowOf("12345"));
    platform::setText(main->Text1(0), "9999");
    QTest::keyClick(main->Text1(0), Qt::Key_Escape);
    // Looked up again, the code reads as its row gives it.
    EXPECT_EQ(main->Text1(0)->text(), "12345 ");
}

}  // namespace
