#include "ExportDialogTest.h"

#include "export/ExprtInd.h"
#include "export/session/frmExportInfo.h"
#include "platform/jet/delimited.h"
#include "support/ReadableTexts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString kRefused =
    "You can not select files: KELVA.MDB or any of the export template files (files begining with EXPORT.??"
    "?) as the export file.  Please pick another file name.";
const QString kAllFilter = "Excel 4.0 (*.xls)|*.xls|Access (*.mdb)|*.mdb|Comma Delimited Text (*.csv)|*.csv";
const QString kCsvFilter = "Comma Delimited Text (*.csv)|*.csv";

TEST_F(ExportDialogTest, LoadsWithItsDefaults)
{
    frmExportInfo& w = load<frmExportInfo>();
    EXPECT_EQ(w.Caption(), "Data Export");
    EXPECT_TRUE(w.Option1(0)->isChecked());
    EXPECT_TRUE(w.Option2(1)->isChecked());
    EXPECT_EQ(w.Option2(0)->text(), "Export all columns ");
    EXPECT_EQ(w.Data(1).DatabaseName(), folder.mainDb());
    w.Show();
    QApplication::processEvents();
    testsupport::saveShot(&w, "frmExportInfo");
    EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
    w.Command1(0)->click();
    ASSERT_EQ(seam.calls("Help").size(), 1u);
    EXPECT_EQ(seam.calls("Help")[0].text, folder.file("morvex.chm"));
    EXPECT_EQ(seam.calls("Help")[0].flags, 130);
    w.Command1(1)->click();
    EXPECT_FALSE(forms().isLoaded<frmExportInfo>());
}

TEST_F(ExportDialogTest, CountsProposeTheNameAndAdvance)
{
    struct Case {
        qint64 count;
        const char* name;
        qint64 next;
    };
    for (const Case& c : {Case{1234, "morvex234", 1235}, Case{2000, "morvex000", 2001}, Case{2001, "morvex001", 1001},
                          Case{5, "morvex 5", 6}}) {
        setCount(c.count);
        frmExportInfo& w = load<frmExportInfo>();
        seam.answerFileDialog(target(QString("f%1.csv").arg(c.count)));
        seam.expectMsgBox("File exported successfully", vbOKOnly);
        pressContinue(w);
        const auto saves = seam.calls("FileSave");
        EXPECT_EQ(saves.back().text, c.name);
        EXPECT_EQ(saves.back().title, "Export");
        EXPECT_EQ(saves.back().detail, kCsvFilter + " @ " + folder.path());
        EXPECT_EQ(count(), c.next);
        EXPECT_FALSE(forms().isLoaded<frmExportInfo>());
        settle();
    }
}

TEST_F(ExportDialogTest, RefusedNamesWriteNothing)
{
    setCount(1234);
    QDir::setCurrent(out.path());
    frmExportInfo& w = load<frmExportInfo>();
    for (const char* name : {"kelva.MDB", "Export.xls", "exportpre3.xls"}) {
        seam.answerFileDialog(target(name));
        seam.expectMsgBox(kRefused, vbOKOnly);
        pressContinue(w);
        EXPECT_FALSE(QFile::exists(target(name))) << name;
        EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).canonicalPath());
    }
    EXPECT_EQ(count(), 1234);
    EXPECT_TRUE(forms().isLoaded<frmExportInfo>());
}

TEST_F(ExportDialogTest, FailuresKeepTheWindowAndTheCount)
{
    setCount(1234);
    frmExportInfo& w = load<frmExportInfo>();
    struct Case {
        const char* name;
        std::function<void()> answer;
        QString first, second;
        bool tagged = false;
    };
    const Case cases[] = {
        {"cancelled", [this] { seam.cancelFileDialog(); }, "No Export Performed", "Cancel was selected."},
        {"no file type", [this] { seam.answerFileDialog(target("morvex234")); }, "Error creating file", ""},
        {"no tagged code", [this] { seam.answerFileDialog(target("tagged.csv")); }, "Error creating file",
         "No current record.", true},
    };
    for (const Case& c : cases) {
        platform::setOptionValue(w.Option1(c.tagged ? 1 : 0), true);
        c.answer();
        seam.expectMsgBox(c.first, vbOKOnly);
        seam.expectMsgBox(c.second, vbOKOnly);
        pressContinue(w);
        EXPECT_EQ(count(), 1234) << c.name;
        EXPECT_TRUE(forms().isLoaded<frmExportInfo>()) << c.name;
        EXPECT_FALSE(forms().isLoaded<ExprtInd>()) << c.name;
        EXPECT_EQ(platform::busyCount(), 0) << c.name;
        EXPECT_TRUE(w.Command1(2)->isEnabled()) << c.name;
    }
    EXPECT_FALSE(QFile::exists(target("morvex234")));
    // The header line stays in the file.
    EXPECT_EQ(jet::parseDelimited(QString::fromLatin1(bytes(target("tagged.csv")))).size(), 1u);
}

TEST_F(ExportDialogTest, AllColumnsWithTheBarAndTheButtonsHeldDuringTheRun)
{
    frmExportInfo& w = load<frmExportInfo>();
    platform::setOptionValue(w.Option2(0), true);
    std::vector<std::pair<double, double>> bar;
    QStringList atYields;
    auto yield = [&] {
        atYields << QString::number(w.Command1(0)->isEnabled() + w.Command1(1)->isEnabled() + w.Command1(2)->isEnabled());
        if (ExprtInd* p = forms().loadedOrNull<ExprtInd>(); p && bar.empty())
            QObject::connect(p, &ExprtInd::prg1Changed, [&bar](double max, double value) { bar.emplace_back(max, value); });
    };
    seam.onDoEvents(yield);
    seam.onDoEvents(yield);
    int messagesAtUnload = -1;
    QObject::connect(&w, &platform::Form::unloaded, [&] { messagesAtUnload = int(seam.messages().size()); });
    seam.answerFileDialog(target("fees.mdb.csv"));
    seam.expectMsgBox("File exported successfully", vbOKOnly);
    pressContinue(w);

    EXPECT_EQ(seam.calls("FileSave")[0].detail, kAllFilter + " @ " + folder.path());
    EXPECT_EQ(atYields, QStringList({"0", "0"}));
    ASSERT_GE(bar.size(), 5u);
    EXPECT_EQ(bar[0], std::make_pair(2003.0, 0.0));
    EXPECT_EQ(bar[3], std::make_pair(2003.0, 3.0));
    EXPECT_EQ(bar.back(), std::make_pair(2003.0, 2003.0));
    EXPECT_EQ(messagesAtUnload, 0);
    const auto lines = jet::parseDelimited(QString::fromLatin1(bytes(target("fees.mdb.csv"))));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0][25].text, "Office");
    EXPECT_EQ(lines[0].size(), 55u);
}

}  // namespace
