#include "DaoFixture.h"

namespace {

template <typename Fn>
int errorNumber(Fn&& fn)
{
    try {
        fn();
    } catch (const dao::Error& e) {
        return e.number;
    }
    return 0;
}

class RecordsetTest : public DaoFixture {
protected:
    // The shape of the main fee query: passed-through columns and a computed one, over one table.
    dao::Recordset feeQuery()
    {
        return db.OpenRecordset("SELECT Tag, CODEMOD, [DESC], WORKZ, (round(WORKZ * 37.3374, 2) * calcflag) as NPART, "
                                "FLAG FROM CODES ORDER BY CODEMOD");
    }
};

TEST_F(RecordsetTest, MovesAndTheEnds)
{
    dao::Recordset rs = feeQuery();
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_FALSE(rs.BOF());
    EXPECT_EQ(rs["CODEMOD"].Value().toString(), "99211");
    rs.MoveLast();
    EXPECT_EQ(rs[1].Value().toString(), "G0008");
    EXPECT_EQ(rs.AbsolutePosition(), 3);
    rs.MoveNext();
    EXPECT_TRUE(rs.EOF());
    EXPECT_EQ(rs.AbsolutePosition(), -1);
    EXPECT_EQ(errorNumber([&] { rs["CODEMOD"].Value(); }), 3021);
    EXPECT_EQ(errorNumber([&] { rs.MoveNext(); }), 3021);
    rs.Move(-2);
    EXPECT_EQ(rs["CODEMOD"].Value().toString(), "A0021");
    rs.Move(-10);
    EXPECT_TRUE(rs.BOF());
    rs.setAbsolutePosition(1);
    const qint64 mark = rs.Bookmark();
    rs.MoveFirst();
    rs.setBookmark(mark);
    EXPECT_EQ(rs["CODEMOD"].Value().toString(), "99212");
    EXPECT_EQ(errorNumber([&] { rs.Fields("NOPE"); }), 3265);

    dao::Recordset empty = db.OpenRecordset("SELECT * FROM CODES WHERE CODEMOD = 'none'");
    EXPECT_TRUE(empty.BOF());
    EXPECT_TRUE(empty.EOF());
    EXPECT_EQ(empty.RecordCount(), 0);
    EXPECT_EQ(errorNumber([&] { empty.MoveFirst(); }), 3021);
}

TEST_F(RecordsetTest, FieldsReportKindsAndValues)
{
    dao::Recordset rs = feeQuery();
    EXPECT_EQ(rs["CODEMOD"].Type(), dao::FieldType::Text);
    EXPECT_EQ(rs["CODEMOD"].Size(), 7);
    EXPECT_EQ(rs["DESC"].Name(), "DESC");
    EXPECT_EQ(rs["NPART"].Type(), dao::FieldType::Double);
    EXPECT_DOUBLE_EQ(rs["NPART"].Value().toDouble(), 6.72);
    EXPECT_TRUE(rs["Tag"].Value().isNull());
    EXPECT_EQ(rs["FLAG"].Type(), dao::FieldType::YesNo);
    EXPECT_TRUE(rs["WORKZ"].editable());
    EXPECT_FALSE(rs["NPART"].editable());
}

TEST_F(RecordsetTest, FindWithBoundValue)
{
    dao::Recordset rs = feeQuery();
    rs.MoveLast();
    rs.FindFirst("CODEMOD = ?", {"99999"});
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(rs["CODEMOD"].Value().toString(), "G0008");  // a miss keeps the current record

    rs.MoveFirst();
    rs.MoveNext();
    rs.FindFirst("CODEMOD = ?", {"a0021"});  // text compares without letter case
    EXPECT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.AbsolutePosition(), 2);

    rs.MoveFirst();
    rs.FindNext("DESC LIKE ? AND WORKZ > ?", {"office*", 0.2});
    EXPECT_EQ(rs["CODEMOD"].Value().toString(), "99212");
    rs.FindNext("DESC LIKE ?", {"office*"});
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(errorNumber([&] { rs.FindPrevious("calcflag = 1"); }), 1);  // a column the query does not read
    rs.FindLast("NPART > ?", {5});
    EXPECT_EQ(rs["CODEMOD"].Value().toString(), "99212");
    rs.FindPrevious("WORKZ IS NULL");
    EXPECT_TRUE(rs.NoMatch());
}

