#include "tagging/TagCriteriaWindow.h"

#include "app/globals.h"
#include "search/findengine.h"
#include "platform/controls/colours.h"
#include "platform/controls/twips.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QTabBar>

namespace {

constexpr qint32 kAppWorkspace = qint32(0x8000000Cu);

}  // namespace

TagCriteriaWindow::TagCriteriaWindow()
{
    optionGroup = new QButtonGroup(this);
    data0_ = std::make_unique<platform::DataControl>(this);
}

TagCriteriaWindow::~TagCriteriaWindow() = default;

platform::DataControl& TagCriteriaWindow::Data(int Index)
{
    if (Index != 0)
        throw dao::Error(340, QStringLiteral("Control array element '%1' doesn't exist").arg(Index));
    return *data0_;
}

void TagCriteriaWindow::addOption(int Index, QWidget* page, int left, int top, int width, const QString& caption)
{
    auto* o = platform::newControl<QRadioButton>(page, QStringLiteral("Option1_%1").arg(Index), left, top, width, 300,
                                                 caption);
    Option1.add(Index, o);
    optionGroup->addButton(o, Index);
}

void TagCriteriaWindow::addPreview(int left, int top, int width, int height, const char* countName,
                                   const char* questionName)
{
    using platform::newControl;
    Frame1 = newControl<QGroupBox>(this, "Frame1", left, top, width, height);
    Label3 = newControl<QLabel>(Frame1, countName, 240, 300, width - 480, 300);
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    DBGrid1 = newControl<platform::DBGrid>(Frame1, "DBGrid1", 240, 660, width - 480, height - 1320);
    DBGrid1->setAllowUpdate(false);
    DBGrid1->setAllowAddNew(false);
    DBGrid1->setAllowDelete(false);
    DBGrid1->hide();
    Label4 = newControl<QLabel>(Frame1, questionName, 240, height - 540, 2400, 360, QStringLiteral("Tag these codes?"));
    Label4->setFont(bold);
    Label4->hide();
    btn.add(2, newControl<QPushButton>(Frame1, "btn_2", 2760, height - 570, 1200, 420, QStringLiteral("Yes")));
    btn.add(7, newControl<QPushButton>(Frame1, "btn_7", 4080, height - 570, 1200, 420, QStringLiteral("No")));
    btn(2)->hide();
    btn(7)->hide();
}

void TagCriteriaWindow::addWindowButtons(int top, int width)
{
    using platform::newControl;
    btn.add(4, newControl<QPushButton>(this, "btn_4", 120, top, 2040, 480, QStringLiteral("&Clear All Tags")));
    btn.add(3, newControl<QPushButton>(this, "btn_3", width - 1920, top, 1800, 480, QStringLiteral("&Close")));
}

void TagCriteriaWindow::wireCriteria()
{
    DBGrid1->setDataSource(data0_.get());
    QObject::connect(SSTab1, &QTabWidget::currentChanged, this, [this, previous = 0](int now) mutable {
        const int was = previous;
        previous = now;
        platform::guarded([&] { SSTab1_Click(was); });
    });
    platform::onGotFocus(SSTab1->tabBar(), [this] { SSTab1_GotFocus(); });
    for (auto [i, o] : Option1)
        platform::onClick(o, [this, i = i] { Option1_Click(i); });
    for (auto [i, c] : Check1)
        platform::onClick(c, [this, i = i] { Check1_Click(i); });
    platform::onChange(Combo1, [this] { Combo1_Change(); });
    platform::onClick(Combo1, [this] { Combo1_Click(); });
    platform::onKeyPress(Combo1, [this](int& KeyAscii) { Combo1_KeyPress(KeyAscii); });
    for (auto [i, t] : Text1) {
        platform::onChange(t, [this, i = i] { Text1_Change(i); });
        platform::onGotFocus(t, [this, i = i] { Text1_GotFocus(i); });
        platform::onLostFocus(t, [this, i = i] { Text1_LostFocus(i); });
    }
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
}

void TagCriteriaWindow::SSTab1_GotFocus()
{
    DBGrid1->hide();
    Label3->hide();
}

