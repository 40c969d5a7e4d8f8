#include "main/frmMain.h"

#include "app/buildinfo.h"
#include "app/endprogram.h"
#include "app/frmExpireMsg.h"
#include "app/frmSplash.h"
#include "app/globals.h"
#include "app/modules.h"
#include "app/singleinstance.h"
#include "main/frmPlimView.h"
#include "main/menudata.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/WheelFilter.h"
#include "platform/controls/colours.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include "app/FirstTime.h"
#include "db/parmsrow.h"
#include "db/sessions.h"

#include <QDate>
#include <QFileInfo>
#include <QPointer>
#include <QVBoxLayout>

using platform::place;
using platform::SetBusyCursor;

namespace {

constexpr const char* kNewSession = "< - Make New Session - >";

QLabel* caption(QWidget* parent, const QString& text, int left, int top, int width, int height)
{
    auto* l = new QLabel(text, parent);
    place(l, left, top, width, height);
    return l;
}

QLineEdit* textBox(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    return platform::newControl<QLineEdit>(parent, QString::fromLatin1(name), left, top, width, height);
}

QComboBox* comboBox(QWidget* parent, const char* name, int left, int top, int width, bool editable)
{
    auto* cb = platform::newControl<QComboBox>(parent, QString::fromLatin1(name), left, top, width, 315);
    cb->setEditable(editable);
    cb->setInsertPolicy(QComboBox::NoInsert);
    return cb;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    return platform::newControl<QPushButton>(parent, QString::fromLatin1(name), left, top, width, height, text);
}

}  // namespace

frmMain::frmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    makeMenus();
    layout->setMenuBar(menuBar);
    makeToolbar();
    layout->addWidget(Toolbar1);
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    platform::useDesignFont(client);
    layout->addWidget(client, 1);

    for (DataControl* d : {&Data1, &Data2, &Data3, &Data5, &Data6, &Data7, &Data8, &Data9, &Data10, &Data11,
                           &Data12, &Data13, &Default1}) {
        d->setConnect(QStringLiteral("Access 2000;"));
        d->setDatabaseName(QStringLiteral("kelva.mdb"));
    }
    Data4.setConnect(QStringLiteral("Access 2000;"));
    Data2.setRecordSource(QStringLiteral("PARMS_CL"));
    Data3.setRecordSource(QStringLiteral("SESSIONS"));
    Data12.setRecordSource(QStringLiteral("crosswalk"));
    Data13.setRecordSource(QStringLiteral("ASC"));

    makeTopPanel();

    dbg = new DBGrid(client);
    dbg->setObjectName(QStringLiteral("dbg"));
    place(dbg, 120, 1800, 11400, 4100);
    dbg->setDataSource(&Data1);
    dbg->setAllowUpdate(true);
    dbg->setAllowAddNew(false);
    dbg->setAllowDelete(false);
    dbg->setHeadLines(2);  // the fee captions ("Fac Non Par Fee") take two heading lines
    const std::pair<DBGrid**, const char*> family[] = {
        {&DBGrid1, "DBGrid1"}, {&DBGrid2, "DBGrid2"}, {&DBGrid3, "DBGrid3"}, {&DBGrid4, "DBGrid4"}, {&DBGrid5, "DBGrid5"}};
    for (auto [grid, name] : family) {
        *grid = new DBGrid(client);
        (*grid)->setObjectName(QString::fromLatin1(name));
        place(*grid, 120, 1800, 11400, 4100);
        (*grid)->hide();
    }
    DBGrid1->setDataSource(&Data5);
    DBGrid2->setDataSource(&Data6);
    DBGrid3->setDataSource(&Data7);
    DBGrid4->setDataSource(&Data13);
    DBGrid5->setDataSource(&Data9);
    const QStringList dmeColumns = {"TAG", "HCPCS", "Mod", "Mod2", "JURIS", "CATG", "Ceiling", "Floor", "STATE",
                                    "Description"};
    const QStringList labColumns = {"TAG", "HCPCS", "Mod", "NationalLimit", "MidPoint", "labfloor", "STATE",
                                    "Description", "CODEMOD"};
    const QStringList ascColumns = {"tag", "code", "desc", "mult", "comment", "pay_ind", "skip1", "weight",
                                    "ASCPAYRATE", "trans_payment"};
    const QStringList drgColumns = {"TAG", "DRG", "MDC", "DRGTYPE", "IND", "DESC", "GMLOS", "AMLOS", "ARW",
                                    "DRG Rate"};
    for (const QString& f : dmeColumns)
        DBGrid1->addColumn(f, f);
    for (const QString& f : labColumns)
        DBGrid2->addColumn(f, f);
    for (const QString& f : ascColumns)
        DBGrid4->addColumn(f, f);
    for (const QString& f : drgColumns)
        DBGrid5->addColumn(f, f);

    dbgscroll = new ScrollBar(Qt::Vertical, client);
    dbgscroll->setObjectName(QStringLiteral("dbgscroll"));
    place(dbgscroll, 11280, 1800, 255, 4100);
    dbgscroll->setMin(0);
    dbgscroll->setMax(0);
    dbgscroll->setSmallChange(1);

    makeDetailPanel();
    makeFamilyPanels();

    setCaption(QStringLiteral("KELVA Morvex"));
    resize(platform::tw(12000 - kFrameWidthTwips), platform::tw(9000 - kFrameHeightTwips));
    wire();
}

