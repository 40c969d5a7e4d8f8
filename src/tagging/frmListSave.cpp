#include "tagging/frmListSave.h"

#include "app/buildinfo.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/Transaction.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

KELVA_FORM_NAME(frmListSave)

using platform::newControl;

namespace {

const QString kNoLists = QStringLiteral(
    "There are no current lists available. Click the Load Prior Year button or select the Create List Tab to continue.");
const QString kNames = QStringLiteral("Select tagname from taglist group by tagname");

// A list's name as it is stored: without blanks around it, in upper case.
QString listName(const QString& typed)
{
    return typed.trimmed().toUpper();
}

// The current year's file, made from the template export.mdb; keepExport leaves the template's table in it.
dao::Database createTagListFile(bool keepExport)
{
    const QString path = frmListSave::tagListPath();
    QDir().mkpath(QFileInfo(path).path());  // an existing folder is no failure
    const QString templ = programPath(QStringLiteral("export.mdb"));
    if (!QFileInfo(templ).isFile())
        throw dao::Error(dao::errFileNotFound,
                         QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(templ)));
    if (!QFile::copy(templ, path))
        throw dao::Error(3044, QStringLiteral("'%1' is not a valid path.").arg(QDir::toNativeSeparators(path)));
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    dao::Database lists = dao::OpenDatabase(path, g().DbConnect);
    if (!keepExport)
        lists.Execute(QStringLiteral("DROP TABLE export"));
    lists.Execute(QStringLiteral("CREATE TABLE taglist ( tagname Text (15),tagcodemod Text (8))"));
    return lists;
}

// The session's tags replaced by the list's codes, in chunks of bound codes.
void tagCodes(dao::Database& db, const QString& table, const QStringList& codes)
{
    constexpr int kChunk = 500;
    for (qsizetype from = 0; from < codes.size(); from += kChunk) {
        const QStringList part = codes.mid(from, kChunk);
        std::vector<dao::Variant> params(part.begin(), part.end());
        QStringList marks;
        marks.fill(QStringLiteral("?"), part.size());
        db.Execute(QStringLiteral("Update %1 set tag = '+' where codemod IN (%2)").arg(table, marks.join(',')), params);
    }
}

}  // namespace

frmListSave::frmListSave()
{
    setObjectName(QStringLiteral("frmListSave"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("Save / Load Tagged List"));
    platform::useDesignFont(this);
    setFixedSize(platform::tw(6360), platform::tw(3360));

    SSTab1 = newControl<QTabWidget>(this, "SSTab1", 120, 120, 6120, 2580);
    QWidget* page[3];
    const char* captions[] = {"Load List", "Create List", "Delete List"};
    const char* labels[] = {"Select the list to be loaded:", "Enter the name for the new list:",
                            "Select the list to be deleted:"};
    for (int i = 0; i < 3; ++i) {
        page[i] = new QWidget;
        SSTab1->addTab(page[i], QString::fromLatin1(captions[i]));
        Label1.add(i, newControl<QLabel>(page[i], QStringLiteral("Label1_%1").arg(i), 240, 240, 5400, 300,
                                         QString::fromLatin1(labels[i])));
    }
    Combo1 = newControl<QComboBox>(page[0], "Combo1", 240, 600, 3000, 360);
    btn.add(11, newControl<QPushButton>(page[0], "btn_11", 3480, 570, 2280, 420, QStringLiteral(" Apply List")));
    btn.add(5, newControl<QPushButton>(page[0], "btn_5", 240, 1380, 2760, 420,
                                       QStringLiteral("  Load a Prior         Year List")));
    btn.add(10, newControl<QPushButton>(page[0], "btn_10", 3120, 1380, 2640, 420,
                                        QStringLiteral("  Load Current          List")));
    Text2 = newControl<QLineEdit>(page[1], "Text2", 240, 600, 3000, 360);
    Text2->setMaxLength(15);
    btn.add(7, newControl<QPushButton>(page[1], "btn_7", 3480, 570, 2280, 420, QStringLiteral("Save List")));
    Combo2 = newControl<QComboBox>(page[2], "Combo2", 240, 600, 3000, 360);
    btn.add(4, newControl<QPushButton>(page[2], "btn_4", 3480, 570, 2280, 420, QStringLiteral("&Delete List")));
    btn.add(6, newControl<QPushButton>(this, "btn_6", 4800, 2820, 1440, 420, QStringLiteral("&Cancel")));
    Check1 = newControl<QCheckBox>(this, "Check1", 120, 2820, 2000, 300, QStringLiteral("Use a prior year"));
    Check1->hide();
    wire();
}

frmListSave::~frmListSave() = default;

QString frmListSave::tagListPath()
{
    return programPath(QStringLiteral("backup/taglist.mdb"));
}

void frmListSave::wire()
{
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
}

void frmListSave::Form_Load()
{
    platform::setCheckValue(Check1, 1);
    listSource_ = tagListPath();
    if (!QFileInfo::exists(tagListPath()) || BindNames(tagListPath(), kNames) == 0)
        NoCurrentLists();
}

void frmListSave::Form_Unload(int&)
{
    ReleaseData();
    QDir::setCurrent(g().ProgramFolder);
}

void frmListSave::btn_Click(int Index)
{
    switch (Index) {
    case 11: Apply_List(); break;
    case 5: LoadPriorYearLists(); break;
    case 10: Load_Current(); break;
    case 7: Save_List(); break;
    case 4: Delete_List(); break;
    case 6: Unload(); break;
    default: break;
    }
}

int frmListSave::BindNames(const QString& file, const QString& source)
{
    Data1.setConnect(g().DbConnect);
    Data1.setDatabaseName(file);
    Data1.setRecordSource(source);
    Data1.Refresh();
    return ShowNames();
}

int frmListSave::ShowNames()
{
    QStringList names;
    if (Data1.hasRecordset()) {
        dao::Recordset& rs = Data1.Recordset();
        for (int r = 0; r < rs.rowCount(); ++r)
            names << rs.cell(r, 0).toString();
    }
    for (QComboBox* box : {Combo1, Combo2}) {
        platform::fillList(box, names);
        const QSignalBlocker block(box);
        box->setCurrentIndex(-1);
    }
    return int(names.size());
}

void frmListSave::ReleaseData()
{
    for (platform::DataControl* d : {&Data1, &Data2}) {
        d->setConnect(QString());
        d->setDatabaseName(QString());
        d->setRecordSource(QString());
        d->Refresh();
    }
}

void frmListSave::EnableLists(bool enable)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Combo1, Combo2, btn(11), btn(10), btn(4)})
        w->setEnabled(enable);
}

