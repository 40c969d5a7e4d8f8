// Files written by programs that share no code with ours, read through the data control.
#include "DriverFiles.h"
#include "oracles.h"

#include "platform/dao/Error.h"
#include "platform/jet/bytes.h"
#include "platform/jet/codepage.h"

#include <QDate>
#include <QFile>

namespace {

using dao::Variant;

using drivers::writeBytes;

using IndependentFiles = drivers::FolderTest;

TEST_F(IndependentFiles, SheetJSWorksheetAndWk1)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    const jet::Rows cells = {
        {Variant("CPT"), Variant("MOD"), Variant("S1"), Variant()},
        {Variant("00100"), Variant("26"), Variant(12.5), Variant()},
        {Variant("0001F"), Variant(), Variant(-7.25), Variant("extra")},
        {Variant(), Variant(), Variant(), Variant()},
        {Variant("A1234BC"), Variant("TC"), Variant(1e10), Variant()},
    };
    oracle::sheetjsWrite({{path("js.xls"), "biff2", cells}, {path("js.wk1"), "wk1", cells}});
    const std::pair<const char*, QString> files[] = {{"Excel 4.0;", path("js.xls")}, {"Lotus WK1;", path("js.wk1")}};
    for (const auto& [connect, file] : files) {
        SCOPED_TRACE(connect);
        const drivers::Table t = drivers::read(connect, file, "js$");
        EXPECT_EQ(t.names, (QStringList{"CPT", "MOD", "S1", "F4"}));
        EXPECT_TRUE(drivers::sameCells(jet::Rows(cells.begin() + 1, cells.end()), t.rows));
    }
}

// A workbook's sheet is found by its name; files of other Excel versions are read, never written.
TEST_F(IndependentFiles, WorkbookSheetsByNameAndOtherVersionsReadOnly)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    const jet::Rows cells = {{Variant("CPT"), Variant("S1")}, {Variant("00100"), Variant(12.5)}};
    oracle::sheetjsWrite({{path("book.xls"), "biff8", cells, "Fees"}, {path("old.xls"), "biff2", cells}});
    EXPECT_TRUE(drivers::sameCells({cells[1]}, drivers::read("Excel 4.0;", path("book.xls"), "FEES$").rows));
    platform::DataControl dc;
    try {
        drivers::open(dc, "Excel 4.0;", path("book.xls"), "other$");
        ADD_FAILURE() << "a sheet of another name was opened";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, 3011);
        EXPECT_TRUE(e.description.contains("other$"));
    }
    for (const QString& file : {path("book.xls"), path("old.xls")}) {
        drivers::open(dc, "Excel 4.0;", file, "Fees$");
        auto& rs = dc.Recordset();
        rs.AddNew();
        rs["CPT"] = Variant("0001F");
        EXPECT_THROW(rs.Update(), dao::Error) << file.toStdString();
        rs.CancelUpdate();
        drivers::release(dc);
    }
}

TEST_F(IndependentFiles, PythonDbfTableWithEveryFieldKind)
{
    REQUIRE_TOOL(oracle::Tool::PythonDbf);
    oracle::runPython(QStringLiteral(R"(
import dbf, sys, datetime
t = dbf.Table(sys.argv[1], 'CPT C(7); S1 N(10,2); SEEN D; ACTIVE L; DESC C(20)', dbf_type='db3', codepage='cp1252')
t.open(dbf.READ_WRITE)
t.append(('00100', 12.5, datetime.date(2004, 1, 5), True, 'Café'))
t.append({'cpt': 'GONE'})
t.append({'cpt': '0001F', 'active': False, 'desc': 'Lab panel'})
with t[1] as r:
    dbf.delete(r)
t.close()
)"),
                      {path("PyFees.DBF")});
    const drivers::Table t = drivers::read("dBASE III;", dir.path(), "pyfees");
    EXPECT_EQ(t.names, (QStringList{"CPT", "S1", "SEEN", "ACTIVE", "DESC"}));
    ASSERT_EQ(t.rows.size(), 2u) << "the deleted record is left out";
    EXPECT_TRUE(drivers::sameCells({{Variant("00100"), Variant(12.5), Variant(), Variant(true), Variant(QStringLiteral("Café"))},
                                    {Variant("0001F"), Variant(), Variant(), Variant(false), Variant("Lab panel")}},
                                   {{t.rows[0][0], t.rows[0][1], Variant(), t.rows[0][3], t.rows[0][4]},
                                    {t.rows[1][0], t.rows[1][1], t.rows[1][2], t.rows[1][3], t.rows[1][4]}}));
    EXPECT_EQ(t.rows[0][2].type(), Variant::Type::Date);
    EXPECT_EQ(t.rows[0][2].toDateTime().date(), QDate(2004, 1, 5));
    EXPECT_TRUE(t.rows[1][2].isNull()) << "a blank date is Null";
}

