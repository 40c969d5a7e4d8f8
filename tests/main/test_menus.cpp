#include "MainWindowTest.h"

#include "export/menu/exportmenu.h"
#include "main/menudata.h"
#include "platform/forms/FormRegistry.h"
#include "reports/frmReportz.h"
#include "reports/reportitems.h"
#include "sessions/frmAbout.h"
#include "sessions/frmGridSet.h"
#include "sessions/frmKelva.h"
#include "tagging/frmTag.h"

#include <QApplication>
#include <QMenu>

namespace {

// The started program on a completed first run ("Sample", DATA0001).
class MenusTest : public MainWindowTest {
protected:
    void startMain()
    {
        main = &startOnFirstSession();
        ASSERT_FALSE(programEnded());
        settleStarted();
    }
    void choose(int view) { platform::setListIndex(main->cmboCurrentView, view); }
    void tag(const QString& table, const QString& where)
    {
        db().Execute("UPDATE [" + table + "] SET TAG = '+' WHERE " + where);
    }
    qint64 tagged(const QString& table)
    {
        return db().scalar("SELECT COUNT(*) FROM [" + table + "] WHERE TAG = '+'").toLongLong();
    }
    bool loaded(const char* name) { return platform::forms().loadedByName(QString::fromLatin1(name)) != nullptr; }
    qint64 rows() { return main->Data1.Recordset().RecordCount(); }

