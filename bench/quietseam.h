#pragma once

#include "platform/seam/Printer.h"
#include "platform/seam/Seam.h"

#include <QDateTime>

namespace bench {

// Answers every message box with OK and lets nothing else wait.
class QuietSeam : public platform::Seam {
public:
    int MsgBox(const QString&, int, const QString&) override { return vbOK; }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
    bool FileDialog(platform::FileDialogKind, platform::FileDialogState&) override { return false; }
    bool PrinterDialog() override { return false; }
    void ShowModal(platform::Form&) override {}
    platform::Printer& printer() override { return previous->printer(); }
    void PreviewReport(const QString&, const QTextDocument&) override {}
    int ShellExecute(const QString&, const QString&) override { return 2; }
    void HtmlHelp(const QString&, int) override {}
    void DoEvents() override {}
    QDateTime Now() override { return QDateTime::currentDateTime(); }
    std::unique_ptr<platform::FtpConnection> FtpConnect(const QString&, const QString&, const QString&, int, bool) override
    {
        return nullptr;
    }
    void SetMousePointer(int) override {}
    platform::Seam* previous = nullptr;
};

}  // namespace bench
