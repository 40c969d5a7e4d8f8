#include "userdata/WinSeek.h"

#include "app/globals.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"
#include "userdata/prioryear.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>

using platform::newControl;
using platform::setText;

namespace {

const QString kBegin = QStringLiteral("&Begin Search");
const QString kStop = QStringLiteral("&Stop Search");
const QString kContinue = QStringLiteral("&Continue");
const QString kCancelAtOpen = QStringLiteral("&Cancel");
const QString kExit = QStringLiteral("E&xit");

void navy(QLabel* label)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 128));
    label->setPalette(p);
}

}  // namespace

QStringList WinSeek::FolderList::subfolders() const
{
    QStringList out;
    if (path.isEmpty())
        return out;
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& f : entries)
        if (!f.isSymLink())
            out << f.absoluteFilePath();
    return out;
}

QStringList WinSeek::FileList::files() const
{
    if (path.isEmpty() || pattern.isEmpty())
        return {};
    return QDir(path).entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

WinSeek::WinSeek()
{
    setObjectName(QStringLiteral("WinSeek"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("KELVA Find Import File"));
    platform::useDesignFont(this);
    setFixedSize(platform::tw(9225), platform::tw(3210));

    // The search's panel and lists first: the frames are drawn over them.
    Picture1 = newControl<QWidget>(this, "Picture1", 3000, -480, 3975, 3015);
    Picture1->hide();
    txtSearchSpec = newControl<QLineEdit>(Picture1, "txtSearchSpec", 120, 600, 1800, 285, QStringLiteral("parms.mdb"));
    lblCriteria = newControl<QLabel>(Picture1, "lblCriteria", 120, 360, 1800, 255, QStringLiteral("Search &Criteria:"));

    Picture2 = newControl<QWidget>(this, "Picture2", 270, -105, 8250, 2550);
    Picture2->setAutoFillBackground(true);
    Picture2->hide();
    Label3 = newControl<QLabel>(Picture2, "Label3", 435, 225, 3015, 255, QStringLiteral("Results of PARMS.MDB search:"));
    lstFoundFiles = newControl<QListWidget>(Picture2, "lstFoundFiles", 315, 435, 7590, 1230);
    Label2 = newControl<QLabel>(Picture2, "Label2", 135, 2040, 5100, 345, QString());
    {
        QPalette p = Label2->palette();
        p.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
        Label2->setPalette(p);
    }
    Label2->hide();
    lblfound = newControl<QLabel>(Picture2, "lblfound", 330, 1830, 1095, 255, QStringLiteral("&Files Found:"));
    lblfound->hide();
    lblCount = newControl<QLabel>(Picture2, "lblCount", 1545, 1830, 1095, 255, QStringLiteral("0"));
    lblCount->hide();

    Frame1 = newControl<QGroupBox>(this, "Frame1", 345, 105, 8535, 2385, QStringLiteral("Instructions:"));
    Label1 = newControl<QLabel>(Frame1, "Label1", 270, 285, 7935, 2010, QString());
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    navy(Label1);

    Frame2 = newControl<QGroupBox>(this, "Frame2", 240, 120, 8655, 2415, QString());
    // It lies over the instructions and covers them.
    Frame2->setAutoFillBackground(true);
    Frame2->hide();
    List1 = newControl<QListWidget>(Frame2, "List1", 4440, 360, 3975, 1815);
    Label5 = newControl<QLabel>(Frame2, "Label5", 480, 720, 3735, 735,
                                QStringLiteral("Choose the Session you wish to import from the prior year.  Then "
                                               "click continue below."));
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    btn.add(0, newControl<QPushButton>(Frame2, "btn0", 480, 1440, 1575, 465, QStringLiteral("Continue")));
    btn.add(1, newControl<QPushButton>(Frame2, "btn1", 2280, 1440, 1575, 465, QStringLiteral("Cancel")));
    btn(0)->setEnabled(false);
    btn.add(2, newControl<QPushButton>(this, "btn2", 7440, 2640, 1455, 465, QStringLiteral("Import")));

    ProgressBar1 = newControl<QProgressBar>(this, "ProgressBar1", 2400, 2760, 4455, 255);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    Label4 = newControl<QLabel>(this, "Label4", 1320, 2760, 975, 255, QStringLiteral("Importing"));
    {
        QFont f(QStringLiteral("Arial"));
        f.setPointSize(8);
        Label4->setFont(f);
    }
    Label4->hide();

    cmdExit = newControl<QPushButton>(this, "cmdExit", 330, 5100, 2520, 720, kCancelAtOpen);
    cmdSearch = newControl<QPushButton>(this, "cmdSearch", 3090, 5040, 2640, 720, kBegin);
    cmdSearch->setDefault(true);
    setTabOrder(cmdSearch, cmdExit);
    wire();
}

void WinSeek::wire()
{
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
    platform::onClick(cmdSearch, [this] { cmdSearch_Click(); });
    platform::onClick(cmdExit, [this] { cmdExit_Click(); });
    platform::onClick(lstFoundFiles, [this] { lstFoundFiles_Click(); });
    platform::onClick(List1, [this] { List1_Click(); });
}

void WinSeek::Form_Load()
{
    setText(Label1, QStringLiteral("This option is for importing S1-S5 and Freq1-Freq5 data from a prior year's version "
                                   "of KELVA Morvex.  If you do not have a prior") +
                        QStringLiteral(" version of KELVA Morvex software then you should not attempt to run this "
                                       "option.") +
                        QStringLiteral("\n\n ") +
                        QStringLiteral("Select the file kelva.mdb where your prior S1-S5 and Freq1-Freq5 are "
                                       "located. ") +
                        QStringLiteral("The default path for the 2013 KELVA Morvex software is C:\\KELVA Morvex "
                                       "2013.") +
                        QStringLiteral("\n"));
    SearchState = -1;
    drvList = searchRoots();
    cmdSearch->setFocus();
}

void WinSeek::Form_Unload(int&)
{
    // Other windows open files by their bare names.
    QDir::setCurrent(programFolder());
}

QString WinSeek::programFolder() const
{
    return g().ProgramFolder;
}

QStringList WinSeek::searchRoots()
{
    QStringList roots;
    for (const QString& root : {QDir::homePath(), QStringLiteral("/media"), QStringLiteral("/mnt")})
        if (QFileInfo(root).isDir())
            roots << root;
    return roots;
}

void WinSeek::keyPressEvent(QKeyEvent* e)
{
    // The default button: Enter starts the search unless the focus is on another button.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        if (focused == nullptr || focused == cmdSearch) {
            if (cmdSearch->isEnabled())
                cmdSearch->click();
            return;
        }
    }
    platform::Form::keyPressEvent(e);
}

