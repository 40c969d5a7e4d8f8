#include "search/frmMedCrossCode.h"

#include "app/globals.h"
#include "export/rules/exportrules.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/CommonDialog.h"
#include "platform/seam/Seam.h"
#include "reports/crosswalkreport.h"
#include "search/crosswalkexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <optional>
#include <utility>

using platform::place;
using platform::tw;

namespace {

const QString kAllModeCaption = QStringLiteral("View All Drug Codes");
const QString kCodeModePrefix = QStringLiteral("View Drug codes for: ");
// The code is a bound value: a code box text with an apostrophe selects nothing and breaks nothing.
const QString kCodeRows = QStringLiteral("SELECT * from crosswalk where [HCPCS code] = ?;");
const QString kAllRows = QStringLiteral("SELECT * from crosswalk");
const QString kExportRows = QStringLiteral("SELECT  * from crosswalk");

// Grid column widths by position; -1 hides the column (the short description, shown in its own box).
constexpr std::array<int, 10> kColumnWidths = {700, -1, 900, 3000, 1500, 2250, 800, 800, 800, 800};

// The two unit columns are narrower than their names: the headings break them over their three lines.
const QString kBreak = QString(QChar(0x200B));
const std::array<std::pair<QString, QString>, 2> kHeadingBreaks = {{
    {QStringLiteral("BILLUNITS"), QStringLiteral("BILL") + kBreak + QStringLiteral("UNITS")},
    {QStringLiteral("BILLUNITSPKG"), QStringLiteral("BILL") + kBreak + QStringLiteral("UNITS") + kBreak + QStringLiteral("PKG")},
}};

// The save dialog's Help button, which nothing answers.
constexpr int cdlOFNHelpButton = 0x10;

}  // namespace

frmMedCrossCode::frmMedCrossCode()
{
    setObjectName(QStringLiteral("frmMedCrossCode"));
    setCaption(QStringLiteral("National Drug Code (NDC) Crosswalk"));
    platform::useDesignFont(this);
    setFixedSize(tw(12555), tw(4800));
    QFont bold = font();
    bold.setBold(true);

    // "&Close" is made first: it is first in the tab order and has the focus when the window opens.
    btn.add(0, platform::newControl<QPushButton>(this, "btn_0", 10560, 3960, 1815, 495, QStringLiteral("&Close")));

    lbl.add(3, platform::newControl<QLabel>(this, "lbl_3", 120, 195, 1215, 255, QStringLiteral("HCPCS Code:")));
    dsp.add(0, platform::newControl<QLabel>(this, "dsp_0", 1380, 195, 1095, 255));
    lbl.add(0, platform::newControl<QLabel>(this, "lbl_0", 2640, 195, 1695, 255, QStringLiteral("Short Description:")));
    Text1 = platform::newControl<QLineEdit>(this, "Text1", 4380, 150, 7995, 315);
    lbl.add(1, platform::newControl<QLabel>(this, "lbl_1", 120, 600, 2415, 255,
                                            QStringLiteral("National Drug Code(s):")));
    for (auto [i, label] : lbl)
        label->setFont(bold);

    dbg = platform::newControl<platform::DBGrid>(this, "dbg", 240, 900, 12095, 2650);
    dbg->setDataSource(&Data1);
    dbg->setHeadLines(3);
    dbg->setAllowUpdate(true);
    dbg->setAllowAddNew(false);
    dbg->setAllowDelete(false);

    btn.add(1, platform::newControl<QPushButton>(this, "btn_1", 240, 3960, 2415, 495,
                                                 QStringLiteral("Export All Drug codes")));
    btn.add(3, platform::newControl<QPushButton>(this, "btn_3", 2820, 3960, 3615, 495, kAllModeCaption));
    btn.add(4, platform::newControl<QPushButton>(this, "btn_4", 6600, 3960, 1815, 495,
                                                 QStringLiteral("&Print Crosswalk")));
    btn(1)->setEnabled(false);
    openTextFile = &frmMedCrossCode::openFile;
    wire();
}

void frmMedCrossCode::wire()
{
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
}

QString frmMedCrossCode::codeBoxText() const
{
    return forms().get<frmMain>().Text1(0)->text();
}

bool frmMedCrossCode::inCodeMode() const
{
    return btn(3)->text() == kAllModeCaption;
}

void frmMedCrossCode::readRows()
{
    Data1.setDatabase(g().MainDb);
    Data1.Refresh();
    dao::Recordset& rows = Data1.Recordset();
    if (!rows.EOF()) {
        rows.MoveLast();
        rows.MoveFirst();
    }
}

void frmMedCrossCode::showCodeRows()
{
    Data1.setRecordSource(kCodeRows, {codeBoxText()});
    readRows();
}

void frmMedCrossCode::showAllRows()
{
    Data1.setRecordSource(kAllRows);
    readRows();
}

void frmMedCrossCode::Form_Activate()
{
    showCodeRows();
    platform::setText(dsp(0), codeBoxText());
    dao::Recordset& rows = Data1.Recordset();
    // No rows, or no short description in the first: the box stays empty.
    platform::setText(Text1, rows.EOF() ? QString() : rows.Fields(1).Value().toString());
    ResizeGrid();
    dbg->Refresh();
}

