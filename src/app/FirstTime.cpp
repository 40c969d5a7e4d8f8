#include "app/FirstTime.h"

#include "app/endprogram.h"
#include "app/globals.h"
#include "db/sessions.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/Transaction.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "sessions/frmSLocation.h"

using platform::place;
using platform::SetBusyCursor;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

double gpci(const QLineEdit* box)
{
    double value = 0;
    if (!dao::parseNumber(box->text(), &value))
        throw dao::Error(dao::errConversion, QStringLiteral("Data type conversion error."));
    return value;
}

// The main window's live parameter row reads the row again, so that it shows what was written around it.
void refreshMainParms()
{
    if (frmMain* main = forms().loadedOrNull<frmMain>(); main && main->Data2.hasRecordset())
        main->Data2.Refresh();
}

}  // namespace

FirstTime::FirstTime()
{
    setObjectName("FirstTime");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(6720), platform::tw(4680));

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    place(Frame1, 120, 120, 6480, 3780);
    lbl.add(0, new QLabel(Frame1));
    lbl(0)->setObjectName("lbl_0");
    place(lbl(0), 240, 360, 6000, 2400);
    lbl(0)->setWordWrap(true);
    lbl(0)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSession = new QLabel("Initial Session Name:", Frame1);
    lblSession->setObjectName("lblSession");
    place(lblSession, 240, 3060, 2040, 300);
    txtSession = new QLineEdit(Frame1);
    txtSession->setObjectName("txtSession");
    txtSession->setMaxLength(db::kSessionNameMaxLength);
    place(txtSession, 2340, 3000, 3900, 360);

    btn.add(0, platform::newControl<QPushButton>(this, "btn_0", 3840, 4080, 1275, 400, "Cancel"));
    btn.add(1, platform::newControl<QPushButton>(this, "btn_1", 5280, 4080, 1275, 400, "Next"));

    step = new QLineEdit(this);
    CURWORKGPCI = new QLineEdit(this);
    CURPRACGPCI = new QLineEdit(this);
    CURMALPGPCI = new QLineEdit(this);
    GEOLOC = new QLineEdit(this);
    for (auto [box, name] : {std::pair{step, "step"}, {CURWORKGPCI, "CURWORKGPCI"}, {CURPRACGPCI, "CURPRACGPCI"},
                             {CURMALPGPCI, "CURMALPGPCI"}, {GEOLOC, "GEOLOC"}}) {
        box->setObjectName(name);
        box->hide();
    }
    wire();
}

void FirstTime::wire()
{
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
}

void FirstTime::Form_Load()
{
    setCaption(g().AppTitle + " First Time Setup");
    SetBusyCursor(0);
    ShowFirstPage();
    platform::setText(step, "1");
}

void FirstTime::Form_QueryUnload(int& Cancel, int UnloadMode)
{
    // The close box is Cancel: without a first session there is nothing to start.
    if (UnloadMode == vbFormControlMenu) {
        Cancel = 1;
        CancelSetup();
    }
}

void FirstTime::ShowFirstPage()
{
    SetBusyCursor(0);
    Frame1->setTitle("Welcome to KELVA initial set up: ");
    platform::setText(lbl(0), "KELVA Morvex allows you to save your user defined fees, custom fee schedules, display "
                              "preferences and other settings in a \"Session.\"" +
                                  kCrLf + kCrLf +
                                  "Your initial session name is displayed below.  After installation you may create "
                                  "and modify additional sessions." +
                                  kCrLf + kCrLf + "Click 'NEXT' to continue.");
    lblSession->show();
    txtSession->show();
    btn(0)->setText("Cancel");
    btn(1)->setText("Next");
}

