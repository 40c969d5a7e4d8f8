#include "sessions/FirstRunFixture.h"

#include "app/FirstTime.h"
#include "platform/forms/controls.h"
#include "sessions/frmSLocation.h"

#include <QSignalSpy>
#include <QTest>

namespace {

class frmSLocationTest : public FirstRunFixture {
protected:
    frmSLocation& open() { return load<frmSLocation>(); }
    void chooseState(frmSLocation& w, const QString& state)
    {
        platform::setListIndex(w.cmb, w.cmb->findText(state));  // runs cmb_Click
    }
    void typeZip(frmSLocation& w, const QString& zip)
    {
        w.Text1->setText(zip);
        int key = 0;
        w.Text1_KeyUp(key, 0);
    }
    void chooseRow(frmSLocation& w, int row)
    {
        w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(row, 2));
    }
    bool continueEnabled(frmSLocation& w) { return w.btn(2)->isEnabled(); }
};

TEST_F(frmSLocationTest, OpensWithEveryLocalityListedAndNothingChosen)
{
    frmSLocation& w = open();
    EXPECT_EQ(w.Caption(), "KELVA Morvex Initial Location Selection");
    EXPECT_EQ(w.Frame2->title(), "Locality Selection:");
    EXPECT_EQ(w.btn(2)->text(), "&Continue");
    EXPECT_EQ(w.btn(0)->text(), "&Back");
    EXPECT_TRUE(w.Label3->isHidden());
    EXPECT_FALSE(continueEnabled(w));
    EXPECT_EQ(w.cmb->count(), 4);
    EXPECT_EQ(w.cmb->itemText(0), " National Values");
    EXPECT_EQ(w.cmb->currentIndex(), -1);
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), 6);
    EXPECT_EQ(w.lst->text(), "No items selected.  Select from the items below.");
    EXPECT_FALSE(w.Frame1->isHidden());
    EXPECT_EQ(w.lblHelp(0)->text(), "Select a state using the drop down box above.  After installation you may "
                                    "reset KELVA Morvex to any U.S. locality.");
    EXPECT_EQ(w.lblHelp(1)->text(), "");
    EXPECT_EQ(w.lblHelp(2)->text(), "Click on \"Cancel\" to return without any changes.");
    EXPECT_EQ(w.DBGrid1->Columns(5).Caption(), "LOC CODE");
}

TEST_F(frmSLocationTest, ARowOfTheFullListCanBeChosenWithoutAState)
{
    frmSLocation& w = open();
    chooseRow(w, 3);  // keyboard or mouse: the current row moves before any choice
    EXPECT_EQ(w.lst->text(), "CALIFORNIA - SAN FRANCISCO");
    EXPECT_FALSE(continueEnabled(w));
    w.DBGrid1_Click();
    EXPECT_TRUE(continueEnabled(w));
}

TEST_F(frmSLocationTest, AStateWithOneLocalityIsChosenAtOnce)
{
    frmSLocation& w = open();
    chooseState(w, "ALABAMA");
    EXPECT_TRUE(w.Frame1->isHidden());
    EXPECT_EQ(w.lst->text(), "ALABAMA - STATEWIDE");
    EXPECT_EQ(w.Label2->text(), "Click on the 'Continue' button to select this item.");
    EXPECT_TRUE(continueEnabled(w));

    chooseState(w, " National Values");
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), 1);
    EXPECT_EQ(w.lst->text(), "NATIONAL VALUES");
    EXPECT_TRUE(continueEnabled(w));
}

TEST_F(frmSLocationTest, SeveralLocalitiesWaitForARowEvenAfterAnEarlierChoice)
{
    frmSLocation& w = open();
    chooseState(w, "ALABAMA");
    ASSERT_TRUE(continueEnabled(w));
    chooseState(w, "CALIFORNIA");
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), 3);
    EXPECT_EQ(w.lst->text(), "Select from the items below.");
    EXPECT_EQ(w.Label2->text(),
              "Click anywhere on the row that applies to your area then click the 'Continue' button.");
    EXPECT_FALSE(continueEnabled(w));
    w.btn_Click(2);  // refused while nothing is chosen
    EXPECT_TRUE(w.isLoaded());
    EXPECT_TRUE(parms("CARRIER").isNull());

    chooseRow(w, 1);  // listed by description
    EXPECT_EQ(w.lst->text(), "CALIFORNIA - REST OF CALIFORNIA");
    EXPECT_TRUE(continueEnabled(w));

    // The first row, already current, is chosen by clicking it.
    chooseState(w, "CALIFORNIA");
    EXPECT_FALSE(continueEnabled(w));
    w.DBGrid1_Click();
    EXPECT_EQ(w.lst->text(), "CALIFORNIA - LOS ANGELES");
    EXPECT_TRUE(continueEnabled(w));
}

