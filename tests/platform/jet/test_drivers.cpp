#include "DriverFiles.h"
#include "oracles.h"

#include "platform/dao/Error.h"
#include "platform/jet/biff4.h"
#include "platform/jet/dbase.h"
#include "platform/jet/delimited.h"
#include "platform/jet/wk1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

using dao::Variant;
using drivers::Table;

jet::Rows withHeader(const QStringList& names, const jet::Rows& rows)
{
    jet::Rows all;
    all.emplace_back();
    for (const QString& n : names)
        all.back().emplace_back(n);
    all.insert(all.end(), rows.begin(), rows.end());
    return all;
}

using drivers::writeBytes;

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One table of awkward cells appended to header-only templates of each written kind.
class AwkwardCells : public ::testing::Test {
protected:
    static inline QTemporaryDir* dir = nullptr;
    static inline Table table;

    static QString path(const QString& name) { return dir->filePath(name); }

    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        const QString long150 = QStringLiteral("Long description, with a comma, \"quotes\" and more ").repeated(3).left(149) + QLatin1Char('.');
        table.names = QStringList{"CODE", "DESC", "FEE", "FEETEXT"};
        table.rows = {
            {Variant("00100"), Variant(QStringLiteral("Café")), Variant(12.5), Variant("0.50")},
            {Variant("0001F"), Variant(long150), Variant(-7.25), Variant()},
            {Variant("A1234BC"), Variant(), Variant(1e10), Variant("12")},
            {Variant(), Variant("no code"), Variant(), Variant("x")},
        };
        writeBytes(path("awk.xls"), jet::biff4Template(table.names));
        writeBytes(path("awk.wk1"), jet::wk1Template(table.names));
        jet::createDbf(path("awk.dbf"), {{"CODE", 'C', 7, 0}, {"DESC", 'C', 150, 0}, {"FEE", 'N', 15, 2}, {"FEETEXT", 'C', 10, 0}});
        drivers::append("Excel 4.0;", path("awk.xls"), "awk$", table);
        drivers::append("Lotus WK1;", path("awk.wk1"), "awk:", table);
        drivers::append("dBASE III;", dir->path() + "/", "awk", table);
    }
    static void TearDownTestSuite()
    {
        // KELVA_KEEP_FORMAT_FILES=<folder> keeps the written files, to look at them in a spreadsheet program.
        if (const QString keep = qEnvironmentVariable("KELVA_KEEP_FORMAT_FILES"); !keep.isEmpty())
            for (const QString& f : files())
                QFile::copy(f, QDir(keep).filePath(QFileInfo(f).fileName()));
        delete dir;
        dir = nullptr;
    }
    static QStringList files() { return {path("awk.xls"), path("awk.wk1"), path("awk.dbf")}; }
};

TEST_F(AwkwardCells, OurReaderGivesTheSameCells)
{
    const std::tuple<const char*, QString, const char*> kinds[] = {
        {"Excel 4.0;", path("awk.xls"), "awk$"},
        {"Lotus WK1;", path("awk.wk1"), "awk:"},
        {"dBASE III;", dir->path(), "AWK"},
    };
    for (const auto& [connect, db, source] : kinds) {
        SCOPED_TRACE(connect);
        const Table t = drivers::read(connect, db, source);
        EXPECT_EQ(t.names, table.names);
        EXPECT_TRUE(drivers::sameCells(table.rows, t.rows));
    }
    EXPECT_FALSE(QFileInfo::exists(path("awk.cpg"))) << "no side file beside the dBASE table";
    EXPECT_EQ(readBytes(path("awk.dbf"))[0], char(3));
}

