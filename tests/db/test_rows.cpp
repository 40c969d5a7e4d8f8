#include "db/parmsrow.h"
#include "db/sessions.h"

#include "platform/dao/Error.h"
#include "platform/dao/Recordset.h"
#include "support/SampleDb.h"

#include <gtest/gtest.h>

namespace {

int errorOf(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const dao::Error& e) {
        return e.number;
    }
    return 0;
}

// The typed rows against the shipped database: the same columns in the same order, kind and size, and a
// fresh installation reading the shipped values.
class SharedRowsTest : public ::testing::Test {
protected:
    testsupport::SampleDb sample;
    dao::Database db = sample.open();

    static void expectColumnsOf(const dao::TableDef& table, const std::vector<const db::RowColumn*>& columns)
    {
        ASSERT_EQ(table.fields.size(), columns.size()) << table.name.toStdString();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const dao::FieldDef& stored = table.fields[i];
            const dao::FieldDef& typed = columns[i]->def;
            EXPECT_EQ(stored.name, typed.name) << i;
            EXPECT_EQ(stored.type, typed.type) << typed.name.toStdString();
            EXPECT_EQ(stored.size, typed.size) << typed.name.toStdString();
        }
    }
};

TEST_F(SharedRowsTest, EveryColumnIsDefinedOnceAsTheTableDeclaresIt)
{
    expectColumnsOf(db.tableDef("PARMS_CL"), db::ParmsRow::columns());
    expectColumnsOf(db.tableDef("SESSIONS"), db::SessionRow::columns());
}

TEST_F(SharedRowsTest, AFreshInstallationHoldsTheShippedValues)
{
    // The state columns are shipped Null and get their value stored at the first read.
    dao::Recordset parms = db.OpenRecordset("SELECT * FROM PARMS_CL");
    for (const db::RowColumn* c : db::ParmsRow::columns()) {
        const dao::Variant stored = parms[c->name()].Value();
        if (c->onNull == db::NullRule::Filled)
            EXPECT_TRUE(stored.isNull()) << c->name().toStdString();
        else
            EXPECT_EQ(stored, c->shipped) << c->name().toStdString();
    }
    // The layout lists are built from COLSTRUCT, not shipped as constants.
    dao::Recordset sessions = db.OpenRecordset("SELECT * FROM SESSIONS WHERE Session = 'Default'");
    for (const db::RowColumn* c : db::SessionRow::columns()) {
        if (c->name() == "COLWS" || c->name() == "COLVS")
            continue;
        const dao::Variant stored = sessions[c->name()].Value();
        if (!c->shipped.isNull()) {
            EXPECT_EQ(stored, c->shipped) << c->name().toStdString();
        }
    }
}

TEST_F(SharedRowsTest, NullReadsByTheColumnsRule)
{
    db.Execute("UPDATE PARMS_CL SET GCOLOR = NULL, CreateTables = NULL, CURSES = NULL, SHOW_DISC = NULL, "
               "JCDSTATE = NULL, gapdate = NULL");
    dao::Recordset rs = db.OpenRecordset("SELECT * FROM PARMS_CL");
    db::ParmsRow parms(rs);
    EXPECT_EQ(parms.get(db::ParmsRow::GCOLOR), -2147483630);  // shipped
    EXPECT_TRUE(parms.isNull(db::ParmsRow::GCOLOR));
    EXPECT_EQ(errorOf([&] { parms.get(db::ParmsRow::CreateTables); }), dao::errInvalidUseOfNull);
    EXPECT_EQ(parms.get(db::ParmsRow::CURSES), "");  // empty
    EXPECT_FALSE(parms.get(db::ParmsRow::SHOW_DISC));
    EXPECT_FALSE(parms.get(db::ParmsRow::gapdate).isValid());
    // A state column gets its default stored, in the file too.
    EXPECT_EQ(parms.get(db::ParmsRow::JCDSTATE), "CA");
    EXPECT_EQ(db.scalar("SELECT JCDSTATE FROM PARMS_CL").toString(), "CA");
}

TEST_F(SharedRowsTest, ValuesReadAsTheirKind)
{
    db.Execute("UPDATE PARMS_CL SET DRGCURBASE = '5400.5', dataupdate = '2014-06-30 10:15:00', CreateTables = 1");
    dao::Recordset rs = db.OpenRecordset("SELECT * FROM PARMS_CL");
    db::ParmsRow parms(rs);
    EXPECT_DOUBLE_EQ(parms.get(db::ParmsRow::DRGCURBASE), 5400.5);
    EXPECT_EQ(parms.get(db::ParmsRow::dataupdate), QDateTime(QDate(2014, 6, 30), QTime(10, 15)));
    EXPECT_EQ(parms.get(db::ParmsRow::CreateTables), 1);
    EXPECT_EQ(parms.get(db::ParmsRow::scheduleColumn(4)), "S5");
}

TEST_F(SharedRowsTest, AStoreThatIsRefusedLeavesTheStoredValue)
{
    dao::Recordset rs = db.OpenRecordset("SELECT * FROM SESSIONS");
    db::SessionRow session(rs);
    session.store(db::SessionRow::PLIMCOL, 22);
    EXPECT_EQ(session.get(db::SessionRow::PLIMCOL), 22);
    EXPECT_EQ(db.scalar("SELECT PLIMCOL FROM SESSIONS WHERE Session = 'Default'").toLongLong(), 22);

    EXPECT_EQ(errorOf([&] { session.store(db::SessionRow::PLIMCOL, "twenty"); }), dao::errConversion);
    EXPECT_EQ(session.get(db::SessionRow::PLIMCOL), 22);
    // The record is no longer in edit: a field cannot be assigned without a new Edit.
    EXPECT_EQ(errorOf([&] { session.assign(db::SessionRow::PLIMCOL, 20); }), dao::errUpdateWithoutEdit);
}

TEST(SessionCopyColumns, AreEveryColumnButTheRowsOwn)
{
    const QStringList copied = db::sessionCopyColumns();
    for (const char* own : {"Session", "SESTAB", "OPTName", "GDEC", "selectzip", "rualind", "CV44", "CV45"})
        EXPECT_FALSE(copied.contains(QString::fromLatin1(own))) << own;
    EXPECT_EQ(copied.size(), int(db::SessionRow::columns().size()) - 8);
    EXPECT_TRUE(copied.contains("CW31"));
    EXPECT_TRUE(copied.contains("F5NAME"));
}

TEST(SessionRowColumn, IsFoundByItsNameInAnyCase)
{
    EXPECT_EQ(&db::SessionRow::column("s2name"), &db::SessionRow::scheduleName(1));
    EXPECT_EQ(&db::SessionRow::column("OPTNAME"), &db::SessionRow::OPTName);
    EXPECT_EQ(errorOf([] { db::SessionRow::column("S6NAME"); }), dao::errItemNotFound);
}

}  // namespace