    frmMain* main = nullptr;
};

// The captions of a menu's items as its array holds them, by index; "-" for a separator.
QStringList captions(const platform::ControlArray<QAction>& items, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i) {
        QAction* a = items(i);
        out << (a == nullptr ? QStringLiteral("<none>") : a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return out;
}

}  // namespace

// ---- The menu tree.

TEST_F(MenusTest, MenuTreeHasEveryCaptionIndexAndSeparator)
{
    startMain();
    frmMain& w = *main;
    EXPECT_EQ(captions(w.mnumain, 7), QStringList({"&File", "&Edit", "&Settings", "&Reports", "F&eatures",
                                                    "Re&ferences", "&Federal Register"}));
    EXPECT_FALSE(w.mnumain.contains(7));
    EXPECT_EQ(w.mnumain(8)->text(), "&Help");
    // The bar shows them in index order.
    const QList<QAction*> bar = w.menuBar->actions();
    ASSERT_EQ(bar.size(), 8);
    EXPECT_EQ(bar[6], w.mnumain(6));
    EXPECT_EQ(bar[7], w.mnumain(8));

    EXPECT_EQ(captions(w.mnufile, 13),
              QStringList({"Import User Defined Fees (S1-S5)", "Import User Defined Frequencies (Freq1 - Freq5)",
                           "Update S1-S5 and Freq1-Freq5 from a Prior Year's version of KELVA Morvex", "-", "Export",
                           "Delete / Rename Session", "National Access Table Export Wizard", "WLT Export Wizard",
                           "Zuzizavoz Export Wizard", "-", "Backup/Restore", "-", "Exit"}));
    EXPECT_EQ(w.mnufile(4)->menu(), w.mnuFileExportMenu);
    EXPECT_EQ(w.mnufile(6)->menu(), w.mnuFileWizardMenu);
    EXPECT_EQ(w.mnuFileWizardMenu->actions(),
              QList<QAction*>({w.mnu_WizExport, w.mnuExportWizBeta, w.mnu_KELVAExportUtility}));
    EXPECT_EQ(w.mnu_WizExport->text(), "Table Export Wizard");
    EXPECT_EQ(w.mnuExportWizBeta->text(), "Table Export Wizard (Beta)");
    EXPECT_EQ(w.mnu_KELVAExportUtility->text(), "KELVA Lookup Utility");
    // The session switch names the session in Export item 0.
    EXPECT_EQ(captions(w.mnuFileExport, 9),
              QStringList({"KELVA Session: Sample", "DMEPOS Codes", "Lab Fees", "J-Codes", "ASC Codes", "DRG Codes",
                           "Localities", "Zip Codes", "OPPS Export"}));

    EXPECT_EQ(captions(w.mnuEdit, 3), QStringList({"&Find (key word or code)", "-", "Toggle View Tagged Only"}));
    EXPECT_EQ(captions(w.mnuSettings, 5), QStringList({"Main Grid and Screen Settings", "KELVA Settings", "-",
                                                        "Code Tagging", "Clear All Tagged Items"}));
    EXPECT_FALSE(w.mnuSettings(0)->isChecked());
    EXPECT_EQ(w.mnuSaveTagList->text(), "Save/Load Tagged List");
    EXPECT_EQ(w.mnumainMenu(2)->actions().last(), w.mnuSaveTagList);

    const QStringList reports = captions(w.mnuReports, 17);
    EXPECT_EQ(reports.mid(0, 13), menudata::preselectedReportCaptions());
    EXPECT_EQ(reports.mid(13), QStringList({"-", "Custom Fee Reports", "-", "Utilization/Frequency Analysis Reports"}));
    EXPECT_EQ(reports[0], "1. Code, Mod, Description, Total Non Facility KELVA Units, Non Facility Participating Fee");
    EXPECT_EQ(reports[6], "7. Code, Mod, User Schedules S1, S2, S3, S4, and S5");
    EXPECT_EQ(reports[12], "13. Code, Mod, Total Facility KELVA Units, Facility Limiting Fee");

    EXPECT_EQ(captions(w.mnuSpecial, 2), QStringList({"Utilization/Frequency Analysis", "Fee Manager"}));
    EXPECT_EQ(captions(w.mnuReferences, 4), QStringList({"Medicare Carriers", "State Insurance Commisioners",
                                                          "State License Departments", "State Workers Compensation"}));
    EXPECT_EQ(captions(w.mnuhelp, 6),
              QStringList({"Help Topics", "Help Index", "Ordering Updates", "Disclaimer", "&Upgrades", "About"}));
    EXPECT_FALSE(w.mnuhelp(1)->isVisible());
    EXPECT_EQ(w.mnuhelp(4)->menu(), w.mnuUpgradesMenu);
    EXPECT_FALSE(w.mnuupgrades.contains(0));
    EXPECT_EQ(w.mnuupgrades(1)->text(), "Data Upgrade");
    EXPECT_EQ(w.mnuupgrades(2)->text(), "Gap Code Update");
}

TEST_F(MenusTest, OppsAndFamilyViewsEnableWhatTheViewSwitchSays)
{
    startMain();
    choose(1);
    EXPECT_TRUE(main->mnuFileExport(8)->isEnabled());
    EXPECT_FALSE(main->mnuFileExport(0)->isEnabled());
    EXPECT_TRUE(main->mnumain(1)->isEnabled());
    EXPECT_FALSE(main->mnuSpecial(0)->isEnabled());
    EXPECT_TRUE(main->mnuSpecial(1)->isEnabled());
    EXPECT_FALSE(main->mnuReports(16)->isEnabled());
    choose(2);
    for (int i : {1, 2, 3, 4})
        EXPECT_FALSE(main->mnumain(i)->isEnabled()) << i;
    EXPECT_TRUE(main->mnumain(5)->isEnabled());
    EXPECT_TRUE(main->mnuFileExport(1)->isEnabled());
    EXPECT_FALSE(main->mnuFileExport(8)->isEnabled());
    // "Help Index" stays hidden whatever the view.
    EXPECT_FALSE(main->mnuhelp(1)->isVisible());
}

// ---- Data handed over by the menus.

TEST(MenuDataTest, ExportSettingsAreTheExportMenusTable)
{
    struct Row {
        const char* window;
        const char* caption;
        const char* all;
        const char* tagged;  // nullptr: hidden
        bool selectAll;
        const char* first;
        int option2;
    };
    const Row rows[] = {
        {"frmExportOther", "DMEPOS Export", "All DMEPOS Codes", "Tagged DMEPOS Codes", false,
         "DMEPOS export allows two file formats: CSV and Microsoft Access", 0},
        {"frmExportOther", "Lab Fees Export", "All Lab Fees Codes", "Tagged Lab Fees Codes", false,
         "Lab Fees export allows two file formats: CSV and Microsoft Access", 1},
        {"frmExportOther", "J-Codes Export", "All J-Codes", "Tagged J-Codes", false,
         "J-Codes export allows two file formats: CSV and Microsoft Access", 2},
        {"frmExportOther", "ASC Codes Export", "All ASC Codes", "Tagged ASC Codes", false,
         "ASC export allows two file formats: CSV and Microsoft Access", 3},
        {"frmExportOther", "DRG Export", "All DRG Codes", "Tagged DRG Codes", false,
         "DRG export allows two file formats: CSV and Microsoft Access", 4},
        {"frmExportOther", "Locality Export", "All Locality Codes", nullptr, true,
         "Locality export allows two file formats: CSV and Microsoft Access", 5},
        {"frmExportOther", "Zip Codes Export", "All Zip Codes", nullptr, true,
         "Zip Codes export allows two file formats: CSV and Microsoft Access", 6},
        {"frmExportOPPS", "OPPS Export", "All codes", "Tagged Codes Only", true,
         "OPPS export allows two file formats: CSV and Microsoft Access", -1},
    };
    const QString cr2 = QString(QChar(13)) + QChar(13);
    for (int i = 1; i <= 8; ++i) {
        SCOPED_TRACE(i);
        const Row& r = rows[i - 1];
        const exportmenu::Setting* s = exportmenu::setting(i);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->index, i);
        EXPECT_STREQ(s->window, r.window);
        EXPECT_EQ(s->caption, r.caption);
        EXPECT_EQ(s->allCaption, r.all);
        EXPECT_EQ(s->selectAll, r.selectAll);
        EXPECT_EQ(s->tagged == exportmenu::TaggedChoice::Shown, r.tagged != nullptr);
        EXPECT_EQ(s->taggedCaption, r.tagged ? QString(r.tagged) : QString());
        const QString second = i == 3 ? "For Microsoft Excel spreadsheets use CSV format."
                                      : "For Microsoft Excel spreadsheets use the CSV format.";
        EXPECT_EQ(s->note, r.first + cr2 + second);
        EXPECT_EQ(s->option2, r.option2);
    }
    EXPECT_EQ(exportmenu::setting(0), nullptr);
    EXPECT_EQ(exportmenu::setting(9), nullptr);
}

