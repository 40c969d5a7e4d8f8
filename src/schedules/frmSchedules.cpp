#include "schedules/frmSchedules.h"

#include "app/globals.h"
#include "db/feeformulas.h"
#include "db/sessions.h"
#include "db/sqltext.h"
#include "main/frmMain.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "schedules/schedulecommon.h"
#include "schedules/schedulesql.h"

#include <QFont>
#include <QSignalBlocker>

using platform::listIndex;
using platform::place;

using schedules::kBlankSelection;
using schedules::kBothSelected;
using schedules::kNotTheSame;
using schedules::kPercentageBlank;
using schedules::kPercentageKeyMessage;
using schedules::label;

namespace {

constexpr int vbSystemModal = 4096;
constexpr int kHelpContext = 580;
constexpr int kAllSchedules = 5;

const QString kOpps = QStringLiteral("KELVA OPPS");
const QString kAllSchedulesEntry = QStringLiteral("All Schedules (S1-S5)");
const QString kAllFrequenciesEntry = QStringLiteral("All Frequencies(F1-F5)");
const QString kDestinationCaption = QStringLiteral("Destination: KELVA Table S1 - S5");
const QString kTagNote = QStringLiteral(
    "If \"Use Tagged Codes Only\" is selected, the   action (i.e. copy) will apply to only tagged codes.  All "
    "other codes will remain unaffected.");
const QString kClearWarning = QStringLiteral(
    "Please select the schedule to be cleared.  Note that there is no \"undo\" to this operation.  Current "
    "information for this schedule will be cleared!");
const QString kPercentageCaption = QStringLiteral("Percentage increase / decrease of Source to Destination:");
const QString kNotNumeric = QStringLiteral("Entry is not numeric");
const QString kOnlyClearTakesAllSchedules = QStringLiteral(
    "The destinatation field can only be 'All Schedules (S1-S5)' if the option is to 'Clear (Zero Out)' ");
const QString kOnlyClearTakesAllFrequencies = QStringLiteral(
    "The destinatation field can only be 'All Frequencies(F1-F5)' if the option is to Clear (Zero Out) ");

QString tagFilter(bool tagged)
{
    return tagged ? QStringLiteral(" WHERE TAG ='+'") : QString();
}

QString column(const char* prefix, int position)
{
    return QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(position + 1);
}

// A drop-down combo's position: none when the text typed is not the entry shown.
int comboPosition(const QComboBox* box)
{
    const int i = box->currentIndex();
    if (i < 0 || box->itemText(i) != box->currentText())
        return -1;
    return i;
}

void uncheck(QRadioButton* option)
{
    const QSignalBlocker block(option);
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}


}  // namespace

// ---- Window.