frmMain::~frmMain() = default;

void frmMain::makeMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("mnumain"));
    menuBar->setNativeMenuBar(false);
    auto addTop = [this](int index, const QString& text) {
        QMenu* m = menuBar->addMenu(text);
        mnumainMenu.add(index, m);
        mnumain.add(index, m->menuAction());
        return m;
    };
    auto addItems = [](QMenu* menu, ControlArray<QAction>& array, const QStringList& items, int first = 0) {
        for (int i = 0; i < items.size(); ++i) {
            QAction* a = items[i] == QLatin1String("-") ? menu->addSeparator() : menu->addAction(items[i]);
            array.add(first + i, a);
        }
    };

    QMenu* file = addTop(0, QStringLiteral("&File"));
    addItems(file, mnufile,
             {"Import User Defined Fees (S1-S5)", "Import User Defined Frequencies (Freq1 - Freq5)",
              "Update S1-S5 and Freq1-Freq5 from a Prior Year's version of KELVA Morvex", "-"});
    mnuFileExportMenu = file->addMenu(QStringLiteral("Export"));
    mnufile.add(4, mnuFileExportMenu->menuAction());
    addItems(mnuFileExportMenu, mnuFileExport,
             {"Export Session", "DMEPOS Codes", "Lab Fees", "J-Codes", "ASC Codes", "DRG Codes", "Localities",
              "Zip Codes", "OPPS Export"});
    mnufile.add(5, file->addAction(QStringLiteral("Delete / Rename Session")));
    mnuFileWizardMenu = file->addMenu(QStringLiteral("National Access Table Export Wizard"));
    mnufile.add(6, mnuFileWizardMenu->menuAction());
    mnu_WizExport = mnuFileWizardMenu->addAction(QStringLiteral("Table Export Wizard"));
    mnuExportWizBeta = mnuFileWizardMenu->addAction(QStringLiteral("Table Export Wizard (Beta)"));
    mnu_KELVAExportUtility = mnuFileWizardMenu->addAction(QStringLiteral("KELVA Lookup Utility"));
    addItems(file, mnufile, {"WLT Export Wizard", "Zuzizavoz Export Wizard", "-", "Backup/Restore", "-", "Exit"}, 7);

    QMenu* edit = addTop(1, QStringLiteral("&Edit"));
    addItems(edit, mnuEdit, {"&Find (key word or code)", "-", "Toggle View Tagged Only"});

    QMenu* settings = addTop(2, QStringLiteral("&Settings"));
    addItems(settings, mnuSettings,
             {"Main Grid and Screen Settings", "KELVA Settings", "-", "Code Tagging", "Clear All Tagged Items"});
    mnuSaveTagList = settings->addAction(QStringLiteral("Save/Load Tagged List"));

    QMenu* reports = addTop(3, QStringLiteral("&Reports"));
    QStringList reportItems = menudata::preselectedReportCaptions();
    reportItems << "-" << "Custom Fee Reports" << "-" << "Utilization/Frequency Analysis Reports";
    addItems(reports, mnuReports, reportItems);

    QMenu* special = addTop(4, QStringLiteral("F&eatures"));
    addItems(special, mnuSpecial, {"Utilization/Frequency Analysis", "Fee Manager"});

    QMenu* references = addTop(5, QStringLiteral("Re&ferences"));
    addItems(references, mnuReferences,
             {"Medicare Carriers", "State Insurance Commisioners", "State License Departments",
              "State Workers Compensation"});

    QAction* fedreg = menuBar->addAction(QStringLiteral("&Federal Register"));
    mnumain.add(6, fedreg);

    QMenu* help = addTop(8, QStringLiteral("&Help"));
    addItems(help, mnuhelp, {"Help Topics", "Help Index", "Ordering Updates", "Disclaimer"});
    mnuUpgradesMenu = help->addMenu(QStringLiteral("&Upgrades"));
    mnuhelp.add(4, mnuUpgradesMenu->menuAction());
    mnuupgrades.add(1, mnuUpgradesMenu->addAction(QStringLiteral("Data Upgrade")));
    mnuupgrades.add(2, mnuUpgradesMenu->addAction(QStringLiteral("Gap Code Update")));
    mnuhelp.add(5, help->addAction(QStringLiteral("About")));
    mnuhelp(1)->setVisible(false);

    // Enabled by the start-up once the views are filled in.
    for (QAction* a : {mnufile(6), mnufile(7), mnufile(8), mnuFileExport(6), mnuFileExport(7), mnu_KELVAExportUtility,
                       mnuupgrades(1), mnuupgrades(2)})
        a->setEnabled(false);
}