TEST_F(AwkwardCells, SheetJSReadsTheSameCells)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    const auto sheets = oracle::sheetjsRead(files());
    const jet::Rows expected = withHeader(table.names, table.rows);
    EXPECT_TRUE(drivers::sameCells(expected, sheets[0])) << "xls";
    // SheetJS reads WK1 labels as code page 1252: the accent is checked by ssconvert.
    jet::Rows wk1 = sheets[1];
    ASSERT_GT(wk1.size(), 1u);
    EXPECT_TRUE(wk1[1][1].toString().startsWith("Caf"));
    wk1[1][1] = Variant(QStringLiteral("Café"));
    EXPECT_TRUE(drivers::sameCells(expected, wk1)) << "wk1";
    EXPECT_TRUE(drivers::sameCells(expected, sheets[2])) << "dbf";
}

TEST_F(AwkwardCells, SsconvertReadsTheSameCellsWithoutComplaint)
{
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    QString messages;
    const auto sheets = oracle::ssconvertRead(files(), &messages);
    EXPECT_FALSE(messages.contains("corrupted", Qt::CaseInsensitive)) << messages.toStdString();
    EXPECT_FALSE(messages.contains("Invalid", Qt::CaseInsensitive)) << messages.toStdString();
    const jet::Rows expected = withHeader(table.names, table.rows);
    EXPECT_TRUE(drivers::sameCells(expected, sheets[0])) << "xls";
    EXPECT_TRUE(drivers::sameCells(expected, sheets[1])) << "wk1";
    // gnumeric reads a blank dBASE number as 0.
    jet::Rows dbf = expected;
    dbf[4][2] = Variant(0.0);
    EXPECT_TRUE(drivers::sameCells(dbf, sheets[2])) << "dbf";
}

}  // namespace

namespace {

// Records read from the file can be changed and deleted as well; the file is then written anew.
TEST(DriverWrites, EditsDeletesAndAdditionsReachEveryKindOfFile)
{
    QTemporaryDir dir;
    const QStringList names = {"CODE", "FEE"};
    const jet::Rows start = {{Variant("00100"), Variant(1.0)}, {Variant("00200"), Variant(2.0)}, {Variant("00300"), Variant(3.0)}};
    writeBytes(dir.filePath("e.xls"), jet::biff4WithRows(jet::biff4Template(names), 1, start, false, "e.xls"));
    writeBytes(dir.filePath("e.wk1"), jet::wk1WithRows(jet::wk1Template(names), 1, start, false, "e.wk1"));
    writeBytes(dir.filePath("e.csv"), "CODE,FEE\r\n00100,1\r\n00200,2\r\n00300,3\r\n");
    jet::createDbf(dir.filePath("e.dbf"), {{"CODE", 'C', 5, 0}, {"FEE", 'N', 8, 2}});
    drivers::append("dBASE III;", dir.path(), "e", {names, start});
    const std::tuple<const char*, QString, const char*> kinds[] = {
        {"Excel 4.0;", dir.filePath("e.xls"), "e$"},
        {"Lotus WK1;", dir.filePath("e.wk1"), "e:"},
        {"dBASE III;", dir.path(), "e"},
        {"Text;", dir.path(), "e#csv"},
    };
    for (const auto& [connect, db, source] : kinds) {
        SCOPED_TRACE(connect);
        platform::DataControl dc;
        drivers::open(dc, connect, db, source);
        auto& rs = dc.Recordset();
        EXPECT_EQ(rs.RecordCount(), 3);
        rs.Edit();
        rs["FEE"] = Variant(1.5);
        rs.Update();
        rs.MoveNext();
        rs.Delete();
        rs.AddNew();
        rs["CODE"] = Variant("00400");
        rs["FEE"] = Variant(4.0);
        rs.Update();
        drivers::release(dc);
        const drivers::Table back = drivers::read(connect, db, source);
        // The text driver reads a column of codes that are all numbers as numbers.
        const bool text = QByteArray(connect) == "Text;";
        auto code = [&](const char* c) { return text ? Variant(QString(c).toDouble()) : Variant(c); };
        EXPECT_TRUE(drivers::sameCells({{code("00100"), Variant(1.5)}, {code("00300"), Variant(3.0)}, {code("00400"), Variant(4.0)}},
                                       back.rows));
    }
}

}  // namespace
