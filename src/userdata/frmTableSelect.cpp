#include "userdata/frmTableSelect.h"

#include "main/frmMain.h"
#include "platform/controls/twips.h"
#include "platform/dao/Database.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

KELVA_FORM_NAME(frmTableSelect)

using platform::newControl;

frmTableSelect::frmTableSelect()
{
    setObjectName(QStringLiteral("frmTableSelect"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("Access Data Base Import Table Selection"));
    platform::useDesignFont(this);
    setFixedSize(platform::tw(6120), platform::tw(4500));

    // Never seen: it only carries the path from the caller.
    IDataBase = newControl<QLineEdit>(this, "IDataBase", -6000, 120, 3000, 315);
    IDataBase->hide();
    Label1 = newControl<QLabel>(this, "Label1", 120, 120, 5880, 1500);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    List1 = newControl<QListWidget>(this, "List1", 120, 1740, 5880, 2010);
    Command1.add(0, newControl<QPushButton>(this, "Command1_0", 3240, 3900, 1335, 420, QStringLiteral("Continue")));
    Command1.add(1, newControl<QPushButton>(this, "Command1_1", 4665, 3900, 1335, 420, QStringLiteral("Cancel")));
    platform::onClick(Command1, [this](int Index) { Command1_Click(Index); });
}

QString frmTableSelect::Choose(const QString& accessFile)
{
    frmTableSelect& chooser = platform::forms().get<frmTableSelect>();
    chooser.IDataBase->setText(accessFile);
    chooser.Show(vbModal);
    return platform::forms().get<frmMain>().work->text();
}

QString frmTableSelect::instruction()
{
    return QStringLiteral("The following table(s) exist in the selected Access database.  Please select the table "
                          "that contains the S1/S2 user defined fee information that you are importing to the KELVA "
                          "Morvex Program.\r\rPress 'Continue' to proceed.");
}

void frmTableSelect::Form_Activate()
{
    frmMain& main = platform::forms().get<frmMain>();
    platform::setText(main.work, QString());
    // The label shows each CR as a line break.
    platform::setText(Label1, instruction().replace(QLatin1Char('\r'), QLatin1Char('\n')));
    try {
        // Opened as the engine opens a file by default: no connect text, so no password is passed.
        platform::clearList(List1);
        dao::Database db = dao::OpenDatabase(IDataBase->text());
        for (const QString& name : db.TableNames())
            if (!name.startsWith(QLatin1String("msys"), Qt::CaseInsensitive))
                platform::addItem(List1, name);
        db.Close();
        if (List1->count() == 0)
            throw dao::Error(381, QStringLiteral("Invalid property array index"));
        platform::setListIndex(List1, 0);
    } catch (const dao::Error&) {
        seam().MsgBox(QStringLiteral("There is an error connecting to the Access data base.  If you are trying to "
                                     "import from QDX98, QDX99 or QDX00 you must use a file exported from there."));
    }
}

void frmTableSelect::Command1_Click(int Index)
{
    frmMain& main = platform::forms().get<frmMain>();
    if (Index == 0) {
        const int row = platform::listIndex(List1);
        platform::setText(main.work, row >= 0 ? List1->item(row)->text() : QString());
    } else {
        platform::setText(main.work, QStringLiteral("nothing"));
    }
    Unload();
}