void frmMain::makeToolbar()
{
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Toolbar1->setMovable(false);
    const QStringList captions = {"Display", "KELVA", "View Tagged", "Tag/Filter", "Find/Search", "Fee Manager",
                                  "Utilization", "Reports"};
    for (int i = 0; i < captions.size(); ++i)
        Toolbar1Buttons.add(i + 1, Toolbar1->addAction(captions[i]));
}

QString frmMain::ViewTaggedCaption() const
{
    return Toolbar1Buttons(3)->text();
}

void frmMain::setViewTaggedCaption(const QString& caption)
{
    Toolbar1Buttons(3)->setText(caption);
}

void frmMain::makeTopPanel()
{
    Frame1 = new QGroupBox(client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, 120, 0, 9300, 1700);

    cmboCurrentView = comboBox(Frame1, "cmboCurrentView", 120, 180, 2400, false);
    platform::addItem(cmboCurrentView, QStringLiteral("KELVA"));
    // The column right of the code box is wide enough for the longest fee kind ("Non Facility Participating Fee").
    Command2 = button(Frame1, "Command2", QStringLiteral("KELVA Floating Window"), 2640, 180, 2640, 315);
    Combo1 = comboBox(Frame1, "Combo1", 120, 560, 5160, false);
    Text1.add(0, textBox(Frame1, "Text1_0", 120, 940, 1200, 315));
    Command3 = button(Frame1, "Command3", QStringLiteral("Locate Code"), 1380, 940, 1140, 315);
    plimlist = comboBox(Frame1, "plimlist", 2640, 940, 2640, false);
    plimscroll = platform::newControl<ScrollBar>(Frame1, "plimscroll", 120, 1320, 2400, 255, Qt::Horizontal);
    plimscroll->setMin(0);
    plimscroll->setMax(0);
    plimscroll->setSmallChange(1);
    plimscroll->setLargeChange(1);
    Text1.add(1, textBox(Frame1, "Text1_1", 2640, 1300, 2640, 315));
    Text1(1)->setReadOnly(true);
    QFont codeFont = Text1(0)->font();
    codeFont.setBold(true);
    Text1(0)->setFont(codeFont);
    Text1(1)->setFont(codeFont);
    // The recent-codes list lies over the code box, hidden until the code box opens it.
    cmbNewCodes = comboBox(Frame1, "cmbNewCodes", 120, 940, 1200, true);
    cmbNewCodes->hide();

    // The family views' controls share the places of the session list and the code panel.
    Combo3 = comboBox(Frame1, "Combo3", 120, 560, 1200, true);
    Combo3->hide();
    Combo4 = comboBox(Frame1, "Combo4", 120, 560, 1500, true);
    Combo4->hide();
    ASCcmboDropDown = comboBox(Frame1, "ASCcmboDropDown", 120, 560, 3000, false);
    ASCcmboDropDown->hide();
    ascwr = textBox(Frame1, "ascwr", 3240, 560, 900, 315);
    ascwr->hide();
    ASCtxtuserdefined = textBox(Frame1, "ASCtxtuserdefined", 4200, 560, 840, 315);
    ASCtxtuserdefined->hide();
    ASClblUserdefined = caption(Frame1, QStringLiteral("User defined:"), 3240, 200, 1500, 255);
    ASClblUserdefined->hide();
    Command4 = button(Frame1, "Command4", QStringLiteral("Find"), 1380, 940, 1140, 315);
    Command4->hide();
    Command5 = button(Frame1, "Command5", QStringLiteral("NDC Cross Walk"), 2640, 560, 1800, 315);
    Command5->hide();

    Frame4 = new QGroupBox(QStringLiteral("KELVA Settings"), Frame1);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    place(Frame4, 5400, 60, 5745, 1580);
    caption(Frame4, QStringLiteral("CF:"), 120, 320, 400, 255);
    kelvacf = textBox(Frame4, "kelvacf", 540, 280, 1000, 315);
    cfadjust = textBox(Frame4, "cfadjust", 1620, 280, 900, 315);
    cfadjust->hide();
    const struct {
        const char* caption;
        int left, captionWidth;
    } gpcis[] = {{"Work:", 120, 600}, {"Practice:", 1500, 780}, {"Malpractice:", 3060, 1020}};
    for (int i = 0; i < 3; ++i) {
        caption(Frame4, QString::fromLatin1(gpcis[i].caption), gpcis[i].left, 720, gpcis[i].captionWidth, 255);
        Text2.add(i, textBox(Frame4, "", gpcis[i].left + gpcis[i].captionWidth, 680, 660, 315));
        Text2(i)->setObjectName(QStringLiteral("Text2_%1").arg(i));
    }
    for (QLineEdit* t : {kelvacf, Text2(0), Text2(1), Text2(2)})
        t->setReadOnly(true);
    Label4 = caption(Frame4, QStringLiteral("Geographic Location"), 120, 1120, 5500, 315);
    Label4->setObjectName(QStringLiteral("Label4"));

    Check1 = new QCheckBox(client);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->hide();
    setchk = textBox(client, "setchk", 0, 0, 300, 300);
    setchk->hide();
    work = textBox(client, "work", 0, 0, 300, 300);
    work->hide();
}

