#include "search/SearchWindows.h"

#include "app/globals.h"
#include "main/frmMain.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/colours.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QKeyEvent>

KELVA_FORM_NAME(frmSearch)
KELVA_FORM_NAME(frmSearchDME)
KELVA_FORM_NAME(frmSearchLAB)
KELVA_FORM_NAME(frmSearchJCD)
KELVA_FORM_NAME(frmSearchASC)
KELVA_FORM_NAME(frmSearchDRG)

using platform::newControl;
using platform::SetBusyCursor;

namespace {

constexpr qint32 kAppWorkspace = qint32(0x8000000Cu);
constexpr int kClientHeight = 3195;
const QString kNoReplace = QStringLiteral("NO REPLACE");

}  // namespace

SearchWindow::SearchWindow(const SearchFamily& family) : family_(family)
{
    const int width = family.clientWidthTwips;
    setObjectName(QString::fromLatin1(family.window));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::useDesignFont(this);
    setFixedSize(platform::tw(width), platform::tw(kClientHeight));
    setCaption(QStringLiteral("KELVA Morvex Find a Code"));

    lbl.add(0, newControl<QLabel>(this, QString::fromLatin1(family.labelName), 120, 120, 3000, 255,
                                  QStringLiteral("Enter Keyword or Code:")));
    Combo1 = newControl<QComboBox>(this, "Combo1", 120, 390, width - 240, 315);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Check1 = newControl<QCheckBox>(this, "Check1", 120, 840, 1335, 285, QStringLiteral("And Exclude:"));
    Text2 = newControl<QLineEdit>(this, "Text2", 1500, 810, width - 1620, 315);

    const int buttonWidth = (width - 480) / 3;
    const std::pair<int, const char*> row[] = {{0, "Find"}, {4, "&Previous"}, {3, "&Close"}};
    for (int k = 0; k < 3; ++k)
        btn.add(row[k].first, newControl<QPushButton>(this, QStringLiteral("btn_%1").arg(row[k].first),
                                                      120 + k * (buttonWidth + 120), 1290, buttonWidth, 375,
                                                      QString::fromLatin1(row[k].second)));

    Frame1 = newControl<QGroupBox>(this, "Frame1", 120, 1830, 1575, 1245, QStringLiteral("Options"));
    Option1.add(0, newControl<QRadioButton>(Frame1, "Option1_0", 150, 330, 1335, 285, QStringLiteral("From Top")));
    Option1.add(1, newControl<QRadioButton>(Frame1, "Option1_1", 150, 720, 1335, 285, QStringLiteral("From Current")));
    Frame2 = newControl<QGroupBox>(this, "Frame2", 1815, 1830, width - 1935, 1245,
                                   QStringLiteral("Fields to be searched"));
    for (int i = 0; i < 3; ++i)
        Option2.add(i, newControl<QRadioButton>(Frame2, QStringLiteral("Option2_%1").arg(i), 150, 270 + i * 315,
                                                width - 2175, 285, QString::fromLatin1(family.option2[std::size_t(i)])));

    // Never shown: they lie to the right of the client area and stay hidden.
    const int off = width + 240;
    cmb = newControl<QComboBox>(this, "cmb", off, 120, 1500, 315);
    const char* chkCaptions[] = {"&Match Case", "Match &Whole Field", "&Only search the current column"};
    for (int i = 0; i < 3; ++i)
        chk.add(i, newControl<QCheckBox>(this, QStringLiteral("chk_%1").arg(i), off, 480 + i * 330, 2400, 285,
                                         QString::fromLatin1(chkCaptions[i])));
    for (int i = 0; i < 2; ++i)
        txt.add(i, newControl<QLineEdit>(this, QStringLiteral("txt_%1").arg(i), off, 1500 + i * 360, 1500, 315));
    if (family.hasReplaceLabels) {
        lbl.add(1, newControl<QLabel>(this, "lbl_1", off, 2250, 1000, 255, QStringLiteral("Replace:")));
        lbl.add(2, newControl<QLabel>(this, "lbl_2", off, 2550, 1000, 255, QStringLiteral("Direction:")));
    }
    btn.add(1, newControl<QPushButton>(this, "btn_1", off, 2850, 1200, 375, QStringLiteral("&Replace")));
    btn.add(2, newControl<QPushButton>(this, "btn_2", off + 1320, 2850, 1200, 375, QStringLiteral("&Tag All")));
    for (QWidget* w : std::initializer_list<QWidget*>{cmb, chk(0), chk(1), chk(2), txt(0), txt(1), btn(1), btn(2)})
        w->hide();
    for (auto [i, l] : lbl)
        if (i > 0)
            l->hide();

    wire();
}