frmSchedules::frmSchedules()
{
    setObjectName(QStringLiteral("frmSchedules"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::useDesignFont(this);
    setFixedSize(platform::tw(9000), platform::tw(6420));

    SSTab1 = platform::newControl<QTabWidget>(this, QStringLiteral("SSTab1"), 120, 120, 8760, 5280);
    SchedulesPage = new QWidget;
    FrequenciesPage = new QWidget;
    SSTab1->addTab(SchedulesPage, QStringLiteral("   User Defined Schedules S1 - S5   "));
    SSTab1->addTab(FrequenciesPage, QStringLiteral("   User Defined Frequencies Freq1 - Freq5   "));
    makeSchedulesPage();
    makeFrequenciesPage();

    FrameSession = platform::newControl<QGroupBox>(this, QStringLiteral("FrameSession"), 120, 5520, 5400, 780,
                                                   QStringLiteral("Applying to Session :"));
    Label2 = label(FrameSession, QStringLiteral("Label2"), QString(), 240, 360, 4920, 300);
    Label2->setFont(QFont(QStringLiteral("Arial"), 9));
    btn.add(0, platform::newControl<QPushButton>(this, QStringLiteral("btn_0"), 5880, 5760, 1380, 420,
                                                 QStringLiteral("Run")));
    btn.add(1, platform::newControl<QPushButton>(this, QStringLiteral("btn_1"), 7380, 5760, 1380, 420,
                                                 QStringLiteral("Cancel")));
    Data1.setConnect(QStringLiteral("Access 2000;"));
    wire();
}

void frmSchedules::makeSchedulesPage()
{
    QWidget* page = SchedulesPage;
    auto* action = platform::newControl<QGroupBox>(page, QStringLiteral("FrameAction"), 120, 120, 2760, 2520,
                                                   QStringLiteral("Action"));
    const char* captions[] = {"Copy", "Clear (Zero Out)", "Calculate", "Swap", "Import", "Export"};
    for (int i = 0; i < 6; ++i)
        opt.add(i, platform::newControl<QRadioButton>(action, QStringLiteral("opt_%1").arg(i), 240, 320 + i * 345,
                                                      2400, 285, QString::fromUtf8(captions[i])));

    auto* tagged = platform::newControl<QGroupBox>(page, QStringLiteral("FrameTagged"), 120, 2760, 2760, 2040,
                                                   QStringLiteral("Tagged Codes"));
    chk = platform::newControl<QCheckBox>(tagged, QStringLiteral("chk"), 240, 300, 2400, 285,
                                          QStringLiteral("Use Tagged Codes Only"));
    label(tagged, QStringLiteral("Note1"), kTagNote, 240, 660, 2400, 1260);

    auto* fields = platform::newControl<QGroupBox>(page, QStringLiteral("FrameFields"), 3000, 120, 5520, 4680,
                                                   QStringLiteral("Source and Destination Fields"));
    lbl.add(0, label(fields, QStringLiteral("lbl_0"), QStringLiteral("Source:"), 240, 300, 5040));
    Combo1 = platform::newControl<QComboBox>(fields, QStringLiteral("Combo1"), 240, 570, 5040, 330);
    lbl.add(1, label(fields, QStringLiteral("lbl_1"), kDestinationCaption, 240, 1020, 5040));
    Combo2 = platform::newControl<QComboBox>(fields, QStringLiteral("Combo2"), 240, 1290, 5040, 330);

    FrameFactor = platform::newControl<QWidget>(fields, QStringLiteral("FrameFactor"), 240, 1800, 5040, 1560);
    lbl.add(2, label(FrameFactor, QStringLiteral("lbl_2"), kPercentageCaption, 0, 0, 3840, 450));
    Text1 = platform::newControl<QLineEdit>(FrameFactor, QStringLiteral("Text1"), 3960, 60, 720, 330);
    lbl.add(3, label(FrameFactor, QStringLiteral("lbl_3"), QStringLiteral("%"), 4740, 100, 240));
    lbl.add(9, label(FrameFactor, QStringLiteral("lbl_9"), QStringLiteral("OR"), 0, 660, 600));
    lbl.add(10, label(FrameFactor, QStringLiteral("lbl_10"), QStringLiteral("User Defined Conversion Factor"), 0,
                      1140, 2820));
    lbl.add(11, label(FrameFactor, QStringLiteral("lbl_11"), QStringLiteral("$"), 2880, 1140, 180));
    Text3 = platform::newControl<QLineEdit>(FrameFactor, QStringLiteral("Text3"), 3060, 1100, 1200, 330);
    Text3->setMaxLength(8);

    lbl.add(4, label(fields, QStringLiteral("lbl_4"), kClearWarning, 240, 1800, 5040, 1000));
    btnHelp = platform::newControl<QPushButton>(fields, QStringLiteral("btnHelp"), 4080, 4080, 1200, 390,
                                                QStringLiteral("Help"));
}

void frmSchedules::makeFrequenciesPage()
{
    QWidget* page = FrequenciesPage;
    auto* action = platform::newControl<QGroupBox>(page, QStringLiteral("FrameAction2"), 120, 120, 2760, 2520,
                                                   QStringLiteral("Action"));
    const char* captions[] = {"Calculate", "Export", "Clear (Zero Out)", "Import", "Swap", "Copy"};
    for (int i = 0; i < 6; ++i)
        opt.add(6 + i, platform::newControl<QRadioButton>(action, QStringLiteral("opt_%1").arg(6 + i), 240,
                                                          320 + i * 345, 2400, 285, QString::fromUtf8(captions[i])));

    auto* tagged = platform::newControl<QGroupBox>(page, QStringLiteral("FrameTagged2"), 120, 2760, 2760, 2040,
                                                   QStringLiteral("Tagged Codes"));
    Check1 = platform::newControl<QCheckBox>(tagged, QStringLiteral("Check1"), 240, 300, 2400, 285,
                                             QStringLiteral("Use Tagged Codes Only"));
    label(tagged, QStringLiteral("Note2"), kTagNote, 240, 660, 2400, 1260);

    auto* fields = platform::newControl<QGroupBox>(page, QStringLiteral("FrameFields2"), 3000, 120, 5520, 4680,
                                                   QStringLiteral("Source and Destination Fields"));
    Label4 = label(fields, QStringLiteral("Label4"), QStringLiteral("Source:  Freq1 - Freq5"), 240, 300, 5040);
    Combo3 = platform::newControl<QComboBox>(fields, QStringLiteral("Combo3"), 240, 570, 5040, 330);
    Label5 = label(fields, QStringLiteral("Label5"), QStringLiteral("Destination: Freq1 - Freq5"), 240, 1020, 5040);
    Label8 = label(fields, QStringLiteral("Label8"), QStringLiteral("Field to Clear"), 240, 1020, 5040);
    Combo4 = platform::newControl<QComboBox>(fields, QStringLiteral("Combo4"), 240, 1290, 5040, 330);
    for (QComboBox* box : {Combo3, Combo4}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
    }
    lbl.add(5, label(fields, QStringLiteral("lbl_5"), kPercentageCaption, 240, 1800, 3840, 450));
    Text2 = platform::newControl<QLineEdit>(fields, QStringLiteral("Text2"), 4200, 1860, 720, 330);
    lbl.add(6, label(fields, QStringLiteral("lbl_6"), QStringLiteral("%"), 4980, 1900, 240));
    lbl.add(7, label(fields, QStringLiteral("lbl_7"), kClearWarning, 240, 1800, 5040, 1000));
    // As Copy lays it out.
    for (QWidget* w : std::initializer_list<QWidget*>{Label8, lbl(5), Text2, lbl(6), lbl(7)})
        w->hide();
}

void frmSchedules::wire()
{
    using namespace platform;
    onClick(opt, [this](int Index) { opt_Click(Index); });
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int tab) {
        const int previous = currentTab_;
        currentTab_ = tab;
        guarded([this, previous] { SSTab1_Click(previous); });
    });
    onGotFocus(Text1, [this] { Text1_GotFocus(); });
    onKeyPress(Text1, [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); });
    onGotFocus(Text3, [this] { Text3_GotFocus(); });
    onKeyPress(Text3, [this](int& KeyAscii) { Text3_KeyPress(KeyAscii); });
    onLostFocus(Text3, [this] { Text3_LostFocus(); });
    onClick(btn, [this](int Index) { btn_Click(Index); });
    onClick(btnHelp, [this] { btnHelp_Click(); });
}

