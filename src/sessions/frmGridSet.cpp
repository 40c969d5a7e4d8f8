#include "sessions/frmGridSet.h"

#include "app/globals.h"
#include "db/parmsrow.h"
#include "db/sessions.h"
#include "main/frmMain.h"
#include "main/frmPlimView.h"
#include "main/gridlayout.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/colours.h"
#include "platform/controls/twips.h"
#include "platform/dao/RecordEdit.h"
#include "platform/dao/Transaction.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"
#include "sessions/frmDialog.h"

#include <QButtonGroup>
#include <QTimer>

using platform::checkValue;
using platform::place;
using platform::setCheckValue;

const frmGridSet::ColumnBox frmGridSet::kColumns[kColumnBoxes] = {
    {"Tag", "Tag", true},
    {"col 1 Codmod (hide always)", "", false},
    {"CPT / HCPCS Code", "CPT / HCPCS Code", true},
    {"MOD (Modifier)", "Modifier", true},
    {"Status (Sta)", "Status", true},
    {"Short Description", "Short Description", true},
    {"Long Description", "Detailed Description", true},
    {"Physician Work RVU", "Physician Work RVU", true},
    {"Base Practice Expense RVU", "Base Practice Expense RVU", true},
    {"Resource Based Non-Facility Practice Expense RVU", "Resource Based Non-Facility Practice Expense RVU", true},
    {"Non-Facility RVU", "Transitioned Non-Facility Practice Expense RVU", true},
    {"Base Sight of Service Practice Expense RVU", "Base Sight of Service Practice Expense RVU", true},
    {"Resource Based Facility Practice Expense RVU", "Resource Based Facility Practice Expense RVU", true},
    {"Facility RVU", "Transitioned Facility Practice Expense RVU", true},
    {"Malpractice RVU", "Malpractice RVU", true},
    {"Total Resource NF RVUs", "Total Resource Non Facility RVUs", true},
    {"Total Non Facility RVUs", "Total Transitioned Non Facility RVU", true},
    {"Total Resource Facility RVUs", "Total Resource Facility RVU", true},
    {"Total Facility RVUs", "Total Transitioned Facility RVU", true},
    {"Non Facility Participating Fee", "Non Facility Participating Fee", true},
    {"Non Facility Non Participating Fee", "Non Facility Non Participating Fee", true},
    {"Non Facility Limiting Fee", "Non Facility Limiting Fee", true},
    {"Facility Participating Fee", "Facility Participating Fee", true},
    {"Facility Non Participating Fee", "Facility Non Participating Fee", true},
    {"Facility Limiting Fee", "Facility Limiting Fee", true},
    {"Global Fee Period (GFP)", "Global Fee Period (GFP)", true},
    {"PC/TC Indicator", "", false},
    {"Preoperatve Percentage", "", false},
    {"Interoperative Percentage", "", false},
    {"Postoperative Percentage", "", false},
    {"Multiple Procedure (Modifier 51)", "", false},
    {"Bilateral Surgery (Modifier 50)", "", false},
    {"Assistant at Surgery", "", false},
    {"Co-surgeons (Modifier 62)", "", false},
    {"Team Surgery (Modifier 66)", "", false},
    {"Physician Supervision", "", false},
    {"Millable Medical Supplies", "", false},
    {"Millable Medical Code", "", false},
    {"Endoscopic Base Code", "", false},
    {"Col 39", "", false},
    {"Transition Calculation Indicator", "", false},
    {"col 41", "", false},
    {"Col 42", "", false},
    {"Col 43", "", false},
    {"", "Custom Schedule 1", true},
    {"", "Custom Schedule 2", true},
    {"", "Custom Schedule 3", true},
    {"", "Custom Schedule 4", true},
    {"", "Custom Schedule 5", true},
    {"  F1", "Custom Frequency 1", true},
    {"  F2", "Custom Frequency 2", true},
    {"  F3", "Custom Frequency 3", true},
    {"  F4", "Custom Frequency 4", true},
    {"  F5", "Custom Frequency 5", true},
    {"Col 54", "", false},
    {"Col 55", "", false},
    {"Col 56", "", false},
    {"OPT", "OPT is an optional 10 character code identifier.", true},
};

