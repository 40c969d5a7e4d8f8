#pragma once

#include "platform/seam/vbconstants.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>


namespace platform {

class Form;
class Printer;
namespace report {
class Document;
}

// What a file open or save dialog is given and gives back (the CommonDialog's properties).
struct FileDialogState {
    QString Filter;         // "Excel (*.xls)|*.xls|All files (*.*)|*.*"
    int FilterIndex = 1;    // 1-based, as the old dialog counted
    QString FileName;       // in: proposed name; out: the chosen full path
    QString FileTitle;      // out: the chosen name without its folder
    QString InitDir;
    QString DialogTitle;
    int Flags = 0;
    bool CancelError = false;
};

enum class FileDialogKind { Open, Save };

// An open FTP connection to one server (passive mode, the default port).
class FtpConnection {
public:
    virtual ~FtpConnection() = default;
    virtual bool SetCurrentDirectory(const QString& remoteFolder) = 0;
    // remoteFile is a name in the current folder or a path beginning with "/".
    virtual bool GetFile(const QString& remoteFile, const QString& localPath, bool binary) = 0;
};

// Everything that waits for a person or the outside world. The program runs on QtSeam; tests install a
// scripted one that answers from queues and records every call.
class Seam {
public:
    virtual ~Seam() = default;

    // A message box; an empty title shows the program's title. Returns vbOK, vbYes, vbNo, vbCancel ...
    virtual int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString()) = 0;
    // An input box; Cancel returns the empty text, as the old one did.
    virtual QString InputBox(const QString& prompt, const QString& title = QString(),
                             const QString& defaultText = QString()) = 0;
    // A file dialog; false when the person cancelled it (CommonDialog turns that into error 32755).
    virtual bool FileDialog(FileDialogKind kind, FileDialogState& state) = 0;
    // The printer dialog; false when cancelled.
    virtual bool PrinterDialog() = 0;
    // Shows a loaded window modally and returns once it is hidden or unloaded.
    virtual void ShowModal(Form& form) = 0;
    // The program's text printer.
    virtual Printer& printer() = 0;
    // A report document in its preview window, titled caption, from which the person prints it. Modal: returns
    // when the preview is closed; modeless: returns at once, and replaces an open preview of the same caption.
    virtual void PreviewReport(const QString& caption, std::shared_ptr<const report::Document> document,
                               bool modal) = 0;
    // Opens or prints a file with the desktop's application; above 32 on success, 2 when not found.
    virtual int ShellExecute(const QString& operation, const QString& file) = 0;
    // Help file and context number.
    virtual void HtmlHelp(const QString& helpFile, int context) = 0;
    // Lets the event loop run once.
    virtual void DoEvents() = 0;
    // The clock.
    virtual QDateTime Now() = 0;
    // Connects to an FTP server; null when the server cannot be reached or refuses the login. port 0 is
    // FTP's own; useProxy takes the proxy the environment configures, otherwise the connection is direct.
    virtual std::unique_ptr<FtpConnection> FtpConnect(const QString& host, const QString& user,
                                                      const QString& password, int port = 0,
                                                      bool useProxy = false) = 0;
    // The mouse pointer of the whole program (vbDefault, vbHourglass ...).
    virtual void SetMousePointer(int pointer) = 0;
};

// The seam the program runs on. Until one is installed, the Qt implementation.
Seam& seam();
// Installs a seam (not owned); nullptr goes back to the Qt one. Returns the previous one.
Seam* setSeam(Seam* seam);

}  // namespace platform

using platform::seam;