void TagCriteriaWindow::Check1_Click(int Index)
{
    // The caption's colour is the tick's sign: closing a preview reads it back.
    if (platform::checkValue(Check1(Index)) == 1) {
        platform::setForeColor(Check1(Index), platform::vbButtonText);
        Text2(Index)->setEnabled(true);
    } else {
        platform::setForeColor(Check1(Index), kAppWorkspace);
        Text2(Index)->clear();
        Text2(Index)->setEnabled(false);
    }
}

bool TagCriteriaWindow::ExclusionTicked(int Index) const
{
    return platform::foreColor(Check1(Index)) == platform::vbButtonText;
}

void TagCriteriaWindow::Combo1_Change()
{
    btn(0)->setEnabled(true);
}

void TagCriteriaWindow::Combo1_Click()
{
    btn(0)->setEnabled(true);
}

void TagCriteriaWindow::Combo1_KeyPress(int& KeyAscii)
{
    if (tagging::isBlankText(Combo1->currentText()))
        btn(0)->setEnabled(false);
    if (KeyAscii == 13 && btn(0)->isEnabled())
        platform::SetFocus(btn(0));
}

void TagCriteriaWindow::Text1_Change(int)
{
    // A new range starts the physician code search afresh.
    search::ResetFindCode(search::Kelva);
    btn(5)->setEnabled(true);
}

void TagCriteriaWindow::Text1_GotFocus(int Index)
{
    Text1(Index)->selectAll();
}

void TagCriteriaWindow::Text1_LostFocus(int Index)
{
    platform::setText(Text1(Index), tagging::zeroFill(Text1(Index)->text()));
}

void TagCriteriaWindow::LoadTagHistory()
{
    tagging::loadTagHistory(Combo1);
}

qint64 TagCriteriaWindow::CountPreview(const QString& sql, const std::vector<dao::Variant>& params, bool twoBlankCount,
                                       const std::function<void()>& counted)
{
    const qint64 n = tagging::runPreview(Data(0), sql, params);
    if (counted)
        counted();
    DBGrid1->Refresh();
    Label3->show();
    platform::setText(Label3, tagging::countLine(n, twoBlankCount));
    return n;
}

void TagCriteriaWindow::Refused(const dao::Error& e)
{
    // The statement was refused as a whole, so nothing was written.
    seam().MsgBox(e.description, vbOKOnly);
    if (btn(2)->isVisibleTo(this))
        closeresults(SSTab1->currentIndex());
    DBGrid1->hide();
    Label3->hide();
}

void TagCriteriaWindow::btn_Click(int Index)
{
    try {
        switch (Index) {
        case 7:
            closeresults(SSTab1->currentIndex());
            platform::SetFocus(btn(3));
            break;
        case 3: Unload(); break;
        default: RunCommand(Index); break;
        }
    } catch (const dao::Error& e) {
        Refused(e);
    }
}

void TagCriteriaWindow::openresults(int Index)
{
    SetPreviewOpen(true, Index);
}

void TagCriteriaWindow::closeresults(int Index)
{
    SetPreviewOpen(false, Index);
}

void TagCriteriaWindow::SetPreviewOpen(bool open, int Index)
{
    DBGrid1->setVisible(open);
    btn(2)->setVisible(open);
    if (open)
        platform::SetFocus(btn(2));
    Label4->setVisible(open);
    btn(7)->setVisible(open);
    SSTab1->setEnabled(!open);
    if (!open)
        platform::SetFocus(SSTab1->tabBar());
    for (int o : LockedOptions())
        Option1(o)->setEnabled(!open);
    for (int b : LockedSearches())
        btn(b)->setEnabled(!open);
    btn(3)->setEnabled(!open);
    btn(4)->setEnabled(!open);
    for (auto [i, t] : Text1)
        t->setEnabled(!open);
    Combo1->setEnabled(!open);
    Label3->setVisible(open);
    // Closing frees the exclusion text only when its box is ticked, whichever option is chosen.
    if (Check1.contains(Index)) {
        Check1(Index)->setEnabled(!open);
        Text2(Index)->setEnabled(!open && ExclusionTicked(Index));
    }
}
