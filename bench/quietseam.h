#pragma once

#include "platform/seam/Seam.h"

// Lets nothing wait: a question is answered Yes, every other message box OK; dialogs are cancelled.
class QuietSeam : public platform::Seam {
public:
    int MsgBox(const QString&, int buttons, const QString&) override
    {
        return (buttons & 7) == vbYesNo ? vbYes : vbOK;
    }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
    bool FileDialog(platform::FileDialogKind, platform::FileDialogState&) override { return false; }
    bool PrinterDialog() override { return false; }
    void ShowModal(platform::Form&) override {}
    platform::Printer& printer() override { return previous->printer(); }
    void PreviewReport(const QString&, std::shared_ptr<const platform::report::Document>, bool) override {}
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
