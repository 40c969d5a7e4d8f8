#include "s49_fixture.h"

#include "ExportFixture.h"
#include "export/ExprtInd.h"
#include "export/zuzizavoz/FeeScheduleWizard.h"
#include "../platform/jet/oracles.h"
#include "support/ReadableTexts.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QThread>

namespace {

const QString kRefused =
    "You can not select files: elleg.xls or any of the export template files (files begining with EXPORT.??"
    "?) as the export file.  Please pick another file name.";

class ZuzizavozTest : public PredefinedFixture {
protected:
    void SetUp() override
    {
        PredefinedFixture::SetUp();
        setNames("S3NAME = 'Third'");
    }
    frmExportELIG& openSheet(int option = 0)
    {
        frmExportELIG& w = load<frmExportELIG>();
        platform::setOptionValue(w.Option1(option), true);
        return w;
    }
    void exportSheet(int option, const QString& path)
    {
        frmExportELIG& w = openSheet(option);
        seam.answerFileDialog(path);
        seam.expectMsgBox("File exported successfully", vbOKOnly);
        w.Command1(1)->click();
        EXPECT_FALSE(forms().isLoaded<frmExportELIG>()) << qPrintable(path);
        settle();
    }
    void fails(const QString& path, const QString& message)
    {
        frmExportELIG& w = openSheet();
        seam.answerFileDialog(path);
        seam.expectMsgBox(message, vbOKOnly);
        w.Command1(1)->click();
        EXPECT_TRUE(forms().isLoaded<frmExportELIG>()) << qPrintable(path);
        EXPECT_EQ(platform::busyCount(), 0);
        EXPECT_EQ(seam.mousePointer(), vbDefault);
    }
};

TEST_F(ZuzizavozTest, SheetsReadBackByTheOracles)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    setCount(1234);
    exportSheet(0, target("first.xls"));
    const auto save = seam.calls("FileSave").back();
    EXPECT_EQ(save.text, "elleg234");
    EXPECT_EQ(save.title, "Zuzizavoz Export");
    EXPECT_EQ(save.detail, "Excel 4.0 (*.xls)|*.xls @ ");  // "(Default)": the dialog's own folder
    EXPECT_EQ(count(), 1235);
    exportSheet(3, target("fourth.xls"));
    // A second period: the worksheet's one sheet is found whatever the name before "$".
    exportSheet(1, target("fees.v2.xls"));
    const QStringList files = {target("first.xls"), target("fourth.xls"), target("fees.v2.xls")};
    const std::vector<std::vector<std::vector<QString>>> expected = {
        {{"code", "Mod", "Allowed Amt"}, {"00100", "", "10"}, {"00100", "26", "1.25"}},
        {{"code", "Mod", "Allowed Amt"}, {"00100", "", "0"}, {"00100", "26", ""}},
        {{"code", "Mod", "Allowed Amt"}, {"00100", "", "20.5"}, {"00100", "26", ""}},
    };
    QString messages;
    const std::vector<jet::Rows> bySheetJs = oracle::sheetjsRead(files, &messages);
    const std::vector<jet::Rows> bySsconvert = oracle::ssconvertRead(files, &messages);
    EXPECT_FALSE(messages.contains("corrupt") || messages.contains("Invalid")) << qPrintable(messages);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expectCells(bySheetJs[i], expected[i], "SheetJS");
        expectCells(bySsconvert[i], expected[i], "ssconvert");
    }
    EXPECT_EQ(bySheetJs[0][1][2].type(), dao::Variant::Type::Double);
    EXPECT_EQ(bySheetJs[0][1][0].type(), dao::Variant::Type::Text);
}

TEST_F(ZuzizavozTest, RefusedCancelledAndUntypedTargets)
{
    setCount(1234);
    for (const char* name : {"ELLEG.XLS", "Exports.xls"})
        fails(target(name), kRefused);
    {
        frmExportELIG& w = openSheet();
        seam.cancelFileDialog();
        seam.expectMsgBox("No Export Performed- Cancel was selected.", vbOKOnly);
        w.Command1(1)->click();
    }
    fails(target("fees.txt"), "Error creating file- ");
    fails(target("fooxls"), "Error creating file- Invalid procedure call or argument");
    for (const char* name : {"ELLEG.XLS", "Exports.xls", "fees.txt", "fooxls"})
        EXPECT_FALSE(QFile::exists(target(name))) << name;
    EXPECT_EQ(count(), 1234);
}

