#include "export/zuzizavoz/FeeScheduleWizard.h"

#include "app/globals.h"
#include "export/ExprtInd.h"
#include "export/rules/exportrules.h"
#include "export/predefined/writers.h"
#include "export/zuzizavoz/WltFeeLine.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/CommonDialog.h"
#include "platform/seam/Seam.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

using platform::newControl;

namespace {

const FeeScheduleWizardRow kZuzizavoz{"frmExportELIG", "Zuzizavoz Export Wizard", &FeeScheduleWizard::ExportSheet};
const FeeScheduleWizardRow kWlt{"frmExportWLT", "WLT Export Wizard", &FeeScheduleWizard::ExportWlt};

// The save dialogs' flags: the read-only box hidden, a Help button shown.
constexpr int kDialogFlags = 20;
const QString kSessionError = QStringLiteral("Error retrieving session information");
const QString kSheetRefused = QStringLiteral(
    "You can not select files: elleg.xls or any of the export template files (files begining with EXPORT.??" "?) "
    "as the export file.  Please pick another file name.");

// The schedule column of a key: "s3name" gives S3.
QString scheduleColumn(const QString& key)
{
    return QStringLiteral("S") + key.mid(1, 1);
}

// The same file, whatever the spelling of its path or the links on the way to it.
bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

FeeScheduleWizard::FeeScheduleWizard(const FeeScheduleWizardRow& row) : row_(row)
{
    setObjectName(QString::fromLatin1(row.window));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QString::fromLatin1(row.caption));
    platform::useDesignFont(this);
    setFixedSize(platform::tw(4800), platform::tw(3300));

    Label1 = newControl<QLabel>(this, "Label1", 240, 120, 4320, 255, QStringLiteral("Choose User Defined Schedule"));
    Frame1 = newControl<QGroupBox>(this, "Frame1", 120, 420, 4560, 2100);
    for (int i = 0; i < 5; ++i)
        Option1.add(i, newControl<QRadioButton>(Frame1, "Option1", 240, 180 + i * 360, 4080, 285));
    Command1.add(0, newControl<QPushButton>(this, "Command1", 2100, 2700, 1215, 420, QStringLiteral("Cancel")));
    Command1.add(1, newControl<QPushButton>(this, "Command1", 3420, 2700, 1215, 420, QStringLiteral("Next >>")));
    platform::setOptionValue(Option1(0), true);

    data1_.setConnect(QStringLiteral("Access 2000;"));
    wire();
}

void FeeScheduleWizard::wire()
{
    platform::onClick(Command1, [this](int Index) { Command1_Click(Index); });
}

platform::DataControl& FeeScheduleWizard::Data(int Index)
{
    if (Index != 1)
        throw dao::Error(340, QStringLiteral("Control array element '%1' doesn't exist").arg(Index));
    return data1_;
}

void FeeScheduleWizard::Form_Load()
{
    data1_.setDatabaseName(programPath(QStringLiteral("kelva.mdb")));
    try {
        conn_ = dao::OpenDatabase(programPath(QStringLiteral("kelva.mdb")), g().DbConnect);
        const QString session = forms().get<frmMain>().Combo1->currentText();
        dao::Recordset rs = conn_.OpenRecordset(
            QStringLiteral("select s1name, s2name, s3name, s4name, s5name, sestab from sessions where session = ?"),
            {session});
        if (rs.EOF())
            throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
        for (int i = 0; i < 5; ++i) {
            const dao::Variant name = rs.Fields(i).Value();
            if (name.isNull())
                throw dao::Error(dao::errInvalidUseOfNull, QStringLiteral("Invalid use of Null"));
            Option1(i)->setText(name.toString());
        }
    } catch (const dao::Error&) {
        seam().MsgBox(kSessionError, vbOKOnly);
    }
}

QString FeeScheduleWizard::scheduleKey() const
{
    for (auto [i, option] : Option1)
        if (option->isChecked())
            return QStringLiteral("s%1name").arg(i + 1);
    return QStringLiteral("s1name");
}

void FeeScheduleWizard::Command1_Click(int Index)
{
    if (Index == 0)
        Unload();
    else if (Index == 1)
        (this->*row_.next)(scheduleKey());
}

void FeeScheduleWizard::lowerBusy()
{
    if (busy_)
        platform::SetBusyCursor(0);
    busy_ = false;
}

// Every row of the session's table, tagged or not, in CODEMOD order, on the window's connection.
dao::Recordset FeeScheduleWizard::SourceRows()
{
    conn_ = dao::OpenDatabase(programPath(QStringLiteral("kelva.mdb")), g().DbConnect);
    return conn_.OpenRecordset(QStringLiteral("select cpt, \"mod\", s1, s2, s3, s4, s5 from ")
                               + dao::quoteIdentifier(g().CurSesTab.trimmed()) + QStringLiteral(" order by codemod"));
}

