#include "MainWindowTest.h"

#include "platform/forms/controls.h"

#include <QLocale>
#include <QTest>

namespace {

enum { Kelva, KelvaOpps, Dmepos, LabFees, JCodes, AscCodes, DrgCodes };

// The started program with small ASC, wage-index and DRG tables of known figures.
class AscDrgTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        withFirstSession();
        dao::Database d = db();
        d.Execute("UPDATE SESSIONS SET CURUSEADJ = -1");
        d.Execute("DELETE FROM ASCWAGEINDEX");
        const char* wage = "INSERT INTO ASCWAGEINDEX ([State Index], [State Name], [Notes], [Wage Index], [ST_Name]) "
                           "VALUES (?, ?, ?, ?, ?)";
        d.Execute(wage, {QString("99999"), QString("User Value"), dao::Variant(), 10000.0, QString("")});
        d.Execute(wage, {QString("1"), QString("AREA A"), dao::Variant(), 10000.0, QString("ALABAMA")});
        d.Execute(wage, {QString("2"), QString("AREA B"), QString("Rural floor applies"), 9543.0, QString("ALABAMA")});
        d.Execute(wage, {QString("3"), QString("AREA C"), dao::Variant(), 0.0, QString("ALABAMA")});
        d.Execute(wage, {QString("4"), QString("AREA D"), dao::Variant(), -5.0, QString("ALASKA")});
        d.Execute("DELETE FROM ASC");
        const char* asc = "INSERT INTO ASC (CODE, [Desc], trans_payment) VALUES (?, 'Sample', ?)";
        d.Execute(asc, {QString("10021"), 1234.567});
        d.Execute(asc, {QString("10022"), 0.25});
        d.Execute(asc, {QString("10023"), 0.75});
        d.Execute("DELETE FROM DRG");
        d.Execute("INSERT INTO DRG (DRG, [DESC], ARW) VALUES (1, 'GROUP 001', 1.5)");
        d.Execute("INSERT INTO DRG (DRG, [DESC], ARW) VALUES (2, 'GROUP 002', 1.2345)");
        d.Execute("UPDATE PARMS_CL SET DRGCURBASE = 5370, ASCCURMSA = 1, ASCuserdef = NULL");
    }
    void startMain()
    {
        main = &start();
        ASSERT_FALSE(programEnded());
        settleStarted();
    }
    void choose(int view) { platform::setListIndex(main->cmboCurrentView, view); }
    // The local payment rate of an ASC code as the grid's query gives it.
    double rate(const QString& code)
    {
        dao::Recordset& rs = main->Data13.Recordset();
        rs.FindFirst("CODE = ?", {code});
        EXPECT_FALSE(rs.NoMatch()) << qPrintable(code);
        return rs["ASCPAYRATE"].Value().toDouble();
    }
    void typeUserIndex(const QString& text)
    {
        platform::setListIndex(main->ASCcmboDropDown, 0);
        platform::setText(main->ASCtxtuserdefined, text);
        main->ASCtxtuserdefined_LostFocus();
    }
    QStringList listed()
    {
        QStringList l;
        for (int i = 0; i < main->ASCcmboDropDown->count(); ++i)
            l << main->ASCcmboDropDown->itemText(i);
        return l;
    }
    double drgRate(int drg)
    {
        dao::Recordset& rs = main->Data9.Recordset();
        rs.FindFirst("DRG = ?", {qint64(drg)});
        EXPECT_FALSE(rs.NoMatch());
        return rs["DRG Rate"].Value().toDouble();
    }

    frmMain* main = nullptr;
};

// ---- ASC.

TEST_F(AscDrgTest, WageIndexListAndTheIndexInUse)
{
    startMain();
    EXPECT_TRUE(main->ascwr->text().isEmpty());  // the start-up leaves it empty
    choose(AscCodes);
    // Entries not above 0 are not listed; [Notes] follows the name after one blank when there is one.
    EXPECT_EQ(listed(), QStringList({"User Value", "AREA A", "AREA B Rural floor applies"}));
    EXPECT_EQ(main->ASCcmboDropDown->currentIndex(), 1);
    EXPECT_EQ(main->ascwr->text(), "1");
    EXPECT_EQ(main->ASClblWI->text(), "1.0000");
    EXPECT_EQ(main->ASClblNotes->text(), "AREA A");
    EXPECT_TRUE(main->WIlbl->isVisibleTo(main) && main->ASClblWI->isVisibleTo(main));
    EXPECT_FALSE(main->ASCtxtuserdefined->isVisibleTo(main) || main->ASClblUserdefined->isVisibleTo(main));
    EXPECT_DOUBLE_EQ(rate("10021"), 1234.57);  // the national rate rounded to cents
    EXPECT_DOUBLE_EQ(rate("10022"), 0.25);

    platform::setListIndex(main->ASCcmboDropDown, 2);
    EXPECT_EQ(main->ascwr->text(), "0.9543");
    EXPECT_EQ(parms("ASCCURMSA").toLongLong(), 2);
    EXPECT_DOUBLE_EQ(rate("10021"), 1206.36);  // 617.2835 * 0.9543 + 617.2835

    // Other views and a second entry: each entry listed once, the index kept meanwhile.
    choose(Kelva);
    EXPECT_EQ(main->ascwr->text(), "0.9543");
    choose(AscCodes);
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(main->ASCcmboDropDown->currentIndex(), 2);
}