void frmMedCrossCode::ResizeGrid()
{
    for (int i = 0; i < int(kColumnWidths.size()) && i < dbg->ColumnCount(); ++i) {
        if (kColumnWidths[std::size_t(i)] < 0)
            dbg->Columns(i).setVisible(false);
        else
            dbg->Columns(i).setWidth(kColumnWidths[std::size_t(i)]);
    }
    for (int i = 0; i < dbg->ColumnCount(); ++i)
        for (const auto& [name, heading] : kHeadingBreaks)
            if (dbg->Columns(i).Caption() == name)
                dbg->Columns(i).setCaption(heading);
}

void frmMedCrossCode::btn_Click(int Index)
{
    switch (Index) {
    case 0:
        Unload();
        break;
    case 1:
        ExportCrosswalk();
        break;
    case 3:
        if (inCodeMode()) {
            btn(3)->setText(kCodeModePrefix + codeBoxText());
            btn(4)->setEnabled(false);
            btn(1)->setEnabled(true);
            showAllRows();
        } else {
            btn(3)->setText(kAllModeCaption);
            btn(4)->setEnabled(true);
            btn(1)->setEnabled(false);
            showCodeRows();
        }
        ResizeGrid();
        break;
    case 4:
        reports::showCrosswalkReport(dsp(0)->text());
        break;
    default:
        break;
    }
}

std::unique_ptr<QIODevice> frmMedCrossCode::openFile(const QString& path)
{
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw dao::Error(76, QStringLiteral("Path not found: '%1'").arg(QDir::toNativeSeparators(path)));
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw dao::Error(75, QStringLiteral("Path/File access error: '%1'").arg(QDir::toNativeSeparators(path)));
    return file;
}

void frmMedCrossCode::closeTextFile(QIODevice& file, const QString& path)
{
    auto* disk = qobject_cast<QFileDevice*>(&file);
    const bool saved = !disk || (disk->flush() && disk->error() == QFileDevice::NoError);
    file.close();
    if (!saved)
        throw dao::Error(75, QStringLiteral("Path/File access error: '%1'").arg(QDir::toNativeSeparators(path)));
}

void frmMedCrossCode::ExportCrosswalk()
{
    const QString startFolder = QDir::currentPath();
    QString step = exportrules::kNoExport;
    std::optional<platform::BusyCursor> busy;
    std::unique_ptr<QIODevice> text;
    try {
        const exportrules::Parms parms = exportrules::readParms(g().MainDb);

        platform::CommonDialog dia;
        dia.CancelError = true;
        dia.DialogTitle = QStringLiteral("Export");
        dia.Filter = crosswalkexport::kFilter;
        dia.FilterIndex = 1;
        dia.InitDir = g().ProgramFolder;
        dia.FileName = exportrules::proposedName(parms.exportCnt);
        dia.Flags = cdlOFNHideReadOnly | cdlOFNHelpButton;
        dia.ShowSave();

        // A name without a file type of its own (the proposal has none) takes the chosen filter entry's.
        const QString path = crosswalkexport::completedPath(dia.FileName, dia.FilterIndex);
        if (exportrules::refused(QFileInfo(path).fileName())) {
            exportrules::showRefused();
            return;
        }

        step = exportrules::kCreatingFile;
        busy.emplace();
        if (crosswalkexport::kindOf(path) == crosswalkexport::Kind::Access) {
            exportrules::copyTemplate(programPath(QStringLiteral("export.mdb")), path);
            step = exportrules::kExportingData;
            dao::Recordset rows = g().MainDb.OpenRecordset(kExportRows);
            // The target has a connection of its own: the main database stays the program's throughout.
            dao::Database target = dao::OpenDatabase(path);
            crosswalkexport::writeAccess(rows, target);
            rows.Close();
            target.Close();
            exportrules::advanceCount(g().MainDb, parms.exportCnt);
            busy.reset();
            seam().MsgBox(QStringLiteral("Export Completed"), vbOKOnly);
            exportrules::makeCurrent(g().ProgramFolder);
        } else {
            step = exportrules::kWritingText;
            text = openTextFile(path);
            dao::Recordset rows = g().MainDb.OpenRecordset(kExportRows);
            crosswalkexport::writeCsv(rows, *text, path);
            rows.Close();
            closeTextFile(*text, path);
            text.reset();
            exportrules::makeCurrent(startFolder);
            busy.reset();
            exportrules::advanceCount(g().MainDb, parms.exportCnt);
            seam().MsgBox(exportrules::kSuccess, vbOKOnly);
        }
        Unload();
    } catch (const dao::Error& e) {
        busy.reset();
        seam().MsgBox(e.description, vbOKOnly);
        text.reset();
        seam().MsgBox(step, vbOKOnly);
        exportrules::makeCurrent(g().ProgramFolder);
    }
}

KELVA_FORM_NAME(frmMedCrossCode)
