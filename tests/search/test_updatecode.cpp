#include "main/MainWindowTest.h"

#include "search/frmUpdateCode.h"

#include <QTest>

// The editor over the program's main database, its Procoden holding 00123.
class UpdateCodeTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        main = &startOnFirstSession();
        settleStarted();
        g().MainDb.Execute("INSERT INTO Procoden (Code, [DESC]) VALUES ('00123', 'Old text')");
    }
    frmUpdateCode& open(const QString& code, const QString& description)
    {
        auto* w = qobject_cast<frmUpdateCode*>(platform::forms().getByName("frmUpdateCode"));
        EXPECT_NE(w, nullptr);
        platform::setText(w->txt(0), code);
        platform::setText(w->txt(1), description);
        return *w;
    }
    static bool stillOpen() { return platform::forms().loadedOrNull<frmUpdateCode>() != nullptr; }
    QString stored(const QString& code)
    {
        return g().MainDb.scalar("SELECT [DESC] FROM Procoden WHERE Code = ?", {code}).toString();
    }

    frmMain* main = nullptr;
};

TEST_F(UpdateCodeTest, UpdateStoresThePaddedCodesDescriptionWithGraveAccents)
{
    auto& w = open("123", "Surgeon's fee");
    const QString workBefore = main->work->text();
    const int checkBefore = platform::checkValue(main->Check1);
    QString shownCode;
    QObject::connect(w.txt(0), &QLineEdit::textChanged, [&](const QString& t) { shownCode = t; });
    w.btn(1)->click();
    EXPECT_EQ(shownCode, "00123");
    EXPECT_EQ(stored("00123"), "Surgeon`s fee");
    EXPECT_FALSE(stillOpen());
    EXPECT_EQ(main->work->text(), workBefore);
    EXPECT_EQ(platform::checkValue(main->Check1), checkBefore);
}

TEST_F(UpdateCodeTest, FailedUpdateSaysSoAndStaysOpen)
{
    auto& w = open("00123", "New text");
    g().MainDb.Execute("DROP TABLE Procoden");
    seam.answerMsgBox(vbOK);
    w.SaveCode();
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_FALSE(seam.messages().front().isEmpty());
    EXPECT_TRUE(stillOpen());
}

TEST_F(UpdateCodeTest, CancelHandsBackOne)
{
    auto& w = open("00123", "New text");
    w.btn(0)->click();
    EXPECT_EQ(main->work->text(), "1");
    EXPECT_EQ(stored("00123"), "Old text");
    EXPECT_FALSE(stillOpen());
}

TEST_F(UpdateCodeTest, TypedLettersEmptyTheBoxes)
{
    auto& w = open("", "");
    w.show();
    // A letter into an empty percentile box passes the key check; the change check empties it and says so.
    seam.expectMsgBox("User Percentiles must be numeric.", vbOKOnly);
    QTest::keyClicks(w.txt(3), "a");
    EXPECT_TRUE(w.txt(3)->text().isEmpty());
    // Into a box holding a number: the key check empties it, then the letter itself is refused.
    platform::setText(w.txt(4), "12");
    seam.expectMsgBox("User Percentiles must be numeric.", vbOKOnly);
    seam.expectMsgBox("User Percentiles must be numeric.", vbOKOnly);
    QTest::keyClicks(w.txt(4), "x");
    EXPECT_TRUE(w.txt(4)->text().isEmpty());
    // Digits and Backspace are no fault.
    QTest::keyClicks(w.txt(5), "75");
    QTest::keyClick(w.txt(5), Qt::Key_Backspace);
    EXPECT_EQ(w.txt(5)->text(), "7");
    // The code box empties itself without a word.
    QTest::keyClicks(w.txt(0), "1a");
    EXPECT_TRUE(w.txt(0)->text().isEmpty());
    EXPECT_EQ(seam.messages().size(), 3);
}

TEST_F(UpdateCodeTest, LoadStatAndEnterMoveTheFocus)
{
    auto& w = open("00123", "Text");
    w.show();
    platform::setText(w.LoadStat, "3");
    w.Form_Activate();
    EXPECT_EQ(w.ActiveControl(), w.txt(2));

    struct Step {
        int from;
        QWidget* to;
    };
    for (const Step s : {Step{0, w.txt(1)}, Step{1, w.btn(1)}, Step{2, w.txt(3)}, Step{7, w.txt(8)},
                         Step{8, w.txt(1)}}) {
        SCOPED_TRACE(s.from);
        platform::SetFocus(w.txt(s.from));
        int key = 13;
        w.txt_KeyPress(s.from, key);
        EXPECT_EQ(w.ActiveControl(), s.to);
    }
}
