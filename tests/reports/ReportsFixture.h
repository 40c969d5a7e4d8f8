#pragma once

#include "main/MainWindowTest.h"
#include "reports/frmReportz.h"

#include <QListWidget>
#include <QStringList>

// The started program on its first session "Sample", with the report windows opened as their callers do.
class ReportsFixture : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        main = &startOnFirstSession();
        settleStarted();
    }

    void setParms(const QString& assignments, const std::vector<dao::Variant>& params = {})
    {
        db().Execute(QStringLiteral("UPDATE PARMS_CL SET %1").arg(assignments), params);
        main->Data2.Refresh();
    }
    static QStringList texts(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    // The builder in custom mode, loaded and activated (its callers show it at once).
    frmReportz& openCustom()
    {
        frmReportz& w = load<frmReportz>();
        w.Form_Activate();
        return w;
    }
    // Selects the available entries with these texts, in the order given.
    static void selectAvailable(frmReportz& w, const QStringList& which)
    {
        for (const QString& t : which)
            w.lst(0)->findItems(t, Qt::MatchExactly).front()->setSelected(true);
    }
    static void selectChosen(frmReportz& w, const QString& text)
    {
        w.lst(1)->setCurrentItem(w.lst(1)->findItems(text, Qt::MatchExactly).front());
    }
    // The chosen list and its numbers, side by side.
    static QStringList chosenNumbers(const frmReportz& w) { return texts(w.lst(3)); }

    frmMain* main = nullptr;
};
