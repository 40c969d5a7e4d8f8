#pragma once

#include "main/MainWindowTest.h"
#include "sessions/frmGridSet.h"

#include <QStringList>

// The started program on its first session "Sample", whose columns are the default layout; the display
// settings opened on it as the Settings menu opens them (their Form_Load run).
class GridSetFixture : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        main = &startOnFirstSession();
        settleStarted();
    }

    frmGridSet& open() { return load<frmGridSet>(); }

    // A column of the session row or the parameter row, as the file holds it.
    dao::Variant session(const QString& column) const
    {
        return db().scalar(QStringLiteral("SELECT %1 FROM SESSIONS WHERE Session = 'Sample'").arg(column));
    }
    // Changes the file's session row and lets the main window's live row read it (the grid keeps its layout
    // unless relaid).
    void setSession(const QString& assignments, bool relayout = false)
    {
        db().Execute(QStringLiteral("UPDATE SESSIONS SET %1 WHERE Session = 'Sample'").arg(assignments));
        main->Data3.Refresh();
        main->Data3.Recordset().FindFirst(QStringLiteral("Session = 'Sample'"));
        if (relayout)
            main->Recolumnize();
    }
    void setParms(const QString& assignments)
    {
        db().Execute(QStringLiteral("UPDATE PARMS_CL SET %1").arg(assignments));
        main->Data2.Refresh();
    }
    // The boxes ticked, as a list of "true"/"false" like COLVS.
    static QStringList ticked(const frmGridSet& w) { return w.columnList().split(','); }
    static QStringList entries(const dao::Variant& colvs) { return colvs.toString().split(','); }
    // A COLVS of n entries, true at the given columns.
    static QString colvs(int n, std::initializer_list<int> trueAt)
    {
        QStringList list;
        for (int i = 0; i < n; ++i)
            list << (std::find(trueAt.begin(), trueAt.end(), i) != trueAt.end() ? "true" : "false");
        return list.join(',');
    }

    frmMain* main = nullptr;
};