void frmMain::makeDetailPanel()
{
    CodeDetailFrame = new QGroupBox(QStringLiteral("Code Detail"), client);
    CodeDetailFrame->setObjectName(QStringLiteral("CodeDetailFrame"));
    place(CodeDetailFrame, 120, 5950, 3105, 1550);

    auto detailCaption = [this](int index, const QString& text, int left, int top, int width = 1600) {
        QLabel* l = caption(CodeDetailFrame, text, left, top, width, 210);
        l->setObjectName(QStringLiteral("lbldetail_%1").arg(index));
        lbldetail.add(index, l);
        return l;
    };
    auto valueLabel = [this](ControlArray<BoundLabel>& array, const char* prefix, int index, const char* field,
                             int left, int top, QWidget* parent) {
        auto* l = new BoundLabel(parent);
        l->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(prefix)).arg(index));
        place(l, left, top, 570, 210);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, p.color(QPalette::Highlight));
        l->setPalette(p);
        if (field)
            l->setBinding(&Data1, QString::fromLatin1(field));
        array.add(index, l);
        return l;
    };

    QLabel* oppsCap = detailCaption(17, QStringLiteral("OPPS Cap :"), 360, 275);
    oppsCap->setEnabled(false);
    valueLabel(lblData, "lblData", 1, "Opps_Cap_Ind", 1680, 275, CodeDetailFrame);
    detailCaption(20, QStringLiteral("NF Participating Fee:"), 345, 495);
    valueLabel(lblData, "lblData", 19, nullptr, 1905, 480, CodeDetailFrame);
    detailCaption(21, QStringLiteral("Fac Participating Fee:"), 345, 720);
    valueLabel(lblData, "lblData", 20, nullptr, 1900, 720, CodeDetailFrame);
    for (int i : {1, 19, 20})
        platform::setForeColor(lblData(i), platform::RGB(192, 0, 0));
    for (int i : {17, 20, 21})
        platform::setForeColor(lbldetail(i), i == 17 ? platform::RGB(192, 0, 0) : platform::RGB(128, 128, 128));

    Command66 = button(CodeDetailFrame, "Command66", QStringLiteral("Details on OPPS"), 340, 1000, 1455, 275);
    Command66->setEnabled(false);
    btnHelp = button(CodeDetailFrame, "btnHelp", QStringLiteral("Help"), 2340, 100, 645, 315);
    btnMore = button(CodeDetailFrame, "btnMore", QStringLiteral("More >>"), 2205, 1200, 795, 315);

    struct Indicator {
        const char* caption;
        int index;
        const char* field;
        int captionLeft, captionTop, valueLeft, valueTop;
    };
    const Indicator indicators[] = {
        {"Status Code:", 0, "STATUS", 3120, 285, 4725, 285},
        {"NF NA Indicator:", 2, "NAIND", 3135, 720, 4725, 720},
        {"Multiple Procedure:", 7, "MULTPROC", 3135, 930, 4725, 930},
        {"Bilateral Surgery:", 6, "BILATSURG", 3135, 1140, 4725, 1140},
        {"Assistant At Surgery:", 5, "ASSTSURG", 5790, 285, 7755, 285},
        {"Co-surgeons:", 14, "COSURG", 5790, 495, 7755, 495},
        {"Pre-operative %:", 4, "PREOP", 5775, 720, 7755, 720},
        {"Interoperative %:", 9, "INTRAOP", 5775, 930, 7755, 930},
        {"Postoperative %:", 8, "POSTOP", 5775, 1140, 7755, 1140},
        {"Team Surgery:", 13, "TEAMSURG", 8520, 285, 10395, 285},
        {"Physician Supervision:", 12, "PHYSSUPV", 8520, 495, 10395, 495},
        {"Endoscopic Base:", 16, "ENDOBASE", 8520, 720, 10395, 705},
        {"F NA Indicator:", 15, "NAFIND", 8520, 930, 10395, 930},
        {"PC/TC:", 3, "PCTCIND", 8520, 1140, 10395, 1140},
    };
    for (const Indicator& ind : indicators) {
        detailCaption(ind.index, QString::fromLatin1(ind.caption), ind.captionLeft, ind.captionTop,
                      ind.valueLeft - ind.captionLeft - 15);
        valueLabel(lblData, "lblData", ind.index, ind.field, ind.valueLeft, ind.valueTop, CodeDetailFrame);
    }
    detailCaption(1, QStringLiteral("Not Used:"), 3135, 495);
    valueLabel(c, "c", 1, "NOTUSEDIND", 4725, 495, CodeDetailFrame);

    FrameBillable = new QGroupBox(client);
    FrameBillable->setObjectName(QStringLiteral("FrameBillable"));
    place(FrameBillable, 0, 0, 3000, 700);
    FrameBillable->hide();
    lbldetail.add(10, caption(FrameBillable, QStringLiteral("Billable Medical Code:"), 120, 200, 1800, 210));
    valueLabel(lblData, "lblData", 10, "BMCODE", 2000, 200, FrameBillable);
    lbldetail.add(11, caption(FrameBillable, QStringLiteral("Billable Medical Supplies:"), 120, 420, 1800, 210));
    valueLabel(lblData, "lblData", 11, "BMIND", 2000, 420, FrameBillable);

    AscCodeDetail = new QGroupBox(QStringLiteral("Code Detail"), client);
    AscCodeDetail->setObjectName(QStringLiteral("AscCodeDetail"));
    place(AscCodeDetail, 120, 5950, 3105, 1550);
    AscCodeDetail->hide();
    caption(AscCodeDetail, QStringLiteral("Status:"), 120, 285, 1500, 210);
    valueLabel(lblData, "lblData", 18, nullptr, 1700, 285, AscCodeDetail);
    caption(AscCodeDetail, QStringLiteral("Subject to DRA CAP:"), 120, 495, 1500, 210);
    valueLabel(lblData, "lblData", 17, nullptr, 1700, 495, AscCodeDetail);
    valueLabel(c, "c", 0, nullptr, 1700, 705, AscCodeDetail)->hide();

    lbl.add(10, caption(client, QStringLiteral("Long Desc:"), 3270, 6150, 840, 255));
    lbl.add(11, caption(client, QStringLiteral("Notes:"), 3270, 6850, 840, 255));
    for (int i : {10, 11}) {
        lbl(i)->setObjectName(QStringLiteral("lbl_%1").arg(i));
        auto* t = new BoundTextBox(client);
        t->setObjectName(QStringLiteral("txt_%1").arg(i - 10));
        place(t, 4105, i == 10 ? 6100 : 6800, 7500, 550);
        txt.add(i - 10, t);
    }
    txt(1)->setBinding(&Data1, QStringLiteral("NOTES"));
    Label5 = caption(client, QString(), 4105, 7360, 7500, 255);
    Label5->setObjectName(QStringLiteral("Label5"));

    Frame8 = new QGroupBox(client);
    Frame8->setObjectName(QStringLiteral("Frame8"));
    place(Frame8, 120, 5850, 10000, 1500);
    Frame8->hide();
}