void frmListSave::NoCurrentLists()
{
    seam().MsgBox(kNoLists, vbOKOnly);
    EnableLists(false);
}

void frmListSave::Save_List()
{
    const QString n = listName(Text2->text());
    if (n.isEmpty()) {
        seam().MsgBox(QStringLiteral("Enter a name for the list being saved."), vbOKOnly);
        platform::SetFocus(Text2);
        return;
    }
    QString done;
    try {
        platform::BusyCursor busy;
        QStringList codes;
        dao::Recordset tagged =
            g().MainDb.OpenRecordset(QStringLiteral("Select codemod from %1 where tag = '+';").arg(dao::quoteIdentifier(g().CurSesTab)));
        for (; !tagged.EOF(); tagged.MoveNext())
            codes << tagged[0].Value().toString();
        tagged.Close();
        if (codes.isEmpty()) {
            seam().MsgBox(QStringLiteral("There were no codes tagged"), vbOKOnly);
            platform::SetFocus(Text2);
            return;
        }
        dao::Database lists = QFileInfo::exists(tagListPath()) ? dao::OpenDatabase(tagListPath(), g().DbConnect)
                                                                : createTagListFile(false);
        if (!lists.scalar(QStringLiteral("Select tagname from taglist where tagname = ?"), {n}).isNull()) {
            seam().MsgBox(QStringLiteral("This taglist already exists.  Provide a unique name for this taglist."),
                          vbOKOnly);
            platform::SetFocus(Text2);
            return;
        }
        // All of the list or none of it: a half-written list would apply as if it were whole.
        {
            dao::Transaction t(lists);
            for (const QString& code : codes)
                lists.Execute(QStringLiteral("Insert into taglist (tagname, tagcodemod) values( ?,?)"), {n, code});
            t.Commit();
        }
        BindNames(tagListPath(), kNames);
        listSource_ = tagListPath();
        EnableLists(true);
        done = QStringLiteral("Tag list save complete.");
    } catch (const dao::Error&) {
        seam().MsgBox(QStringLiteral("An error occurred in save attempt.  Please call support at ") + supportPhone(),
                      vbOKOnly);
        return;
    }
    seam().MsgBox(done, vbOKOnly);
}

