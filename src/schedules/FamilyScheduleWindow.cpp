#include "schedules/FamilyScheduleWindow.h"

#include "app/globals.h"
#include "db/sessions.h"
#include "db/sqltext.h"
#include "main/frmMain.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/Transaction.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "schedules/schedulecommon.h"
#include "schedules/FamilyScheduleWindows.h"

#include <QFont>
#include <optional>

using platform::listIndex;
using platform::newControl;

using schedules::kBlankSelection;
using schedules::kBothSelected;
using schedules::kNotTheSame;
using schedules::kPercentageBlank;
using schedules::kPercentageKeyMessage;
using schedules::label;

namespace {

const QString kChanged = QStringLiteral("User defined schedules have been changed");


}  // namespace

FamilyScheduleWindow::FamilyScheduleWindow(const schedules::ScheduleFamily& family) : family_(family)
{
    setObjectName(QString::fromLatin1(family.window));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::useDesignFont(this);
    setFixedSize(platform::tw(7800), platform::tw(5220));

    Frame5 = newControl<QGroupBox>(this, QStringLiteral("Frame5"), 120, 120, 7560, 840,
                                   QStringLiteral("Applying to Session"));
    Label2 = label(Frame5, QStringLiteral("Label2"), QString(), 240, 330, 7080, 420);
    QFont session(QStringLiteral("Arial"), 12);
    session.setBold(true);
    Label2->setFont(session);

    Frame3 = newControl<QGroupBox>(this, QStringLiteral("Frame3"), 120, 1080, 2400, 1080, QStringLiteral("Action"));
    opt.add(0, newControl<QRadioButton>(Frame3, QStringLiteral("opt_0"), 240, 330, 2040, 285, QStringLiteral("Copy")));
    opt.add(1, newControl<QRadioButton>(Frame3, QStringLiteral("opt_1"), 240, 690, 2040, 285,
                                        QStringLiteral("Calculate")));

    Frame2 = newControl<QGroupBox>(this, QStringLiteral("Frame2"), 120, 2280, 2400, 2220,
                                   QStringLiteral("Tagged Codes"));
    chk = newControl<QCheckBox>(Frame2, QStringLiteral("chk"), 240, 300, 2040, 285,
                                QStringLiteral("Use Tagged Codes Only"));
    Label1 = label(Frame2, QStringLiteral("Label1"),
                   QStringLiteral("If \"") + chk->text() +
                       QStringLiteral("\" is selected, only codes that are tagged will be updated.  All other codes "
                                      "will remain unaffected."),
                   240, 660, 2040, 1440);

    Frame1 = newControl<QGroupBox>(this, QStringLiteral("Frame1"), 2640, 1080, 5040, 2460,
                                   QStringLiteral("Source and Destination Fields"));
    lbl.add(0, label(Frame1, QStringLiteral("lbl_0"), QString::fromUtf8(family.sourceCaption), 240, 300, 4560));
    Combo1 = newControl<QComboBox>(Frame1, QStringLiteral("Combo1"), 240, 570, 4560, 330);
    lbl.add(1, label(Frame1, QStringLiteral("lbl_1"), QStringLiteral("Destination: KELVA Table S1 - S5"), 240, 1020,
                     4560));
    Combo2 = newControl<QComboBox>(Frame1, QStringLiteral("Combo2"), 240, 1290, 4560, 330);
    lbl.add(2, label(Frame1, QStringLiteral("lbl_2"),
                     QStringLiteral("Percentage increase / decrease of Source to Destination:"), 240, 1800, 3480, 450));
    Text1 = newControl<QLineEdit>(Frame1, QStringLiteral("Text1"), 3780, 1860, 720, 330);
    lbl.add(3, label(Frame1, QStringLiteral("lbl_3"), QStringLiteral("%"), 4560, 1900, 240));

    Label3 = label(this, QStringLiteral("Label3"), QString::fromUtf8(family.note), 2640, 3660, 5040, 840);
    btn.add(0, newControl<QPushButton>(this, QStringLiteral("btn_0"), 4740, 4620, 1380, 420, QStringLiteral("Run")));
    btn.add(1, newControl<QPushButton>(this, QStringLiteral("btn_1"), 6300, 4620, 1380, 420,
                                       QStringLiteral("Cancel")));
    // Enter and Escape press neither button.
    for (auto [i, b] : btn) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    wire();
}

void FamilyScheduleWindow::wire()
{
    using namespace platform;
    onClick(opt, [this](int Index) { opt_Click(Index); });
    onKeyPress(Text1, [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); });
    onClick(btn, [this](int Index) { btn_Click(Index); });
}

frmMain& FamilyScheduleWindow::main() const
{
    return forms().get<frmMain>();
}

