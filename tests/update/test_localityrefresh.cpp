#include "update/UpdateFixture.h"

#include "update/localityrefresh.h"

#include "db/sessions.h"

#include "platform/dao/Recordset.h"

using namespace updatetest;

namespace {

struct Gpcis {
    dao::Variant work, pract, malp;
};

db::ColumnValues locality(const char* state, const char* desc, Gpcis g)
{
    return {{"STATE", state}, {"ST", "XX"}, {"DESC", desc}, {"WORK", g.work}, {"PRACT", g.pract}, {"MALP", g.malp}};
}

struct SessionCase {
    const char* session;
    const char* geoloc;
    double work, pract, malp;  // afterwards; 9s where the session keeps its old GPCIs
};

// In stored order: "Default" on national values comes first and everything after it is still refreshed.
const SessionCase kSessions[] = {
    {"Default", "NATIONAL VALUES", 1, 1, 1},
    {"LA", "CALIFORNIA - LOS ANGELES", 1.05, 1.12, 0.65},
    {"LA too", "california - los angeles", 1.05, 1.12, 0.65},
    {"Gone", "NEVADA - OLD TOWN", 9, 9, 9},
    {"Dash in desc", "ILLINOIS - EAST ST. LOUIS - METRO", 1.01, 0.95, 1.7},
    {"Apostrophe", "O'HARA STATE - O'NEIL'S", 0.99, 0.98, 0.97},
    {"Null pract", "TEXAS - DALLAS", 9, 9, 9},
    {"Dash first", "- NOWHERE", 9, 9, 9},
    {"Last", "NEW YORK - MANHATTAN", 1.09, 1.3, 1.4},
};

}  // namespace

TEST(SplitGeoloc, StateBeforeAndDescriptionAfterTheFirstDash)
{
    struct Case {
        const char* geoloc;
        std::optional<std::pair<const char*, const char*>> parts;
    } cases[] = {
        {"CALIFORNIA - LOS ANGELES", {{"CALIFORNIA", "LOS ANGELES"}}},
        {"ILLINOIS - EAST ST. LOUIS - METRO", {{"ILLINOIS", "EAST ST. LOUIS - METRO"}}},
        {"A -", {{"A", ""}}},
        {"NATIONAL VALUES", std::nullopt},
        {"- X", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto parts = update::splitGeoloc(c.geoloc);
        ASSERT_EQ(parts.has_value(), c.parts.has_value()) << c.geoloc;
        if (parts) {
            EXPECT_EQ(parts->state, c.parts->first);
            EXPECT_EQ(parts->desc, c.parts->second);
        }
    }
}

TEST_F(UpdateTest, EverySessionTakesItsLocalitysNewGpcisOrKeepsItsOwn)
{
    db().Execute("UPDATE SESSIONS SET CURWORKGPCI = 1, CURPRACGPCI = 1, CURMALPGPCI = 1");
    int n = 1;
    for (const SessionCase& c : kSessions)
        if (QString(c.session) != "Default")
            db::insertRow(db(), "SESSIONS", {{"Session", c.session}, {"SESTAB", db::sessionTableName(n++)},
                                             {"GEOLOC", c.geoloc}, {"CURWORKGPCI", 9}, {"CURPRACGPCI", 9},
                                             {"CURMALPGPCI", 9}, {"CURCONVF", 35.8228}, {"selectzip", "90001"}});
    const auto otherColumns = [this] {
        QStringList out;
        dao::Recordset rs = db().OpenRecordset("SELECT Session, SESTAB, GEOLOC, CURCONVF, selectzip FROM SESSIONS");
        for (; !rs.EOF(); rs.MoveNext())
            for (int i = 0; i < rs.FieldCount(); ++i)
                out << rs[i].Value().toString();
        return out;
    };
    const QStringList otherColumnsBefore = otherColumns();

    UpdateContent content;
    content.sources["location1"] = {
        locality("NATIONAL VALUES", "NATIONAL VALUES", {1.5, 1.5, 1.5}),
        locality("CALIFORNIA", "LOS ANGELES", {1.05, 1.12, 0.65}),
        locality("CALIFORNIA", "LOS ANGELES", {2, 2, 2}),  // only the first row counts
        locality("ILLINOIS", "EAST ST. LOUIS - METRO", {1.01, 0.95, 1.7}),
        locality("O'HARA STATE", "O'NEIL'S", {0.99, 0.98, 0.97}),
        locality("TEXAS", "DALLAS", {1.0, dao::Variant(), 1.0}),
        locality("NEW YORK", "MANHATTAN", {1.09, 1.3, 1.4}),
    };
    attach(content);
    update::Temp_2004_Update(*run);

    for (const SessionCase& c : kSessions) {
        SCOPED_TRACE(c.session);
        dao::Recordset rs = db().OpenRecordset("SELECT * FROM SESSIONS WHERE Session = ?", {c.session});
        ASSERT_FALSE(rs.EOF());
        EXPECT_DOUBLE_EQ(rs["CURWORKGPCI"].Value().toDouble(), c.work);
        EXPECT_DOUBLE_EQ(rs["CURPRACGPCI"].Value().toDouble(), c.pract);
        EXPECT_DOUBLE_EQ(rs["CURMALPGPCI"].Value().toDouble(), c.malp);
    }
    EXPECT_EQ(otherColumns(), otherColumnsBefore);
}

TEST_F(UpdateTest, WithoutLocationOneNoSessionChanges)
{
    const QStringList before = rows("SESSIONS");
    attach({});
    update::Temp_2004_Update(*run);
    EXPECT_EQ(rows("SESSIONS"), before);
}