frmMain& frmSchedules::main() const
{
    return forms().get<frmMain>();
}

bool frmSchedules::oppsView() const
{
    return main().cmboCurrentView->currentText() == kOpps;
}

QStringList frmSchedules::scheduleNames() const
{
    const db::SessionRow session = main().CurrentSession();
    QStringList names;
    for (int k = 0; k < 5; ++k)
        names << session.value(db::SessionRow::scheduleName(k)).toString();
    return names;
}

QStringList frmSchedules::sourceEntries(bool opps, const QString& locality, const QStringList& scheduleNames)
{
    if (opps)
        return {QStringLiteral("Non Facility Participating Fee"), QStringLiteral("Facility Participating Fee")};
    const QString at = QStringLiteral("(") + locality + QStringLiteral(")");
    QStringList e = {QStringLiteral("Non Facility Participating Fee"),
                     QStringLiteral("Non Facility Non Participating Fee"),
                     QStringLiteral("Non Facility Limiting Fee"),
                     QStringLiteral("Facility Participating Fee"),
                     QStringLiteral("Facility Non Participating Fee"),
                     QStringLiteral("Facility Limiting Fee"),
                     QStringLiteral("Total Non-Facility RVU"),
                     QStringLiteral("Total Facility RVU"),
                     QStringLiteral("Total Adjusted Non-Facility RVU (") + locality + QStringLiteral(")"),
                     QStringLiteral("Total Adjusted Facility RVU (") + locality + QStringLiteral(")"),
                     QStringLiteral("Work RVU (National)"),
                     QStringLiteral("Practice Non Facility RVU (National)"),
                     QStringLiteral("Practice Facility RVU (National)"),
                     QStringLiteral("Malpractice RVU (National)"),
                     QStringLiteral("Work RVU Adjusted ") + at,
                     QStringLiteral("Practice Non Facility RVU Adjusted ") + at,
                     QStringLiteral("Practice Facility RVU Adjusted ") + at,
                     QStringLiteral("Malpractice RVU Adjusted ") + at};
    e << scheduleNames;
    return e;
}

