#pragma once

#include "db/feequery.h"
#include "db/schema.h"
#include "main/MainWindowTest.h"
#include "platform/forms/controls.h"
#include "schedules/frmSchedules.h"

#include <QStringList>

// The started program on its first session "Sample" (DATA0001, Manhattan), shown in "KELVA"; the fee
// manager opened on it as the toolbar opens it.
class SchedulesFixture : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        first = withFirstSession();
        db().Execute("UPDATE SESSIONS SET CURUSEADJ = -1, S1NAME = 'Office', S2NAME = 'Contract', "
                     "S3NAME = 'Third', S4NAME = 'Fourth', S5NAME = 'Fifth', F1NAME = 'Visits', F3NAME = NULL");
        beforeStart();
        main = &start();
        ASSERT_FALSE(programEnded());
        settleStarted();
    }

    // What a case puts into the program folder's database before the program starts.
    virtual void beforeStart() {}
    frmSchedules& open() { return load<frmSchedules>(); }

    // Session table DATA0001 replaced by a few codes: A and C tagged; S1..S5 and Freq1..Freq5 set so that
    // every column differs.
    void smallTable(const QString& table = "DATA0001")
    {
        dao::Database d = db();
        d.Execute(QString("DELETE FROM %1").arg(table));
        struct Row {
            const char* code;
            dao::Variant tag;
            double s;
        };
        for (const Row& r : {Row{"A0001", "+", 10}, Row{"B0002", dao::Variant(), 20}, Row{"C0003", "+", 30.5}}) {
            db::ColumnValues v = {{"CODEMOD", r.code}, {"CPT", QString(r.code).left(5)}, {"Tag", r.tag},
                                  {"WORKZ", 1.5}, {"NF98WORK", 1.2}, {"F98WORK", 0.8}, {"MRVU", 0.1},
                                  {"NFTPERVU", 1.3}, {"FTPERVU", 0.7}, {"NFTTOTAL", 2.9}, {"FTTOTAL", 2.3},
                                  {"calcflag", 1}};
            for (int k = 0; k < 5; ++k) {
                v.push_back({QString("S%1").arg(k + 1), r.s * (k + 1) + 0.123456});
                v.push_back({QString("Freq%1").arg(k + 1), r.s + k});
            }
            db::insertRow(d, table, v);
        }
        main->ViewAllRecs();
    }
    // A column of the session table, in CODEMOD order.
    std::vector<dao::Variant> values(const QString& column, const QString& table = "DATA0001")
    {
        dao::Recordset rs = db().OpenRecordset(QString("SELECT %1 FROM %2 ORDER BY CODEMOD").arg(column, table));
        std::vector<dao::Variant> out;
        for (; !rs.EOF(); rs.MoveNext())
            out.push_back(rs.Fields(0).Value());
        return out;
    }
    std::vector<double> numbers(const QString& column, const QString& table = "DATA0001")
    {
        std::vector<double> out;
        for (const dao::Variant& v : values(column, table))
            out.push_back(v.toDouble());
        return out;
    }
    QStringList rows(const QString& table = "DATA0001") { dao::Database d = db(); return testsupport::tableRows(d, table); }
    // Sets a view of the main window as its selector does.
    void showView(const QString& text) { platform::setListIndex(main->cmboCurrentView, main->cmboCurrentView->findText(text)); }
    static void choose(QComboBox* box, int position) { platform::setListIndex(box, position); }

    testsupport::FirstSession first;
    frmMain* main = nullptr;
};
