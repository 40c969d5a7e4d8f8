// The fixture builder: small databases from the same schema text, rows put in by name, and the state a
// completed first run leaves.

#include "support/SampleDb.h"

#include "db/schema.h"
#include "platform/dao/Database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::FixtureDb;

TEST(Fixture, OnlyTheTablesAskedForWithTheFreshRows)
{
    FixtureDb f({"PARMS_CL", "sessions", "DATA0000"});
    QStringList tables = f.db().TableNames();
    tables.sort();
    EXPECT_EQ(tables, (QStringList{"DATA0000", "PARMS_CL", "SESSIONS"}));
    EXPECT_EQ(f.db().scalar("SELECT count(*) FROM SESSIONS WHERE Session = 'Default'").toLongLong(), 1);
    EXPECT_EQ(f.db().scalar("SELECT ExportCnt FROM PARMS_CL").toLongLong(), 1000);
    EXPECT_EQ(f.db().scalar("SELECT count(*) FROM DATA0000").toLongLong(), 0);
    // The session row's layout lists name COLSTRUCT's 61 entries even when COLSTRUCT is not made.
    EXPECT_EQ(f.db().scalar("SELECT COLVS FROM SESSIONS").toString().split(',').size(), 61);
}

TEST(Fixture, TheViewComesWithTheWholeSchemaAndItsTablesOnRequest)
{
    FixtureDb all;
    EXPECT_EQ(all.db().scalar("SELECT count(*) FROM ZIP_GPCI").toLongLong(), 0);
    EXPECT_EQ(all.db().scalar("SELECT count(*) FROM COLSTRUCT").toLongLong(), 61);
    EXPECT_EQ(db::schemaTables().size(), 31);  // 30 tables and the view

    FixtureDb zips({"LOCATION", "ZPLC", "ZIP_GPCI"}, false, false);
    db::insertRow(zips.db(), "LOCATION", {{"STATE", "TEXAS"}, {"ST", "TX"}, {"DESC", "HOUSTON"}, {"CARRIER", "04412"},
                                          {"LOCCODE", "18"}, {"WORK", 1.019}, {"PRACT", 1.013}, {"MALP", 0.887}});
    db::insertRow(zips.db(), "ZPLC", {{"ZIPCODE", "77001"}, {"CARRIER", "04412"}, {"LOCALITY", "18"}});
    EXPECT_EQ(zips.db().scalar("SELECT \"DESC\" FROM ZIP_GPCI WHERE ZIPCODE = '77001'"), dao::Variant("HOUSTON"));
}

TEST(Fixture, UnknownNamesAreRefused)
{
    QTemporaryDir dir;
    dao::Database d = dao::CreateDatabase(dir.filePath("x.mdb"));
    try {
        db::createSchema(d, {"DATA0000", "NOSUCHTABLE"});
        ADD_FAILURE() << "an unknown table was accepted";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, dao::errItemNotFound);
    }
    EXPECT_FALSE(d.hasTable("DATA0000")) << "nothing made";
    db::createSchema(d, {"DATA0000"});
    EXPECT_THROW(db::insertRow(d, "DATA0000", {{"CODEMOD", "99213"}, {"NOSUCHCOLUMN", 1}}), dao::Error);
    EXPECT_THROW(db::createTemplate(d, "other.mdb"), dao::Error);
    d.Close();
}

TEST(Fixture, RowsByNameWithTheColumnRulesOfTheDataLayer)
{
    FixtureDb f({"DATA0000"});
    db::insertRow(f.db(), "DATA0000", {{"codemod", "99213"}, {"CPT", "99213"}, {"WORKZ", 0.97}, {"calcflag", 1}});
    dao::Recordset rs = f.db().OpenRecordset("DATA0000");
    EXPECT_EQ(rs["CODEMOD"].Value(), dao::Variant("99213"));
    EXPECT_DOUBLE_EQ(rs["WORKZ"].Value().toDouble(), 0.97);
    EXPECT_TRUE(rs["MOD"].Value().isNull());
    rs.Close();
    // A text that is no number is refused in a number column, as the program expects of every table.
    EXPECT_THROW(db::insertRow(f.db(), "DATA0000", {{"CODEMOD", "99214"}, {"WORKZ", "abc"}}), dao::Error);
}