TEST_F(IndependentFiles, CsvWithQuotesAndEveryLineEnd)
{
    writeBytes(path("Fees.CSV"), "CPT,DESC,S1,NOTE\r\n"
                                 "00100,\"Office, new\",12.5,\"say \"\"hi\"\"\"\n"
                                 "0001F,\"two\r\nlines\",-7.25,\r"
                                 "A1234BC,Caf\xE9,1e10,x\r\n"
                                 ",,,\r\n");
    const drivers::Table t = drivers::read("Text;", dir.path() + "/", "fees#csv");
    EXPECT_EQ(t.names, (QStringList{"CPT", "DESC", "S1", "NOTE"}));
    EXPECT_TRUE(drivers::sameCells({{Variant("00100"), Variant("Office, new"), Variant(12.5), Variant("say \"hi\"")},
                                    {Variant("0001F"), Variant("two\r\nlines"), Variant(-7.25), Variant()},
                                    {Variant("A1234BC"), Variant(QStringLiteral("Café")), Variant(1e10), Variant("x")},
                                    {Variant(), Variant(), Variant(), Variant()}},
                                   t.rows));
    // UTF-8 when the bytes are UTF-8; a column of numbers and codes reads as text.
    writeBytes(path("u.csv"), "CODE,N\n100,1\nCaf\xC3\xA9,2\n");
    const drivers::Table u = drivers::read("Text;", dir.path(), "u#csv");
    EXPECT_TRUE(drivers::sameCells({{Variant("100"), Variant(1.0)}, {Variant(QStringLiteral("Café")), Variant(2.0)}}, u.rows));
}

// Formula cells, which no writer here makes: hand-made records with stored results.
TEST_F(IndependentFiles, FormulaCellsGiveTheirStoredResults)
{
    using namespace jet::bytes;
    auto cell = [](unsigned row, unsigned col) {
        QByteArray b;
        put16(b, row);
        put16(b, col);
        put16(b, 0);
        return b;
    };
    QByteArray xls;
    putRecord(xls, 0x0409, QByteArray("\x00\x04\x10\x00\x00\x00", 6));
    putRecord(xls, 0x0042, QByteArray("\xE4\x04", 2));
    putRecord(xls, 0x0200, QByteArray("\x00\x00\x02\x00\x00\x00\x02\x00\x00\x00", 10));
    QByteArray b = cell(0, 0);
    put16(b, 3);
    b.append("CPT");
    putRecord(xls, 0x0204, b);
    b = cell(0, 1);
    put16(b, 2);
    b.append("S1");
    putRecord(xls, 0x0204, b);
    b = cell(1, 1);  // =A2*2 with the stored result 25
    putF64(b, 25.0);
    put16(b, 0);
    put16(b, 3);
    b.append("\x1E\x02\x00", 3);
    putRecord(xls, 0x0406, b);
    b = cell(1, 0);  // a formula with a text result
    b.append(QByteArray("\x00\x00\x00\x00\x00\x00\xFF\xFF", 8));
    put16(b, 0);
    put16(b, 0);
    putRecord(xls, 0x0406, b);
    b.clear();
    put16(b, 5);
    b.append("00100");
    putRecord(xls, 0x0207, b);
    putRecord(xls, 0x000A, {});
    writeBytes(path("f.xls"), xls);

    QByteArray wk1;
    putRecord(wk1, 0x0000, QByteArray("\x06\x04", 2));
    auto wcell = [](unsigned col, unsigned row) {
        QByteArray c;
        put8(c, 0xFF);
        put16(c, col);
        put16(c, row);
        return c;
    };
    b = wcell(0, 0);
    b.append("'CPT", 4).append('\0');
    putRecord(wk1, 0x000F, b);
    b = wcell(1, 0);
    b.append("'S1", 3).append('\0');
    putRecord(wk1, 0x000F, b);
    b = wcell(1, 1);
    putF64(b, 25.0);
    put16(b, 1);
    b.append('\x03');
    putRecord(wk1, 0x0010, b);
    b = wcell(0, 1);
    putF64(b, 0.0);
    put16(b, 1);
    b.append('\x03');
    putRecord(wk1, 0x0010, b);
    b = wcell(0, 1);
    b.append("00100", 5).append('\0');
    putRecord(wk1, 0x0033, b);
    b = wcell(0, 2);
    put16(b, 7);  // an INTEGER cell
    putRecord(wk1, 0x000D, b);
    putRecord(wk1, 0x0001, {});
    writeBytes(path("f.wk1"), wk1);

    const drivers::Table x = drivers::read("Excel 4.0;", path("f.xls"), "f$");
    EXPECT_TRUE(drivers::sameCells({{Variant("00100"), Variant(25.0)}}, x.rows));
    const drivers::Table w = drivers::read("Lotus WK1;", path("f.wk1"), "f:");
    EXPECT_TRUE(drivers::sameCells({{Variant("00100"), Variant(25.0)}, {Variant(7.0), Variant()}}, w.rows));
}

}  // namespace