// ---- Opening.

void frmSchedules::Form_Load()
{
    Show();
    forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;
    setCaption(g().AppTitle + QStringLiteral(" Schedule Manager"));
    frmMain& m = main();
    const bool opps = oppsView();
    if (opps) {
        for (int i : {3, 4, 5})
            opt(i)->setEnabled(false);
        SSTab1->setTabEnabled(1, false);
    }
    platform::setText(Label2, m.Combo1->currentText());

    const db::SessionRow session = m.CurrentSession();
    QStringList frequencies;
    for (int k = 0; k < 5; ++k) {
        const dao::Variant name = session.value(db::SessionRow::frequencyName(k));
        frequencies << (name.isNull() ? column("Freq", k) : name.toString());
    }
    if (!opps)
        platform::fillList(Combo3, frequencies);
    platform::fillList(Combo2, scheduleNames() << kAllSchedulesEntry);
    if (!opps)
        platform::fillList(Combo4, frequencies << kAllFrequenciesEntry);
    for (QComboBox* box : {Combo3, Combo4}) {
        const QSignalBlocker block(box);
        box->setCurrentIndex(-1);
    }
    platform::setOptionValue(opt(0), true);
}

void frmSchedules::Form_Activate()
{
    // A list built for the other physician view would name sources its Run cannot read.
    if (!sourcesBuilt_ || sourcesForOpps_ == oppsView())
        return;
    for (auto [i, o] : opt)
        if (o->isChecked()) {
            opt_Click(i);
            return;
        }
}

// ---- Actions and tabs.

void frmSchedules::clearOptions(int from, int to)
{
    for (int i = from; i <= to; ++i)
        uncheck(opt(i));
}

