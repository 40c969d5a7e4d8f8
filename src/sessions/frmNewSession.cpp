#include "sessions/frmNewSession.h"

#include "app/frmExpireMsg.h"
#include "app/globals.h"
#include "db/sessions.h"
#include "main/frmMain.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/Error.h"
#include "platform/dao/Recordset.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "sessions/wrappedlabel.h"

#include <QDate>

using platform::place;
using sessions::wrappedLabel;

namespace {

const QString kCreated = QStringLiteral(
    "The new session has been created and is available in the drop down session box on the main browser.");

}  // namespace

frmNewSession::frmNewSession()
{
    setObjectName(QStringLiteral("frmNewSession"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(6960), platform::tw(5400));
    platform::useDesignFont(this);

    Frame1 = new QGroupBox(QStringLiteral("New Session Options "), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, 120, 120, 6720, 2760);
    Option1.add(1, platform::newControl<QRadioButton>(Frame1, QStringLiteral("Option1_1"), 240, 300, 3000, 285));
    Option1.add(0, platform::newControl<QRadioButton>(Frame1, QStringLiteral("Option1_0"), 3360, 300, 3000, 285));
    lbl.add(0, wrappedLabel(Frame1, QString(), 240, 720, 6240, 1920));
    Label1 = wrappedLabel(Frame1, QStringLiteral("Select From Existing Sessions:"), 240, 780, 3000, 285);
    Combo1 = platform::newControl<QComboBox>(Frame1, QStringLiteral("Combo1"), 240, 1080, 4200, 330);
    Combo1->setEditable(false);

    Frame3 = new QGroupBox(QStringLiteral("Select New Session Name:"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    place(Frame3, 120, 120, 6720, 2760);
    Label2 = wrappedLabel(Frame3, QStringLiteral("New Session Name:"), 240, 330, 1560, 285);
    Text1 = platform::newControl<QLineEdit>(Frame3, QStringLiteral("Text1"), 1860, 300, 4620, 315);
    Text1->setMaxLength(db::kSessionNameMaxLength);
    lbl.add(2, wrappedLabel(Frame3, QString(), 240, 780, 6240, 1860));
    Frame3->hide();

    Frame2 = new QGroupBox(QStringLiteral("Hint:"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    place(Frame2, 120, 3000, 6720, 1680);
    lbl.add(1, wrappedLabel(Frame2, QString(), 240, 300, 6240, 1260));

    cmd.add(1, platform::newControl<QPushButton>(this, QStringLiteral("cmd_1"), 4080, 4860, 1320, 400,
                                                 QStringLiteral("Continue")));
    cmd.add(0, platform::newControl<QPushButton>(this, QStringLiteral("cmd_0"), 5520, 4860, 1320, 400,
                                                 QStringLiteral("Cancel")));
    LoadChk = new QLineEdit(this);
    LoadChk->setObjectName(QStringLiteral("LoadChk"));
    LoadChk->hide();
    wire();
}

void frmNewSession::wire()
{
    using namespace platform;
    onClick(Option1, [this](int Index) { Option1_Click(Index); });
    onClick(cmd, [this](int Index) { cmd_Click(Index); });
}

frmMain& frmNewSession::main() const
{
    return forms().get<frmMain>();
}

void frmNewSession::Form_Load()
{
    setCaption(g().AppTitle + QStringLiteral(" Create New KELVA Session"));
    forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;

    platform::setOptionValue(Option1(1), true);
    Option1_Click(1);
    Option1(1)->setText(QStringLiteral("Create from Default"));
    Option1(0)->setText(QStringLiteral("Copy Existing Session"));
    const QString crlf = QStringLiteral("\r\n");
    platform::setText(lbl(0), QStringLiteral("You may select \"Create from Default\" which will build a new session "
                                             "using the same default settings used in the initial start up session "
                                             "created when KELVA Morvex was installed on your system.") +
                                  crlf + crlf +
                                  QStringLiteral("\"Copy Existing Session\" will create a new session identical to "
                                                 "an existing session."));
    platform::setText(lbl(1), QStringLiteral("A session is defined as all of the settings (conversion factor, tagged "
                                             "codes, user defined fees for schedules S1 through S5, etc.) associated "
                                             "with a physician or a clinic.") +
                                  crlf + crlf);
    platform::setText(lbl(2), QStringLiteral("Enter a name for your new session.  A typical session name is "
                                             "disciptive such as a doctor or clinic name, or some other short, "
                                             "informational text.") +
                                  crlf + crlf +
                                  QStringLiteral("The session name may be 1 to 50 characters in length and must be "
                                                 "different from existing session names."));

    QStringList sessions;
    const QComboBox* list = main().Combo1;
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i) != db::kMakeNewSessionEntry)
            sessions << list->itemText(i);
    platform::fillList(Combo1, sessions);
    if (Combo1->count() > 0) {
        const QSignalBlocker block(Combo1);
        Combo1->setCurrentIndex(0);
    }
    platform::setText(LoadChk, QStringLiteral("1"));
}

void frmNewSession::Form_Activate()
{
    const QDate today = seam().Now().date();
    if (today >= QDate(2014, 11, 1) && today <= QDate(2015, 1, 1) && LoadChk->text() == QLatin1String("1")) {
        platform::setText(LoadChk, QStringLiteral("2"));
        forms().get<frmExpireMsg>().Show(vbModal);
    }
    platform::setText(LoadChk, QStringLiteral("2"));
}

void frmNewSession::Option1_Click(int Index)
{
    const bool copy = Index == 0;
    Label1->setVisible(copy);
    Combo1->setVisible(copy);
    lbl(0)->setVisible(!copy);
}

void frmNewSession::cmd_Click(int Index)
{
    if (Index == 0)
        Close();
    else if (Index == 1)
        Continue();
}

void frmNewSession::Continue()
{
    const QString name = Text1->text();
    if (name.contains(QLatin1Char('"'))) {
        seam().MsgBox(db::sessionNameMessage(db::SessionNameCheck::HasQuote), vbOKOnly);
        return;
    }
    if (Frame3->isHidden()) {
        Frame1->hide();
        Frame3->show();
        platform::SetFocus(Text1);
        return;
    }

    frmMain& m = main();
    dao::Database& db = m.Data3.Database();
    const auto refuse = [&](db::SessionNameCheck check) {
        seam().MsgBox(db::sessionNameMessage(check), vbOKOnly);
        platform::SetFocus(Text1);
    };
    // Names follow the first run's rules, and no session takes the list's own entry.
    db::SessionNameCheck check = db::checkNewSessionName(db, name);
    if (check == db::SessionNameCheck::Ok && name.compare(db::kMakeNewSessionEntry, Qt::CaseInsensitive) == 0)
        check = db::SessionNameCheck::InUse;
    if (check != db::SessionNameCheck::Ok) {
        refuse(check);
        return;
    }
    const QString source = Option1(1)->isChecked() ? db::kDefaultSession : Combo1->currentText();

    QString table;
    {
        platform::BusyCursor busy;
        try {
            table = db::createUserSession(db, name, source);
        } catch (const dao::Error& e) {
            seam().MsgBox(e.description, vbOKOnly);
            return;
        }
        if (table.isEmpty())
            return;  // the source session is gone: nothing made
        platform::addItem(m.Combo1, name);
        // The parameter row and the session rows are read again; the current session stays current.
        m.Data2.Refresh();
        m.Data3.Refresh();
        auto& sessions = m.Data3.Recordset();
        sessions.FindFirst(QStringLiteral("Session = ?"), {m.Parms().get(db::ParmsRow::CURSES)});
        if (sessions.NoMatch() && !sessions.EOF())
            sessions.MoveFirst();
    }
    seam().MsgBox(kCreated, vbOKOnly);
    Close();
}

void frmNewSession::Close()
{
    Hide();
    main().update();
    Unload();
}

KELVA_FORM_NAME(frmNewSession)
