#pragma once

#include "db/schema.h"
#include "main/MainWindowTest.h"
#include "tagging/frmTag.h"

#include <QSignalBlocker>
#include <QStringList>

// The started program on its first session "Sample", whose code table holds only the rows a case needs;
// specdesc, specfreq, THIST and DATAOPPSVIEW hold the fixture's rows.
class TagFixture : public MainWindowTest {
protected:
    struct Code {
        QString codemod, cpt, mod, desc, status, opps;
        double nf = 10, ft = 10;
        dao::Variant s1, s2, s3, s5, freq1, freq2, freq3, freq5;
    };

    void SetUp() override
    {
        MainWindowTest::SetUp();
        session = withFirstSession();
        dao::Database d = db();
        d.Execute(QStringLiteral("UPDATE SESSIONS SET CURUSEADJ = -1"));
        d.Execute(QStringLiteral("DELETE FROM %1").arg(session.table));
        for (const Code& c : codes())
            db::insertRow(d, session.table,
                          {{"CODEMOD", c.codemod}, {"CPT", c.cpt}, {"MOD", c.mod}, {"DESC", c.desc},
                           {"STATUS", c.status}, {"OPPS_CAP_IND", c.opps}, {"NFTTOTAL", c.nf}, {"FTTOTAL", c.ft},
                           {"S1", c.s1}, {"S2", c.s2}, {"S3", c.s3}, {"S5", c.s5}, {"Freq1", c.freq1},
                           {"Freq2", c.freq2}, {"Freq3", c.freq3}, {"Freq5", c.freq5}});
        d.Execute(QStringLiteral("DELETE FROM specdesc"));
        for (const char* s : {"05-RADIOLOGY (70000 - 79999)", "09-ONCOLOGY RADIATION", "03-ONCOLOGY", "02-SURGEON'S CARE", "03-NEPHROLOGY",
                              "01-GENERAL PRACTICE", "X"})
            db::insertRow(d, "specdesc", {{"SPECDESC", QString::fromUtf8(s)}});
        d.Execute(QStringLiteral("DELETE FROM specfreq"));
        const std::pair<const char*, const char*> specfreq[] = {
            {"ONCOLOGY", "80050"}, {"ONCOLOGY", "99213"}, {"SURGEON'S CARE", "10022"}, {"O'BRIEN", "70010"}};
        for (const auto& [spec, code] : specfreq)
            db::insertRow(d, "specfreq", {{"SPECDESC", QString::fromUtf8(spec)}, {"FirstOfHCPCS", QString::fromUtf8(code)}});
        d.Execute(QStringLiteral("DELETE FROM THIST"));
        d.Execute(QStringLiteral("DELETE FROM DATAOPPSVIEW"));
        for (const char* code : {"99213", "70010"})
            for (const auto& [carrier, loc] : {std::pair{session.carrier, session.loc}, std::pair{QString("99999"), QString("09")}})
                db::insertRow(d, "DATAOPPSVIEW",
                              {{"CODEMOD", code}, {"CPT", code}, {"MOD", ""}, {"DESC", QString(code) == "99213" ? "OFFICE VISIT OPPS" : "RADIOLOGIC EXAM OPPS"},
                               {"carrier", carrier}, {"locality", loc}});
        main = &start();
        settleStarted();
    }
    void TearDown() override
    {
        EXPECT_EQ(platform::busyCount(), 0);
        MainWindowTest::TearDown();
    }

    // The session's codes: a code with three modifiers, statuses "g" and "G", OPPS indicators "Y" and "YC",
    // facility and non-facility totals that differ, schedules and frequencies Null, 0 and 5.
    static std::vector<Code> codes()
    {
        const dao::Variant null;
        return {
            {"10021", "10021", "", "FINE NEEDLE SURGEON'S BIOPSY", "A", "-", 10, 10, 5, null, null, null, null, null, null, null},
            {"1002126", "10021", "26", "FINE NEEDLE SURGEON'S BIOPSY", "A", "-", 10, 10, null, null, 5, null, null, null, null, null},
            {"10021TC", "10021", "TC", "FINE NEEDLE SURGEON'S BIOPSY", "A", "-", 10, 10, null, null, null, null, 5, null, null, null},
            {"10022", "10022", "", "FINE NEEDLE O'BRIEN BIOPSY", "g", "-", 10, 10, null, null, null, 0, null, null, null, null},
            {"70010", "70010", "", "RADIOLOGIC EXAM", "G", "Y", 10, 10, null, null, null, null, null, null, null, 5},
            {"80050", "80050", "", "GENERAL HEALTH PANEL", "X", "YC", 10, 10, 0, null, null, null, null, 0, null, null},
            {"99213", "99213", "", "OFFICE VISIT EST", "A", "YC", 70, 50, null, 5, null, null, null, null, null, null},
            {"99214", "99214", "", "OFFICE VISIT MOD", "A", "Y", 80, 60, null, null, null, null, null, null, 5, null},
        };
    }

    frmTag& open()
    {
        auto* w = static_cast<frmTag*>(forms().getByName("frmTag"));
        w->Form_Activate();
        return *w;
    }
    void showOppsView()
    {
        const QSignalBlocker block(main->cmboCurrentView);
        main->cmboCurrentView->setCurrentIndex(1);
    }
    // The preview's rows as code + modifier, in the order listed.
    static QStringList previewRows(frmTag& w)
    {
        QStringList rows;
        if (!w.Data(0).hasRecordset())
            return rows;
        dao::Recordset& rs = w.Data(0).Recordset();
        for (int r = 0; r < rs.rowCount(); ++r)
            rows << rs.cell(r, 0).toString() + rs.cell(r, 1).toString();
        return rows;
    }
    QStringList tagged(const QString& table = QString()) const
    {
        QStringList rows;
        dao::Recordset rs = db().OpenRecordset(QStringLiteral("SELECT CODEMOD FROM %1 WHERE Tag = '+' ORDER BY CODEMOD")
                                                   .arg(table.isEmpty() ? session.table : table));
        for (; !rs.EOF(); rs.MoveNext())
            rows << rs[0].Value().toString();
        return rows;
    }
    QStringList history() const
    {
        QStringList rows;
        dao::Recordset rs = db().OpenRecordset(QStringLiteral("SELECT HISTTEXT FROM THIST ORDER BY rowid"));
        for (; !rs.EOF(); rs.MoveNext())
            rows << rs[0].Value().toString();
        return rows;
    }

    testsupport::FirstSession session;
    frmMain* main = nullptr;
};
