#include "db/schema.h"
#include "db/sessions.h"

#include "platform/dao/Recordset.h"
#include "support/SampleDb.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// PARMS_CL, SESSIONS with its shipped "Default" row, and a DATA0000 of three codes.
class SessionsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    dao::Database db;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = dao::CreateDatabase(dir.filePath("kelva.mdb"));
        db::createSchema(db, {"PARMS_CL", "SESSIONS", "DATA0000"});
        db::insertRow(db, "DATA0000", {{"CODEMOD", "99213"}, {"CPT", "99213"}, {"DESC", "Office visit"},
                                       {"WORKZ", 0.97}, {"S1", 80.5}, {"Tag", "+"}});
        db::insertRow(db, "DATA0000", {{"CODEMOD", "7101026"}, {"CPT", "71010"}, {"MOD", "26"},
                                       {"NOTES", "two\r\nlines"}, {"calcflag", 1}});
        db::insertRow(db, "DATA0000", {{"CODEMOD", "A0021"}, {"USRDF", ""}});
    }

    QStringList rowsOf(const QString& table) { return testsupport::tableRows(db, table); }
    dao::Variant sessionValue(const QString& session, const QString& column)
    {
        return db.scalar("SELECT " + column + " FROM SESSIONS WHERE Session = ?", {session});
    }
};

TEST(SessionTableName, FormatsTheCountWithFourDigitsAtLeast)
{
    EXPECT_EQ(db::sessionTableName(1), "DATA0001");
    EXPECT_EQ(db::sessionTableName(42), "DATA0042");
    EXPECT_EQ(db::sessionTableName(9999), "DATA9999");
    EXPECT_EQ(db::sessionTableName(10000), "DATA10000");
}

TEST_F(SessionsTest, NameChecksComeInTheirOrder)
{
    db::insertRow(db, "SESSIONS", {{"Session", "Dr. Smith"}, {"SESTAB", "DATA0003"}});
    using C = db::SessionNameCheck;
    const std::vector<std::pair<QString, C>> cases{
        {"", C::Blank},
        {" ", C::Blank},
        {"\tClinic", C::Blank},  // sorts before a blank
        {"  ", C::Ok},           // two blanks sort after one
        {" Clinic", C::Ok},
        {"Say \"Hi\"", C::HasQuote},
        {"\"", C::HasQuote},      // the quotation mark is refused before the blank test
        {"default", C::InUse},    // the defaults row, whatever the letter case
        {"DEFAULT", C::InUse},
        {"dr. smith", C::InUse},
        {"Dr. Smith", C::InUse},
        {"Dr. Smith 2", C::Ok},
        {"O'Brien Clinic", C::Ok},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(db::checkNewSessionName(db, name), expected) << name.toStdString();

    EXPECT_EQ(db::sessionNameMessage(C::HasQuote), "Session name can not contain quotation marks.  Please re-enter.");
    EXPECT_EQ(db::sessionNameMessage(C::Blank), "New Session Name cannot be blank.");
    EXPECT_EQ(db::sessionNameMessage(C::InUse),
              "The New Session Name matches an existing name.\r\n\r\nPlease enter a new name.");
    EXPECT_EQ(db::sessionNameMessage(C::Ok), "");
}

TEST_F(SessionsTest, NewSessionCopiesTheModelTableAndTheSourceRow)
{
    db.Execute("UPDATE SESSIONS SET CURCONVF = 36.0666, CURWORKGPCI = 1.017, GEOLOC = 'ALABAMA - STATEWIDE', "
               "COLWS = '400,900', CV03 = -1, CW07 = 1200, F2NAME = 'Visits', OPTName = 'Mine', GDEC = -1 "
               "WHERE Session = 'Default'");
    const QString table = db::createSession(
        db, {"O'Brien \"Clinic\"", "Default", 1, {{"CV44", true}, {"CV45", true}, {"CURPRACGPCI", 0.889}}});
    EXPECT_EQ(table, "DATA0001");

    // The table: DATA0000's columns in order, kinds and sizes, its rows, and the unique index on CODEMOD.
    const dao::TableDef model = db.tableDef("DATA0000");
    const dao::TableDef made = db.tableDef("DATA0001");
    ASSERT_EQ(made.fields.size(), model.fields.size());
    for (size_t i = 0; i < model.fields.size(); ++i) {
        EXPECT_EQ(made.fields[i].name, model.fields[i].name);
        EXPECT_EQ(made.fields[i].type, model.fields[i].type) << model.fields[i].name.toStdString();
        EXPECT_EQ(made.fields[i].size, model.fields[i].size) << model.fields[i].name.toStdString();
    }
    ASSERT_EQ(made.indexes.size(), 1u);
    EXPECT_EQ(made.indexes[0].name, "CODEMODIndexx");
    EXPECT_EQ(made.indexes[0].fields, QStringList{"CODEMOD"});
    EXPECT_TRUE(made.indexes[0].unique);
    EXPECT_EQ(rowsOf("DATA0001"), rowsOf("DATA0000"));
    EXPECT_THROW(db.Execute("INSERT INTO DATA0001 (CODEMOD) VALUES ('99213')"), dao::Error);

    // The row: the name as typed, the table, the copied columns, the values set, the defaults.
    const QString name = "O'Brien \"Clinic\"";
    ASSERT_TRUE(db::sessionExists(db, name));
    EXPECT_EQ(db::sessionTable(db, name), "DATA0001");
    for (const QString& column : db::sessionCopyColumns()) {
        if (column == "CURPRACGPCI")
            continue;
        EXPECT_EQ(sessionValue(name, column), sessionValue("Default", column)) << column.toStdString();
    }
    EXPECT_DOUBLE_EQ(sessionValue(name, "CURPRACGPCI").toDouble(), 0.889);
    EXPECT_EQ(sessionValue(name, "CV44").toLongLong(), -1);
    EXPECT_EQ(sessionValue(name, "CV45").toLongLong(), -1);
    EXPECT_TRUE(sessionValue(name, "OPTName").isNull());
    EXPECT_EQ(sessionValue(name, "GDEC").toLongLong(), 0);
    EXPECT_TRUE(sessionValue(name, "selectzip").isNull());

    const auto row = db::readSession(db, name);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->get(db::SessionRow::GEOLOC), "ALABAMA - STATEWIDE");
    EXPECT_EQ(row->get(db::SessionRow::frequencyName(1)), "Visits");
    EXPECT_EQ(row->get(db::SessionRow::SESTAB), "DATA0001");
}

