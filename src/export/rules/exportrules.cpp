#include "export/rules/exportrules.h"

#include "app/pathcheck.h"
#include "export/ExprtInd.h"
#include "db/sqltext.h"
#include "platform/seam/CommonDialog.h"
#include "platform/seam/Seam.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace exportrules {

namespace {
// The save dialog's Help button, which nothing answers.
constexpr int cdlOFNHelpButton = 0x10;
}  // namespace

Parms readParms(dao::Database& db)
{
    dao::Recordset rs = db.OpenRecordset(QStringLiteral("SELECT * FROM Parms_CL LIMIT 1"));
    if (rs.EOF())
        throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
    Parms p;
    p.exportPath = rs.Fields(QStringLiteral("exportpath")).Value().toString();
    p.exportCnt = dao::CLng(rs.Fields(QStringLiteral("ExportCnt")).Value());
    rs.Close();
    return p;
}

QString proposedFolder(const QString& exportPath, const QString& programFolder)
{
    if (exportPath == QLatin1String("(Default)"))
        return programFolder;
    if (!CheckPathExists(exportPath).isEmpty())
        return exportPath;
    seam().MsgBox(QStringLiteral("Unable to find user defined path ") + exportPath + QLatin1Char('.'), vbOKOnly);
    return programFolder;
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString countSuffix(qint64 count)
{
    const QString text = count < 0 ? QString::number(count) : QLatin1Char(' ') + QString::number(count);
    return text.right(3);
}

QString countDigits(qint64 count)
{
    return QString::number(count).right(3);
}

QString proposedName(qint64 count)
{
    return QStringLiteral("morvex") + countSuffix(count);
}

bool refused(const QString& fileTitle)
{
    const QString upper = fileTitle.toUpper();
    return upper == QLatin1String("KELVA.MDB") || upper.left(6) == QLatin1String("EXPORT");
}

void showRefused()
{
    seam().MsgBox(kRefusedMessage, vbOKOnly);
}

FileType fileType(const QString& path)
{
    const QString type = path.right(3).toLower();
    if (type == QLatin1String("dbf"))
        return FileType::Dbf;
    if (type == QLatin1String("xls"))
        return FileType::Xls;
    if (type == QLatin1String("wk1"))
        return FileType::Wk1;
    if (type == QLatin1String("mdb"))
        return FileType::Mdb;
    if (type == QLatin1String("csv"))
        return FileType::Csv;
    return FileType::Other;
}

Target chooseTarget(const QString& filter, const QString& folder, const QString& name)
{
    platform::CommonDialog dia;
    dia.CancelError = true;
    dia.DialogTitle = QStringLiteral("Export");
    dia.Filter = filter;
    dia.FilterIndex = 1;
    dia.InitDir = folder;
    dia.FileName = name;
    dia.Flags = cdlOFNHideReadOnly | cdlOFNHelpButton;
    dia.ShowSave();
    return {dia.FileName, dia.FileTitle};
}

void copyTemplate(const QString& templatePath, const QString& target)
{
    if (!QFileInfo(templatePath).isFile())
        throw dao::Error(dao::errFileNotFound,
                         QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(templatePath)));
    if (QFileInfo::exists(target) && !QFile::remove(target))
        throw dao::Error(75, QStringLiteral("Path/File access error: '%1'").arg(target));
    if (!QFile::copy(templatePath, target))
        throw dao::Error(75, QStringLiteral("Path/File access error: '%1'").arg(target));
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

qint64 nextCount(qint64 n)
{
    return (n > 2000 ? 1000 : n) + 1;
}

void advanceCount(dao::Database& db, qint64 n)
{
    db.Execute(QStringLiteral("UPDATE Parms_CL SET ExportCnt = ") + db::sqlNumber(double(nextCount(n))));
}

void showFailure(const QString& step, const QString& description)
{
    seam().MsgBox(step, vbOKOnly);
    seam().MsgBox(description, vbOKOnly);
}

void startRows(dao::Recordset& rows, ExprtInd* progress)
{
    if (rows.EOF())
        throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
    rows.MoveLast();
    if (progress)
        progress->setPrg1Max(double(rows.RecordCount() + 2000));
    rows.MoveFirst();
}

void makeCurrent(const QString& folder)
{
    if (!folder.isEmpty())
        QDir::setCurrent(folder);
}

}  // namespace exportrules