TEST_F(ZuzizavozTest, TheSheetsLastRowFailsTheLastCode)
{
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    db().Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 16382) INSERT INTO " + table +
                 " (CODEMOD, CPT, S1) SELECT printf('A%05d', i), printf('A%05d', i), i FROM n");
    setCount(1234);
    frmExportELIG& w = openSheet();
    seam.answerFileDialog(target("big.xls"));
    seam.answerMsgBox(vbOK);
    w.Command1(1)->click();
    EXPECT_TRUE(seam.messages().back().startsWith("Error writing excel File- ")) << qPrintable(seam.messages().back());
    EXPECT_EQ(count(), 1234);
    EXPECT_FALSE(forms().isLoaded<ExprtInd>());
    const std::vector<jet::Rows> read = oracle::ssconvertRead({target("big.xls")});
    EXPECT_EQ(read[0].size(), 16384u);
}

TEST_F(ZuzizavozTest, OptionsCaptionedFromTheSessionRow)
{
    // A Null name ends the captioning; the export still writes the chosen schedule.
    setNames("S3NAME = NULL");
    seam.expectMsgBox("Error retrieving session information", vbOKOnly);
    frmExportELIG& w = openSheet(3);
    EXPECT_EQ(w.Option1(0)->text(), "Office fee");
    EXPECT_EQ(w.Option1(1)->text(), " Late  fee");
    EXPECT_EQ(w.Option1(2)->text(), "");
    EXPECT_EQ(w.scheduleKey(), "s4name");
    w.Unload();
    settle();

    // A name holding an apostrophe is read like any other.
    setNames("S3NAME = 'Third', Session = ?", {"O'Brien"});
    frmMain& main = forms().get<frmMain>();
    {
        const QSignalBlocker block(main.Combo1);
        main.Combo1->setItemText(main.Combo1->currentIndex(), "O'Brien");
    }
    frmExportWLT& wlt = load<frmExportWLT>();
    EXPECT_EQ(wlt.Option1(4)->text(), "Cash");
    wlt.Show();
    QApplication::processEvents();
    testsupport::saveShot(&wlt, "frmExportWLT");
    EXPECT_EQ(testsupport::cutTexts(&wlt), QStringList());
    frmExportELIG& sheet = openSheet();
    EXPECT_EQ(sheet.Caption(), "Zuzizavoz Export Wizard");
    EXPECT_EQ(sheet.Label1->text(), "Choose User Defined Schedule");
    EXPECT_EQ(sheet.Option1(2)->text(), "Third");
    sheet.Show();
    QApplication::processEvents();
    testsupport::saveShot(&sheet, "frmExportELIG");
    EXPECT_EQ(testsupport::cutTexts(&sheet), QStringList());
}

}  // namespace

namespace {

// As a user sees them: both wizards over the main window on the sample session, a WLT file and a sheet
// written into the folder KELVA_SHOTS names (under Xvfb only).
class FeeWizardsOnScreen : public ExportDialogTest {
protected:
    void prepare(dao::Database& d) override
    {
        d.Execute("UPDATE " + table + " SET S2 = 12.25 + rowid * 3.5");
    }
    void SetUp() override
    {
        ExportDialogTest::SetUp();
        QFile::copy(QDir(KELVA_DATA_DIR).filePath("elleg.xls"), folder.file("elleg.xls"));
    }
    void grab(const QString& name)
    {
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            QThread::msleep(20);
        }
        QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(qEnvironmentVariable("KELVA_SHOTS")).filePath(name));
    }
};

TEST_F(FeeWizardsOnScreen, BothWizardsWriteTheirFiles)
{
    const QString shots = qEnvironmentVariable("KELVA_SHOTS");
    if (shots.isEmpty() || QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "a look under Xvfb only";
    frmExportWLT& wlt = load<frmExportWLT>();
    wlt.Show();
    wlt.move(300, 200);
    platform::setOptionValue(wlt.Option1(1), true);
    grab("wlt_wizard.png");
    seam.answerFileDialog(QDir(shots).filePath("sample_wlt.txt"));
    seam.expectMsgBox("File exported successfully", vbOKOnly);
    wlt.Command1(1)->click();
    settle();
    frmExportELIG& sheet = load<frmExportELIG>();
    sheet.Show();
    sheet.move(300, 200);
    platform::setOptionValue(sheet.Option1(1), true);
    grab("zuzizavoz_wizard.png");
    seam.answerFileDialog(QDir(shots).filePath("sample_zuzizavoz.xls"));
    seam.expectMsgBox("File exported successfully", vbOKOnly);
    sheet.Command1(1)->click();
}

}  // namespace
