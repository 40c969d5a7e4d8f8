#include "platform/seam/QtSeam.h"

#include "platform/forms/FormRegistry.h"
#include "platform/ftp/ftp.h"
#include "platform/report/ReportDocument.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QUrl>
#include <map>

namespace platform {

namespace {

QString titleOrProgram(const QString& title)
{
    return title.isEmpty() ? QString::fromLatin1(kProgramTitle) : title;
}

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

}  // namespace

int QtSeam::MsgBox(const QString& prompt, int buttons, const QString& title)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(titleOrProgram(title));
    box.setText(prompt);
    switch (buttons & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    std::vector<Choice> choices;
    switch (buttons & 0x7) {
    case vbOKCancel: choices = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbAbortRetryIgnore:
        choices = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
        break;
    case vbYesNoCancel:
        choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbYesNo: choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case vbRetryCancel: choices = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: choices = {{QMessageBox::Ok, vbOK}}; break;
    }
    for (const Choice& c : choices)
        box.addButton(c.button);
    const size_t defaultIndex = std::min<size_t>((buttons >> 8) & 0x3, choices.size() - 1);
    box.setDefaultButton(choices[defaultIndex].button);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Choice& c : choices)
        if (c.button == clicked)
            return c.result;
    // Closed without a button: Cancel where there is one, else the only button.
    for (const Choice& c : choices)
        if (c.result == vbCancel)
            return vbCancel;
    return choices.size() == 1 ? choices.front().result : vbCancel;
}

QString QtSeam::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialogParent(), titleOrProgram(title), prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QStringList qtNameFilters(const QString& filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out;
}

bool QtSeam::FileDialog(FileDialogKind kind, FileDialogState& state)
{
    const QString before = QDir::currentPath();
    QFileDialog dialog(dialogParent(), state.DialogTitle);
    dialog.setAcceptMode(kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(kind == FileDialogKind::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    if (kind == FileDialogKind::Save && !(state.Flags & cdlOFNOverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = qtNameFilters(state.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(std::max(0, state.FilterIndex - 1), filters.front()));
    }
    if (!state.InitDir.isEmpty())
        dialog.setDirectory(state.InitDir);
    if (!state.FileName.isEmpty())
        dialog.selectFile(state.FileName);
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    QDir::setCurrent(before);
    if (!accepted)
        return false;
    state.FileName = QDir::toNativeSeparators(dialog.selectedFiles().front());
    state.FileTitle = QFileInfo(state.FileName).fileName();
    state.FilterIndex = std::max<int>(1, filters.indexOf(dialog.selectedNameFilter()) + 1);
    return true;
}

bool QtSeam::PrinterDialog()
{
    QPrinter printer;
    if (!printer_.PrinterName().isEmpty())
        printer.setPrinterName(printer_.PrinterName());
    QPrintDialog dialog(&printer, dialogParent());
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // The chosen printer becomes the program's printer.
    printer_.setPrinterName(printer.printerName());
    return true;
}

void QtSeam::ShowModal(Form& form)
{
    QPointer<Form> window = &form;
    QEventLoop loop;
    QObject::connect(&form, &Form::modalEnded, &loop, &QEventLoop::quit);
    QObject::connect(&form, &QObject::destroyed, &loop, &QEventLoop::quit);
    form.setWindowModality(Qt::ApplicationModal);
    form.show();
    raiseWindow(form);
    form.activateWindow();
    if (window && window->isLoaded())
        forms().activated(*window);
    if (window && window->isVisible() && window->isLoaded())
        loop.exec();
    if (window)
        window->setWindowModality(Qt::NonModal);
}

namespace {

// A preview window with its own printer and the document it shows.
class ReportPreview : public QPrintPreviewDialog {
public:
    ReportPreview(std::unique_ptr<QPrinter> printer, std::shared_ptr<const report::Document> document, QWidget* parent)
        : QPrintPreviewDialog(printer.get(), parent), printer_(std::move(printer)), document_(std::move(document))
    {
        QObject::connect(this, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) {
            try {
                document_->print(*p);
            } catch (const dao::Error&) {
                // The preview shows the pages it could draw; printing reports its own failure.
            }
        });
    }

private:
    std::unique_ptr<QPrinter> printer_;
    std::shared_ptr<const report::Document> document_;
};

std::map<QString, QPointer<ReportPreview>>& openPreviews()
{
    static std::map<QString, QPointer<ReportPreview>> previews;
    return previews;
}

}  // namespace

void QtSeam::PreviewReport(const QString& caption, std::shared_ptr<const report::Document> document, bool modal)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    auto* preview = new ReportPreview(std::move(printer), std::move(document), dialogParent());
    preview->setWindowTitle(caption);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    if (modal) {
        preview->exec();
        return;
    }
    // A second modeless preview of the same report takes the place of the first.
    QPointer<ReportPreview>& open = openPreviews()[caption];
    if (open)
        open->close();
    open = preview;
    preview->setModal(false);
    preview->show();
}

int QtSeam::ShellExecute(const QString& operation, const QString& file)
{
    const bool web = file.startsWith(QLatin1String("http"), Qt::CaseInsensitive) ||
                     file.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
    if (web)
        return QDesktopServices::openUrl(QUrl::fromUserInput(file)) ? 42 : 31;
    if (!QFileInfo::exists(file))
        return 2;
    if (operation.compare(QLatin1String("Print"), Qt::CaseInsensitive) == 0)
        return QProcess::startDetached(QStringLiteral("lp"), {file}) ? 42 : 31;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath())) ? 42 : 31;
}

QString helpPagePath(const QString& programFolder, const QString& helpFile, int context)
{
    const QString base = QFileInfo(helpFile).completeBaseName();
    return QDir(programFolder).filePath(QStringLiteral("help/%1/%2.html").arg(base).arg(context));
}

void QtSeam::HtmlHelp(const QString& helpFile, int context)
{
    const QString page = helpPagePath(QCoreApplication::applicationDirPath(), helpFile, context);
    if (QFileInfo::exists(page))
        QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

void QtSeam::DoEvents()
{
    QCoreApplication::processEvents();
}

std::unique_ptr<FtpConnection> QtSeam::FtpConnect(const QString& host, const QString& user, const QString& password,
                                                  int port, bool useProxy)
{
    return ftpConnect(host, user, password, port, useProxy);
}

void QtSeam::SetMousePointer(int pointer)
{
    const bool wait = pointer == vbHourglass || pointer == 13;
    if (wait == waitCursor_)
        return;
    waitCursor_ = wait;
    if (wait)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
}

}  // namespace platform
