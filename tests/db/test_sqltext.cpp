#include "db/sqltext.h"
#include "platform/dao/jetfunctions.h"

#include <QLocale>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>
#include <locale>

namespace {

TEST(SqlNumber, PlainDecimalWithFifteenDigits)
{
    const std::pair<double, const char*> cases[] = {
        {1.0, "1"},
        {0.967, "0.967"},
        {37.3374, "37.3374"},
        {5, "5"},
        {0.5, "0.5"},
        {-0.5, "-0.5"},
        {1e-7, "0.0000001"},
        {123456789012345678.0, "123456789012346000"},
        {1.235 * 100, "123.5"},  // 123.50000000000001 in doubles
        {0.1 + 0.2, "0.3"},
        {100, "100"},
        {-35.8228, "-35.8228"},
        {0.0, "0"},
        {-0.0, "0"},
        {1.0 / 3, "0.333333333333333"},
        {2.5e20, "250000000000000000000"},
    };
    for (const auto& [v, expected] : cases)
        EXPECT_EQ(db::sqlNumber(v), QString(expected)) << expected;
}

// Restores the process locale however the test ends: the other tests of the binary run after it.
class GermanNumbers {
public:
    GermanNumbers()
        : numeric(std::setlocale(LC_NUMERIC, nullptr)), global(std::locale()), qt(QLocale())
    {
        ok = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        if (ok) {
            std::locale::global(std::locale("de_DE.UTF-8"));
            QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        }
    }
    ~GermanNumbers()
    {
        std::locale::global(global);
        std::setlocale(LC_NUMERIC, numeric.c_str());
        QLocale::setDefault(qt);
    }
    bool ok = false;

private:
    std::string numeric;
    std::locale global;
    QLocale qt;
};

TEST(SqlNumber, PointWhateverTheLocale)
{
    GermanNumbers german;
    ASSERT_TRUE(german.ok) << "locale de_DE.UTF-8 is missing (localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    ASSERT_STREQ(probe, "0,5");  // the locale really is in force

    EXPECT_EQ(db::sqlNumber(0.967), "0.967");
    EXPECT_EQ(db::sqlNumber(-1234.5), "-1234.5");
    EXPECT_EQ(jet::format(1234.5, "###,##0.00;;"), "1,234.50");
    EXPECT_EQ(jet::format(2.675, "#0.00"), "2.68");
    EXPECT_EQ(dao::Variant(0.967).toString(), "0.967");
    EXPECT_TRUE(dao::Variant("1.5").isNumeric());
    EXPECT_EQ(dao::CDbl(dao::Variant("1.5")), 1.5);

    QTemporaryDir dir;
    dao::Database d = dao::CreateDatabase(dir.filePath("l.mdb"));
    EXPECT_EQ(d.scalar("SELECT format(round(" + db::sqlNumber(2.675) + ", 2), '#0.00')").toString(), "2.68");
    EXPECT_EQ(d.scalar("SELECT jcat(?, '')", {1.5}).toString(), "1.5");
}

TEST(CheckedColumn, OnlyRealColumnsQuoted)
{
    QTemporaryDir dir;
    dao::Database d = dao::CreateDatabase(dir.filePath("c.mdb"));
    d.Execute("CREATE TABLE DME (HCPCS TEXT(5) COLLATE NOCASE, [AK] REAL, [NY] REAL)");
    EXPECT_EQ(db::checkedColumn(d, "DME", "AK"), "\"AK\"");
    EXPECT_EQ(db::checkedColumn(d, "dme", "ny"), "\"NY\"");
    for (const char* bad : {"TX", "AK] = 0; DROP TABLE DME; --", "", "AK,NY"}) {
        try {
            db::checkedColumn(d, "DME", bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.number, 3265);
        }
    }
    EXPECT_THROW(db::checkedColumn(d, "NOTABLE", "AK"), dao::Error);
}

}  // namespace
