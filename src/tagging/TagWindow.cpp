#include "tagging/TagWindow.h"

#include "app/globals.h"
#include "main/frmMain.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/colours.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QTabBar>

KELVA_FORM_NAME(frmTagDME)
KELVA_FORM_NAME(frmTagLAB)
KELVA_FORM_NAME(frmTagJCD)
KELVA_FORM_NAME(frmTagASC)
KELVA_FORM_NAME(frmTagDRG)

using platform::newControl;
using tagging::Criterion;

namespace {

constexpr qint32 kAppWorkspace = qint32(0x8000000Cu);

bool allDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

}  // namespace

TagWindow::TagWindow(const TagFamily& family) : family_(family)
{
    setObjectName(QString::fromLatin1(family.window));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::useDesignFont(this);
    setFixedSize(platform::tw(9600), platform::tw(7560));

    SSTab1 = newControl<QTabWidget>(this, "SSTab1", 120, 120, 9360, 2100);
    QWidget* page[2] = {new QWidget, new QWidget};
    SSTab1->addTab(page[0], QStringLiteral("Description Contains"));
    SSTab1->addTab(page[1], QStringLiteral("Code Range"));
    optionGroup = new QButtonGroup(this);
    const char* options[] = {"&Short Description Contains", "&Code Range"};
    for (int i = 0; i < 2; ++i) {
        auto* o = newControl<QRadioButton>(page[i], QStringLiteral("Option1_%1").arg(i), 240, 300, 2760, 300,
                                           QString::fromLatin1(options[i]));
        Option1.add(i, o);
        optionGroup->addButton(o, i);
        Check1.add(i, newControl<QCheckBox>(page[i], QStringLiteral("Check1_%1").arg(i), 240, 840, 1800, 300,
                                            QStringLiteral("And Exclude")));
        Text2.add(i, newControl<QLineEdit>(page[i], QStringLiteral("Text2_%1").arg(i), 3120, 810, 5040, 360));
        Text2(i)->setEnabled(false);
        btn.add(i == 0 ? 0 : 5, newControl<QPushButton>(page[i], QStringLiteral("btn_%1").arg(i == 0 ? 0 : 5), 7080,
                                                        1260, 1800, 420, QStringLiteral("&Start Search")));
    }
    Combo1 = newControl<QComboBox>(page[0], "Combo1", 3120, 270, 5040, 360);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Text1.add(0, newControl<QLineEdit>(page[1], "Text1_0", 3120, 270, 1080, 360));
    Label1 = newControl<QLabel>(page[1], "Label1", 4320, 300, 900, 300, QString::fromLatin1(family.rangeWord));
    Label1->setAlignment(Qt::AlignCenter);
    Text1.add(1, newControl<QLineEdit>(page[1], "Text1_1", 5340, 270, 1080, 360));
    for (auto [i, t] : Text1) {
        t->setMaxLength(5);
        t->setEnabled(false);
    }
    btn(5)->setEnabled(false);

    Frame1 = newControl<QGroupBox>(this, "Frame1", 120, 2340, 9360, 4500);
    Label3 = newControl<QLabel>(Frame1, family.countLabel, 240, 300, 8880, 300);
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    DBGrid1 = newControl<platform::DBGrid>(Frame1, "DBGrid1", 240, 660, 8880, 3120);
    DBGrid1->setAllowUpdate(false);
    for (const auto& c : family.columns)
        DBGrid1->addColumn(QString::fromLatin1(c.caption), QString::fromLatin1(c.field)).setWidth(c.width);
    DBGrid1->hide();
    Label4 = newControl<QLabel>(Frame1, family.questionLabel, 240, 3930, 2280, 360, QStringLiteral("Tag these codes?"));
    Label4->setFont(bold);
    Label4->hide();
    btn.add(2, newControl<QPushButton>(Frame1, "btn_2", 2640, 3900, 1200, 420, QStringLiteral("Yes")));
    btn.add(7, newControl<QPushButton>(Frame1, "btn_7", 3960, 3900, 1200, 420, QStringLiteral("No")));
    btn(2)->hide();
    btn(7)->hide();
    btn.add(4, newControl<QPushButton>(this, "btn_4", 120, 6960, 2040, 480, QStringLiteral("&Clear All Tags")));
    btn.add(3, newControl<QPushButton>(this, "btn_3", 7680, 6960, 1800, 480, QStringLiteral("&Close")));

    data0_ = std::make_unique<platform::DataControl>(this);
    DBGrid1->setDataSource(data0_.get());
    wire();
}