TEST_F(RecordsetTest, EditThroughAQueryWritesTheTableRow)
{
    dao::Recordset rs = feeQuery();
    ASSERT_TRUE(rs.updatable());
    rs.FindFirst("CODEMOD = ?", {"99212"});
    rs.Edit();
    rs["Tag"] = "+";
    rs["WORKZ"] = "1.5";  // a number in a text is stored as the number
    EXPECT_EQ(rs["WORKZ"].Value().toDouble(), 1.5);
    rs.Update();
    EXPECT_EQ(rs["Tag"].Value().toString(), "+");
    EXPECT_EQ(db.scalar("SELECT Tag FROM CODES WHERE CODEMOD = '99212'").toString(), "+");
    EXPECT_EQ(db.scalar("SELECT typeof(WORKZ) FROM CODES WHERE CODEMOD = '99212'").toString(), "real");

    rs.setCell(0, 0, "+");
    EXPECT_EQ(rs.cell(0, 0).toString(), "+");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES WHERE Tag = '+'").toLongLong(), 2);
    EXPECT_EQ(errorNumber([&] { rs.setCell(0, 4, 1.0); }), 3164);  // computed
    EXPECT_EQ(errorNumber([&] { rs["Tag"] = "x"; }), 3020);       // no Edit
}

struct WriteCase {
    const char* field;
    dao::Variant value;
    int error;               // 0: accepted
    dao::Variant stored;     // as the table then holds it
};

TEST_F(RecordsetTest, WritesFollowTheColumnKind)
{
    const WriteCase cases[] = {
        {"WORKZ", "", 3421, {}},
        {"WORKZ", "abc", 3421, {}},
        {"WORKZ", " 12.50 ", 0, 12.5},
        {"WORKZ", dao::Variant(), 0, dao::Variant()},
        {"calcflag", "", 3421, {}},
        {"calcflag", 2.5, 0, 2},
        {"FLAG", 1, 0, -1},
        {"FLAG", "True", 0, -1},
        {"FLAG", 0.0, 0, 0},
        {"FLAG", "x", 3421, {}},
        {"SEEN", "12/4/2003", 0, "2003-12-04"},
        {"SEEN", "soon", 3421, {}},
        {"DESC", "", 0, ""},
        {"DESC", 0.5, 0, "0.5"},
        {"CODEMOD", "TOOLONGCODE", 3163, {}},
    };
    dao::Recordset rs = db.OpenRecordset("CODES");
    for (const auto& c : cases) {
        rs.MoveFirst();
        rs.Edit();
        const int err = errorNumber([&] { rs[c.field] = c.value; });
        EXPECT_EQ(err, c.error) << c.field << " = " << c.value.toString().toStdString();
        if (err == 0) {
            rs.Update();
            EXPECT_EQ(db.scalar(QString("SELECT [%1] FROM CODES WHERE rowid = 1").arg(c.field)), c.stored)
                << c.field << " = " << c.value.toString().toStdString();
        } else {
            rs.CancelUpdate();
        }
    }
    rs.MoveFirst();
    EXPECT_EQ(rs["FLAG"].Value(), dao::Variant(false));
    EXPECT_EQ(rs["SEEN"].Value().type(), dao::Variant::Type::Date);
}

TEST_F(RecordsetTest, AddNewAndDeleteOverATable)
{
    db.Execute("CREATE TABLE SESSIONS (Session TEXT(50) COLLATE NOCASE, PLIMCOL INTEGER DEFAULT 19)");
    dao::Recordset rs = db.OpenRecordset("SESSIONS");
    EXPECT_TRUE(rs.EOF());
    rs.AddNew();
    rs["Session"] = "Default";
    rs.Update();
    rs.AddNew();
    rs["Session"] = "Second";
    rs.CancelUpdate();
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.setBookmark(rs.LastModified());
    EXPECT_EQ(rs["Session"].Value().toString(), "Default");
    EXPECT_EQ(rs["PLIMCOL"].Value().toLongLong(), 19);  // the table's default, read back
    EXPECT_EQ(db.scalar("SELECT count(*) FROM SESSIONS").toLongLong(), 1);

    dao::Recordset codes = db.OpenRecordset("SELECT * FROM CODES ORDER BY CODEMOD");
    codes.MoveNext();
    codes.Delete();
    EXPECT_EQ(errorNumber([&] { codes["CODEMOD"].Value(); }), 3167);
    codes.MoveNext();
    EXPECT_EQ(codes["CODEMOD"].Value().toString(), "A0021");
    EXPECT_EQ(codes.RecordCount(), 3);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES WHERE CODEMOD = '99212'").toLongLong(), 0);
}

