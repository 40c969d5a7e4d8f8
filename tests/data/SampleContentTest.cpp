// The sample reference data looks like a data year's: localities and GPCIs, the physician codes the later
// windows rely on, OPPS caps, the family tables, and the fee formula computed in SQL and in C++.

#include "support/SampleDb.h"

#include "platform/dao/Database.h"
#include "platform/dao/jetfunctions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using testsupport::SampleDb;

class SampleContent : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sample = new SampleDb;
        db = new dao::Database(sample->open());
    }
    static void TearDownTestSuite()
    {
        db->Close();
        delete db;
        delete sample;
    }
    static qint64 count(const QString& sql, const std::vector<dao::Variant>& params = {})
    {
        return db->scalar(sql, params).toLongLong();
    }
    static inline SampleDb* sample = nullptr;
    static inline dao::Database* db = nullptr;
};

TEST_F(SampleContent, NationalRowFirstThen89LocalitiesOfEveryState)
{
    dao::Recordset loc = db->OpenRecordset("LOCATION");
    ASSERT_FALSE(loc.EOF());
    EXPECT_EQ(loc["STATE"].Value(), dao::Variant("NATIONAL VALUES"));
    EXPECT_EQ(loc["DESC"].Value(), dao::Variant("NATIONAL VALUES"));
    EXPECT_EQ(loc["ST"].Value(), dao::Variant("**"));
    for (const char* g : {"WORK", "PRACT", "MALP"})
        EXPECT_EQ(loc[g].Value().toDouble(), 1.0) << g;
    loc.Close();

    EXPECT_EQ(count("SELECT count(*) FROM LOCATION WHERE ST <> '**'"), 89);
    EXPECT_EQ(count("SELECT count(DISTINCT ST) FROM LOCATION WHERE ST <> '**'"), 53);  // 50 states, DC, PR, VI
    EXPECT_EQ(count("SELECT count(*) FROM (SELECT DISTINCT CARRIER, LOCCODE FROM LOCATION WHERE ST <> '**')"), 89);
    EXPECT_GE(count("SELECT count(*) FROM LOCATION WHERE ST = 'CA'"), 5);
    EXPECT_GE(count("SELECT count(*) FROM LOCATION WHERE ST = 'NY'"), 3);
    EXPECT_EQ(count("SELECT count(*) FROM LOCATION WHERE \"DESC\" IN ('MANHATTAN', 'REST OF CALIFORNIA')"), 2);
    // Realistic ranges, at most three decimals (the settings window shows them as #0.000).
    EXPECT_EQ(count("SELECT count(*) FROM LOCATION WHERE ST <> '**' AND NOT ("
                    "(WORK BETWEEN 0.96 AND 1.09 OR WORK = 1.5) AND PRACT BETWEEN 0.85 AND 1.40 "
                    "AND MALP BETWEEN 0.30 AND 2.70)"),
              0);
    EXPECT_EQ(count("SELECT count(*) FROM LOCATION WHERE WORK = 1.5"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM LOCATION WHERE abs(WORK * 1000 - round(WORK * 1000)) > 1e-6 "
                    "OR abs(PRACT * 1000 - round(PRACT * 1000)) > 1e-6 OR abs(MALP * 1000 - round(MALP * 1000)) > 1e-6"),
              0);
    // Stored order after the national row: by state, then description.
    dao::Recordset order = db->OpenRecordset("SELECT STATE, \"DESC\" FROM LOCATION WHERE ST <> '**'");
    QString previous;
    for (; !order.EOF(); order.MoveNext()) {
        const QString key = order["STATE"].Value().toString() + '|' + order["DESC"].Value().toString();
        EXPECT_LT(previous, key);
        previous = key;
    }
}