TagWindow::~TagWindow() = default;

platform::DataControl& TagWindow::Data(int Index)
{
    if (Index != 0)
        throw dao::Error(340, QStringLiteral("Control array element '%1' doesn't exist").arg(Index));
    return *data0_;
}

void TagWindow::wire()
{
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

QString TagWindow::statement(const char* text) const
{
    return QString::fromLatin1(text).replace(QStringLiteral("%T"), dao::quoteIdentifier(g().CurSesTab));
}

void TagWindow::Form_Load()
{
    setCaption(QStringLiteral("KELVA Morvex Code Tagging"));
    Frame1->setTitle(QString::fromLatin1(family_.frameCaption));
    forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;
    Data(0).setDatabase(g().MainDb);
    Data(0).setRecordSource(statement(family_.loadSource));
    firstActivation = true;
    LoadTagHistory();
    btn(0)->setEnabled(false);
}

void TagWindow::LoadTagHistory()
{
    tagging::loadTagHistory(Combo1);
}

void TagWindow::Form_Activate()
{
    if (!firstActivation)
        return;
    firstActivation = false;
    SSTab1->setCurrentIndex(0);
    platform::setOptionValue(Option1(0), true);
    platform::setOptionValue(Option1(1), false);
    if (family_.firstCodeAtActivation)
        platform::setText(Text1(0), QStringLiteral("00000"));
}

void TagWindow::SSTab1_Click(int)
{
    platform::setOptionValue(Option1(SSTab1->currentIndex()), true);
}

void TagWindow::SSTab1_GotFocus()
{
    DBGrid1->hide();
    Label3->hide();
}

void TagWindow::Option1_Click(int Index)
{
    const bool range = Index == 1;
    for (auto [i, t] : Text1) {
        t->setEnabled(range);
        platform::setBackColor(t, range ? platform::vbWindowBackground : platform::vbButtonFace);
    }
    if (!family_.rangeWordAlwaysEnabled)
        Label1->setEnabled(range);
    Combo1->setEnabled(!range);
    platform::setBackColor(Combo1, range ? platform::vbButtonFace : platform::vbWindowBackground);
    if (range) {
        if (family_.firstCodeAtRangeChoice)
            platform::setText(Text1(0), QStringLiteral("00000"));
        platform::SetFocus(Text1(0));
    } else {
        platform::SetFocus(Combo1);
    }
}

void TagWindow::Check1_Click(int Index)
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

void TagWindow::Combo1_Change()
{
    btn(0)->setEnabled(true);
}

void TagWindow::Combo1_Click()
{
    btn(0)->setEnabled(true);
}

void TagWindow::Combo1_KeyPress(int& KeyAscii)
{
    if (tagging::isBlankText(Combo1->currentText()))
        btn(0)->setEnabled(false);
    if (KeyAscii == 13 && btn(0)->isEnabled())
        platform::SetFocus(btn(0));
}

void TagWindow::Text1_Change(int)
{
    btn(5)->setEnabled(true);
}

void TagWindow::Text1_GotFocus(int Index)
{
    Text1(Index)->selectAll();
}

void TagWindow::Text1_LostFocus(int Index)
{
    platform::setText(Text1(Index), tagging::zeroFill(Text1(Index)->text()));
}

void TagWindow::openresults(int Index)
{
    DBGrid1->show();
    btn(2)->show();
    platform::SetFocus(btn(2));
    Label4->show();
    btn(7)->show();
    SSTab1->setEnabled(false);
    for (auto [i, o] : Option1)
        o->setEnabled(false);
    for (int b : {0, 5, 3, 4})
        btn(b)->setEnabled(false);
    for (auto [i, t] : Text1)
        t->setEnabled(false);
    Combo1->setEnabled(false);
    Label3->show();
    Check1(Index)->setEnabled(false);
    Text2(Index)->setEnabled(false);
}

void TagWindow::closeresults(int Index)
{
    DBGrid1->hide();
    btn(2)->hide();
    SSTab1->setEnabled(true);
    platform::SetFocus(SSTab1->tabBar());
    Label4->hide();
    btn(7)->hide();
    for (auto [i, o] : Option1)
        o->setEnabled(true);
    for (int b : {0, 5, 3, 4})
        btn(b)->setEnabled(true);
    for (auto [i, t] : Text1)
        t->setEnabled(true);
    Combo1->setEnabled(true);
    Label3->hide();
    Check1(Index)->setEnabled(true);
    Text2(Index)->setEnabled(platform::foreColor(Check1(Index)) == platform::vbButtonText);
}

void TagWindow::btn_Click(int Index)
{
    try {
        switch (Index) {
        case 0: SearchDescription(); break;
        case 5: SearchCodeRange(); break;
        case 2: TagCodes(); break;
        case 7:
            closeresults(SSTab1->currentIndex());
            platform::SetFocus(btn(3));
            break;
        case 4: ClearAllTags(); break;
        case 3: Unload(); break;
        default: break;
        }
    } catch (const dao::Error& e) {
        // The statement was refused as a whole: nothing was written; the window goes back to its criteria.
        seam().MsgBox(e.description, vbOKOnly);
        if (btn(2)->isVisibleTo(this))
            closeresults(SSTab1->currentIndex());
        DBGrid1->hide();
        Label3->hide();
    }
}

void TagWindow::SearchDescription()
{
    if (!Option1(0)->isChecked())
        return;
    platform::BusyCursor busy;
    const QString text = Combo1->currentText();
    if (tagging::isBlankText(text)) {
        platform::SetFocus(Combo1);
        return;
    }
    Criterion c{QStringLiteral("%1 Like ?").arg(QString::fromLatin1(family_.descColumn)), {tagging::containsPattern(text)}};
    c += tagging::exclusionClause(Text2(0), QString::fromLatin1(family_.excludeColumn));
    ShowPreview(0, statement(family_.descriptionPreview), c, true);
}

void TagWindow::SearchCodeRange()
{
    if (!Option1(1)->isChecked())
        return;
    const QString low = Text1(0)->text(), high = Text1(1)->text();
    if (family_.numericKey && !(allDigits(low) && allDigits(high))) {
        seam().MsgBox(QStringLiteral("Code fields must be numeric for DRG"), vbOKOnly);
        platform::SetFocus(Text1(0));
        return;
    }
    if (QString::compare(low, high, Qt::CaseSensitive) > 0) {
        seam().MsgBox(QStringLiteral("First code can not be greater than second code. Please try again."), vbOKOnly);
        platform::SetFocus(Text1(0));
        return;
    }
    platform::BusyCursor busy;
    const QString key = QString::fromLatin1(family_.keyColumn);
    Criterion c{QStringLiteral("%1 >= ? AND %1 <= ? ").arg(key), {}};
    if (family_.numericKey)
        c.params = {low.toLongLong(), high.toLongLong()};
    else
        c.params = {low, high};
    c += tagging::exclusionClause(Text2(1), QString::fromLatin1(family_.excludeColumn));
    ShowPreview(1, statement(family_.rangePreview), c, false);
}

void TagWindow::ShowPreview(int Index, const QString& source, const Criterion& c, bool remember)
{
    // The history grows once the preview has been counted, so that a refused statement leaves no row.
    n_ = tagging::runPreview(Data(0), source + QStringLiteral(" WHERE ") + c.sql, c.params);
    if (remember)
        tagging::rememberDescription(Combo1);
    DBGrid1->Refresh();
    Label3->show();
    platform::setText(Label3, tagging::countLine(n_));
    if (n_ > 0) {
        criterion_ = c;
        openresults(Index);
    }
}

void TagWindow::TagCodes()
{
    if (criterion_.isEmpty())
        return;
    platform::BusyCursor busy;
    g().MainDb.Execute(QString::fromLatin1(family_.tagStatement) + criterion_.sql, criterion_.params);
    closeresults(SSTab1->currentIndex());
    RepaintFamilyGrid();
    platform::SetFocus(btn(3));
}

void TagWindow::ClearAllTags()
{
    if (seam().MsgBox(QString::fromLatin1(family_.clearWarning), vbYesNo + vbExclamation) == vbYes) {
        platform::BusyCursor busy;
        g().MainDb.Execute(QString::fromLatin1(family_.clearStatement));
    }
    RepaintFamilyGrid();
}

void TagWindow::RepaintFamilyGrid()
{
    // Its rows stay those of the view's last query.
    if (frmMain* main = forms().loadedOrNull<frmMain>())
        (main->*family_.grid)->Refresh();
}
