#include "support/SeamTest.h"

#include "platform/controls/BoundControls.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/WheelFilter.h"
#include "platform/dao/Database.h"
#include "platform/dao/Transaction.h"

#include <QApplication>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>

using namespace platform;

namespace {

// A session table of n codes: CODEMOD 10000.., STATUS A/B/Null, S1 = row * 10.5 (row 3 holds 1234.5, row 4 0).
QString makeFeeDb(const QTemporaryDir& dir, int rows)
{
    const QString path = dir.filePath("kelva.mdb");
    dao::Database db = dao::CreateDatabase(path);
    db.Execute("CREATE TABLE DATA0001 (Tag TEXT(1) COLLATE NOCASE, CODEMOD TEXT(7) COLLATE NOCASE, "
               "STATUS TEXT(1) COLLATE NOCASE, DESCR TEXT(50) COLLATE NOCASE, S1 REAL, Freq1 REAL)");
    db.Execute("CREATE TABLE PARMS_CL (CURSES TEXT(50) COLLATE NOCASE)");
    db.Execute("INSERT INTO PARMS_CL VALUES ('Clinic A')");
    db.Execute("CREATE TABLE SESSIONS (Session TEXT(50) COLLATE NOCASE, SESTAB TEXT(10) COLLATE NOCASE)");
    db.Execute("INSERT INTO SESSIONS VALUES ('Clinic A', 'DATA0001'), ('Clinic B', 'DATA0002')");
    db.Execute("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?) "
               "INSERT INTO DATA0001 (CODEMOD, STATUS, DESCR, S1, Freq1) "
               "SELECT CAST(10000 + i AS TEXT), CASE i % 3 WHEN 0 THEN 'A' WHEN 1 THEN 'B' END, 'Code ' || i, "
               "CASE i WHEN 3 THEN 1234.5 WHEN 4 THEN 0 ELSE i * 10.5 END, i FROM n",
               {rows});
    db.Close();
    return path;
}

class DataControlTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        path = makeFeeDb(dir, 20);
        MainDb = dao::OpenDatabase(path);
    }
    void TearDown() override
    {
        MainDb.Close();
        SeamTest::TearDown();
    }
    dao::Variant value(const QString& sql, const std::vector<dao::Variant>& params = {})
    {
        return MainDb.scalar(sql, params);
    }
    QTemporaryDir dir;
    QString path;
    dao::Database MainDb;
};

}  // namespace

TEST_F(DataControlTest, TwoDataControlsWriteInsideOneTransactionOnTheMainDatabase)
{
    DataControl Data2, Data3;
    Data2.setDatabaseName(path);
    Data2.setRecordSource("PARMS_CL");
    Data2.Refresh();
    Data3.setDatabaseName(path);
    Data3.setRecordSource("SELECT * FROM SESSIONS WHERE Session = ?", {"Clinic B"});
    Data3.Refresh();
    {
        dao::Transaction t(MainDb);
        Data2.Recordset().Edit();
        Data2.Recordset()["CURSES"] = "Clinic B";
        Data2.Recordset().Update();
        Data3.Recordset().Edit();
        Data3.Recordset()["SESTAB"] = "DATA0099";
        Data3.Recordset().Update();
        EXPECT_EQ(value("SELECT CURSES FROM PARMS_CL").toString(), "Clinic B");
    }  // rolled back
    EXPECT_EQ(value("SELECT CURSES FROM PARMS_CL").toString(), "Clinic A");
    EXPECT_EQ(value("SELECT SESTAB FROM SESSIONS WHERE Session = 'Clinic B'").toString(), "DATA0002");
}

TEST_F(DataControlTest, CopyingARecordSourceCopiesItsBoundValues)
{
    DataControl Data3, Data4;
    Data3.setDatabase(MainDb);
    Data3.setRecordSource("SELECT SESTAB FROM SESSIONS WHERE Session = ?", {"Clinic B"});
    Data4.setDatabase(MainDb);
    Data4.setRecordSource(Data3);
    Data4.Refresh();
    EXPECT_EQ(Data4.Recordset()["SESTAB"].Value().toString(), "DATA0002");
}

