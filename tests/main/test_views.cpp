#include "MainWindowTest.h"

#include "db/feequery.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/controls.h"

#include <QSignalBlocker>
#include <functional>

namespace {

enum { Kelva, KelvaOpps, Dmepos, LabFees, JCodes, AscCodes, DrgCodes };

// The started program on a completed first run ("Sample", Manhattan, DATA0001).
class ViewsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        first = withFirstSession();
        db().Execute("UPDATE SESSIONS SET CURUSEADJ = -1");
    }
    void startMain()
    {
        main = &start();
        ASSERT_FALSE(programEnded());
        settleStarted();
    }
    void choose(int view) { platform::setListIndex(main->cmboCurrentView, view); }
    QString mainCode() { return main->Data1.Recordset()["CODEMOD"].Value().toString(); }
    static QString key(platform::DataControl& data, const char* field)
    {
        return data.Recordset()[field].Value().toString();
    }

    testsupport::FirstSession first;
    frmMain* main = nullptr;
};

// ---- Control states of every view, as the table of states per view gives them.

// One control (or group) of the table: its state per view 0..6 ('1' on, '0' off, 'k' kept as the previous
// view left it, '-' not looked at: it lies in a hidden frame), how to read it and how to set it.
struct StateRow {
    const char* name;
    const char* perView;
    std::function<bool(frmMain&)> get;
    std::function<void(frmMain&, bool)> set;
};

StateRow enabled(const char* name, const char* perView, std::function<std::vector<QAction*>(frmMain&)> items)
{
    return {name, perView,
            [items](frmMain& f) {
                const auto a = items(f);
                const bool on = a.front()->isEnabled();
                for (QAction* x : a)
                    EXPECT_EQ(x->isEnabled(), on) << x->text().toStdString();
                return on;
            },
            [items](frmMain& f, bool on) {
                for (QAction* x : items(f))
                    x->setEnabled(on);
            }};
}

StateRow shown(const char* name, const char* perView, std::function<QWidget*(frmMain&)> control)
{
    return {name, perView, [control](frmMain& f) { return control(f)->isVisibleTo(&f); },
            [control](frmMain& f, bool on) { control(f)->setVisible(on); }};
}