void frmListSave::Apply_List()
{
    if (Combo1->currentText().isEmpty()) {
        seam().MsgBox(QStringLiteral("Enter the name of the list to retrieve. "), vbOKOnly);
        platform::SetFocus(Combo1);
        return;
    }
    try {
        {
            platform::BusyCursor busy;
            const QString n = listName(Combo1->currentText());
            dao::Recordset& names = Data1.Recordset();
            names.FindFirst(QStringLiteral("tagname = ?"), {n});
            if (names.NoMatch()) {
                seam().MsgBox(QStringLiteral("Invalid list entered"), vbOKOnly);
                platform::SetFocus(Combo1);
                return;
            }
            Data2.setConnect(g().DbConnect);
            Data2.setDatabaseName(listSource_);
            Data2.setRecordSource(QStringLiteral("SELECT tagcodemod FROM taglist WHERE tagname = ?"), {n});
            Data2.Refresh();
            QStringList codes;
            dao::Recordset& rows = Data2.Recordset();
            for (int r = 0; r < rows.rowCount(); ++r)
                codes << rows.cell(r, 0).toString();
            // The session's tags are replaced as a whole or not at all.
            const QString table = dao::quoteIdentifier(g().CurSesTab);
            dao::Transaction t(g().MainDb);
            g().MainDb.Execute(QStringLiteral("Update %1 set tag = null").arg(table));
            tagCodes(g().MainDb, table, codes);
            t.Commit();
            if (frmMain* main = forms().loadedOrNull<frmMain>()) {
                main->Recolumnize();
                main->Data1.Reread();  // the list's tags show at once, on the same row
                main->dbg->Refresh();
            }
        }
        seam().MsgBox(QStringLiteral("Tagged list load complete."), vbOKOnly);
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
}

void frmListSave::Load_Current()
{
    if (!QFileInfo::exists(tagListPath())) {
        NoCurrentLists();
        return;
    }
    try {
        const int names = BindNames(tagListPath(), kNames);
        listSource_ = tagListPath();
        if (names == 0) {
            NoCurrentLists();
            return;
        }
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }
    btn(11)->setEnabled(true);
    seam().MsgBox(QStringLiteral("List(s) loaded"), vbOKOnly);
}

void frmListSave::LoadPriorYearLists()
{
    {
        const QSignalBlocker block(Combo1);
        Combo1->setCurrentIndex(-1);
    }
    const QString folder = QDir::currentPath();
    QString failure = QStringLiteral("No list Imported");
    try {
        dia.DialogTitle = QStringLiteral("Select the file to import the list from.");
        dia.Filter = QStringLiteral("Access (taglist.mdb)|taglist.mdb");
        dia.FilterIndex = 1;
        dia.FileName = QString();
        dia.Flags = cdlOFNFileMustExist | cdlOFNHideReadOnly;
        dia.CancelError = true;
        dia.ShowOpen();
        const QString chosen = dia.FileName;
        if (dia.FileTitle.toUpper() != QLatin1String("TAGLIST.MDB")) {
            seam().MsgBox(QStringLiteral("You can only import from an KELVA Morvex main database."), vbOKOnly);
            return;
        }
        if (chosen == g().ProgramFolder + QStringLiteral("/backup/") + dia.FileTitle) {
            seam().MsgBox(QStringLiteral("You cannot import the current year tablist"), vbOKOnly);
            if (platform::checkValue(Check1) == 1) {
                platform::setCheckValue(Check1, 0);
                if (QFileInfo::exists(tagListPath())) {
                    BindNames(tagListPath(), kNames);
                    listSource_ = tagListPath();
                }
            }
            return;
        }
        repaint();
        failure = QStringLiteral("Error Opening ") + chosen;
        if (!QFileInfo::exists(tagListPath()))
            g().AuxDb = createTagListFile(true);
        BindNames(chosen, QStringLiteral("Select distinct(tagname) from taglist group by tagname"));
        Combo1->setEnabled(true);
        listSource_ = chosen;
    } catch (const dao::Error& e) {
        seam().MsgBox(failure, vbOKOnly);
        seam().MsgBox(e.description, vbOKOnly);
        QDir::setCurrent(folder);
        return;
    }
    seam().MsgBox(QStringLiteral("List(s) loaded"), vbOKOnly);
    btn(11)->setEnabled(true);
}

void frmListSave::Delete_List()
{
    if (Combo2->currentText().isEmpty()) {
        seam().MsgBox(QStringLiteral("Enter a list to delete. "), vbOKOnly);
        platform::SetFocus(Combo2);
        return;
    }
    try {
        platform::BusyCursor busy;
        const QString n = listName(Combo2->currentText());
        // The name is checked in the file it is deleted from, whatever lists the boxes show.
        bool listed = false;
        if (QFileInfo::exists(tagListPath())) {
            dao::Database lists = dao::OpenDatabase(tagListPath(), g().DbConnect);
            listed = !lists.scalar(QStringLiteral("Select tagname from taglist where tagname = ?"), {n}).isNull();
            if (listed) {
                lists.Execute(QStringLiteral("delete from taglist where tagname = ?"), {n});
                Data1.Refresh();
                const int left = ShowNames();
                seam().MsgBox(QStringLiteral("List deleted."), vbOKOnly);
                if (left == 0)
                    btn(11)->setEnabled(false);
            }
        }
        if (!listed) {
            seam().MsgBox(QStringLiteral("Invalid list entered"), vbOKOnly);
            platform::SetFocus(Combo2);
        }
        if (Combo1->count() == 0) {
            for (QWidget* w : std::initializer_list<QWidget*>{Combo1, Combo2, btn(4), btn(10)})
                w->setEnabled(false);
            ReleaseData();
            QDir::setCurrent(g().ProgramFolder);
        }
    } catch (const dao::Error&) {
        seam().MsgBox(QStringLiteral("An error occurred in delete attempt.  Please call support at ") + supportPhone(),
                      vbOKOnly);
    }
}
