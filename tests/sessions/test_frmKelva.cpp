#include "sessions/KelvaFixture.h"

#include "db/feequery.h"
#include "main/frmPlimView.h"

#include <QSignalBlocker>
#include <optional>

namespace {

using platform::checkValue;

const QString kNotANumber = QStringLiteral("All boxes must have a number");
const QString kRestored = QStringLiteral(
    "This screen has been updated to show your initial default settings.  Click 'OK' to close this message then "
    "'Apply' to make these changes to the main screen or 'Cancel' to return with no update.");
const QString kUnchecked = QStringLiteral(
    "You have unchecked the work adjuster.  By doing so, KELVA Morvex will not calculate accurate Medicare fee "
    "schedules. We allow users to remove the work adjuster for calculating private pay fee schedules that "
    "specifically exclude this factor.");

class KelvaTest : public KelvaFixture {
protected:
    double fee() { return main->Data1.Recordset().Fields(db::feecol::NPart).Value().toDouble(); }
    QString code() { return main->Data1.Recordset()["CODEMOD"].Value().toString(); }
    bool isOpen() { return platform::forms().isLoaded<frmKelva>(); }
    // CARRIER and Loc of a locality of LOCATION.
    QStringList carrierOf(const QString& state, const QString& desc)
    {
        dao::Database d = db();
        dao::Recordset rs =
            d.OpenRecordset("SELECT CARRIER, LOCCODE FROM LOCATION WHERE STATE = ? AND \"DESC\" = ?", {state, desc});
        return {rs[0].Value().toString(), rs[1].Value().toString()};
    }
    QStringList storedCarrier() { return {parms("CARRIER").toString(), parms("Loc").toString()}; }
};

TEST_F(KelvaTest, OpensOnTheSessionWithItsValuesTextsAndHelp)
{
    g().PlimViewActive = -1;
    frmKelva& w = open();
    EXPECT_EQ(w.Caption(), g().AppTitle + " Settings");
    EXPECT_EQ(g().PlimViewActive, 0);
    EXPECT_FALSE(platform::forms().isLoaded<frmPlimView>());
    EXPECT_EQ(w.dspSession->text(), "Sample");
    EXPECT_EQ(w.Text1->text(), "NEW YORK - MANHATTAN");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(w.Text2(i)->text(), main->Text2(i)->text()) << i;
    EXPECT_EQ(w.kelvacf->text(), main->kelvacf->text());
    EXPECT_EQ(w.cfadjust->text(), "0");
    EXPECT_EQ(w.lbl(8)->text(), "2014 KELVA Conversion Factor (CF):");
    EXPECT_EQ(w.lbl(0)->text(), "Apply .8806 Work Adjuster:");
    EXPECT_EQ(checkValue(w.Check2), 1);
    EXPECT_FALSE(w.cfadjust->isVisibleTo(&w));
    // No ZIP code: no date, no HPSA text, the hint.
    EXPECT_EQ(w.Text2(3)->text(), "");
    EXPECT_EQ(w.Text2(4)->text(), "");
    EXPECT_EQ(w.gpcitxt(5)->text(), "");
    EXPECT_TRUE(w.txtHint->isVisibleTo(&w));
    EXPECT_TRUE(w.FrameHpsa->isEnabled());
    EXPECT_TRUE(seam.messages().isEmpty());

    w.Command3_Click();
    w.Command4_Click();
    const auto help = seam.calls("Help");
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[0].flags, 1070);
    EXPECT_EQ(help[1].flags, 1140);
    EXPECT_TRUE(help[0].text.endsWith("morvex.chm"));
}

TEST_F(KelvaTest, ShowsTheSessionsZipCodeIndicatorAndQuarter)
{
    setSession("selectzip = '01155', rualind = 'R'");
    {
        frmKelva& w = open();
        EXPECT_EQ(w.Text2(3)->text(), "01155");
        EXPECT_EQ(w.gpcitxt(5)->text(), "HPSA \"R\" Area");
        EXPECT_EQ(w.Text2(4)->text(), "1st Qtr 2014");
        EXPECT_FALSE(w.txtHint->isVisibleTo(&w));
        w.Command1_Click(0);
        settle();
    }
    // An empty indicator is none; a version ending in another digit gives no date.
    setSession("rualind = ''");
    db().Execute("UPDATE ZPLC SET Version = '20145'");
    frmKelva& w = open();
    EXPECT_EQ(w.gpcitxt(5)->text(), "Not HPSA");
    EXPECT_EQ(w.Text2(4)->text(), "");
}

