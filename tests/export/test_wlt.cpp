#include "s49_fixture.h"

#include "export/zuzizavoz/FeeScheduleWizard.h"
#include "export/zuzizavoz/WltFeeLine.h"

#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

using wlt::FeeRow;

QString lines(const std::vector<FeeRow>& rows)
{
    QString text;
    wlt::writeLines(rows, [&](const QByteArray& line) { text += QString::fromLatin1(line); });
    return text;
}

TEST(WltFeeLineTest, CentsInSevenPlaces)
{
    struct Case {
        dao::Variant fee;
        const char* cents;
    };
    for (const Case& c : {Case{0.0, "    000"}, Case{1.235, "  123.5"}, Case{0.125, "   12.5"}, Case{114.994, "11499.4"},
                          Case{45.67, "   4567"}, Case{dao::Variant(), "       "}, Case{100000.0, "10000000"}})
        EXPECT_EQ(wlt::cents(c.fee), c.cents) << c.fee.toString().toStdString();
    // A wider value moves the rest of the line.
    EXPECT_EQ(lines({{"99999", {}, 100000.0}}), "99999 10000000     000\r\n");
    EXPECT_EQ(lines({{"99999", {}, {}}}), "99999             000\r\n");
}

TEST(WltFeeLineTest, ProfessionalComponentPairing)
{
    struct Case {
        const char* name;
        std::vector<FeeRow> rows;
        const char* text;
    };
    const Case cases[] = {
        {"pair and TC", {{"70450", {}, 30.0}, {"70450", "26", 10.0}, {"70450", "TC", 20.0}},
         "70450    3000    1000\r\n"},
        {"no pair", {{"70451", {}, 30.0}, {"70451", "TC", 20.0}},
         "70451    3000     000\r\n70451    2000     000\r\n"},
        {"last row alone", {{"70450", {}, 30.0}, {"70450", "26", 10.0}, {"99213", {}, 45.67}},
         "70450    3000    1000\r\n99213    4567     000\r\n"},
        {"last row a pair", {{"99213", {}, 45.67}, {"99214", {}, 30.0}, {"99214", "26", 12.5}},
         "99213    4567     000\r\n99214    3000    1250\r\n"},
        {"short code", {{"123", {}, 1.0}}, "  123     100     000\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lines(c.rows), c.text) << c.name;
}

class WltWindowTest : public PredefinedFixture {
protected:
    void SetUp() override
    {
        PredefinedFixture::SetUp();
        setNames("S3NAME = 'Third'");
    }
    frmExportWLT& openWlt(int option = 0)
    {
        frmExportWLT& w = load<frmExportWLT>();
        platform::setOptionValue(w.Option1(option), true);
        return w;
    }
};

TEST_F(WltWindowTest, WritesTheScheduleAndCloses)
{
    setCount(2000);
    frmExportWLT& w = openWlt(0);
    EXPECT_EQ(w.Caption(), "WLT Export Wizard");
    EXPECT_EQ(w.Option1(0)->text(), "Office fee");
    seam.answerFileDialog(target("fees.txt"));
    seam.expectMsgBox("File exported successfully", vbOKOnly);
    w.Command1(1)->click();
    EXPECT_EQ(QString::fromLatin1(bytes(target("fees.txt"))), "00100    1000     125\r\n");
    const auto saves = seam.calls("FileSave");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].text, "WLT000.txt");
    EXPECT_EQ(saves[0].title, "Select the path to export to.");
    EXPECT_EQ(saves[0].detail, "Text (*.txt)|*.txt @ " + folder.path());
    EXPECT_EQ(count(), 2001);
    EXPECT_FALSE(forms().isLoaded<frmExportWLT>());
    EXPECT_EQ(seam.mousePointer(), vbDefault);
}

TEST_F(WltWindowTest, ProposedNamesAndCounts)
{
    QTemporaryDir exports;
    struct Case {
        qint64 count;
        QString exportPath;
        QString proposed;
        qint64 next;
    };
    const Case cases[] = {
        {1234, exports.path() + "/", exports.path() + "/WLT234.txt", 1235},
        {2000, "(Default)", "WLT000.txt", 2001},
        {2001, "(Default)", "WLT001.txt", 1001},
    };
    for (const Case& c : cases) {
        setCount(c.count);
        db().Execute("UPDATE PARMS_CL SET exportpath = ?", {c.exportPath});
        frmExportWLT& w = openWlt();
        seam.answerFileDialog(target(QString("w%1.txt").arg(c.count)));
        seam.expectMsgBox("File exported successfully", vbOKOnly);
        w.Command1(1)->click();
        EXPECT_EQ(seam.calls("FileSave").back().text, c.proposed);
        EXPECT_EQ(count(), c.next);
        settle();
    }
    // Cancel: no message, the window closes, the count stays.
    frmExportWLT& w = openWlt();
    seam.cancelFileDialog();
    w.Command1(1)->click();
    EXPECT_FALSE(forms().isLoaded<frmExportWLT>());
    EXPECT_EQ(count(), 1001);
}

// The main database is never removed, by its own path or through a linked folder; a template is replaced.
TEST_F(WltWindowTest, TheMainDatabaseIsNoTarget)
{
    QTemporaryDir links;
    const QString linked = links.filePath("linked");
    ASSERT_EQ(::symlink(QFile::encodeName(folder.path()).constData(), QFile::encodeName(linked).constData()), 0);
    const QByteArray before = bytes(folder.mainDb());
    setCount(1234);
    qint64 expected = 1234;
    for (const QString& path : {folder.mainDb(), linked + "/kelva.mdb"}) {
        frmExportWLT& w = openWlt();
        seam.answerFileDialog(path);
        seam.expectMsgBox("Cannot remove file " + path + " to create new file. -> Permission denied", vbOKOnly);
        w.Command1(1)->click();
        EXPECT_TRUE(forms().isLoaded<frmExportWLT>());
        EXPECT_EQ(count(), ++expected);
        EXPECT_EQ(bytes(folder.mainDb()), before);
        EXPECT_EQ(seam.mousePointer(), vbDefault);
    }
    // Still the database in use.
    EXPECT_EQ(g().MainDb.scalar("SELECT COUNT(*) FROM PARMS_CL").toLongLong(), 1);
    frmExportWLT& w = openWlt();
    seam.answerFileDialog(folder.file("export.mdb"));
    seam.expectMsgBox("File exported successfully", vbOKOnly);
    w.Command1(1)->click();
    EXPECT_TRUE(bytes(folder.file("export.mdb")).startsWith("00100 "));
}

}  // namespace
