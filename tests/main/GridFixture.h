#pragma once

#include "app/globals.h"
#include "db/feequery.h"
#include "db/schema.h"
#include "db/sessions.h"
#include "main/frmMain.h"
#include "platform/forms/controls.h"
#include "support/SampleDb.h"
#include "support/SeamTest.h"

#include <QSignalBlocker>
#include <memory>

// A main window that is not started, its data controls on a small database: session "Sample" owning
// DATA0001 with six codes (S1 12.5 each), shown in the view "KELVA" with all codes queried.
class GridFixture : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        g() = Globals{};
        dao::Database& d = db();
        g().MainDb = d;
        db::insertRow(d, "LOCATION", {{"STATE", "NEW YORK"}, {"ST", "NY"}, {"DESC", "MANHATTAN"},
                                      {"CARRIER", "13202"}, {"LOCCODE", "01"}, {"WORK", 1.0},
                                      {"PRACT", 1.0}, {"MALP", 1.0}});
        session = testsupport::makeFirstSession(d);
        d.Execute("UPDATE SESSIONS SET CURCONVF = 37.3374, CURCONVA = 0, PLIMCOL = 45, CURUSEADJ = -1 "
                  "WHERE Session = 'Sample'");
        for (const char* code : {"0999926", "10000", "10003", "12345", "99213", "9921326"})
            addCode(code);
        main = std::make_unique<frmMain>();
        for (platform::DataControl* c : {&main->Data1, &main->Data2, &main->Data3})
            c->setDatabase(d);
        main->Data2.Refresh();
        main->Data3.Refresh();
        platform::fillList(main->Combo1, {"< - Make New Session - >", "Sample"});
        for (const char* view : {"KELVA OPPS", "DMEPOS", "Lab Fees", "J Codes", "ASC Codes", "DRG Codes"})
            platform::addItem(main->cmboCurrentView, view);
        showView("KELVA");
        main->Data3.Recordset().FindFirst("Session = ?", {QString("Sample")});
        main->LoadSessionSettings();
        main->ViewAllRecs();
    }
    void TearDown() override
    {
        main.reset();
        SeamTest::TearDown();
        g() = Globals{};
    }

    dao::Database& db() { return fixture.db(); }
    void addCode(const QString& codemod, const QString& table = "DATA0001")
    {
        db::insertRow(db(), table, {{"CODEMOD", codemod}, {"CPT", codemod.left(5)}, {"MOD", codemod.mid(5)},
                                    {"WORKZ", 1.0}, {"NF98WORK", 1.0}, {"F98WORK", 1.0}, {"MRVU", 0.1},
                                    {"calcflag", 1}, {"S1", 12.5}});
    }
    void showView(const QString& text)
    {
        const QSignalBlocker block(main->cmboCurrentView);
        main->cmboCurrentView->setCurrentIndex(main->cmboCurrentView->findText(text));
    }
    dao::Recordset& rows() { return main->Data1.Recordset(); }
    int rowOf(const QString& codemod)
    {
        for (int r = 0; r < rows().rowCount(); ++r)
            if (rows().cell(r, db::feecol::CodeMod).toString() == codemod)
                return r;
        return -1;
    }
    QString currentCode() { return rows().Fields(db::feecol::CodeMod).Value().toString(); }
    // Puts the grid's current cell on a row and column, as a keyboard move does.
    void goTo(const QString& codemod, int col)
    {
        main->dbg->setCurrentIndex(main->dbg->model()->index(rowOf(codemod), col));
    }
    dao::Variant stored(const QString& column, const QString& codemod, const QString& table = "DATA0001")
    {
        return db().scalar(QString("SELECT %1 FROM %2 WHERE CODEMOD = ?").arg(column, table), {codemod});
    }

    testsupport::FixtureDb fixture;
    testsupport::FirstSession session;
    std::unique_ptr<frmMain> main;
};
