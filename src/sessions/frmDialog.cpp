#include "sessions/frmDialog.h"

#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "sessions/frmGridSet.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>

using platform::place;

namespace {

constexpr int kPathRole = Qt::UserRole;

QStringList subfolders(const QString& path)
{
    return QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QString childPath(const QString& parent, const QString& name)
{
    return parent.endsWith(QLatin1Char('/')) ? parent + name : parent + QLatin1Char('/') + name;
}

bool readableFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

// path lies in the folder root (or is it).
bool inFolder(const QString& path, const QString& root)
{
    if (root == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

}  // namespace

frmDialog::frmDialog()
{
    setObjectName(QStringLiteral("frmDialog"));
    setCaption(QStringLiteral("Select Path"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(6240), platform::tw(5160));

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    place(Drive1, 120, 120, 4320, 330);
    Dir1 = new QTreeWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setHeaderHidden(true);
    Dir1->setColumnCount(1);
    place(Dir1, 120, 570, 4320, 4470);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    place(OKButton, 4680, 120, 1215, 375);
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    place(CancelButton, 4680, 600, 1215, 375);
    wire();
}

void frmDialog::wire()
{
    using namespace platform;
    onClick(Drive1, [this] { Drive1_Change(); });
    connect(Dir1, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { guarded([&] { Dir1_Expand(item); }); });
    onClick(OKButton, [this] { OKButton_Click(); });
    onClick(CancelButton, [this] { CancelButton_Click(); });
}

QStringList frmDialog::driveFolders()
{
    QStringList drives = {QStringLiteral("/"), QDir::homePath()};
    const QString user = QDir::home().dirName();
    for (const QString& base : {QStringLiteral("/media"), QStringLiteral("/media/") + user, QStringLiteral("/mnt")})
        for (const QString& name : subfolders(base)) {
            const QString path = childPath(base, name);
            if (!drives.contains(path) && path != QStringLiteral("/media/") + user)
                drives << path;
        }
    return drives;
}

void frmDialog::Form_Load()
{
    // Both lists open on the program's current folder.
    platform::fillList(Drive1, driveFolders());
    setDir1Path(QDir::currentPath());
}

int frmDialog::driveOf(const QString& path) const
{
    int best = -1;
    for (int i = 0; i < Drive1->count(); ++i) {
        const QString root = Drive1->itemText(i);
        if (inFolder(path, root) && (best < 0 || root.size() > Drive1->itemText(best).size()))
            best = i;
    }
    return best;
}

void frmDialog::setDir1Path(const QString& path)
{
    const QString folder = QDir::cleanPath(path);
    const int drive = driveOf(folder);
    if (drive < 0)
        return;
    {
        const QSignalBlocker block(Drive1);
        Drive1->setCurrentIndex(drive);
    }
    const QString root = Drive1->itemText(drive);
    ShowDrive(root);
    shownDrive_ = drive;
    QTreeWidgetItem* item = Dir1->topLevelItem(0);
    QString at = root;
    for (const QString& name : folder.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        item->setExpanded(true);
        at = childPath(at, name);
        item = folderItem(item, at);
    }
    Dir1->setCurrentItem(item);
    Dir1->scrollToItem(item);
}

void frmDialog::ShowDrive(const QString& root)
{
    Dir1->clear();
    auto* top = new QTreeWidgetItem(Dir1, {root});
    top->setData(0, kPathRole, root);
    top->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    Dir1->setCurrentItem(top);
}

// The child of parent for the folder path; made when the listing left it out (a hidden folder).
QTreeWidgetItem* frmDialog::folderItem(QTreeWidgetItem* parent, const QString& path)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->data(0, kPathRole).toString() == path)
            return parent->child(i);
    auto* item = new QTreeWidgetItem(parent, {QFileInfo(path).fileName()});
    item->setData(0, kPathRole, path);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

void frmDialog::Dir1_Expand(QTreeWidgetItem* item)
{
    if (item->data(0, kPathRole + 1).toBool())
        return;  // listed already
    item->setData(0, kPathRole + 1, true);
    const QString path = item->data(0, kPathRole).toString();
    const QStringList names = subfolders(path);
    for (const QString& name : names)
        folderItem(item, childPath(path, name));
    if (item->childCount() == 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QString frmDialog::Dir1Path() const
{
    const QTreeWidgetItem* item = Dir1->currentItem();
    if (!item && Dir1->topLevelItemCount() > 0)
        item = Dir1->topLevelItem(0);
    return item ? item->data(0, kPathRole).toString() : QString();
}

void frmDialog::Drive1_Change()
{
    const QString root = Drive1->currentText();
    if (!readableFolder(root)) {
        seam().MsgBox(QStringLiteral("Unable to access the selected directory"), vbOKOnly);
        // The tree stays where it was, and the drive list names its drive again.
        const QSignalBlocker block(Drive1);
        Drive1->setCurrentIndex(shownDrive_);
        return;
    }
    ShowDrive(root);
    shownDrive_ = Drive1->currentIndex();
}

void frmDialog::OKButton_Click()
{
    frmGridSet& settings = forms().get<frmGridSet>();
    platform::setText(settings.OText(0), Dir1Path());
    // Unticked and ticked again, so the folder is stored even when the box was ticked already.
    platform::setCheckValue(settings.Check1, 0);
    platform::setCheckValue(settings.Check1, 1);
    Unload();
}

void frmDialog::CancelButton_Click()
{
    Unload();
}

KELVA_FORM_NAME(frmDialog)