TEST_F(DataControlTest, RepositionRunsOnEveryChangeOfTheCurrentRecord)
{
    DataControl Data1;
    Data1.setDatabase(MainDb);
    Data1.setRecordSource("SELECT CODEMOD FROM DATA0001 ORDER BY CODEMOD");
    QStringList seen;
    Data1.onReposition([&] { seen << Data1.Recordset()["CODEMOD"].Value().toString(); });
    EXPECT_THROW(Data1.Recordset(), dao::Error);
    Data1.Refresh();
    Data1.Recordset().MoveNext();
    Data1.Recordset().Move(0);  // the same record: no reposition
    Data1.Recordset().FindFirst("CODEMOD = ?", {"10007"});
    Data1.Recordset().FindFirst("CODEMOD = ?", {"99999"});  // no match, the record stays
    Data1.Recordset().MoveLast();
    EXPECT_EQ(seen, QStringList({"10000", "10001", "10007", "10019"}));
}

TEST_F(DataControlTest, BoundLabelFollowsTheCurrentRecordAndCanBeReboundTwice)
{
    DataControl Data1;
    Data1.setDatabase(MainDb);
    Data1.setRecordSource("SELECT CODEMOD, STATUS FROM DATA0001 ORDER BY CODEMOD");
    BoundLabel lblData;
    QStringList changes;
    lblData.onChange([&] { changes << lblData.Caption(); });
    lblData.setBinding(&Data1, "STATUS");
    Data1.Refresh();
    EXPECT_EQ(lblData.Caption(), "A");
    Data1.Recordset().MoveNext();
    Data1.Recordset().MoveNext();  // Null shows as empty
    Data1.Recordset().MoveNext();  // A again
    Data1.Recordset().MoveNext();  // B ... no change event for the same text never arises here
    EXPECT_EQ(changes, QStringList({"A", "B", "", "A", "B"}));

    lblData.setBinding(nullptr, QString());
    Data1.Recordset().MoveFirst();
    EXPECT_EQ(lblData.Caption(), "B");
    lblData.setBinding(&Data1, "CODEMOD");
    EXPECT_EQ(lblData.Caption(), "10000");
}

TEST_F(DataControlTest, BoundTextBoxWritesItsEditBeforeTheRecordMoves)
{
    DataControl Data1;
    Data1.setDatabase(MainDb);
    Data1.setRecordSource("SELECT CODEMOD, DESCR FROM DATA0001 ORDER BY CODEMOD");
    BoundTextBox txt;
    txt.setBinding(&Data1, "DESCR");
    Data1.Refresh();
    EXPECT_EQ(txt.text(), "Code 0");
    txt.setText("Set by the program");  // not an edit of the user
    QTest::keyClicks(&txt, "!");
    EXPECT_TRUE(txt.DataChanged());
    Data1.Recordset().MoveNext();
    EXPECT_EQ(txt.text(), "Code 1");
    EXPECT_EQ(value("SELECT DESCR FROM DATA0001 WHERE CODEMOD = '10000'").toString(), "Set by the program!");
}

namespace {

class DBGridTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        path = makeFeeDb(dir, 16000);
        MainDb = dao::OpenDatabase(path);
        Data1.setDatabase(MainDb);
        Data1.setRecordSource("SELECT Tag, CODEMOD, STATUS, DESCR, S1, Freq1 * 2 AS Twice FROM DATA0001 "
                              "WHERE CODEMOD >= ? ORDER BY CODEMOD",
                              {"0"});
        dbg.setDataSource(&Data1);
        Data1.Refresh();
        dbg.resize(1280, 800);
        dbg.show();
        dbg.RowColChange = [this](qint64 LastRow, int LastCol) {
            log << QString("RowColChange %1 %2 -> %3").arg(LastRow).arg(LastCol).arg(dbg.currentRow());
        };
    }
    void TearDown() override
    {
        dbg.setDataSource(nullptr);
        MainDb.Close();
        SeamTest::TearDown();
    }
    QTemporaryDir dir;
    QString path;
    dao::Database MainDb;
    DataControl Data1;
    DBGrid dbg;
    QStringList log;
};

}  // namespace

