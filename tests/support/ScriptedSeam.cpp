#include "support/ScriptedSeam.h"

#include "platform/forms/FormRegistry.h"
#include "platform/ftp/ftp.h"
#include "platform/report/ReportDocument.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTextDocument>
#include <gtest/gtest.h>

class ScriptedSeam::ScriptedFtp : public platform::FtpConnection {
public:
    ScriptedFtp(ScriptedSeam& seam) : seam_(seam) {}
    bool SetCurrentDirectory(const QString& folder) override
    {
        QString path = folder.startsWith(QLatin1Char('/')) ? folder : cwd_ + folder;
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        if (!seam_.ftp_)
            return false;
        for (const auto& [remote, content] : seam_.ftp_->files)
            if (remote.startsWith(path)) {
                cwd_ = path;
                return true;
            }
        return false;
    }
    bool GetFile(const QString& remoteFile, const QString& localPath, bool binary) override
    {
        const QString path = remoteFile.startsWith(QLatin1Char('/')) ? remoteFile : cwd_ + remoteFile;
        seam_.calls_.push_back({QStringLiteral("FtpGet"), path, QString(), binary ? 1 : 0, localPath});
        if (!seam_.ftp_)
            return false;
        auto it = seam_.ftp_->files.find(path);
        if (it == seam_.ftp_->files.end())
            return false;
        QFile out(localPath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        return out.write(it->second) == it->second.size();
    }

private:
    ScriptedSeam& seam_;
    QString cwd_ = QStringLiteral("/");
};

ScriptedSeam::ScriptedSeam() : printer_(printDir_.filePath(QStringLiteral("printer.pdf"))) {}

ScriptedSeam::~ScriptedSeam() = default;

void ScriptedSeam::answerMsgBox(int result)
{
    msg_.push_back({result, std::nullopt, 0, std::nullopt});
}

void ScriptedSeam::expectMsgBox(const QString& text, int flags, int result, std::optional<QString> title)
{
    msg_.push_back({result, text, flags, std::move(title)});
}

void ScriptedSeam::answerInputBox(const QString& text)
{
    input_.push_back(text);
}

void ScriptedSeam::answerFileDialog(const QString& path, int filterIndex)
{
    file_.push_back({false, path, filterIndex});
}

void ScriptedSeam::cancelFileDialog()
{
    file_.push_back({true, QString(), 0});
}

void ScriptedSeam::answerPrinterDialog(bool ok)
{
    printerDialog_.push_back(ok);
    printerChoice_.push_back(QString());
}

void ScriptedSeam::choosePrinter(const QString& printerName)
{
    printerDialog_.push_back(true);
    printerChoice_.push_back(printerName);
}

void ScriptedSeam::shellResult(int result)
{
    shell_.push_back(result);
}

void ScriptedSeam::ftpServer(const QString& host, const QString& user, const QString& password)
{
    ftpUnreachable_ = false;
    ftp_ = FtpServer{host, user, password, {}};
}

void ScriptedSeam::ftpFile(const QString& remotePath, const QByteArray& content)
{
    if (!ftp_)
        ftp_ = FtpServer{};
    ftp_->files[remotePath] = content;
}

std::vector<ScriptedSeam::Call> ScriptedSeam::calls(const QString& kind) const
{
    std::vector<Call> out;
    for (const Call& c : calls_)
        if (c.kind == kind)
            out.push_back(c);
    return out;
}

QStringList ScriptedSeam::messages() const
{
    QStringList out;
    for (const Call& c : calls_)
        if (c.kind == QLatin1String("MsgBox"))
            out << c.text;
    return out;
}

void ScriptedSeam::unexpected(const QString& what)
{
    if (!failed_)
        ADD_FAILURE() << "Unexpected " << what.toStdString() << " (no answer was scripted)";
    failed_ = true;
    throw ScriptFailure{what};
}

void ScriptedSeam::verifyNothingLeft()
{
    auto left = [](const char* kind, size_t n) {
        if (n != 0)
            ADD_FAILURE() << n << " scripted " << kind << " answer(s) left over";
    };
    for (const MsgAnswer& m : msg_)
        ADD_FAILURE() << "Scripted message box left over: " << m.text.value_or(QStringLiteral("(any)")).toStdString();
    left("input box", input_.size());
    left("file dialog", file_.size());
    left("printer dialog", printerDialog_.size());
    left("shell", shell_.size());
    left("DoEvents", doEvents_.size());
    for (const auto& [type, scripts] : modal_)
        left(type.name(), scripts.size());
    msg_.clear();
    input_.clear();
    file_.clear();
    printerDialog_.clear();
    printerChoice_.clear();
    shell_.clear();
    doEvents_.clear();
    modal_.clear();
}

void ScriptedSeam::dialogRoundTrip()
{
    QPointer<platform::Form> owner = platform::forms().activeForm();
    if (!owner)
        return;
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(owner, &deactivate);
    if (!owner)
        return;
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(owner, &activate);
}

int ScriptedSeam::MsgBox(const QString& prompt, int buttons, const QString& title)
{
    calls_.push_back({QStringLiteral("MsgBox"), prompt, title, buttons, QString()});
    if (msg_.empty())
        unexpected(QStringLiteral("message box \"") + prompt + QLatin1Char('"'));
    const MsgAnswer answer = msg_.front();
    msg_.pop_front();
    if (answer.text) {
        EXPECT_EQ(answer.text->toStdString(), prompt.toStdString()) << "message box text";
        EXPECT_EQ(answer.flags, buttons) << "message box flags of \"" << prompt.toStdString() << '"';
    }
    if (answer.title) {
        EXPECT_EQ(answer.title->toStdString(), title.toStdString()) << "message box title";
    }
    dialogRoundTrip();
    return answer.result;
}

QString ScriptedSeam::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    calls_.push_back({QStringLiteral("InputBox"), prompt, title, 0, defaultText});
    if (input_.empty())
        unexpected(QStringLiteral("input box \"") + prompt + QLatin1Char('"'));
    const QString answer = input_.front();
    input_.pop_front();
    dialogRoundTrip();
    return answer;
}

