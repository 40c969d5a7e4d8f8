#include "support/SeamTest.h"

#include "platform/controls/DBGrid.h"
#include "platform/controls/DataControl.h"
#include "platform/dao/Database.h"

#include <QTemporaryDir>

using namespace platform;

namespace {

// A grid over the untagged codes of a five-row table, on its fourth row; a tag written around it.
class RereadTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        db = dao::CreateDatabase(dir.filePath("kelva.mdb"));
        db.Execute("CREATE TABLE codes (Tag TEXT(1) COLLATE NOCASE, CODEMOD TEXT(7) COLLATE NOCASE, S1 REAL)");
        db.Execute("INSERT INTO codes VALUES (NULL, '10000', 1), (NULL, '10001', 2), (NULL, '10002', 3), "
                   "(NULL, '10003', 4), ('+', '10004', 5)");
        Data1.setDatabase(db);
        Data1.onReposition([this] { ++repositions; });
        dbg.setDataSource(&Data1);
    }
    void TearDown() override
    {
        dbg.setDataSource(nullptr);
        db.Close();
        SeamTest::TearDown();
    }
    void open(const QString& source)
    {
        Data1.setRecordSource(source);
        Data1.Refresh();
        Data1.Recordset().setAbsolutePosition(3);
        dbg.Columns(1).setWidth(1995);  // a designed width, which a re-read must keep
        repositions = 0;
    }

    QTemporaryDir dir;
    dao::Database db;
    DataControl Data1;
    DBGrid dbg;
    int repositions = 0;
};

}  // namespace

TEST_F(RereadTest, TagsShowAtOnceOnTheSameRowsAndRow)
{
    open("SELECT Tag, CODEMOD, S1 * 2 AS Twice FROM codes WHERE Tag IS NULL ORDER BY CODEMOD");
    db.Execute("UPDATE codes SET Tag = '+' WHERE CODEMOD IN ('10001', '10003')");
    Data1.Reread();
    EXPECT_EQ(Data1.Recordset().RecordCount(), 4);  // the rows stay those of the query
    EXPECT_EQ(Data1.Recordset().AbsolutePosition(), 3);
    EXPECT_EQ(dbg.currentRow(), 3);
    EXPECT_EQ(dbg.cellText(1, 0), "+");
    EXPECT_EQ(dbg.cellText(3, 0), "+");
    EXPECT_EQ(dbg.cellText(2, 0), "");
    EXPECT_EQ(dbg.cellText(3, 2), "8");
    EXPECT_EQ(dbg.Columns(1).Width(), 1995);
    EXPECT_EQ(repositions, 0);
}

TEST_F(RereadTest, RowsOfNoSingleTableAreQueriedAgainOnTheSamePosition)
{
    open("SELECT a.Tag, a.CODEMOD, b.S1 FROM codes a INNER JOIN codes b ON a.CODEMOD = b.CODEMOD ORDER BY a.CODEMOD");
    db.Execute("UPDATE codes SET Tag = '+' WHERE CODEMOD = '10003'");
    Data1.Reread();
    EXPECT_EQ(Data1.Recordset().AbsolutePosition(), 3);
    EXPECT_EQ(dbg.cellText(3, 0), "+");
    EXPECT_EQ(repositions, 0);

    db.Execute("DELETE FROM codes WHERE CODEMOD >= '10002'");
    Data1.Reread();
    EXPECT_EQ(Data1.Recordset().AbsolutePosition(), 1);  // fewer rows: the last one
    EXPECT_EQ(repositions, 1);
}