TEST(MenuDataTest, PreselectedReportsHandOverTheirItemsInOrder)
{
    const std::vector<std::vector<int>> items = {
        {0, 1, 8, 2}, {0, 1, 8, 3}, {0, 1, 8, 4}, {0, 1, 9, 5}, {0, 1, 9, 6}, {0, 1, 9, 7}, {0, 12, 13, 14, 15, 16},
        {0, 8, 2},    {0, 8, 3},    {0, 8, 4},    {0, 9, 5},    {0, 9, 6},    {0, 9, 7}};
    const auto& layouts = reports::preselectedLayouts();
    ASSERT_EQ(layouts.size(), items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(layouts[i].number, int(i) + 1);
        EXPECT_EQ(layouts[i].items, items[i]) << i;
    }
    EXPECT_EQ(menudata::preselectedReportCaptions().size(), 13);
}

TEST(MenuDataTest, HelpTopicsOfTheHelpAndReferencesMenus)
{
    using menudata::HelpMenu;
    const struct {
        HelpMenu menu;
        int index;
        const char* file;
        int context;
    } cases[] = {{HelpMenu::Help, 0, "morvex.chm", 20},       {HelpMenu::Help, 1, "morvex.chm", 10},
                 {HelpMenu::Help, 2, "morvex.chm", 420},      {HelpMenu::Help, 3, "morvex.chm", 900},
                 {HelpMenu::References, 0, "refer.chm", 40}, {HelpMenu::References, 1, "refer.chm", 20},
                 {HelpMenu::References, 2, "refer.chm", 10}, {HelpMenu::References, 3, "refer.chm", 30}};
    for (const auto& c : cases) {
        const auto t = menudata::helpTopic(c.menu, c.index);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(t->file, c.file);
        EXPECT_EQ(t->context, c.context);
    }
    EXPECT_FALSE(menudata::helpTopic(HelpMenu::Help, 4));
    EXPECT_FALSE(menudata::helpTopic(HelpMenu::References, -1));
}

// ---- Commands.

