#include "db/feequery.h"
#include "db/schema.h"
#include "db/sessions.h"
#include "db/sqltext.h"
#include "platform/dao/jetfunctions.h"
#include "support/SampleDb.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct Code {
    const char* codemod;
    double workz, nf, f, mrvu;  // WORKZ, NF98WORK, F98WORK, MRVU
    int calcflag;
    const char* tag;
};

const Code kCodes[] = {
    {"10000", 1.5, 1.2, 0.8, 0.1, 1, "+"},      // the worked example
    {"10001", 1.5, 1.2, 0.8, 0.1, 0, nullptr},  // not paid by the formula
    {"10002", 0, 0, 0, 0, 1, nullptr},          // no RVUs
    {"10003", 0, 0.125, 0.625, 0, 1, "+"},      // whole cents on a half at factor 1
    {"0999926", 2, 1, 1, 0, 1, nullptr},        // sorts first
};

const Code& code(const QString& codemod)
{
    for (const Code& c : kCodes)
        if (codemod == c.codemod)
            return c;
    throw std::logic_error("no such code");
}

// A small database: a session table and the OPPS table with a handful of codes.
class FeeQueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = dao::CreateDatabase(dir.filePath("fees.mdb"));
        db::createSchema(db, {"DATA0000", "DATAOPPSVIEW"}, false);
        db::createSessionCodeTable(db, "DATA0001", "DATA0000");
        for (const Code& c : kCodes)
            addCode("DATA0001", c.codemod, c.workz, c.nf, c.f, c.mrvu, c.calcflag, c.tag ? dao::Variant(c.tag) : dao::Variant());
    }

    void addCode(const QString& table, const QString& codemod, double workz, double nf, double f, double mrvu,
                 int calcflag, const dao::Variant& tag = {}, const db::ColumnValues& more = {})
    {
        db::ColumnValues v{{"Tag", tag},          {"CODEMOD", codemod}, {"CPT", codemod.left(5)},
                           {"MOD", codemod.mid(5)}, {"WORKZ", workz},   {"NF98WORK", nf},
                           {"F98WORK", f},        {"MRVU", mrvu},       {"calcflag", calcflag},
                           {"DESC", "Code " + codemod}};
        v.insert(v.end(), more.begin(), more.end());
        db::insertRow(db, table, v);
    }

    dao::Recordset open(const db::FeeQuery& q) { return db.OpenRecordset(q.sql, q.params); }

    static db::FeeFactors factors(double work, double prac, double malp, double cf)
    {
        db::FeeFactors f;
        f.workGpci = work;
        f.pracGpci = prac;
        f.malpGpci = malp;
        f.convFactor = cf;
        return f;
    }

    QTemporaryDir dir;
    dao::Database db;
};

// The six amounts of a code: NPART, NNPART, NLC, FPART, FNPART, FLC.
struct AmountCase {
    const char* name;
    double work, prac, malp, baseCf, cfAdj;
    const char* codemod;
    double expected[6];
};

const AmountCase kAmountCases[] = {
    {"worked figures", 1, 1, 1, 37.3374, 0, "10000", {104.54, 99.31, 114.21, 89.61, 85.13, 97.90}},
    {"locality GPCIs", 1, 0.967, 1.2, 37.3374, 0, "10000", {103.81, 98.62, 113.41, 89.37, 84.90, 97.64}},
    {"work GPCI 1.5", 1.5, 1, 1, 37.3374, 0, "10000", {132.55, 125.92, 144.81, 117.61, 111.73, 128.49}},
    {"factor cut by 10 %", 1, 1, 1, 37.3374, -0.1, "10000", {94.09, 89.39, 102.80, 80.65, 76.62, 88.11}},
    {"factor raised by 5 %", 1, 1, 1, 36, 0.05, "10000", {105.84, 100.55, 115.63, 90.72, 86.18, 99.11}},
    {"calcflag 0", 1.2, 0.9, 1.1, 37.3374, 0, "10001", {0, 0, 0, 0, 0, 0}},
    {"zero RVUs", 1, 1, 1, 37.3374, 0, "10002", {0, 0, 0, 0, 0, 0}},
    // 12.5 and 62.5 cents: the cents behind the other amounts go to 12 and 62, not 13 and 63.
    {"half cents to even", 1, 1, 1, 1, 0, "10003", {0.12, 0.11, 0.13, 0.62, 0.59, 0.68}},
};

