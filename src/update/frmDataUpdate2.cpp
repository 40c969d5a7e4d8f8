#include "update/frmDataUpdate2.h"

#include "platform/forms/FormRegistry.h"

#include "app/endprogram.h"
#include "app/globals.h"
#include "buildsettings.h"
#include "platform/controls/twips.h"
#include "platform/forms/InputBlock.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "update/applydriver.h"
#include "update/updateserver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>

using platform::place;

namespace {

const QString kUpdatedTables = QStringLiteral("The tables updated inlcude: ");

// The picture at the left of every page.
QLabel* picture(QWidget* page, const QString& name)
{
    auto* p = new QLabel(page);
    p->setObjectName(name);
    place(p, 120, 240, 1800, 3720);
    QPixmap pix(platform::tw(1800), platform::tw(3720));
    QPainter paint(&pix);
    QLinearGradient fill(0, 0, 0, pix.height());
    fill.setColorAt(0, QColor(0, 51, 128));
    fill.setColorAt(1, QColor(90, 150, 220));
    paint.fillRect(pix.rect(), fill);
    paint.setPen(Qt::white);
    QFont f = paint.font();
    f.setBold(true);
    f.setPointSize(14);
    paint.setFont(f);
    paint.drawText(pix.rect().adjusted(0, 0, 0, -pix.height() / 2), Qt::AlignCenter, QStringLiteral("KELVA"));
    f.setPointSize(11);
    paint.setFont(f);
    paint.drawText(pix.rect().adjusted(0, pix.height() / 4, 0, -pix.height() / 4), Qt::AlignCenter,
                   QStringLiteral("Data\nUpdate"));
    paint.end();
    p->setPixmap(pix);
    return p;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(l, left, top, width, height);
    return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    place(b, left, top, width, 420);
    return b;
}

QFrame* page(QWidget* parent, const QString& name)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    place(f, 120, 600, 7680, 4500);
    return f;
}

}  // namespace

QString frmDataUpdate2::updateWebPage()
{
    return QString::fromUtf8(build::WebAddress);
}

