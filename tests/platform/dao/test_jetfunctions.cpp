#include "platform/dao/jetfunctions.h"

#include "DaoFixture.h"

#include <cmath>

namespace {

struct RoundCase {
    double x;
    int n;
    double expected;
};

TEST(JetRound, ScalesThenRoundsTheDoubleItselfHalfToEven)
{
    const RoundCase cases[] = {
        // The three worked cases: 2.675 * 100 is exactly 267.5, a tie that goes to the even 268;
        // 0.125 * 100 is the tie 12.5; 1.005 * 100 is 100.49999999999999, below the half.
        {2.675, 2, 2.68},  {0.125, 2, 0.12},  {1.005, 2, 1.00},
        // 14610 cents * .0095 is 138.79499999999999, below the half: no decimal window lifts it to a tie.
        {14610 * .0095, 2, 138.79}, {13879 * .0115, 2, 159.61},
        // Ties go to the even neighbour, on both sides of zero.
        {0.375, 2, 0.38},  {2.5, 0, 2},       {3.5, 0, 4},      {-2.5, 0, -2},     {-3.5, 0, -4},
        {-0.125, 2, -0.12}, {-2.675, 2, -2.68}, {-1.005, 2, -1.00}, {104.535, 2, 104.54}, {1.2345, 3, 1.234},
        {12.344999, 2, 12.34}, {0.0049, 2, 0},  {-0.0049, 2, 0},  {1e16 + 2, 0, 1e16 + 2}, {123.456, -1, 120},
        {125, -1, 120},    {135, -1, 140},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(jet::round(c.x, c.n), c.expected) << "round(" << c.x << ", " << c.n << ")";
    EXPECT_FALSE(std::signbit(jet::round(-0.0049, 2)));  // no negative zero to show as "-0.00"
}

TEST(JetClng, RoundsTheDoubleItselfHalfToEven)
{
    const std::pair<double, qint64> cases[] = {{0.5, 0},   {1.5, 2},     {2.5, 2},       {-0.5, 0},
                                               {-1.5, -2}, {-2.5, -2},   {2.4999, 2},    {10453.5, 10454},
                                               {1e10, 10000000000}, {-7.6, -8}};
    for (const auto& [x, expected] : cases)
        EXPECT_EQ(jet::clng(x), expected) << "clng(" << x << ")";
}

struct FormatCase {
    dao::Variant value;
    const char* pattern;
    const char* expected;
};

TEST(JetFormat, PatternsOfTheProgram)
{
    const FormatCase cases[] = {
        {2.675, "#0.00", "2.68"},           // half away from zero on the 15-digit decimal form
        {1.005, "#0.00", "1.01"},
        {2.125, "#0.00", "2.13"},
        {-2.125, "#0.00", "-2.13"},
        {0.5, "#0.00", "0.50"},
        {1234567.891, "#0.00", "1234567.89"},
        {0.0004, "#0.00", "0.00"},
        {-0.0004, "#0.00", "0.00"},
        {2.0005, "#0.000", "2.001"},
        {1.23456, "#0.####", "1.2346"},
        {1.5, "#0.####", "1.5"},
        {2, "#0.####", "2."},                // the platform keeps the point
        {1234.5, "####0.00;;", "1234.50"},
        {0, "####0.00;;", "0.00"},
        {-3.2, "####0.00;;", "-3.20"},
        {1234567.5, "###,##0.00;;", "1,234,567.50"},
        {12.5, "###,##0.00;;", "12.50"},
        {-1234.5, "###,##0.00;;", "-1,234.50"},
        {0, "###,##0.00;;\\-\\-\\-\\ \\ ", "---  "},
        {12.5, "###,##0.00;;\\-\\-\\-\\ \\ ", "12.50"},
        {7, "0000", "0007"},
        {12345, "0000", "12345"},
        {7.5, "0000", "0008"},
        {0.5, "#####.00", ".50"},
        {1234.5, "Fixed", "1234.50"},
        {1234.5, "Standard", "1,234.50"},
        {"12.5", "#0.00", "12.50"},         // a number in a text is a number
        {"abc", "#0.00", "abc"},            // any other text is itself
        {dao::Variant(), "#0.00", ""},
        {qint64(5), "#0.00", "5.00"},
        {true, "#0.00", "-1.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(jet::format(c.value, c.pattern), QString(c.expected))
            << c.value.toString().toStdString() << " with " << c.pattern;
}

struct LikeCase {
    const char* text;
    const char* pattern;
    bool expected;
};

TEST(JetLike, WildcardsAndLetterCase)
{
    const LikeCase cases[] = {
        {"99213", "992*", true},     {"99213", "*13", true},       {"99213", "9*2*3", true},
        {"99213", "992?3", true},    {"99213", "992?", false},     {"99213", "992##", true},
        {"992A3", "992##", false},   {"b", "[a-c]", true},         {"d", "[a-c]", false},
        {"b", "[!a]", true},         {"a", "[!a]", false},         {"A", "[!a]", false},
        {"office VISIT", "OFFICE*", true}, {"Office", "office", true}, {"abc", "ab", false},
        {"", "*", true},             {"", "?", false},             {"a*c", "a[*]c", true},
        {"abc", "a[*]c", false},     {"50%", "50%", true},         {"500", "50%", false},
        {"x_y", "x_y", true},        {"xay", "x_y", false},        {"ÄBC", "äb*", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(jet::like(c.text, c.pattern), c.expected) << c.text << " LIKE " << c.pattern;
}

TEST(JetVal, LeadingNumberOfAText)
{
    EXPECT_EQ(jet::val("  12.5 abc"), 12.5);
    EXPECT_EQ(jet::val("1 2 3"), 123);
    EXPECT_EQ(jet::val("-4e2x"), -400);
    EXPECT_EQ(jet::val("abc"), 0);
    EXPECT_EQ(jet::val(""), 0);
}

class JetSql : public DaoFixture {
protected:
    dao::Variant sql(const QString& expr, const std::vector<dao::Variant>& params = {})
    {
        return db.scalar("SELECT " + expr, params);
    }
};

TEST_F(JetSql, SqlAndCppShareTheirArithmetic)
{
    for (double x : {2.675, 1.005, 0.125, -2.5, 104.535, 12.344999}) {
        EXPECT_EQ(sql("round(?, 2)", {x}).toDouble(), jet::round(x, 2)) << x;
        EXPECT_EQ(sql("clng(? * 100)", {x}).toLongLong(), jet::clng(x * 100)) << x;
        EXPECT_EQ(sql("format(?, '#0.00')", {x}).toString(), jet::format(x, "#0.00")) << x;
    }
    EXPECT_EQ(sql("round(2.5)").toDouble(), 2);
    EXPECT_TRUE(sql("round(NULL, 2)").isNull());
    EXPECT_EQ(sql("format(0, '###,##0.00;;\\-\\-\\-\\ \\ ')").toString(), "---  ");
}

TEST_F(JetSql, ConcatenationAndIifWithNull)
{
    EXPECT_EQ(sql("jcat('a', NULL, 'b')").toString(), "ab");
    EXPECT_EQ(sql("jcat(NULL, 5)").toString(), "5");
    EXPECT_EQ(sql("jcat(1.5, '-', 2)").toString(), "1.5-2");
    EXPECT_TRUE(sql("jcat(NULL, NULL)").isNull());
    EXPECT_EQ(sql("iif(NULL, 'yes', 'no')").toString(), "no");
    EXPECT_EQ(sql("iif(1 = 1, 'yes', 'no')").toString(), "yes");
    EXPECT_EQ(sql("iif(-1, 'yes', 'no')").toString(), "yes");
    EXPECT_TRUE(sql("iif(0, 'yes', NULL)").isNull());
    EXPECT_EQ(sql("nz(NULL, 7)").toLongLong(), 7);
    EXPECT_EQ(sql("nz(NULL)").toString(), "");
}

TEST_F(JetSql, TextFunctions)
{
    EXPECT_EQ(sql("left('99213', 3)").toString(), "992");
    EXPECT_EQ(sql("right('99213', 2)").toString(), "13");
    EXPECT_EQ(sql("mid('99213', 2, 2)").toString(), "92");
    EXPECT_EQ(sql("mid('99213', 4)").toString(), "13");
    EXPECT_EQ(sql("len('abc')").toLongLong(), 3);
    EXPECT_EQ(sql("instr('Office Visit', 'visit')").toLongLong(), 8);
    EXPECT_EQ(sql("instr(10, 'Office Visit', 'i')").toLongLong(), 11);
    EXPECT_EQ(sql("ucase('ab')").toString(), "AB");
    EXPECT_EQ(sql("str(5)").toString(), " 5");
    EXPECT_EQ(sql("str(-5)").toString(), "-5");
    EXPECT_EQ(sql("val('12abc')").toDouble(), 12);
    EXPECT_EQ(sql("cdbl('1.5')").toDouble(), 1.5);
    EXPECT_EQ(sql("isnull(NULL)").toLongLong(), -1);
}

TEST_F(JetSql, LikeInStatementsFollowsJet)
{
    auto count = [&](const QString& where, const std::vector<dao::Variant>& p = {}) {
        return db.scalar("SELECT count(*) FROM CODES WHERE " + where, p).toLongLong();
    };
    EXPECT_EQ(count("CODEMOD LIKE '992*'"), 2);
    EXPECT_EQ(count("CODEMOD LIKE ?", {"a00##"}), 1);
    EXPECT_EQ(count("DESC LIKE 'OFFICE*'"), 2);
    EXPECT_EQ(count("CODEMOD LIKE '9921[!1]'"), 1);
    EXPECT_EQ(count("CODEMOD LIKE '992%'"), 0);  // % is no wildcard in Jet
}

TEST_F(JetSql, FirstAggregateKeepsTheFirstRow)
{
    EXPECT_EQ(sql("first(CODEMOD) FROM (SELECT CODEMOD FROM CODES ORDER BY CODEMOD DESC)").toString(), "G0008");
}

}  // namespace
