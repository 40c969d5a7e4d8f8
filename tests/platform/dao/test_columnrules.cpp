#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// What a write leaves: the error number, or what the column then holds as SQLite stores it.
struct Outcome {
    Outcome(int number = 0, QString value = {}) : error(number), stored(std::move(value)) {}
    int error;
    QString stored;  // "<typeof>:<value>"
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o)
{
    return os << (o.error ? "error " + std::to_string(o.error) : o.stored.toStdString());
}

class ColumnRulesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    dao::Database db;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = dao::CreateDatabase(dir.filePath("rules.mdb"));
        db.CreateTable({"W",
                        {{"T", dao::FieldType::Text, 10},
                         {"I", dao::FieldType::Long, 0},
                         {"R", dao::FieldType::Double, 0},
                         {"Y", dao::FieldType::YesNo, 0}},
                        {}});
    }

    Outcome stored(const QString& column)
    {
        const QString c = dao::quoteIdentifier(column);
        const dao::Variant type = db.scalar("SELECT typeof(" + c + ") FROM W WHERE rowid = 1");
        const dao::Variant v = db.scalar("SELECT quote(" + c + ") FROM W WHERE rowid = 1");
        return {0, type.toString() + ":" + v.toString()};
    }

    template <class F>
    Outcome outcome(const QString& column, F&& write)
    {
        db.Execute("DELETE FROM W");
        db.Execute("INSERT INTO W (rowid) VALUES (1)");
        try {
            write();
        } catch (const dao::Error& e) {
            EXPECT_EQ(db.scalar("SELECT count(*) FROM W WHERE " + dao::quoteIdentifier(column) + " IS NOT NULL")
                          .toLongLong(),
                      0)
                << "a refused write left its value";
            return {e.number, {}};
        }
        return stored(column);
    }
};

TEST_F(ColumnRulesTest, StatementsAndRecordsetsRefuseTheSameWritesWithTheSameNumbers)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const dao::Variant values[] = {QString("abcdefghijk"), QString("1e20"), QString("9300000000000000000"),
                                   QString("1e309"), nan, inf, -inf, QString(""), QString("7")};
    struct Expected {
        const char* column;
        Outcome outcomes[std::size(values)];
    };
    const Expected table[] = {
        {"T",
         {{3163}, {0, "text:'1e20'"}, {3163}, {0, "text:'1e309'"}, {3349}, {3349}, {3349}, {0, "text:''"},
          {0, "text:'7'"}}},
        {"I", {{3421}, {3349}, {3349}, {3349}, {3349}, {3349}, {3349}, {0, "null:NULL"}, {0, "integer:7"}}},
        {"R",
         {{3421}, {0, "real:1.0e+20"}, {0, "real:9.3e+18"}, {3349}, {3349}, {3349}, {3349}, {0, "null:NULL"},
          {0, "real:7.0"}}},
        {"Y",
         {{3421}, {0, "integer:-1"}, {0, "integer:-1"}, {3349}, {3349}, {3349}, {3349}, {0, "null:NULL"},
          {0, "integer:-1"}}},
    };
    for (const Expected& e : table) {
        const QString col = e.column;
        for (std::size_t k = 0; k < std::size(values); ++k) {
            const dao::Variant& v = values[k];
            SCOPED_TRACE(col.toStdString() + " = " + v.toString().toStdString());
            const Outcome statement =
                outcome(col, [&] { db.Execute("UPDATE W SET " + dao::quoteIdentifier(col) + " = ?", {v}); });
            const Outcome inserted = outcome(col, [&] {
                db.Execute("DELETE FROM W");
                db.Execute("INSERT INTO W (rowid, " + dao::quoteIdentifier(col) + ") VALUES (1, ?)", {v});
            });
            const Outcome edited = outcome(col, [&] {
                dao::Recordset rs = db.OpenRecordset("W");
                rs.Edit();
                try {
                    rs[col] = v;
                } catch (const dao::Error&) {
                    rs.CancelUpdate();
                    throw;
                }
                rs.Update();
            });
            const Outcome cell = outcome(col, [&] {
                dao::Recordset rs = db.OpenRecordset("SELECT * FROM W");
                rs.setCell(0, int(QStringList({"T", "I", "R", "Y"}).indexOf(col)), v);
            });
            EXPECT_EQ(statement, e.outcomes[k]);
            EXPECT_EQ(inserted, e.outcomes[k]);
            EXPECT_EQ(edited, e.outcomes[k]);
            EXPECT_EQ(cell, e.outcomes[k]);
        }
    }
}

TEST_F(ColumnRulesTest, AnUpdateOfOtherColumnsLeavesAnOldOverlongTextAlone)
{
    db.Execute("INSERT INTO W (T, I) VALUES ('short', 1)");
    // A text written before the rules held (by another program), longer than its column.
    db.Execute("DROP TRIGGER \"kelva_rules_W_bu\"");
    db.Execute("UPDATE W SET T = 'much too long text'");
    db.ApplyColumnRules("W");
    EXPECT_NO_THROW(db.Execute("UPDATE W SET I = 2, T = T"));
    EXPECT_EQ(db.scalar("SELECT I FROM W").toLongLong(), 2);
    try {
        db.Execute("UPDATE W SET T = 'still much too long'");
        FAIL() << "an overlong text was written";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, 3163);
        EXPECT_EQ(e.description, "The field is too small to accept the amount of data you attempted to add.  "
                                 "Try inserting or pasting less data.");
    }
}

TEST_F(ColumnRulesTest, AFullDiskAndAReadOnlyFileSayWhatTheyAre)
{
    db.Execute("INSERT INTO W (T) VALUES ('x')");
    const qint64 pages = db.scalar("PRAGMA page_count").toLongLong();
    db.Execute(QString("PRAGMA max_page_count = %1").arg(pages));
    try {
        db.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                   "INSERT INTO W (T) SELECT printf('%.10d', i) FROM n");
        FAIL() << "the file grew past its limit";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, 3026);
        EXPECT_EQ(e.description, "Not enough space on disk.");
    }
    EXPECT_EQ(db.scalar("SELECT count(*) FROM W").toLongLong(), 1);
    db.Close();

    dao::Database ro = dao::OpenDatabase(dir.filePath("rules.mdb"), false, true);
    for (const char* sql : {"INSERT INTO W (T) VALUES ('y')", "UPDATE W SET T = 'z'", "DELETE FROM W"}) {
        try {
            ro.Execute(sql);
            ADD_FAILURE() << sql << " wrote a read-only file";
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.number, 3027) << sql;
            EXPECT_EQ(e.description, "Cannot update. Database or object is read-only.");
        }
    }
}

}  // namespace