TEST_F(SampleContent, ZipCodesMapToLocalitiesThroughTheView)
{
    const qint64 zips = count("SELECT count(*) FROM ZPLC");
    EXPECT_GE(zips, 2000);
    EXPECT_EQ(count("SELECT count(*) FROM ZPLC WHERE Version <> '20141' OR Version IS NULL"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM ZIP_GPCI"), zips);
    EXPECT_EQ(count("SELECT count(*) FROM ZIP_GPCI WHERE WORK IS NULL"), 0) << "every ZIP code has its locality";
    EXPECT_GT(count("SELECT count(*) FROM ZPLC WHERE \"rural ind\" = 'R'"), 0);
    dao::Recordset z = db->OpenRecordset("SELECT * FROM ZIP_GPCI WHERE ZIPCODE = '10001'");
    ASSERT_FALSE(z.EOF());
    EXPECT_EQ(z["DESC"].Value(), dao::Variant("MANHATTAN"));
    const QStringList columns{"ZIPCODE", "CARRIER", "LOCALITY", "RURAL IND", "VERSION", "WORK",
                              "PRACT",   "MALP",    "STATE",    "COUNTY",    "DESC"};
    ASSERT_EQ(z.FieldCount(), columns.size());
    for (int i = 0; i < z.FieldCount(); ++i)
        EXPECT_EQ(z.Fields(i).Name(), columns[i]);
    z.Close();
    // The ZIP code export opens the view by its name, as a table.
    dao::Recordset view = db->OpenRecordset("ZIP_GPCI");
    EXPECT_EQ(view.FieldCount(), columns.size());
    EXPECT_FALSE(view.EOF());
}

TEST_F(SampleContent, PhysicianCodesTheWindowsRelyOn)
{
    const qint64 rows = count("SELECT count(*) FROM DATA0000");
    EXPECT_GE(rows, 15000);
    EXPECT_LE(rows, 19000);
    EXPECT_EQ(count("SELECT count(*) FROM DATA0000 WHERE CODEMOD IN ('71010', '7101026', '71010TC', '99213')"), 4);
    EXPECT_EQ(count("SELECT count(*) FROM DATA0000 WHERE CODEMOD <> jcat(CPT, MOD)"), 0);
    EXPECT_GT(count("SELECT count(*) FROM DATA0000 WHERE STATUS LIKE '*g*'"), 0);
    EXPECT_GT(count("SELECT count(*) FROM DATA0000 WHERE CPT LIKE '[A-Z]*'"), 1000);
    EXPECT_GT(count("SELECT count(*) FROM DATA0000 WHERE MOD = '53'"), 0);
    // About one row in eight is a 26 or TC row; about half are priced, most of them status A.
    const double components = double(count("SELECT count(*) FROM DATA0000 WHERE MOD IN ('26', 'TC')")) / rows;
    EXPECT_GT(components, 0.08);
    EXPECT_LT(components, 0.17);
    const double pricedShare = double(count("SELECT count(*) FROM DATA0000 WHERE calcflag = 1")) / rows;
    EXPECT_GT(pricedShare, 0.4);
    EXPECT_LT(pricedShare, 0.65);
    EXPECT_GT(count("SELECT count(*) FROM DATA0000 WHERE STATUS = 'A'"), rows / 3);
    for (const char* status : {"B", "C", "I", "N", "R", "T", "X"})
        EXPECT_GT(count("SELECT count(*) FROM DATA0000 WHERE STATUS = ?", {status}), 0) << status;
    // Priced rows have RVUs; unpriced ones are 0; every shipped row holds a number from WORKZ to FTTOTAL.
    EXPECT_EQ(count("SELECT count(*) FROM DATA0000 WHERE calcflag = 1 AND NFTTOTAL <= 0"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM DATA0000 WHERE WORKZ IS NULL OR FRBPERVU IS NULL OR NFBPERVU IS NULL "
                    "OR NFTPERVU IS NULL OR NFRBPERVU IS NULL OR FBPERVU IS NULL OR FTPERVU IS NULL OR MRVU IS NULL "
                    "OR NFRBTOTAL IS NULL OR NFTTOTAL IS NULL OR FRBTOTAL IS NULL OR FTTOTAL IS NULL"),
              0);
    EXPECT_EQ(count("SELECT count(*) FROM DATA0000 WHERE abs(NFTTOTAL - (WORKZ + NFTPERVU + MRVU)) > 0.0051"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM DATA0000 WHERE calcflag = 1 AND (NF98WORK <> NFTPERVU OR F98WORK <> FTPERVU)"),
              0);
    // Office visits near 1-2 work RVUs; a long surgical tail up to about 100.
    EXPECT_DOUBLE_EQ(db->scalar("SELECT WORKZ FROM DATA0000 WHERE CODEMOD = '99213'").toDouble(), 0.97);
    const double maxWork = db->scalar("SELECT max(WORKZ) FROM DATA0000").toDouble();
    EXPECT_GT(maxWork, 60);
    EXPECT_LE(maxWork, 100);
    // Descriptions are generated, never copied.
    EXPECT_EQ(count("SELECT count(*) FROM DATA0000 WHERE \"DESC\" NOT LIKE 'Sample *'"), 0);
    // The user columns are empty as shipped.
    EXPECT_EQ(count("SELECT count(*) FROM DATA0000 WHERE Tag IS NOT NULL OR S1 IS NOT NULL OR Freq1 IS NOT NULL "
                    "OR NOTES IS NOT NULL OR USRDF IS NOT NULL"),
              0);
}

TEST_F(SampleContent, CappedCodesHaveOppsRowsInEveryLocalityAtTheLesserAmount)
{
    const qint64 capped = count("SELECT count(*) FROM DATA0000 WHERE OPPS_CAP_IND = 'YC'");
    EXPECT_GT(capped, 50);
    EXPECT_EQ(count("SELECT count(*) FROM DATA0000 WHERE OPPS_CAP_IND = 'YC' AND NON_PE_OPPS <= 0"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM DATAOPPSVIEW"), capped * 89);
    EXPECT_EQ(count("SELECT count(*) FROM (SELECT CODEMOD FROM DATAOPPSVIEW GROUP BY CODEMOD "
                    "HAVING count(DISTINCT carrier || locality) >= 2)"),
              capped);
    EXPECT_EQ(count("SELECT count(*) FROM DATAOPPSVIEW v LEFT JOIN LOCATION l ON l.CARRIER = v.carrier "
                    "AND l.LOCCODE = v.locality WHERE l.STATE IS NULL"),
              0);

    // The stored amounts are the lesser of the fee schedule amount of the locality and the OPPS amount.
    dao::Recordset rs = db->OpenRecordset(
        "SELECT v.WORKZ, v.NF98WORK, v.F98WORK, v.MRVU, v.NON_PE_OPPS, v.FAC_PE_OPPS, v.MAL_PE_OPPS, "
        "v.NFTTOTAL, v.FTTOTAL, l.WORK, l.PRACT, l.MALP FROM DATAOPPSVIEW v "
        "JOIN LOCATION l ON l.CARRIER = v.carrier AND l.LOCCODE = v.locality");
    int checked = 0, belowFee = 0;
    for (; !rs.EOF(); rs.MoveNext(), ++checked) {
        auto v = [&](const char* f) { return rs[f].Value().toDouble(); };
        auto fee = [&](double pe, double mp) {
            return jet::round((jet::round(v("WORKZ"), 2) * v("WORK") + pe * v("PRACT") + mp * v("MALP")) * 35.8228, 2);
        };
        const double pfs = fee(v("NF98WORK"), v("MRVU")), opps = fee(v("NON_PE_OPPS"), v("MAL_PE_OPPS"));
        EXPECT_DOUBLE_EQ(v("NFTTOTAL"), std::min(pfs, opps));
        EXPECT_DOUBLE_EQ(v("FTTOTAL"), std::min(fee(v("F98WORK"), v("MRVU")), fee(v("FAC_PE_OPPS"), v("MAL_PE_OPPS"))));
        belowFee += v("NFTTOTAL") < pfs;
    }
    EXPECT_EQ(checked, capped * 89);
    EXPECT_GT(belowFee, 0);
}

// The non-facility participating fee of the formula, computed in SQL on the sample and in C++ from the
// stored RVUs and GPCIs, for a few codes in two localities.
TEST_F(SampleContent, ParticipatingFeeInSqlMatchesTheSameArithmeticInCpp)
{
    struct Locality {
        const char* state;
        const char* desc;
    };
    const Locality localities[] = {{"NEW YORK", "MANHATTAN"}, {"MISSOURI", "REST OF MISSOURI"}};
    const char* codes[] = {"99213", "71010", "7101026", "71010TC", "99215"};
    const double cf = 35.8228;
    for (const Locality& l : localities) {
        dao::Recordset g = db->OpenRecordset("SELECT WORK, PRACT, MALP FROM LOCATION WHERE STATE = ? AND \"DESC\" = ?",
                                             {l.state, l.desc});
        ASSERT_FALSE(g.EOF()) << l.desc;
        const double w = g["WORK"].Value().toDouble(), p = g["PRACT"].Value().toDouble(), m = g["MALP"].Value().toDouble();
        g.Close();
        for (const char* code : codes) {
            const dao::Variant sqlFee = db->scalar(
                "SELECT round((round(WORKZ * 1, 2) * ? + NF98WORK * ? + MRVU * ?) * ?, 2) * calcflag "
                "FROM DATA0000 WHERE CODEMOD = ?",
                {w, p, m, cf, code});
            dao::Recordset r = db->OpenRecordset("SELECT WORKZ, NF98WORK, MRVU, calcflag FROM DATA0000 WHERE CODEMOD = ?",
                                                 {code});
            ASSERT_FALSE(r.EOF()) << code;
            const double cppFee = jet::round((jet::round(r["WORKZ"].Value().toDouble() * 1.0, 2) * w +
                                              r["NF98WORK"].Value().toDouble() * p + r["MRVU"].Value().toDouble() * m) *
                                                 cf,
                                             2) *
                                  r["calcflag"].Value().toDouble();
            EXPECT_DOUBLE_EQ(sqlFee.toDouble(), cppFee) << code << " in " << l.desc;
            EXPECT_GT(cppFee, 0) << code;
        }
    }
    // One worked figure: 99213 in Manhattan, (0.97 x 1.06 + 0.99 x 1.3 + 0.07 x 1.568) x 35.8228 = 86.87.
    EXPECT_DOUBLE_EQ(db->scalar("SELECT round((round(d.WORKZ, 2) * l.WORK + d.NF98WORK * l.PRACT + d.MRVU * l.MALP) "
                                "* 35.8228, 2) FROM DATA0000 d, LOCATION l WHERE d.CODEMOD = '99213' "
                                "AND l.\"DESC\" = 'MANHATTAN'")
                         .toDouble(),
                     86.87);
}

TEST_F(SampleContent, FamilyTablesWithTheirStateColumnsFilled)
{
    struct Family {
        const char* table;
        const char* firstState;
        const char* lastState;
        qint64 minRows, maxRows;
    };
    const Family families[] = {
        {"DME", "AL", "VI", 2500, 4500},
        {"LAB", "IN", "KS2", 1100, 2100},
        {"JCD", "NY2", "RI", 700, 900},
    };
    for (const Family& f : families) {
        const qint64 rows = count(QStringLiteral("SELECT count(*) FROM %1").arg(f.table));
        EXPECT_GE(rows, f.minRows) << f.table;
        EXPECT_LE(rows, f.maxRows) << f.table;
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM %1 WHERE \"%2\" IS NULL OR \"%3\" IS NULL")
                            .arg(f.table, f.firstState, f.lastState)),
                  0)
            << f.table;
    }
    EXPECT_EQ(count("SELECT count(*) FROM DME WHERE Ceiling IS NULL OR Floor IS NULL OR Floor > Ceiling "
                    "OR CA < Floor OR CA > Ceiling"),
              0);
    EXPECT_EQ(count("SELECT count(*) FROM DME WHERE CATG NOT IN (SELECT CAT FROM DMECATS)"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM LAB WHERE NationalLimit IS NULL OR MidPoint IS NULL OR LabFloor IS NULL "
                    "OR CA1 > NationalLimit"),
              0);
    EXPECT_GT(count("SELECT count(*) FROM LAB WHERE Mod = 'QW'"), 0);
    EXPECT_GT(count("SELECT count(*) FROM JCD WHERE CA > 0"), count("SELECT count(*) FROM JCD") * 9 / 10);
    EXPECT_EQ(count("SELECT count(*) FROM crosswalk WHERE \"HCPCS Code\" NOT IN (SELECT HCPCS FROM JCD)"), 0);
    const qint64 ndcs = count("SELECT count(*) FROM crosswalk");
    EXPECT_GE(ndcs, 5000);
    EXPECT_LE(ndcs, 9000);
    EXPECT_EQ(count("SELECT count(DISTINCT NDC) FROM crosswalk"), ndcs);
}

TEST_F(SampleContent, AscDrgAndSmallTables)
{
    struct Range {
        const char* sql;
        qint64 lo, hi;
    };
    const Range ranges[] = {
        {"SELECT count(*) FROM ASC", 3500, 4200},
        {"SELECT count(*) FROM ASCWAGEINDEX", 400, 450},
        {"SELECT count(*) FROM ASCGROUPS", 2000, 3000},
        {"SELECT count(*) FROM ASCGROUPRATES", 9, 9},
        {"SELECT count(*) FROM DRG", 650, 850},
        {"SELECT count(*) FROM DMECATS", 12, 18},
        {"SELECT count(*) FROM GAP", 50, 300},
        {"SELECT count(*) FROM specdesc", 70, 90},
        {"SELECT count(*) FROM specfreq", 25000, 35000},
        {"SELECT count(*) FROM DatesJCD", 50, 70},
        {"SELECT count(*) FROM COLSTRUCT", 61, 61},
    };
    for (const Range& r : ranges) {
        const qint64 n = count(QString::fromLatin1(r.sql));
        EXPECT_GE(n, r.lo) << r.sql;
        EXPECT_LE(n, r.hi) << r.sql;
    }
    for (const char* table : {"DatesKELVA", "DatesDME", "DatesLAB", "DatesASC", "DatesDRG"})
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM %1").arg(table)), 1) << table;
    for (const char* table : {"Procoden", "MMA", "SHIST", "THIST"})
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM %1").arg(table)), 0) << table;

    // The user's own wage index sorts first; ASC payments follow the weights.
    EXPECT_EQ(db->scalar("SELECT \"State Name\" FROM ASCWAGEINDEX ORDER BY ST_Name, \"State Name\" LIMIT 1"),
              dao::Variant("User Value"));
    EXPECT_EQ(count("SELECT count(*) FROM ASC WHERE abs(trans_payment - weight * 43.471) > 0.006"), 0);
    dao::Recordset asc = db->OpenRecordset("ASC");
    QString previous;
    for (; !asc.EOF(); asc.MoveNext()) {
        const QString code = asc["CODE"].Value().toString();
        EXPECT_LT(previous, code) << "ASC is stored in CODE order";
        previous = code;
    }
    asc.Close();
    EXPECT_EQ(count("SELECT count(*) FROM DRG WHERE DRGTYPE NOT IN ('MED', 'SURG') OR ARW <= 0 OR AMLOS < GMLOS"), 0);
    // The gap merge writes GAP descriptions into statement text: no apostrophes.
    EXPECT_EQ(count("SELECT count(*) FROM GAP WHERE instr(\"Desc\", '''') > 0 OR instr(LDesc, '''') > 0"), 0);
    EXPECT_GT(count("SELECT count(*) FROM GAP WHERE Codemod IN (SELECT CODEMOD FROM DATA0000)"), 0);
    EXPECT_GT(count("SELECT count(*) FROM GAP WHERE Codemod NOT IN (SELECT CODEMOD FROM DATA0000)"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM specdesc WHERE SPECDESC NOT LIKE '##-*'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM specfreq WHERE FirstOfHCPCS NOT IN (SELECT CPT FROM DATA0000)"), 0);
}

}  // namespace