TEST_F(KelvaTest, AnAdjustmentOfFiveIsStoredAsAFractionAndScalesTheFactorAfterActivation)
{
    const double before = fee();
    frmKelva& w = open();
    platform::setText(w.cfadjust, "5");
    w.Command1_Click(1);
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_DOUBLE_EQ(session("CURCONVA").toDouble(), 0.05);
    EXPECT_EQ(main->cfadjust->text(), "5 %");
    EXPECT_EQ(main->setchk->text(), "1");
    EXPECT_EQ(g().strCurrentCodemod, "99213");

    main->Form_Activate();
    EXPECT_EQ(main->setchk->text(), "0");
    EXPECT_DOUBLE_EQ(g().ConvFactor, 1.05 * session("CURCONVF").toDouble());
    EXPECT_EQ(code(), "99213");
    EXPECT_NEAR(fee(), before * 1.05, 0.011);
}

TEST_F(KelvaTest, FactorAndAdjustmentTextsAreStoredOrRefusedWhole)
{
    struct Case {
        const char* text;
        std::optional<double> factor;  // none: refused
        std::optional<double> adjust;
    };
    const Case cases[] = {{"", std::nullopt, 0.0},          {"abc", std::nullopt, std::nullopt},
                          {"0", 0.0, 0.0},                  {"36.0666", 36.0666, 0.360666},
                          {" 35.8 ", 35.8, 0.358},          {"-5", -5.0, -0.05}};
    for (const Case& c : cases) {
        for (const bool factorBox : {true, false}) {
            SCOPED_TRACE(std::string(c.text) + (factorBox ? " as factor" : " as adjustment"));
            setSession("CURCONVF = 35.8228, CURCONVA = 0.02");
            main->LoadSessionSettings();
            platform::setText(main->setchk, "0");
            g().strCurrentCodemod.clear();
            const QString row = sessionRow();
            const QString panel = main->kelvacf->text() + "|" + main->Text2(0)->text();
            const int check = checkValue(main->Check1);
            frmKelva& w = open();
            platform::setText(factorBox ? w.kelvacf : w.cfadjust, QString::fromLatin1(c.text));
            const std::optional<double> expected = factorBox ? c.factor : c.adjust;
            if (!expected)
                seam.expectMsgBox(kNotANumber, vbOKOnly);
            w.Command1_Click(1);
            if (expected) {
                EXPECT_FALSE(isOpen());
                EXPECT_NEAR(session(factorBox ? "CURCONVF" : "CURCONVA").toDouble(), *expected, 1e-12);
                EXPECT_EQ(main->setchk->text(), "1");
            } else {
                ASSERT_TRUE(isOpen());
                EXPECT_EQ(sessionRow(), row);
                EXPECT_EQ(main->kelvacf->text() + "|" + main->Text2(0)->text(), panel);
                EXPECT_EQ(checkValue(main->Check1), check);
                EXPECT_EQ(main->setchk->text(), "0");
                EXPECT_EQ(g().strCurrentCodemod, "");
                w.Command1_Click(0);
            }
            settle();
        }
    }
}

TEST_F(KelvaTest, AnEmptiedOrTextGpciBoxIsRefused)
{
    const QString row = sessionRow();
    for (const char* text : {"", "x1"}) {
        frmKelva& w = open();
        platform::setText(w.Text2(1), QString::fromLatin1(text));
        seam.expectMsgBox(kNotANumber, vbOKOnly);
        w.Command1_Click(1);
        EXPECT_TRUE(isOpen());
        EXPECT_EQ(sessionRow(), row);
        w.Command1_Click(0);
        settle();
    }
}