const frmGridSet::ColourOption frmGridSet::kTextColours[5] = {
    {"Black", "Black Text Color", platform::vbButtonText},
    {"Green", "Green Text Color", platform::RGB(0, 128, 0)},
    {"Red", "Red Text Color", platform::RGB(255, 0, 0)},
    {"Blue", "Blue Text Color", platform::RGB(0, 0, 192)},
    {"Maroon", "Maroon Text Color", platform::RGB(128, 0, 128)},
};

const frmGridSet::ColourOption frmGridSet::kBackColours[5] = {
    {"White", "White Background Color", platform::RGB(255, 255, 255)},
    {"Light Green", "Light Green Background Color", platform::RGB(240, 255, 242)},
    {"Pink", "Pink Background Color", platform::RGB(255, 247, 244)},
    {"Light Blue", "Light Blue Background Color", platform::RGB(220, 244, 245)},
    {"Light Yellow", "Light Yellow Background Color", platform::RGB(255, 251, 227)},
};

namespace {

const QString kDefaultPath = QStringLiteral("(Default)");
const QString kNoPathMessage = QStringLiteral("A valid path must be entered");
const QString kRestoredMessage = QStringLiteral(
    "This screen has been updated to show your initial default settings.  Click 'OK' to close this message then "
    "'Apply' to make these changes to the main screen or 'Cancel' to return with no update.");
constexpr int kNameLength = 25;
constexpr int kPathBox = 0;
constexpr int kFieldNameBox = 9;

// An entry of COLVS: an empty or unreadable one counts as false.
bool entryIsTrue(const QString& entry)
{
    try {
        return gridlayout::toBoolean(entry);
    } catch (const dao::Error&) {
        return false;
    }
}

}  // namespace

// ---- Window.

