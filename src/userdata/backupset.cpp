#include "userdata/backupset.h"

#include "platform/dao/RecordEdit.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/guarded.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace backupset {

namespace {

using C = Conversion;

const QString kUserFieldEmpty = QStringLiteral("XXXXXXX");
constexpr int kNoteLength = 150;
// The previous set waits here while the new one moves in.
const QString kPreviousSetFolder = QStringLiteral(".previousset");
const QString kNewSetFolder = QStringLiteral(".newset");
void moveFile(const QString& from, const QString& to)
{
    if (!QFile::rename(from, to))
        pathError(from);
}

// Moves the named files from one folder to another; on a failure the files moved so far go back.
void moveAll(const QStringList& names, const QDir& from, const QDir& to)
{
    QStringList moved;
    try {
        for (const QString& name : names) {
            moveFile(from.filePath(name), to.filePath(name));
            moved << name;
        }
    } catch (const dao::Error&) {
        for (const QString& name : moved)
            QFile::rename(to.filePath(name), from.filePath(name));
        throw;
    }
}

bool isFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") && !name.contains('/')
           && !name.contains('\\');
}

// The files that backupAllSess.mdb lists; nothing when it cannot be read.
QStringList listedFiles(const QDir& folder)
{
    QStringList names;
    const QString path = folder.filePath(kAllSessionsFile);
    if (!QFileInfo(path).isFile())
        return names;
    platform::resumeNext([&] {
        dao::Database set = dao::OpenDatabase(path, kConnect);
        dao::Recordset rs = set.OpenRecordset(QStringLiteral("SELECT SESTAB FROM allsessions"));
        for (; !rs.EOF(); rs.MoveNext())
            if (!rs[0].Value().isNull())
                names << sessionFileName(rs[0].Value().toString());
    });
    return names;
}

}  // namespace

void pathError(const QString& path)
{
    constexpr int errPathAccess = 75;
    throw dao::Error(errPathAccess, QStringLiteral("Path/File access error ('%1')").arg(QDir::toNativeSeparators(path)));
}

QString sessionFileName(const QString& sestab)
{
    return sestab + QStringLiteral(".mdb");
}

const std::vector<CodeColumn>& codeColumns()
{
    static const std::vector<CodeColumn> columns = {
        {"Tag", "Tag", C::Unchanged},
        {"Codemod", "CODEMOD", C::Unchanged},
        {"CPT", "CPT", C::Unchanged},
        {"Mod", "MOD", C::Unchanged},
        {"Status", "STATUS", C::Unchanged},
        {"Desc", "DESC", C::Unchanged},
        {"NFRBPERVU", "NFRBPERVU", C::Double},
        {"NFTPERVU", "NFTPERVU", C::RvuText},
        {"FRBPERVU", "FRBPERVU", C::Double},
        {"FTPERVU", "FTPERVU", C::Double},
        {"WORKZ", "WORKZ", C::Double},
        {"MRVU", "MRVU", C::Double},
        {"NFRBTOTAL", "NFRBTOTAL", C::Double},
        {"NFTTOTAL", "NFTTOTAL", C::Double},
        {"FTTOTAL", "FTTOTAL", C::Double},
        {"QNPART", "NPART", C::Amount},
        {"QNNPART", "NNPART", C::Amount},
        {"QNLC", "NLC", C::Amount},
        {"QFPART", "FPART", C::Amount},
        {"QFNPART", "FNPART", C::Amount},
        {"QFLC", "FLC", C::Amount},
        {"Global", "GLOBAL", C::Unchanged},
        {"S1", "S1", C::Unchanged},
        {"S2", "S2", C::Unchanged},
        {"S3", "S3", C::Unchanged},
        {"S4", "S4", C::Unchanged},
        {"S5", "S5", C::Unchanged},
        {"Freq1", "Freq1", C::Unchanged},
        {"Freq2", "Freq2", C::Unchanged},
        {"Freq3", "Freq3", C::Unchanged},
        {"Freq4", "Freq4", C::Unchanged},
        {"Freq5", "Freq5", C::Unchanged},
        {"NAIND", "NAIND", C::Unchanged},
        {"NAFIND", "NAFIND", C::Unchanged},
        {"PCTCIND", "PCTCIND", C::Unchanged},
        {"PREOP", "PREOP", C::Unchanged},
        {"INTRAOP", "INTRAOP", C::Unchanged},
        {"POSTOP", "POSTOP", C::Unchanged},
        {"MULTPROC", "MULTPROC", C::Unchanged},
        {"BILATSURG", "BILATSURG", C::Unchanged},
        {"ASSTSURG", "ASSTSURG", C::Unchanged},
        {"COSURG", "COSURG", C::Unchanged},
        {"TEAMSURG", "TEAMSURG", C::Unchanged},
        {"PHYSSUPV", "PHYSSUPV", C::Unchanged},
        {"ENDOBASE", "ENDOBASE", C::Unchanged},
        {"NOTUSEDIND", "NOTUSEDIND", C::Unchanged},
        {"USRDF", "USRDF", C::UserField},
        {"Notes", "NOTES", C::Note},
    };
    return columns;
}

QString backupNote(const QString& note)
{
    QString out = note.left(kNoteLength);
    out.replace(QChar(13), QChar(' '));
    out.replace(QChar(10), QChar(' '));
    return out;
}