TEST_F(FeeQueryTest, AmountsFollowTheFormulasInSqlAndInCpp)
{
    for (const AmountCase& c : kAmountCases) {
        SCOPED_TRACE(c.name);
        const db::FeeFactors f = factors(c.work, c.prac, c.malp, (c.cfAdj + 1) * c.baseCf);
        dao::Recordset rs = open(db::sessionFeeQuery(f, "DATA0001", db::FeeList::All));
        rs.FindFirst("CODEMOD = ?", {QString(c.codemod)});
        ASSERT_FALSE(rs.NoMatch());
        for (int i = 0; i < 6; ++i) {
            const dao::Variant v = rs.Fields(db::feecol::NPart + i).Value();
            ASSERT_FALSE(v.isNull());
            EXPECT_NEAR(v.toDouble(), c.expected[i], 1e-9) << db::feeQueryColumns()[std::size_t(db::feecol::NPart + i)];
        }
        // The C++ form of the formulas gives the same amounts.
        const Code& k = code(c.codemod);
        const db::FeeAmounts n = db::feeAmounts(f, k.workz, k.nf, k.mrvu, k.calcflag);
        const db::FeeAmounts fac = db::feeAmounts(f, k.workz, k.f, k.mrvu, k.calcflag);
        const double cpp[6] = {n.participating, n.nonParticipating, n.limiting,
                               fac.participating, fac.nonParticipating, fac.limiting};
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(cpp[i], c.expected[i], 1e-9) << "C++ amount " << i;
    }
}

TEST_F(FeeQueryTest, AdjustedFactorIsWrittenAsItsShortText)
{
    // 1.05 x 36 is a hair above 37.8 in double arithmetic; the query text says 37.8.
    const double cf = (0.05 + 1) * 36;
    EXPECT_NE(cf, 37.8);
    const QString sql = db::sessionFeeQuery(factors(1, 0.967, 1, cf), "DATA0001", db::FeeList::All).sql;
    EXPECT_TRUE(sql.contains(")*37.8),2) * calcflag) as NPART")) << qPrintable(sql);
    EXPECT_TRUE(sql.contains("(NF98WORK * 0.967)"));
    EXPECT_TRUE(sql.contains("round(WORKZ * 1, 2)"));
}

TEST_F(FeeQueryTest, SixtyOneColumnsInTheirOrderSortedByCode)
{
    dao::Recordset rs = open(db::sessionFeeQuery(factors(1, 1, 1, 37.3374), " DATA0001  ", db::FeeList::All));
    ASSERT_EQ(rs.FieldCount(), db::feecol::Count);
    for (int i = 0; i < db::feecol::Count; ++i)
        EXPECT_EQ(rs.Fields(i).Name(), QString(db::feeQueryColumns()[std::size_t(i)])) << i;
    EXPECT_EQ(rs.Fields(db::feecol::Mod).Name(), "MOD");
    EXPECT_EQ(rs.Fields(db::feecol::S1).Name(), "S1");
    EXPECT_EQ(rs.Fields(db::feecol::Freq5).Name(), "Freq5");
    EXPECT_EQ(rs.Fields(db::feecol::FLC).Name(), "FLC");
    EXPECT_EQ(rs.Fields(db::feecol::NotUsedInd).Name(), "NOTUSEDIND");

    QStringList codes;
    for (rs.MoveFirst(); !rs.EOF(); rs.MoveNext())
        codes << rs.Fields(db::feecol::CodeMod).Value().toString();
    EXPECT_EQ(codes, QStringList({"0999926", "10000", "10001", "10002", "10003"}));
}