frmDataUpdate2::frmDataUpdate2()
{
    setObjectName(QStringLiteral("frmDataUpdate2"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("Data Update"));
    setFixedSize(platform::tw(7920), platform::tw(5220));

    Command4 = button(this, QStringLiteral("Command4"), QStringLiteral("Exit"), 6600, 120, 1080);

    Frame1 = page(this, QStringLiteral("Frame1"));
    Picture1 = picture(Frame1, QStringLiteral("Picture1"));
    Label1 = label(Frame1, QStringLiteral("Label1"),
                   QStringLiteral("All updates for the current fiscal year are available on-line at no additional "
                                  "cost.  Use the link below:"),
                   2160, 360, 5400, 900);
    Label2 = label(Frame1, QStringLiteral("Label2"), QStringLiteral(" ") + updateWebPage(), 2160, 1380, 5400, 360);
    QFont link = Label2->font();
    link.setBold(true);
    link.setUnderline(true);
    Label2->setFont(link);
    Label2->setStyleSheet(QStringLiteral("color: #0000FF"));
    Label2->setCursor(Qt::PointingHandCursor);
    Label6 = label(Frame1, QStringLiteral("Label6"),
                   QStringLiteral("Note: You need internet access to update KELVA Morvex."), 2160, 2100, 5400, 600);
    btnNext = button(Frame1, QStringLiteral("btnNext"), QStringLiteral("Next >>"), 5160, 3780, 1140);
    Command1 = button(Frame1, QStringLiteral("Command1"), QStringLiteral("Cancel"), 6420, 3780, 1140);
    btnNext->setVisible(false);
    Command1->setVisible(false);

    Frame2 = page(this, QStringLiteral("Frame2"));
    Picture2 = picture(Frame2, QStringLiteral("Picture2"));
    Label3 = label(Frame2, QStringLiteral("Label3"),
                   QString(97, QLatin1Char(' ')) +
                       QStringLiteral("The current update file has data available for download . Click the Update "
                                      "button to proceed.") +
                       QStringLiteral("  "),
                   2160, 360, 5400, 1560);
    Label5 = label(Frame2, QStringLiteral("Label5"),
                   QStringLiteral("The wizard could not find a connection to the internet.  If you wish to manually "
                                  "update from an exisiting file on your PC, use the browse option below, navigate to "
                                  "the existing update file, and click the 'Update' button."),
                   2160, 360, 5400, 1560);
    Label7 = label(Frame2, QStringLiteral("Label7"), QStringLiteral("LOADING. . ."), 2160, 2040, 5400, 300);
    QFont status = Label7->font();
    status.setBold(true);
    Label7->setFont(status);
    Text1 = new QLineEdit(Frame2);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    place(Text1, 2160, 2460, 4080, 330);
    Command2 = button(Frame2, QStringLiteral("Command2"), QStringLiteral("Browse"), 6360, 2415, 1200);
    ProgressBar1 = new QProgressBar(Frame2);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    place(ProgressBar1, 2160, 3060, 5400, 300);
    Command3.add(0, button(Frame2, QStringLiteral("Command3_0"), QStringLiteral("Update"), 5160, 3780, 1140));
    Command3.add(1, button(Frame2, QStringLiteral("Command3_1"), QStringLiteral("Exit"), 6420, 3780, 1140));

    Frame3 = page(this, QStringLiteral("Frame3"));
    Picture3 = picture(Frame3, QStringLiteral("Picture3"));
    Frame4 = new QFrame(Frame3);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Frame4->setFrameShape(QFrame::Box);
    place(Frame4, 2160, 360, 5400, 1500);
    Label4 = label(Frame4, QStringLiteral("Label4"),
                   QStringLiteral("Please visit ") + updateWebPage() + QStringLiteral(" for updates."), 180, 240,
                   5040, 1020);
    Command3.add(2, button(Frame3, QStringLiteral("Command3_2"), QStringLiteral("Exit Update"), 6060, 3780, 1500));

    Label3->hide();
    Label7->hide();
    Label5->hide();
    Text1->hide();
    Command2->hide();

    wire();
}

void frmDataUpdate2::wire()
{
    platform::onMouseUp(Label2, [this](int Button, int, double, double) {
        if (Button == platform::vbLeftButton)
            Label2_Click();
    });
    platform::onClick(Command4, [this] { Command4_Click(); });
    platform::onClick(Command1, [this] { Command1_Click(); });
    platform::onClick(btnNext, [this] { btnNext_Click(); });
    platform::onClick(Command2, [this] { Command2_Click(); });
    platform::onClick(Command3, [this](int Index) { Command3_Click(Index); });
}

void frmDataUpdate2::Form_Load()
{
    Frame1->show();
    Frame2->hide();
    Frame3->hide();
    update::UpdateConnection& c = update::connection();
    c.FtpConnected = 0;
    c.NoInternet = 0;
    c.FtpTransferType = 1;
    c.FtpSession.reset();
}

void frmDataUpdate2::Form_QueryUnload(int& Cancel, int)
{
    // The window stays while its update is applied.
    if (applying_)
        Cancel = 1;
}

int frmDataUpdate2::LaunchFile(const QString& file, int action, int)
{
    try {
        return seam().ShellExecute(action == 0 ? QStringLiteral("Open") : QStringLiteral("Print"), file);
    } catch (const dao::Error&) {
        return 0;
    }
}

void frmDataUpdate2::Label2_Click()
{
    const int result = LaunchFile(updateWebPage(), 0, 1);
    if (result == 2 || result == 0)
        seam().MsgBox(QStringLiteral("Could not open a browser for viewing websites"), vbOKOnly);
}

void frmDataUpdate2::Command4_Click()
{
    Unload();
}

void frmDataUpdate2::Command1_Click()
{
    Unload();
}

void frmDataUpdate2::refreshDates()
{
    const QString connect = QStringLiteral(";PWD=") + QString::fromUtf8(build::DbPassword) + QStringLiteral(";");
    Data1.setConnect(connect);
    Data1.setDatabaseName(programPath(QStringLiteral("kelva.mdb")));
    Data1.setRecordSource(QStringLiteral("select dataupdate from parms_cl"));
    Data1.Refresh();
    Data5.setConnect(connect);
    Data5.setDatabaseName(programPath(update::kUpdateFileName));
    Data5.setRecordSource(QStringLiteral("select dataupdate from parms_upd"));
    Data5.Refresh();
}

namespace {
QDateTime firstDate(platform::DataControl& data)
{
    dao::Recordset& rs = data.Recordset();
    return rs.EOF() ? QDateTime() : rs[QStringLiteral("dataupdate")].Value().toDateTime();
}
}  // namespace

QDateTime frmDataUpdate2::installedDate()
{
    return firstDate(Data1);
}

QDateTime frmDataUpdate2::offeredDate()
{
    return firstDate(Data5);
}

void frmDataUpdate2::releaseData5()
{
    // The recordset goes with the connection it holds.
    if (Data5.hasRecordset())
        static_cast<dao::Recordset&>(Data5.Recordset()) = dao::Recordset();
    Data5.setDatabaseName(QString());
    Data5.setConnect(QString());
    Data5.setRecordSource(QString());
}

void frmDataUpdate2::showPreparation()
{
    seam().MsgBox(QStringLiteral("This updates the necessary tables in KELVA Morvex. This process may take up to 5 "
                                 "minutes on an older PC. ") +
                      QStringLiteral("If the process should stop while in progress of updating, you will need to "
                                     "rerun ") +
                      QStringLiteral("the update before using KELVA Morvex again."),
                  vbOKOnly);
}

void frmDataUpdate2::showOfferedPage()
{
    Frame1->hide();
    Frame3->hide();
    Label3->show();
    Label5->hide();
    Label7->hide();
    ProgressBar1->hide();
    Frame2->show();
    Command3(1)->show();
    Command3(0)->show();
}

void frmDataUpdate2::showUpToDatePage()
{
    Frame1->hide();
    Frame3->show();
    Frame2->hide();
}

void frmDataUpdate2::showNoConnectionPage()
{
    Frame1->hide();
    Frame3->hide();
    Frame2->show();
    Label3->hide();
    Label5->show();
    Label7->hide();
    ProgressBar1->hide();
    Text1->show();
    Command2->show();
    update::connection().NoInternet = -1;
}

void frmDataUpdate2::btnNext_Click()
{
    // The update database already in the program folder.
    if (QFileInfo::exists(programPath(update::kUpdateFileName))) {
        QDateTime offered, installed;
        try {
            refreshDates();
            offered = offeredDate();
            installed = installedDate();
        } catch (const dao::Error& e) {
            releaseData5();
            seam().MsgBox(e.description, vbOKOnly);
            return;
        }
        if (update::isLater(offered, installed)) {
            const int answer = seam().MsgBox(
                QStringLiteral("An update file was found in the application directory.  Do you wish to use ") +
                    QStringLiteral("use this file for updating or continue with the download wizard? (Selecting "
                                   "'No' will continue online download process.)"),
                vbYesNo, QStringLiteral("KELVA Morvex Update"));
            if (answer == vbYes) {
                strDate = offered;
                strUpdTables = kUpdatedTables;
                showPreparation();
                Frame2->show();
                Command2->setEnabled(false);
                Command3(0)->setEnabled(false);
                Frame1->hide();
                DownloadUpdateFile();
                if (programEnded())
                    return;
            } else {
                releaseData5();
            }
        }
    }
    serverCheck();
}

void frmDataUpdate2::serverCheck()
{
    releaseData5();
    const update::CheckResult result = update::FtpUpdateCheck([this] {
        Data1.setConnect(QStringLiteral(";PWD=") + QString::fromUtf8(build::DbPassword) + QStringLiteral(";"));
        Data1.setDatabaseName(programPath(QStringLiteral("kelva.mdb")));
        Data1.setRecordSource(QStringLiteral("select dataupdate from parms_cl"));
        Data1.Refresh();
        return installedDate();
    });
    switch (result.outcome) {
    case update::CheckOutcome::Offered:
    case update::CheckOutcome::UpToDate:
        strDownLoadFileName = result.status.fileName;
        strDate = result.status.date;
        if (result.outcome == update::CheckOutcome::Offered)
            showOfferedPage();
        else
            showUpToDatePage();
        break;
    case update::CheckOutcome::NoConnection:
        showNoConnectionPage();
        seam().SetMousePointer(vbDefault);
        break;
    case update::CheckOutcome::NothingOffered:
    case update::CheckOutcome::Failed:
        break;
    }
}

void frmDataUpdate2::Command2_Click()
{
    Dia.DialogTitle = QStringLiteral("Select the update file.");
    Dia.Filter = QStringLiteral("Access (*.mdb)|*.mdb");
    Dia.FilterIndex = 1;
    Dia.FileName = QString();
    Dia.InitDir = g().ProgramFolder;
    Dia.Flags = cdlOFNFileMustExist | cdlOFNHideReadOnly;
    Dia.CancelError = true;
    try {
        Dia.ShowOpen();
    } catch (const dao::Error&) {
        return;  // cancelled
    }
    if (QFileInfo(Dia.FileName).fileName().toUpper() == QLatin1String("KELVA.MDB")) {
        seam().MsgBox(QStringLiteral("You can not update from the KELVA Morvex(tm) main database."), vbOKOnly);
        return;
    }
    if (Dia.FileName.isEmpty())
        return;
    platform::setText(Text1, Dia.FileName);
    strDownLoadFileName = Dia.FileName;
    Command3(0)->setEnabled(true);
}

void frmDataUpdate2::takeChosenFile()
{
    const QString chosen = Text1->text();
    const QString target = programPath(update::kUpdateFileName);
    if (chosen.isEmpty() || !QFileInfo::exists(chosen))
        return;
    if (QFileInfo::exists(target) && QFileInfo(chosen).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return;
    releaseData5();
    const QString part = target + QStringLiteral(".copy");
    QFile::remove(part);
    if (!QFile::copy(chosen, part))
        throw dao::Error(3024, QStringLiteral("Could not copy '%1' into the program folder.").arg(chosen));
    QFile::remove(target);
    if (!QFile::rename(part, target))
        throw dao::Error(3024, QStringLiteral("Could not copy '%1' into the program folder.").arg(chosen));
}

void frmDataUpdate2::Command3_Click(int Index)
{
    if (Index != 0) {
        Unload();
        seam().SetMousePointer(vbDefault);
        return;
    }
    update::UpdateConnection& c = update::connection();
    try {
        const bool chosenExists = !Text1->text().isEmpty() && QFileInfo::exists(Text1->text());
        if (c.NoInternet != -1) {
            if (!strDownLoadFileName.contains(QLatin1String("kelvaupd04")) && !chosenExists) {
                seam().MsgBox(QStringLiteral("The file selected is not an update data file. Please select a valid "
                                             "update file"),
                              vbOKOnly, QStringLiteral("Data Update"));
                seam().SetMousePointer(vbDefault);
                return;
            }
            Command3(0)->setEnabled(false);
            seam().SetMousePointer(vbHourglass);
            Label3->hide();
            Label7->setText(QStringLiteral("Retrieving Data . ."));
            Label7->show();
            seam().DoEvents();
            releaseData5();
            if (!update::FtpUpdateDownload()) {
                showNoConnectionPage();
                seam().SetMousePointer(vbDefault);
                return;
            }
        } else {
            Text1->hide();
            takeChosenFile();
        }
        refreshDates();
        const QDateTime offered = offeredDate();
        if (update::isLater(offered, installedDate())) {
            strDate = offered;
            strUpdTables = kUpdatedTables;
            showPreparation();
            Command2->setEnabled(false);
            Command3(0)->setEnabled(false);
            DownloadUpdateFile();
        } else {
            releaseData5();
            showUpToDatePage();
            seam().SetMousePointer(vbDefault);
        }
    } catch (const dao::Error& e) {
        releaseData5();
        seam().SetMousePointer(vbDefault);
        seam().MsgBox(c.strStepMessage.isEmpty()
                          ? e.description
                          : QStringLiteral("An internal error has occured while opening the update tables."),
                      vbOKOnly);
    }
}

void frmDataUpdate2::DownloadUpdateFile()
{
    Command3(1)->setEnabled(false);
    Label5->hide();
    Label3->hide();
    Label7->setText(QStringLiteral("Loading. . ."));
    Label7->show();
    ProgressBar1->setMaximum(200);
    ProgressBar1->setValue(1);
    ProgressBar1->show();
    seam().DoEvents();
    releaseData5();

    update::UpdateHooks hooks;
    hooks.progress = [this](int value) { ProgressBar1->setValue(value); };
    try {
        applying_ = true;
        platform::InputBlock block;  // the program takes no input meanwhile
        update::applyUpdate(dao::OpenDatabase(programPath(QStringLiteral("kelva.mdb")), g().DbConnect),
                            programPath(update::kUpdateFileName), g().DbConnect, hooks, strDate, strUpdTables);
        applying_ = false;
    } catch (const dao::Error& e) {
        applying_ = false;
        seam().SetMousePointer(vbDefault);
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }
    Label7->setText(QStringLiteral("COMPLETE"));
    seam().SetMousePointer(vbDefault);
    seam().MsgBox(QStringLiteral("Update Complete. ") + strUpdTables +
                      QStringLiteral(". The application will need to be restarted."),
                  vbOKOnly);
    EndProgram();
}

KELVA_FORM_NAME(frmDataUpdate2)
