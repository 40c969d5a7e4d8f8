#include "export/session/frmExportInfo.h"

#include "app/globals.h"
#include "export/ExprtInd.h"
#include "export/predefined/writers.h"
#include "export/rules/exportquery.h"
#include "export/rules/exportrules.h"
#include "export/session/tableexport.h"
#include "export/session/tablefields.h"
#include "export/windowbuttons.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"

#include <QButtonGroup>
#include <QFileInfo>

using platform::newControl;

namespace {

const QString kAllFilter =
    QStringLiteral("Excel 4.0 (*.xls)|*.xls|Access (*.mdb)|*.mdb|Comma Delimited Text (*.csv)|*.csv");
const QString kCsvFilter = QStringLiteral("Comma Delimited Text (*.csv)|*.csv");
const QString kNote = QStringLiteral(
    "\n\nKELVA Morvex provides several export file formats: Excel (.XLS), ASCII Comma Delimited (.CSV), and Access "
    "(.MDB). For Excel speadsheets use .XLS or .CSV formats.");
constexpr int kHelpContext = 130;

// The connect text that points the table-export data source at the main database.
const QString kAccess = QStringLiteral("Access");

// How the table formats reach the chosen file, and the template copied onto it.
struct TableTarget {
    QString connect, databaseName, table, templateName;
};

// A dBASE table is the chosen file itself: its folder and its name without the extension, whatever dots the
// name holds. The sheets are named by the title up to its first "."; without one the name is no table's.
TableTarget tableTarget(exportrules::FileType type, const exportrules::Target& t)
{
    const qsizetype dot = t.title.indexOf(QLatin1Char('.'));
    if (type != exportrules::FileType::Mdb && dot < 0)
        throw dao::Error(5, QStringLiteral("Invalid procedure call or argument"));
    const QString name = t.title.left(dot);
    switch (type) {
    case exportrules::FileType::Dbf:
        return {QStringLiteral("dBASE III;"), QFileInfo(t.path).absolutePath(), QFileInfo(t.path).completeBaseName(),
                QStringLiteral("export.dbf")};
    case exportrules::FileType::Xls:
        return {QStringLiteral("Excel 4.0;"), t.path, name + QLatin1Char('$'), QStringLiteral("export.xls")};
    case exportrules::FileType::Wk1:
        return {QStringLiteral("Lotus WK1;"), t.path, name + QLatin1Char(':'), QStringLiteral("export.wk1")};
    default:
        return {kAccess, t.path, QStringLiteral("export"), QStringLiteral("export.mdb")};
    }
}

// A schedule or frequency name as a column name; an empty or Null one names no column.
QString columnName(const dao::Variant& name)
{
    const QString text = name.toString();
    if (text.isEmpty())
        throw dao::Error(3125, QStringLiteral("'' is not a valid name. Make sure that it does not include invalid "
                                              "characters or punctuation and that it is not too long."));
    return dao::quoteIdentifier(text);
}

}  // namespace