TEST_F(MenusTest, HelpItemsOpenTheirTopicsThroughTheSeam)
{
    startMain();
    for (int i : {0, 2, 3})
        main->mnuhelp(i)->trigger();
    for (int i : {0, 1, 2, 3})
        main->mnuReferences(i)->trigger();
    const auto calls = seam.calls("Help");
    ASSERT_EQ(calls.size(), 7u);
    const std::pair<const char*, int> expected[] = {{"morvex.chm", 20}, {"morvex.chm", 420}, {"morvex.chm", 900},
                                                    {"refer.chm", 40},  {"refer.chm", 20},   {"refer.chm", 10},
                                                    {"refer.chm", 30}};
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].text, programPath(expected[i].first));
        EXPECT_EQ(calls[i].flags, expected[i].second);
    }
    EXPECT_EQ(g().HelpFile, programPath("refer.chm"));
}

TEST_F(MenusTest, PreselectedReportsAndTheCustomReportOpenAFreshReportBuilder)
{
    startMain();
    auto lst4 = [](frmReportz& r) {
        QStringList out;
        for (int i = 0; i < r.lst(4)->count(); ++i)
            out << r.lst(4)->item(i)->text();
        return out;
    };
    QStringList first, seventh, custom;
    QString frame;
    seam.onModal<frmReportz>([&](frmReportz& r) {
        first = lst4(r);
        frame = r.Frame3->title();
        r.Unload();
    });
    main->mnuReports(0)->trigger();
    seam.onModal<frmReportz>([&](frmReportz& r) {
        seventh = lst4(r);
        r.Hide();  // left loaded: the next item unloads it first
    });
    main->mnuReports(6)->trigger();
    seam.onModal<frmReportz>([&](frmReportz& r) {
        custom = lst4(r);
        r.Unload();
    });
    main->mnuReports(14)->trigger();
    EXPECT_EQ(frame, "Preselected Report #1");
    EXPECT_EQ(first, QStringList({"0", "1", "8", "2"}));
    EXPECT_EQ(seventh, QStringList({"0", "12", "13", "14", "15", "16"}));
    EXPECT_TRUE(custom.isEmpty());
}

TEST_F(MenusTest, ToggleViewTaggedOnlyBothWaysAndWithoutTaggedCodes)
{
    startMain();
    const qint64 all = rows();
    seam.expectMsgBox("There are no tagged codes.", vbOKOnly);
    main->mnuEdit(2)->trigger();  // nothing tagged
    EXPECT_EQ(seam.messages(), QStringList({"There are no tagged codes."}));
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
    EXPECT_EQ(rows(), all);
    EXPECT_EQ(platform::busyCount(), 0);

    tag("DATA0001", "CODEMOD IN ('99213', '99214')");
    main->mnuEdit(2)->trigger();
    EXPECT_EQ(main->ViewTaggedCaption(), "View All");
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(main->Data1.Recordset()["Tag"].Value().toString(), "+");
    goToCode(*main, "99214");
    main->mnuEdit(2)->trigger();
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
    EXPECT_EQ(rows(), all);
    EXPECT_EQ(main->CurrentCodemod(), "99214");
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_EQ(seam.messages().size(), 1);
}

