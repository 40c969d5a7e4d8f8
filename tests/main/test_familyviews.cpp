#include "MainWindowTest.h"

#include "db/familysql.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/controls.h"

namespace {

enum { Kelva, KelvaOpps, Dmepos, LabFees, JCodes };

class FamilyViewsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        withFirstSession();
        db().Execute("UPDATE SESSIONS SET CURUSEADJ = -1");
    }
    void startMain()
    {
        main = &start();
        ASSERT_FALSE(programEnded());
        settleStarted();
    }
    void choose(int view) { platform::setListIndex(main->cmboCurrentView, view); }
    void pick(const QString& state)
    {
        const int i = main->Combo3->findText(state);
        ASSERT_GE(i, 0) << qPrintable(state);
        platform::setListIndex(main->Combo3, i);
    }
    QStringList offered()
    {
        QStringList l;
        for (int i = 0; i < main->Combo3->count(); ++i)
            l << main->Combo3->itemText(i);
        return l;
    }
    static QString hcpcs(platform::DataControl& d) { return d.Recordset()["HCPCS"].Value().toString(); }

    frmMain* main = nullptr;
};

TEST_F(FamilyViewsTest, JCodeAmountsRoundHalfToEvenFromTheRoundedNonPar)
{
    dao::Database d = db();
    struct Case {
        double price;
        double par, nonpar, lc;
    };
    const Case cases[] = {{10.00, 10.00, 9.50, 10.92}, {250.50, 250.50, 237.98, 273.68}, {12.30, 12.30, 11.68, 13.43}};
    d.Execute("DELETE FROM JCD");
    int n = 0;
    for (const Case& c : cases)
        d.Execute("INSERT INTO JCD (HCPCS, AK) VALUES (?, ?)", {QStringLiteral("J%1").arg(++n, 4, 10, QChar('0')), c.price});
    d.Execute("INSERT INTO JCD (HCPCS, AK) VALUES ('J0100', 0)");
    d.Execute("INSERT INTO JCD (HCPCS, AK) VALUES ('J0101', NULL)");
    const QString sql = "SELECT HCPCS, " + db::jcodeAmountColumns("[AK]") + " FROM JCD WHERE [AK] > 0 ORDER BY HCPCS";
    dao::Recordset rs = d.OpenRecordset(sql);
    for (const Case& c : cases) {
        ASSERT_FALSE(rs.EOF());
        EXPECT_DOUBLE_EQ(rs["PAR"].Value().toDouble(), c.par);
        EXPECT_DOUBLE_EQ(rs["NONPAR"].Value().toDouble(), c.nonpar) << c.price;
        EXPECT_DOUBLE_EQ(rs["LC"].Value().toDouble(), c.lc) << c.price;
        rs.MoveNext();
    }
    EXPECT_TRUE(rs.EOF());  // a price of 0 or Null is not listed
}

TEST_F(FamilyViewsTest, StateListsAndTheFillingStep)
{
    startMain();
    for (const char* stored : {static_cast<const char*>(nullptr), "", " "}) {
        SCOPED_TRACE(stored ? stored : "<null>");
        const dao::Variant v = stored ? dao::Variant(QString::fromLatin1(stored)) : dao::Variant();
        choose(Kelva);
        dao::Recordset& row = main->Data2.Recordset();
        row.Edit();
        for (const char* c : {"DMESTATE", "LABSTATE", "JCDSTATE"})
            row[c] = v;
        row.Update();
        int clicks = 0;
        auto counting = QObject::connect(main->Combo3, &QComboBox::currentIndexChanged, [&] { ++clicks; });

        choose(Dmepos);
        EXPECT_EQ(main->Combo3->count(), 53);
        EXPECT_TRUE(offered().contains("NY") && offered().contains("MO"));
        EXPECT_EQ(parms("DMESTATE").toString(), "AL");
        choose(LabFees);
        EXPECT_EQ(main->Combo3->count(), 57);
        for (const char* s : {"NY1", "NY2", "NY3", "MO1", "MO2"})
            EXPECT_TRUE(offered().contains(s)) << s;
        EXPECT_FALSE(offered().contains("NY"));
        EXPECT_EQ(parms("LABSTATE").toString(), "AL");
        choose(JCodes);
        EXPECT_EQ(main->Combo3->count(), 58);
        EXPECT_FALSE(offered().contains("CMS"));
        EXPECT_EQ(offered().front(), "AK");
        EXPECT_EQ(parms("JCDSTATE").toString(), "AK");
        QObject::disconnect(counting);
        EXPECT_EQ(clicks, 0);
        EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('|').toStdString();
    }
}

