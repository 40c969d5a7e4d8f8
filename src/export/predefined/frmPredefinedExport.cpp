#include "export/predefined/frmPredefinedExport.h"

#include "app/globals.h"
#include "export/predefined/writers.h"
#include "export/rules/exportquery.h"
#include "export/rules/exportrules.h"
#include "export/session/frmExportInfo.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"

#include <QDir>

using platform::newControl;

namespace {

const QString kFilter =
    QStringLiteral("Excel 4.0 (*.xls)|*.xls|Access (*.mdb)|*.mdb|Comma Delimited Text (*.csv)|*.csv");
const QString kCompleted = QStringLiteral("Export Completed");
const QString kTable = QStringLiteral("Predefined Export");

// The layouts' rows: the option, then its column list, 600 twips apart.
constexpr int kLayoutTop = 300;
constexpr int kLayoutStep = 600;

}  // namespace

frmPredefinedExport::frmPredefinedExport()
{
    setObjectName(QStringLiteral("frmPredefinedExport"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("Predefined Columns Data Exportation"));
    platform::useDesignFont(this);
    const int frameHeight = kLayoutTop + predefined::kLayouts * kLayoutStep + 60;
    setFixedSize(platform::tw(7920), platform::tw(1140 + frameHeight + 600));

    Frame2 = newControl<QGroupBox>(this, "Frame2", 120, 60, 7680, 960, QStringLiteral("Codes (Rows)"));
    Option1.add(0, newControl<QRadioButton>(Frame2, "Option1", 240, 300, 6300, 255, QStringLiteral("Export all CPT codes")));
    Option1.add(1, newControl<QRadioButton>(Frame2, "Option1", 240, 600, 6300, 255, QStringLiteral("Export tagged CPT codes")));

    Frame1 = newControl<QGroupBox>(this, "Frame1", 120, 1080, 7680, frameHeight, QStringLiteral("Fields (Columns)"));
    for (int i = 0; i < predefined::kLayouts; ++i) {
        const predefined::Layout& l = predefined::layout(i);
        const int top = kLayoutTop + i * kLayoutStep;
        Option2.add(i, newControl<QRadioButton>(Frame1, "Option2", 240, top, 7200, 255, QString::fromLatin1(l.caption)));
        Label1.add(i, newControl<QLabel>(Frame1, "Label1", 540, top + 270, 7020, 255, QString::fromLatin1(l.label)));
    }

    const int buttons = 1080 + frameHeight + 120;
    Command1.add(1, newControl<QPushButton>(this, "Command1", 5220, buttons, 1215, 420, QStringLiteral("Cancel")));
    Command1.add(2, newControl<QPushButton>(this, "Command1", 6540, buttons, 1215, 420, QStringLiteral("Continue")));

    data1_.setConnect(QStringLiteral("Access 2000;"));
    wire();
}

void frmPredefinedExport::wire()
{
    platform::onClick(Command1, [this](int Index) { Command1_Click(Index); });
}

platform::DataControl& frmPredefinedExport::Data(int Index)
{
    if (Index != 1)
        throw dao::Error(340, QStringLiteral("Control array element '%1' doesn't exist").arg(Index));
    return data1_;
}

int frmPredefinedExport::selectedLayout() const
{
    for (auto [i, option] : Option2)
        if (option->isChecked())
            return i;
    return 0;
}

void frmPredefinedExport::Form_Load()
{
    frmExportInfo* dialog = forms().loadedOrNull<frmExportInfo>();
    const bool tagged = dialog && dialog->Option1(1)->isChecked();
    platform::setOptionValue(Option1(tagged ? 1 : 0), true);
    platform::setOptionValue(Option2(0), true);
    PointDataAtMainDb();
}

// At rest the data control names the main database, through the program's own connection to it.
void frmPredefinedExport::PointDataAtMainDb()
{
    data1_.setConnect(QStringLiteral("Access"));
    data1_.setRecordSource(QString());
    if (g().MainDb.isOpen())
        data1_.setDatabase(g().MainDb);
    else
        data1_.setDatabaseName(programPath(QStringLiteral("kelva.mdb")));
}

void frmPredefinedExport::Command1_Click(int Index)
{
    if (Index == 1)
        Cancel();
    else if (Index == 2)
        Continue();
}

void frmPredefinedExport::Cancel()
{
    const bool tagged = Option1(1)->isChecked();
    Unload();
    frmExportInfo& dialog = forms().get<frmExportInfo>();
    dialog.Show();
    platform::setOptionValue(dialog.Option2(0), true);
    platform::setOptionValue(dialog.Option1(tagged ? 1 : 0), true);
    dialog.Option1(tagged ? 1 : 0)->setFocus();
}

void frmPredefinedExport::lowerBusy()
{
    if (busy_)
        platform::SetBusyCursor(0);
    busy_ = false;
}

void frmPredefinedExport::Continue()
{
    const QString startFolder = QDir::currentPath();
    const exportrules::Parms parms = exportrules::readParms(g().MainDb);
    const QString folder = exportrules::proposedFolder(parms.exportPath, g().ProgramFolder);
    QString step = exportrules::kNoExport;
    try {
        const exportrules::Target target =
            exportrules::chooseTarget(kFilter, folder, exportrules::proposedName(parms.exportCnt));
        if (exportrules::refused(target.title)) {
            exportrules::showRefused();
            exportrules::makeCurrent(startFolder);
            return;
        }
        step = exportrules::kCreatingFile;
        platform::SetBusyCursor(11);
        busy_ = true;
        WriteTarget(target, step);
        CommonEnd(startFolder, parms.exportCnt);
    } catch (const dao::Error& e) {
        Failure(step, e.description, startFolder);
    }
}

void frmPredefinedExport::WriteTarget(const exportrules::Target& target, QString& step)
{
    switch (exportrules::fileType(target.path)) {
    case exportrules::FileType::Xls:
        WriteSheet(target);
        break;
    case exportrules::FileType::Mdb:
        WriteAccess(target.path);
        break;
    case exportrules::FileType::Csv:
        WriteCsv(target.path, step);
        break;
    default:
        // No writer for this type: nothing is written and the count stays.
        throw dao::Error(0, QString());
    }
}

namespace {

dao::Recordset sourceRows(bool tagged)
{
    const db::FeeQuery q = exportquery::build(exportquery::current(tagged), exportquery::Form::Predefined);
    return g().MainDb.OpenRecordset(q.sql, q.params);
}

}  // namespace

// A copy of the layout's template, one worksheet row appended per source row.
void frmPredefinedExport::WriteSheet(const exportrules::Target& target)
{
    const predefined::Layout& l = predefined::layout(selectedLayout());
    const qsizetype dot = target.title.indexOf(QLatin1Char('.'));
    if (dot < 0)
        throw dao::Error(5, QStringLiteral("Invalid procedure call or argument"));
    exportrules::copyTemplate(programPath(QString::fromLatin1(l.templateName)), target.path);
    dao::Recordset rows = sourceRows(Option1(1)->isChecked());

    data1_.setConnect(QStringLiteral("Excel 4.0;"));
    data1_.setDatabaseName(target.path);
    data1_.setRecordSource(target.title.left(dot) + QLatin1Char('$'));
    data1_.Refresh();
    dao::Recordset& sheet = data1_.Recordset();
    predefined::appendRows(l, rows, data1_.Database(), sheet.source(), predefined::sheetColumns(l, sheet),
                           predefined::sheetValue);
    rows.Close();
}

predefined::SessionNames frmPredefinedExport::ReadSessionNames()
{
    predefined::SessionNames names;
    const dao::Variant sestab = forms().get<frmMain>().Data3.Recordset().Fields(QStringLiteral("SESTAB")).Value();
    dao::Recordset row = g().MainDb.OpenRecordset(QStringLiteral("SELECT * FROM sessions WHERE sestab = ?"), {sestab});
    if (row.EOF())
        throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
    for (int i = 0; i < 5; ++i) {
        names[std::size_t(i)] = row.Fields(QStringLiteral("S%1NAME").arg(i + 1)).Value();
        names[std::size_t(5 + i)] = row.Fields(QStringLiteral("F%1NAME").arg(i + 1)).Value();
    }
    row.Close();
    return names;
}

// A copy of export.mdb holding the table "Predefined Export" in place of export; the table is made and
// filled through the copy's own connection, which the data control shares.
void frmPredefinedExport::WriteAccess(const QString& path)
{
    const predefined::Layout& l = predefined::layout(selectedLayout());
    exportrules::copyTemplate(programPath(QStringLiteral("export.mdb")), path);
    dao::Recordset rows = sourceRows(Option1(1)->isChecked());
    const predefined::SessionNames names = l.usesNames() ? ReadSessionNames() : predefined::SessionNames{};

    dao::Database copy = dao::OpenDatabase(path);
    copy.Execute(predefined::createTable(l, names));
    data1_.setConnect(QStringLiteral("Access"));
    data1_.setDatabaseName(path);
    data1_.setRecordSource(kTable);
    data1_.Refresh();
    dao::Recordset& table = data1_.Recordset();
    QStringList columns;
    for (int i = 0; i < table.FieldCount(); ++i)
        columns << table.fieldName(i);
    predefined::appendRows(l, rows, copy, kTable, columns, predefined::tableValue);
    rows.Close();
    copy.Execute(QStringLiteral("DROP TABLE export"));
}

void frmPredefinedExport::WriteCsv(const QString& path, QString& step)
{
    step = exportrules::kWritingText;
    const predefined::Layout& l = predefined::layout(selectedLayout());
    predefined::TextFile file(path);
    dao::Recordset rows = sourceRows(Option1(1)->isChecked());
    const predefined::SessionNames names = l.usesNames() ? ReadSessionNames() : predefined::SessionNames{};
    predefined::writeCsv(l, names, rows, file);
    rows.Close();
    file.close();
}

// Releases the target from the data control; a worksheet is written out then.
void frmPredefinedExport::ReleaseTarget()
{
    predefined::releaseDataControl(data1_);
}

void frmPredefinedExport::CommonEnd(const QString& startFolder, qint64 exportCnt)
{
    ReleaseTarget();
    exportrules::advanceCount(g().MainDb, exportCnt);
    lowerBusy();
    exportrules::makeCurrent(startFolder);
    seam().MsgBox(kCompleted, vbOKOnly);
    Unload();
    if (frmExportInfo* dialog = forms().loadedOrNull<frmExportInfo>())
        platform::setOptionValue(dialog->Option2(0), true);
}

void frmPredefinedExport::Failure(const QString& step, const QString& description, const QString& startFolder)
{
    lowerBusy();
    exportrules::showFailure(step, description);
    // What was appended before the failure is written out; a file that cannot take it keeps what it had.
    platform::resumeNext([this] { ReleaseTarget(); });
    PointDataAtMainDb();
    exportrules::makeCurrent(startFolder);
}

KELVA_FORM_NAME(frmPredefinedExport)