TEST_F(RecordsetTest, OrderByColumnNumberStillSortsByThatColumn)
{
    dao::Recordset rs = db.OpenRecordset("SELECT WORKZ, CODEMOD FROM CODES ORDER BY 2 DESC");
    ASSERT_TRUE(rs.updatable());
    EXPECT_EQ(rs["CODEMOD"].Value().toString(), "G0008");
    rs.MoveLast();
    EXPECT_EQ(rs["CODEMOD"].Value().toString(), "99211");
}

TEST_F(RecordsetTest, QueriesThatCannotBeWrittenSaySo)
{
    for (const char* sql : {"SELECT count(*) AS n FROM CODES", "SELECT DISTINCT calcflag FROM CODES",
                            "SELECT a.CODEMOD, b.CODEMOD AS other FROM CODES a, CODES b"}) {
        dao::Recordset rs = db.OpenRecordset(sql);
        EXPECT_FALSE(rs.updatable()) << sql;
        EXPECT_EQ(errorNumber([&] { rs.Edit(); }), 3027) << sql;
        EXPECT_FALSE(rs.editable(0));
    }
}

TEST_F(RecordsetTest, ParametersRequeryAndSharedCursor)
{
    dao::Recordset rs = db.OpenRecordset("SELECT CODEMOD FROM CODES WHERE calcflag = ? ORDER BY CODEMOD", {1});
    EXPECT_EQ(rs.RecordCount(), 3);
    dao::Recordset same = rs;
    same.MoveLast();
    EXPECT_EQ(rs.AbsolutePosition(), 2);
    db.Execute("UPDATE CODES SET calcflag = 1");
    rs.Requery();
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_EQ(rs.AbsolutePosition(), 0);
    rs.Close();
    EXPECT_EQ(errorNumber([&] { same.RecordCount(); }), 3420);
}

TEST_F(RecordsetTest, GridAccessLeavesTheCurrentRecord)
{
    dao::Recordset rs = feeQuery();
    rs.MoveNext();
    EXPECT_EQ(rs.rowCount(), 4);
    EXPECT_EQ(rs.fieldName(4), "NPART");
    EXPECT_EQ(rs.cell(3, 1).toString(), "G0008");
    EXPECT_TRUE(rs.cell(3, 4).isNull());
    EXPECT_TRUE(rs.editable(0));
    EXPECT_FALSE(rs.editable(4));
    EXPECT_EQ(rs.AbsolutePosition(), 1);
}

TEST_F(RecordsetTest, ZeroLengthTextsAreOrdinaryValues)
{
    // Alone, and as the first text the recordset reads.
    dao::Recordset only = db.OpenRecordset("SELECT '' AS a");
    EXPECT_EQ(only[0].Value().type(), dao::Variant::Type::Text);
    EXPECT_EQ(only[0].Value().toString(), "");

    // First, middle and last of a row, and between texts of other rows.
    dao::Recordset rs = db.OpenRecordset("SELECT '' AS a, 'x' AS b, '' AS c, '' AS d UNION ALL "
                                         "SELECT 'y', '', 'z', '' UNION ALL SELECT '', '', '', ''");
    const char* expected[3][4] = {{"", "x", "", ""}, {"y", "", "z", ""}, {"", "", "", ""}};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            EXPECT_FALSE(rs.cell(row, col).isNull()) << row << "," << col;
            EXPECT_EQ(rs.cell(row, col).toString(), expected[row][col]) << row << "," << col;
        }
    rs.FindFirst("b = ?", {QString("")});
    ASSERT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.AbsolutePosition(), 1);

    // Written by setCell and by Update as the first text of a recordset that has read none (Tag is Null
    // everywhere), then found again: the zero-length text is a text, not Null.
    dao::Recordset tags = db.OpenRecordset("SELECT Tag FROM CODES ORDER BY CODEMOD");
    tags.setCell(0, 0, QString(""));
    EXPECT_EQ(tags.cell(0, 0).type(), dao::Variant::Type::Text);
    tags.MoveLast();
    tags.Edit();
    tags[0] = QString("");
    tags.Update();
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES WHERE Tag = ''").toLongLong(), 2);
    tags.FindFirst("Tag = ''");
    EXPECT_FALSE(tags.NoMatch());
    EXPECT_EQ(tags.AbsolutePosition(), 0);
    tags.FindNext("Tag = ?", {QString("")});
    EXPECT_EQ(tags.AbsolutePosition(), 3);
}

}  // namespace