void frmMain::wire()
{
    using namespace platform;
    // Menus: one procedure per array, given the item's index; opening a menu of the bar is its click.
    for (auto [i, m] : mnumainMenu)
        onOpen(m, [this, i = i] { mnumain_Click(i); });
    onClick(mnumain(6), [this] { mnumain_Click(6); });
    // Opening a submenu is the click of its own item.
    onOpen(mnuFileExportMenu, [this] { mnufile_Click(4); });
    onOpen(mnuFileWizardMenu, [this] { mnufile_Click(6); });
    onOpen(mnuUpgradesMenu, [this] { mnuhelp_Click(4); });
    onClick(mnufile, [this](int Index) { mnufile_Click(Index); });
    onClick(mnuFileExport, [this](int Index) { mnuFileExport_Click(Index); });
    onClick(mnuEdit, [this](int Index) { mnuEdit_Click(Index); });
    onClick(mnuSettings, [this](int Index) { mnuSettings_Click(Index); });
    onClick(mnuReports, [this](int Index) { mnuReports_Click(Index); });
    onClick(mnuSpecial, [this](int Index) { mnuSpecial_Click(Index); });
    onClick(mnuReferences, [this](int Index) { mnuReferences_Click(Index); });
    onClick(mnuhelp, [this](int Index) { mnuhelp_Click(Index); });
    onClick(mnuupgrades, [this](int Index) { mnuupgrades_Click(Index); });
    onClick(mnu_WizExport, [this] { mnu_WizExport_Click(); });
    onClick(mnuExportWizBeta, [this] { mnuExportWizBeta_Click(); });
    onClick(mnu_KELVAExportUtility, [this] { mnu_KELVAExportUtility_Click(); });
    onClick(mnuSaveTagList, [this] { mnuSaveTagList_Click(); });
    for (auto [i, button] : Toolbar1Buttons)
        onClick(button, [this, button = button] { Toolbar1_ButtonClick(button); });

    // Session panel and views.
    onClick(Combo1, [this] { Combo1_Click(); });
    onClick(cmboCurrentView, [this] { cmboCurrentView_Click(); });
    onClick(Check1, [this] { Check1_Click(); });

    // Code panel.
    onClick(plimlist, [this] { plimlist_Click(); });
    onGotFocus(plimlist, [this] { plimlist_GotFocus(); });
    onLostFocus(plimlist, [this] { plimlist_LostFocus(); });
    onChange(plimscroll, [this](bool byUser) { plimscroll_Change(byUser); });
    onGotFocus(plimscroll, [this] { plimscroll_GotFocus(); });
    onLostFocus(plimscroll, [this] { plimscroll_LostFocus(); });
    for (auto [i, t] : Text1) {
        onChange(t, [this, i = i] { Text1_Change(i); });
        onKeyDown(t, [this, i = i](int& KeyCode, int Shift) { Text1_KeyDown(i, KeyCode, Shift); });
        onLostFocus(t, [this, i = i] { Text1_LostFocus(i); });
        onDblClick(t, [this, i = i] { Text1_DblClick(i); });
    }
    onClick(Command2, [this] { Command2_Click(); });
    onClick(Command3, [this] { Command3_Click(); });

    // Main grid and its scroll bar.
    onRowColChange(dbg, [this](qint64 LastRow, int LastCol) { dbg_RowColChange(LastRow, LastCol); });
    onDblClick(dbg, [this] { dbg_DblClick(); });
    onMouseDown(dbg, [this](int Button, int Shift, double X, double Y) { dbg_MouseDown(Button, Shift, X, Y); });
    onMouseUp(dbg, [this](int Button, int Shift, double X, double Y) { dbg_MouseUp(Button, Shift, X, Y); });
    onKeyDown(dbg, [this](int& KeyCode, int Shift) { dbg_KeyDown(KeyCode, Shift); });
    onKeyPress(dbg, [this](int& KeyAscii) { dbg_KeyPress(KeyAscii); });
    onChange(dbg, [this] { dbg_Change(); });
    onAfterColUpdate(dbg, [this](int ColIndex) { dbg_AfterColUpdate(ColIndex); });
    onHeadClick(dbg, [this](int ColIndex) { dbg_HeadClick(ColIndex); });
    onError(dbg, [this](int DataError, int& Response) { dbg_Error(DataError, Response); });
    onGotFocus(dbg, [this] { dbg_GotFocus(); });
    onReposition(Data1, [this] { Data1_Reposition(); });
    onChange(dbgscroll, [this](bool byUser) { dbgscroll_Change(byUser); });
    onGotFocus(dbgscroll, [this] { dbgscroll_GotFocus(); });
    onLostFocus(dbgscroll, [this] { dbgscroll_LostFocus(); });

    // Family grids and their data controls.
    wireFamilyGrids();

    // Code detail panel.
    onClick(btnMore, [this] { btnMore_Click(); });
    onClick(btnHelp, [this] { btnHelp_Click(); });
    onClick(Command66, [this] { Command66_Click(); });
    for (auto [i, t] : txt)
        onChange(t, [this, i = i] { txt_Change(i); });
    for (auto [i, l] : lblData)
        onChange(l, [this, i = i] { lblData_Change(i); });

    wireCodeBox();
}

