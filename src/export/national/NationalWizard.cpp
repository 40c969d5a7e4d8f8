#include "export/national/NationalWizard.h"

#include "app/globals.h"
#include "export/ExprtInd.h"
#include "export/national/runguard.h"
#include "export/rules/exportrules.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QFileInfo>

using platform::newControl;

namespace {

const QString kWarning = QStringLiteral(
    "Note: The National Export Wizard may take up to 10 minutes on a slower computer. Do not stop/kill this process "
    "once initiated. Doing so may corrupt your main kelva.mdb Access table and require a reinstallation.");
const QString kNotNumeric =
    QStringLiteral("The percentage increase/decrease amount must be numeric.  Please re-enter.");
const QString kOverwrite = QStringLiteral("File already exits.  Do you wish to overwrite this file?");
const QString kExportFailed = QStringLiteral("Error exporting to the path and filename selected");
const QString kPromptFailed = QStringLiteral("Errors Occured during export attempt: ");

constexpr int kHourglass = 11;

struct Family {
    int option;
    const char* code;
    const char* prefix;
};
constexpr Family kFamilies[] = {
    {0, "KELVA", "NATKELVA"}, {1, "LAB", "NATLAB"}, {2, "DME", "NATDME"}, {3, "JCD", "NATJCODE"}};

QFrame* page(QWidget* parent, const char* name, int height)
{
    auto* f = newControl<QFrame>(parent, QString::fromLatin1(name), 120, 120, 4455, height);
    f->setFrameShape(QFrame::Box);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

QLabel* label(QWidget* parent, const char* name, int left, int top, int width, int height, const QString& text,
              bool bold)
{
    auto* l = newControl<QLabel>(parent, QString::fromLatin1(name), left, top, width, height, text);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

}  // namespace

NationalWizard::NationalWizard(const WizardRow& r) : row(r)
{
    setObjectName(QString::fromLatin1(row.window));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QString::fromLatin1(row.caption));
    platform::useDesignFont(this);
    setFixedSize(platform::tw(4680), platform::tw(3690));

    Frame3 = page(this, "Frame3", 3015);
    Label3 = label(Frame3, "Label3", 120, 180, 4215, 1020, QString::fromLatin1(row.introNote), true);
    Label2 = label(Frame3, "Label2", 120, 1320, 4215, 1500, kWarning, false);
    QPalette red = Label2->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    Label2->setPalette(red);

    Frame1 = page(this, "Frame1", 2535);
    Label1 = label(Frame1, "Label1", 240, 240, 3975, 255, QStringLiteral("Choose a table for exporting."), true);
    const char* families[] = {"KELVA", "LAB", "DMEPOS", "JCODES"};
    for (int i = 0; i < 4; ++i)
        Option1.add(i, newControl<QRadioButton>(Frame1, "Option1", 600, 720 + 360 * i, 3000, 255,
                                                QString::fromLatin1(families[i])));

    Frame4 = page(this, "Frame4", 2535);
    Label4 = label(Frame4, "Label4", 240, 240, 3975, 255, QStringLiteral("Choose KELVA Information Type"), true);
    Option1.add(7, newControl<QRadioButton>(Frame4, "Option1", 600, 720, 3600, 255,
                                            QStringLiteral("Non Facility Participating Fee")));
    Option1.add(6, newControl<QRadioButton>(Frame4, "Option1", 600, 1080, 3600, 255,
                                            QStringLiteral("Facility Participating Fee")));
    lbl.add(2, label(Frame4, "lbl", 240, 1680, 3135, 450,
                     QStringLiteral("Percentage increase / decrease of fees for export:"), false));
    Text1 = newControl<QLineEdit>(Frame4, "Text1", 3420, 1680, 615, 315);
    Text1->setMaxLength(4);
    QFont bold = Text1->font();
    bold.setBold(true);
    Text1->setFont(bold);
    lbl.add(3, label(Frame4, "lbl", 4095, 1710, 255, 255, QStringLiteral("%"), true));

    Command1.add(0, newControl<QPushButton>(this, "Command1", 1800, 3240, 855, 375, QStringLiteral("Cancel")));
    Command1.add(2, newControl<QPushButton>(this, "Command1", 2760, 3240, 855, 375, QStringLiteral("<< Back")));
    Command1.add(1, newControl<QPushButton>(this, "Command1", 3720, 3240, 855, 375, QStringLiteral("Next >>")));

    // The design state every load starts in.
    Frame1->hide();
    Frame4->hide();
    Option1(0)->setChecked(true);
    Option1(7)->setChecked(true);
    Command1(2)->setEnabled(false);
    wire();
}

void NationalWizard::wire()
{
    platform::onClick(Command1, [this](int Index) { Command1_Click(Index); });
    platform::onKeyPress(Text1, [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); });
}