TEST_F(KelvaTest, TheSessionsZipCodeStaysUnlessAnotherLocalityIsApplied)
{
    setSession("selectzip = '01155', rualind = 'R'");
    auto zip = [&] { return session("selectzip").toString() + "/" + session("rualind").toString(); };

    // Applied without the locality window.
    open().Command1_Click(1);
    settle();
    EXPECT_EQ(zip(), "01155/R");

    // Applied after cancelling it, a state and a ZIP code chosen there.
    {
        frmKelva& w = open();
        changeLocality(w, [](frmLocation& l) {
            chooseState(l, "ALABAMA");
            typeZip(l, "00601");
            cancel(l);
        });
        EXPECT_EQ(w.Text1->text(), "NEW YORK - MANHATTAN");
        EXPECT_EQ(w.Text2(3)->text(), "01155");
        w.Command1_Click(1);
        settle();
    }
    EXPECT_EQ(zip(), "01155/R");
    EXPECT_EQ(session("GEOLOC").toString(), "NEW YORK - MANHATTAN");

    // A ZIP code without an indicator, looked up after one with "R", is not HPSA and replaces both.
    {
        frmKelva& w = open();
        changeLocality(w, [](frmLocation& l) {
            typeZip(l, "01311");
            typeZip(l, "00601");
            apply(l);
        });
        EXPECT_EQ(w.Text2(3)->text(), "00601");
        EXPECT_EQ(w.gpcitxt(5)->text(), "Not HPSA");
        EXPECT_EQ(w.Text2(4)->text(), "1st Qtr 2014");
        EXPECT_EQ(w.Text1->text(), "PUERTO RICO - PUERTO RICO");
        w.Command1_Click(1);
        settle();
    }
    EXPECT_EQ(session("selectzip").toString(), "00601");
    EXPECT_TRUE(session("rualind").isNull());
    EXPECT_EQ(session("GEOLOC").toString(), "PUERTO RICO - PUERTO RICO");

    // A ZIP code with an indicator.
    {
        frmKelva& w = open();
        changeLocality(w, [](frmLocation& l) {
            typeZip(l, "01155");
            apply(l);
        });
        EXPECT_EQ(w.gpcitxt(5)->text(), "HPSA \"R\" Area");
        w.Command1_Click(1);
        settle();
    }
    EXPECT_EQ(zip(), "01155/R");

    // A state stores neither.
    {
        frmKelva& w = open();
        changeLocality(w, [](frmLocation& l) {
            chooseState(l, "ALABAMA");
            apply(l);
        });
        EXPECT_EQ(w.Text2(3)->text(), "");
        EXPECT_EQ(w.gpcitxt(5)->text(), "");
        EXPECT_TRUE(w.txtHint->isVisibleTo(&w));
        w.Command1_Click(1);
        settle();
    }
    EXPECT_TRUE(session("selectzip").isNull());
    EXPECT_TRUE(session("rualind").isNull());
    EXPECT_EQ(session("GEOLOC").toString(), "ALABAMA - STATEWIDE");
    // The wizard's values are not the settings window's.
    EXPECT_EQ(g().SelectedZip, "");
    EXPECT_EQ(g().RuralInd, "");
}

TEST_F(KelvaTest, CarrierAndLocalityFollowOnlyTheStoredLocality)
{
    const QStringList manhattan = storedCarrier();
    ASSERT_EQ(manhattan, (QStringList{first.carrier, first.loc}));
    const QString row = sessionRow();

    // A locality applied there and the settings cancelled: nothing changes.
    {
        frmKelva& w = open();
        changeLocality(w, [&](frmLocation& l) {
            chooseState(l, "ALABAMA");
            apply(l);
        });
        EXPECT_EQ(storedCarrier(), manhattan);
        w.Command1_Click(0);
        settle();
    }
    EXPECT_EQ(storedCarrier(), manhattan);
    EXPECT_EQ(sessionRow(), row);

    // Applied: the stored locality's.
    {
        frmKelva& w = open();
        changeLocality(w, [&](frmLocation& l) {
            chooseState(l, "ALABAMA");
            apply(l);
        });
        w.Command1_Click(1);
        settle();
    }
    EXPECT_EQ(storedCarrier(), carrierOf("ALABAMA", "STATEWIDE"));
    EXPECT_EQ(main->Label4->text(), "ALABAMA - STATEWIDE");
    EXPECT_EQ(g().CurSesName, "Sample");

    // Restore Defaults applied: the "Default" locality's (Manhattan, as the first run left it).
    {
        frmKelva& w = open();
        seam.expectMsgBox(kRestored, vbOKOnly);
        w.Command1_Click(2);
        EXPECT_EQ(w.Text1->text(), "NEW YORK - MANHATTAN");
        EXPECT_EQ(storedCarrier(), carrierOf("ALABAMA", "STATEWIDE"));
        w.Command1_Click(1);
        settle();
    }
    EXPECT_EQ(storedCarrier(), manhattan);
    EXPECT_EQ(session("GEOLOC").toString(), "NEW YORK - MANHATTAN");
}