bool ScriptedSeam::FileDialog(platform::FileDialogKind kind, platform::FileDialogState& state)
{
    const bool save = kind == platform::FileDialogKind::Save;
    calls_.push_back({save ? QStringLiteral("FileSave") : QStringLiteral("FileOpen"), state.FileName,
                      state.DialogTitle, state.Flags, state.Filter + QStringLiteral(" @ ") + state.InitDir});
    if (file_.empty())
        unexpected(QStringLiteral("file dialog \"") + state.DialogTitle + QLatin1Char('"'));
    const FileAnswer answer = file_.front();
    file_.pop_front();
    dialogRoundTrip();
    if (answer.cancel)
        return false;
    state.FileName = answer.path;
    state.FileTitle = QFileInfo(answer.path).fileName();
    if (answer.filterIndex > 0)
        state.FilterIndex = answer.filterIndex;
    return true;
}

bool ScriptedSeam::PrinterDialog()
{
    calls_.push_back({QStringLiteral("PrinterDialog"), QString(), QString(), 0, QString()});
    if (printerDialog_.empty())
        unexpected(QStringLiteral("printer dialog"));
    const bool ok = printerDialog_.front();
    printerDialog_.pop_front();
    const QString choice = printerChoice_.empty() ? QString() : printerChoice_.front();
    if (!printerChoice_.empty())
        printerChoice_.pop_front();
    if (ok && !choice.isEmpty())
        printer_.setPrinterName(choice);
    dialogRoundTrip();
    return ok;
}

void ScriptedSeam::ShowModal(platform::Form& form)
{
    const QString name = form.objectName().isEmpty() ? QString::fromLatin1(typeid(form).name()) : form.objectName();
    calls_.push_back({QStringLiteral("ShowModal"), name, form.windowTitle(), 0, QString()});
    auto it = modal_.find(std::type_index(typeid(form)));
    if (it == modal_.end() || it->second.empty())
        unexpected(QStringLiteral("modal show of ") + name);
    auto script = std::move(it->second.front());
    it->second.pop_front();
    if (it->second.empty())
        modal_.erase(it);

    QPointer<platform::Form> owner = platform::forms().activeForm();
    QPointer<platform::Form> window = &form;
    form.show();
    platform::forms().activated(form);
    if (window)
        script(*window);
    if (window && window->isLoaded() && window->isVisible()) {
        ADD_FAILURE() << "Modal window " << name.toStdString() << " still shown after its script";
        window->hide();
    }
    if (owner && owner != window && owner->isLoaded())
        platform::forms().activated(*owner);
}

void ScriptedSeam::PreviewReport(const QString& caption, std::shared_ptr<const platform::report::Document> document,
                                 bool modal)
{
    if (!report_.empty()) {
        auto fn = std::move(report_.front());
        report_.pop_front();
        fn();
    }
    calls_.push_back({QStringLiteral("Report"), caption, caption, modal ? 1 : 0, document->plainText()});
    const QString pdf = printDir_.filePath(QStringLiteral("report%1.pdf").arg(reportPdfs_.size() + 1));
    EXPECT_TRUE(document->writePdf(pdf)) << pdf.toStdString();
    reportPdfs_ << pdf;
    reports_.push_back(std::move(document));
}

int ScriptedSeam::ShellExecute(const QString& operation, const QString& file)
{
    calls_.push_back({QStringLiteral("Shell"), file, QString(), 0, operation});
    if (shell_.empty())
        unexpected(QStringLiteral("shell ") + operation + QLatin1Char(' ') + file);
    const int result = shell_.front();
    shell_.pop_front();
    return result;
}

void ScriptedSeam::HtmlHelp(const QString& helpFile, int context)
{
    calls_.push_back({QStringLiteral("Help"), helpFile, QString(), context, QString()});
}

void ScriptedSeam::DoEvents()
{
    ++doEventsCount_;
    if (doEvents_.empty())
        return;
    auto fn = std::move(doEvents_.front());
    doEvents_.pop_front();
    fn();
}

std::unique_ptr<platform::FtpConnection> ScriptedSeam::FtpConnect(const QString& host, const QString& user,
                                                                  const QString& password, int port, bool useProxy)
{
    calls_.push_back({QStringLiteral("FtpConnect"), host, user, port,
                      useProxy ? QStringLiteral("proxy") : QStringLiteral("direct")});
    if (ftpCurl_)
        return platform::ftpConnect(host, user, password, port, useProxy);
    if (ftpUnreachable_)
        return nullptr;
    if (!ftp_)
        unexpected(QStringLiteral("FTP connection to ") + host);
    if (!ftp_->host.isEmpty() && (ftp_->host != host || ftp_->user != user || ftp_->password != password))
        return nullptr;
    return std::make_unique<ScriptedFtp>(*this);
}