TEST_F(FamilyViewsTest, DmeposPickStoresOnlyItsStateCaptionsTheColumnAndStaysOnTheCode)
{
    startMain();
    choose(Dmepos);
    dao::Recordset& rs = main->Data5.Recordset();
    rs.setAbsolutePosition(rs.RecordCount() / 2);
    const QString code = hcpcs(main->Data5);
    const QString lab = parms("LABSTATE").toString(), jcd = parms("JCDSTATE").toString();
    pick("NY");
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_EQ(parms("DMESTATE").toString(), "NY");
    EXPECT_EQ(parms("LABSTATE").toString(), lab);
    EXPECT_EQ(parms("JCDSTATE").toString(), jcd);
    EXPECT_EQ(main->DBGrid1->Columns(8).Caption(), "State - NY");
    EXPECT_TRUE(main->Data5.RecordSource().contains("order by HCPCS"));
    EXPECT_EQ(hcpcs(main->Data5), code);

    // Tagged mode without tagged codes: one message, all codes.
    main->setViewTaggedCaption("View All");
    seam.expectMsgBox("There are no tagged codes.", vbOKOnly);
    pick("MO");
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
    EXPECT_EQ(main->Data5.Recordset().RecordCount(), db().scalar("SELECT COUNT(*) FROM DME").toLongLong());
}

TEST_F(FamilyViewsTest, RefusedJCodeStateLeavesStoredStateGridAndBox)
{
    startMain();
    choose(JCodes);
    const QString before = parms("JCDSTATE").toString();
    db().Execute("UPDATE JCD SET GU = NULL");
    main->Data7.Recordset().setAbsolutePosition(2);
    const QString code = hcpcs(main->Data7);
    const QString source = main->Data7.RecordSource();
    seam.expectMsgBox("The state you have choosen has no information in the tables.", vbOKOnly);
    pick("GU");
    EXPECT_EQ(parms("JCDSTATE").toString(), before);
    EXPECT_EQ(main->Combo3->currentText(), before);
    EXPECT_EQ(main->Data7.RecordSource(), source);
    EXPECT_EQ(hcpcs(main->Data7), code);
}

TEST_F(FamilyViewsTest, JCodeGridFormatsAndCaptions)
{
    db().Execute("UPDATE PARMS_CL SET JCDSTATE = 'NY2'");
    db().Execute("UPDATE JCD SET NY2 = 10, MMA = 0, Vaccine_AWP_percent = 0.95, ESRD_Limit = NULL WHERE rowid = "
                 "(SELECT min(rowid) FROM JCD WHERE NY2 > 0)");
    startMain();
    choose(JCodes);
    EXPECT_TRUE(seam.messages().isEmpty());
    platform::DBGrid* g = main->DBGrid3;
    EXPECT_EQ(g->Columns(5).Caption(), "NY2 Participating");
    EXPECT_EQ(g->Columns(6).Caption(), "NY2 Non Participating");
    EXPECT_EQ(g->Columns(7).Caption(), "\r\nNY2 Limiting");
    for (int hidden : {2, 8, 9})
        EXPECT_FALSE(g->Columns(hidden).Visible()) << hidden;
    EXPECT_GE(g->HeadLines(), 2);
    const qint64 row = db().scalar("SELECT COUNT(*) FROM JCD WHERE NY2 > 0 AND HCPCS < (SELECT HCPCS FROM JCD WHERE "
                                   "rowid = (SELECT min(rowid) FROM JCD WHERE NY2 = 10 AND MMA = 0))").toLongLong();
    main->Data7.Recordset().setAbsolutePosition(row);
    const int r = int(main->Data7.Recordset().AbsolutePosition());
    EXPECT_EQ(g->cellText(r, 4), "---  ");
    EXPECT_EQ(g->cellText(r, 10), "");
    EXPECT_EQ(g->cellText(r, 11), "95%");
    EXPECT_EQ(g->cellText(r, 7), "10.92");
}