TEST_F(MenusTest, ClearAllTaggedItems)
{
    const QString question =
        "Warning 'Clear All Tags' will permenantly remove all tagged codes from the main screen! Yes to Continue.";
    startMain();
    tag("DATA0001", "CODEMOD IN ('99213', '99214')");
    tag("DME", "rowid IN (SELECT rowid FROM DME LIMIT 3)");
    const qint64 opps = db().scalar("SELECT COUNT(*) FROM DATAOPPSVIEW").toLongLong();
    db().Execute("UPDATE DATAOPPSVIEW SET TAG = '+' WHERE rowid IN (SELECT rowid FROM DATAOPPSVIEW LIMIT 5)");
    ASSERT_GT(opps, 5);

    // No: nothing changes and nothing more is said.
    seam.expectMsgBox(question, vbYesNo | vbExclamation, vbNo);
    main->mnuSettings(4)->trigger();
    EXPECT_EQ(tagged("DATA0001"), 2);
    EXPECT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(platform::busyCount(), 0);

    // Yes in "KELVA OPPS": only the OPPS rows, of every carrier and locality.
    choose(1);
    seam.expectMsgBox(question, vbYesNo | vbExclamation, vbYes);
    seam.expectMsgBox("All tags have been cleared.", vbOKOnly);
    main->mnuSettings(4)->trigger();
    EXPECT_EQ(tagged("DATAOPPSVIEW"), 0);
    EXPECT_EQ(tagged("DATA0001"), 2);
    EXPECT_EQ(platform::busyCount(), 0);

    // Yes while the tagged codes are shown in "KELVA": the session's tags go, the family tables keep theirs,
    // and the grid goes back to every code.
    choose(0);
    main->setViewTaggedCaption("View All");
    main->ViewTagRecs();
    ASSERT_EQ(rows(), 2);
    seam.expectMsgBox(question, vbYesNo | vbExclamation, vbYes);
    seam.expectMsgBox("All tags have been cleared.", vbOKOnly);
    main->mnuSettings(4)->trigger();
    EXPECT_EQ(tagged("DATA0001"), 0);
    EXPECT_EQ(tagged("DME"), 3);
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
    EXPECT_GT(rows(), 2);
    EXPECT_TRUE(main->txt(0)->isVisibleTo(main));
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(MenusTest, OpeningAMenuClearsTheGridClickSoAMovedRowTogglesNoTag)
{
    startMain();
    for (int i : {0, 1, 2, 3, 4, 5, 8}) {
        main->GridClickPending = -1;
        emit main->mnumainMenu(i)->aboutToShow();
        EXPECT_EQ(main->GridClickPending, 0) << i;
    }
    for (QMenu* sub : {main->mnuFileExportMenu, main->mnuFileWizardMenu, main->mnuUpgradesMenu}) {
        main->GridClickPending = -1;
        emit sub->aboutToShow();
        EXPECT_EQ(main->GridClickPending, 0);
    }
    // A command that moves the main grid while the Tag column is current toggles nothing.
    tag("DATA0001", "CODEMOD IN ('99213', '99214')");
    main->dbg->setCol(0);
    emit main->mnumainMenu(1)->aboutToShow();
    main->mnuEdit(2)->trigger();
    main->mnuEdit(2)->trigger();
    EXPECT_EQ(tagged("DATA0001"), 2);
}

TEST_F(MenusTest, GapCodeUpdateWhenAlreadyMergedSaysSoAndTheProgramGoesOn)
{
    startMain();
    main->Parms().store(db::ParmsRow::gapdate, QDateTime(QDate(2014, 3, 1), QTime()));
    seam.expectMsgBox("Gap table already updated", vbOKOnly);
    main->mnuupgrades(2)->trigger();
    EXPECT_FALSE(programEnded());
    EXPECT_TRUE(main->isLoaded());
}

TEST_F(MenusTest, ExitUnloadsEveryWindowAndEndsTheProgram)
{
    startMain();
    main->mnufile(5)->trigger();    // frmDropSession, modeless
    seam.expectMsgBox("There are no current lists available. Click the Load Prior Year button or select the "
                      "Create List Tab to continue.",
                      vbOKOnly);
    main->mnuSaveTagList->trigger();  // frmListSave, modeless
    ASSERT_TRUE(loaded("frmDropSession"));
    ASSERT_TRUE(loaded("frmListSave"));
    main->mnufile(12)->trigger();
    EXPECT_TRUE(programEnded());
    EXPECT_TRUE(platform::forms().loaded().empty());
    EXPECT_EQ(seam.messages().size(), 1);
}

TEST_F(MenusTest, SessionWindowsOpenAsTheMenusSay)
{
    startMain();
    int gridSet = 0, kelva = 0, about = 0;
    seam.onModal<frmGridSet>([&](frmGridSet& f) { ++gridSet, f.Unload(); });
    seam.onModal<frmKelva>([&](frmKelva& f) { ++kelva, f.Unload(); });
    seam.onModal<frmAbout>([&](frmAbout& f) { ++about, f.Unload(); });
    main->mnuSettings(0)->trigger();
    main->mnuSettings(1)->trigger();
    main->mnuhelp(5)->trigger();
    EXPECT_EQ(gridSet + kelva + about, 3);
    main->mnufile(5)->trigger();
    EXPECT_TRUE(loaded("frmDropSession"));
    EXPECT_EQ(platform::busyCount(), 0);

    // A display-settings window the toolbar left open comes forward with its edits instead of going modal.
    main->Toolbar1Buttons(1)->trigger();
    frmGridSet* open = platform::forms().loadedOrNull<frmGridSet>();
    ASSERT_NE(open, nullptr);
    open->SText(0)->setText("Edited");
    main->mnuSettings(0)->trigger();
    EXPECT_EQ(platform::forms().loadedOrNull<frmGridSet>(), open);
    EXPECT_EQ(open->SText(0)->text(), "Edited");
}

TEST_F(MenusTest, CodeTaggingIsTheFreshPhysicianWindowWhateverTheView)
{
    startMain();
    choose(1);
    int shown = 0;
    seam.onModal<frmTag>([&](frmTag& f) { ++shown, f.Unload(); });
    main->mnuSettings(3)->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(loaded("frmTag"));
}

TEST_F(MenusTest, WindowsNotInThisBuildOpenNothingAndLeaveTheCursorNormal)
{
    startMain();
    const char* names[] = {"frmAnal", "frmExportOther", "frmExportOPPS", "frmExportWLT", "frmExportELIG",
                           "frmExportWiz", "frmExportWizBeta", "frmExportWiz2"};
    if (!platform::FormRegistry::hasName("frmAnal")) {
        main->mnuSpecial(0)->trigger();
        main->mnuReports(16)->trigger();
    }
    for (int i = 1; i <= 8; ++i)
        main->mnuFileExport(i)->trigger();
    main->mnufile(7)->trigger();
    main->mnufile(8)->trigger();
    main->mnu_WizExport->trigger();
    main->mnuExportWizBeta->trigger();
    main->mnu_KELVAExportUtility->trigger();
    for (const char* n : names) {
        if (!platform::FormRegistry::hasName(n)) {
            EXPECT_FALSE(loaded(n)) << n;
        }
    }
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(MenusTest, TheFileMenuLowersTheBusyCursorAfterEveryItem)
{
    startMain();
    platform::SetBusyCursor(11);
    emit main->mnuFileExportMenu->aboutToShow();  // File item 4: a submenu
    EXPECT_EQ(platform::busyCount(), 0);
    main->mnufile(5)->trigger();
    EXPECT_EQ(platform::busyCount(), 0);
}

// Pictures of every menu in "KELVA", "KELVA OPPS" and "DMEPOS" and of the toolbar's tagged round trip, for a
// person to look at (run on a real display with --gtest_also_run_disabled_tests; KELVA_SHOTS names the folder).
TEST_F(MenusTest, DISABLED_MenuPictures)
{
    startMain();
    const QString out = qEnvironmentVariable("KELVA_SHOTS", "/tmp");
    main->show();
    main->resize(1000, 700);
    auto shoot = [&](QMenu* m, const QString& name) {
        m->popup(main->mapToGlobal(QPoint(10, 30)));
        QApplication::processEvents();
        m->grab().save(out + "/" + name + ".png");
        m->hide();
    };
    const std::pair<int, const char*> views[] = {{0, "kelva"}, {1, "opps"}, {2, "dmepos"}};
    for (auto [view, tag] : views) {
        choose(view);
        for (int i : {0, 1, 2, 3, 4, 5, 8})
            shoot(main->mnumainMenu(i), QString("%1_menu%2").arg(tag).arg(i));
        shoot(main->mnuFileExportMenu, QString("%1_export").arg(tag));
        shoot(main->mnuFileWizardMenu, QString("%1_wizard").arg(tag));
        shoot(main->mnuUpgradesMenu, QString("%1_upgrades").arg(tag));
    }
    choose(0);
    tag("DATA0001", "CODEMOD IN ('99213', '99214', '99215')");
    main->Toolbar1Buttons(3)->trigger();
    QApplication::processEvents();
    main->grab().save(out + "/toolbar_tagged.png");
    main->Toolbar1Buttons(3)->trigger();
    QApplication::processEvents();
    main->grab().save(out + "/toolbar_all.png");
}