void SearchWindow::wire()
{
    platform::onChange(Combo1, [this] { Combo1_Change(); });
    platform::onClick(Combo1, [this] { Combo1_Click(); });
    platform::onKeyPress(Combo1, [this](int& KeyAscii) { Combo1_KeyPress(KeyAscii); });
    platform::onClick(Check1, [this] { Check1_Click(); });
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
    // Enter presses the button that has the focus, as it did on the old platform.
    for (int i : {0, 4, 3})
        platform::onKeyPress(btn(i), [this, i](int& KeyAscii) {
            if (KeyAscii == 13) {
                KeyAscii = 0;
                btn(i)->click();
            }
        });
    platform::onClick(cmb, [this] { cmb_Click(); });
    for (auto [i, c] : chk)
        platform::onClick(c, [this, i = i] { chk_Click(i); });
    for (auto [i, t] : txt)
        platform::onChange(t, [this, i = i] { txt_Change(i); });
}

platform::DBGrid* SearchWindow::familyGrid() const
{
    return forms().get<frmMain>().*search::kFindFamilies[family_.engine].grid;
}

void SearchWindow::ResetEngine()
{
    search::ResetFindCode(family_.engine);
}

void SearchWindow::Form_Load()
{
    forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;
    Data1.setDatabase(g().MainDb);
    Data1.setRecordSource(QStringLiteral("SHIST"));

    platform::clearList(cmb);
    const char* directions[] = {"All", "Next", "Previous"};
    for (int i = 0; i < 3; ++i)
        platform::addItem(cmb, QString::fromLatin1(directions[i]), i);
    platform::setListIndex(cmb, 0);

    ResetEngine();
    platform::setOptionValue(Option1(0), true);
    btn(0)->setText(QStringLiteral("Find"));
    btn(4)->setEnabled(false);
    platform::setOptionValue(Option2(0), true);
    Text2->setEnabled(false);
    platform::setForeColor(Check1, kAppWorkspace);
    LoadSearchHistory();
    intFirstActivate = -1;
}

void SearchWindow::Form_Activate()
{
    if (!intFirstActivate)
        return;
    intFirstActivate = 0;
    BuildSearchMode();
    if (txt(1)->text() == kNoReplace) {
        setCaption(QStringLiteral("KELVA Morvex Find a Code"));
        txt(1)->hide();
        if (lbl.contains(1))
            lbl(1)->hide();
        btn(1)->hide();
    }
    platform::resumeNext([this] { platform::SetFocus(Combo1); });
}

void SearchWindow::BuildSearchMode()
{
    strModePrefix.clear();
    strModePrefix += platform::checkValue(chk(0)) == 1 ? QLatin1Char('1') : QLatin1Char('0');
    strModePrefix += platform::checkValue(chk(1)) == 1 ? QLatin1Char('1') : QLatin1Char('0');
    btn(2)->setEnabled(false);
    const QChar fields = Option2(1)->isChecked()   ? QLatin1Char('1')
                         : Option2(2)->isChecked() ? QLatin1Char('2')
                                                   : QLatin1Char('*');
    strModePrefix += fields;
    const int column = fields == QLatin1Char('1') ? family_.codeColumn
                       : fields == QLatin1Char('2') ? family_.descColumn
                                                    : -1;
    if (column >= 0)
        platform::resumeNext([&] { familyGrid()->setCol(column); });
    if (Option1(0)->isChecked())
        intNewSearch = -1;
    if (intNewSearch) {
        strModePrefix += QLatin1Char('0');
        intNewSearch = 0;
    } else {
        const int i = platform::listIndex(cmb);
        strModePrefix += QString::number(i < 0 ? 0 : platform::itemData(cmb, i));
    }
    ResetEngine();
}

