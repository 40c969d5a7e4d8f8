#include "main/MainWindowTest.h"

#include "app/frmSplash.h"
#include "sessions/frmSLocation.h"
#include "support/ReadableTexts.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

// Every caption, label and column heading of a window shows whole at the window's designed size.
// With KELVA_SHOTS set, each case also leaves a picture of its window there.
namespace {

using testsupport::cutCells;
using testsupport::cutTexts;

class ReadableTextsTest : public MainWindowTest {
protected:
    void showAt(platform::Form& w, const QString& shot)
    {
        w.Show();
        QApplication::processEvents();
        testsupport::saveShot(&w, shot);
    }
};

TEST_F(ReadableTextsTest, AgreementWindowShowsItsTextsWholeAndTheFileLinesAsTheyAre)
{
    frmSplash& w = load<frmSplash>();
    showAt(w, QStringLiteral("agreement"));
    EXPECT_EQ(cutTexts(&w), QStringList());

    // The box holds the file's lines as the file breaks them: one paragraph a line, none run together.
    QFile file(folder.file(QStringLiteral("kvdis.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 3);
    const QTextDocument* doc = w.txt->document();
    for (int i = 0; i + 1 < lines.size(); ++i) {
        const QTextBlock block = doc->findBlockByNumber(i);
        EXPECT_EQ(block.text(), lines[i]) << i;
        EXPECT_EQ(block.layout()->lineCount(), 1) << "line " << i << " is broken again: " << qPrintable(lines[i]);
    }
    EXPECT_FALSE(w.txt->toPlainText().contains(QLatin1Char('\r')));
}

TEST_F(ReadableTextsTest, LocalityWindowShowsItsHeadingsAndLocalitiesWhole)
{
    g().MainDb = db();
    frmSLocation& w = load<frmSLocation>();
    showAt(w, QStringLiteral("locality"));
    EXPECT_EQ(cutTexts(&w), QStringList());
    // Every state, locality and code shows whole; a county list may run on past its column.
    const int county = 3;
    QList<int> columns;
    for (int c = 0; c < w.DBGrid1->ColumnCount(); ++c)
        if (c != county)
            columns << c;
    EXPECT_EQ(cutCells(w.DBGrid1, columns), QStringList());
}

TEST_F(ReadableTextsTest, MainWindowShowsItsTextsWhole)
{
    frmMain& w = startOnFirstSession();
    settleStarted();
    QApplication::processEvents();
    testsupport::saveShot(&w, QStringLiteral("main"));
    EXPECT_EQ(cutTexts(&w), QStringList());

    // Laid out again on a whole 1024 x 768 screen.
    w.resize(1024, 740);
    QApplication::processEvents();
    testsupport::saveShot(&w, QStringLiteral("main-1024"));
    EXPECT_EQ(cutTexts(&w), QStringList());
}

}  // namespace
