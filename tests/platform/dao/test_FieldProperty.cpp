#include "DaoFixture.h"

#include "platform/dao/FieldProperty.h"
#include "platform/dao/Recordset.h"

namespace {

using FieldPropertyTest = DaoFixture;

TEST_F(FieldPropertyTest, TextFieldsTakeTheZeroLengthText)
{
    EXPECT_TRUE(dao::AllowZeroLength(db, "CODES", "Tag"));
    EXPECT_TRUE(dao::AllowZeroLength(db, "codes", "DESC"));
    dao::setAllowZeroLength(db, "CODES", "TAG", true);
    db.Execute("UPDATE CODES SET Tag = '' WHERE CODEMOD = '99211'");
    // Stored as the zero-length text, not as Null.
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM CODES WHERE Tag = ''").toDouble(), 1);
}

TEST_F(FieldPropertyTest, RefusalsByTheirNumbers)
{
    struct Case {
        const char* table;
        const char* field;
        bool allow;
        int number;
    };
    for (const Case c : {Case{"CODES", "WORKZ", true, 3270}, Case{"CODES", "NOPE", true, 3265},
                         Case{"NOPE", "Tag", true, 3265}, Case{"CODES", "Tag", false, 3251}}) {
        try {
            dao::setAllowZeroLength(db, c.table, c.field, c.allow);
            ADD_FAILURE() << c.table << "." << c.field;
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.number, c.number) << c.table << "." << c.field;
        }
    }
}

}  // namespace