// ---- Start-up and shut-down.

void frmMain::Form_Initialize()
{
    instance_ = claimProgramFolder(g().ProgramFolder);
}

void frmMain::Form_Load()
{
    if (programEnded())
        return;

    // Up to the session's values a failure is the platform's to report, and the program ends.
    PrepareRunValues();
    OpenMainDatabase();
    if (!AgreementAndFirstRun())
        return;
    EnableViewsAndMenus();
    ShowDatedNotices();
    if (programEnded())
        return;
    platform::setComboText(Combo3, Parms().get(db::ParmsRow::DMESTATE));
    FillSessionList();
    SettleOnCurrentSession();
    g().CurSesTab = CurrentSession().get(db::SessionRow::SESTAB);
    ApplyTextColours();
    platform::resumeNext([this] { CopyCodeBoxFont(); });
    ApplyBackColours();

    // From here a failure is shown and ends the start-up; the window stays open with what was done, so that
    // the user can switch or repair the session or end the program.
    try {
        FillMainGrid();
        PrepareFamilyViews();
    } catch (const dao::Error& e) {
        StartupFailed(e.description);
        return;
    } catch (const std::exception& e) {
        StartupFailed(QString::fromUtf8(e.what()));
        return;
    }

    // The last touches: a failing one is skipped.
    platform::resumeNext([this] { Data1.Recordset().MoveFirst(); });
    Label5->setText(QStringLiteral("Medicare fees of the session's locality, data year 20") + g().YearSuffix +
                    QStringLiteral("."));
    WorkAdjusterWarning();
}