TEST_F(AscDrgTest, UserIndexRatesRoundHalfToEvenInAnyLocale)
{
    startMain();
    choose(AscCodes);
    platform::setListIndex(main->ASCcmboDropDown, 0);
    EXPECT_TRUE(main->ASCtxtuserdefined->isVisibleTo(main) && main->ASClblUserdefined->isVisibleTo(main));
    EXPECT_FALSE(main->WIlbl->isVisibleTo(main) || main->ASClblWI->isVisibleTo(main));
    EXPECT_EQ(main->ASCtxtuserdefined->text(), "1.0000");  // ASCuserdef Null: the "User Value" row's index

    const struct {
        const char* typed;
        const char* windex;
        double r10021, r10022, r10023;
    } cases[] = {
        {"0", "0", 617.28, 0.12, 0.38},     // half the national rate; 0.125 and 0.375 go to the even cent
        {"01.50", "1.5", 1543.21, 0.31, 0.94},
        {"2", "2", 1851.85, 0.38, 1.12},    // 0.375 and 1.125
    };
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German)}) {
        QLocale::setDefault(locale);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.typed) + " " + locale.name().toStdString());
            typeUserIndex(c.typed);
            EXPECT_EQ(main->ascwr->text(), c.windex);
            EXPECT_EQ(parms("ASCuserdef").toString(), c.typed);
            EXPECT_DOUBLE_EQ(rate("10021"), c.r10021);
            EXPECT_DOUBLE_EQ(rate("10022"), c.r10022);
            EXPECT_DOUBLE_EQ(rate("10023"), c.r10023);
        }
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    // A box without a number: the index in use stays and shows again, nothing is stored.
    for (const char* typed : {"", "."}) {
        SCOPED_TRACE(typed);
        platform::setText(main->ASCtxtuserdefined, typed);
        main->ASCtxtuserdefined_LostFocus();
        EXPECT_EQ(main->ascwr->text(), "2");
        EXPECT_EQ(main->ASCtxtuserdefined->text(), "2.0000");
        EXPECT_EQ(parms("ASCuserdef").toString(), "2");
        platform::setText(main->ASCtxtuserdefined, typed);
        main->ASClblUserdefined_Click();
        EXPECT_EQ(main->ASCtxtuserdefined->text(), "2.0000");
        EXPECT_DOUBLE_EQ(rate("10022"), 0.38);
    }

    // The label applies a changed index; the stored one comes back formatted when the entry is chosen again.
    platform::setText(main->ASCtxtuserdefined, "0.5");
    main->ASClblUserdefined_Click();
    EXPECT_EQ(main->ascwr->text(), "0.5");
    platform::setListIndex(main->ASCcmboDropDown, 1);
    platform::setListIndex(main->ASCcmboDropDown, 0);
    EXPECT_EQ(main->ASCtxtuserdefined->text(), "2.0000");
    EXPECT_EQ(main->ascwr->text(), "2");
}

TEST_F(AscDrgTest, UserIndexKeyFilter)
{
    startMain();
    choose(AscCodes);
    platform::setListIndex(main->ASCcmboDropDown, 0);
    QLineEdit* box = main->ASCtxtuserdefined;
    box->clear();
    QTest::keyClicks(box, "1.2.3-a,5");
    EXPECT_EQ(box->text(), "1.235");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "1.2");
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(AscDrgTest, StoredPositionThatIsNoEntryChoosesTheUsersOwn)
{
    startMain();
    for (const dao::Variant& stored : {dao::Variant(), dao::Variant(qint64(7)), dao::Variant(qint64(-1))}) {
        SCOPED_TRACE(stored.toString().toStdString());
        choose(Kelva);
        dao::Recordset& row = main->Data2.Recordset();
        row.Edit();
        row["ASCCURMSA"] = stored;
        row.Update();
        choose(AscCodes);
        EXPECT_EQ(main->ASCcmboDropDown->currentIndex(), 0);
        EXPECT_EQ(parms("ASCCURMSA").toLongLong(), 0);
        EXPECT_EQ(main->ascwr->text(), "1");
        EXPECT_TRUE(main->ASCtxtuserdefined->isVisibleTo(main));
    }
}

TEST_F(AscDrgTest, ViewTaggedWithoutTaggedCodesShowsAllCodes)
{
    startMain();
    choose(AscCodes);
    main->setViewTaggedCaption("View All");
    seam.expectMsgBox("There are no tagged codes.", vbOKOnly);
    main->ViewTagASC();
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
    EXPECT_EQ(main->Data13.Recordset().RecordCount(), 3);

    db().Execute("UPDATE ASC SET Tag = '+' WHERE CODE = '10022'");
    main->setViewTaggedCaption("View All");
    main->ViewTagASC();
    EXPECT_EQ(main->Data13.Recordset().RecordCount(), 1);
    EXPECT_DOUBLE_EQ(rate("10022"), 0.25);
}

