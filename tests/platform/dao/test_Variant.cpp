#include "platform/dao/Database.h"

#include <gtest/gtest.h>

namespace {

using dao::Variant;

TEST(Variant, TextOfValues)
{
    const std::pair<Variant, const char*> cases[] = {
        {Variant(), ""},
        {Variant(0.1), "0.1"},
        {Variant(1.0), "1"},
        {Variant(1.0 / 3), "0.333333333333333"},
        {Variant(123456789012345.0), "123456789012345"},
        {Variant(1e16), "1E+16"},
        {Variant(0.00001), "1E-05"},
        {Variant(-2.5), "-2.5"},
        {Variant(qint64(42)), "42"},
        {Variant(true), "True"},
        {Variant("x"), "x"},
    };
    for (const auto& [v, expected] : cases)
        EXPECT_EQ(v.toString(), QString(expected));
}

TEST(Variant, ConversionsOfThePlatform)
{
    EXPECT_EQ(dao::CLng(Variant(2.5)), 2);
    EXPECT_EQ(dao::CLng(Variant(3.5)), 4);
    EXPECT_EQ(dao::CLng(Variant("  7.5 ")), 8);
    EXPECT_EQ(dao::CInt(Variant(-0.5)), 0);
    EXPECT_EQ(dao::CDbl(Variant("1.25")), 1.25);
    EXPECT_EQ(dao::CStr(Variant(0.967)), "0.967");
    EXPECT_EQ(dao::Nz(Variant(), Variant(3)).toLongLong(), 3);
    EXPECT_EQ(dao::Nz(Variant("a"), Variant(3)).toString(), "a");

    for (auto fn : {+[](const Variant& v) { dao::CLng(v); }, +[](const Variant& v) { dao::CDbl(v); },
                    +[](const Variant& v) { dao::CStr(v); }, +[](const Variant& v) { dao::CInt(v); }}) {
        try {
            fn(Variant());
            ADD_FAILURE() << "Null accepted";
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.number, 94);
            EXPECT_EQ(e.description, "Invalid use of Null");
        }
    }
    EXPECT_THROW(dao::CLng(Variant("abc")), dao::Error);
    EXPECT_THROW(dao::CInt(Variant(40000)), dao::Error);
}

TEST(Variant, NumbersInTexts)
{
    EXPECT_TRUE(Variant("12.50").isNumeric());
    EXPECT_TRUE(Variant(" -3 ").isNumeric());
    EXPECT_TRUE(Variant("1e3").isNumeric());
    EXPECT_FALSE(Variant("").isNumeric());
    EXPECT_FALSE(Variant("12,5").isNumeric());
    EXPECT_FALSE(Variant("inf").isNumeric());
    EXPECT_FALSE(Variant("1-2").isNumeric());
    EXPECT_FALSE(Variant().isNumeric());
}

TEST(Variant, EqualityAndQVariant)
{
    EXPECT_EQ(Variant(2), Variant(2.0));
    EXPECT_EQ(Variant(true), Variant(-1));
    EXPECT_NE(Variant("2"), Variant(2));
    EXPECT_EQ(Variant(), Variant::null());
    EXPECT_NE(Variant(), Variant(""));
    for (const Variant& v : {Variant(), Variant(3), Variant(2.5), Variant("t"), Variant(false),
                             Variant(QDate(2003, 12, 4))})
        EXPECT_EQ(Variant::fromQVariant(v.toQVariant()), v) << v.toString().toStdString();
}

}  // namespace
