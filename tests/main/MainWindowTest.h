#pragma once

#include "app/endprogram.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/controls.h"
#include "support/SampleDb.h"
#include "support/SeamTest.h"

#include <QDateTime>

// A main window started on a program folder of its own: the shipped sample database, kvdis.txt and the
// templates in a temporary folder, a clock set to a day outside every notice window, and an unhandled
// run-time error ending the program as it does in the real run.
class MainWindowTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        resetProgramEnded();
        g() = Globals{};
        g().ProgramFolder = folder.path();
        endProgramOnUnhandledError();
        seam.setNow(QDateTime(QDate(2014, 6, 16), QTime(9, 0)));
    }
    void TearDown() override
    {
        SeamTest::TearDown();
        platform::setUnhandledErrorHandler(nullptr);
        g() = Globals{};
        resetProgramEnded();
    }

    // The program folder's main database, as the tests read and prepare it.
    dao::Database db() const { return dao::OpenDatabase(folder.mainDb(), testsupport::programConnect()); }
    // What a completed first run leaves ("Sample" owning DATA0001), with the agreement already accepted for
    // good unless keepAgreement.
    testsupport::FirstSession withFirstSession(bool keepAgreement = false)
    {
        dao::Database d = db();
        testsupport::FirstSession s = testsupport::makeFirstSession(d);
        if (!keepAgreement)
            d.Execute(QStringLiteral("UPDATE PARMS_CL SET SHOW_DISC = 0"));
        return s;
    }
    // One value of the parameter row as the file holds it.
    dao::Variant parms(const QString& column) const
    {
        return db().scalar(QStringLiteral("SELECT %1 FROM PARMS_CL").arg(column));
    }
    // Starts the program's main window (its initialize and load events run).
    frmMain& start() { return load<frmMain>(); }
    // Starts it on a completed first run whose session has the work adjuster on, so no question is asked.
    frmMain& startOnFirstSession()
    {
        withFirstSession();
        db().Execute(QStringLiteral("UPDATE SESSIONS SET CURUSEADJ = -1"));
        return start();
    }
    // The busy cursor the start-up leaves raised goes down; no message was shown on the way.
    void settleStarted()
    {
        while (platform::busyCount() > 0)
            platform::SetBusyCursor(0);
        ASSERT_TRUE(seam.messages().isEmpty()) << qPrintable(seam.messages().join(" | "));
    }
    // The main grid on a code, with the code in the code box, as locating it leaves them.
    void goToCode(frmMain& w, const QString& codemod)
    {
        w.Data1.Recordset().FindFirst(QStringLiteral("CODEMOD = ?"), {codemod});
        ASSERT_FALSE(w.Data1.Recordset().NoMatch()) << qPrintable(codemod);
        platform::setText(w.Text1(0), codemod);
    }

    testsupport::ProgramFolder folder;
};