frmExportInfo::frmExportInfo()
{
    setObjectName(QStringLiteral("frmExportInfo"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("Data Export"));
    platform::useDesignFont(this);
    setFixedSize(platform::tw(6300), platform::tw(5220));

    Frame1 = newControl<QGroupBox>(this, "Frame1", 120, 60, 6060, 1560, QStringLiteral("Note"));
    Label1.add(0, newControl<QLabel>(Frame1, "Label1", 120, 120, 5820, 1380));
    Label1(0)->setWordWrap(true);
    Label1(0)->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame2 = newControl<QGroupBox>(this, "Frame2", 120, 1680, 6060, 960, QStringLiteral("Codes (Rows)"));
    Option1.add(0, newControl<QRadioButton>(Frame2, "Option1", 240, 300, 5580, 255, QStringLiteral("Export all CPT codes")));
    Option1.add(1, newControl<QRadioButton>(Frame2, "Option1", 240, 600, 5580, 255, QStringLiteral("Export tagged CPT codes")));

    Frame3 = newControl<QGroupBox>(this, "Frame3", 120, 2700, 6060, 1800, QStringLiteral("Columns (Fields)"));
    Option2.add(0, newControl<QRadioButton>(Frame3, "Option2", 240, 300, 5580, 255, QStringLiteral("Export all columns ")));
    Frame4 = newControl<QGroupBox>(Frame3, "Frame4", 120, 600, 5820, 600);
    Option2.add(1, newControl<QRadioButton>(Frame4, "Option2", 120, 180, 5580, 255,
                                            QStringLiteral("Export displayed columns on main KELVA screen (default)")));
    Option2.add(2, newControl<QRadioButton>(Frame3, "Option2", 240, 1320, 5580, 255, QStringLiteral("Predefined columns options")));
    // The column choice spans two frames: one group keeps it a single choice.
    auto* columns = new QButtonGroup(this);
    for (auto [i, option] : Option2)
        columns->addButton(option, i);

    Command1.add(0, newControl<QPushButton>(this, "Command1", 120, 4620, 1215, 420, QStringLiteral("Help")));
    Command1.add(1, newControl<QPushButton>(this, "Command1", 3600, 4620, 1215, 420, QStringLiteral("Cancel")));
    Command1.add(2, newControl<QPushButton>(this, "Command1", 4920, 4620, 1215, 420, QStringLiteral("Continue")));

    data1_.setConnect(QStringLiteral("Access 2000;"));
    wire();
}

void frmExportInfo::wire()
{
    platform::onClick(Command1, [this](int Index) { Command1_Click(Index); });
    for (auto [i, option] : Option2)
        platform::onClick(option, [this, i = i] { Option2_Click(i); });
}

platform::DataControl& frmExportInfo::Data(int Index)
{
    if (Index != 1)
        throw dao::Error(340, QStringLiteral("Control array element '%1' doesn't exist").arg(Index));
    return data1_;
}

void frmExportInfo::Form_Load()
{
    Label1(0)->setText(kNote);
    platform::setOptionValue(Option1(0), true);
    platform::setOptionValue(Option2(1), true);
    PointDataAtMainDb();
}

void frmExportInfo::Form_QueryUnload(int& Cancel, int)
{
    // The writers let window events in: the window stays until its export ends.
    if (running_)
        Cancel = 1;
}

void frmExportInfo::Command1_Click(int Index)
{
    if (running_)
        return;
    windowbuttons::click(*this, Index, kHelpContext, [this] { Continue(); });
}

void frmExportInfo::Option2_Click(int Index)
{
    if (Index != 2 || running_ || !Option2(2)->isChecked())
        return;
    if (!platform::FormRegistry::hasName(QStringLiteral("frmPredefinedExport")))
        return;
    Hide();
    if (platform::Form* predefined = forms().getByName(QStringLiteral("frmPredefinedExport")))
        predefined->Show(vbModal);
}

void frmExportInfo::setRunning(bool running)
{
    running_ = running;
    for (auto [i, button] : Command1)
        button->setEnabled(!running);
}

// The busy cursor raised for the target goes down once, whichever way out comes first.
void frmExportInfo::lowerBusy()
{
    if (busy_)
        platform::SetBusyCursor(0);
    busy_ = false;
}

void frmExportInfo::PointDataAtMainDb()
{
    data1_.setConnect(kAccess);
    data1_.setDatabaseName(programPath(QStringLiteral("kelva.mdb")));
    data1_.setRecordSource(QString());
}

void frmExportInfo::ReadSessionRow()
{
    frmMain& main = forms().get<frmMain>();
    const dao::Variant sestab = main.Data3.Recordset().Fields(QStringLiteral("SESTAB")).Value();
    dao::Recordset row = g().MainDb.OpenRecordset(QStringLiteral("SELECT * FROM sessions WHERE sestab = ?"), {sestab});
    names_ = {};
    if (row.EOF())
        return;
    for (int i = 0; i < 5; ++i) {
        names_[std::size_t(i)] = row.Fields(QStringLiteral("S%1NAME").arg(i + 1)).Value();
        names_[std::size_t(5 + i)] = row.Fields(QStringLiteral("F%1NAME").arg(i + 1)).Value();
    }
    row.Close();
}

void frmExportInfo::Continue()
{
    setRunning(true);
    struct Stopped {
        frmExportInfo* w;
        ~Stopped() { w->setRunning(false); }
    } stopped{this};

    const QString programFolder = g().ProgramFolder;
    const exportrules::Parms parms = exportrules::readParms(g().MainDb);
    ReadSessionRow();
    const QString folder = exportrules::proposedFolder(parms.exportPath, programFolder);
    QString step = exportrules::kNoExport;
    try {
        const exportrules::Target target = exportrules::chooseTarget(
            Option2(1)->isChecked() ? kCsvFilter : kAllFilter, folder, exportrules::proposedName(parms.exportCnt));
        if (exportrules::refused(target.title)) {
            exportrules::showRefused();
            exportrules::makeCurrent(programFolder);
            return;
        }
        step = exportrules::kCreatingFile;
        platform::SetBusyCursor(11);
        busy_ = true;
        if (!ExportTarget(target, programFolder, step))
            return;
        exportrules::advanceCount(g().MainDb, parms.exportCnt);
        running_ = false;
        CommonEnd(programFolder, target.path, exportrules::fileType(target.path) == exportrules::FileType::Mdb);
    } catch (const dao::Error& e) {
        Failure(step, e.description, programFolder);
    }
}

// Writes the chosen file; false when the export ended on the failure path without an error of its own.
bool frmExportInfo::ExportTarget(const exportrules::Target& target, const QString& programFolder, QString& step)
{
    switch (exportrules::fileType(target.path)) {
    case exportrules::FileType::Csv:
        ExportCsv(target.path, step);
        return true;
    case exportrules::FileType::Dbf:
    case exportrules::FileType::Xls:
    case exportrules::FileType::Wk1:
    case exportrules::FileType::Mdb:
        return ExportTable(target, programFolder, step);
    default:
        // No writer for this type: nothing was written.
        lowerBusy();
        Failure(step, QString(), programFolder);
        return false;
    }
}

void frmExportInfo::ExportCsv(const QString& path, QString& step)
{
    const db::FeeQuery query = exportquery::build(exportquery::current(Option1(1)->isChecked()), exportquery::Form::Session);
    feeSql_ = query.sql;
    feeParams_ = query.params;
    if (Option2(1)->isChecked()) {
        ExportDisplayedColumns(path);
    } else {
        step = exportrules::kWritingText;
        WriteAllColumns(path);
    }
}

// The table formats: the template copied onto the target, its table attached and one record appended per row.
// False when the user kept an existing Access file.
bool frmExportInfo::ExportTable(const exportrules::Target& target, const QString& programFolder, QString& step)
{
    const exportrules::FileType type = exportrules::fileType(target.path);
    const bool access = type == exportrules::FileType::Mdb;
    const TableTarget t = tableTarget(type, target);
    if (access && QFileInfo::exists(target.path)
        && seam().MsgBox(exportrules::kOverwriteAccess, vbYesNo) == vbNo) {
        lowerBusy();
        seam().MsgBox(exportrules::kNoExport, vbOKOnly);
        exportrules::makeCurrent(programFolder);
        return false;
    }
    exportrules::copyTemplate(programPath(t.templateName), target.path);

    step = QStringLiteral("Error attaching to output database\r\nDB:") + t.databaseName + QStringLiteral(" RecordSource:")
           + t.table + QStringLiteral(" DBTYPE:") + t.connect;
    data1_.setConnect(t.connect);
    data1_.setDatabaseName(t.databaseName);
    data1_.setRecordSource(t.table);
    data1_.Refresh();

    step = exportrules::kExportingData;
    // Whatever the column choice, the rows are the fee query's, in the template's columns.
    const db::FeeQuery query = exportquery::build(exportquery::current(Option1(1)->isChecked()), exportquery::Form::Session);
    feeSql_ = query.sql;
    feeParams_ = query.params;
    WriteTableRows(access, type == exportrules::FileType::Dbf);
    return true;
}

void frmExportInfo::WriteTableRows(bool access, bool dbase)
{
    const bool opps = forms().get<frmMain>().cmboCurrentView->currentText() == QLatin1String("KELVA OPPS");
    ExprtInd& progress = ShowProgress();
    dao::Recordset rows = g().MainDb.OpenRecordset(feeSql_, feeParams_);
    tableexport::appendRows(rows, data1_.Database(), data1_.Recordset(), {access, dbase, opps}, &progress);
    rows.Close();
}

// Releases the target from the table-export data source; a driver's file is written out then.
bool frmExportInfo::RenameScheduleColumns(const QString& path)
{
    try {
        dao::Database file = dao::OpenDatabase(path, g().DbConnect);
        dao::TableDef def = file.tableDef(QStringLiteral("export"));
        def.name = QStringLiteral("exportF");
        def.indexes.clear();
        file.CreateTable(def);
        file.Execute(QStringLiteral("INSERT INTO exportF SELECT export.* FROM export"));
        for (const char* group : {"S", "Freq"}) {
            const bool schedules = group[0] == 'S' && group[1] == 0;
            const QString old = QString::fromLatin1(group) + QStringLiteral("%1_1");
            for (int n = 1; n <= 5; ++n)
                file.Execute(QStringLiteral("ALTER TABLE exportF ADD COLUMN %1 REAL")
                                 .arg(columnName(names_[std::size_t((schedules ? 0 : 5) + n - 1)])));
            for (int n = 1; n <= 5; ++n)
                file.Execute(QStringLiteral("UPDATE exportF SET %1 = %2")
                                 .arg(columnName(names_[std::size_t((schedules ? 0 : 5) + n - 1)]), old.arg(n)));
            for (int n = 1; n <= 5; ++n)
                file.Execute(QStringLiteral("ALTER TABLE exportF DROP COLUMN ") + old.arg(n));
        }
        file.Execute(QStringLiteral("DROP TABLE export"));
        file.Close();
        return true;
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        seam().MsgBox(QStringLiteral("error creating export file"), vbOKOnly);
        return false;
    }
}

ExprtInd& frmExportInfo::ShowProgress()
{
    ExprtInd& progress = forms().get<ExprtInd>();
    progress.Show();
    seam().DoEvents();
    return progress;
}

void frmExportInfo::WriteAllColumns(const QString& path)
{
    exportcsv::CsvFile file(path);
    ExprtInd& progress = ShowProgress();
    const bool opps = forms().get<frmMain>().cmboCurrentView->currentText() == QLatin1String("KELVA OPPS");
    {
        dao::Recordset rows = g().MainDb.OpenRecordset(feeSql_, feeParams_);
        sessioncsv::writeAllColumns(rows, file, names_, opps, &progress);
        progress.setPrg1Value(progress.prg1Max());
        seam().DoEvents();
        rows.Close();
    }
    file.close();
    exportrules::makeCurrent(g().ProgramFolder);
    lowerBusy();
    forms().unloadIfLoaded<ExprtInd>();
}

void frmExportInfo::ExportDisplayedColumns(const QString& path)
{
    exportcsv::CsvFile file(path);
    ExprtInd& progress = ShowProgress();
    const dao::Variant colvs = forms().get<frmMain>().Data3.Recordset().Fields(QStringLiteral("COLVS")).Value();
    {
        dao::Recordset rows = g().MainDb.OpenRecordset(feeSql_, feeParams_);
        sessioncsv::writeDisplayedColumns(rows, file, colvs, names_, &progress);
        progress.setPrg1Value(progress.prg1Max());
        seam().DoEvents();
        rows.Close();
    }
    file.close();
    lowerBusy();
    forms().unloadIfLoaded<ExprtInd>();
}

void frmExportInfo::CommonEnd(const QString& programFolder, const QString& path, bool accessTarget)
{
    predefined::releaseDataControl(data1_);
    // The schedule names go on by the file's type, not by ".mdb" anywhere in its path.
    const bool success = !accessTarget || RenameScheduleColumns(path);
    exportrules::makeCurrent(programFolder);
    PointDataAtMainDb();
    Unload();
    if (ExprtInd* progress = forms().loadedOrNull<ExprtInd>()) {
        progress->setPrg1Value(progress->prg1Max());
        seam().DoEvents();
    }
    lowerBusy();
    forms().unloadIfLoaded<ExprtInd>();
    if (success)
        seam().MsgBox(exportrules::kSuccess, vbOKOnly);
}

void frmExportInfo::Failure(const QString& step, const QString& description, const QString& programFolder)
{
    exportrules::showFailure(step, description);
    forms().unloadIfLoaded<ExprtInd>();
    lowerBusy();
    // What was appended before the failure is written out; a file that cannot take it keeps what it had.
    platform::resumeNext([this] { predefined::releaseDataControl(data1_); });
    PointDataAtMainDb();
    exportrules::makeCurrent(programFolder);
}

KELVA_FORM_NAME(frmExportInfo)