void frmSchedules::opt_Click(int Index)
{
    frmMain& m = main();
    const bool opps = oppsView();
    const QStringList entries = sourceEntries(opps, m.Label4->text(), scheduleNames());
    sourcesBuilt_ = true;
    sourcesForOpps_ = opps;

    for (QWidget* w : std::initializer_list<QWidget*>{lbl(2), Text1, lbl(3), lbl(9), lbl(10), lbl(11), Text3, lbl(4)})
        w->hide();
    FrameFactor->hide();
    Combo1->show();
    lbl(0)->show();
    platform::setText(lbl(1), kDestinationCaption);
    if (SSTab1->currentIndex() == 1)
        clearOptions(0, 5);
    else
        clearOptions(6, 11);
    platform::clearList(Combo1);

    switch (Index) {
    case 0:
        platform::fillList(Combo1, entries);
        break;
    case 1:
        platform::fillList(Combo1, entries);
        Combo1->hide();
        lbl(0)->hide();
        lbl(4)->show();
        platform::setText(lbl(1), QStringLiteral("Schedule To Clear:"));
        break;
    case 2:
        platform::fillList(Combo1, entries);
        FrameFactor->show();
        for (QWidget* w : std::initializer_list<QWidget*>{lbl(2), Text1, lbl(3), lbl(9), lbl(10), lbl(11), Text3})
            w->show();
        break;
    case 3:
        platform::fillList(Combo1, scheduleNames());
        break;
    case 4:
    case 5:
        seam().MsgBox(QStringLiteral("Importing and Exporting of user defined Fee Schedules are available under file "
                                     "on the menu bar."),
                      vbOKOnly);
        platform::setOptionValue(opt(0), true);
        break;
    case 6:
        for (QWidget* w : std::initializer_list<QWidget*>{Label8, lbl(7)})
            w->hide();
        for (QWidget* w : std::initializer_list<QWidget*>{Label4, Combo3, Label5, Combo4, lbl(5), Text2, lbl(6)})
            w->show();
        break;
    case 7:
    case 9:
        seam().MsgBox(QStringLiteral("Importing and Exporting of user defined Frequencies are available under file on "
                                     "the menu bar."),
                      vbOKOnly);
        platform::setOptionValue(opt(11), true);
        break;
    case 8:
        for (QWidget* w : std::initializer_list<QWidget*>{Label4, Combo3, Label5, lbl(5), Text2, lbl(6)})
            w->hide();
        for (QWidget* w : std::initializer_list<QWidget*>{Combo4, Label8, lbl(7)})
            w->show();
        break;
    case 10:
    case 11:
        for (QWidget* w : std::initializer_list<QWidget*>{Label8, lbl(5), Text2, lbl(6), lbl(7)})
            w->hide();
        for (QWidget* w : std::initializer_list<QWidget*>{Label4, Combo3, Label5, Combo4})
            w->show();
        break;
    default:
        break;
    }
}

void frmSchedules::SSTab1_Click(int PreviousTab)
{
    if (PreviousTab == 1) {
        clearOptions(6, 11);
        platform::setOptionValue(opt(0), true);
    } else {
        clearOptions(0, 5);
        platform::setOptionValue(opt(11), true);
    }
}

// ---- Percentage and conversion factor.

void frmSchedules::Text1_GotFocus()
{
    platform::setText(Text3, QString());
}

void frmSchedules::Text3_GotFocus()
{
    platform::setText(Text1, QString());
}

void frmSchedules::Text1_KeyPress(int& KeyAscii)
{
    platform::setText(Text3, QString());
    if (schedules::percentageKey(KeyAscii))
        return;
    if (KeyAscii == 13) {
        KeyAscii = 0;
        platform::SetFocus(btn(0));
        return;
    }
    seam().MsgBox(kPercentageKeyMessage, vbOKOnly);
    KeyAscii = 0;
}

void frmSchedules::Text3_KeyPress(int&)
{
    platform::setText(Text1, QString());
}

void frmSchedules::Text3_LostFocus()
{
    const QString text = Text3->text();
    if (text.trimmed().isEmpty() || !dao::Variant(text).isNumeric()) {
        seam().MsgBox(kNotNumeric, vbOKOnly);
        return;
    }
    const int point = text.indexOf(QLatin1Char('.'));
    if (point >= 0 && text.size() - point - 1 > 4)
        seam().MsgBox(QStringLiteral("Cannot exceed 4 numbers behind the decimal"), vbOKOnly);
}

// ---- Buttons.

void frmSchedules::btn_Click(int Index)
{
    if (Index == 1) {
        Hide();
        main().update();
        Unload();
        platform::SetBusyCursor(0);
        return;
    }
    const QStringList sources =
        oppsView() ? schedulesql::oppsSources() : schedulesql::physicianSources(sessionFactors());
    const auto set = [this](int i) { return opt(i)->isChecked(); };
    if (set(0) && !CopySchedules(sources))
        return;
    if (set(1) && !ClearSchedules())
        return;
    if (set(2) && !CalculateSchedules(sources))
        return;
    if (set(3) && !SwapSchedules())
        return;
    if (set(6) && !CalculateFrequencies())
        return;
    if (set(8) && !ClearFrequencies())
        return;
    if (set(10) && !SwapFrequencies())
        return;
    if (set(11))
        CopyFrequencies();
}

