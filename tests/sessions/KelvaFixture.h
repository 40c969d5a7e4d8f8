#pragma once

#include "main/MainWindowTest.h"
#include "platform/forms/controls.h"
#include "sessions/frmKelva.h"
#include "sessions/frmLocation.h"

#include <functional>

// The started program on the sample data with two sessions: "Sample" in Manhattan (current, work adjuster
// on, the grid on 99213) and "Coast" in Los Angeles. Helpers open the fee-scale settings and drive the
// locality window through the scripted seam.
class KelvaFixture : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        first = withFirstSession();
        dao::Database d = db();
        d.Execute("UPDATE SESSIONS SET CURUSEADJ = -1");
        dao::Recordset la = d.OpenRecordset("SELECT CARRIER, LOCCODE, WORK, PRACT, MALP FROM LOCATION WHERE "
                                            "STATE = 'CALIFORNIA' AND \"DESC\" = 'LOS ANGELES'");
        laCarrier = la["CARRIER"].Value().toString();
        laLoc = la["LOCCODE"].Value().toString();
        db::NewSession coast;
        coast.name = "Coast";
        coast.number = 2;
        coast.values = {{"CURWORKGPCI", la["WORK"].Value()}, {"CURPRACGPCI", la["PRACT"].Value()},
                        {"CURMALPGPCI", la["MALP"].Value()}, {"GEOLOC", "CALIFORNIA - LOS ANGELES"},
                        {"CURUSEADJ", -1}};
        la.Close();
        db::createSession(d, coast);
        d.Execute("UPDATE PARMS_CL SET SESCOUNT = 3");
        main = &start();
        ASSERT_FALSE(programEnded());
        goToCode(*main, "99213");
        settleStarted();
    }

    frmKelva& open() { return load<frmKelva>(); }

    dao::Variant session(const QString& column, const QString& name = "Sample") const
    {
        return db().scalar(QStringLiteral("SELECT %1 FROM SESSIONS WHERE Session = ?").arg(column), {name});
    }
    // Every column of a session row, joined, to compare a row before and after.
    QString sessionRow(const QString& name = "Sample") const
    {
        dao::Database d = db();
        dao::Recordset rs = d.OpenRecordset("SELECT * FROM SESSIONS WHERE Session = ?", {name});
        QStringList cells;
        for (int i = 0; i < rs.FieldCount(); ++i)
            cells << (rs.Fields(i).Value().isNull() ? QStringLiteral("<null>") : rs.Fields(i).Value().toString());
        return cells.join('|');
    }
    // Changes the file's row of "Sample" and lets the main window's live row read it.
    void setSession(const QString& assignments, const QString& name = "Sample")
    {
        db().Execute(QStringLiteral("UPDATE SESSIONS SET %1 WHERE Session = ?").arg(assignments), {name});
        main->Data3.Refresh();
        main->Data3.Recordset().FindFirst(QStringLiteral("Session = ?"), {g().CurSesName});
    }
    void choose(const QString& session)
    {
        const int i = main->Combo1->findText(session);
        ASSERT_GE(i, 0);
        platform::setListIndex(main->Combo1, i);
    }

    // "Change Locality", with script run on the locality window; it must apply or cancel.
    void changeLocality(frmKelva& w, std::function<void(frmLocation&)> script)
    {
        seam.onModal<frmLocation>(std::move(script));
        w.Command2_Click();
    }
    static void chooseState(frmLocation& l, const QString& state)
    {
        platform::setListIndex(l.cmb, l.cmb->findText(state));
    }
    static void typeZip(frmLocation& l, const QString& zip)
    {
        l.Text1->setText(zip);
        int key = 0;
        l.Text1_KeyUp(key, 0);
    }
    static void chooseRow(frmLocation& l, int row) { l.DBGrid1->setCurrentIndex(l.DBGrid1->model()->index(row, 2)); }
    static bool applyEnabled(frmLocation& l) { return l.btn(2)->isEnabled(); }
    static void apply(frmLocation& l) { l.btn_Click(2); }
    static void cancel(frmLocation& l) { l.btn_Click(0); }

    testsupport::FirstSession first;
    QString laCarrier, laLoc;
    frmMain* main = nullptr;
};
