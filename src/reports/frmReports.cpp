#include "reports/frmReports.h"

#include "app/globals.h"
#include "main/frmMain.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "reports/frmReportz.h"

KELVA_FORM_NAME(frmReports)

using platform::place;

frmReports::frmReports(std::vector<reports::PreselectedLayout> layouts) : layouts_(std::move(layouts))
{
    setObjectName(QStringLiteral("frmReports"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const int rows = static_cast<int>(layouts_.size());
    const int layoutsHeight = 360 + rows * 300;
    setFixedSize(platform::tw(9960), platform::tw(1080 + layoutsHeight + 840 + 600));

    FrameSession = new QGroupBox(QStringLiteral("Report Print Options for Session:"), this);
    place(FrameSession, 120, 120, 9720, 720);
    Label1 = new QLabel(FrameSession);
    Label1->setObjectName(QStringLiteral("Label1"));
    place(Label1, 240, 330, 9240, 255);

    FrameLayouts = new QGroupBox(QStringLiteral("Select Predefined Report Layout:"), this);
    place(FrameLayouts, 120, 960, 9720, layoutsHeight);
    for (int i = 0; i < rows; ++i) {
        auto* o = new QRadioButton(FrameLayouts);
        o->setObjectName(QStringLiteral("rptopt_%1").arg(i));
        place(o, 240, 300 + i * 300, 9360, 285);
        rptopt.add(i, o);
    }
    const int customTop = 960 + layoutsHeight + 120;
    FrameCustom = new QGroupBox(QStringLiteral("Custom Report Generator"), this);
    place(FrameCustom, 120, customTop, 9720, 720);
    auto* custom = new QRadioButton(QStringLiteral("Custom Reports"), FrameCustom);
    custom->setObjectName(QStringLiteral("rptopt_%1").arg(rows));
    place(custom, 240, 330, 3600, 285);
    rptopt.add(rows, custom);

    Command1 = new QPushButton(QStringLiteral("NEXT"), this);
    Command2 = new QPushButton(QStringLiteral("Close"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    place(Command1, 7080, customTop + 840, 1320, 420);
    place(Command2, 8520, customTop + 840, 1320, 420);
    setTabOrder(Command1, Command2);
    Command1->setFocus();
    wire();
}

void frmReports::wire()
{
    platform::onClick(rptopt, [this](int Index) { rptopt_Click(Index); });
    platform::onClick(Command1, [this] { Command1_Click(); });
    platform::onClick(Command2, [this] { Command2_Click(); });
}

void frmReports::Form_Load()
{
    setCaption(g().AppTitle + QStringLiteral(" Reports"));
    platform::forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;
    if (frmMain* main = platform::forms().loadedOrNull<frmMain>())
        platform::setText(Label1, main->Combo1->currentText());
    for (std::size_t i = 0; i < layouts_.size(); ++i)
        rptopt(static_cast<int>(i))->setText(QString::fromLatin1(layouts_[i].caption));
}

void frmReports::Form_Activate()
{
    Command1->setEnabled(true);
    Command2->setEnabled(true);
}

// The layouts and "Custom Reports" lie in different frames: the window keeps them exclusive itself.
void frmReports::setOff(QRadioButton* option)
{
    option->setAutoExclusive(false);
    platform::setOptionValue(option, false);
    option->setAutoExclusive(true);
}

void frmReports::rptopt_Click(int Index)
{
    if (Index == customOption()) {
        for (int i = 0; i < customOption(); ++i)
            setOff(rptopt(i));
    } else {
        setOff(rptopt(customOption()));
    }
}

void frmReports::Command1_Click()
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    platform::forms().unloadIfLoaded<frmReportz>();
    for (int i = 0; i <= customOption(); ++i) {
        if (!rptopt(i)->isChecked())
            continue;
        if (i == customOption())
            reports::openCustomReport();
        else
            reports::openPreselectedReport(layouts_[i].number, layouts_[i].items);
        return;
    }
}

void frmReports::Command2_Click()
{
    Hide();
    if (frmMain* main = platform::forms().loadedOrNull<frmMain>())
        main->update();
    Unload();
    platform::SetBusyCursor(0);
}
