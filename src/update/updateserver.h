#pragma once

#include "platform/seam/Seam.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// The maker's update server: the status file that names the current update and its date, and the update
// database, both in "/html/kelva/cgi/" and both fetched into the program folder.
namespace update {

inline const QString kRemoteFolder = QStringLiteral("/html/kelva/cgi/");
inline const QString kStatusFileName = QStringLiteral("kelvaupd04.dat");

// Where the update server is. The build sets host, numeric address, account and password; port 0 is FTP's own
// (tests point it at a local server).
struct UpdateServer {
    QString host;
    QString address;
    QString user;
    QString password;
    int port = 0;
};
UpdateServer& updateServer();

// The update connection's program-wide values; only the data update window uses them.
struct UpdateConnection {
    std::unique_ptr<platform::FtpConnection> FtpSession;  // the open FTP connection, null when none
    int FtpConnected = 0;                                 // -1 while a connection is open and logged in
    int FtpTransferType = 1;                              // the status file's transfer: 1 ASCII
    int NoInternet = 0;                                   // -1 once the server could not be reached
    QString strStepMessage;  // the status check's step in progress; kept for the whole run
};
UpdateConnection& connection();

// The status file's first line: the update file's name, one blank, the date of its data. The date reads as
// month/day/year, optionally followed by a time, whatever the machine's locale. Nothing when the line
// holds no blank or the date is none.
struct StatusLine {
    QString fileName;
    QDateTime date;
};
std::optional<StatusLine> parseStatusLine(const QString& line);
// "06/30/2014", "6/30/2014 14:05", "6/30/2014 2:05:09 PM", "6/30/14".
std::optional<QDateTime> parseUsDate(const QString& text);
// A file's first line, without its line end ("" for an empty file).
QString firstLine(const QByteArray& content);

// Whether `offered` is a later date than `installed`; an empty date on either side never is.
bool isLater(const QDateTime& offered, const QDateTime& installed);

enum class CheckOutcome { Offered, UpToDate, NothingOffered, NoConnection, Failed };
struct CheckResult {
    CheckOutcome outcome = CheckOutcome::Failed;
    StatusLine status;  // set when a status line was read
};

// FtpUpdateCheck: fetches the status file without a proxy and compares its date with `installedDate()` (read
// only when the line names an ".mdb"). A failure shows strStepMessage, or else the error's description, and
// keeps the status file; otherwise the status file is deleted. A server that cannot be reached or refuses the
// login is NoConnection, without a message.
CheckResult FtpUpdateCheck(const std::function<QDateTime()>& installedDate);

// FtpUpdateDownload: fetches the update database, in binary with the environment's proxy settings, into the
// program folder as "kelvaupd04.mdb". False (no connection) when the server cannot be reached, refuses the
// login or has no update database; the file already there is then left as it was.
bool FtpUpdateDownload();

// Makes `path` the current remote folder of the open connection; the server's numeric address is dropped
// from its start. A failure is not reported: the next fetch fails instead.
void FtpChangeDirectory(const QString& path);

// Closes the open FTP connection.
void closeConnection();

}  // namespace update