TEST_F(FamilyViewsTest, FamilyViewsReturnToTheirCodeAndOpenWithAllCodes)
{
    db().Execute("UPDATE DATA0001 SET TAG = '+' WHERE CODEMOD = '99213'");
    startMain();
    main->setViewTaggedCaption("View All");
    main->ViewTagRecs();
    choose(Dmepos);
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
    EXPECT_EQ(main->Data5.Recordset().RecordCount(), db().scalar("SELECT COUNT(*) FROM DME").toLongLong());
    dao::Recordset& rs = main->Data5.Recordset();
    rs.setAbsolutePosition(rs.RecordCount() / 2);
    const QString code = hcpcs(main->Data5);
    choose(LabFees);
    choose(Dmepos);
    EXPECT_EQ(hcpcs(main->Data5), code);
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(FamilyViewsTest, ViewTaggedInEachFamily)
{
    startMain();
    struct Case {
        int view;
        const char* table;
        void (*tagged)(frmMain&);  // a plain function: calls through member pointers trip the sanitizer build
        platform::DataControl frmMain::*data;
    };
    const Case cases[] = {{Dmepos, "DME", [](frmMain& m) { m.ViewTagDME(); }, &frmMain::Data5},
                          {LabFees, "LAB", [](frmMain& m) { m.ViewTagLab(); }, &frmMain::Data6},
                          {JCodes, "JCD", [](frmMain& m) { m.ViewTagJCodes(); }, &frmMain::Data7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        choose(c.view);
        const int shown = seam.messages().size();
        const qint64 all = (main->*c.data).Recordset().RecordCount();
        // None tagged.
        main->setViewTaggedCaption("View All");
        seam.expectMsgBox("There are no tagged codes.", vbOKOnly);
        c.tagged(*main);
        EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
        EXPECT_EQ((main->*c.data).Recordset().RecordCount(), all);
        // Two tagged.
        const QString first = hcpcs(main->*c.data);
        db().Execute(QStringLiteral("UPDATE %1 SET TAG = '+' WHERE HCPCS = ?").arg(c.table), {first});
        main->setViewTaggedCaption("View All");
        c.tagged(*main);
        EXPECT_EQ(main->ViewTaggedCaption(), "View All");
        EXPECT_GE((main->*c.data).Recordset().RecordCount(), 1);
        EXPECT_LT((main->*c.data).Recordset().RecordCount(), all);
        EXPECT_EQ(seam.messages().size(), shown + 1);
        main->setViewTaggedCaption("View Tagged");
    }
    // A tagged query that fails: its own message, then all codes.
    choose(Dmepos);
    main->Data1.Database().Execute("UPDATE PARMS_CL SET DMESTATE = 'XX'");
    main->Data2.Refresh();
    main->setViewTaggedCaption("View All");
    const int shown = seam.messages().size();
    seam.answerMsgBox(vbOK);
    EXPECT_THROW(main->ViewTagDME(), dao::Error);  // the stored column names no column: the all-codes query fails too
    EXPECT_EQ(seam.messages().size(), shown + 1);  // the database's own message, not "no tagged codes"
    EXPECT_NE(seam.messages().back(), "There are no tagged codes.");
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
}

TEST_F(FamilyViewsTest, MissingFamilyTableShowsOneMessageAndTheSelectorStillWorks)
{
    db().Execute("DROP TABLE DME");
    startMain();
    seam.answerMsgBox(vbOK);
    choose(Dmepos);
    EXPECT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(platform::busyCount(), 0);
    choose(LabFees);
    EXPECT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(main->DBGrid2->isVisibleTo(main));
}

}  // namespace
