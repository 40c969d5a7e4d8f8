#pragma once

#include "platform/forms/Form.h"
#include "platform/seam/Printer.h"
#include "platform/seam/Seam.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <typeindex>
#include <vector>

// The seam for tests: every call is recorded; dialogs answer from queues a test fills beforehand.
// A dialog without a queued answer fails the test at once (ADD_FAILURE, then ScriptFailure is thrown so
// that the procedure ends instead of waiting); answers left over fail it in verifyNothingLeft().
class ScriptedSeam : public platform::Seam {
public:
    struct Call {
        QString kind;   // "MsgBox", "InputBox", "FileOpen", "FileSave", "PrinterDialog", "ShowModal",
                        // "Report", "Shell", "Help", "FtpConnect" (flags: the port,
                        // detail: "proxy" or "direct"), "FtpGet"
        QString text;   // prompt, window class, file, help file ...
        QString title;  // as passed (empty when the caller gave none)
        int flags = 0;  // buttons and icon; file dialog flags; help context
        QString detail; // default text, report text, shell operation ...
    };
    struct ScriptFailure {
        QString what;
    };

    ScriptedSeam();
    ~ScriptedSeam() override;

    // ---- answers
    // The next message box answers result; with text, it must show exactly that text and those flags.
    void answerMsgBox(int result);
    void expectMsgBox(const QString& text, int flags, int result = vbOK, std::optional<QString> title = std::nullopt);
    void answerInputBox(const QString& text);
    // The next file dialog chooses path (filterIndex 0 keeps the caller's); cancelFileDialog cancels it.
    void answerFileDialog(const QString& path, int filterIndex = 0);
    void cancelFileDialog();
    void answerPrinterDialog(bool ok);
    // The next printer dialog is answered OK with that printer chosen (it becomes the program's printer).
    void choosePrinter(const QString& printerName);
    void shellResult(int result);
    // The next modal show of a T runs script with the loaded window; it must hide or unload the window.
    template <class T>
    void onModal(std::function<void(T&)> script)
    {
        modal_[std::type_index(typeid(T))].push_back(
            [script = std::move(script)](platform::Form& f) { script(static_cast<T&>(f)); });
    }
    // Runs at the next DoEvents (what arrives while a long operation lets the loop run).
    void onDoEvents(std::function<void()> fn) { doEvents_.push_back(std::move(fn)); }
    void setNow(const QDateTime& now) { now_ = now; }
    // Runs at the next report preview, before it is recorded (what the program has done by then).
    void onReport(std::function<void()> fn) { report_.push_back(std::move(fn)); }
    // The PDF files of the report previews, in order, and the documents shown.
    const QStringList& reportPdfs() const { return reportPdfs_; }
    const std::vector<std::shared_ptr<const platform::report::Document>>& reports() const { return reports_; }
    // The FTP server: account, and the files it holds by remote path ("/html/kelva/cgi/kelvaupd04.dat").
    void ftpServer(const QString& host, const QString& user, const QString& password);
    void ftpFile(const QString& remotePath, const QByteArray& content);
    void ftpUnreachable() { ftp_.reset(); ftpUnreachable_ = true; }
    // Connections go to a real server through libcurl (a local test server); still recorded.
    void ftpThroughCurl() { ftpCurl_ = true; }

    // ---- what happened
    const std::vector<Call>& calls() const { return calls_; }
    std::vector<Call> calls(const QString& kind) const;
    QStringList messages() const;  // texts of every message box, in order
    int doEventsCount() const { return doEventsCount_; }
    int mousePointer() const { return pointer_; }
    platform::Printer& printer() override { return printer_; }
    // Fails the test for every answer not used; clears the queues.
    void verifyNothingLeft();

    // ---- the seam
    int MsgBox(const QString& prompt, int buttons, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    bool FileDialog(platform::FileDialogKind kind, platform::FileDialogState& state) override;
    bool PrinterDialog() override;
    void ShowModal(platform::Form& form) override;
    // Records the preview ("Report": caption, flags 1 when modal, detail the document's text) and writes the
    // document as a PDF file (reportPdfs).
    void PreviewReport(const QString& caption, std::shared_ptr<const platform::report::Document> document,
                       bool modal) override;
    int ShellExecute(const QString& operation, const QString& file) override;
    void HtmlHelp(const QString& helpFile, int context) override;
    void DoEvents() override;
    QDateTime Now() override { return now_.isValid() ? now_ : QDateTime::currentDateTime(); }
    std::unique_ptr<platform::FtpConnection> FtpConnect(const QString& host, const QString& user,
                                                        const QString& password, int port = 0,
                                                        bool useProxy = false) override;
    void SetMousePointer(int pointer) override { pointer_ = pointer; }

private:
    struct MsgAnswer {
        int result;
        std::optional<QString> text;
        int flags = 0;
        std::optional<QString> title;
    };
    struct FileAnswer {
        bool cancel;
        QString path;
        int filterIndex;
    };
    struct FtpServer {
        QString host, user, password;
        std::map<QString, QByteArray> files;
    };
    class ScriptedFtp;

    [[noreturn]] void unexpected(const QString& what);
    // What a dialog does to the window that shows it: it loses and then regains activation.
    void dialogRoundTrip();

    std::vector<Call> calls_;
    std::deque<MsgAnswer> msg_;
    std::deque<QString> input_;
    std::deque<FileAnswer> file_;
    std::deque<bool> printerDialog_;
    std::deque<QString> printerChoice_;
    std::deque<int> shell_;
    std::map<std::type_index, std::deque<std::function<void(platform::Form&)>>> modal_;
    std::deque<std::function<void()>> doEvents_;
    std::deque<std::function<void()>> report_;
    QStringList reportPdfs_;
    std::vector<std::shared_ptr<const platform::report::Document>> reports_;
    std::optional<FtpServer> ftp_;
    bool ftpUnreachable_ = false;
    bool ftpCurl_ = false;
    QDateTime now_;
    int doEventsCount_ = 0;
    int pointer_ = 0;
    bool failed_ = false;
    QTemporaryDir printDir_;
    platform::Printer printer_;
};
