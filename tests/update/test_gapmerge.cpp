#include "update/UpdateFixture.h"

#include "update/gapmerge.h"

#include "app/globals.h"
#include "db/sessions.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"

using namespace updatetest;

namespace {

db::ColumnValues gapCode(const char* codemod, const char* desc, double rvu)
{
    return {{"Codemod", codemod}, {"CPT", QString(codemod).left(5)}, {"Mod", QString(codemod).mid(5)},
            {"WORKZ", rvu},       {"NFTPERVU", rvu + 0.1},          {"FTPERVU", rvu + 0.2},
            {"MRVU", rvu + 0.3},  {"NFTTOTAL", rvu + 0.4},          {"FTTOTAL", rvu + 0.5},
            {"Global", "090"},    {"Desc", desc},                   {"LDesc", QString(desc) + " long"}};
}

db::ColumnValues sessionCode(const char* codemod, const dao::Variant& status)
{
    return {{"Tag", "+"},          {"CODEMOD", codemod}, {"CPT", QString(codemod).left(5)}, {"STATUS", status},
            {"DESC", "mine"},      {"WORKZ", 9.0},       {"NF98WORK", 9.0},                 {"F98WORK", 9.0},
            {"calcflag", 0},       {"S1", 12.5},         {"NOTES", "note"},                 {"USRDF", "U"},
            {"GLOBAL", "000"}};
}

class GapMergeTest : public UpdateTest {
protected:
    void SetUp() override
    {
        UpdateTest::SetUp();
        dao::Transaction trans(db());
        db().Execute("DELETE FROM GAP");
        for (const auto& row : {gapCode("10001", "Gap one", 1.0), gapCode("10002", "O'Neil's", 2.0),
                                gapCode("1000326", "Null status", 3.0)})
            db::insertRow(db(), "GAP", row);
        db().Execute("UPDATE GAP SET NFTTOTAL = NULL WHERE Codemod = '10002'");
        db::insertRow(db(), "DATA0000", sessionCode("10001", "A"));
        db::insertRow(db(), "DATA0000", sessionCode("1000326", dao::Variant()));
        db::insertRow(db(), "DATA0000", sessionCode("77777", "A"));
        db::createSessionCodeTable(db(), "DATA0001", "DATA0000");
        db::createSessionCodeTable(db(), "DATA0002", "");
        db::insertRow(db(), "SESSIONS", {{"Session", "One"}, {"SESTAB", "DATA0001"}});
        db::insertRow(db(), "SESSIONS", {{"Session", "Empty"}, {"SESTAB", "DATA0002"}});
        trans.Commit();
        g().MainDb = db();
        seam.setNow(QDateTime(QDate(2014, 5, 6), QTime(10, 30)));
    }
    void TearDown() override
    {
        g().MainDb = dao::Database();
        UpdateTest::TearDown();
    }
    QString cell(const QString& table, const QString& codemod, const QString& column)
    {
        dao::Recordset rs = db().OpenRecordset(
            "SELECT CODEMOD, [" + column + "] FROM [" + table + "] WHERE CODEMOD = ?", {codemod});
        return rs.EOF() ? "<absent>" : rs[1].Value().isNull() ? "<null>" : rs[1].Value().toString();
    }
};

struct CellCase {
    const char* codemod;
    const char* column;
    const char* value;
};

// Every session table, DATA0000 and the empty one included, ends with these.
const CellCase kHeldOrAdded[] = {
    {"10001", "WORKZ", "1"}, {"10001", "NFTPERVU", "1.1"}, {"10001", "FTPERVU", "1.2"},
    {"10001", "MRVU", "1.3"},  {"10001", "NFTTOTAL", "1.4"}, {"10001", "FTTOTAL", "1.5"}, {"10001", "GLOBAL", "090"},
    {"10001", "NF98WORK", "1.1"}, {"10001", "F98WORK", "1.2"},
    {"10002", "STATUS", "g"},  {"10002", "DESC", "O'Neil's"}, {"10002", "LDESC", "O'Neil's long"},
    {"10002", "calcflag", "1"}, {"10002", "CWORK", "0"}, {"10002", "NFTTOTAL", "<null>"}, {"10002", "MOD", ""},
    {"10002", "NF98WORK", "2.1"}, {"10002", "F98WORK", "2.2"}, {"10002", "Tag", "<null>"}, {"10002", "S1", "<null>"},
    {"1000326", "WORKZ", "3"},
};

// Held codes keep the rest (the empty table holds none).
const CellCase kKept[] = {
    {"10001", "STATUS", "Ag"}, {"10001", "DESC", "mine"}, {"10001", "Tag", "+"},
    {"10001", "S1", "12.5"},   {"10001", "NOTES", "note"},
    {"10001", "USRDF", "U"},    {"10001", "calcflag", "0"}, {"1000326", "STATUS", "<null>"},
    {"77777", "STATUS", "A"},   {"77777", "WORKZ", "9"},
};

}  // namespace

TEST_F(GapMergeTest, GapCodesReachEverySessionTable)
{
    seam.expectMsgBox("Gap Update complete.  The application will need to be restarted.", vbOKOnly);
    EXPECT_TRUE(update::MergeGapData());

    for (const char* table : {"DATA0000", "DATA0001", "DATA0002"}) {
        for (const CellCase& c : kHeldOrAdded)
            EXPECT_EQ(cell(table, c.codemod, c.column), c.value) << table << " " << c.codemod << " " << c.column;
        if (QString(table) != "DATA0002") {
            for (const CellCase& c : kKept)
                EXPECT_EQ(cell(table, c.codemod, c.column), c.value) << table << " " << c.codemod << " " << c.column;
        }
    }
    EXPECT_EQ(cell("DATA0002", "10001", "STATUS"), "g");
    EXPECT_EQ(db().scalar("SELECT count(*) FROM DATA0002").toLongLong(), 3);
    EXPECT_EQ(db().scalar("SELECT gapdate FROM PARMS_CL").toString(), "2014-05-06");
    EXPECT_EQ(seam.mousePointer(), vbDefault);
}

TEST_F(GapMergeTest, EmptyGapOnlyRecordsTheDate)
{
    db().Execute("DELETE FROM GAP");
    const auto before = snapshot();
    seam.expectMsgBox("Gap Update complete.  The application will need to be restarted.", vbOKOnly);
    EXPECT_TRUE(update::MergeGapData());
    EXPECT_EQ(rows("DATA0000"), before.at("DATA0000"));
    EXPECT_EQ(db().scalar("SELECT gapdate FROM PARMS_CL").toString(), "2014-05-06");
}

TEST_F(GapMergeTest, FailureShowsBothMessagesAndChangesNothing)
{
    db::insertRow(db(), "SESSIONS", {{"Session", "Lost"}, {"SESTAB", "DATA0009"}});  // its table is gone
    QMap<QString, QStringList> before;
    for (const QString t : {"DATA0000", "DATA0001", "DATA0002", "PARMS_CL"})
        before[t] = rows(t);
    seam.expectMsgBox("Item not found in this collection.", vbOKOnly);
    seam.expectMsgBox("An error has occurred in updating with Gap information ", vbOKOnly);
    EXPECT_FALSE(update::MergeGapData());
    for (auto it = before.begin(); it != before.end(); ++it)
        EXPECT_EQ(rows(it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ(seam.mousePointer(), vbDefault);
}