void FirstTime::ShowFinalPage()
{
    Frame1->setTitle("Final Step - Create tables and start KELVA Morvex: ");
    platform::setText(lbl(0), kCrLf + kCrLf +
                                  "Click 'FINISH' to complete installation and start KELVA Morvex or click 'BACK' to "
                                  "return to the previous menu." +
                                  kCrLf + kCrLf +
                                  "After installation, select 'Help' from the main menu bar to browse the extensive "
                                  "help files for tips, suggestions, and definitions.");
    btn(1)->setText("Finish");
}

void FirstTime::btn_Click(int Index)
{
    SetBusyCursor(0);
    txtSession->hide();
    lblSession->hide();
    if (Index == 0) {
        if (btn(0)->text() == QLatin1String("Cancel")) {
            CancelSetup();
            return;
        }
        platform::setText(step, "1");
        ShowFirstPage();
        return;
    }
    btn(0)->setText("Back");
    platform::setText(step, QString::number(step->text().toInt() + 1));
    if (step->text() == QLatin1String("2")) {
        LocalityStep();
    } else if (step->text() == QLatin1String("3")) {
        try {
            SetupTables();
        } catch (const dao::Error&) {
            // Nothing was written: the final page stands as it was.
            platform::setText(step, "2");
            throw;
        }
        Unload();
    }
}

void FirstTime::LocalityStep()
{
    SetBusyCursor(0);
    const db::SessionNameCheck check = db::checkNewSessionName(g().MainDb, txtSession->text());
    if (check != db::SessionNameCheck::Ok) {
        SetBusyCursor(0);
        seam().MsgBox(db::sessionNameMessage(check), vbOKOnly);
        platform::setText(step, "1");
        ShowFirstPage();
        return;
    }
    forms().unloadIfLoaded<frmSLocation>();
    forms().get<frmSLocation>().Show(vbModal);
    if (programEnded())
        return;
    if (step->text() == QLatin1String("1"))
        ShowFirstPage();
    else
        ShowFinalPage();
}

void FirstTime::CancelSetup()
{
    // Closing the main window closes every window and ends the program; nothing more is written.
    if (frmMain* main = forms().loadedOrNull<frmMain>())
        forms().Unload(*main);
    else
        Unload();
    EndProgram(0);
}

void FirstTime::SetupTables()
{
    dao::Database& mainDb = g().MainDb;
    const QString name = txtSession->text();
    try {
        dao::Transaction trans(mainDb);
        mainDb.Execute("UPDATE SESSIONS SET PLIMCOL = 19, CURWORKGPCI = ?, CURPRACGPCI = ?, CURMALPGPCI = ?, GEOLOC = ? "
                   "WHERE Session = ?",
                   {gpci(CURWORKGPCI), gpci(CURPRACGPCI), gpci(CURMALPGPCI), GEOLOC->text(), db::kDefaultSession});
        if (mainDb.RecordsAffected() == 0)
            throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
        CreateFirstSession();
        mainDb.Execute("UPDATE PARMS_CL SET SESCOUNT = ?, CURSES = ?, CreateTables = 1", {2, name});
        trans.Commit();
    } catch (const dao::Error&) {
        refreshMainParms();
        throw;
    }
    refreshMainParms();
    g().SelectedZip.clear();
}

void FirstTime::CreateFirstSession()
{
    platform::BusyCursor busy;
    db::SessionValues values{{"CURWORKGPCI", gpci(CURWORKGPCI)}, {"CURPRACGPCI", gpci(CURPRACGPCI)},
                             {"CURMALPGPCI", gpci(CURMALPGPCI)}, {"GEOLOC", GEOLOC->text()},
                             {"CV44", true},                     {"CV45", true}};
    // A locality found by its ZIP code keeps the ZIP code and its rural indicator.
    if (!g().SelectedZip.isEmpty()) {
        values.emplace_back("selectzip", g().SelectedZip);
        values.emplace_back("rualind", g().RuralInd);
    }
    db::createSession(g().MainDb, {txtSession->text(), db::kDefaultSession, 1, values});
}

KELVA_FORM_NAME(FirstTime)