void SearchWindow::LoadSearchHistory()
{
    QStringList entries;
    try {
        // Rows in the order they were added, newest first.
        dao::Recordset rs = Data1.Database().OpenRecordset(QStringLiteral("SELECT HISTTEXT FROM SHIST ORDER BY rowid"));
        if (!rs.EOF()) {
            rs.MoveLast();
            while (!rs.BOF()) {
                entries << rs["HISTTEXT"].Value().toString();
                rs.MovePrevious();
            }
        }
        rs.Close();
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
    // The typed text stays; writing back the text the box holds raises nothing.
    const QString typed = Combo1->currentText();
    platform::fillList(Combo1, entries);
    const QSignalBlocker block(Combo1);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(typed);
}

bool SearchWindow::RememberText()
{
    const QString text = Combo1->currentText();
    const QString newest = Combo1->count() > 0 ? Combo1->itemText(0) : QString();
    if (text == newest)
        return true;
    if (text.isEmpty()) {
        SetBusyCursor(0);
        seam().MsgBox(QStringLiteral("Search field can not be blank"), vbOKOnly);
        return false;
    }
    try {
        Data1.Database().Execute(QStringLiteral("INSERT INTO SHIST (HISTTEXT) VALUES (?)"), {text});
    } catch (const dao::Error& e) {
        // The search still runs; the history simply lacks the text.
        seam().MsgBox(e.description, vbOKOnly);
        return true;
    }
    LoadSearchHistory();
    return true;
}

void SearchWindow::CallEngine()
{
    search::FindCode(family_.engine, Combo1->currentText(), strModePrefix + QLatin1Char('0'),
                     Text2->isEnabled() ? -1 : 0, Text2->text().isEmpty() ? -1 : 0, Text2->text());
}

void SearchWindow::btn_Click(int Index)
{
    g().PendingSearchText = Combo1->currentText();
    switch (Index) {
    case 0:
        FindPressed();
        break;
    case 4:
        PreviousPressed();
        break;
    case 3:
        ClosePressed();
        break;
    default:
        break;
    }
}

void SearchWindow::FindPressed()
{
    if (!RememberText())
        return;
    platform::setListIndex(cmb, 1);
    BuildSearchMode();
    CallEngine();
    // A switch to another table has unloaded the window.
    if (!isLoaded() || isUnloading())
        return;
    platform::setOptionValue(Option1(1), true);
    btn(0)->setText(QStringLiteral("Find Next"));
    btn(4)->setEnabled(true);
}

void SearchWindow::PreviousPressed()
{
    SetBusyCursor(11);
    if (!RememberText())
        return;
    platform::setListIndex(cmb, 2);
    BuildSearchMode();
    SetBusyCursor(0);
    CallEngine();
}

void SearchWindow::ClosePressed()
{
    platform::BusyCursor busy;
    Hide();
    forms().get<frmMain>().update();
    Unload();
}

void SearchWindow::Combo1_Change()
{
    intNewSearch = -1;
    platform::setOptionValue(Option1(0), true);
    btn(0)->setText(QStringLiteral("Find"));
}

void SearchWindow::Combo1_Click()
{
    Combo1_Change();
}

void SearchWindow::Combo1_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 13) {
        KeyAscii = 0;
        platform::SetFocus(btn(0));
    }
}

void SearchWindow::Check1_Click()
{
    if (platform::checkValue(Check1) == 1) {
        platform::setForeColor(Check1, platform::vbButtonText);
        Text2->setEnabled(true);
    } else {
        platform::setForeColor(Check1, kAppWorkspace);
        Text2->clear();
        Text2->setEnabled(false);
    }
}

void SearchWindow::cmb_Click()
{
    BuildSearchMode();
}

void SearchWindow::cmb_Change()
{
    BuildSearchMode();
}

void SearchWindow::chk_Click(int)
{
    BuildSearchMode();
}

void SearchWindow::txt_Change(int)
{
    ResetEngine();
}

// Close is the window's cancel button: Esc anywhere in the window presses it.
void SearchWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        btn(3)->click();
        return;
    }
    platform::Form::keyPressEvent(event);
}
