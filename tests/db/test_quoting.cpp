#include "db/schema.h"
#include "db/sessions.h"
#include "db/sqltext.h"

#include "platform/dao/RecordEdit.h"
#include "platform/dao/Recordset.h"
#include "support/SampleDb.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int errorNumber(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const dao::Error& e) {
        return e.number;
    }
    return 0;
}

TEST(QuoteIdentifier, DoubleQuotesWithAnInnerQuoteDoubled)
{
    EXPECT_EQ(dao::quoteIdentifier("DATA0001"), "\"DATA0001\"");
    EXPECT_EQ(dao::quoteIdentifier("a]b"), "\"a]b\"");
    EXPECT_EQ(dao::quoteIdentifier("say \"x\""), "\"say \"\"x\"\"\"");
    EXPECT_EQ(dao::quoteIdentifier("[x]"), "\"[x]\"");
}

// Outside names (imports, table choosers) reach every statement the layer writes: creating a table and its
// column rules, writing it through statements and recordsets, copying it as a session table, dropping it.
TEST(QuoteIdentifier, TableWithABracketAndColumnWithAQuoteLiveAndDieThroughTheLayer)
{
    QTemporaryDir dir;
    dao::Database db = dao::CreateDatabase(dir.filePath("names.mdb"));
    const QString table = "a]b";
    const QString col = "say \"x\"";
    const QString t = dao::quoteIdentifier(table);
    const QString c = dao::quoteIdentifier(col);

    EXPECT_NO_THROW(db.Execute("CREATE TABLE " + t + " (CODEMOD TEXT(7) COLLATE NOCASE, " + c + " REAL)"));
    ASSERT_TRUE(db.hasTable(table));
    ASSERT_EQ(db.tableDef(table).fields.at(1).name, col);
    EXPECT_EQ(db::checkedColumn(db, table, "SAY \"X\""), c);

    // Statements, with the table's column rules in force.
    db.Execute("INSERT INTO " + t + " (CODEMOD, " + c + ") VALUES (?, ?)", {"A1", 2.5});
    db.Execute("INSERT INTO " + t + " (CODEMOD, " + c + ") VALUES ('A2', '')");
    EXPECT_TRUE(db.scalar("SELECT " + c + " FROM " + t + " WHERE CODEMOD = 'A2'").isNull());
    EXPECT_EQ(errorNumber([&] { db.Execute("UPDATE " + t + " SET " + c + " = 'abc'"); }), 3421);
    db::insertRow(db, table, {{"CODEMOD", "A3"}, {col, 7}});

    // A recordset over the table by its plain name, and over a query naming it quoted.
    dao::Recordset rs = db.OpenRecordset(table);
    ASSERT_TRUE(rs.updatable());
    EXPECT_EQ(rs[col].Value().toDouble(), 2.5);
    {
        dao::RecordEdit edit(rs);
        rs[col] = 3.5;
        edit.Update();
    }
    {
        dao::RecordEdit added(rs, dao::RecordEdit::AddNew);
        rs["CODEMOD"] = "A4";
        rs[col] = 4.5;
        added.Update();
    }
    rs.FindFirst(c + " = ?", {4.5});
    ASSERT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs["CODEMOD"].Value().toString(), "A4");
    rs.setCell(int(rs.AbsolutePosition()), 1, 5.5);
    dao::Recordset q = db.OpenRecordset("SELECT CODEMOD, " + c + " FROM " + t + " WHERE CODEMOD = ?", {"A3"});
    ASSERT_TRUE(q.updatable());
    q.Delete();
    EXPECT_EQ(testsupport::tableRows(db, table), QStringList({"A1|3.5", "A2|<null>", "A4|5.5"}));

    // A session-style copy: the model table and the session tables bring the odd names.
    db.CreateTable({db::kModelTable, {{"CODEMOD", dao::FieldType::Text, 7}, {col, dao::FieldType::Double, 0}}, {}});
    db.Execute("INSERT INTO " + dao::quoteIdentifier(db::kModelTable) + " SELECT * FROM " + t);
    const QString copy = "s]\"1";
    db::createSessionCodeTable(db, copy, db::kModelTable);
    db::createSessionCodeTable(db, "c]", copy, "c]Index\"");
    EXPECT_EQ(testsupport::tableRows(db, "c]"), testsupport::tableRows(db, table));
    EXPECT_EQ(db.tableDef("c]").indexes.at(0).name, "c]Index\"");
    EXPECT_EQ(errorNumber([&] { db::insertRow(db, "c]", {{"CODEMOD", "A1"}}); }), 3022);
    EXPECT_EQ(errorNumber([&] { db::insertRow(db, copy, {{"CODEMOD", "B1"}, {col, "x"}}); }), 3421);

    for (const QString& name : {table, copy, QString("c]")}) {
        EXPECT_NO_THROW(db.Execute("DROP TABLE " + dao::quoteIdentifier(name)));
        EXPECT_FALSE(db.hasTable(name));
    }
}

}  // namespace