TEST(Fixture, TemplatesHoldTheirTablesEmpty)
{
    struct Case {
        const char* file;
        const char* table;
        int columns;
    };
    const Case cases[] = {{"export.mdb", "export", 52},
                          {"backup.mdb", "SESSIONSBKP", 23},
                          {"backup.mdb", "DATA0000BKP", 48},
                          {"backupAllSess.mdb", "allsessions", 23}};
    for (const Case& c : cases) {
        QTemporaryDir dir;
        dao::Database d = dao::CreateDatabase(dir.filePath("t.mdb"));
        db::createTemplate(d, QString::fromLatin1(c.file).toUpper());
        const dao::TableDef def = d.tableDef(QString::fromLatin1(c.table));
        EXPECT_EQ(def.name, QString::fromLatin1(c.table)) << c.file;
        EXPECT_EQ(int(def.fields.size()), c.columns) << c.table;
        d.Close();
    }
}

TEST(Fixture, FirstSessionOnTheSample)
{
    testsupport::SampleDb sample;
    dao::Database d = sample.open();
    const testsupport::FirstSession s = testsupport::makeFirstSession(d);
    EXPECT_EQ(s.geoloc, "NEW YORK - MANHATTAN");

    const dao::TableDef model = d.tableDef("DATA0000"), copy = d.tableDef("DATA0001");
    ASSERT_EQ(copy.fields.size(), model.fields.size());
    for (std::size_t i = 0; i < model.fields.size(); ++i) {
        EXPECT_EQ(copy.fields[i].name, model.fields[i].name);
        EXPECT_EQ(copy.fields[i].type, model.fields[i].type);
        EXPECT_EQ(copy.fields[i].size, model.fields[i].size);
    }
    ASSERT_EQ(copy.indexes.size(), 1u);
    EXPECT_EQ(copy.indexes[0].name, "CODEMODIndexx");
    EXPECT_EQ(d.scalar("SELECT count(*) FROM DATA0001").toLongLong(),
              d.scalar("SELECT count(*) FROM DATA0000").toLongLong());

    dao::Recordset p = d.OpenRecordset("PARMS_CL");
    EXPECT_EQ(p["CreateTables"].Value().toLongLong(), 1);
    EXPECT_EQ(p["SESCOUNT"].Value().toLongLong(), 2);
    EXPECT_EQ(p["CURSES"].Value(), dao::Variant("Sample"));
    EXPECT_EQ(p["CARRIER"].Value(), dao::Variant("13202"));
    EXPECT_EQ(p["Loc"].Value(), dao::Variant("01"));
    p.Close();

    dao::Recordset r = d.OpenRecordset("SESSIONS");
    EXPECT_EQ(r["Session"].Value(), dao::Variant("Default"));
    EXPECT_EQ(r["GEOLOC"].Value(), dao::Variant("NEW YORK - MANHATTAN"));
    const QString colvs = r["COLVS"].Value().toString();
    r.MoveNext();
    EXPECT_EQ(r["Session"].Value(), dao::Variant("Sample"));
    EXPECT_EQ(r["SESTAB"].Value(), dao::Variant("DATA0001"));
    EXPECT_DOUBLE_EQ(r["CURWORKGPCI"].Value().toDouble(), 1.06);
    EXPECT_DOUBLE_EQ(r["CURMALPGPCI"].Value().toDouble(), 1.568);
    EXPECT_EQ(r["CV44"].Value().toLongLong(), -1);
    EXPECT_EQ(r["COLVS"].Value().toString(), colvs);
    EXPECT_EQ(r["PLIMCOL"].Value().toLongLong(), 19);
    EXPECT_TRUE(r["OPTName"].Value().isNull()) << "the wizard leaves OPTName to the table's default";
    EXPECT_EQ(r["GDEC"].Value().toLongLong(), 0);
    r.Close();
    d.Close();
}

}  // namespace