std::vector<StateRow> stateTable()
{
    using A = std::vector<QAction*>;
    return {
        enabled("File 0, 1", "1000000", [](frmMain& f) { return A{f.mnufile(0), f.mnufile(1)}; }),
        enabled("File 3, 4", "1111111", [](frmMain& f) { return A{f.mnufile(3), f.mnufile(4)}; }),
        enabled("File 5, 6", "1000000", [](frmMain& f) { return A{f.mnufile(5), f.mnufile(6)}; }),
        enabled("File 7, 8", "10kkkkk", [](frmMain& f) { return A{f.mnufile(7), f.mnufile(8)}; }),
        enabled("Export 0", "1000000", [](frmMain& f) { return A{f.mnuFileExport(0)}; }),
        enabled("Export 1", "0010000", [](frmMain& f) { return A{f.mnuFileExport(1)}; }),
        enabled("Export 2", "0001000", [](frmMain& f) { return A{f.mnuFileExport(2)}; }),
        enabled("Export 3", "0000100", [](frmMain& f) { return A{f.mnuFileExport(3)}; }),
        enabled("Export 4", "0000010", [](frmMain& f) { return A{f.mnuFileExport(4)}; }),
        enabled("Export 5", "0000001", [](frmMain& f) { return A{f.mnuFileExport(5)}; }),
        enabled("Export 6, 7", "1100000", [](frmMain& f) { return A{f.mnuFileExport(6), f.mnuFileExport(7)}; }),
        enabled("Export 8", "0100000", [](frmMain& f) { return A{f.mnuFileExport(8)}; }),
        enabled("Save/Load Tagged List", "1000000", [](frmMain& f) { return A{f.mnuSaveTagList}; }),
        enabled("Edit, Settings, Reports, Features", "1100000",
                [](frmMain& f) { return A{f.mnumain(1), f.mnumain(2), f.mnumain(3), f.mnumain(4)}; }),
        enabled("References", "1111111", [](frmMain& f) { return A{f.mnumain(5)}; }),
        enabled("Utilization/Frequency Analysis", "1000000", [](frmMain& f) { return A{f.mnuSpecial(0)}; }),
        enabled("Fee Manager", "1100000", [](frmMain& f) { return A{f.mnuSpecial(1)}; }),
        enabled("Main Grid and Screen Settings", "10kkkkk", [](frmMain& f) { return A{f.mnuSettings(0)}; }),
        // View 0 turns the analysis reports on (left open by the table).
        enabled("Utilization/Frequency Analysis Reports", "10kkkkk", [](frmMain& f) { return A{f.mnuReports(16)}; }),
        enabled("toolbar 1", "1000010", [](frmMain& f) { return A{f.Toolbar1Buttons(1)}; }),
        enabled("toolbar 2", "1100000", [](frmMain& f) { return A{f.Toolbar1Buttons(2)}; }),
        enabled("toolbar 7", "1000000", [](frmMain& f) { return A{f.Toolbar1Buttons(7)}; }),
        enabled("toolbar 8", "1111111", [](frmMain& f) { return A{f.Toolbar1Buttons(8)}; }),
        {"Combo1 enabled", "1000000", [](frmMain& f) { return f.Combo1->isEnabled(); },
         [](frmMain& f, bool on) { f.Combo1->setEnabled(on); }},
        shown("Combo1 shown", "1111111", [](frmMain& f) { return f.Combo1; }),
        shown("Frame4", "1100000", [](frmMain& f) { return f.Frame4; }),
        shown("Command2", "1100000", [](frmMain& f) { return f.Command2; }),
        shown("Frame6", "0011100", [](frmMain& f) { return f.Frame6; }),
        shown("Combo3", "--111--", [](frmMain& f) { return f.Combo3; }),
        shown("Command5", "--00100", [](frmMain& f) { return f.Command5; }),
        shown("ASCFrame", "0000010", [](frmMain& f) { return f.ASCFrame; }),
        shown("DRGFrame", "0000001", [](frmMain& f) { return f.DRGFrame; }),
        shown("CodeDetailFrame", "1111000", [](frmMain& f) { return f.CodeDetailFrame; }),
        shown("btnMore", "1101---", [](frmMain& f) { return f.btnMore; }),
        {"OPPS fee labels", "1100---",
         [](frmMain& f) {
             const bool on = f.lbldetail(20)->isEnabled();
             EXPECT_EQ(f.lbldetail(21)->isEnabled(), on);
             EXPECT_EQ(f.lblData(19)->isVisibleTo(&f), on);
             EXPECT_EQ(f.lblData(20)->isVisibleTo(&f), on);
             return on;
         },
         nullptr},
        // In the physician views the current row's OPPS cap indicator enables it again (the row's own handling).
        {"OPPS Cap caption", "--00---", [](frmMain& f) { return f.lbldetail(17)->isEnabled(); }, nullptr},
        shown("Frame8", "0000100", [](frmMain& f) { return f.Frame8; }),
    };
}

struct SwitchCase {
    int from;
    int to;
};

class ViewStatesTest : public ViewsTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(ViewStatesTest, EveryControlHasTheStateOfTheView)
{
    startMain();
    const SwitchCase c = GetParam();
    choose(c.from);
    // Every "kept" cell is turned the other way first: the switch must leave it so.
    const std::vector<StateRow> table = stateTable();
    std::vector<bool> before;
    for (const StateRow& row : table) {
        bool state = false;
        if (row.perView[c.to] == 'k') {
            state = !row.get(*main);
            row.set(*main, state);
        }
        before.push_back(state);
    }

    choose(c.to);
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('|').toStdString();
    for (size_t i = 0; i < table.size(); ++i) {
        const char want = table[i].perView[c.to];
        if (want == '-')
            continue;
        const bool expected = want == 'k' ? bool(before[i]) : want == '1';
        EXPECT_EQ(table[i].get(*main), expected) << table[i].name;
    }