// ---- The search

void WinSeek::btn_Click(int Index)
{
    switch (Index) {
    case 0:
        CopyPriorSession();
        break;
    case 1:
        QDir::setCurrent(programFolder());
        Unload();
        break;
    case 2:
        setText(lblCount, QStringLiteral("0"));
        SelectPriorDatabase();
        break;
    default:
        break;
    }
}

void WinSeek::cmdSearch_Click()
{
    Frame1->hide();
    const QString caption = cmdSearch->text();
    if (caption == kStop) {
        SearchState = 2;
        return;
    }
    if (caption == kContinue) {
        setText(lblCount, QString::number(lstFoundFiles->count()));
        QPointer<WinSeek> self(this);
        SelectPriorDatabase();
        if (self)
            Unload();
        return;
    }
    BeginSearch();
}

void WinSeek::cmdExit_Click()
{
    const QString caption = cmdExit->text();
    if (caption == kCancelAtOpen || caption == kExit)
        Unload();
    else
        SearchState = 0;
}

void WinSeek::lstFoundFiles_Click()
{
    if (lstFoundFiles->count() >= 1)
        cmdSearch->setEnabled(true);
}

void WinSeek::setDirListPath(const QString& path)
{
    if (path == dirList.path)
        return;
    dirList.path = path;
    dirList_Change();
}