void FeeScheduleWizard::ShowProgress(qint64 rows)
{
    ExprtInd& progress = forms().get<ExprtInd>();
    progress.Show();
    seam().DoEvents();
    progress.setPrg1Max(double(rows + 1350));
}

void FeeScheduleWizard::ReleaseSheet()
{
    predefined::releaseDataControl(data1_);
}

// ---- Zuzizavoz

void FeeScheduleWizard::ExportSheet(const QString& key)
{
    const QString programFolder = g().ProgramFolder;
    const exportrules::Parms parms = exportrules::readParms(g().MainDb);
    platform::CommonDialog dia;
    if (parms.exportPath != QLatin1String("(Default)"))
        dia.InitDir = exportrules::proposedFolder(parms.exportPath, programFolder);

    QString step = exportrules::kNoExport;
    try {
        dia.CancelError = true;
        dia.Filter = QStringLiteral("Excel 4.0 (*.xls)|*.xls");
        dia.FilterIndex = 1;
        dia.FileName = QStringLiteral("elleg") + exportrules::countSuffix(parms.exportCnt);
        dia.DialogTitle = QStringLiteral("Zuzizavoz Export");
        dia.Flags = kDialogFlags;
        dia.ShowSave();
        const QString path = dia.FileName;
        const QString title = dia.FileTitle;
        if (title.compare(QLatin1String("elleg.xls"), Qt::CaseInsensitive) == 0
            || title.left(6).toUpper() == QLatin1String("EXPORT")) {
            seam().MsgBox(kSheetRefused, vbOKOnly);
            return;
        }
        step = exportrules::kCreatingFile;
        platform::SetBusyCursor(11);
        busy_ = true;
        if (exportrules::fileType(path) != exportrules::FileType::Xls) {
            lowerBusy();
            seam().MsgBox(step + QStringLiteral("- "), vbOKOnly);
            return;
        }
        const qsizetype dot = title.indexOf(QLatin1Char('.'));
        if (dot < 0)
            throw dao::Error(5, QStringLiteral("Invalid procedure call or argument"));
        const QString sheet = title.left(dot) + QLatin1Char('$');
        exportrules::copyTemplate(programPath(QStringLiteral("elleg.xls")), path);

        step = QStringLiteral("Error attaching to output database\r\nDB:") + path + QStringLiteral(" RecordSource:") + sheet
               + QStringLiteral(" DBTYPE:Excel 4.0;");
        data1_.setConnect(QStringLiteral("Excel 4.0;"));
        data1_.setDatabaseName(path);
        data1_.setRecordSource(sheet);
        data1_.Refresh();

        step = exportrules::kExportingData;
        seam().SetMousePointer(vbHourglass);
        step = QStringLiteral("Error writing excel File");
        dao::Recordset rows = SourceRows();
        if (rows.EOF())
            throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
        rows.MoveLast();
        const qint64 n = rows.RecordCount();
        rows.MoveFirst();
        ShowProgress(n);
        ExprtInd& progress = forms().get<ExprtInd>();

        dao::Recordset& target = data1_.Recordset();
        QStringList names;
        for (const QString& want : {QStringLiteral("code"), QStringLiteral("Mod"), QStringLiteral("Allowed Amt")})
            names << dao::quoteIdentifier(target.Fields(want).Name());
        const QString insert = QStringLiteral("INSERT INTO ") + dao::quoteIdentifier(target.source()) + QStringLiteral(" (")
                               + names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (?, ?, ?)");
        const QString amount = scheduleColumn(key);
        dao::Database out = data1_.Database();
        out.BeginTrans();
        try {
            for (; !rows.EOF(); rows.MoveNext()) {
                out.Execute(insert, {rows.Fields(QStringLiteral("cpt")).Value(), rows.Fields(QStringLiteral("mod")).Value(),
                                     rows.Fields(amount).Value()});
                progress.setPrg1Value(progress.prg1Value() + 1);
            }
        } catch (const dao::Error&) {
            out.CommitTrans();
            throw;
        }
        out.CommitTrans();
        ReleaseSheet();
        exportrules::advanceCount(g().MainDb, parms.exportCnt);
        progress.setPrg1Value(progress.prg1Max());
        seam().DoEvents();
        rows.Close();
        exportrules::makeCurrent(programFolder);
        seam().SetMousePointer(vbDefault);
        lowerBusy();
        forms().unloadIfLoaded<ExprtInd>();
        seam().MsgBox(exportrules::kSuccess, vbOKOnly);
        Unload();
    } catch (const dao::Error& e) {
        forms().unloadIfLoaded<ExprtInd>();
        seam().SetMousePointer(vbDefault);
        lowerBusy();
        // The rows appended so far are written out.
        platform::resumeNext([this] { ReleaseSheet(); });
        seam().MsgBox(step + QStringLiteral("- ") + e.description, vbOKOnly);
    }
}