void NationalWizard::Form_QueryUnload(int& Cancel, int)
{
    // The run goes on using this window's controls and handles until its end.
    if (running_)
        Cancel = 1;
}

void NationalWizard::Command1_Click(int Index)
{
    switch (Index) {
    case 0:
        Unload();
        break;
    case 1:
        Next();
        break;
    case 2:
        Back();
        break;
    default:
        break;
    }
}

QString NationalWizard::familyCode() const
{
    for (const Family& f : kFamilies)
        if (Option1(f.option)->isChecked())
            return QString::fromLatin1(f.code);
    return QString();
}

void NationalWizard::Next()
{
    const QString family = familyCode();
    if (!Frame1->isHidden()) {
        if (family == QLatin1String("KELVA")) {
            Frame1->hide();
            Frame4->show();
            return;
        }
        if (nationalrun::active())
            return;
        if (row.hideFamilyPageOnRun)
            Frame1->hide();
        if (Prompt_File() != 1)
            Create_Table(family);
    } else if (!Frame3->isHidden()) {
        Frame3->hide();
        Frame1->show();
        Command1(2)->setEnabled(true);
    } else if (!Frame4->isHidden()) {
        if (nationalrun::active())
            return;
        if (Prompt_File() != 1)
            Create_Table(family);
    }
}

void NationalWizard::Back()
{
    if (!Frame1->isHidden()) {
        Frame1->hide();
        Frame3->show();
        Command1(2)->setEnabled(false);
        Command1(1)->setText(QStringLiteral("Next"));
    } else if (!Frame4->isHidden()) {
        Frame4->hide();
        Frame1->show();
        Command1(1)->setText(QStringLiteral("Next"));
    }
}