void WinSeek::dirList_Change()
{
    filList.path = dirList.path;
    setText(Label4, QStringLiteral("Searching \n\n") + dirList.path);
}

void WinSeek::BeginSearch()
{
    Frame1->hide();
    Picture2->move(0, 0);
    Picture2->show();
    // The results lie in front of the status frame: the user picks from them.
    Picture2->raise();
    cmdExit->setText(QStringLiteral("Cancel"));
    filList.pattern = txtSearchSpec->text();
    Label2->show();
    Frame2->setTitle(QStringLiteral("Status:"));
    Frame2->show();
    setText(Label4, QStringLiteral("\n\n\nFile search in progress!"));
    cmdSearch->setText(kStop);
    repaint();
    platform::SetBusyCursor(11);
    cmdExit->setCursor(Qt::BusyCursor);
    setDirListPath(QDir::currentPath());

    QPointer<WinSeek> self(this);
    const auto closed = [&self] { return self.isNull() || !self->isLoaded(); };
    const QStringList drives = drvList;
    for (const QString& drive : drives) {
        if (SearchState == 2)
            break;
        setText(Label2, QStringLiteral(" *** Searching Drive ") + drive + QStringLiteral(" ***"));
        cmdExit->setText(QStringLiteral("Skip this drive"));
        const QFileInfo root(drive);
        if (!root.isDir() || !root.isReadable()) {
            setText(Label2, QStringLiteral(" *** Problem reading drive ") + drive + QStringLiteral(" ***"));
            continue;
        }
        setDirListPath(root.absoluteFilePath());
        SearchFolder(dirList.path, QString());
        if (closed()) {
            // Closed during the walk: the window is gone, only the busy cursor is left to lower.
            platform::SetBusyCursor(0);
            return;
        }
        filList.path = dirList.path;
    }
    EndSearch();
}

void WinSeek::EndSearch()
{
    cmdExit->unsetCursor();
    platform::SetBusyCursor(0);
    setText(Label2, QStringLiteral(" *** Search Complete ***"));
    cmdSearch->setText(kContinue);
    cmdSearch->setEnabled(false);
    cmdExit->setText(kExit);
    Frame2->setTitle(QStringLiteral("Instructions:"));
    Frame2->show();
    navy(Label4);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setText(Label4, lblCount->text() + QStringLiteral(" files were found.  ") + QStringLiteral("\n\n") +
                        QStringLiteral(" You should now select the proper kelva.mdb file from the above list and "
                                       "click \"CONTINUE\" to import the S1/S2 and Freq1/Freq2 information."));
}

bool WinSeek::SearchFolder(const QString& path, const QString& returnPath)
{
    QPointer<WinSeek> self(this);
    const auto closed = [&self] { return self.isNull() || !self->isLoaded(); };
    SearchState = -1;
    seam().DoEvents();
    if (closed())
        return true;
    if (SearchState == 0)
        return true;
    qsizetype k = dirList.subfolders().size();
    while (k > 0 && SearchState == -1) {
        const QString back = dirList.path;
        setDirListPath(path);
        const QStringList subfolders = dirList.subfolders();
        bool abandoned = false;
        // A folder gone meanwhile has fewer subfolders, or none: it is passed over.
        if (k <= subfolders.size()) {
            setDirListPath(subfolders[k - 1]);
            abandoned = SearchFolder(subfolders[k - 1], back);
            if (closed())
                return true;
        }
        --k;
        if (abandoned)
            return false;
    }
    listFiles();
    if (!returnPath.isEmpty())
        setDirListPath(returnPath);
    return false;
}

// The matching files of the folder dirList shows, listed when their folder's path holds "QDX" and they are
// neither the current folder's files nor its main database.
void WinSeek::listFiles()
{
    const QStringList files = filList.files();
    if (files.isEmpty())
        return;
    const QString folder = QDir::cleanPath(dirList.path);
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const QString current = QDir::cleanPath(QDir::currentPath());
    const QString ownDatabase = QDir(current).filePath(QStringLiteral("kelva.mdb"));
    for (const QString& name : files) {
        const QString full = prefix + name;
        if (full.compare(ownDatabase, Qt::CaseInsensitive) == 0)
            continue;
        if (!prefix.contains(QLatin1String("QDX"), Qt::CaseSensitive))
            continue;
        if (folder == current)
            continue;
        platform::addItem(lstFoundFiles, full);
        setText(lblCount, QStringLiteral(" ") + QString::number(lblCount->text().trimmed().toLongLong() + 1));
    }
}

