#pragma once

#include "schedules/FamilyScheduleWindows.h"
#include "schedules/SchedulesFixture.h"

#include <QStringList>

// The started program on "Sample" with the session table cut down to a few codes and the family tables
// to the rows a case puts in; the state box reads "AL".
class FamilyFixture : public SchedulesFixture {
protected:
    void SetUp() override
    {
        SchedulesFixture::SetUp();
        dao::Database d = db();
        d.Execute("DELETE FROM DATA0001");
        addSession("99213", "+", 7);
        platform::setComboText(main->Combo3, "AL");
        setText(main->setchk, "0");
    }
    static void setText(QLineEdit* box, const QString& text) { platform::setText(box, text); }

    void addSession(const QString& code, const dao::Variant& tag, const dao::Variant& s1,
                    const dao::Variant& notes = dao::Variant())
    {
        dao::Database d = db();
        db::insertRow(d, "DATA0001", {{"CODEMOD", code}, {"CPT", code.left(5)}, {"Tag", tag}, {"S1", s1},
                                      {"S2", 2.5}, {"NOTES", notes}, {"WORKZ", 1.0}, {"calcflag", 1}});
    }
    dao::Variant stored(const QString& column, const QString& code)
    {
        return db().scalar(QString("SELECT %1 FROM DATA0001 WHERE CODEMOD = ?").arg(column), {code});
    }
    qint64 count(const QString& where = "1")
    {
        return db().scalar("SELECT count(*) FROM DATA0001 WHERE " + where).toLongLong();
    }
    // Chooses and runs: Copy (percent empty) or Calculate.
    template <class W>
    W& run(int source, int destination, bool tagged = false, const QString& percent = QString(),
           const QString& message = "User defined schedules have been changed")
    {
        W& w = load<W>();
        if (!percent.isNull()) {
            w.opt(1)->click();
            setText(w.Text1, percent);
        }
        platform::setListIndex(w.Combo1, source);
        platform::setListIndex(w.Combo2, destination);
        platform::setCheckValue(w.chk, tagged ? 1 : 0);
        seam.expectMsgBox(message, vbOKOnly);
        w.btn_Click(0);
        seam.verifyNothingLeft();
        settle();
        return w;
    }
};
