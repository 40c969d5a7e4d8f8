#include "update/updateserver.h"

#include "app/globals.h"
#include "buildsettings.h"
#include "platform/dao/Error.h"
#include "update/updatedb.h"

#include <QFile>
#include <QRegularExpression>

namespace update {

namespace {

const QString kFailed = QStringLiteral("The update server's status file could not be read.");

// The status check's failure: what its step in progress says, or else the error's own description.
CheckResult checkFailed(const QString& description)
{
    UpdateConnection& c = connection();
    seam().SetMousePointer(vbDefault);
    closeConnection();
    seam().MsgBox(c.strStepMessage.isEmpty() ? description : c.strStepMessage, vbOKOnly);
    return {CheckOutcome::Failed, {}};
}

bool connect(bool useProxy)
{
    const UpdateServer& s = updateServer();
    UpdateConnection& c = connection();
    c.FtpSession = seam().FtpConnect(s.host, s.user, s.password, s.port, useProxy);
    c.FtpConnected = c.FtpSession ? -1 : 0;
    return c.FtpSession != nullptr;
}

}  // namespace

UpdateServer& updateServer()
{
    static UpdateServer server{QString::fromUtf8(build::FtpHost), QString::fromUtf8(build::FtpAddress),
                               QString::fromUtf8(build::FtpUser), QString::fromUtf8(build::FtpPassword), 0};
    return server;
}

UpdateConnection& connection()
{
    static UpdateConnection c;
    return c;
}

void closeConnection()
{
    UpdateConnection& c = connection();
    c.FtpSession.reset();
    c.FtpConnected = 0;
}

QString firstLine(const QByteArray& content)
{
    qsizetype end = content.size();
    for (qsizetype i = 0; i < content.size(); ++i)
        if (content[i] == '\r' || content[i] == '\n') {
            end = i;
            break;
        }
    return QString::fromLatin1(content.left(end));
}

std::optional<QDateTime> parseUsDate(const QString& text)
{
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?\s*([AaPp][Mm])?)?\s*$)"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += year < 30 ? 2000 : 1900;  // the old platform's two-digit window
    const QDate date(year, m.captured(1).toInt(), m.captured(2).toInt());
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (m.hasCaptured(4)) {
        int hour = m.captured(4).toInt();
        const QString half = m.captured(7).toUpper();
        if (!half.isEmpty()) {
            if (hour < 1 || hour > 12)
                return std::nullopt;
            hour = hour % 12 + (half == QLatin1String("PM") ? 12 : 0);
        }
        time = QTime(hour, m.captured(5).toInt(), m.hasCaptured(6) ? m.captured(6).toInt() : 0);
        if (!time.isValid())
            return std::nullopt;
    }
    return QDateTime(date, time);
}

std::optional<StatusLine> parseStatusLine(const QString& line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return std::nullopt;
    const auto date = parseUsDate(line.mid(blank + 1));
    if (!date)
        return std::nullopt;
    return StatusLine{line.left(blank), *date};
}

bool isLater(const QDateTime& offered, const QDateTime& installed)
{
    return offered.isValid() && installed.isValid() && offered > installed;
}

void FtpChangeDirectory(const QString& path)
{
    const QString address = updateServer().address;
    QString folder = !address.isEmpty() && path.contains(address) ? path.mid(address.size()) : path;
    if (folder.isEmpty())
        folder = QStringLiteral("/");
    if (connection().FtpSession)
        connection().FtpSession->SetCurrentDirectory(folder);
}

CheckResult FtpUpdateCheck(const std::function<QDateTime()>& installedDate)
{
    UpdateConnection& c = connection();
    seam().SetMousePointer(vbHourglass);
    closeConnection();
    if (c.FtpConnected == 0 && !connect(false)) {
        seam().SetMousePointer(vbDefault);
        return {CheckOutcome::NoConnection, {}};
    }

    const QString remote = kRemoteFolder + kStatusFileName;
    const qsizetype slash = remote.lastIndexOf(QLatin1Char('/'));
    FtpChangeDirectory(remote.left(slash + 1));
    const QString local = programPath(kStatusFileName);
    const bool fetched = c.FtpSession->GetFile(remote.mid(slash + 1), local, c.FtpTransferType != 1);

    c.strStepMessage = QStringLiteral("Cannot perform the update process at this time.  If you continue to receive "
                                      "this message please call tech support ") +
                       QString::fromUtf8(build::SupportPhone) + QStringLiteral(".");
    if (!fetched)
        return checkFailed(kFailed);

    c.strStepMessage = QStringLiteral("Can't open date file to determine update status");
    QFile file(local);
    if (!file.open(QIODevice::ReadOnly))
        return checkFailed(file.errorString());
    const QString line = firstLine(file.readAll());
    file.close();

    c.strStepMessage = QStringLiteral("Can't determine update status. Please again try later.");
    CheckResult result{CheckOutcome::NothingOffered, {}};
    if (line.contains(QLatin1String(".mdb"))) {
        const auto status = parseStatusLine(line);
        if (!status)
            return checkFailed(kFailed);
        QDateTime installed;
        try {
            installed = installedDate();
        } catch (const dao::Error& e) {
            return checkFailed(e.description);
        }
        result.status = *status;
        result.outcome = isLater(status->date, installed) ? CheckOutcome::Offered : CheckOutcome::UpToDate;
    }
    closeConnection();
    QFile::remove(local);
    seam().SetMousePointer(vbDefault);
    return result;
}

bool FtpUpdateDownload()
{
    closeConnection();
    if (!connect(true))
        return false;
    // Fetched beside the update database and put in its place only when whole: a failed transfer leaves the
    // file already there as it was.
    const QString target = programPath(kUpdateFileName);
    const QString part = target + QStringLiteral(".download");
    const bool fetched = connection().FtpSession->GetFile(kRemoteFolder + kUpdateFileName, part, true);
    closeConnection();
    if (!fetched) {
        QFile::remove(part);
        return false;
    }
    QFile::remove(target);
    return QFile::rename(part, target);
}

}  // namespace update