// ---- DRG.

TEST_F(AscDrgTest, DrgPaymentIsBaseRateTimesWeightUnrounded)
{
    startMain();
    EXPECT_EQ(main->Combo4->currentText(), "5370.00");
    choose(DrgCodes);
    EXPECT_EQ(main->Text1(0)->text(), "001");
    EXPECT_DOUBLE_EQ(drgRate(1), 8055);
    EXPECT_DOUBLE_EQ(drgRate(2), 5370 * 1.2345);
    main->Data9.Recordset().FindFirst("DRG = 1");
    EXPECT_EQ(main->DBGrid5->Columns(9).Text(), "8,055.00");
    EXPECT_EQ(main->DBGrid5->Columns(9).Caption(), "DRG Payment");

    for (const char* typed : {"1.2", "-5370"}) {
        SCOPED_TRACE(typed);
        platform::setComboText(main->Combo4, typed);
        main->Combo4_LostFocus();
        const double base = QString(typed).toDouble();
        EXPECT_DOUBLE_EQ(parms("DRGCURBASE").toDouble(), base);
        EXPECT_DOUBLE_EQ(drgRate(1), base * 1.5);
    }

    // Restore Default stores 5370 whatever the box held.
    platform::setComboText(main->Combo4, "5-3");
    main->btnrestoredrg->click();
    EXPECT_EQ(main->Combo4->currentText(), "5370");
    EXPECT_DOUBLE_EQ(parms("DRGCURBASE").toDouble(), 5370);
    EXPECT_DOUBLE_EQ(drgRate(1), 8055);
}

TEST_F(AscDrgTest, BaseRateThatIsNoPlainNumberIsNeitherAppliedNorStored)
{
    startMain();
    choose(DrgCodes);
    platform::setComboText(main->Combo4, "1.2");
    main->Combo4_LostFocus();
    for (const char* typed : {"5-3", "1.2.3", ".", "-", ""}) {
        SCOPED_TRACE(typed);
        platform::setComboText(main->Combo4, typed);
        if (*typed)
            seam.expectMsgBox("The base rate amount must be numeric.  Please re-enter.", vbOKOnly);
        main->Combo4_LostFocus();
        EXPECT_EQ(main->Combo4->currentText(), "1.2");
        EXPECT_DOUBLE_EQ(parms("DRGCURBASE").toDouble(), 1.2);
        EXPECT_DOUBLE_EQ(drgRate(1), 1.8);
    }
}

TEST_F(AscDrgTest, BaseRateKeysAndEnter)
{
    startMain();
    choose(DrgCodes);
    main->activateWindow();
    platform::SetFocus(main->Combo4);
    platform::setComboText(main->Combo4, "");
    QTest::keyClicks(main->Combo4, "-12.5");
    EXPECT_EQ(main->Combo4->currentText(), "-12.5");
    // A refused key: the message, and the box empty.
    seam.expectMsgBox("The base rate amount must be numeric.  Please re-enter.", vbOKOnly);
    QTest::keyClick(main->Combo4, Qt::Key_Comma);
    EXPECT_EQ(main->Combo4->currentText(), "");
    QTest::keyClicks(main->Combo4, "6000");
    QTest::keyClick(main->Combo4, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(parms("DRGCURBASE").toDouble(), 6000);
    EXPECT_DOUBLE_EQ(drgRate(1), 9000);
}

TEST_F(AscDrgTest, ViewTaggedWithoutTaggedDrgsShowsOneMessageAndAllDrgs)
{
    startMain();
    choose(DrgCodes);
    main->setViewTaggedCaption("View All");
    seam.expectMsgBox("There are no tagged codes.", vbOKOnly);
    main->ViewTagDRG();
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
    EXPECT_EQ(main->Data9.Recordset().RecordCount(), 2);
    EXPECT_EQ(seam.messages().size(), 1);
}

// The Lab view leaves its detail captions shown, and the ASC and DRG views keep them: they must lie beneath the
// grid that covers them there, not be painted over its rows.
TEST_F(AscDrgTest, DetailCaptionsKeptFromTheLabViewLieBeneathTheGrids)
{
    startMain();
    for (const int view : {AscCodes, DrgCodes}) {
        choose(LabFees);
        choose(view);
        QWidget* grid = view == AscCodes ? static_cast<QWidget*>(main->DBGrid4) : main->DBGrid5;
        ASSERT_TRUE(grid->isVisibleTo(main));
        for (const int i : {10, 11}) {
            QWidget* caption = main->lbl(i);
            ASSERT_EQ(caption->parentWidget(), grid->parentWidget());
            const QObjectList stack = grid->parentWidget()->children();  // back to front
            EXPECT_LT(stack.indexOf(caption), stack.indexOf(grid)) << view << " " << i;
        }
    }
}

}  // namespace