frmGridSet::frmGridSet()
{
    setObjectName(QStringLiteral("frmGridSet"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(14880), platform::tw(8400));

    for (int i = 0; i < kColumnBoxes; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kColumns[i].caption), this);
        box->setObjectName(QStringLiteral("chk_%1").arg(i));
        if (*kColumns[i].tip)
            box->setToolTip(QString::fromUtf8(kColumns[i].tip));
        box->setVisible(kColumns[i].shown);
        chk.add(i, box);
    }
    chk(0)->setEnabled(false);

    makeColumnPanels();
    makeNamePanels();
    makeColourAndPathPanels();

    GDecimal = new QCheckBox(QStringLiteral("Use 2 Decimal Places"), this);
    GDecimal->setObjectName(QStringLiteral("GDecimal"));
    GDecimal->hide();

    cmdDefaults = new QPushButton(QStringLiteral("Restore Defaults"), this);
    cmdApply = new QPushButton(QStringLiteral("Apply"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdDefaults->setObjectName(QStringLiteral("cmdDefaults"));
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    place(cmdDefaults, 10080, 7860, 1680, 400);
    place(cmdApply, 11880, 7860, 1320, 400);
    place(cmdCancel, 13320, 7860, 1320, 400);
    wire();
}

void frmGridSet::makeColumnPanels()
{
    // A column box placed in its panel, one row of 300 twips each.
    auto row = [this](QGroupBox* in, int col, int left, int top, int width) {
        chk(col)->setParent(in);
        place(chk(col), left, top, width, 285);
        chk(col)->setVisible(true);
    };

    FrameSession = platform::newFrame(this, QStringLiteral("Main Screen Settings for Session:"), 120, 120, 4320, 660);
    Label1 = platform::newLabel(FrameSession, QString(), 240, 300, 3960, 285);
    Label1->setObjectName(QStringLiteral("Label1"));

    FrameDescription = platform::newFrame(this, QStringLiteral("CPT / HCPCS Description:"), 120, 900, 4320, 2880);
    int top = 300;
    for (int col : {0, 2, 3, 4, 25}) {
        row(FrameDescription, col, 240, top, 3960);
        top += 300;
    }
    descchk = new QCheckBox(QStringLiteral("CPT / HCPCS Description"), FrameDescription);
    descchk->setObjectName(QStringLiteral("descchk"));
    descchk->setToolTip(QStringLiteral("Description Type"));
    place(descchk, 240, top, 3960, 285);
    for (int col : {5, 6}) {
        top += 300;
        row(FrameDescription, col, 600, top, 3600);
        chk(col)->setEnabled(false);
    }

    FrameTotals = platform::newFrame(this, QStringLiteral("RVU Totals"), 120, 3900, 4320, 1500);
    top = 300;
    for (int col = 15; col <= 18; ++col, top += 300)
        row(FrameTotals, col, 240, top, 3960);

    FrameFees = platform::newFrame(this, QStringLiteral("Calculated Fee Schedules"), 120, 5520, 4320, 2100);
    top = 300;
    for (int col = 19; col <= 24; ++col, top += 300)
        row(FrameFees, col, 240, top, 3960);

    FrameRvu = platform::newFrame(this, QStringLiteral("Relative Value Unit Fields"), 4560, 120, 5400, 2640);
    platform::newLabel(FrameRvu, QStringLiteral("Work"), 240, 300, 2000);
    row(FrameRvu, 7, 360, 540, 4920);
    top = 840;
    for (int col : {8, 9, 11, 12}) {
        row(FrameRvu, col, 360, top, 4920);
        top += 300;
    }
    platform::newLabel(FrameRvu, QStringLiteral("Malpractice"), 240, top, 2000);
    row(FrameRvu, 14, 360, top + 240, 4920);

    FramePractice = platform::newFrame(this, QStringLiteral("Practice"), 4560, 2880, 5400, 1440);
    platform::newLabel(FramePractice, QStringLiteral("Non Facility"), 240, 300, 2000);
    row(FramePractice, 10, 360, 540, 4920);
    platform::newLabel(FramePractice, QStringLiteral("Facility"), 240, 840, 2000);
    row(FramePractice, 13, 360, 1080, 4920);
}

void frmGridSet::makeNamePanels()
{
    auto nameBox = [](QWidget* in, const QString& name, int top) {
        auto* box = new QLineEdit(in);
        box->setObjectName(name);
        box->setMaxLength(kNameLength);
        place(box, 1200, top, 3120, 315);
        return box;
    };

    FrameSchedules = platform::newFrame(this, QStringLiteral("User Defined Fee Schedules 1-5"), 10080, 120, 4560, 2340);
    platform::newLabel(FrameSchedules, QStringLiteral("User Defined Schedule Headings"), 1200, 300, 3120);
    FrameFrequencies = platform::newFrame(this, QStringLiteral("User Defined Frequencies Freq1 - Freq5"), 10080, 2580, 4560, 2340);
    platform::newLabel(FrameFrequencies, QStringLiteral("User Defined Frequency Headings"), 1200, 300, 3120);
    for (int k = 0; k < 5; ++k) {
        const int top = 600 + k * 330;
        chk(44 + k)->setParent(FrameSchedules);
        place(chk(44 + k), 240, top + 15, 300, 285);
        chk(44 + k)->show();
        platform::newLabel(FrameSchedules, QStringLiteral("S%1").arg(k + 1), 600, top + 30, 480);
        SText.add(k, nameBox(FrameSchedules, QStringLiteral("SText_%1").arg(k), top));
        SText(k)->setToolTip(QStringLiteral("Rename Schedule %1").arg(k + 1));

        chk(49 + k)->setParent(FrameFrequencies);
        place(chk(49 + k), 240, top + 15, 900, 285);
        chk(49 + k)->show();
        FText.add(k, nameBox(FrameFrequencies, QStringLiteral("FText_%1").arg(k), top));
    }

    FrameOptional = platform::newFrame(this, QStringLiteral("User Defined Optional Field"), 10080, 5040, 4560, 780);
    chk(57)->setParent(FrameOptional);
    place(chk(57), 240, 345, 900, 285);
    chk(57)->show();
    OText.add(kFieldNameBox, nameBox(FrameOptional, QStringLiteral("OText_9"), 330));
}

void frmGridSet::makeColourAndPathPanels()
{
    FrameColours = platform::newFrame(this, QStringLiteral("Colors"), 4560, 4440, 5400, 2040);
    platform::newLabel(FrameColours, QStringLiteral("Text"), 240, 300, 2000);
    platform::newLabel(FrameColours, QStringLiteral("Background"), 2520, 300, 2000);
    textColours = new QButtonGroup(this);
    backColours = new QButtonGroup(this);
    auto option = [this](const ColourOption& colour, const QString& name, QButtonGroup* group, int left, int top) {
        auto* o = new QRadioButton(QString::fromUtf8(colour.caption), FrameColours);
        o->setObjectName(name);
        o->setToolTip(QString::fromUtf8(colour.tip));
        place(o, left, top, 2280, 270);
        group->addButton(o);
        return o;
    };
    for (int i = 0; i < 5; ++i) {
        const int top = 560 + i * 280;
        Option1.add(i, option(kTextColours[i], QStringLiteral("Option1_%1").arg(i), textColours, 360, top));
        Option2.add(i, option(kBackColours[i], QStringLiteral("Option2_%1").arg(i), backColours, 2640, top));
    }

    FramePath = platform::newFrame(this, QStringLiteral("Export Path"), 4560, 6600, 5400, 1020);
    auto* path = new QLineEdit(kDefaultPath, FramePath);
    path->setObjectName(QStringLiteral("OText_0"));
    path->setMaxLength(255);
    place(path, 240, 300, 4920, 315);
    OText.add(kPathBox, path);
    Check1 = new QCheckBox(QStringLiteral("Save as default export path"), FramePath);
    Check1->setObjectName(QStringLiteral("Check1"));
    place(Check1, 240, 660, 3000, 285);
    cmdPath = new QPushButton(QStringLiteral("Select Path"), FramePath);
    cmdPath->setObjectName(QStringLiteral("cmdPath"));
    place(cmdPath, 3720, 630, 1440, 345);
}

void frmGridSet::wire()
{
    using namespace platform;
    onClick(Option1, [this](int Index) { Option1_Click(Index); });
    onClick(Option2, [this](int Index) { Option2_Click(Index); });
    onClick(Check1, [this] { Check1_Click(); });
    for (auto [i, box] : OText) {
        onKeyDown(box, [this, i = i](int& KeyCode, int Shift) { OText_KeyDown(i, KeyCode, Shift); });
        onLostFocus(box, [this, i = i] { OText_LostFocus(i); });
    }
    onClick(chk, [this](int Index) { chk_Click(Index); });
    onClick(descchk, [this] { descchk_Click(); });
    for (auto [i, box] : SText)
        onLostFocus(box, [this, i = i] { SText_LostFocus(i); });
    for (auto [i, box] : FText)
        onLostFocus(box, [this, i = i] { FText_LostFocus(i); });
    onClick(cmdPath, [this] { cmdPath_Click(); });
    onClick(cmdApply, [this] { cmdApply_Click(); });
    onClick(cmdDefaults, [this] { cmdDefaults_Click(); });
    onClick(cmdCancel, [this] { cmdCancel_Click(); });
}

frmMain& frmGridSet::main() const
{
    return forms().get<frmMain>();
}

// ---- Opening.

void frmGridSet::Form_Load()
{
    frmMain& m = main();
    setColumnBoxes(db::SessionRow(m.Data3.Recordset()).value(db::SessionRow::COLVS));

    setCaption(g().AppTitle + QStringLiteral(" KELVA Morvex Main Screen Display Settings"));
    forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;
    platform::setText(Label1, m.Combo1->currentText());

    FindDefaultRow();

    platform::resumeNext([this] { TickShownColumns(); });
    platform::resumeNext([this] { TakeGridCaptions(); });
    platform::resumeNext([this, &m] {
        setCheckValue(GDecimal, db::SessionRow(m.Data3.Recordset()).get(db::SessionRow::GDEC) ? 1 : 0);
    });
    platform::resumeNext([this] { SelectStoredColours(); });
    platform::resumeNext([this] { ShowExportPath(); });
}

std::vector<bool> frmGridSet::readColumnList(const dao::Variant& colvs)
{
    std::vector<bool> ticked(kColumnBoxes, false);
    if (colvs.isNull())
        return ticked;
    const QStringList entries = colvs.toString().split(QLatin1Char(','));
    for (int i = 0; i < kColumnBoxes && i < entries.size(); ++i)
        ticked[size_t(i)] = entryIsTrue(entries[i]);
    return ticked;
}

QString frmGridSet::columnList() const
{
    QStringList entries;
    for (auto [i, box] : chk)
        entries << (checkValue(box) == 1 ? QStringLiteral("true") : QStringLiteral("false"));
    return entries.join(QLatin1Char(','));
}

void frmGridSet::setColumnBoxes(const dao::Variant& colvs)
{
    const std::vector<bool> ticked = readColumnList(colvs);
    for (int i = 0; i < kColumnBoxes; ++i)
        setCheckValue(chk(i), ticked[size_t(i)] ? 1 : 0);
}

void frmGridSet::FindDefaultRow()
{
    platform::DataControl& sessions = main().Data3;
    Default1.setDatabase(sessions.Database());
    Default1.setRecordSource(sessions);
    Default1.Refresh();
    // Found by its name: the row need not come first.
    Default1.Recordset().FindFirst(QStringLiteral("Session = ?"), {db::kDefaultSession});
    hasDefaultRow_ = !Default1.Recordset().NoMatch();
}

void frmGridSet::TickShownColumns()
{
    platform::DBGrid* grid = main().dbg;
    for (int i = 0; i <= grid->ColumnCount() - 3 && i < kColumnBoxes; ++i)
        if (grid->Columns(i).Visible())
            setCheckValue(chk(i), 1);
}

void frmGridSet::TakeGridCaptions()
{
    platform::DBGrid* grid = main().dbg;
    for (int k = 0; k < 5; ++k) {
        platform::setText(SText(k), grid->Columns(44 + k).Caption());
        platform::setText(FText(k), grid->Columns(49 + k).Caption());
    }
    platform::setText(OText(kFieldNameBox), grid->Columns(57).Caption());
}

void frmGridSet::SelectStoredColours()
{
    const db::ParmsRow parms(main().Data2.Recordset());
    const qint64 text = parms.get(db::ParmsRow::GCOLOR);
    for (int i = 0; i < 5; ++i)
        if (kTextColours[i].value == text)
            platform::setOptionValue(Option1(i), true);
    const qint64 back = parms.get(db::ParmsRow::bcolor);
    for (int i = 0; i < 5; ++i)
        if (kBackColours[i].value == back)
            platform::setOptionValue(Option2(i), true);
}

void frmGridSet::ShowExportPath()
{
    const QString stored = db::ParmsRow(main().Data2.Recordset()).get(db::ParmsRow::exportpath);
    if (stored == kDefaultPath) {  // a Null one included
        platform::setText(OText(kPathBox), kDefaultPath);
        setCheckValue(Check1, 0);
        return;
    }
    platform::setText(OText(kPathBox), stored);
    setCheckValue(Check1, 1);  // tested, completed and stored again
}

// ---- Colours.

void frmGridSet::Option1_Click(int Index)
{
    PaintMainScreen(kTextColours[Index].value, false);
    StoreColour(db::ParmsRow::GCOLOR, kTextColours[Index].value);
}

void frmGridSet::Option2_Click(int Index)
{
    PaintMainScreen(kBackColours[Index].value, true);
    StoreColour(db::ParmsRow::bcolor, kBackColours[Index].value);
}

void frmGridSet::PaintMainScreen(qint64 colour, bool background)
{
    frmMain& m = main();
    // The DRG grid keeps its colours.
    const std::vector<QWidget*> controls = {
        m.Combo1,   m.Label4,   m.kelvacf, m.Text2(0),  m.Text2(1),  m.Text2(2),          m.dbg,
        m.txt(0),   m.txt(1),   m.Text1(0), m.Text1(1), m.plimlist,  m.cmboCurrentView,   m.DBGrid1,
        m.DBGrid2,  m.DBGrid3,  m.DBGrid4,  m.Combo3};
    for (QWidget* w : controls) {
        if (background)
            platform::setBackColor(w, colour);
        else
            platform::setForeColor(w, colour);
    }
}

void frmGridSet::StoreColour(const db::RowColumn& column, qint32 value)
{
    try {
        db::ParmsRow(main().Data2.Recordset()).store(column, qint64(value));
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
}

// ---- Export folder.

void frmGridSet::Check1_Click()
{
    QLineEdit* path = OText(kPathBox);
    if (checkValue(Check1) != 1) {
        if (!pathKeyUnticking_) {
            platform::SetFocus(path);
            path->selectAll();
        }
        return;
    }
    QString text = path->text();
    if (text.trimmed().isEmpty() || text == kDefaultPath) {
        seam().MsgBox(kNoPathMessage, vbOKOnly);
        setCheckValue(Check1, 0);
        platform::SetFocus(path);
        return;
    }
    // Kept as typed: apostrophes and commas are part of a folder's name.
    if (!text.endsWith(QLatin1Char('/')))
        text += QLatin1Char('/');
    platform::setText(path, text);
    if (!StoreExportPath(text))
        setCheckValue(Check1, 0);
}

bool frmGridSet::StoreExportPath(const QString& path)
{
    // Stored on the main window's live row, which the exports read.
    try {
        db::ParmsRow(main().Data2.Recordset()).store(db::ParmsRow::exportpath, path);
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        return false;
    }
    return true;
}

void frmGridSet::OText_KeyDown(int Index, int&, int)
{
    // Only an edited path needs saving again; the field name has nothing to do with it.
    if (Index != kPathBox || checkValue(Check1) != 1)
        return;
    // The focus is in the box already: selecting the path here would let the key replace it whole.
    pathKeyUnticking_ = true;
    setCheckValue(Check1, 0);
    pathKeyUnticking_ = false;
}

void frmGridSet::cmdPath_Click()
{
    forms().get<frmDialog>().Show(vbModal);
}

// ---- Columns.

void frmGridSet::descchk_Click()
{
    const bool on = checkValue(descchk) == 1;
    chk(5)->setEnabled(on);
    chk(6)->setEnabled(on);
    if (on) {
        if (checkValue(chk(6)) != 1)
            setCheckValue(chk(5), 1);
    } else {
        setCheckValue(chk(5), 0);
        setCheckValue(chk(6), 0);
    }
}

void frmGridSet::chk_Click(int Index)
{
    // One description column at a time while the description is chosen.
    if (checkValue(descchk) != 1 || (Index != 5 && Index != 6))
        return;
    const int other = Index == 5 ? 6 : 5;
    setCheckValue(chk(other), checkValue(chk(Index)) == 1 ? 0 : 1);
}

// ---- Names.

void frmGridSet::CheckName(QLineEdit* box, const QString& message)
{
    // A name of blanks is a name; the empty one and control characters are none.
    if (box->text() >= QStringLiteral(" "))
        return;
    seam().MsgBox(message, vbOKOnly);
    // Given back once the move that took it away has ended.
    QTimer::singleShot(0, box, [box] { platform::guarded([box] { platform::SetFocus(box); }); });
}

void frmGridSet::SText_LostFocus(int Index)
{
    CheckName(SText(Index), QStringLiteral("User defined fee schedule names must be at least 1 character long."));
}

void frmGridSet::FText_LostFocus(int Index)
{
    CheckName(FText(Index), QStringLiteral("User defined frequency names must be at least 1 character long."));
}

void frmGridSet::OText_LostFocus(int Index)
{
    if (Index == kFieldNameBox)
        CheckName(OText(Index), QStringLiteral("User defined field name must be at least 1 character long."));
}

// ---- Buttons.

void frmGridSet::cmdApply_Click()
{
    frmMain& m = main();
    using db::SessionRow;
    SessionRow row(m.Data3.Recordset());
    try {
        // Names, columns and decimals go in together or not at all.
        dao::Transaction t(m.Data3.Database());
        dao::RecordEdit edit(row.recordset());
        for (int k = 0; k < 5; ++k) {
            row.assign(SessionRow::scheduleName(k), SText(k)->text());
            row.assign(SessionRow::frequencyName(k), FText(k)->text());
        }
        row.assign(SessionRow::OPTName, OText(kFieldNameBox)->text());
        row.assign(SessionRow::COLVS, columnList());
        row.assign(SessionRow::GDEC, checkValue(GDecimal) == 1);
        edit.Update();
        t.Commit();
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }
    m.RequestReload(2);
    Close();
}

void frmGridSet::cmdDefaults_Click()
{
    // Without a "Default" row the boxes stay as they are.
    if (hasDefaultRow_)
        setColumnBoxes(db::SessionRow(Default1.Recordset()).value(db::SessionRow::COLVS));
    platform::setText(OText(kPathBox), kDefaultPath);
    StoreExportPath(kDefaultPath);
    seam().MsgBox(kRestoredMessage, vbOKOnly);
}

void frmGridSet::cmdCancel_Click()
{
    Close();
}

void frmGridSet::Close()
{
    platform::BusyCursor busy;
    Hide();
    main().update();
    Unload();
}

KELVA_FORM_NAME(frmGridSet)
