#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

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
                                   QString("1e309"), nan, inf, -inf, QString(""), QString("7"),
                                   QString("-1e20")};
    struct Expected {
        const char* column;
        Outcome outcomes[std::size(values)];
    };
    const Expected table[] = {
        {"T",
         {{3163}, {0, "text:'1e20'"}, {3163}, {0, "text:'1e309'"}, {3349}, {3349}, {3349}, {0, "text:''"},
          {0, "text:'7'"}, {0, "text:'-1e20'"}}},
        {"I",
         {{3421}, {3349}, {3349}, {3349}, {3349}, {3349}, {3349}, {0, "null:NULL"}, {0, "integer:7"}, {3349}}},
        {"R",
         {{3421}, {0, "real:1.0e+20"}, {0, "real:9.3e+18"}, {3349}, {3349}, {3349}, {3349}, {0, "null:NULL"},
          {0, "real:7.0"}, {0, "real:-1.0e+20"}}},
        {"Y",
         {{3421}, {0, "integer:-1"}, {0, "integer:-1"}, {3349}, {3349}, {3349}, {3349}, {0, "null:NULL"},
          {0, "integer:-1"}, {0, "integer:-1"}}},
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

// CopyRows against the statement it stands for, on sources of W's columns written without the rules: the
// same rows under the same rowids, or the same error and nothing copied, and the rules hold afterwards.
TEST_F(ColumnRulesTest, CopyRowsEndsAsTheInsertStatementDoes)
{
    const auto raw = [&](const QString& sql) {
        const QByteArray text = sql.toUtf8();
        ASSERT_EQ(sqlite3_exec(db.handle(), text.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << text.constData();
    };
    const auto contents = [&](const QString& table) {
        QStringList rows;
        dao::Recordset rs = db.OpenRecordset("SELECT rowid, quote(T), typeof(I), quote(I), typeof(R), quote(R), "
                                             "quote(Y) FROM " + table + " ORDER BY rowid");
        for (; !rs.EOF(); rs.MoveNext()) {
            QStringList row;
            for (int i = 0; i < rs.FieldCount(); ++i)
                row << rs.Fields(i).Value().toString();
            rows << row.join('|');
        }
        return rows;
    };
    struct Case {
        const char* name;
        const char* rows;  // values of (rowid, T, I, R, Y)
        bool targetHasRow;
        int error;
    };
    const Case cases[] = {
        {"mended and renumbered", "(3, 'a', '', '', 5), (8, '', 2, '2.5', 0), (9, NULL, NULL, NULL, '')", false, 0},
        {"into a table with rows", "(3, 'a', '', '', 5), (4, 'b', 1, 1, -1)", true, 0},
        {"an overlong text first", "(1, 'a', 1, 1, 0), (2, 'abcdefghijk', 1, 1, 0), (3, 'b', 'x', 1, 0)", false, 3163},
        {"a text in a number first", "(1, 'abcdefghijk', 'x', 1, 0)", false, 3421},
        {"a number too large", "(1, 'a', 1, 1, 0), (2, 'b', 1e300 * 1e300, 1, 0)", false, 3349},
        {"broken rows into a table with rows", "(1, 'a', 'x', 1, 0)", true, 3421},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        raw("DROP TABLE IF EXISTS S");
        raw("CREATE TABLE S (T TEXT(10), I INTEGER, R REAL, Y YESNO)");
        raw("CREATE UNIQUE INDEX S_T ON S (T)");  // as the target's: SQLite may then copy rowids as they are
        raw(QString("INSERT INTO S (rowid, T, I, R, Y) VALUES %1").arg(c.rows));
        std::pair<int, QString> outcomes[2];
        QStringList copied[2];
        for (int viaCopyRows = 0; viaCopyRows < 2; ++viaCopyRows) {
            db.Execute("DROP TABLE IF EXISTS C");
            db.Execute("CREATE TABLE C (T TEXT(10), I INTEGER, R REAL, Y YESNO)");
            db.Execute("CREATE UNIQUE INDEX C_T ON C (T)");
            if (c.targetHasRow)
                db.Execute("INSERT INTO C (T) VALUES ('z')");
            try {
                if (viaCopyRows)
                    db.CopyRows("C", "S");
                else
                    db.Execute("INSERT INTO C SELECT * FROM S");
                outcomes[viaCopyRows] = {0, QString::number(db.RecordsAffected())};
            } catch (const dao::Error& e) {
                outcomes[viaCopyRows] = {e.number, e.description};
            }
            copied[viaCopyRows] = contents("C");
            EXPECT_THROW(db.Execute("INSERT INTO C (T, I) VALUES ('q', 'text')"), dao::Error) << "no rules after";
        }
        EXPECT_EQ(outcomes[1], outcomes[0]);
        EXPECT_EQ(outcomes[0].first, c.error);
        EXPECT_EQ(copied[1], copied[0]);
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