TEST_F(FeeQueryTest, TaggedListKeepsOnlyPlusTags)
{
    db::insertRow(db, "DATA0001", {{"CODEMOD", "20000"}, {"Tag", " "}});
    db::insertRow(db, "DATA0001", {{"CODEMOD", "20001"}, {"Tag", "x"}});
    dao::Recordset rs = open(db::sessionFeeQuery(factors(1, 1, 1, 37.3374), "DATA0001", db::FeeList::Tagged));
    QStringList codes;
    for (rs.MoveFirst(); !rs.EOF(); rs.MoveNext()) {
        codes << rs.Fields(db::feecol::CodeMod).Value().toString();
        EXPECT_EQ(rs.Fields(db::feecol::Tag).Value().toString(), "+");
    }
    EXPECT_EQ(codes, QStringList({"10000", "10003"}));
}

TEST_F(FeeQueryTest, MissingTableFails)
{
    EXPECT_THROW(open(db::sessionFeeQuery(factors(1, 1, 1, 37.3374), "DATA0099", db::FeeList::All)), dao::Error);
}

TEST_F(FeeQueryTest, ScheduleColumnsCanBeWrittenThroughTheQuery)
{
    dao::Recordset rs = open(db::sessionFeeQuery(factors(1, 1, 1, 37.3374), "DATA0001", db::FeeList::All));
    rs.FindFirst("CODEMOD = ?", {QString("10002")});
    ASSERT_FALSE(rs.NoMatch());
    EXPECT_TRUE(rs.editable(db::feecol::S1));
    EXPECT_TRUE(rs.editable(db::feecol::Freq1));
    EXPECT_FALSE(rs.editable(db::feecol::NPart));
    rs.setCell(int(rs.AbsolutePosition()), db::feecol::S1 + 2, 55.5);
    EXPECT_EQ(db.scalar("SELECT S3 FROM DATA0001 WHERE CODEMOD = '10002'").toDouble(), 55.5);
}

// The OPPS rows of one carrier and locality: participating amounts stored, the others from the RVUs.
class OppsFeeQueryTest : public FeeQueryTest {
protected:
    void SetUp() override
    {
        FeeQueryTest::SetUp();
        addOpps("10000", "01112", "05", 90, 80, "+");
        addOpps("10003", "01112", "05", 0.1, 0.5);
        addOpps("10000", "01112", "06", 70, 60);
        addOpps("10000", "O'1", "05", 50, 40);
        addOpps("10000", "", "", 30, 20);
    }
    void addOpps(const QString& codemod, const QString& carrier, const QString& loc, double nft, double ft,
                 const dao::Variant& tag = {})
    {
        const bool worked = codemod == "10000";
        addCode("DATAOPPSVIEW", codemod, worked ? 1.5 : 0, worked ? 1.2 : 0.125, worked ? 0.8 : 0.625,
                worked ? 0.1 : 0, 1, tag, {{"NFTTOTAL", nft}, {"FTTOTAL", ft}, {"carrier", carrier}, {"locality", loc}});
    }
    QStringList codesAndNpart(dao::Recordset rs)
    {
        QStringList out;
        for (rs.MoveFirst(); !rs.EOF(); rs.MoveNext())
            out << rs.Fields(db::feecol::CodeMod).Value().toString() + "="
                       + rs.Fields(db::feecol::NPart).Value().toString();
        return out;
    }
};

TEST_F(OppsFeeQueryTest, ParticipatingAmountsAreTheStoredTotals)
{
    dao::Recordset rs = open(db::oppsFeeQuery(factors(1, 1, 1, 37.3374), QString("01112"), QString("05"), db::FeeList::All));
    ASSERT_EQ(rs.FieldCount(), db::feecol::Count);
    for (int i = 0; i < db::feecol::Count; ++i)
        EXPECT_EQ(rs.Fields(i).Name(), QString(db::feeQueryColumns()[std::size_t(i)])) << i;
    EXPECT_EQ(rs.RecordCount(), 2);
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(db::feecol::CodeMod).Value().toString(), "10000");
    const double expected[6] = {90, 99.31, 114.21, 80, 85.13, 97.90};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(rs.Fields(db::feecol::NPart + i).Value().toDouble(), expected[i], 1e-9) << i;
    EXPECT_NEAR(rs.Fields(db::feecol::NftTotal).Value().toDouble(), 90, 1e-9);
}