TEST_F(KelvaTest, RestoreDefaultsThenCancelKeepsTheRowButTheWorkAdjuster)
{
    setSession("CURUSEADJ = 0, CURCONVA = 0.1, selectzip = '01155', rualind = 'R'");
    const QString row = sessionRow();
    seam.expectMsgBox(kUnchecked, vbOKOnly);
    frmKelva& w = open();
    EXPECT_EQ(checkValue(w.Check2), 0);
    EXPECT_EQ(g().WorkAdjuster, 1.0);
    EXPECT_EQ(sessionRow(), row);  // stored again unchanged

    seam.expectMsgBox(kRestored, vbOKOnly);
    w.Command1_Click(2);
    EXPECT_EQ(checkValue(w.Check2), 1);
    EXPECT_EQ(w.cfadjust->text(), "0");
    EXPECT_EQ(w.Text2(3)->text(), "");
    EXPECT_TRUE(w.txtHint->isVisibleTo(&w));
    EXPECT_TRUE(session("CURUSEADJ").toBool());
    w.Command1_Click(0);
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(session("CURUSEADJ").toBool());
    db().Execute("UPDATE SESSIONS SET CURUSEADJ = 0 WHERE Session = 'Sample'");
    EXPECT_EQ(sessionRow(), row);
}

TEST_F(KelvaTest, TheWindowWritesItsOwnSessionAfterASwitch)
{
    frmKelva& w = open();
    choose("Coast");
    ASSERT_EQ(g().CurSesName, "Coast");
    const QStringList coast = storedCarrier();
    ASSERT_EQ(coast, (QStringList{laCarrier, laLoc}));
    const QString coastRow = sessionRow("Coast");
    const QString panel = main->kelvacf->text() + "|" + main->Label4->text();

    platform::setText(w.cfadjust, "5");
    changeLocality(w, [&](frmLocation& l) {
        chooseState(l, "ALABAMA");
        apply(l);
    });
    w.Command1_Click(1);
    EXPECT_FALSE(isOpen());
    EXPECT_DOUBLE_EQ(session("CURCONVA").toDouble(), 0.05);
    EXPECT_EQ(session("GEOLOC").toString(), "ALABAMA - STATEWIDE");
    EXPECT_EQ(sessionRow("Coast"), coastRow);
    EXPECT_EQ(storedCarrier(), coast);
    EXPECT_EQ(main->kelvacf->text() + "|" + main->Label4->text(), panel);
    EXPECT_EQ(g().CurSesName, "Coast");
    EXPECT_EQ(main->setchk->text(), "0");
}

TEST_F(KelvaTest, TheOppsViewLeavesOnlyTheLocality)
{
    {
        const QSignalBlocker block(main->cmboCurrentView);
        main->cmboCurrentView->setCurrentIndex(1);
    }
    ASSERT_EQ(main->cmboCurrentView->currentText(), "KELVA OPPS");
    frmKelva& w = open();
    EXPECT_FALSE(w.FrameHpsa->isEnabled());
    EXPECT_FALSE(w.FrameFactors->isEnabled());
    EXPECT_FALSE(w.Command1(2)->isEnabled());
    EXPECT_TRUE(w.Command2->isEnabled());
    EXPECT_TRUE(w.Command1(1)->isEnabled());
}

TEST_F(KelvaTest, TheSettingsMenuOpensTheWindowModally)
{
    seam.onModal<frmKelva>([](frmKelva& w) {
        EXPECT_EQ(w.dspSession->text(), "Sample");
        w.Command1_Click(0);
    });
    main->mnuSettings_Click(1);
    EXPECT_FALSE(isOpen());
    EXPECT_NE(platform::forms().getByName("frmKelva"), nullptr);
}

