#include "platform/dao/Transaction.h"

#include "DaoFixture.h"

#include <QFile>
#include <sqlite3.h>

namespace {

template <typename Fn>
dao::Error errorOf(Fn&& fn)
{
    try {
        fn();
    } catch (const dao::Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return dao::Error(0, {});
}

QString journalMode(dao::Database& db)
{
    return db.scalar("PRAGMA journal_mode").toString().toLower();
}

using DatabaseTest = DaoFixture;

TEST_F(DatabaseTest, MissingFileIsReportedAsJetDoes)
{
    const QString missing = path("nowhere.mdb");
    const dao::Error e = errorOf([&] { dao::OpenDatabase(missing, ";PWD=x"); });
    EXPECT_EQ(e.number, 3024);
    EXPECT_EQ(e.description, "Could not find file '" + missing + "'.");
}

TEST_F(DatabaseTest, FileThatIsNoDatabaseIsRefused)
{
    QFile f(path("text.mdb"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is no database file at all, just some text that is long enough to have a header");
    f.close();
    EXPECT_EQ(errorOf([&] { dao::OpenDatabase(path("text.mdb")); }).number, 3343);
}

TEST_F(DatabaseTest, RecordedPasswordGuardsTheFile)
{
    db.SetPassword("Secret#2014");
    db.Close();
    for (const QString& connect : {QString(), QString(";PWD=wrong"), QString(";PWD=secret#2014")}) {
        const dao::Error e = errorOf([&] { dao::OpenDatabase(path("test.mdb"), connect); });
        EXPECT_EQ(e.number, 3031) << connect.toStdString();
        EXPECT_EQ(e.description, "Not a valid password.");
    }
    dao::Database ok = dao::OpenDatabase(path("test.mdb"), ";PWD=Secret#2014");
    EXPECT_TRUE(ok.hasTable("CODES"));
    // Even while the file is open, a second open must name the password.
    EXPECT_EQ(errorOf([&] { dao::OpenDatabase(path("test.mdb"), ";PWD=nope"); }).number, 3031);
    EXPECT_FALSE(ok.TableNames().contains("kelva_dao_meta", Qt::CaseInsensitive));
}

TEST_F(DatabaseTest, FileWithoutPasswordOpensWhateverTheConnectText)
{
    db.Close();
    for (const QString& connect : {QString(), QString(";PWD=anything"), QString("Excel 4.0;")})
        EXPECT_NO_THROW(dao::OpenDatabase(path("test.mdb"), connect));
}

TEST_F(DatabaseTest, PasswordFilesUseWalOthersTheRollbackJournal)
{
    EXPECT_EQ(journalMode(db), "delete");
    db.SetPassword("pw");
    db.Close();
    dao::Database main = dao::OpenDatabase(path("test.mdb"), ";PWD=pw");
    EXPECT_EQ(journalMode(main), "wal");
}

TEST_F(DatabaseTest, OneConnectionPerFileSoATransactionCoversEveryHandle)
{
    dao::Database second = dao::OpenDatabase(path("test.mdb"));
    EXPECT_EQ(second.handle(), db.handle());
    {
        dao::Transaction t(db);
        second.Execute("DELETE FROM CODES");
    }  // no Commit: rolled back
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES").toLongLong(), 4);
    second.Close();
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES").toLongLong(), 4);
}

TEST_F(DatabaseTest, FailureRollsBackEveryTableOfTheTransaction)
{
    db.Execute("CREATE TABLE SESSIONS (Session TEXT(50) COLLATE NOCASE, SESTAB TEXT(8) COLLATE NOCASE)");
    db.Execute("INSERT INTO SESSIONS VALUES ('Default', 'DATA0000')");
    auto run = [&] {
        dao::Transaction t(db);
        db.Execute("INSERT INTO SESSIONS VALUES (?, ?)", {"New", "DATA0001"});
        db.Execute("UPDATE CODES SET WORKZ = WORKZ * 2");
        db.Execute("INSERT INTO NOSUCHTABLE VALUES (1)");
        t.Commit();
    };
    EXPECT_EQ(errorOf(run).number, 3078);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM SESSIONS").toLongLong(), 1);
    EXPECT_DOUBLE_EQ(db.scalar("SELECT WORKZ FROM CODES WHERE CODEMOD = '99211'").toDouble(), 0.18);
    EXPECT_EQ(db.transactionDepth(), 0);
}

TEST_F(DatabaseTest, NestedTransactionsAreSavepoints)
{
    db.BeginTrans();
    db.Execute("DELETE FROM CODES WHERE CODEMOD = '99211'");
    db.BeginTrans();
    db.Execute("DELETE FROM CODES");
    db.Rollback();
    db.CommitTrans();
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES").toLongLong(), 3);
    EXPECT_EQ(errorOf([&] { db.CommitTrans(); }).number, 3034);
}

TEST_F(DatabaseTest, TableDefinitionsReportKindsSizesAndIndexNames)
{
    const dao::TableDef def = db.tableDef("codes");
    EXPECT_EQ(def.name, "CODES");
    ASSERT_EQ(def.fields.size(), 7u);
    EXPECT_EQ(def.fields[1].name, "CODEMOD");
    EXPECT_EQ(def.fields[1].type, dao::FieldType::Text);
    EXPECT_EQ(def.fields[1].size, 7);
    EXPECT_EQ(def.fields[2].type, dao::FieldType::Memo);
    EXPECT_EQ(def.fields[3].type, dao::FieldType::Double);
    EXPECT_EQ(def.fields[4].type, dao::FieldType::Long);
    EXPECT_EQ(def.fields[5].type, dao::FieldType::YesNo);
    EXPECT_EQ(def.fields[6].type, dao::FieldType::Date);
    ASSERT_EQ(def.indexes.size(), 1u);
    EXPECT_EQ(def.indexes[0].name, "CODEMODIndexx");
    EXPECT_EQ(def.indexes[0].fields, QStringList{"CODEMOD"});
    EXPECT_EQ(db.scalar("SELECT count(*) FROM sqlite_master WHERE name = 'CODES_CODEMODIndexx'").toLongLong(), 1);

    // The same index name on another table is no clash.
    dao::TableDef copy = def;
    copy.name = "DATA0001";
    db.CreateTable(copy);
    EXPECT_EQ(db.tableDef("DATA0001").indexes.at(0).name, "CODEMODIndexx");
    EXPECT_EQ(db.TableNames(), (QStringList{"CODES", "DATA0001"}));
    EXPECT_EQ(errorOf([&] { db.tableDef("NOPE"); }).number, 3265);
}

TEST_F(DatabaseTest, TextColumnsCompareWithoutLetterCase)
{
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES WHERE CODEMOD = 'a0021'").toLongLong(), 1);
    EXPECT_EQ(db.scalar("SELECT CODEMOD FROM CODES ORDER BY DESC LIMIT 1 OFFSET 2").toString(), "99211");
}

struct StatementCase {
    const char* sql;
    const char* column;
    dao::Variant expected;
};

TEST_F(DatabaseTest, StatementTextFollowsTheColumnKinds)
{
    const StatementCase cases[] = {
        {"UPDATE CODES SET WORKZ = '' WHERE CODEMOD = '99211'", "WORKZ", dao::Variant()},
        {"UPDATE CODES SET calcflag = '' WHERE CODEMOD = '99211'", "calcflag", dao::Variant()},
        {"UPDATE CODES SET WORKZ = '12.50' WHERE CODEMOD = '99211'", "WORKZ", dao::Variant(12.5)},
        {"UPDATE CODES SET FLAG = 1 WHERE CODEMOD = '99211'", "FLAG", dao::Variant(-1)},
        {"UPDATE CODES SET FLAG = 7.5 WHERE CODEMOD = '99211'", "FLAG", dao::Variant(-1)},
        {"UPDATE CODES SET FLAG = True WHERE CODEMOD = '99211'", "FLAG", dao::Variant(-1)},
        {"UPDATE CODES SET FLAG = false WHERE CODEMOD = '99211'", "FLAG", dao::Variant(0)},
        {"UPDATE CODES SET SEEN = #12/4/2003# WHERE CODEMOD = '99211'", "SEEN", dao::Variant("2003-12-04")},
        {"UPDATE CODES SET SEEN = #1/2/2004 1:05:00 PM# WHERE CODEMOD = '99211'", "SEEN",
         dao::Variant("2004-01-02 13:05:00")},
        {"UPDATE CODES SET DESC = '' WHERE CODEMOD = '99211'", "DESC", dao::Variant("")},
        {"UPDATE CODES SET DESC = '#1/2/2004#' WHERE CODEMOD = '99211'", "DESC", dao::Variant("#1/2/2004#")},
        {"UPDATE CODES SET DESC = 'True' WHERE CODEMOD = '99211'", "DESC", dao::Variant("True")},
    };
    for (const auto& c : cases) {
        db.Execute(c.sql);
        EXPECT_EQ(db.scalar(QString("SELECT %1 FROM CODES WHERE CODEMOD = '99211'").arg(c.column)), c.expected)
            << c.sql;
    }
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES WHERE FLAG = True").toLongLong(), 0);
    db.Execute("INSERT INTO CODES (CODEMOD, WORKZ, FLAG) VALUES ('X', '', 2)");
    EXPECT_TRUE(db.scalar("SELECT WORKZ FROM CODES WHERE CODEMOD = 'X'").isNull());
    EXPECT_EQ(db.scalar("SELECT FLAG FROM CODES WHERE CODEMOD = 'X'").toLongLong(), -1);
}

TEST_F(DatabaseTest, TextThatIsNoNumberNeverEntersANumberColumn)
{
    for (const char* sql : {"UPDATE CODES SET WORKZ = 'abc'", "INSERT INTO CODES (CODEMOD, calcflag) VALUES ('Y', 'x1')",
                            "UPDATE CODES SET FLAG = 'maybe'"}) {
        const dao::Error e = errorOf([&] { db.Execute(sql); });
        EXPECT_EQ(e.number, 3421) << sql;
        EXPECT_EQ(e.description, "Data type conversion error.");
    }
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES WHERE typeof(WORKZ) = 'text'").toLongLong(), 0);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES").toLongLong(), 4);
}

TEST_F(DatabaseTest, RulesFollowARenamedTableAndCoverANewOneOfTheOldName)
{
    db.Execute("ALTER TABLE CODES RENAME TO DATA0001");
    db.Execute("CREATE TABLE CODES (CODEMOD TEXT(7) COLLATE NOCASE, GAP REAL)");
    db.Execute("INSERT INTO CODES VALUES ('1', '')");
    db.Execute("INSERT INTO DATA0001 (CODEMOD, WORKZ, FLAG) VALUES ('2', '', 5)");
    EXPECT_TRUE(db.scalar("SELECT GAP FROM CODES").isNull());
    EXPECT_TRUE(db.scalar("SELECT WORKZ FROM DATA0001 WHERE CODEMOD = '2'").isNull());
    EXPECT_EQ(db.scalar("SELECT FLAG FROM DATA0001 WHERE CODEMOD = '2'").toLongLong(), -1);
    EXPECT_EQ(errorOf([&] { db.Execute("UPDATE DATA0001 SET WORKZ = 'x'"); }).number, 3421);
}

TEST_F(DatabaseTest, RulesFollowTableStatementsInAnyLetterCaseAndSpacing)
{
    db.Execute("\n  alter\tTABLE CODES rename to DATA0001");
    db.Execute("\tcreate\ntable CODES (CODEMOD TEXT(7) COLLATE NOCASE, GAP REAL)");
    db.Execute(" Alter Table CODES\nadd COLUMN MORE REAL");
    for (int i = 0; i < 2; ++i) {  // the second run takes the statement as kept from the first
        EXPECT_EQ(errorOf([&] { db.Execute("UPDATE DATA0001 SET WORKZ = 'x' WHERE FLAG IS NOT True"); }).number,
                  3421);
        EXPECT_EQ(errorOf([&] { db.Execute("INSERT INTO CODES (CODEMOD, GAP) VALUES ('1', 'y')"); }).number, 3421);
        EXPECT_EQ(errorOf([&] { db.Execute("INSERT INTO CODES (CODEMOD, MORE) VALUES ('1', 'y')"); }).number, 3421);
        db.Execute("INSERT INTO CODES (CODEMOD, MORE) VALUES ('2', '')");
        EXPECT_EQ(db.scalar("SELECT #1/2/2004#"), dao::Variant("2004-01-02"));
    }
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES WHERE MORE IS NULL").toLongLong(), 2);
}

TEST_F(DatabaseTest, ParametersAndRecordsAffected)
{
    db.Execute("UPDATE CODES SET Tag = ? WHERE CODEMOD LIKE ?", {"+", "992*"});
    EXPECT_EQ(db.RecordsAffected(), 2);
    // A quote in a value is data, never statement text.
    db.Execute("INSERT INTO CODES (CODEMOD, DESC) VALUES (?, ?)", {"Q1", "it's; DROP TABLE CODES"});
    EXPECT_EQ(db.scalar("SELECT DESC FROM CODES WHERE CODEMOD = ?", {"q1"}).toString(), "it's; DROP TABLE CODES");
    db.Execute("DELETE FROM CODES WHERE CODEMOD = ?; DELETE FROM CODES WHERE CODEMOD = ?", {"Q1", "A0021"});
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CODES").toLongLong(), 3);
}

TEST_F(DatabaseTest, StatementsAreCounted)
{
    const qint64 before = dao::statementCount();
    db.Execute("UPDATE CODES SET Tag = NULL");
    dao::Recordset rs = db.OpenRecordset("SELECT * FROM CODES");
    db.Execute("CREATE TABLE MORE (A REAL)");  // its column rules are the layer's own business
    {
        dao::Transaction t(db);
        rs.FindFirst("CODEMOD = ?", {"A0021"});
        rs.Edit();
        rs["Tag"] = "+";
        rs.Update();
        t.Commit();
    }
    EXPECT_EQ(dao::statementCount() - before, 5);
}

TEST_F(DatabaseTest, CreateDatabaseRefusesAnExistingFile)
{
    EXPECT_EQ(errorOf([&] { dao::CreateDatabase(path("test.mdb")); }).number, 3204);
    dao::Database other = dao::CreateDatabase(path("other.mdb"));
    EXPECT_TRUE(other.TableNames().isEmpty());
    EXPECT_TRUE(QFile::exists(path("other.mdb")));
}

}  // namespace
