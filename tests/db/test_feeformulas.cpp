#include "db/feeformulas.h"
#include "platform/dao/Database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct FeeCase {
    const char* name;
    db::FeeFactors factors;
    double workz, nf98work, f98work, mrvu, calcflag;
    double npart, nnpart, nlc, fpart, fnpart, flc;
};

const FeeCase kCases[] = {
    {"worked example", {1, 1, 1, 1, 37.3374}, 1.5, 1.2, 0.8, 0.1, 1, 104.54, 99.31, 114.21, 89.61, 85.13, 97.90},
    {"locality GPCIs", {1, 1, 0.967, 1.2, 37.3374}, 1.5, 1.2, 1.2, 0.1, 1, 103.81, 98.62, 113.41, 103.81, 98.62, 113.41},
    {"not priced", {1, 1, 1, 1, 37.3374}, 1.5, 1.2, 0.8, 0.1, 0, 0, 0, 0, 0, 0, 0},
    // Exactly half a cent: 1012.5 cents go to 1012, 1037.5 to 1038.
    {"half cent down", {1, 1, 1, 1, 10.125}, 1, 0, 0, 0, 1, 10.12, 9.61, 11.05, 10.12, 9.61, 11.05},
    {"half cent up", {1, 1, 1, 1, 10.375}, 1, 0, 0, 0, 1, 10.38, 9.86, 11.34, 10.38, 9.86, 11.34},
    // The limiting charge is the non-participating amount again in whole cents: 14610 * .0095 = 138.79499...
    // gives 138.79, and 13879 cents * .0115 = 159.6085 gives 159.61 (138.80 would have given 159.62).
    {"conversion factor 146.1", {1, 1, 1, 1, 146.1}, 1, 0, 0, 0, 1, 146.10, 138.79, 159.61, 146.10, 138.79, 159.61},
    {"work RVU rounded first", {1, 1, 1, 1, 100}, 0.125, 0, 0, 0, 1, 12, 11.4, 13.11, 12, 11.4, 13.11},
};

class FeeFormulas : public ::testing::TestWithParam<FeeCase> {};

TEST_P(FeeFormulas, SqlAndCppGiveTheWorkedFigures)
{
    const FeeCase& c = GetParam();
    QTemporaryDir dir;
    dao::Database d = dao::CreateDatabase(dir.filePath("fees.mdb"));
    d.Execute("CREATE TABLE DATA0000 (WORKZ REAL, NF98WORK REAL, F98WORK REAL, MRVU REAL, calcflag INTEGER)");
    d.Execute("INSERT INTO DATA0000 VALUES (?, ?, ?, ?, ?)", {c.workz, c.nf98work, c.f98work, c.mrvu, c.calcflag});
    dao::Recordset rs = d.OpenRecordset("SELECT " + db::feeSelectItems(c.factors, db::PeColumn::NonFacility) + ", "
                                        + db::feeSelectItems(c.factors, db::PeColumn::Facility) + " FROM DATA0000");
    const double expected[] = {c.npart, c.nnpart, c.nlc, c.fpart, c.fnpart, c.flc};
    const char* names[] = {"NPART", "NNPART", "NLC", "FPART", "FNPART", "FLC"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rs.fieldName(i), names[i]);
        EXPECT_DOUBLE_EQ(rs[i].Value().toDouble(), expected[i]) << names[i];
    }
    const db::FeeAmounts nf = db::feeAmounts(c.factors, c.workz, c.nf98work, c.mrvu, c.calcflag);
    const db::FeeAmounts f = db::feeAmounts(c.factors, c.workz, c.f98work, c.mrvu, c.calcflag);
    const double cpp[] = {nf.participating, nf.nonParticipating, nf.limiting, f.participating, f.nonParticipating,
                          f.limiting};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(cpp[i], rs[i].Value().toDouble()) << names[i];  // the same arithmetic, to the last bit
}

INSTANTIATE_TEST_SUITE_P(, FeeFormulas, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

TEST(FeeFormulaText, AsTheMainFeeQueryWritesIt)
{
    const db::FeeFactors f{1.0, 1.0, 0.967, 1.2, 37.3374};
    const db::FeeExpressions nf = db::feeExpressions(f, db::PeColumn::NonFacility);
    EXPECT_EQ(nf.participating, "(round((((  (round(WORKZ * 1, 2)) * 1) + (NF98WORK * 0.967) + (MRVU * 1.2))*37.3374),2)"
                                " * calcflag)");
    EXPECT_EQ(nf.nonParticipating, "(round((clng(100*(((round(WORKZ * 1, 2)) * 1) + (NF98WORK * 0.967) + (MRVU * "
                                   "1.2))*37.3374)* .0095),2) * calcflag)");
    EXPECT_EQ(nf.limiting, "(round(((clng(100*(clng(100*(((round(WORKZ * 1, 2)) * 1) + (NF98WORK * 0.967) + (MRVU * "
                           "1.2))*37.3374)* .0095)))*.0115),2) * calcflag)");
    const QString items = db::feeSelectItems(f, db::PeColumn::Facility);
    EXPECT_TRUE(items.startsWith("(round((((  (round(WORKZ * 1, 2)) * 1) + (F98WORK * 0.967)"));
    EXPECT_TRUE(items.contains(") as FPART, (round((clng("));
    EXPECT_TRUE(items.contains(") as FNPART, (round(((clng("));
    EXPECT_TRUE(items.endsWith(" * calcflag) as FLC"));
}

}  // namespace