void frmSchedules::btnHelp_Click()
{
    seam().HtmlHelp(programPath(QStringLiteral("morvex.chm")), kHelpContext);
}

bool frmSchedules::Execute(const Statement& s, const Done& done)
{
    frmMain& m = main();
    {
        platform::BusyCursor busy;
        if (done.reload == Reload::OnceBusy)
            m.RequestReload(2);
        try {
            g().MainDb.Execute(s.sql, s.params);
        } catch (const dao::Error& e) {
            seam().MsgBox(e.description, vbOKOnly);
            return false;
        }
        if (done.reload == Reload::AfterStatement)
            m.RequestReload(2);
        m.RefreshMainGridData();
        m.Recolumnize();
        if (!done.lowerBeforeMessage) {
            if (done.update)
                seam().MsgBox(done.message, vbOKOnly | vbInformation | vbSystemModal, QStringLiteral("Update"));
            else
                seam().MsgBox(done.message, vbOKOnly);
            return true;
        }
    }
    seam().MsgBox(done.message, vbOKOnly);
    return true;
}

// ---- Schedules.

namespace {

// The session's table as SESTAB names it at the moment of the statement.
QString sessionTableName(frmMain& m)
{
    return m.CurrentSession().get(db::SessionRow::SESTAB).trimmed();
}

QString sessionTable(frmMain& m)
{
    return dao::quoteIdentifier(sessionTableName(m));
}

}  // namespace

bool frmSchedules::CopySchedules(const QStringList& sources)
{
    frmMain& m = main();
    m.RequestReload(2);
    if (Combo2->currentText() == kAllSchedulesEntry) {
        seam().MsgBox(kOnlyClearTakesAllSchedules, vbOKOnly);
        return false;
    }
    const int source = listIndex(Combo1);
    const int destination = listIndex(Combo2);
    if (source < 0 || destination < 0 || source >= sources.size()) {
        seam().MsgBox(kBlankSelection, vbOKOnly);
        return false;
    }
    const QString d = column("S", destination);
    if (d == sources[source]) {
        seam().MsgBox(kNotTheSame, vbOKOnly);
        return false;
    }
    const QString t = sessionTable(m);
    const bool tagged = platform::checkValue(chk) == 1;
    Statement s;
    if (oppsView()) {
        const db::ParmsRow parms = m.Parms();
        s.sql = QStringLiteral("UPDATE %1 SET TAG = DATAOPPSVIEW.TAG, %2 = format(%3,'#0.####') FROM DATAOPPSVIEW "
                               "WHERE DATAOPPSVIEW.CODEMOD = %1.CODEMOD%4 AND DATAOPPSVIEW.carrier = ? "
                               "AND DATAOPPSVIEW.locality = ?")
                    .arg(t, d, sources[source], tagged ? QStringLiteral(" AND DATAOPPSVIEW.TAG ='+'") : QString());
        s.params = {parms.value(db::ParmsRow::CARRIER), parms.value(db::ParmsRow::Loc)};
    } else {
        s.sql = schedulesql::copySchedule(sessionTableName(m), d, sources[source], tagged);
    }
    return Execute(s, {QStringLiteral("User defined schedules have been copied")});
}

bool frmSchedules::ClearSchedules()
{
    frmMain& m = main();
    const int destination = listIndex(Combo2);
    if (destination < 0) {
        seam().MsgBox(QStringLiteral("The schedule selection cannot be blank.  Please correct and try again."),
                      vbOKOnly);
        return false;
    }
    const QString set = destination == kAllSchedules ? QStringLiteral("S1 = 0, S2 = 0, S3 = 0, S4 = 0, S5 = 0")
                                                     : column("S", destination) + QStringLiteral(" = 0");
    Statement s{QStringLiteral("UPDATE %1 SET %2").arg(sessionTable(m), set) +
                tagFilter(platform::checkValue(chk) == 1)};
    Done done{QStringLiteral("User defined schedule has been cleared"), true};
    done.reload = Reload::AfterStatement;
    return Execute(s, done);
}