    platform::DBGrid* grids[] = {main->dbg,     main->dbg,     main->DBGrid1, main->DBGrid2,
                                 main->DBGrid3, main->DBGrid4, main->DBGrid5};
    for (platform::DBGrid* g : {main->dbg, main->DBGrid1, main->DBGrid2, main->DBGrid3, main->DBGrid4, main->DBGrid5})
        EXPECT_EQ(g->isVisibleTo(main), g == grids[c.to]) << g->objectName().toStdString();
    EXPECT_EQ(main->dbgscroll->height(), grids[c.to]->height());
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");

    const char* captions[] = {nullptr, nullptr, "DMEPOS State Selection", "Lab Fee State Selection",
                              "J-Code State Selection", nullptr, nullptr};
    if (captions[c.to]) {
        EXPECT_EQ(main->Frame6->title(), captions[c.to]);
        for (int i = 0; i <= 2; ++i)
            EXPECT_EQ(main->btnSpecialHelp(i)->isVisibleTo(main->Frame6), i == c.to - Dmepos) << i;
    }
    const int widths[] = {3105, 3105, 11500, 3105};
    if (c.to <= LabFees) {
        EXPECT_EQ(main->CodeDetailFrame->width(), platform::tw(widths[c.to]));
    }
    if (c.to <= KelvaOpps || c.to == LabFees) {
        EXPECT_EQ(main->btnMore->text(), "More >>");
    }
    EXPECT_EQ(platform::busyCount(), 0);
}