TEST_F(SessionsTest, CopiesTheRowsOfTheSourceSessionsOwnTable)
{
    // A restored session's table carries another name; the copy follows SESTAB.
    db::createSessionCodeTable(db, "DATA00031", "DATA0000", "CODEMODIndexxData00");
    db.Execute("UPDATE DATA00031 SET S2 = 12.5, Tag = NULL WHERE CODEMOD = '99213'");
    db::insertRow(db, "SESSIONS", {{"Session", "Restored"}, {"SESTAB", "DATA00031"}, {"GEOLOC", "IOWA - STATEWIDE"}});
    EXPECT_EQ(db.tableDef("DATA00031").indexes.at(0).name, "CODEMODIndexxData00");

    db::createSession(db, {"Copy", "restored", 7, {}});
    EXPECT_EQ(db::sessionTable(db, "Copy"), "DATA0007");
    EXPECT_EQ(rowsOf("DATA0007"), rowsOf("DATA00031"));
    EXPECT_EQ(sessionValue("Copy", "GEOLOC").toString(), "IOWA - STATEWIDE");
}

TEST_F(SessionsTest, AFailedCreationLeavesNothingBehind)
{
    const QStringList before = db.TableNames();
    // No such source session.
    try {
        db::createSession(db, {"New", "Nobody", 1, {}});
        ADD_FAILURE() << "no error";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, dao::errNoCurrentRecord);
    }
    // A name taken in another letter case: the row fails after the table was made.
    db::insertRow(db, "SESSIONS", {{"Session", "Clinic"}, {"SESTAB", "DATA0009"}});
    EXPECT_THROW(db::createSession(db, {"CLINIC", "Default", 1, {}}), dao::Error);
    EXPECT_EQ(db.TableNames(), before);
    EXPECT_EQ(db::sessionNames(db), (QStringList{"Default", "Clinic"}));

    // A table that already exists.
    db::createSessionCodeTable(db, "DATA0002", "");
    EXPECT_TRUE(rowsOf("DATA0002").isEmpty());
    EXPECT_THROW(db::createSession(db, {"Other", "Default", 2, {}}), dao::Error);
    EXPECT_FALSE(db::sessionExists(db, "Other"));

    // Inside the caller's transaction a failure rolls back only its own part.
    db.BeginTrans();
    db.Execute("UPDATE PARMS_CL SET SESCOUNT = 5");
    EXPECT_THROW(db::createSession(db, {"Other", "Default", 2, {}}), dao::Error);
    db.CommitTrans();
    EXPECT_EQ(db.scalar("SELECT SESCOUNT FROM PARMS_CL").toLongLong(), 5);
}

TEST_F(SessionsTest, SessionTableOfAMissingSessionFails)
{
    EXPECT_EQ(db::sessionTable(db, "default"), "DATA0000");
    EXPECT_THROW(db::sessionTable(db, "Nobody"), dao::Error);
    EXPECT_FALSE(db::readSession(db, "Nobody").has_value());
}

}  // namespace
