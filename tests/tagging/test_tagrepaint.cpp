#include "tagging/TagFixture.h"

class TagRepaintTest : public TagFixture {};

TEST_F(TagRepaintTest, NewTagsShowAtOnceOnTheSameRow)
{
    goToCode(*main, "99214");
    const qint64 row = main->Data1.Recordset().AbsolutePosition();
    frmTag& w = open();
    w.Combo1->setEditText("office");
    w.btn_Click(0);
    seam.expectMsgBox("Codes have been tagged", vbOKOnly);
    w.btn_Click(2);

    EXPECT_EQ(main->Data1.Recordset().AbsolutePosition(), row);
    EXPECT_EQ(main->Data1.Recordset()["Tag"].Value().toString(), "+");
    int tagColumn = -1;
    for (int i = 0; i < main->dbg->ColumnCount(); ++i)
        if (main->dbg->Columns(i).DataField().compare("Tag", Qt::CaseInsensitive) == 0)
            tagColumn = i;
    ASSERT_GE(tagColumn, 0);
    EXPECT_EQ(main->dbg->cellText(int(row), tagColumn), "+");
}