db::ParmsRow frmMain::Parms()
{
    return db::ParmsRow(Data2.Recordset());
}

db::SessionRow frmMain::CurrentSession()
{
    return db::SessionRow(Data3.Recordset());
}

void frmMain::PrepareRunValues()
{
    g().GridHadFocus = 0;
    g().SkipOtherTables = 0;
    // The screen font comes with the program when its folder holds one.
    const QString font = programPath(QStringLiteral("SSERIFE.FON"));
    if (QFileInfo::exists(font))
        InstallFont(font);
    if (!OldGridProc)
        OldGridProc = InstallGridWheel(*dbg);
    FirstGridRowChange = 1;
    g().YearSuffix = QStringLiteral("14");
    g().DbConnect = QStringLiteral(";PWD=") + databasePassword();
    g().WorkAdjuster = 1.0;
}

void frmMain::OpenMainDatabase()
{
    g().MainDb = dao::OpenDatabase(programPath(QStringLiteral("kelva.mdb")), false, false, g().DbConnect);
    // The data controls name the file without its password; they share the open main database.
    for (DataControl* d : {&Data1, &Data2, &Data3, &Data5, &Data6, &Data7, &Data8, &Data9, &Data10, &Data11,
                           &Data12, &Data13, &Default1})
        d->setDatabase(g().MainDb);
    platform::setText(setchk, QStringLiteral("0"));
    Data2.Refresh();
    Data2.Recordset().MoveLast();
    Data2.Recordset().MoveFirst();
    g().ReportDbConnect = QStringLiteral(";DATABASE=") + programPath(QStringLiteral("kelva.mdb")) +
                          QStringLiteral(";PWD=") + databasePassword() + QStringLiteral(";");
    g().ReportDbName = programPath(QStringLiteral("kelva.mdb"));
}

bool frmMain::AgreementAndFirstRun()
{
    if (Parms().get(db::ParmsRow::SHOW_DISC)) {
        frmSplash& splash = forms().get<frmSplash>();
        if (programEnded())
            return false;
        splash.Show(vbModal);
        if (programEnded())
            return false;
    }
    const bool firstRun = Parms().get(db::ParmsRow::CreateTables) == 0;
    if (firstRun)
        ResetDefaultColumnLayout();
    g().AppTitle = QStringLiteral("KELVA Morvex\u00AE 2014 ");
    setCaption(g().AppTitle);
    if (firstRun) {
        forms().get<FirstTime>().Show(vbModal);
        if (programEnded())
            return false;
        forms().unloadIfLoaded<FirstTime>();
        SetBusyCursor(11);
        setWindowState(vbMaximized);
    }
    return true;
}

void frmMain::ShowDatedNotices()
{
    const QDate today = seam().Now().date();
    if (today >= QDate(2014, 11, 1) && today <= QDate(2015, 1, 1)) {
        frmExpireMsg& notice = forms().get<frmExpireMsg>();
        notice.Label2->setText(
            QStringLiteral("KELVA Morvex Update Notification - Medicare KELVA Fee Information contained in this "
                           "software is typically updated in November for the proceeding fiscal year.  Call KELVA "
                           "Morvex at ") +
            supportPhone() + QStringLiteral(" for upgrade information."));
        notice.Show(vbModal);
        if (programEnded())
            return;
    }
    const dao::Variant expmsg = Parms().value(db::ParmsRow::EXPMSG);
    if (!expmsg.isNull() && expmsg.isNumeric() && expmsg.toDouble() < 2 && today > QDate(2015, 1, 1))
        forms().get<frmExpireMsg>().Show(vbModal);
}

void frmMain::FillSessionList()
{
    Data3.Refresh();
    auto& sessions = Data3.Recordset();
    sessions.MoveLast();
    sessions.MoveFirst();
    QStringList names{QString::fromLatin1(kNewSession)};
    for (; !sessions.EOF(); sessions.MoveNext()) {
        const QString name = CurrentSession().get(db::SessionRow::Session);
        if (name != db::kDefaultSession)
            names << name;
    }
    platform::fillList(Combo1, names);
}