void FamilyScheduleWindow::Form_Load()
{
    forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;
    setCaption(g().AppTitle + QString::fromUtf8(family_.caption));
    frmMain& m = main();
    const QStringList items = family_.sourceItems(m.Combo3->currentText());
    platform::setText(Label2, m.Combo1->currentText());
    platform::fillList(Combo1, items);
    const db::SessionRow session = m.CurrentSession();
    QStringList names;
    for (int k = 0; k < 5; ++k)
        names << session.value(db::SessionRow::scheduleName(k)).toString();
    platform::fillList(Combo2, names);
    platform::setOptionValue(opt(0), true);
    if (family_.sourceChosenAtLoad)
        platform::setListIndex(Combo1, 0);
}

void FamilyScheduleWindow::Form_Unload(int&)
{
    if (!family_.hidesDetailOnClose)
        return;
    frmMain& m = main();
    m.txt(0)->hide();
    m.txt(1)->hide();
}

void FamilyScheduleWindow::opt_Click(int Index)
{
    const bool calculate = Index == 1;
    lbl(2)->setVisible(calculate);
    lbl(3)->setVisible(calculate);
    Text1->setVisible(calculate);
}

void FamilyScheduleWindow::Text1_KeyPress(int& KeyAscii)
{
    if (schedules::percentageKey(KeyAscii))
        return;
    seam().MsgBox(kPercentageKeyMessage, vbOKOnly);
    KeyAscii = 0;
}

void FamilyScheduleWindow::btn_Click(int Index)
{
    if (Index == 0)
        Run();
    else if (Index == 1)
        Close();
}

void FamilyScheduleWindow::Close()
{
    Hide();
    main().update();
    Unload();
    platform::SetBusyCursor(0);
}

void FamilyScheduleWindow::Run()
{
    if (!family_.run)
        return;
    const bool copy = opt(0)->isChecked();
    const bool calculate = opt(1)->isChecked();
    if (!copy && !calculate)
        return;
    frmMain& m = main();
    m.RequestReload(2);

    schedules::FamilyRunInput in;
    in.calculate = calculate;
    in.tagged = platform::checkValue(chk) == 1;
    in.source = listIndex(Combo1);
    in.destination = listIndex(Combo2);
    in.state = m.Combo3->currentText();
    in.wageIndex = m.ascwr->text();
    in.baseRate = m.Combo4->currentText();
    in.db = &g().MainDb;
    if (copy) {
        if (in.source < 0 || in.destination < 0) {
            seam().MsgBox(kBlankSelection, vbOKOnly);
            return;
        }
        if (in.source == family_.sameCheckPosition && in.state == in.column()) {
            seam().MsgBox(kNotTheSame, vbOKOnly);
            return;
        }
    } else {
        if (!dao::Variant(Text1->text()).isNumeric()) {
            seam().MsgBox(kPercentageBlank, vbOKOnly);
            return;
        }
        if (in.source < 0 || in.destination < 0) {
            seam().MsgBox(kBothSelected, vbOKOnly);
            return;
        }
        in.factor = db::sqlNumber((dao::Variant(Text1->text()).toDouble() + 100) / 100);
    }

    std::optional<platform::BusyCursor> busy;
    try {
        in.tableName = m.CurrentSession().get(db::SessionRow::SESTAB).trimmed();
        in.table = dao::quoteIdentifier(in.tableName);
        in.filterState = m.Parms().get(db::ParmsRow::JCDSTATE);
        schedules::FamilyRun run;
        try {
            run = family_.run(in);
        } catch (const schedules::FamilyRefusal& r) {
            seam().MsgBox(r.message, vbOKOnly);
            return;
        }
        busy.emplace();
        // All of the run or none of it.
        dao::Transaction t(g().MainDb);
        SkippedRows = g().MainDb.scalar(run.skipped.sql, run.skipped.params).toLongLong();
        for (const schedules::FamilyStatement& s : run.statements)
            g().MainDb.Execute(s.sql, s.params);
        t.Commit();
    } catch (const dao::Error& e) {
        busy.reset();
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }
    if (copy ? family_.refreshAfterCopy : family_.refreshAfterCalculate)
        m.RefreshMainGridData();
    if (copy) {
        busy.reset();
        seam().MsgBox(kChanged, vbOKOnly);
        Unload();
        return;
    }
    seam().MsgBox(kChanged, vbOKOnly);
    Hide();
    m.update();
    Unload();
    busy.reset();
}

KELVA_FORM_NAME(frmSchedulesDME)
KELVA_FORM_NAME(frmSchedulesLAB)
KELVA_FORM_NAME(frmSchedulesJCD)
KELVA_FORM_NAME(frmSchedulesASC)
KELVA_FORM_NAME(frmSchedulesDRG)
