#include "sessions/frmDropSession.h"

#include "app/globals.h"
#include "db/parmsrow.h"
#include "db/sessions.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/Error.h"
#include "platform/dao/Recordset.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "sessions/wrappedlabel.h"

using platform::place;
using sessions::wrappedLabel;

namespace {

const QString kOnlySession = QStringLiteral(
    "You must have at least one available session at all times.  If you want to delete the available session you "
    "must first create a new working session.");
const QString kLastChance = QStringLiteral(
    "This is your last chance to cancel this procedure.  Clicking on OK will permenantly remove the selected "
    "session.");

int entryIndex(const QComboBox* list, const QString& text)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i) == text)
            return i;
    return -1;
}

}  // namespace

frmDropSession::frmDropSession()
{
    setObjectName(QStringLiteral("frmDropSession"));
    setCaption(QStringLiteral("Drop / Rename Session"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(6600), platform::tw(4560));
    platform::useDesignFont(this);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    place(SSTab1, 120, 120, 6360, 3720);
    auto* deleteTab = new QWidget;
    auto* renameTab = new QWidget;
    SSTab1->addTab(deleteTab, QStringLiteral("Delete Session"));
    SSTab1->addTab(renameTab, QStringLiteral("Rename Session"));

    FrameIntro = new QGroupBox(deleteTab);
    FrameIntro->setObjectName(QStringLiteral("FrameIntro"));
    place(FrameIntro, 120, 120, 6000, 3000);
    lbl.add(0, wrappedLabel(FrameIntro,
                     QStringLiteral("This option will permenantly erase a session.  Please be absolutely sure that "
                                    "this is what you want to do before continuing.  Once a session is deleted it "
                                    "can not be recovered."),
                     240, 240, 5520, 1140));
    lbl.add(1, wrappedLabel(FrameIntro, QStringLiteral("Also note that you can NOT delete the currently active session."),
                     240, 1500, 5520, 480));
    Command1.add(1, platform::newControl<QPushButton>(FrameIntro, QStringLiteral("Command1_1"), 4440, 2400, 1320,
                                                      400, QStringLiteral("Next")));

    FrameSelect = new QGroupBox(QStringLiteral("Select the session to delete:"), deleteTab);
    FrameSelect->setObjectName(QStringLiteral("FrameSelect"));
    place(FrameSelect, 120, 120, 6000, 3000);
    lbl.add(2, wrappedLabel(FrameSelect,
                     QStringLiteral("Select the session to be deleted  from the list box below.  Click CANCEL if "
                                    "this is not what you want to do."),
                     240, 360, 5520, 720));
    Combo1 = platform::newControl<QComboBox>(FrameSelect, QStringLiteral("Combo1"), 240, 1200, 5520, 330);
    Combo1->setEditable(false);
    Command1.add(2, platform::newControl<QPushButton>(FrameSelect, QStringLiteral("Command1_2"), 4440, 2400, 1320,
                                                      400, QStringLiteral("Delete")));
    FrameSelect->hide();

    lbl.add(3, wrappedLabel(renameTab, QStringLiteral("Select session to change:"), 240, 360, 5520, 285));
    Combo2 = platform::newControl<QComboBox>(renameTab, QStringLiteral("Combo2"), 240, 660, 5520, 330);
    Combo2->setEditable(false);
    lbl.add(4, wrappedLabel(renameTab, QStringLiteral("Enter the new name of the session:"), 240, 1260, 5520, 285));
    Text1 = platform::newControl<QLineEdit>(renameTab, QStringLiteral("Text1"), 240, 1560, 5520, 315);
    Text1->setMaxLength(db::kRenameMaxLength);
    Command1.add(4, platform::newControl<QPushButton>(renameTab, QStringLiteral("Command1_4"), 4440, 2520, 1320, 400,
                                                      QStringLiteral("Apply")));

    Command1.add(0, platform::newControl<QPushButton>(this, QStringLiteral("Command1_0"), 5160, 3960, 1320, 400,
                                                      QStringLiteral("Cancel")));
    wire();
}

void frmDropSession::wire()
{
    platform::onClick(Command1, [this](int Index) { Command1_Click(Index); });
}

frmMain& frmDropSession::main() const
{
    return forms().get<frmMain>();
}

QString frmDropSession::currentSession()
{
    return main().Data3.Database().scalar(QStringLiteral("SELECT CURSES FROM PARMS_CL")).toString();
}

void frmDropSession::Form_Load()
{
    const QString current = currentSession();
    QStringList sessions;
    const QComboBox* list = main().Combo1;
    for (int i = 0; i < list->count(); ++i) {
        const QString entry = list->itemText(i);
        if (entry != db::kMakeNewSessionEntry && entry != current)
            sessions << entry;
    }
    for (QComboBox* box : {Combo1, Combo2}) {
        platform::fillList(box, sessions);
        const QSignalBlocker block(box);
        box->setCurrentIndex(-1);
    }
}

void frmDropSession::Command1_Click(int Index)
{
    switch (Index) {
    case 0:
        Close();
        break;
    case 1:
        Next();
        break;
    case 2:
        Delete();
        break;
    case 4:
        Rename();
        break;
    default:
        break;
    }
}

void frmDropSession::Next()
{
    FrameIntro->hide();
    FrameSelect->show();
    if (Combo1->count() == 0) {
        seam().MsgBox(kOnlySession, vbOKOnly);
        Close();
    }
}

void frmDropSession::Delete()
{
    const QString chosen = Combo1->currentIndex() >= 0 ? Combo1->currentText() : QString();
    // Nothing chosen, or the session became the current one meanwhile: nothing to delete.
    if (chosen.isEmpty() || chosen == currentSession())
        return;
    if (seam().MsgBox(kLastChance, vbOKCancel) != vbOK) {
        Close();
        return;
    }
    frmMain& m = main();
    {
        platform::BusyCursor busy;
        bool deleted = false;
        try {
            deleted = db::deleteSession(m.Data3.Database(), chosen);
        } catch (const dao::Error& e) {
            seam().MsgBox(e.description, vbOKOnly);
            return;
        }
        if (deleted) {
            // The session rows are read again; the current session stays current.
            const QString table = g().CurSesTab;
            m.Data3.Refresh();
            m.Data3.Recordset().FindFirst(QStringLiteral("SESTAB = ?"), {table});
            if (const int i = entryIndex(m.Combo1, chosen); i >= 0)
                platform::removeItem(m.Combo1, i);
        }
    }
    Close();
}

void frmDropSession::Rename()
{
    const QString chosen = Combo2->currentIndex() >= 0 ? Combo2->currentText() : QString();
    if (chosen.trimmed().isEmpty() || chosen == currentSession()) {
        seam().MsgBox(QStringLiteral("Select a session to rename"), vbOKOnly);
        platform::SetFocus(Combo2);
        return;
    }
    const QString name = Text1->text();
    auto refuse = [this](const QString& message) {
        seam().MsgBox(message, vbOKOnly);
        platform::SetFocus(Text1);
    };
    if (name.trimmed().isEmpty()) {
        refuse(QStringLiteral("Enter a new name for the session"));
        return;
    }
    frmMain& m = main();
    dao::Database& db = m.Data3.Database();
    try {
        const db::SessionNameCheck check = db::checkRenameSessionName(db, chosen, name);
        if (check != db::SessionNameCheck::Ok) {
            refuse(db::sessionNameMessage(check));
            return;
        }
        platform::BusyCursor busy;
        if (db::renameSession(db, chosen, name)) {
            const QString table = g().CurSesTab;
            m.Data3.Refresh();
            m.Data3.Recordset().FindFirst(QStringLiteral("SESTAB = ?"), {table});
            if (const int i = entryIndex(m.Combo1, chosen); i >= 0)
                platform::removeItem(m.Combo1, i);
            platform::addItem(m.Combo1, name);
        }
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }
    Close();
}

void frmDropSession::Close()
{
    Hide();
    main().update();
    Unload();
}

KELVA_FORM_NAME(frmDropSession)