// ---- The locality window.

class LocationTest : public KelvaTest {};

TEST_F(LocationTest, OpensOnTheNationalValuesWithItsTexts)
{
    frmKelva& w = open();
    g().PlimViewActive = -1;
    changeLocality(w, [](frmLocation& l) {
        EXPECT_EQ(l.Caption(), g().AppTitle + " KELVA Morvex Locality Selection");
        EXPECT_EQ(g().PlimViewActive, 0);
        EXPECT_EQ(l.Frame2->title(), "Available State Locations:");
        EXPECT_EQ(l.btn(2)->text(), "&Apply");
        EXPECT_EQ(l.btn(0)->text(), "&Cancel");
        EXPECT_FALSE(l.Label3->isHidden());
        EXPECT_EQ(l.cmb->itemText(0), " National Values");
        EXPECT_EQ(l.cmb->currentIndex(), 0);
        EXPECT_EQ(l.lst->text(), "NATIONAL VALUES");
        EXPECT_EQ(l.Label2->text(), "Click on APPLY button below to select this item.");
        EXPECT_EQ(l.lblHelp(0)->text(), "Select a state from the available items in the list above.");
        EXPECT_TRUE(applyEnabled(l));
        apply(l);
    });
    EXPECT_EQ(w.Text1->text(), "NATIONAL VALUES");
    for (int i = 0; i < 3; ++i) {
        double v = 0;
        ASSERT_TRUE(dao::parseNumber(w.Text2(i)->text(), &v)) << qPrintable(w.Text2(i)->text());
        EXPECT_EQ(v, 1.0);
    }
}

TEST_F(LocationTest, ApplyWaitsForARowWhereThereAreSeveral)
{
    frmKelva& w = open();
    changeLocality(w, [](frmLocation& l) {
        chooseState(l, "CALIFORNIA");
        EXPECT_EQ(l.lst->text(), "Select from the items below.");
        EXPECT_EQ(l.Label2->text(), "Click anywhere on the row for the desired area then click the APPLY button "
                                    "below to update this session.");
        EXPECT_FALSE(applyEnabled(l));
        apply(l);  // does nothing
        EXPECT_TRUE(platform::forms().isLoaded<frmLocation>());
        chooseRow(l, 1);
        EXPECT_TRUE(applyEnabled(l));
        EXPECT_TRUE(l.lst->text().startsWith("CALIFORNIA - "));
        chooseState(l, "ALABAMA");
        EXPECT_EQ(l.lst->text(), "ALABAMA - STATEWIDE");
        EXPECT_TRUE(applyEnabled(l));
        chooseState(l, "CALIFORNIA");
        EXPECT_FALSE(applyEnabled(l));
        cancel(l);
    });
    EXPECT_EQ(w.Text1->text(), "NEW YORK - MANHATTAN");
}

TEST_F(LocationTest, ZipCodesNotFoundOrWithoutALocalityChooseNothing)
{
    db().Execute("INSERT INTO ZPLC (ZIPCODE, CARRIER, LOCALITY, Version) VALUES ('99998', '99999', '99', '20141')");
    frmKelva& w = open();
    changeLocality(w, [&](frmLocation& l) {
        typeZip(l, "0115");  // four characters: nothing
        EXPECT_EQ(l.lst->text(), "NATIONAL VALUES");
        seam.expectMsgBox("Zip Code entered not found", vbOKOnly);
        typeZip(l, "00000");
        EXPECT_EQ(l.lst->text(), "NATIONAL VALUES");
        EXPECT_TRUE(applyEnabled(l));
        typeZip(l, "99998");
        EXPECT_EQ(l.DBGrid1->model()->rowCount(), 0);
        EXPECT_EQ(l.lst->text(), "Select from the items below.");
        EXPECT_FALSE(applyEnabled(l));
        apply(l);
        EXPECT_TRUE(platform::forms().isLoaded<frmLocation>());
        cancel(l);
    });
    EXPECT_EQ(w.Text1->text(), "NEW YORK - MANHATTAN");
    EXPECT_EQ(w.Text2(3)->text(), "");
}

}  // namespace