// ---- WLT

void FeeScheduleWizard::ExportWlt(const QString& key)
{
    if (Prompt_File() != 1)
        Create_Table(key);
}

int FeeScheduleWizard::Prompt_File()
{
    try {
        platform::CommonDialog dia;
        dia.InitDir = g().ProgramFolder;
        dia.CancelError = true;
        dia.DialogTitle = QStringLiteral("Select the path to export to.");
        dia.Filter = QStringLiteral("Text (*.txt)|*.txt");
        dia.FilterIndex = 1;
        const exportrules::Parms parms = exportrules::readParms(g().MainDb);
        if (parms.exportPath != QLatin1String("(Default)"))
            exportFolder = exportrules::proposedFolder(parms.exportPath, g().ProgramFolder);
        const QString name = QStringLiteral("WLT") + exportrules::countSuffix(parms.exportCnt) + QStringLiteral(".txt");
        dia.FileName = exportrules::joinPath(exportFolder, name);
        dia.Flags = kDialogFlags;
        try {
            dia.ShowSave();
        } catch (const dao::Error& e) {
            if (e.number == dao::errCancel) {
                Unload();
                return 1;
            }
        }
        chosenPath = dia.FileName;
        exportrules::advanceCount(g().MainDb, parms.exportCnt);
        return 0;
    } catch (const dao::Error& e) {
        seam().MsgBox(QStringLiteral("Errors Occured during export attempt: ") + QString::number(e.number), vbOKOnly);
        return 1;
    }
}

void FeeScheduleWizard::Create_Table(const QString& key)
{
    QString step;
    QFile file;
    try {
        seam().SetMousePointer(vbHourglass);
        if (QFileInfo::exists(chosenPath)) {
            step = QStringLiteral("Cannot remove file ") + chosenPath + QStringLiteral(" to create new file.");
            // Neither the main database nor the running program is ever removed.
            if (sameFile(chosenPath, programPath(QStringLiteral("kelva.mdb")))
                || sameFile(chosenPath, QCoreApplication::applicationFilePath()) || !QFile::remove(chosenPath))
                throw dao::Error(70, QStringLiteral("Permission denied"));
        }
        step = exportrules::kWritingText;
        dao::Recordset rs = SourceRows();
        file.setFileName(chosenPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw dao::Error(75, QStringLiteral("Path/File access error: '%1'").arg(QDir::toNativeSeparators(chosenPath)));
        if (rs.EOF())
            throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
        rs.MoveLast();
        const qint64 n = rs.RecordCount();
        rs.MoveFirst();
        ShowProgress(n);
        ExprtInd& progress = forms().get<ExprtInd>();

        std::vector<wlt::FeeRow> rows;
        rows.reserve(std::size_t(n));
        const QString amount = scheduleColumn(key);
        for (; !rs.EOF(); rs.MoveNext())
            rows.push_back({rs.Fields(QStringLiteral("cpt")).Value(), rs.Fields(QStringLiteral("mod")).Value(),
                            rs.Fields(amount).Value()});
        wlt::writeLines(rows, [&](const QByteArray& line) {
            if (file.write(line) != line.size())
                throw dao::Error(75, QStringLiteral("Path/File access error: '%1'").arg(QDir::toNativeSeparators(chosenPath)));
            progress.setPrg1Value(progress.prg1Value() + 1);
        });

        progress.setPrg1Value(progress.prg1Max());
        seam().DoEvents();
        rs.Close();
        if (!file.flush())
            throw dao::Error(75, QStringLiteral("Path/File access error: '%1'").arg(QDir::toNativeSeparators(chosenPath)));
        file.close();
        exportrules::makeCurrent(g().ProgramFolder);
        seam().SetMousePointer(vbDefault);
        forms().unloadIfLoaded<ExprtInd>();
        seam().MsgBox(exportrules::kSuccess, vbOKOnly);
        Unload();
    } catch (const dao::Error& e) {
        if (file.isOpen())
            file.close();
        forms().unloadIfLoaded<ExprtInd>();
        seam().SetMousePointer(vbDefault);
        seam().MsgBox(step + QStringLiteral(" -> ") + e.description, vbOKOnly);
    }
}

frmExportELIG::frmExportELIG() : FeeScheduleWizard(kZuzizavoz) {}
frmExportWLT::frmExportWLT() : FeeScheduleWizard(kWlt) {}

KELVA_FORM_NAME(frmExportELIG)
KELVA_FORM_NAME(frmExportWLT)
