#include "app/endprogram.h"
#include "app/frmExpireMsg.h"
#include "app/frmSplash.h"
#include "app/globals.h"
#include "app/modules.h"
#include "main/frmMain.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/WheelFilter.h"
#include "platform/forms/controls.h"
#include "support/SeamTest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// ---- The agreement text.

struct TextCase {
    const char* name;
    QByteArray file;
    const char* shown;
};

class AgreementTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(AgreementTextTest, EveryLineEndsWithALineBreak)
{
    EXPECT_EQ(agreementText(GetParam().file), QString::fromLatin1(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Files, AgreementTextTest,
    ::testing::Values(TextCase{"Empty", "", ""},
                      TextCase{"CrLfLines", "one\r\ntwo\r\n", "one\r\ntwo\r\n"},
                      TextCase{"LastLineWithoutBreak", "one\r\ntwo", "one\r\ntwo\r\n"},
                      TextCase{"CarriageReturnAlone", "one\rtwo\r", "one\r\ntwo\r\n"},
                      TextCase{"LineFeedStaysInItsLine", "one\ntwo\r\n", "one\ntwo\r\n"},
                      TextCase{"EmptyLinesKept", "\r\n\r\nx", "\r\n\r\nx\r\n"},
                      TextCase{"CodePage", "caf\xe9\r\n", "caf\xe9\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AgreementTextTest, SystemCodePageBecomesUnicode)
{
    EXPECT_EQ(agreementText("\xae 2014"), QStringLiteral("\u00AE 2014\r\n"));
}

// ---- Windows and services that need the seam and a program folder.

class SharedServicesTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        g() = Globals{};
        g().ProgramFolder = dir.path();
        resetProgramEnded();
    }
    void TearDown() override
    {
        SeamTest::TearDown();
        g() = Globals{};
        resetProgramEnded();
    }
    QTemporaryDir dir;
};

TEST_F(SharedServicesTest, AgreementWindowSwallowsTypingAndShowsItsInstruction)
{
    QFile file(QDir(dir.path()).filePath("kvdis.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("LICENSE\r\nTerms");
    file.close();
    frmSplash& s = load<frmSplash>();
    EXPECT_EQ(s.txt->toPlainText(), QStringLiteral("LICENSE\nTerms\n"));
    EXPECT_EQ(s.lbl(0)->text(), QStringLiteral("Please read the License Agreement and Disclaimer at the right. If "
                                               "you agree to these terms you may click \"accept\".  If you do not "
                                               "agree, press cancel."));
    int key = 'a';
    s.txt_KeyPress(key);
    EXPECT_EQ(key, 0);
    EXPECT_TRUE(s.txt->isReadOnly());
}

struct ReminderCase {
    const char* name;
    QDate today;
    bool label2Shown;
    const char* label1Start;
};

class ReminderTest : public SharedServicesTest, public ::testing::WithParamInterface<ReminderCase> {};

TEST_P(ReminderTest, TextsFollowTheDate)
{
    seam.setNow(QDateTime(GetParam().today, QTime(12, 0)));
    frmExpireMsg& w = load<frmExpireMsg>();
    w.show();
    EXPECT_EQ(w.Caption(), QStringLiteral("KELVA Morvex Data Expiration"));
    EXPECT_EQ(w.Label2->isVisible(), GetParam().label2Shown);
    EXPECT_EQ(w.Label2->text(), QStringLiteral("KELVA Morvex Warning:"));
    EXPECT_TRUE(w.Label1->text().startsWith(QString::fromLatin1(GetParam().label1Start)))
        << w.Label1->text().toStdString();
    // The sample build's numbers and address are fictitious ones.
    EXPECT_TRUE(w.Label1->text().contains(QStringLiteral("555-01")));
}

INSTANTIATE_TEST_SUITE_P(
    Dates, ReminderTest,
    ::testing::Values(ReminderCase{"NewYearsEve", QDate(2014, 12, 31), true,
                                   "Reminder: For KELVA Morvex 2015 order information call "},
                      ReminderCase{"NewYear", QDate(2015, 1, 1), false,
                                   "Medicare KELVA Fee Information contained in this software is old and may be "
                                   "incorrect for Medicare reimbursement.  Call KELVA Morvex at "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SharedServicesTest, OrderReminderNamesTheWebAddress)
{
    seam.setNow(QDateTime(QDate(2014, 12, 1), QTime(12, 0)));
    frmExpireMsg& w = load<frmExpireMsg>();
    EXPECT_TRUE(w.Label1->text().contains(QStringLiteral("example.com")));
    EXPECT_TRUE(w.Label1->text().endsWith(QStringLiteral(".")));
}

TEST_F(SharedServicesTest, FederalRegisterThatCannotBeOpenedSaysSo)
{
    for (int result : {2, 31, 0}) {
        seam.shellResult(result);
        seam.expectMsgBox(QStringLiteral("Could not open a pdf reader for viewing document."), vbOKOnly);
        ShowFederalRegister();
    }
    const auto shell = seam.calls(QStringLiteral("Shell"));
    ASSERT_EQ(shell.size(), 3u);
    EXPECT_EQ(shell[0].text, QDir(dir.path()).filePath(QStringLiteral("fedreg.pdf")));
}

TEST_F(SharedServicesTest, FederalRegisterOpenedShowsNothing)
{
    seam.shellResult(42);
    ShowFederalRegister();
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(SharedServicesTest, DocumentOpenerChoosesItsVerbAndReturnsTheShellResult)
{
    seam.shellResult(42);
    seam.shellResult(2);
    EXPECT_EQ(ShellOpenDocument(QStringLiteral("/tmp/a.pdf"), 0, 1), 42);
    EXPECT_EQ(ShellOpenDocument(QStringLiteral("/tmp/a.pdf"), 1, 1), 2);
    const auto shell = seam.calls(QStringLiteral("Shell"));
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0].detail, QStringLiteral("Open"));
    EXPECT_EQ(shell[1].detail, QStringLiteral("Print"));
}

TEST_F(SharedServicesTest, InstallFontOfAMissingFileDoesNothing)
{
    InstallFont(QDir(dir.path()).filePath(QStringLiteral("SSERIFE.FON")));
    InstallFont(QString());
    EXPECT_TRUE(seam.calls().empty());
}

TEST_F(SharedServicesTest, GridWheelScrollsThreeRowsANotch)
{
    // Any grid, with no main window loaded: the wheel scrolls the grid it was given.
    platform::DBGrid grid;
    platform::WheelFilter* wheel = InstallGridWheel(grid);
    EXPECT_EQ(wheel->wheel(120), -3);
    EXPECT_EQ(wheel->wheel(40), 0);
    EXPECT_EQ(wheel->wheel(40), 0);
    EXPECT_EQ(wheel->wheel(40), -3);
    EXPECT_EQ(wheel->wheel(-200), 3);
    EXPECT_EQ(wheel->remainder(), -80);
    EXPECT_EQ(wheel->wheel(-40), 3);
    EXPECT_EQ(wheel->wheel(240), -6);
}

}  // namespace