// ---- The carry-over

void WinSeek::SelectPriorDatabase()
{
    if (seam().MsgBox(prioryear::kNote, vbOKCancel, prioryear::kNoteTitle) != vbOK)
        return;
    platform::StepGuard step;
    try {
        for (;;) {
            step(prioryear::kStageNotImported);
            dia.Filter = QStringLiteral("kelva.mdb|kelva.mdb");
            dia.FilterIndex = 1;
            dia.Flags = cdlOFNFileMustExist | cdlOFNHideReadOnly;
            dia.InitDir = prioryear::initialFolder(QDir::homePath(), programFolder());
            dia.FileName = QStringLiteral("kelva.mdb");
            dia.CancelError = true;
            dia.ShowOpen();
            step(prioryear::kStageUnknown);
            // Compared exactly: the same file under another spelling is an earlier year's to this check.
            if (dia.FileName == programFolder() + QStringLiteral("/kelva.mdb")) {
                seam().MsgBox(prioryear::kOwnDatabase, vbOKOnly);
                continue;
            }
            break;
        }
        platform::SetBusyCursor(11);
        dao::Database prior = dao::OpenDatabase(dia.FileName, g().DbConnect);
        const std::vector<prioryear::PriorSession> sessions = prioryear::priorSessions(prior);
        platform::clearList(List1);
        SessionTables.clear();
        for (const auto& [name, table] : sessions) {
            platform::addItem(List1, name);
            SessionTables << table;
        }
        if (!sessions.empty()) {
            Frame2->show();
            Frame2->raise();
            btn(2)->setEnabled(false);
        }
        prior.Close();
        platform::SetBusyCursor(0);
    } catch (const dao::Error& e) {
        seam().MsgBox(step.text(), vbOKOnly);
        seam().MsgBox(e.description, vbOKOnly);
        platform::SetBusyCursor(0);
    }
}

void WinSeek::List1_Click()
{
    btn(0)->setEnabled(true);
    PriorSessionTable = SessionTables.value(platform::listIndex(List1));
}

void WinSeek::CopyPriorSession()
{
    platform::StepGuard step;
    platform::SetBusyCursor(11);
    try {
        dao::Database prior = dao::OpenDatabase(dia.FileName, g().DbConnect);
        // Every failure of the copy names the releases whose tables lack the columns.
        step(prioryear::stageOldRelease());
        dao::Recordset rows = prioryear::priorRows(prior, PriorSessionTable);
        if (rows.EOF()) {
            seam().MsgBox(prioryear::kNoRows, vbOKOnly);
            platform::SetBusyCursor(0);
            return;
        }
        rows.MoveLast();
        const qint64 count = rows.RecordCount();
        rows.MoveFirst();
        ProgressBar1->setRange(0, int(count + 10));
        ProgressBar1->setValue(0);
        ProgressBar1->show();
        Label4->show();
        prioryear::copyRows(g().MainDb, g().CurSesTab.trimmed(), rows,
                            [this] { ProgressBar1->setValue(ProgressBar1->value() + 1); });
        ProgressBar1->hide();
        Label4->hide();
        QDir::setCurrent(programFolder());
        platform::SetBusyCursor(0);
        seam().MsgBox(prioryear::kImported, vbOKOnly);
        Unload();
    } catch (const dao::Error& e) {
        ProgressBar1->hide();
        Label4->hide();
        QDir::setCurrent(programFolder());
        platform::SetBusyCursor(0);
        if (!step.text().isEmpty())
            seam().MsgBox(step.text(), vbOKOnly);
        seam().MsgBox(e.description, vbOKOnly);
        Unload();
    }
}

KELVA_FORM_NAME(WinSeek)