bool frmSchedules::CalculateFactor(double& factor)
{
    const QString cf = Text3->text();
    if (cf.isEmpty()) {
        factor = (dao::Variant(Text1->text()).toDouble() + 100) / 100;
        return true;
    }
    if (!dao::Variant(cf).isNumeric()) {
        seam().MsgBox(kNotNumeric, vbOKOnly);
        return false;
    }
    const double c = dao::Variant(cf).toDouble();
    const double b = dao::Variant(main().kelvacf->text()).toDouble();
    if (b == 0) {
        seam().MsgBox(QStringLiteral("The session's conversion factor is 0."), vbOKOnly);
        return false;
    }
    factor = (((c - b) / b) * 100 + 100) / 100;
    return true;
}

bool frmSchedules::CalculateSchedules(const QStringList& sources)
{
    frmMain& m = main();
    m.RequestReload(2);
    if (Text3->text().isEmpty() && !dao::Variant(Text1->text()).isNumeric()) {
        seam().MsgBox(kPercentageBlank, vbOKOnly);
        return false;
    }
    const int source = listIndex(Combo1);
    const int destination = listIndex(Combo2);
    if (source < 0 || destination < 0 || source >= sources.size()) {
        seam().MsgBox(kBothSelected, vbOKOnly);
        return false;
    }
    if (Combo2->currentText() == kAllSchedulesEntry) {
        seam().MsgBox(kOnlyClearTakesAllSchedules, vbOKOnly);
        return false;
    }
    double factor = 1;
    if (!CalculateFactor(factor))
        return false;
    const QString t = sessionTable(m);
    const QString d = column("S", destination);
    const QString f = db::sqlNumber(factor);
    const bool tagged = platform::checkValue(chk) == 1;
    Statement s;
    if (oppsView()) {
        const db::ParmsRow parms = m.Parms();
        s.sql = QStringLiteral("UPDATE %1 SET %2 = format(( %3 ) * %4,'#0.####') FROM DATAOPPSVIEW "
                               "WHERE DATAOPPSVIEW.CODEMOD = %1.CODEMOD%5 AND DATAOPPSVIEW.carrier = ? "
                               "AND DATAOPPSVIEW.locality = ?")
                    .arg(t, d, sources[source], f, tagged ? QStringLiteral(" AND DATAOPPSVIEW.TAG ='+'") : QString());
        s.params = {parms.value(db::ParmsRow::CARRIER), parms.value(db::ParmsRow::Loc)};
    } else {
        s.sql = QStringLiteral("UPDATE %1 SET %2 = format((%3) * %4,'#0.####')").arg(t, d, sources[source], f) +
                tagFilter(tagged);
    }
    Done done{QStringLiteral("User defined schedules have been changed")};
    done.lowerBeforeMessage = true;
    return Execute(s, done);
}

bool frmSchedules::SwapSchedules()
{
    frmMain& m = main();
    if (Combo2->currentText() == kAllSchedulesEntry) {
        seam().MsgBox(kOnlyClearTakesAllSchedules, vbOKOnly);
        return false;
    }
    const int a = listIndex(Combo1);
    const int b = listIndex(Combo2);
    if (a < 0 || b < 0 || a >= 5) {
        seam().MsgBox(QStringLiteral("The fees and/or schedule selections cannot be blank.  Please correct and try "
                                     "again."),
                      vbOKOnly);
        return false;
    }
    if (a == b) {
        seam().MsgBox(kNotTheSame, vbOKOnly);
        return false;
    }
    const QString sa = column("S", a);
    const QString sb = column("S", b);
    Statement s{QStringLiteral("UPDATE %1 SET %2 = %3, %3 = %2").arg(sessionTable(m), sb, sa) +
                tagFilter(platform::checkValue(chk) == 1)};
    Done done{QStringLiteral("User defined schedules have been switched")};
    done.lowerBeforeMessage = true;
    done.reload = Reload::OnceBusy;
    return Execute(s, done);
}

// ---- Frequencies.

