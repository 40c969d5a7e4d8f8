#pragma once

#include "main/MainWindowTest.h"

#include "export/session/frmExportInfo.h"

#include <QFile>
#include <QTemporaryDir>

// The main window on a first session cut down to three codes (or the codes prepare() leaves), none tagged.
class ExportDialogTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        const testsupport::FirstSession s = withFirstSession();
        dao::Database d = db();
        d.Execute("UPDATE SESSIONS SET CURUSEADJ = -1");
        d.Execute("DELETE FROM " + s.table + " WHERE CODEMOD NOT IN (SELECT CODEMOD FROM " + s.table +
                  " WHERE WORKZ IS NOT NULL AND NFTPERVU IS NOT NULL ORDER BY CODEMOD LIMIT 3)");
        d.Execute("UPDATE " + s.table + " SET Tag = NULL");
        d.Execute("UPDATE SESSIONS SET S1NAME = 'Office' WHERE SESTAB = ?", {s.table});
        table = s.table;
        prepare(d);
        start();
        settleStarted();
        ASSERT_TRUE(out.isValid());
    }
    void TearDown() override
    {
        EXPECT_EQ(platform::busyCount(), 0);
        MainWindowTest::TearDown();
    }
    qint64 count() { return parms("ExportCnt").toLongLong(); }
    void setCount(qint64 n) { db().Execute("UPDATE PARMS_CL SET ExportCnt = " + QString::number(n)); }
    QString target(const QString& name) const { return out.filePath(name); }
    static QByteArray bytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Runs Continue the way the button does.
    void pressContinue(frmExportInfo& w) { w.Command1(2)->click(); }

    // Changes the session before the main window starts.
    virtual void prepare(dao::Database&) {}

    QTemporaryDir out;
    QString table;
};

