#include "sessions/FirstRunFixture.h"
#include "sessions/locality.h"

namespace {

using LocalityLookup = FirstRunFixture;

TEST_F(LocalityLookup, StateListPutsTheNationalEntryFirstAndSortsWithoutCase)
{
    db::insertRow(db(), "LOCATION", {{"STATE", "arkansas"}, {"ST", "AR"}, {"DESC", "STATEWIDE"}});
    EXPECT_EQ(locality::stateList(db()),
              (QStringList{" National Values", "ALABAMA", "arkansas", "CALIFORNIA", "NEW YORK"}));
}

TEST_F(LocalityLookup, SourcesListTheLocalitiesOfAChoice)
{
    auto count = [&](const locality::Source& s) { return db().OpenRecordset(s.sql, s.params).RecordCount(); };
    EXPECT_EQ(count(locality::allLocalities()), 6);
    EXPECT_EQ(count(locality::stateLocalities(" National Values")), 1);
    EXPECT_EQ(count(locality::stateLocalities("CALIFORNIA")), 3);
    EXPECT_EQ(count(locality::stateLocalities("O'BRIEN")), 0);  // a bound value, not SQL text
    EXPECT_EQ(count(locality::zipLocalities("01182", "26")), 1);
    EXPECT_EQ(count(locality::zipLocalities("99999", "99")), 0);
}

TEST_F(LocalityLookup, ZipCodeLookup)
{
    const auto found = locality::findZip(db(), "35004");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->carrier, "10112");
    EXPECT_EQ(found->locality, "00");
    EXPECT_EQ(found->ruralInd.toString(), "B");
    EXPECT_TRUE(locality::findZip(db(), "90001")->ruralInd.isNull());
    EXPECT_FALSE(locality::findZip(db(), "00000").has_value());
    EXPECT_FALSE(locality::findZip(db(), "1' OR '1'='1").has_value());
    EXPECT_EQ(locality::zipVersion(db()), "20144");
}

TEST(LocalityText, NamesTheStateOrTheNationalValues)
{
    EXPECT_EQ(locality::localityText("ALABAMA", "AL", "STATEWIDE"), "ALABAMA - STATEWIDE");
    EXPECT_EQ(locality::localityText("NATIONAL VALUES", "**", "NATIONAL VALUES"), "NATIONAL VALUES");
    EXPECT_EQ(locality::localityText("X", "**", "NATIONAL"), "NATIONAL");
    EXPECT_EQ(locality::localityText("X", "XX", "NATIONAL VALUES"), "NATIONAL VALUES");
}

TEST(QuarterText, ReadsTheQuarterDigit)
{
    EXPECT_EQ(locality::quarterText("20141"), "1st Qtr 2014");
    EXPECT_EQ(locality::quarterText("20142"), "2nd Qtr 2014");
    EXPECT_EQ(locality::quarterText("20143"), "3rd Qtr 2014");
    EXPECT_EQ(locality::quarterText("20144"), "4th Qtr 2014");
    EXPECT_EQ(locality::quarterText("20145"), "");
    EXPECT_EQ(locality::quarterText(""), "");
}

}  // namespace