std::vector<SwitchCase> switchCases()
{
    std::vector<SwitchCase> cases;
    for (int to = 0; to < 7; ++to) {
        cases.push_back({Kelva, to});
        cases.push_back({to == Dmepos ? LabFees : Dmepos, to});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Views, ViewStatesTest, ::testing::ValuesIn(switchCases()),
                         [](const ::testing::TestParamInfo<SwitchCase>& info) {
                             return "From" + std::to_string(info.param.from) + "To" + std::to_string(info.param.to);
                         });

// ---- The frame's steps.

TEST_F(ViewsTest, FamilyViewWhileTaggedCodesAreShownRequeriesTheMainGridUnderTheBusyCursor)
{
    db().Execute("UPDATE DATA0001 SET TAG = '+' WHERE CODEMOD = '99213'");
    startMain();
    main->setViewTaggedCaption("View All");
    main->ViewTagRecs();
    ASSERT_EQ(main->Data1.Recordset().RecordCount(), 1);
    int busyDuringQuery = 0;
    QObject::connect(&main->Data1, &platform::DataControl::refreshed,
                     [&] { busyDuringQuery = std::max(busyDuringQuery, platform::busyCount()); });

    choose(LabFees);
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('|').toStdString();
    EXPECT_GT(main->Data1.Recordset().RecordCount(), 1);
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
    EXPECT_EQ(main->strMainGridCode, "99213");
    EXPECT_GE(busyDuringQuery, 1);
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_TRUE(main->DBGrid2->isVisibleTo(main));
}

TEST_F(ViewsTest, KelvaWhileTaggedCodesAreShownEndsTheTaggedDisplay)
{
    db().Execute("UPDATE DATA0001 SET TAG = '+' WHERE CODEMOD = '99213'");
    startMain();
    main->setViewTaggedCaption("View All");
    main->ViewTagRecs();
    choose(Kelva);
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_GT(main->Data1.Recordset().RecordCount(), 1);
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(ViewsTest, FamilyViewReturnsToTheCodeItShowedWhenLeft)
{
    startMain();
    choose(LabFees);
    dao::Recordset& lab = main->Data6.Recordset();
    lab.MoveFirst();
    const QString firstCode = key(main->Data6, "HCPCS");
    lab.setAbsolutePosition(lab.RecordCount() / 2);
    const QString code = key(main->Data6, "HCPCS");
    ASSERT_NE(code, firstCode);

    choose(JCodes);
    lab.MoveFirst();
    choose(LabFees);
    EXPECT_EQ(key(main->Data6, "HCPCS"), code);
    EXPECT_EQ(main->strViewCodeLab, code);
    EXPECT_EQ(main->strCurCodeLab, code);
    EXPECT_TRUE(seam.messages().isEmpty());
}

// Entering a family view again re-queries the hidden main grid, which moves to other physician codes on
// the way: none of them is looked up in the family's table.
TEST_F(ViewsTest, FamilyViewsEnteredAgainShowNoMessage)
{
    db().Execute("UPDATE DATA0001 SET TAG = '+' WHERE CODEMOD = '99213'");
    startMain();
    for (int view : {Dmepos, AscCodes, Dmepos, LabFees, AscCodes, DrgCodes, Dmepos})
        choose(view);
    choose(Kelva);
    main->setViewTaggedCaption("View All");
    main->ViewTagRecs();
    choose(AscCodes);
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('|').toStdString();
    EXPECT_EQ(main->Text1(0)->text(), main->strExchangeCodeASC);
}

TEST_F(ViewsTest, PhysicianViewGetsBackItsCodeAfterAFamilyView)
{
    startMain();
    goToCode(*main, "99213");
    choose(Dmepos);
    platform::setText(main->Text1(0), "E0100");
    {
        // The hidden main grid moves away from the code; the boxes it writes are not looked up here.
        const QSignalBlocker quietCode(main->Text1(0));
        const QSignalBlocker quietFee(main->Text1(1));
        main->Data1.Recordset().MoveFirst();
    }
    choose(Kelva);
    EXPECT_EQ(main->Text1(0)->text().trimmed(), "99213");
    EXPECT_EQ(mainCode(), "99213");
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(ViewsTest, OppsViewShowsTheDefaultRowsColumnsAndStoresNothing)
{
    // "Default" stored after the session; its list shows column 2 and hides 3, the session's the other way.
    dao::Database d = db();
    QStringList defaults(61, "true"), own(61, "true");
    defaults[3] = "false";
    own[2] = "false";
    d.Execute("UPDATE SESSIONS SET COLVS = ? WHERE Session = 'Default'", {defaults.join(',')});
    d.Execute("UPDATE SESSIONS SET COLVS = ? WHERE Session = 'Sample'", {own.join(',')});
    d.Execute("CREATE TEMP TABLE s AS SELECT * FROM SESSIONS");
    d.Execute("DELETE FROM SESSIONS");
    d.Execute("INSERT INTO SESSIONS SELECT * FROM s ORDER BY Session = 'Default'");
    ASSERT_EQ(d.scalar("SELECT Session FROM SESSIONS ORDER BY rowid").toString(), "Sample");
    startMain();
    auto visible = [&](int col) { return main->dbg->Columns(col).Visible(); };
    EXPECT_FALSE(visible(2));

    choose(KelvaOpps);
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('|').toStdString();
    EXPECT_TRUE(visible(2));
    EXPECT_FALSE(visible(3));
    main->Recolumnize();  // as activation and resize lay it out
    EXPECT_TRUE(visible(2));
    EXPECT_FALSE(visible(3));
    EXPECT_EQ(db().scalar("SELECT COLVS FROM SESSIONS WHERE Session = 'Sample'").toString(), own.join(','));
    EXPECT_EQ(db().scalar("SELECT COLVS FROM SESSIONS WHERE Session = 'Default'").toString(), defaults.join(','));

    choose(Kelva);
    EXPECT_FALSE(visible(2));
    EXPECT_TRUE(visible(3));
}

TEST_F(ViewsTest, OppsViewWithoutADefaultListUsesTheSessionsOwn)
{
    QStringList own(61, "true");
    own[2] = "false";
    db().Execute("UPDATE SESSIONS SET COLVS = NULL WHERE Session = 'Default'");
    db().Execute("UPDATE SESSIONS SET COLVS = ? WHERE Session = 'Sample'", {own.join(',')});
    startMain();
    choose(KelvaOpps);
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_FALSE(main->dbg->Columns(2).Visible());
}

TEST_F(ViewsTest, LocalityTextWithoutDashIsTheWholeDescription)
{
    db().Execute("UPDATE SESSIONS SET GEOLOC = 'MANHATTAN' WHERE Session = 'Sample'");
    db().Execute("UPDATE PARMS_CL SET CARRIER = NULL, Loc = NULL");
    startMain();
    choose(KelvaOpps);
    EXPECT_EQ(parms("CARRIER").toString(), first.carrier);
    EXPECT_EQ(parms("Loc").toString(), first.loc);
    EXPECT_GT(main->Data1.Recordset().RecordCount(), 0);
}

TEST_F(ViewsTest, GpcisMatchingNoLocalityClearCarrierAndLocality)
{
    db().Execute("UPDATE SESSIONS SET CURWORKGPCI = 9.999 WHERE Session = 'Sample'");
    startMain();
    choose(KelvaOpps);
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_TRUE(parms("CARRIER").isNull());
    EXPECT_TRUE(parms("Loc").isNull());
    EXPECT_EQ(main->Data1.Recordset().RecordCount(), 0);  // no other locality's capped fees
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(ViewsTest, SessionTableGoneShowsOneMessageAndLeavesTheWindowUsable)
{
    startMain();
    main->Data1.Database().Execute("DROP TABLE DATA0001");
    seam.expectMsgBox("no such table: DATA0001", vbOKOnly);
    choose(Kelva);
    EXPECT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(platform::busyCount(), 0);

    choose(LabFees);
    EXPECT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(main->DBGrid2->isVisibleTo(main));
    EXPECT_TRUE(main->Frame6->isVisibleTo(main));
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(ViewsTest, EnteringKelvaRunsTheSessionQueryThreeTimes)
{
    startMain();
    for (int from : {Kelva, KelvaOpps, Dmepos}) {
        choose(from);
        int runs = 0;
        auto c = QObject::connect(&main->Data1, &platform::DataControl::refreshed, [&] { ++runs; });
        choose(Kelva);
        QObject::disconnect(c);
        EXPECT_EQ(runs, 3) << from;
    }
}

TEST_F(ViewsTest, HelpButtonsOpenTheirTopics)
{
    startMain();
    for (int i = 0; i <= 4; ++i)
        main->btnSpecialHelp(i)->click();
    const auto calls = seam.calls("Help");
    ASSERT_EQ(calls.size(), 5u);
    const int contexts[] = {990, 1000, 1010, 1030, 1020};
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(calls[size_t(i)].flags, contexts[i]);
        EXPECT_TRUE(calls[size_t(i)].text.endsWith("morvex.chm"));
    }
}

// ---- Tag toggles and locates.

struct ToggleFamily {
    const char* name;
    platform::DataControl frmMain::*data;
    void (*toggle)(frmMain&);  // a plain function: calls through member pointers trip the sanitizer build
    const char* table;
    const char* key;
    const char* source;  // nullptr: the start-up's
};

const ToggleFamily kToggleFamilies[] = {
    {"DMEPOS", &frmMain::Data5, [](frmMain& m) { m.ToggleTagDME(); }, "DME", "HCPCS", "SELECT TAG, HCPCS, [Mod] FROM DME ORDER BY HCPCS"},
    {"Lab", &frmMain::Data6, [](frmMain& m) { m.ToggleTagLab(); }, "LAB", "HCPCS", nullptr},
    {"J codes", &frmMain::Data7, [](frmMain& m) { m.ToggleTagJCodes(); }, "JCD", "HCPCS", nullptr},
    {"ASC", &frmMain::Data13, [](frmMain& m) { m.ToggleTagASC(); }, "ASC", "CODE", nullptr},
    {"DRG", &frmMain::Data9, [](frmMain& m) { m.ToggleTagDRG(); }, "DRG", "DRG", "SELECT TAG, DRG, [DESC] FROM DRG ORDER BY DRG"},
    {"main grid", &frmMain::Data1, [](frmMain& m) { m.ToggleTagKelva(); }, "DATA0001", "CODEMOD", nullptr},
};

TEST_F(ViewsTest, TogglesStorePlusOrNullAndTwoTogglesGiveBackTheState)
{
    startMain();
    struct Case {
        std::optional<QString> stored;
        std::optional<QString> after;
    };
    const Case cases[] = {{std::nullopt, "+"}, {"", "+"}, {" ", "+"}, {"+", std::nullopt}, {"x", std::nullopt}};
    for (const ToggleFamily& fam : kToggleFamilies) {
        SCOPED_TRACE(fam.name);
        platform::DataControl& data = main->*fam.data;
        if (fam.source)
            data.setRecordSource(fam.source);
        data.Refresh();
        ASSERT_TRUE(data.hasCurrentRecord());
        data.Recordset().setAbsolutePosition(1);
        const dao::Variant k = data.Recordset()[fam.key].Value();
        auto tagNow = [&] {
            data.Refresh();
            data.Recordset().FindFirst(QStringLiteral("%1 = ?").arg(fam.key), {k});
            const dao::Variant v = data.Recordset().Fields(0).Value();
            return v.isNull() ? std::optional<QString>() : std::optional<QString>(v.toString());
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.stored.value_or("<null>").toStdString());
            main->Data1.Database().Execute(QStringLiteral("UPDATE %1 SET TAG = ? WHERE %2 = ?").arg(fam.table, fam.key),
                                           {c.stored ? dao::Variant(*c.stored) : dao::Variant(), k});
            tagNow();
            fam.toggle(*main);
            EXPECT_EQ(tagNow(), c.after);
            if (c.stored.value_or("") == "" || c.stored == "+") {
                fam.toggle(*main);
                fam.toggle(*main);
                EXPECT_EQ(tagNow(), c.after);
            }
        }
        // Two toggles give back the stored state: Null stays Null (no blank), "+" stays "+".
        for (const std::optional<QString>& stored : {std::optional<QString>(), std::optional<QString>("+")}) {
            main->Data1.Database().Execute(QStringLiteral("UPDATE %1 SET TAG = ? WHERE %2 = ?").arg(fam.table, fam.key),
                                           {stored ? dao::Variant(*stored) : dao::Variant(), k});
            tagNow();
            fam.toggle(*main);
            fam.toggle(*main);
            EXPECT_EQ(tagNow(), stored);
        }
    }
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(ViewsTest, LocatesFindBoundCodesAndAMissChangesNothing)
{
    startMain();
    dao::Recordset& lab = main->Data6.Recordset();
    lab.setAbsolutePosition(lab.RecordCount() / 2);
    const QString code = key(main->Data6, "HCPCS");
    lab.MoveFirst();
    main->LocateLab(code);
    EXPECT_EQ(key(main->Data6, "HCPCS"), code);
    EXPECT_EQ(main->strCurCodeLab, code);

    lab.MoveFirst();
    const QString firstCode = key(main->Data6, "HCPCS");
    main->strCurCodeLab = firstCode;
    for (const QString& missing : {QStringLiteral("ZZZZZ"), QStringLiteral("A'B"), QStringLiteral("' OR 1=1 --")}) {
        main->LocateLab(missing);
        EXPECT_EQ(key(main->Data6, "HCPCS"), firstCode);
        EXPECT_EQ(main->strCurCodeLab, firstCode);
    }

    main->Data9.setRecordSource("SELECT TAG, DRG, [DESC] FROM DRG ORDER BY DRG");
    main->Data9.Refresh();
    dao::Recordset& drg = main->Data9.Recordset();
    drg.setAbsolutePosition(3);
    const qint64 number = drg["DRG"].Value().toLongLong();
    drg.MoveFirst();
    main->LocateDRG(0);
    EXPECT_EQ(drg.AbsolutePosition(), 0);
    main->LocateDRG(int(number));
    EXPECT_EQ(drg["DRG"].Value().toLongLong(), number);
    EXPECT_TRUE(seam.messages().isEmpty());
}

}  // namespace
