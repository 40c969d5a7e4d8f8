#include "export/lookup/frmExportWiz2.h"

#include "app/globals.h"
#include "export/ExprtInd.h"
#include "export/national/runguard.h"
#include "export/rules/exportrules.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

KELVA_FORM_NAME(frmExportWiz2)

using platform::newControl;

const LookupSetting kLookupSettings[2] = {{"KELVA_NonFacility", false}, {"KELVA_Facility", true}};

namespace {

const QString kLookupFile = QStringLiteral("KELVA_Lookup.mdb");
const QString kOverwrite = QStringLiteral("File already exits.  Do you wish to overwrite this file?");
const QString kExportFailed = QStringLiteral("Error exporting to the path and filename selected");

constexpr int kHourglass = 11;

QLabel* note(QWidget* frame, const char* name, int top, int height, const QString& text)
{
    auto* l = newControl<QLabel>(frame, QString::fromLatin1(name), 240, top, 4455, height, text);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

}  // namespace

frmExportWiz2::frmExportWiz2()
{
    setObjectName(QStringLiteral("frmExportWiz2"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral(" National Export Wizard"));
    platform::useDesignFont(this);
    setFixedSize(platform::tw(5190), platform::tw(3450));

    Command1 = newControl<QPushButton>(this, "Command1", 3840, 3000, 1215, 375, QStringLiteral("Create"));
    Frame1 = platform::newFrame(this, QString(), 120, 120, 4935, 2775);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label2 = note(Frame1, "Label2", 1320, 1095,
                  QStringLiteral("Note: The National Export Wizard may take up to 10 minutes on a slower computer. Do "
                                 "not stop/kill this process once initiated. Doing so may corrupt your main kelva.mdb "
                                 "Access table and require a reinstallation."));
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(9);
    arial.setItalic(true);
    Label2->setFont(arial);
    QPalette red = Label2->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    Label2->setPalette(red);
    Label3 = note(Frame1, "Label3", 360, 1455,
                  QStringLiteral("Note: The National Export Wizard allows the user to create a single MS Access "
                                 "Database (MDB) for all codes and all  localities.  For locality specific exports "
                                 "select  File - Export.  "));
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    wire();
}

void frmExportWiz2::wire()
{
    platform::onClick(Command1, [this] { Command1_Click(); });
}

void frmExportWiz2::Form_QueryUnload(int& Cancel, int)
{
    // The run goes on with this window's handles until its end.
    if (running_)
        Cancel = 1;
}

void frmExportWiz2::Command1_Click()
{
    Create_Table();
}

void frmExportWiz2::setMousePointer(int pointer)
{
    pointer_ = pointer;
    if (pointer == kHourglass)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void frmExportWiz2::Create_Table()
{
    // One national or lookup run at a time: a second press at the run's yield starts nothing.
    nationalrun::Guard guard;
    if (!guard.held())
        return;
    running_ = true;
    Command1->setEnabled(false);
    const QString lookup = programPath(kLookupFile);
    if (QFileInfo(lookup).isFile() && seam().MsgBox(kOverwrite, vbYesNo) != vbYes) {
        EndRun();
        return;
    }
    try {
        // A journal left beside an earlier lookup file would be taken as the fresh copy's own.
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            QFile::remove(lookup + QLatin1String(suffix));
        exportrules::copyTemplate(programPath(QStringLiteral("export.mdb")), lookup);
        g().AuxDb = dao::OpenDatabase(lookup);
        auxOpened_ = true;
        LookupMainDb = dao::OpenDatabase(programPath(QStringLiteral("kelva.mdb")), g().DbConnect);
        setMousePointer(kHourglass);
        g().AuxDb.Execute(QStringLiteral("DROP TABLE \"export\""));
        in_ = physician::currentInputs(LookupMainDb, false, QString());
        in_.oppsView = false;  // every code of the session table, whatever the main window shows

        ExprtInd& progress = forms().get<ExprtInd>();
        progress.Show();
        seam().DoEvents();
        progress.Show();
        // From here to the end the main database changes in one transaction, the old work tables' drops included:
        // a failure leaves it as it was.
        LookupMainDb.BeginTrans();
        for (const LookupSetting& s : kLookupSettings)
            RunHalf(s);
        CommonEnd();
    } catch (const dao::Error& e) {
        FailureReport(e.description);
    }
}

// The work table made anew and filled, then the lookup table defined and filled from it.
void frmExportWiz2::RunHalf(const LookupSetting& s)
{
    const QString table = QString::fromLatin1(s.table);
    in_.facility = s.facility;
    physician::dropTable(LookupMainDb, table);
    locations_ = physician::localities(physician::kLookupRow, LookupMainDb);
    DefineLookupTable(LookupMainDb, s);
    physician::fillWorkTable(physician::kLookupRow, in_, locations_, LookupMainDb, forms().get<ExprtInd>(), table);
    DefineLookupTable(g().AuxDb, s);
    CopyRowsToLookup(s);
}

void frmExportWiz2::DefineLookupTable(dao::Database& target, const LookupSetting& s)
{
    physician::defineFileTable(physician::kLookupRow, in_, locations_, LookupMainDb, target,
                               QString::fromLatin1(s.table));
}

// Each row goes in with its values bound; the rows are kept as they are written, also when a later row fails.
void frmExportWiz2::CopyRowsToLookup(const LookupSetting& s)
{
    physician::copyRows(physician::kLookupRow, in_, LookupMainDb, g().AuxDb, forms().get<ExprtInd>(),
                        QString::fromLatin1(s.table));
}

void frmExportWiz2::CloseRun()
{
    LookupMainDb.Close();
    if (auxOpened_)
        g().AuxDb.Close();
    auxOpened_ = false;
    locations_.clear();
    exportrules::makeCurrent(g().ProgramFolder);
}

void frmExportWiz2::EndRun()
{
    running_ = false;
    Command1->setEnabled(true);
}

void frmExportWiz2::CommonEnd()
{
    while (LookupMainDb.isOpen() && LookupMainDb.transactionDepth() > 0)
        LookupMainDb.CommitTrans();
    CloseRun();
    forms().unloadIfLoaded<ExprtInd>();
    setMousePointer(0);
    EndRun();
    seam().MsgBox(QStringLiteral("Export Successful"), vbOKOnly);
    Unload();
}

// The lookup file keeps what the run wrote; the main database goes back to where it was before the run.
void frmExportWiz2::FailureReport(const QString& description)
{
    try {
        while (auxOpened_ && g().AuxDb.isOpen() && g().AuxDb.transactionDepth() > 0)
            g().AuxDb.CommitTrans();
    } catch (const dao::Error&) {
        // The file stays as the engine left it; the report below is what counts.
    }
    try {
        while (LookupMainDb.isOpen() && LookupMainDb.transactionDepth() > 0)
            LookupMainDb.Rollback();
    } catch (const dao::Error&) {
        // Nothing more can be undone; the report below is what counts.
    }
    seam().MsgBox(kExportFailed, vbOKOnly);
    setMousePointer(0);
    seam().MsgBox(description, vbOKOnly);
    CloseRun();
    forms().unloadIfLoaded<ExprtInd>();
    EndRun();
}
