#pragma once

#include "platform/seam/Printer.h"
#include "platform/seam/Seam.h"

namespace platform {

// The seam of the program: Qt's dialogs, QPrinter, the desktop's applications, libcurl for FTP.
class QtSeam : public Seam {
public:
    int MsgBox(const QString& prompt, int buttons, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    bool FileDialog(FileDialogKind kind, FileDialogState& state) override;
    bool PrinterDialog() override;
    void ShowModal(Form& form) override;
    Printer& printer() override { return printer_; }
    void PreviewReport(const QString& caption, std::shared_ptr<const report::Document> document,
                       bool modal) override;
    int ShellExecute(const QString& operation, const QString& file) override;
    void HtmlHelp(const QString& helpFile, int context) override;
    void DoEvents() override;
    QDateTime Now() override { return QDateTime::currentDateTime(); }
    std::unique_ptr<FtpConnection> FtpConnect(const QString& host, const QString& user, const QString& password,
                                              int port, bool useProxy) override;
    void SetMousePointer(int pointer) override;

private:
    Printer printer_;
    bool waitCursor_ = false;
};

// The old dialog's filter "Text (*.txt)|*.txt|All (*.*)|*.*" as Qt's name filters.
QStringList qtNameFilters(const QString& filter);

// Help pages: help/<help file without extension>/<context>.html in the program folder.
QString helpPagePath(const QString& programFolder, const QString& helpFile, int context);

}  // namespace platform