dao::Variant converted(Conversion conversion, const dao::Variant& source)
{
    if (source.isNull())
        return {};
    switch (conversion) {
    case C::Unchanged: return source;
    case C::Double: return source.toDouble();
    case C::Amount: return jet::format(source.toDouble(), QStringLiteral("#0.00"));
    case C::RvuText: return jet::format(source.toDouble(), QStringLiteral("#####.00"));
    case C::UserField: return source.toString() == kUserFieldEmpty ? dao::Variant() : source;
    case C::Note: {
        const QString note = source.toString();
        return note.isEmpty() ? dao::Variant() : dao::Variant(backupNote(note));
    }
    }
    return source;
}

const std::vector<SessionColumn>& sessionColumns()
{
    using R = db::SessionRow;
    static const std::vector<SessionColumn> columns = {
        {&R::Session, "Session"},
        {&R::SESTAB, "SESTAB"},
        {&R::CURCONVF, "CURCONVF"},
        {&R::CURCONVA, "CURCONVA"},
        {&R::CURUSEADJ, "curuseadj"},
        {&R::CURWORKGPCI, "CURWORKGPCI"},
        {&R::CURPRACGPCI, "CURPRACGPCI"},
        {&R::CURMALPGPCI, "CURMALPGPCI"},
        {&R::scheduleName(0), "S1NAME"},
        {&R::scheduleName(1), "S2NAME"},
        {&R::scheduleName(2), "S3NAME"},
        {&R::scheduleName(3), "S4NAME"},
        {&R::scheduleName(4), "S5NAME"},
        {&R::GEOLOC, "GEOLOC"},
        {&R::GDEC, "GDEC"},
        {&R::PLIMCOL, "PLIMCOL"},
        {&R::frequencyName(0), "F1NAME"},
        {&R::frequencyName(1), "F2NAME"},
        {&R::frequencyName(2), "F3NAME"},
        {&R::frequencyName(3), "F4NAME"},
        {&R::frequencyName(4), "F5NAME"},
        {&R::OPTName, "OPTName"},
        {&R::selectzip, "SelectZip"},
    };
    return columns;
}

void addSessionRecord(dao::Recordset& target, const db::SessionRow& row)
{
    dao::RecordEdit record(target, dao::RecordEdit::AddNew);
    for (const SessionColumn& c : sessionColumns()) {
        const dao::Variant v = row.value(*c.source);
        if (!v.isNull())
            target[c.target] = v;
    }
    record.Update();
}

db::FeeFactors sessionFactors(const db::SessionRow& row)
{
    using R = db::SessionRow;
    db::FeeFactors f;
    f.workAdjuster = 1.0;
    f.workGpci = row.get(R::CURWORKGPCI);
    f.pracGpci = row.get(R::CURPRACGPCI);
    f.malpGpci = row.get(R::CURMALPGPCI);
    f.convFactor = (1 + row.get(R::CURCONVA)) * row.get(R::CURCONVF);
    return f;
}

QString newSetFolder(const QString& backupFolder)
{
    return QDir(backupFolder).filePath(kNewSetFolder);
}

QStringList setFiles(const QString& folder)
{
    static const QRegularExpression sessionFile(QStringLiteral("^DATA[0-9]+\\.mdb$"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QDir dir(folder);
    QStringList names;
    if (QFileInfo(dir.filePath(kAllSessionsFile)).isFile())
        names << kAllSessionsFile;
    for (const QString& name : listedFiles(dir))
        if (isFileName(name) && QFileInfo(dir.filePath(name)).isFile() && !names.contains(name))
            names << name;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (sessionFile.match(name).hasMatch() && !names.contains(name))
            names << name;
    return names;
}

void replaceSet(const QString& backupFolder, const QString& newFolder)
{
    const QDir backup(backupFolder);
    const QDir incoming(newFolder);
    const QDir previous(backup.filePath(kPreviousSetFolder));
    if (previous.exists() && !QDir(previous).removeRecursively())
        pathError(previous.path());
    if (!backup.mkdir(kPreviousSetFolder))
        pathError(previous.path());
    const QStringList old = setFiles(backupFolder);
    moveAll(old, backup, previous);
    try {
        moveAll(incoming.entryList(QDir::Files | QDir::Hidden | QDir::System), incoming, backup);
    } catch (const dao::Error&) {
        moveAll(old, previous, backup);
        throw;
    }
    QDir(previous).removeRecursively();
    QDir(incoming).removeRecursively();
}

void removeLeftovers(const QString& backupFolder)
{
    const QDir backup(backupFolder);
    QDir previous(backup.filePath(kPreviousSetFolder));
    // Stopped between putting the previous set aside and moving the new one in: the previous set goes back.
    if (previous.exists() && !QFileInfo(backup.filePath(kAllSessionsFile)).exists())
        moveAll(previous.entryList(QDir::Files | QDir::Hidden | QDir::System), previous, backup);
    for (const QString& name : {kPreviousSetFolder, kNewSetFolder}) {
        QDir leftover(backup.filePath(name));
        if (leftover.exists() && !leftover.removeRecursively())
            pathError(leftover.path());
    }
}

}  // namespace backupset