TEST_F(frmSLocationTest, ZipCodeFindsItsLocality)
{
    frmSLocation& w = open();
    typeZip(w, "3500");  // four characters: no lookup
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), 6);
    EXPECT_TRUE(g().SelectedZip.isEmpty());

    typeZip(w, "35004");
    EXPECT_EQ(g().SelectedZip, "35004");
    EXPECT_EQ(g().RuralInd, "B");
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), 1);
    EXPECT_EQ(w.lst->text(), "ALABAMA - STATEWIDE");
    EXPECT_TRUE(continueEnabled(w));
    EXPECT_GE(seam.doEventsCount(), 1);

    // An unknown ZIP code says so and leaves the choice as it was.
    seam.expectMsgBox("Zip Code entered not found", vbOKOnly);
    typeZip(w, "00000");
    EXPECT_EQ(w.lst->text(), "ALABAMA - STATEWIDE");
    EXPECT_EQ(g().SelectedZip, "35004");
    EXPECT_TRUE(continueEnabled(w));

    // A locality then taken from the state list is no longer the ZIP code's.
    chooseState(w, "NEW YORK");
    EXPECT_TRUE(g().SelectedZip.isEmpty());
    EXPECT_TRUE(g().RuralInd.isEmpty());
}

TEST_F(frmSLocationTest, AZipCodeWithoutALocalityRowOffersNothing)
{
    frmSLocation& w = open();
    chooseState(w, "ALABAMA");
    typeZip(w, "99999");
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), 0);
    EXPECT_EQ(w.lst->text(), "Select from the items below.");
    EXPECT_FALSE(continueEnabled(w));
    w.btn_Click(2);
    EXPECT_TRUE(w.isLoaded());
}

TEST_F(frmSLocationTest, ContinueFillsTheWizardAndTheParameterRow)
{
    FirstTime& wizard = load<FirstTime>();
    frmSLocation& w = open();
    chooseState(w, "CALIFORNIA");
    chooseRow(w, 2);
    w.btn_Click(2);
    EXPECT_FALSE(forms().isLoaded<frmSLocation>());
    EXPECT_EQ(wizard.CURWORKGPCI->text(), "1.068");
    EXPECT_EQ(wizard.CURPRACGPCI->text(), "1.464");
    EXPECT_EQ(wizard.CURMALPGPCI->text(), "0.49");
    EXPECT_EQ(wizard.GEOLOC->text(), "CALIFORNIA - SAN FRANCISCO");
    EXPECT_EQ(parms("CARRIER").toString(), "01112");
    EXPECT_EQ(parms("Loc").toString(), "05");
}

TEST_F(frmSLocationTest, BackAndTheCloseBoxReturnTheWizardToItsFirstPage)
{
    for (const bool closeBox : {false, true}) {
        FirstTime& wizard = load<FirstTime>();
        wizard.btn(0)->setText("Back");
        wizard.step->setText("2");
        frmSLocation& w = open();
        chooseState(w, "ALABAMA");
        if (closeBox)
            forms().Unload(w, vbFormControlMenu);
        else
            w.btn_Click(0);
        EXPECT_FALSE(forms().isLoaded<frmSLocation>());
        EXPECT_EQ(wizard.step->text(), "1");
        EXPECT_EQ(wizard.btn(0)->text(), "Cancel");
        EXPECT_TRUE(wizard.CURWORKGPCI->text().isEmpty());
        EXPECT_TRUE(parms("CARRIER").isNull());
        forms().discardAll();
        settle();
    }
}

TEST_F(frmSLocationTest, WorksThroughItsControls)
{
    FirstTime& wizard = load<FirstTime>();
    frmSLocation& w = open();
    w.SSTab1->setCurrentIndex(1);
    QTest::keyClicks(w.Text1, "10001");  // the lookup runs as the fifth key comes up
    EXPECT_EQ(w.lst->text(), "NEW YORK - MANHATTAN");
    EXPECT_EQ(g().RuralInd, "");
    QTest::mouseClick(w.btn(2), Qt::LeftButton);
    EXPECT_EQ(wizard.GEOLOC->text(), "NEW YORK - MANHATTAN");
    EXPECT_EQ(parms("Loc").toString(), "01");
}

}  // namespace