void NationalWizard::Text1_KeyPress(int& KeyAscii)
{
    if ((KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == '.' || KeyAscii == '-' || KeyAscii == 8)
        return;
    if (KeyAscii == 13) {
        platform::SetFocus(Command1(1));
        KeyAscii = 0;
        return;
    }
    seam().MsgBox(kNotNumeric, vbOKOnly);
    KeyAscii = 0;
}

int NationalWizard::Prompt_File()
{
    try {
        dia.CancelError = true;
        dia.DialogTitle = QStringLiteral("Select the path to export to.");
        dia.Filter = QStringLiteral("Access (*.mdb)|*.mdb");
        dia.FilterIndex = 1;
        dia.Flags = 20;
        const qint64 count = exportrules::readParms(g().MainDb).exportCnt;
        for (const Family& f : kFamilies)
            if (Option1(f.option)->isChecked()) {
                const QString suffix =
                    row.suffixWithBlank ? exportrules::countSuffix(count) : exportrules::countDigits(count);
                dia.FileName = exportrules::joinPath(g().ProgramFolder, QString::fromLatin1(f.prefix) + suffix + ".mdb");
                break;
            }
        try {
            dia.ShowSave();
        } catch (const dao::Error& e) {
            if (e.number != dao::errCancel)
                throw;
            Unload();
            return 1;
        }
        const QString title = dia.FileTitle.isEmpty() ? QFileInfo(dia.FileName).fileName() : dia.FileTitle;
        if (exportrules::refused(title)) {
            exportrules::showRefused();
            return 1;
        }
        exportrules::advanceCount(g().MainDb, count);
        return 0;
    } catch (const dao::Error& e) {
        seam().MsgBox(kPromptFailed + QString::number(e.number), vbOKOnly);
        return 1;
    }
}

void NationalWizard::setMousePointer(int pointer)
{
    pointer_ = pointer;
    if (pointer == kHourglass)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void NationalWizard::Create_Table(const QString& family)
{
    nationalrun::Guard guard;
    if (!guard.held())
        return;
    running_ = true;
    stage_ = {};
    try {
        const QString target = dia.FileName;
        if (Text1->text().isEmpty())
            platform::setText(Text1, QStringLiteral("0"));
        if (QFileInfo(target).isFile() && seam().MsgBox(kOverwrite, vbYesNo) != vbYes) {
            running_ = false;
            return;
        }
        exportrules::copyTemplate(programPath(QStringLiteral("export.mdb")), target);
        for (auto [i, b] : Command1)
            b->setEnabled(false);
        NatTargetDb = dao::OpenDatabase(target);
        NatMainDb = dao::OpenDatabase(programPath(QStringLiteral("kelva.mdb")), g().DbConnect);
        setMousePointer(kHourglass);
        NatTargetDb.Execute(QStringLiteral("DROP TABLE \"export\""));
        LocationRs = NatMainDb.OpenRecordset(QStringLiteral("LOCATION"));
        LocationRs.MoveFirst();

        if (family == QLatin1String("KELVA")) {
            const physician::Inputs in =
                physician::currentInputs(NatMainDb, !Option1(7)->isChecked(), Text1->text());
            ExprtInd& progress = forms().get<ExprtInd>();
            physician::buildWorkTable(*row.physician, in, NatMainDb, progress);
            stage_.written = physician::buildExportTable(*row.physician, in, NatMainDb, NatTargetDb, progress);
        }
        if (const nationaltables::FamilyTable* t = nationaltables::familyTable(family))
            stage_ = nationaltables::runStage(*t, row.lab, NatMainDb, NatTargetDb, forms().get<ExprtInd>());
        CommonEnd();
    } catch (const dao::Error& e) {
        FailureReport(e.description);
    }
}

void NationalWizard::CloseRun()
{
    LocationRs.Close();
    LocationRs = {};
    NatMainDb.Close();
    NatTargetDb.Close();
    NatMainDb = {};
    NatTargetDb = {};
    exportrules::makeCurrent(g().ProgramFolder);
}

void NationalWizard::CommonEnd()
{
    // The physician run's changes of the main database (its work table) are kept only now.
    while (NatMainDb.isOpen() && NatMainDb.transactionDepth() > 0)
        NatMainDb.CommitTrans();
    CloseRun();
    forms().unloadIfLoaded<ExprtInd>();
    setMousePointer(0);
    running_ = false;
    seam().MsgBox(QStringLiteral("Export Successful"), vbOKOnly);
    Unload();
}

// The rows written before the failure stay in the file; the window stays open, its buttons as the run left
// them, and can only be closed.
void NationalWizard::FailureReport(const QString& description)
{
    try {
        while (NatTargetDb.isOpen() && NatTargetDb.transactionDepth() > 0)
            NatTargetDb.CommitTrans();
    } catch (const dao::Error&) {
        // A commit that fails leaves the file as the engine left it; the report below is what counts.
    }
    try {
        // A failed physician run leaves the main database as it was, its previous work table included.
        while (NatMainDb.isOpen() && NatMainDb.transactionDepth() > 0)
            NatMainDb.Rollback();
    } catch (const dao::Error&) {
        // Nothing more can be undone; the report below is what counts.
    }
    seam().MsgBox(kExportFailed, vbOKOnly);
    setMousePointer(0);
    seam().MsgBox(description, vbOKOnly);
    forms().unloadIfLoaded<ExprtInd>();
    CloseRun();
    running_ = false;
}
