#include "support/ReadableTexts.h"
#include "support/SeamTest.h"

#include "export/ExprtInd.h"
#include "platform/controls/twips.h"

#include <QApplication>

namespace {

class ExprtIndTest : public SeamTest {};

void expectDesign(ExprtInd& w)
{
    EXPECT_EQ(w.Caption(), "Exporting");
    EXPECT_EQ(w.Label2->text(), "Exporting Information");
    EXPECT_EQ(w.Label1->text(), "Performing Backup");
    EXPECT_FALSE(w.Label2->isHidden());
    EXPECT_FALSE(w.prg1->isHidden());
    EXPECT_EQ(w.prg1Max(), 100);
    EXPECT_EQ(w.prg1Value(), 0);
    EXPECT_EQ(w.size(), QSize(platform::tw(3975), platform::tw(1005)));
}

TEST_F(ExprtIndTest, EveryUseStartsFromTheDesignValues)
{
    for (const char* caption : {"Backup", "Restoring"}) {
        ExprtInd& w = load<ExprtInd>();
        expectDesign(w);
        w.setCaption(QString::fromLatin1(caption));
        w.Label2->hide();
        w.Label1->setText("Performing Restore");
        w.setPrg1Max(2003);
        w.setPrg1Value(3);
        w.Show();
        EXPECT_TRUE(w.Unload());
        settle();
    }
    expectDesign(load<ExprtInd>());
}

TEST_F(ExprtIndTest, ShownWithoutBlocking)
{
    ExprtInd& w = load<ExprtInd>();
    w.Show();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isModal());
    EXPECT_TRUE(seam.calls("ShowModal").empty());
}

TEST_F(ExprtIndTest, ValueStaysBetweenZeroAndMax)
{
    struct Case {
        double max, value, expected;
    };
    for (const Case c : {Case{2003, 3, 3}, Case{2003, 2003, 2003}, Case{2003, 5000, 2003}, Case{10, -1, 0}}) {
        ExprtInd& w = load<ExprtInd>();
        w.setPrg1Max(c.max);
        w.setPrg1Value(c.value);
        EXPECT_EQ(w.prg1Value(), c.expected) << c.max << " " << c.value;
        w.Unload();
        settle();
    }
}

TEST_F(ExprtIndTest, TextsShowWholeForEveryUser)
{
    ExprtInd& w = load<ExprtInd>();
    w.Show();
    QApplication::processEvents();
    testsupport::saveShot(&w, QStringLiteral("exprtind_export"));
    EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
    w.setCaption("Backup");
    w.Label2->hide();
    QApplication::processEvents();
    testsupport::saveShot(&w, QStringLiteral("exprtind_backup"));
    EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
    w.Label1->setText("Performing Restore");
    EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
}

}  // namespace
