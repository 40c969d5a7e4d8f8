#pragma once

#include "app/endprogram.h"
#include "app/globals.h"
#include "db/schema.h"
#include "support/SampleDb.h"
#include "support/SeamTest.h"

#include <memory>

// A fresh installation in small: PARMS_CL and "Default" as shipped, three codes in DATA0000, six localities
// (the national row, one in Alabama, three in California, one in New York) and four ZIP codes, one of them
// pointing at a locality that LOCATION does not hold. The database is the program's MainDb.
class FirstRunFixture : public SeamTest {
protected:
    std::unique_ptr<testsupport::FixtureDb> fixture;

    dao::Database& db() { return fixture->db(); }

    void SetUp() override
    {
        SeamTest::SetUp();
        resetProgramEnded();
        fixture = std::make_unique<testsupport::FixtureDb>(
            QStringList{"PARMS_CL", "SESSIONS", "DATA0000", "LOCATION", "ZPLC"});
        dao::Database& d = db();
        db::insertRow(d, "DATA0000", {{"CODEMOD", "99213"}, {"CPT", "99213"}, {"DESC", "Office visit"},
                                      {"WORKZ", 0.97}, {"calcflag", 1}});
        db::insertRow(d, "DATA0000", {{"CODEMOD", "7101026"}, {"CPT", "71010"}, {"MOD", "26"}, {"S3", 14.25}});
        db::insertRow(d, "DATA0000", {{"CODEMOD", "A0021"}, {"Tag", "+"}, {"NOTES", "a\r\nb"}});
        const struct {
            const char *state, *st, *desc, *carrier, *loc;
            double work, pract, malp;
        } localities[] = {
            {"NATIONAL VALUES", "**", "NATIONAL VALUES", "00000", "00", 1, 1, 1},
            {"ALABAMA", "AL", "STATEWIDE", "10112", "00", 1.0, 0.869, 0.483},
            {"CALIFORNIA", "CA", "LOS ANGELES", "01182", "18", 1.041, 1.177, 0.68},
            {"CALIFORNIA", "CA", "SAN FRANCISCO", "01112", "05", 1.068, 1.464, 0.49},
            {"CALIFORNIA", "CA", "REST OF CALIFORNIA", "01182", "26", 1.007, 1.033, 0.587},
            {"NEW YORK", "NY", "MANHATTAN", "13202", "01", 1.064, 1.201, 1.4},
        };
        for (const auto& l : localities)
            db::insertRow(d, "LOCATION", {{"STATE", l.state}, {"ST", l.st}, {"DESC", l.desc}, {"COUNTY", "ALL"},
                                          {"CARRIER", l.carrier}, {"LOCCODE", l.loc}, {"WORK", l.work},
                                          {"PRACT", l.pract}, {"MALP", l.malp}});
        const struct {
            const char *zip, *carrier, *loc;
            dao::Variant rural;
        } zips[] = {{"35004", "10112", "00", "B"},
                    {"90001", "01182", "18", dao::Variant()},
                    {"10001", "13202", "01", ""},
                    {"99999", "99999", "99", dao::Variant()}};
        for (const auto& z : zips)
            db::insertRow(d, "ZPLC", {{"ZIPCODE", z.zip}, {"CARRIER", z.carrier}, {"LOCALITY", z.loc},
                                      {"rural ind", z.rural}, {"Version", "20144"}});
        g().MainDb = d;
        g().AppTitle = QStringLiteral("KELVA Morvex\u00AE 2014 ");
        g().SelectedZip.clear();
        g().RuralInd.clear();
    }

    void TearDown() override
    {
        SeamTest::TearDown();
        g().MainDb = dao::Database();
        g().SelectedZip.clear();
        g().RuralInd.clear();
        resetProgramEnded();
        fixture.reset();
    }

    dao::Variant parms(const QString& column) { return db().scalar("SELECT " + column + " FROM PARMS_CL"); }
    dao::Variant session(const QString& name, const QString& column)
    {
        return db().scalar("SELECT " + column + " FROM SESSIONS WHERE Session = ?", {name});
    }
};