bool frmSchedules::CalculateFrequencies()
{
    frmMain& m = main();
    m.RequestReload(2);
    if (!dao::Variant(Text2->text()).isNumeric()) {
        seam().MsgBox(kPercentageBlank, vbOKOnly);
        return false;
    }
    const int source = comboPosition(Combo3);
    const int destination = comboPosition(Combo4);
    if (source < 0 || destination < 0) {
        seam().MsgBox(kBothSelected, vbOKOnly);
        return false;
    }
    if (Combo4->currentText() == kAllFrequenciesEntry) {
        seam().MsgBox(kOnlyClearTakesAllFrequencies, vbOKOnly);
        return false;
    }
    const double factor = (dao::Variant(Text2->text()).toDouble() + 100) / 100;
    Statement s{QStringLiteral("UPDATE %1 SET %2 = format((%3) * %4,'#0.00')")
                    .arg(sessionTable(m), column("Freq", destination), column("Freq", source), db::sqlNumber(factor)) +
                tagFilter(platform::checkValue(Check1) == 1)};
    return Execute(s, {QStringLiteral("User defined frequencies have been changed"), true});
}

bool frmSchedules::ClearFrequencies()
{
    frmMain& m = main();
    const int destination = comboPosition(Combo4);
    if (destination < 0) {
        seam().MsgBox(QStringLiteral("The frequency selection cannot be blank.  Please correct and try again."),
                      vbOKOnly);
        return false;
    }
    const QString set = destination == kAllSchedules
                            ? QStringLiteral("Freq1 = 0, Freq2 = 0, Freq3 = 0, Freq4 = 0, Freq5 = 0")
                            : column("Freq", destination) + QStringLiteral(" = 0");
    Statement s{QStringLiteral("UPDATE %1 SET %2").arg(sessionTable(m), set) +
                tagFilter(platform::checkValue(Check1) == 1)};
    Done done{QStringLiteral("User defined frequencies have been cleared"), true};
    done.reload = Reload::AfterStatement;
    return Execute(s, done);
}

bool frmSchedules::SwapFrequencies()
{
    frmMain& m = main();
    if (Combo4->currentText() == kAllFrequenciesEntry) {
        seam().MsgBox(kOnlyClearTakesAllFrequencies, vbOKOnly);
        return false;
    }
    const int a = comboPosition(Combo3);
    const int b = comboPosition(Combo4);
    if (a < 0 || b < 0) {
        seam().MsgBox(QStringLiteral("The frequency and/or schedule selections cannot be blank.  Please correct and "
                                     "try again."),
                      vbOKOnly);
        return false;
    }
    if (a == b) {
        seam().MsgBox(kNotTheSame, vbOKOnly);
        return false;
    }
    const QString fa = column("Freq", a);
    const QString fb = column("Freq", b);
    Statement s{QStringLiteral("UPDATE %1 SET %2 = %3, %3 = %2").arg(sessionTable(m), fb, fa) +
                tagFilter(platform::checkValue(Check1) == 1)};
    Done done{QStringLiteral("User defined frequencies have been switched"), true};
    done.reload = Reload::OnceBusy;
    return Execute(s, done);
}

bool frmSchedules::CopyFrequencies()
{
    frmMain& m = main();
    m.RequestReload(2);
    if (Combo4->currentText() == kAllFrequenciesEntry) {
        seam().MsgBox(kOnlyClearTakesAllFrequencies, vbOKOnly);
        return false;
    }
    const int source = comboPosition(Combo3);
    const int destination = comboPosition(Combo4);
    if (source < 0 || destination < 0) {
        seam().MsgBox(QStringLiteral("The frequuencies and/or schedule selections cannot be blank..  Please correct "
                                     "and try again."),
                      vbOKOnly);
        return false;
    }
    if (source == destination) {
        seam().MsgBox(kNotTheSame, vbOKOnly);
        return false;
    }
    Statement s{QStringLiteral("UPDATE %1 SET %2 = format(%3,'#0.00')")
                    .arg(sessionTable(m), column("Freq", destination), column("Freq", source)) +
                tagFilter(platform::checkValue(Check1) == 1)};
    return Execute(s, {QStringLiteral("User defined frequencies have been copied"), true});
}

KELVA_FORM_NAME(frmSchedules)
