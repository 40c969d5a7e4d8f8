#pragma once

#include "db/schema.h"
#include "main/MainWindowTest.h"
#include "search/SearchWindows.h"
#include "search/findengine.h"

#include <QSignalBlocker>

// The started program on its first session, with every code family holding the same small set of codes
// (each family's code column and description), and a few rows of their own:
//   3*4 "STAR CODE", 3X4 "LETTER CODE 21", A0001 "KNEE ARTHROSCOPY", A0002 "TOTAL KNEE REPLACEMENT",
//   A0003 "DOSE #1 VACCINE", A0004 "O'BRIEN TEST", A0021 "LEVEL TWENTY ONE";
// the physician table also Z9999 "ZEBRA"; DRG holds 1 "KNEE DRG", 2 "OTHER", 21 "LEVEL 21", 100 "HUNDRED".
class SearchFixture : public MainWindowTest {
protected:
    struct Row {
        const char* code;
        const char* desc;
    };
    static constexpr Row kRows[] = {{"3*4", "STAR CODE"},         {"3X4", "LETTER CODE 21"},
                                    {"A0001", "KNEE ARTHROSCOPY"}, {"A0002", "TOTAL KNEE REPLACEMENT"},
                                    {"A0003", "DOSE #1 VACCINE"},  {"A0004", "O'BRIEN TEST"},
                                    {"A0021", "LEVEL TWENTY ONE"}};

    void SetUp() override
    {
        MainWindowTest::SetUp();
        session = withFirstSession();
        dao::Database d = db();
        d.Execute(QStringLiteral("UPDATE SESSIONS SET CURUSEADJ = -1"));
        for (const char* t : {"DME", "LAB", "JCD", "ASC", "ASCGROUPS", "DRG", "SHIST"})
            d.Execute(QStringLiteral("DELETE FROM [%1]").arg(QString::fromLatin1(t)));
        d.Execute(QStringLiteral("DELETE FROM %1").arg(session.table));
        d.Execute(QStringLiteral("UPDATE PARMS_CL SET DMESTATE = 'NY', LABSTATE = 'NY1', JCDSTATE = 'NY1'"));
        jcdState = QStringLiteral("NY1");
        for (const Row& r : kRows)
            addEverywhere(d, r.code, r.desc);
        addPhysician(d, "Z9999", "ZEBRA");
        const std::pair<int, const char*> drgs[] = {{1, "KNEE DRG"}, {2, "OTHER"}, {21, "LEVEL 21"}, {100, "HUNDRED"}};
        for (auto [drg, desc] : drgs)
            db::insertRow(d, "DRG", {{"DRG", drg}, {"DESC", desc}, {"ARW", 1.5}});
        prepare(d);
        main = &start();
        settleStarted();
        openFamilyGrids();
    }
    void TearDown() override
    {
        EXPECT_EQ(platform::busyCount(), 0);
        MainWindowTest::TearDown();
    }
    // What a case adds to the database before the program starts.
    virtual void prepare(dao::Database&) {}

    void addPhysician(dao::Database& d, const QString& code, const QString& desc)
    {
        db::insertRow(d, session.table, {{"CODEMOD", code}, {"CPT", code}, {"MOD", ""}, {"DESC", desc},
                                         {"STATUS", "A"}, {"calcflag", 1}, {"S1", 1.0}});
    }
    void addEverywhere(dao::Database& d, const QString& code, const QString& desc)
    {
        addPhysician(d, code, desc);
        db::insertRow(d, "DME", {{"HCPCS", code}, {"Description", desc}, {"CODEMOD", code}});
        db::insertRow(d, "LAB", {{"HCPCS", code}, {"Description", desc}, {"CODEMOD", code}});
        db::insertRow(d, "JCD", {{"HCPCS", code}, {"Description", desc}, {"Codemod", code}, {jcdState, 5.0}});
        db::insertRow(d, "ASC", {{"CODE", code}, {"Desc", desc}});
    }
    // The DMEPOS and DRG grids as their views open them (the start-up opens the others).
    void openFamilyGrids()
    {
        main->Data5.setDatabase(g().MainDb);
        main->Data5.setRecordSource(
            QStringLiteral("SELECT TAG, HCPCS, [Mod], Mod2, JURIS, CATG, Ceiling, Floor, 0 AS STATE, Description, "
                           "CODEMOD FROM DME ORDER BY HCPCS"));
        main->Data5.Refresh();
        if (!main->Data9.hasRecordset()) {
            main->Data9.setDatabase(g().MainDb);
            main->Data9.setRecordSource(QStringLiteral("SELECT TAG, DRG, [DESC], ARW FROM DRG ORDER BY DRG"));
            main->Data9.Refresh();
        }
    }

    platform::DataControl& data(search::Family f) { return main->*search::kFindFamilies[f].data; }
    // The current record's code in a family's grid ("" when none).
    QString current(search::Family f)
    {
        platform::DataControl& d = data(f);
        if (!d.hasCurrentRecord())
            return {};
        const char* column[] = {"CPT", "HCPCS", "HCPCS", "HCPCS", "CODE", "DRG"};
        return d.Recordset()[column[f]].Value().toString();
    }
    void goFirst(search::Family f) { data(f).Recordset().MoveFirst(); }
    void goTo(search::Family f, const QString& code)
    {
        const char* column[] = {"CPT", "HCPCS", "HCPCS", "HCPCS", "CODE", "DRG"};
        data(f).Recordset().FindFirst(QString::fromLatin1(column[f]) + QStringLiteral(" = ?"), {code});
        ASSERT_FALSE(data(f).Recordset().NoMatch()) << qPrintable(code);
    }

    testsupport::FirstSession session;
    QString jcdState;
    frmMain* main = nullptr;
};