TEST_F(OppsFeeQueryTest, CarrierAndLocalityAreBoundValues)
{
    const db::FeeFactors f = factors(1, 1, 1, 37.3374);
    EXPECT_EQ(codesAndNpart(open(db::oppsFeeQuery(f, QString("01112"), QString("06"), db::FeeList::All))),
              QStringList({"10000=70"}));
    // A quote in the carrier is a value, not SQL text.
    EXPECT_EQ(codesAndNpart(open(db::oppsFeeQuery(f, QString("O'1"), QString("05"), db::FeeList::All))),
              QStringList({"10000=50"}));
    // A Null carrier and locality select the rows whose carrier and locality are empty text.
    EXPECT_EQ(codesAndNpart(open(db::oppsFeeQuery(f, dao::Variant(), dao::Variant(), db::FeeList::All))),
              QStringList({"10000=30"}));
    EXPECT_EQ(codesAndNpart(open(db::oppsFeeQuery(f, QString("01112"), QString("05"), db::FeeList::Tagged))),
              QStringList({"10000=90"}));
}

TEST(FeeKinds, ElevenEntriesWithSchedulesAt44To48)
{
    const QStringList captions = db::feeKindCaptions({"Medicaid", "Aetna", "BCBS", "Cash", "Other"});
    ASSERT_EQ(captions.size(), 11);
    EXPECT_EQ(captions[0], "Non Facility Participating Fee");
    EXPECT_EQ(captions[5], "Facility Limiting Fee");
    EXPECT_EQ(captions[6], "Medicaid");
    EXPECT_EQ(captions[10], "Other");
    EXPECT_EQ(db::feeKindIndex(19), 0);
    EXPECT_EQ(db::feeKindIndex(24), 5);
    EXPECT_EQ(db::feeKindIndex(44), 6);
    EXPECT_EQ(db::feeKindIndex(48), 10);
    EXPECT_EQ(db::feeKindIndex(25), -1);
    EXPECT_EQ(db::feeKindIndex(43), -1);
    EXPECT_EQ(db::feeKindCaptions({}).value(8), "");
}


// Over the whole shipped sample, with its own factors and with a factor whose cents land near a half: the
// limiting charge is the non-participating amount taken again in whole cents, times .0115, to the cent.
TEST(FeeQuerySample, LimitingChargeIsTheNonParticipatingAmountsOwnCents)
{
    testsupport::SampleDb sample;
    dao::Database d = sample.open();
    const std::optional<db::SessionRow> s = db::readSession(d, db::kDefaultSession);
    ASSERT_TRUE(s);
    for (const double cf : {s->get(db::SessionRow::CURCONVF), 146.1, 37.3374}) {
        SCOPED_TRACE(cf);
        db::FeeFactors f;
        f.workGpci = s->get(db::SessionRow::CURWORKGPCI);
        f.pracGpci = s->get(db::SessionRow::CURPRACGPCI);
        f.malpGpci = s->get(db::SessionRow::CURMALPGPCI);
        f.convFactor = cf;
        dao::Recordset rs = d.OpenRecordset(db::sessionFeeQuery(f, s->get(db::SessionRow::SESTAB), db::FeeList::All).sql);
        ASSERT_GT(rs.rowCount(), 10000);
        int wrong = 0;
        for (int row = 0; row < rs.rowCount(); ++row) {
            for (const auto& [nonPart, limiting] : {std::pair{db::feecol::NNPart, db::feecol::NLC},
                                                    std::pair{db::feecol::FNPart, db::feecol::FLC}}) {
                const double amount = rs.cell(row, nonPart).toDouble();
                const double expected = jet::round(double(jet::clng(amount * 100)) * .0115, 2);
                if (rs.cell(row, limiting).toDouble() != expected && ++wrong <= 5)
                    ADD_FAILURE() << rs.cell(row, db::feecol::CodeMod).toString().toStdString() << ": "
                                  << amount << " gives " << rs.cell(row, limiting).toDouble() << ", not " << expected;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
