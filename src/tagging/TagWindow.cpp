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
    const char* options[] = {"&Short Description Contains", "&Code Range"};
    for (int i = 0; i < 2; ++i) {
        addOption(i, page[i], 240, 300, 2760, QString::fromLatin1(options[i]));
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

    addPreview(120, 2340, 9360, 4500, family.countLabel, family.questionLabel);
    for (const auto& c : family.columns)
        DBGrid1->addColumn(QString::fromLatin1(c.caption), QString::fromLatin1(c.field)).setWidth(c.width);
    addWindowButtons(6960, 9600);

    wireCriteria();
}

TagWindow::~TagWindow() = default;

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

void TagWindow::RunCommand(int Index)
{
    switch (Index) {
    case 0: SearchDescription(); break;
    case 5: SearchCodeRange(); break;
    case 2: TagCodes(); break;
    case 4: ClearAllTags(); break;
    default: break;
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
    n_ = CountPreview(source + QStringLiteral(" WHERE ") + c.sql, c.params, false,
                      remember ? std::function<void()>([this] { tagging::rememberDescription(Combo1); }) : nullptr);
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
    // The same rows, read again on the same row, so that the new tags show at once.
    if (frmMain* main = forms().loadedOrNull<frmMain>()) {
        platform::DBGrid* grid = main->*family_.grid;
        if (platform::DataControl* rows = grid->DataSource())
            rows->Reread();
        grid->Refresh();
    }
}
