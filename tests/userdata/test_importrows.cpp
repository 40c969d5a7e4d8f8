// The row stage's rules: columns by whole names, keys and the column rule.
#include "userdata/importrows.h"

#include <gtest/gtest.h>

namespace {

using dao::Variant;
using userimport::Member;

std::string shown(const std::optional<Variant>& v)
{
    if (!v)
        return "left out";
    return v->type() == Variant::Type::Double ? "number " + dao::CStr(*v).toStdString()
                                               : "text " + dao::CStr(*v).toStdString();
}

TEST(RowStage, ColumnsByWholeNames)
{
    auto c = userimport::sourceColumns({"Code", "MOD", "s1", "Tag", "Desc"}, Member::Schedules);
    EXPECT_EQ(c.code, 0);
    EXPECT_FALSE(c.codeIsCpt);
    EXPECT_EQ(c.mod, 1);
    EXPECT_EQ(c.value[0], 2);
    EXPECT_EQ(c.tag, 3);
    EXPECT_FALSE(userimport::sourceColumns({"Code", "S1 "}, Member::Schedules).anyValue());
    EXPECT_FALSE(userimport::sourceColumns({"Code", "S1"}, Member::Frequencies).anyValue());
    EXPECT_EQ(userimport::sourceColumns({"CODE", "Freq4", "Tag"}, Member::Frequencies).tag, -1);
    // Of CPT and CODE the one further right.
    c = userimport::sourceColumns({"CPT", "S1", "CODE"}, Member::Schedules);
    EXPECT_EQ(c.code, 2);
    EXPECT_FALSE(c.codeIsCpt);
    c = userimport::sourceColumns({"code", "cpt", "freq5"}, Member::Frequencies);
    EXPECT_EQ(c.code, 1);
    EXPECT_TRUE(c.codeIsCpt);
    EXPECT_EQ(userimport::sourceColumns({"Codes", "S1"}, Member::Schedules).code, -1);
}

TEST(RowStage, Keys)
{
    struct K {
        Variant code, mod;
        const char* key;  // nullptr: the record is not applied
    };
    const K cases[] = {
        {Variant("100"), Variant(), "00100"},
        {Variant(100.0), Variant(), "00100"},
        {Variant("0001F"), Variant(), "0001F"},
        {Variant("A1234B"), Variant(), "0A1234B"},
        {Variant("A1234BC"), Variant(), "A1234BC"},
        {Variant("A1234BCD"), Variant(), nullptr},
        {Variant("   "), Variant(), nullptr},
        {Variant(" 1234F "), Variant(" 26 "), "1234F26"},
        {Variant("1234F"), Variant(), "1234F"},
        {Variant(), Variant("26"), "26"},
        {Variant("99'13"), Variant(), "99'13"},
    };
    for (const K& k : cases) {
        SCOPED_TRACE(k.code.isNull() ? "Null" : k.code.toString().toStdString());
        const auto key = userimport::recordKey(k.code, k.mod, true);
        if (!k.key)
            EXPECT_FALSE(key.has_value());
        else
            EXPECT_EQ(key.value_or("<none>").toStdString(), k.key);
    }
}

TEST(RowStage, ColumnRule)
{
    struct R {
        Member member;
        int column;  // 0-based
        Variant value;
        const char* result;
    };
    const R cases[] = {
        {Member::Schedules, 0, Variant("-5"), "left out"},
        {Member::Schedules, 0, Variant(-5.0), "left out"},
        {Member::Schedules, 0, Variant(".5"), "number 0.5"},
        {Member::Schedules, 1, Variant(".5"), "left out"},  // compared with "0" as text
        {Member::Schedules, 1, Variant(0.5), "number 0.5"},
        {Member::Schedules, 1, Variant("40"), "number 40"},
        {Member::Schedules, 1, Variant(""), "left out"},
        {Member::Schedules, 1, Variant("abc"), "left out"},
        {Member::Schedules, 0, Variant("abc"), "left out"},
        {Member::Schedules, 0, Variant("1,000"), "left out"},
        {Member::Schedules, 2, Variant(" 12.5 "), "number 12.5"},
        {Member::Schedules, 4, Variant(), "left out"},
        {Member::Frequencies, 0, Variant("-3"), "left out"},
        {Member::Frequencies, 1, Variant("-3"), "number 0"},
        {Member::Frequencies, 2, Variant("-3"), "number 0"},
        {Member::Frequencies, 4, Variant(-3.0), "number 0"},
        {Member::Frequencies, 1, Variant(""), "number 0"},
        {Member::Frequencies, 2, Variant(""), "left out"},
        {Member::Frequencies, 1, Variant("x1"), "text x1"},  // written; the column refuses it
        {Member::Frequencies, 3, Variant("x1"), "left out"},
        {Member::Frequencies, 0, Variant(7.0), "number 7"},
    };
    for (const R& r : cases) {
        SCOPED_TRACE((r.member == Member::Schedules ? "S" : "Freq") + std::to_string(r.column + 1) + " " +
                     (r.value.isNull() ? std::string("Null") : r.value.toString().toStdString()));
        EXPECT_EQ(shown(userimport::columnValue(r.member, r.column, r.value)), r.result);
    }
}

}  // namespace
