#include "userdata/frmBackup.h"

#include "app/globals.h"
#include "db/feequery.h"
#include "db/sessions.h"
#include "export/ExprtInd.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/FieldProperty.h"
#include "platform/dao/RecordEdit.h"
#include "platform/dao/Transaction.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"
#include "userdata/backupset.h"
#include "userdata/restore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using platform::newControl;

namespace {

const QString kStageDirectory = QStringLiteral("Error creating backup directory.");
const QString kStageTables = QStringLiteral("Error creating backup tables.");
// The bar's margin beyond a session's codes: it stops short of full until the session is done.
constexpr int kBarMargin = 2000;

// A template's copy, writable whatever the template's own permissions.
void copyTemplate(const QString& from, const QString& to)
{
    if (!QFileInfo(from).isFile())
        throw dao::Error(dao::errFileNotFound,
                         QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(from)));
    if (!QFile::copy(from, to))
        backupset::pathError(to);
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void bindData(platform::DataControl& data, const QString& file, const QString& source)
{
    data.setConnect(backupset::kConnect);
    data.setDatabaseName(file);
    data.setRecordSource(source);
    data.Refresh();
}

int fieldIndex(dao::Recordset& rs, const char* name)
{
    const QString wanted = QString::fromLatin1(name);
    for (int i = 0; i < rs.FieldCount(); ++i)
        if (rs.fieldName(i).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    throw dao::Error(dao::errItemNotFound, QStringLiteral("Item not found in this collection."));
}

// The TAG text fields of the table named exactly `table` take the zero-length text.
void allowZeroLengthTag(const QString& file, const QString& table)
{
    dao::Database db = dao::OpenDatabase(file, false, false, g().DbConnect);
    for (const QString& name : db.TableNames()) {
        if (name != table)
            continue;
        for (const dao::FieldDef& f : db.tableDef(name).fields)
            if (f.type == dao::FieldType::Text && f.name.toUpper() == QLatin1String("TAG"))
                dao::setAllowZeroLength(db, name, f.name, true);
        break;
    }
    db.Close();
}

}  // namespace

frmBackup::frmBackup()
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("Backup / Restore"));
    platform::useDesignFont(this);
    setFixedSize(platform::tw(5895), platform::tw(3240));

    Frame1 = newControl<QGroupBox>(this, "Frame1", 120, 120, 5655, 975, QStringLiteral("Backup"));
    Command1 = newControl<QPushButton>(Frame1, "Command1", 240, 360, 5175, 435, QStringLiteral("Create Backup File"));
    Frame2 = newControl<QGroupBox>(this, "Frame2", 120, 1200, 5655, 975, QStringLiteral("Restore"));
    Command2 = newControl<QPushButton>(Frame2, "Command2", 240, 360, 5175, 435, QStringLiteral("Restore "));
    Label1 = newControl<QLabel>(this, "Label1", 120, 2340, 4215, 780,
                                QStringLiteral("Note: This process make take several minutes.  Do not interrupt the "
                                               "process until completed"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Command4 = newControl<QPushButton>(this, "Command4", 4560, 2400, 1215, 435, QStringLiteral("Cancel"));

    for (auto& d : data_) {
        d = std::make_unique<platform::DataControl>(this);
        d->setConnect(QStringLiteral("Access 2000;"));
    }
    Data1.setConnect(QStringLiteral("Access 2000;"));
    wire();
}

frmBackup::~frmBackup() = default;

void frmBackup::wire()
{
    platform::onClick(Command1, [this] { Command1_Click(); });
    platform::onClick(Command2, [this] { Command2_Click(); });
    platform::onClick(Command4, [this] { Command4_Click(); });
}

void frmBackup::Form_QueryUnload(int& Cancel, int)
{
    // Its data controls are in use until the backup ends.
    if (running_)
        Cancel = 1;
}

void frmBackup::Command1_Click()
{
    if (running_)
        return;
    running_ = true;
    BackupSessions();
    running_ = false;
}

void frmBackup::Command2_Click()
{
    if (running_)
        return;
    running_ = true;
    const bool restored = restore::RestoreSessions(*this);
    running_ = false;
    if (restored)
        restore::FinishRestore(*this);
}

void frmBackup::Command4_Click()
{
    if (running_)
        return;
    Unload();
}

void frmBackup::MatchTagFieldSize(const QString& backupFile, const QString& table)
{
    (void)table;
    allowZeroLengthTag(programPath(QStringLiteral("kelva.mdb")), db::kModelTable);
    allowZeroLengthTag(backupFile, QStringLiteral("DATA0000BKP"));
}

void frmBackup::BackupSessions()
{
    const QString folder = g().ProgramFolder;
    const QString backupFolder = QDir(folder).filePath(backupset::kFolder);
    const QString newFolder = backupset::newSetFolder(backupFolder);
    platform::StepGuard step;
    try {
        step(kStageDirectory);
        PrepareFolder(backupFolder, newFolder);
        dao::Recordset sessions = g().MainDb.OpenRecordset(QStringLiteral("SELECT  * FROM sessions"));
        const QString allSessions = QDir(newFolder).filePath(backupset::kAllSessionsFile);
        copyTemplate(programPath(backupset::kAllSessionsFile), allSessions);
        bindData(Data(0), allSessions, backupset::kAllSessionsTable);
        for (; !sessions.EOF(); sessions.MoveNext()) {
            const db::SessionRow session(sessions);
            // "Default" owns the model table; compared with case, as the table name is stored.
            if (session.value(db::SessionRow::SESTAB).toString() != db::kModelTable) {
                step(kStageTables);
                BackupSession(session, newFolder);
            }
            if (ExprtInd* progress = forms().loadedOrNull<ExprtInd>())
                progress->setPrg1Value(progress->prg1Max());
        }
        sessions.Close();
        ReleaseData(1);
        ReleaseData(0);
        backupset::replaceSet(backupFolder, newFolder);
        running_ = false;
        Unload();
        if (ExprtInd* progress = forms().loadedOrNull<ExprtInd>())
            progress->setPrg1Value(progress->prg1Max());
        seam().DoEvents();
        forms().unloadIfLoaded<ExprtInd>();
        seam().MsgBox(QStringLiteral("Backup complete"), vbOKOnly);
        platform::SetBusyCursor(0);
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        seam().MsgBox(step.text(), vbOKOnly);
        forms().unloadIfLoaded<ExprtInd>();
        platform::SetBusyCursor(0);
        ReleaseData(1);
        // The unfinished set goes; the previous one was never touched.
        ReleaseData(0);
        QDir(newFolder).removeRecursively();
        QDir::setCurrent(folder);
    }
}

// The backup folder exists and holds an empty folder for the new set; what an interrupted run left is gone.
void frmBackup::PrepareFolder(const QString& backupFolder, const QString& newFolder)
{
    // An existing folder is no failure.
    platform::resumeNext([&] {
        if (!QDir().mkpath(backupFolder))
            backupset::pathError(backupFolder);
    });
    backupset::removeLeftovers(backupFolder);
    if (!QDir().mkpath(newFolder))
        backupset::pathError(newFolder);
}

void frmBackup::BackupSession(const db::SessionRow& session, const QString& newFolder)
{
    const QString sestab = session.get(db::SessionRow::SESTAB);
    const QString file = QDir(newFolder).filePath(backupset::sessionFileName(sestab));
    copyTemplate(programPath(backupset::kSessionTemplate), file);
    MatchTagFieldSize(file, sestab);
    bindData(Data(1), file, backupset::kCodeTable);

    ExprtInd& progress = forms().get<ExprtInd>();
    progress.Label2->hide();
    progress.setCaption(QStringLiteral("Backup"));
    progress.Show();
    progress.setPrg1Value(0);
    seam().DoEvents();

    // One transaction per file: the rows reach the disk together.
    dao::Transaction written(Data(1).Database());
    CopyCodeRows(session, progress);
    Data(1).setRecordSource(backupset::kSessionTable);
    Data(1).Refresh();
    backupset::addSessionRecord(Data(1).Recordset(), session);
    written.Commit();
    backupset::addSessionRecord(Data(0).Recordset(), session);
}

void frmBackup::CopyCodeRows(const db::SessionRow& session, ExprtInd& progress)
{
    const db::FeeQuery query =
        db::backupFeeQuery(backupset::sessionFactors(session), session.get(db::SessionRow::SESTAB));
    dao::Recordset rows = g().MainDb.OpenRecordset(query.sql, query.params);
    // The restore cannot read an empty Data0000Bkp.
    if (rows.EOF())
        throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
    rows.MoveLast();
    progress.setPrg1Max(double(rows.RecordCount() + kBarMargin));
    rows.MoveFirst();

    dao::Recordset& target = Data(1).Recordset();
    struct Column {
        int source, target;
        backupset::Conversion conversion;
    };
    std::vector<Column> columns;
    for (const backupset::CodeColumn& c : backupset::codeColumns())
        columns.push_back({fieldIndex(rows, c.source), fieldIndex(target, c.target), c.conversion});

    for (; !rows.EOF(); rows.MoveNext()) {
        dao::RecordEdit record(target, dao::RecordEdit::AddNew);
        for (const Column& c : columns) {
            const dao::Variant v = backupset::converted(c.conversion, rows.Fields(c.source).Value());
            if (!v.isNull())
                target.Fields(c.target) = v;
        }
        record.Update();
        progress.setPrg1Value(progress.prg1Value() + 1);
    }
}

void frmBackup::ReleaseData(int Index)
{
    platform::DataControl& data = Data(Index);
    if (data.hasRecordset())
        data.Recordset().Close();
    data.setDatabaseName(QString());
    data.setRecordSource(QString());
}

KELVA_FORM_NAME(frmBackup)
