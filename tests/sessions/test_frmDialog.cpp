#include "sessions/GridSetFixture.h"

#include "platform/forms/controls.h"
#include "sessions/frmDialog.h"

#include <QDir>

namespace {

using platform::checkValue;

class FolderChooserTest : public GridSetFixture {};

TEST_F(FolderChooserTest, OpensOnTheCurrentFolderWithTheDrivesOfTheMachine)
{
    frmDialog& d = load<frmDialog>();
    EXPECT_EQ(d.Caption(), "Select Path");
    ASSERT_GE(d.Drive1->count(), 2);
    EXPECT_EQ(d.Drive1->itemText(0), "/");
    EXPECT_EQ(d.Drive1->itemText(1), QDir::homePath());
    for (int i = 2; i < d.Drive1->count(); ++i)
        EXPECT_TRUE(d.Drive1->itemText(i).startsWith("/media/") || d.Drive1->itemText(i).startsWith("/mnt/"));
    EXPECT_EQ(d.Dir1Path(), QDir::currentPath());
}

TEST_F(FolderChooserTest, OkStoresTheFolderAlsoWhenTheBoxWasTickedAlready)
{
    QTemporaryDir chosen;
    ASSERT_TRUE(QDir(chosen.path()).mkpath("reports/2014"));
    frmGridSet& w = open();
    platform::setText(w.OText(0), "/srv/exports");
    w.Check1->click();
    ASSERT_EQ(parms("exportpath").toString(), "/srv/exports/");

    seam.onModal<frmDialog>([&](frmDialog& d) {
        d.setDir1Path(chosen.path() + "/reports/2014");
        d.OKButton->click();
    });
    w.cmdPath->click();
    EXPECT_FALSE(platform::forms().isLoaded<frmDialog>());
    EXPECT_EQ(w.OText(0)->text(), chosen.path() + "/reports/2014/");
    EXPECT_EQ(checkValue(w.Check1), 1);
    EXPECT_EQ(parms("exportpath").toString(), chosen.path() + "/reports/2014/");
}

TEST_F(FolderChooserTest, CancelWritesNothing)
{
    frmGridSet& w = open();
    seam.onModal<frmDialog>([](frmDialog& d) { d.CancelButton->click(); });
    w.cmdPath_Click();
    EXPECT_EQ(w.OText(0)->text(), "(Default)");
    EXPECT_EQ(checkValue(w.Check1), 0);
    EXPECT_EQ(parms("exportpath").toString(), "(Default)");
}

TEST_F(FolderChooserTest, ADriveThatWentAwayIsSaidAndTheTreeStays)
{
    QTemporaryDir stick;
    frmDialog& d = load<frmDialog>();
    d.setDir1Path(stick.path());
    const QString before = d.Dir1Path();
    const int shownDrive = d.Drive1->currentIndex();
    platform::addItem(d.Drive1, stick.path() + "/gone");
    seam.expectMsgBox("Unable to access the selected directory", vbOKOnly);
    platform::setListIndex(d.Drive1, d.Drive1->count() - 1);
    EXPECT_EQ(d.Dir1Path(), before);
    EXPECT_EQ(d.Drive1->currentIndex(), shownDrive);

    // A drive that can be read shows its tree, opened on its root.
    platform::setListIndex(d.Drive1, 0);
    EXPECT_EQ(d.Dir1Path(), "/");
}

}  // namespace