void frmMain::SettleOnCurrentSession()
{
    auto& sessions = Data3.Recordset();
    db::ParmsRow parms = Parms();
    const dao::Variant curses = parms.value(db::ParmsRow::CURSES);
    sessions.MoveFirst();
    while (!sessions.EOF()) {
        if (!curses.isNull() && CurrentSession().get(db::SessionRow::Session) == curses.toString())
            return;
        sessions.MoveNext();
    }
    // CURSES names no session: the first one other than "Default" becomes current, and is stored at once.
    sessions.MoveFirst();
    if (CurrentSession().get(db::SessionRow::Session) == db::kDefaultSession)
        sessions.MoveNext();
    parms.store(db::ParmsRow::CURSES, CurrentSession().value(db::SessionRow::Session));
}

void frmMain::FillMainGrid()
{
    SetBusyCursor(11);
    LoadSessionSettings();
    ViewAllRecs();
    Recolumnize();
    SetBusyCursor(11);
    dbg->Refresh();
    if (!isVisible()) {
        SetBusyCursor(11);
        ShowMainWindow();
        dbg->Refresh();
    }
    SetScheduleCaptions();
    FillFeeChoiceList();
    SetBusyCursor(0);
    // The grid has its columns once the fee query has run.
    if (dbg->ColumnCount() > 1 && dbg->currentRow() >= 0)
        strCurrentCpt = dbg->Columns(1).Text();
}

void frmMain::PrepareFamilyViews()
{
    platform::setListIndex(cmboCurrentView, 0);
    SetFamilyRecordSources();
    BuildStateLists();
}

void frmMain::ShowMainWindow()
{
    forms().unloadIfLoaded<frmSplash>();
    Show();
}

void frmMain::StartupFailed(const QString& description)
{
    seam().MsgBox(description, vbOKOnly, g().AppTitle);
    // The start-up's busy work is over: the window is the user's to switch or repair the session, or to end
    // the program.
    while (platform::busyCount() > 0)
        SetBusyCursor(0);
    if (!isVisible())
        ShowMainWindow();
}

void frmMain::WorkAdjusterWarning()
{
    dao::Variant useAdj;
    if (!platform::resumeNext([&] { useAdj = CurrentSession().value(db::SessionRow::CURUSEADJ); }))
        return;
    if (useAdj.isNull() || useAdj.toBool())
        return;
    const int answer = seam().MsgBox(
        QStringLiteral("Note: The required .8806 work adjuster setting was left unchecked from the last session of "
                       "KELVA Morvex.  For accurate Medicare fee schedules,") +
            QStringLiteral(" this setting must be enabled. Select YES to reset this default on. Select NO to "
                           "continue this KELVA Morvex session without the work adjuster.") +
            QStringLiteral(" If you are uncertain on how to answer this question, we recommend selecting YES."),
        vbYesNo, QStringLiteral("Work Adjuster Setting Warning"));
    if (answer != vbYes)
        return;
    platform::resumeNext([this] { CurrentSession().store(db::SessionRow::CURUSEADJ, true); });
    platform::resumeNext([this] { ViewAllRecs(); });
    platform::resumeNext([this] { Recolumnize(); });
}

void frmMain::Form_QueryUnload(int&, int)
{
    // Closing the main window closes every window; it is never cancelled.
    auto unloadByName = [](const QString& name) {
        for (platform::Form* f : forms().loaded())
            if (f->objectName() == name)
                forms().Unload(*f);
    };
    unloadByName(QStringLiteral("frmSchedules"));
    if (g().PlimViewActive == -1)
        forms().unloadIfLoaded<frmPlimView>();
    for (platform::Form* f : forms().loaded()) {
        QPointer<platform::Form> form = f;
        if (form && form != this && form->isLoaded() && !form->isUnloading())
            forms().Unload(*form);
    }
}

void frmMain::Form_Unload(int&)
{
    for (platform::Form* f : forms().loaded()) {
        QPointer<platform::Form> form = f;
        if (form && form != this && form->isLoaded() && !form->isUnloading())
            forms().Unload(*form);
    }
    EndProgram(0);
}

void frmMain::Form_Resize()
{
    // Before the window is first shown (the first run maximises it early) the start-up lays it out itself.
    if (WindowState() == vbMinimized || !isVisible())
        return;
    if (g().PlimViewActive == -1) {
        forms().unloadIfLoaded<frmPlimView>();
        g().PlimViewActive = 0;
    }
    if (WindowState() == vbNormal) {
        if (Width() <= 9600)
            setWidth(9600);
        if (Height() <= 5800)
            setHeight(5800);
    }
    if (g().SkipRecolumnize != 0) {
        g().SkipRecolumnize = 0;
    } else {
        Recolumnize();
        FormatJCodeGrid();
    }
    update();
}

KELVA_FORM_NAME(frmMain)