TEST_F(DBGridTest, ColumnsFromTheFieldsAndTheirDisplay)
{
    ASSERT_EQ(dbg.ColumnCount(), 6);
    EXPECT_EQ(dbg.model()->headerData(1, Qt::Horizontal).toString(), "CODEMOD");
    EXPECT_EQ(dbg.model()->rowCount(), 16000);
    dbg.Columns(4).setNumberFormat("###,##0.00;;");
    dbg.Columns(4).setCaption("Fee 1");
    dbg.Columns(4).setAlignment(1);
    dbg.Columns(2).setVisible(false);
    dbg.Columns(1).setWidth(1500);
    EXPECT_EQ(dbg.cellText(3, 4), "1,234.50");
    EXPECT_EQ(dbg.cellText(4, 4), "0.00");  // an empty section takes the positive pattern
    EXPECT_EQ(dbg.cellText(2, 4), "21.00");
    EXPECT_EQ(dbg.model()->headerData(4, Qt::Horizontal).toString(), "Fee 1");
    EXPECT_EQ(dbg.model()->index(3, 4).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(dbg.isColumnHidden(2));
    EXPECT_EQ(dbg.columnWidth(1), 100);
    EXPECT_EQ(dbg.Columns(1).Width(), 1500);
    EXPECT_FALSE(dbg.model()->flags(dbg.model()->index(0, 5)) & Qt::ItemIsEditable);  // computed
    dbg.Columns(1).setLocked(true);
    EXPECT_FALSE(dbg.model()->flags(dbg.model()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(dbg.model()->flags(dbg.model()->index(0, 4)) & Qt::ItemIsEditable);
}

TEST_F(DBGridTest, ScrollsToTheLastRowAndBackFollowingTheRecordset)
{
    Data1.Recordset().MoveLast();
    EXPECT_EQ(dbg.currentRow(), 15999);
    EXPECT_GE(dbg.FirstRow() + dbg.VisibleRows(), 16000);
    EXPECT_EQ(dbg.Columns(1).Text(), "25999");
    Data1.Recordset().MoveFirst();
    EXPECT_EQ(dbg.currentRow(), 0);
    EXPECT_EQ(dbg.FirstRow(), 0);
    EXPECT_EQ(log, QStringList({"RowColChange 0 0 -> 15999", "RowColChange 15999 0 -> 0"}));

    // Moving the grid moves the recordset.
    dbg.setCurrentIndex(dbg.model()->index(500, 3));
    EXPECT_EQ(Data1.Recordset().AbsolutePosition(), 500);
    EXPECT_EQ(log.last(), "RowColChange 0 0 -> 500");
    dbg.setCol(1);
    EXPECT_EQ(log.last(), "RowColChange 500 3 -> 500");

    // Marquee style 3 highlights the whole current row.
    dbg.setMarqueeStyle(3);
    EXPECT_TRUE(dbg.selectionModel()->isRowSelected(500, QModelIndex()));
    Data1.Recordset().Move(2);
    EXPECT_TRUE(dbg.selectionModel()->isRowSelected(502, QModelIndex()));
    EXPECT_FALSE(dbg.selectionModel()->isRowSelected(500, QModelIndex()));

    // The scroll and the wheel move the view, not the current row.
    const int visible = dbg.VisibleRows();
    EXPECT_GT(visible, 20);
    const int first = dbg.FirstRow();
    dbg.Scroll(0, visible);
    EXPECT_EQ(dbg.FirstRow(), first + visible);
    EXPECT_EQ(Data1.Recordset().AbsolutePosition(), 502);
    WheelFilter wheel(dbg);
    QWheelEvent notch(QPointF(50, 50), dbg.viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(dbg.viewport(), &notch);
    EXPECT_EQ(dbg.FirstRow(), first + visible - 3);
    EXPECT_EQ(Data1.Recordset().AbsolutePosition(), 502);
}

TEST_F(DBGridTest, EditedCellIsWrittenToTheTableRow)
{
    QStringList events;
    dbg.Change = [&] { events << "Change " + dbg.Text(); };
    dbg.AfterColUpdate = [&](int col) {
        events << QString("AfterColUpdate %1").arg(col);
        if (dbg.Columns(col).Value().toString().isEmpty())
            dbg.Columns(col).setValue(dao::Variant::null());
    };
    dbg.setCurrentIndex(dbg.model()->index(7, 4));
    QTest::keyClicks(&dbg, "9");  // typing starts the edit
    ASSERT_TRUE(dbg.isEditing());
    auto* editor = dbg.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, ".5");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the delegate takes Enter's edit in a queued call
    EXPECT_EQ(MainDb.scalar("SELECT S1 FROM DATA0001 WHERE CODEMOD = '10007'").toDouble(), 9.5);
    EXPECT_EQ(dbg.cellText(7, 4), "9.5");
    EXPECT_EQ(events, QStringList({"Change 9", "Change 9.", "Change 9.5", "AfterColUpdate 4"}));

    // An emptied cell becomes Null through AfterColUpdate.
    dbg.model()->setData(dbg.model()->index(8, 4), "", Qt::EditRole);
    EXPECT_TRUE(MainDb.scalar("SELECT S1 FROM DATA0001 WHERE CODEMOD = '10008'").isNull());
    // Written through the recordset the current record sees it too.
    Data1.Recordset().setAbsolutePosition(8);
    EXPECT_TRUE(Data1.Recordset()["S1"].Value().isNull());
}

TEST_F(DBGridTest, RefusedEditShowsTheStoredValueAndItsMessageCanBeSuppressed)
{
    seam.expectMsgBox("Data type conversion error.", vbOKOnly);
    dbg.model()->setData(dbg.model()->index(5, 4), "abc", Qt::EditRole);
    EXPECT_EQ(dbg.cellText(5, 4), "52.5");
    EXPECT_EQ(MainDb.scalar("SELECT S1 FROM DATA0001 WHERE CODEMOD = '10005'").toDouble(), 52.5);

    int dataError = 0;
    dbg.Error = [&](int DataError, int& Response) {
        dataError = DataError;
        Response = 0;
    };
    dbg.model()->setData(dbg.model()->index(6, 4), "xyz", Qt::EditRole);
    EXPECT_EQ(dataError, 3421);
    EXPECT_EQ(dbg.cellText(6, 4), "63");
}

TEST_F(DBGridTest, WriteTheFileRefusesNeverLooksSaved)
{
    // The file refuses every change to the table, as a full disk or a read-only file does.
    MainDb.Execute("CREATE TRIGGER refuse BEFORE UPDATE ON DATA0001 BEGIN SELECT RAISE(ABORT, 'disk is full'); END");
    dbg.Columns(4).setNumberFormat("###,##0.00;;");
    int dataError = 0;
    dbg.Error = [&](int DataError, int&) { dataError = DataError; };
    seam.answerMsgBox(vbOK);
    dbg.setCurrentIndex(dbg.model()->index(5, 4));
    QTest::keyClick(&dbg, Qt::Key_F2);
    auto* editor = dbg.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "77");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_NE(dataError, 0);
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_FALSE(dbg.isEditing());
    EXPECT_EQ(dbg.cellText(5, 4), "52.50");
    EXPECT_EQ(dbg.Text(), "52.50");
    EXPECT_EQ(dbg.model()->index(5, 4).data().toString(), "52.50");
    EXPECT_EQ(MainDb.scalar("SELECT S1 FROM DATA0001 WHERE CODEMOD = '10005'").toDouble(), 52.5);

    // Opened again, the cell offers what was typed, to be corrected; left without a write, that is dropped.
    QTest::keyClick(&dbg, Qt::Key_F2);
    ASSERT_TRUE(dbg.isEditing());
    EXPECT_EQ(dbg.Text(), "77");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(dbg.isEditing());
    EXPECT_EQ(dbg.cellValue(5, 4).toDouble(), 52.5);
    EXPECT_EQ(dbg.cellText(5, 4), "52.50");
}

TEST(DBGridLifetime, TheModelGoesWithTheGrid)
{
    QPointer<QAbstractItemModel> model;
    QPointer<QObject> delegate;
    {
        DBGrid grid;
        model = grid.model();
        delegate = grid.itemDelegate();
    }
    EXPECT_TRUE(model.isNull());
    EXPECT_TRUE(delegate.isNull());
}

TEST_F(DBGridTest, MouseDownArrivesBeforeTheCurrentCellChangeItCauses)
{
    dbg.MouseDown = [&](int Button, int, double, double) { log << QString("MouseDown %1").arg(Button); };
    int heads = -1;
    dbg.HeadClick = [&](int col) { heads = col; };
    const QRect cell = dbg.visualRect(dbg.model()->index(2, 1));
    QTest::mouseClick(dbg.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(log, QStringList({"MouseDown 1", "RowColChange 0 0 -> 2"}));
    EXPECT_EQ(Data1.Recordset()["CODEMOD"].Value().toString(), "10002");
    const int x = dbg.horizontalHeader()->sectionViewportPosition(3) + 5;
    QTest::mouseClick(dbg.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    EXPECT_EQ(heads, 3);
    EXPECT_EQ(dbg.currentRow(), 2);
}

TEST_F(DBGridTest, KeyDownCanRewriteTheEditedCellBeforeTheGridMoves)
{
    int keyDowns = 0;
    dbg.KeyDown = [&](int& KeyCode, int) {
        ++keyDowns;
        if ((KeyCode == 38 || KeyCode == 40) && dbg.Text().isEmpty())
            dbg.setText("0");
    };
    dbg.setCurrentIndex(dbg.model()->index(9, 4));
    QTest::keyClick(&dbg, Qt::Key_F2);
    auto* editor = dbg.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(dbg.Text(), "");
    keyDowns = 0;
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(keyDowns, 1);
    EXPECT_EQ(dbg.currentRow(), 10);
    EXPECT_EQ(MainDb.scalar("SELECT S1 FROM DATA0001 WHERE CODEMOD = '10009'").toDouble(), 0.0);
    EXPECT_FALSE(MainDb.scalar("SELECT S1 FROM DATA0001 WHERE CODEMOD = '10009'").isNull());
}

TEST_F(DBGridTest, RightAlignedNumbersEndAtTheirCellsRightEdge)
{
    dbg.Columns(4).setNumberFormat("###,##0.00;;");
    dbg.Columns(4).setAlignment(1);
    dbg.Columns(5).setVisible(false);
    const QImage shot = dbg.viewport()->grab().toImage();
    const QRect cell = dbg.visualRect(dbg.model()->index(5, 4));
    auto inked = [&](int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y)
                if (qGray(shot.pixel(x, y)) < 128)
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(cell.right() - 15, cell.right() - 2));  // "52.50" ends at the right
    EXPECT_FALSE(inked(cell.left() + 2, cell.left() + 30));     // and does not start at the left
    EXPECT_FALSE(inked(cell.right() + 2, std::min(shot.width(), cell.right() + 40)));  // nor run into the next
}
