#include "DriverFiles.h"
#include "XlsFixture.h"

#include "platform/dao/Error.h"
#include "platform/jet/xlsread.h"

#include <QFileInfo>
#include <random>

namespace {

using jet::Sheet;
using jet::Workbook;

class XlsRead : public XlsFixture {
protected:
    // Every cell of the table where it stands, and nothing else in the sheet.
    static void expectTable(const Sheet& sheet, const std::vector<TableCell>& cells)
    {
        int rows = 0, columns = 0;
        for (const TableCell& c : cells)
            if (!c.expected.isNull()) {
                rows = std::max(rows, c.row + 1);
                columns = std::max(columns, c.col + 1);
            }
        ASSERT_EQ(int(sheet.rows.size()), rows);
        ASSERT_EQ(sheet.columns, columns);
        for (int r = 0; r < rows; ++r) {
            ASSERT_EQ(int(sheet.rows[r].size()), columns) << "row " << r;
            for (int c = 0; c < columns; ++c) {
                dao::Variant want;
                for (const TableCell& cell : cells)
                    if (cell.row == r && cell.col == c)
                        want = cell.expected;
                const dao::Variant& got = sheet.rows[r][c];
                EXPECT_EQ(got, want) << "row " << r << " column " << c;
                EXPECT_EQ(got.type(), want.type()) << "row " << r << " column " << c;
            }
        }
    }

    static void expectRefused(const QString& file, const QString& reason)
    {
        try {
            jet::readWorkbook(file);
            ADD_FAILURE() << "read " << file.toStdString();
        } catch (const dao::Error& e) {
            EXPECT_TRUE(e.description.contains(file)) << e.description.toStdString();
            EXPECT_TRUE(e.description.contains(reason)) << e.description.toStdString();
        }
    }
};

TEST_F(XlsRead, SheetJSWorkbooksOfEachVersionReadCellForCell)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    const std::vector<TableCell> cells = asciiTable();
    sheetjs(QStringLiteral("const fees = %1;\n"
                           "const two = XLSX.utils.book_new();\n"
                           "XLSX.utils.book_append_sheet(two, fees, 'fees');\n"
                           "XLSX.utils.book_append_sheet(two, XLSX.utils.aoa_to_sheet([['other']]), 'Sheet1');\n"
                           "for (const t of ['biff5', 'biff8']) XLSX.writeFile(two, t + '.xls', {bookType: t});\n"
                           "const one = XLSX.utils.book_new();\n"
                           "XLSX.utils.book_append_sheet(one, fees, 'fees');\n"
                           "XLSX.writeFile(one, 'biff2.xls', {bookType: 'biff2'});\n")
                .arg(sheetjsSheet(cells)));

    const Workbook biff2 = jet::readWorkbook(path("biff2.xls"));
    ASSERT_EQ(biff2.sheets.size(), 1u);
    EXPECT_EQ(biff2.sheets[0].name, "biff2");  // a worksheet stores no name: it is called after its file
    expectTable(biff2.sheets[0], cells);

    for (const char* version : {"biff5", "biff8"}) {
        SCOPED_TRACE(version);
        const Workbook book = jet::readWorkbook(path(QString(version) + ".xls"));
        ASSERT_EQ(book.sheets.size(), 2u);
        EXPECT_EQ(book.sheets[0].name, "fees");
        EXPECT_EQ(book.sheets[1].name, "Sheet1");
        expectTable(book.sheets[0], cells);
        expectTable(book.sheets[1], {{0, 0, TableCell::Text, "other", "other"}});
    }
}

TEST_F(XlsRead, SsconvertWorkbooksKeepAccentsFormulaResultsAndTheActiveSheet)
{
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    std::vector<TableCell> cells = feesTable();
    cells.push_back({3, 3, TableCell::Formula, "1/0", dao::Variant()});  // an error value reads as empty
    write("source.gnumeric", gnumericWorkbook(cells));
    for (const char* type : {"excel_biff7", "excel_biff8"}) {
        SCOPED_TRACE(type);
        ssconvert({"-T", QStringLiteral("Gnumeric_Excel:") + type, "source.gnumeric", QString(type) + ".xls"});
        const Workbook book = jet::readWorkbook(path(QString(type) + ".xls"));
        ASSERT_EQ(book.sheets.size(), 2u);
        EXPECT_EQ(book.sheets[0].name, "Sheet1");
        EXPECT_EQ(book.sheets[1].name, "fees");
        EXPECT_EQ(book.active, 1);
        EXPECT_EQ(book.codepage, QString(type) == "excel_biff7" ? 1252 : 1200);
        expectTable(book.sheets[1], cells);
    }
}

TEST_F(XlsRead, SmallWorkbookInTheMiniStreamReadsWhole)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    sheetjs("const wb = XLSX.utils.book_new();\n"
            "XLSX.utils.book_append_sheet(wb, XLSX.utils.aoa_to_sheet([['CPT', 'FEE'], ['00100', 12.5], ['99213', 80]]), 'fees');\n"
            "for (const t of ['biff5', 'biff8']) XLSX.writeFile(wb, t + '.xls', {bookType: t});\n");
    for (const char* version : {"biff5", "biff8"}) {
        SCOPED_TRACE(version);
        const QString file = path(QString(version) + ".xls");
        ASSERT_LT(QFileInfo(file).size(), 4096);  // so its workbook stream is under the cutoff
        const Workbook book = jet::readWorkbook(file);
        ASSERT_EQ(book.sheets.size(), 1u);
        expectTable(book.sheets[0], {{0, 0, TableCell::Text, "", "CPT"},
                                     {0, 1, TableCell::Text, "", "FEE"},
                                     {1, 0, TableCell::Text, "", "00100"},
                                     {1, 1, TableCell::Number, "", 12.5},
                                     {2, 0, TableCell::Text, "", "99213"},
                                     {2, 1, TableCell::Number, "", 80.0}});
    }
}

TEST_F(XlsRead, TwentyThousandDistinctTextsAcrossContinueRecords)
{
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    // Every seventh text holds a character outside Latin-1, so the shared texts switch between 8-bit and
    // 16-bit characters, also where a text runs on into the next CONTINUE record.
    auto text = [](int i) { return i % 7 == 0 ? QStringLiteral("descr\u2211ption %1").arg(i) : QStringLiteral("description %1").arg(i); };
    QByteArray csv = "TEXT,N\n";
    for (int i = 0; i < 20000; ++i)
        csv += text(i).toUtf8() + "," + QByteArray::number(i) + "\n";
    write("big.csv", csv);
    ssconvert({"-T", "Gnumeric_Excel:excel_biff8", "big.csv", "big.xls"});
    ASSERT_GT(QFileInfo(path("big.xls")).size(), 20000 * 16);

    const Workbook book = jet::readWorkbook(path("big.xls"));
    ASSERT_EQ(book.sheets.size(), 1u);
    const Sheet& sheet = book.sheets[0];
    ASSERT_EQ(sheet.rows.size(), 20001u);
    ASSERT_EQ(sheet.columns, 2);
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(sheet.rows[i + 1][0], dao::Variant(text(i))) << i;
        ASSERT_EQ(sheet.rows[i + 1][1], dao::Variant(double(i))) << i;
    }
}

// Formula cells of the worksheet versions, which no tool here writes: the records made by hand.
TEST_F(XlsRead, WorksheetsOfExcel2To4GiveEveryKindOfCell)
{
    const QByteArray cp1252 = rec(0x0042, w16(1252));
    auto cell4 = [](quint16 id, int row, int col, const QByteArray& rest) { return rec(id, w16(row) + w16(col) + w16(15) + rest); };
    auto cell2 = [](quint16 id, int row, int col, const QByteArray& rest) { return rec(id, w16(row) + w16(col) + QByteArray(3, 0) + rest); };
    const QByteArray textResult = QByteArray("\0\0\0\0\0\0\xFF\xFF", 8);
    const QByteArray trueResult = QByteArray("\x01\0\x01\0\0\0\xFF\xFF", 8);
    const QByteArray errorResult = QByteArray("\x02\0\x07\0\0\0\xFF\xFF", 8);
    const QByteArray tail = QByteArray(4, 0);  // flags and an empty formula

    auto biff34 = [&](quint16 bof, quint16 formula) {
        return rec(bof, w16(bof == 0x0409 ? 0x0400 : 0x0300) + w16(0x0010) + w16(0)) + cp1252
               + cell4(0x0204, 0, 0, w16(4) + "Caf\xE9") + cell4(0x0203, 0, 1, f64(12.5))
               + cell4(0x027E, 0, 3, w32(99213u << 2 | 2)) + cell4(0x027E, 1, 0, w32(1250u << 2 | 3))
               + cell4(formula, 1, 1, f64(7.5) + tail) + cell4(formula, 1, 2, textResult + tail)
               + rec(0x0207, w16(3) + "abc") + cell4(formula, 1, 3, trueResult + tail)
               + cell4(formula, 2, 0, errorResult + tail) + cell4(0x0205, 2, 1, QByteArray("\x00\x00", 2))
               + cell4(0x0205, 2, 2, QByteArray("\x2A\x01", 2)) + cell4(0x0201, 3, 3, {}) + rec(0x000A, {});
    };
    const QByteArray biff2 =
        rec(0x0009, w16(0x0002) + w16(0x0010)) + cp1252 + cell2(0x0004, 0, 0, QByteArray(1, 4) + "Caf\xE9")
        + cell2(0x0003, 0, 1, f64(12.5)) + cell2(0x0002, 0, 3, w16(65535)) + cell2(0x0003, 1, 0, f64(12.5))
        + cell2(0x0006, 1, 1, f64(7.5) + QByteArray(2, 0)) + cell2(0x0006, 1, 2, textResult + QByteArray(2, 0))
        + rec(0x0007, QByteArray(1, 3) + "abc") + cell2(0x0006, 1, 3, trueResult + QByteArray(2, 0))
        + cell2(0x0006, 2, 0, errorResult + QByteArray(2, 0)) + cell2(0x0005, 2, 1, QByteArray("\x00\x00", 2))
        + cell2(0x0005, 2, 2, QByteArray("\x2A\x01", 2)) + cell2(0x0001, 3, 3, {}) + rec(0x000A, {});

    const std::vector<TableCell> want = {
        {0, 0, TableCell::Text, "", "Café"}, {0, 1, TableCell::Text, "", 12.5},  {0, 3, TableCell::Text, "", 99213.0},
        {1, 0, TableCell::Text, "", 12.5},   {1, 1, TableCell::Text, "", 7.5},   {1, 2, TableCell::Text, "", "abc"},
        {1, 3, TableCell::Text, "", true},   {2, 1, TableCell::Text, "", false},
    };
    struct Case {
        const char* name;
        QByteArray bytes;
        double wholeNumber;
    };
    for (const Case& c : {Case{"biff2", biff2, 65535}, Case{"biff3", biff34(0x0209, 0x0206), 99213},
                          Case{"biff4", biff34(0x0409, 0x0406), 99213}}) {
        SCOPED_TRACE(c.name);
        std::vector<TableCell> cells = want;
        cells[2].expected = c.wholeNumber;
        const Workbook book = jet::readWorkbook(write(QString(c.name) + ".xls", c.bytes));
        ASSERT_EQ(book.sheets.size(), 1u);
        EXPECT_EQ(book.active, 0);
        EXPECT_EQ(book.sheets[0].name, c.name);
        expectTable(book.sheets[0], cells);
    }
}

// A BIFF8 stream made by hand: a shared text whose characters run on into a CONTINUE record, where the
// new flags byte switches from 8-bit to 16-bit characters, then one whose formatting runs cross over.
TEST_F(XlsRead, SharedTextsGoOnInContinueRecordsWithTheirOwnFlags)
{
    const QByteArray bof = rec(0x0809, w16(0x0600) + w16(0x0005) + QByteArray(12, 0));
    const QByteArray sheetBof = rec(0x0809, w16(0x0600) + w16(0x0010) + QByteArray(12, 0));
    const QByteArray sst = rec(0x00FC, w32(3) + w32(3) + w16(6) + QByteArray(1, 0) + "abc")  // "abc" then ...
                           + rec(0x003C, QByteArray(1, 1) + QByteArray("\x3A\x04\x3B\x04\x3C\x04", 6)  // ... "лмн" wide
                                             + w16(2) + QByteArray(1, 0x08) + w16(1) + "xy" + QByteArray(2, 0))
                           + rec(0x003C, QByteArray(2, 0) + w16(1) + QByteArray(1, 0) + "z");
    const QByteArray name = QByteArray(1, 4) + QByteArray(1, 0) + "fees";
    QByteArray globals = bof + rec(0x0042, w16(1200)) + rec(0x003D, QByteArray(18, 0)) + sst;
    const QByteArray bound = rec(0x0085, w32(0) + w16(0) + name);
    const qsizetype sheetAt = globals.size() + bound.size() + 4;
    globals += rec(0x0085, w32(quint32(sheetAt)) + w16(0) + name) + rec(0x000A, {});
    auto sstCell = [&](int row, quint32 index) { return rec(0x00FD, w16(row) + w16(0) + w16(15) + w32(index)); };
    const QByteArray stream = globals + sheetBof + sstCell(0, 0) + sstCell(1, 1) + sstCell(2, 2) + rec(0x000A, {});

    const Workbook book = jet::readWorkbook(write("sst.xls", stream));
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(book.sheets[0].name, "fees");
    expectTable(book.sheets[0], {{0, 0, TableCell::Text, "", QStringLiteral("abc\u043A\u043B\u043C")},
                                 {1, 0, TableCell::Text, "", "xy"},
                                 {2, 0, TableCell::Text, "", "z"}});
}

TEST_F(XlsRead, RefusesWhatItCannotReadAndSaysWhy)
{
    const QByteArray biff4 = rec(0x0409, w16(0x0400) + w16(0x0010) + w16(0)) + rec(0x0042, w16(1252))
                             + rec(0x0203, w16(0) + w16(0) + w16(15) + f64(1)) + rec(0x000A, {});
    expectRefused(write("empty.xls", {}), "empty");
    expectRefused(write("text.xls", "CPT,FEE\r\n00100,12.5\r\n"), "not an Excel file");
    expectRefused(write("encrypted4.xls", biff4.left(10) + rec(0x002F, w16(0)) + biff4.mid(10)), "encrypted");
    expectRefused(write("cut4.xls", biff4.left(biff4.size() - 6)), "damaged or incomplete");
    expectRefused(write("noend4.xls", biff4.left(biff4.size() - 4)), "damaged or incomplete");
    try {
        jet::readWorkbook(path("absent.xls"));
        ADD_FAILURE();
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, dao::errFileNotFound);
    }

    REQUIRE_TOOL(oracle::Tool::SheetJS);
    sheetjs("const wb = XLSX.utils.book_new();\n"
            "XLSX.utils.book_append_sheet(wb, XLSX.utils.aoa_to_sheet([['CPT', 'FEE'], ['00100', 12.5]]), 'fees');\n"
            "XLSX.writeFile(wb, 'fees.xlsx');\n"
            "XLSX.writeFile(wb, 'fees.xls', {bookType: 'biff8'});\n");
    QFile::rename(path("fees.xlsx"), path("renamed.xls"));
    expectRefused(path("renamed.xls"), ".xlsx");
    const QByteArray book = readAll(path("fees.xls"));
    ASSERT_NO_THROW(jet::readWorkbook(path("fees.xls")));
    expectRefused(write("half.xls", book.left(book.size() / 2)), "damaged or incomplete");
    // The code page record turned into a password record: the rest of the workbook would be encrypted.
    QByteArray locked = book;
    const qsizetype at = locked.indexOf(QByteArray("\x42\x00\x02\x00\xB0\x04", 6));
    ASSERT_GT(at, 0);
    locked[at] = 0x2F;
    expectRefused(write("locked.xls", locked), "encrypted");
}

// Every cut of a workbook and bytes changed at random either read or fail with dao::Error: no crash, no hang,
// no other exception (the sanitizer build checks the memory accesses).
TEST_F(XlsRead, DamagedBytesFailWithAnErrorAndNothingWorse)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    sheetjs(QStringLiteral("const wb = XLSX.utils.book_new();\n"
                           "XLSX.utils.book_append_sheet(wb, %1, 'fees');\n"
                           "XLSX.utils.book_append_sheet(wb, XLSX.utils.aoa_to_sheet([['other']]), 'Sheet1');\n"
                           "for (const t of ['biff2', 'biff5', 'biff8']) XLSX.writeFile(wb, t + '.xls', {bookType: t});\n")
                .arg(sheetjsSheet(asciiTable())));
    std::mt19937 random(38);
    for (const char* version : {"biff2", "biff5", "biff8"}) {
        SCOPED_TRACE(version);
        const QByteArray book = readAll(path(QString(version) + ".xls"));
        ASSERT_FALSE(book.isEmpty());
        int refused = 0;
        auto attempt = [&](const QByteArray& bytes) {
            try {
                jet::readWorkbookBytes(bytes, "damaged.xls");
            } catch (const dao::Error& e) {
                EXPECT_TRUE(e.description.startsWith("Cannot read the workbook 'damaged.xls': ")) << e.description.toStdString();
                ++refused;
            }
        };
        for (qsizetype cut = 0; cut < book.size(); cut += 5)
            attempt(book.left(cut));
        EXPECT_EQ(refused, (book.size() + 4) / 5);  // a workbook cut anywhere is refused
        for (int i = 0; i < 40; ++i) {
            QByteArray changed = book;
            for (int k = 0; k < 4; ++k)
                changed[qsizetype(random() % quint32(changed.size()))] = char(random());
            attempt(changed);
        }
    }
}

// "Excel 4.0;" on a workbook: the table "name$" is the sheet of that name, whatever its case; a worksheet of
// Excel 2.x to 4.0 has one sheet, which any name reads.
TEST_F(XlsRead, ExcelTablesAreTheSheetsOfAWorkbookByName)
{
    const QByteArray biff4 = rec(0x0409, w16(0x0400) + w16(0x0010) + w16(0)) + rec(0x0042, w16(1252))
                             + rec(0x0204, w16(0) + w16(0) + w16(15) + w16(3) + "CPT")
                             + rec(0x0204, w16(1) + w16(0) + w16(15) + w16(5) + "00100") + rec(0x000A, {});
    const drivers::Table sheet = drivers::read("Excel 4.0;", write("worksheet.xls", biff4), "fees$");
    EXPECT_EQ(sheet.names, QStringList{"CPT"});
    EXPECT_TRUE(drivers::sameCells({{"00100"}}, sheet.rows));

    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    write("source.gnumeric", gnumericWorkbook(feesTable()));
    ssconvert({"-T", "Gnumeric_Excel:excel_biff8", "source.gnumeric", "book.xls"});
    for (const char* name : {"fees$", "FEES$"}) {
        SCOPED_TRACE(name);
        const drivers::Table fees = drivers::read("Excel 4.0;", path("book.xls"), name);
        ASSERT_EQ(fees.names.size(), 7);
        EXPECT_EQ(fees.names[0], "CPT");
        EXPECT_EQ(fees.names[2], "FEE");
        ASSERT_EQ(fees.rows.size(), 3u);
        EXPECT_EQ(fees.rows[0][0], dao::Variant("00100"));
        EXPECT_EQ(fees.rows[0][3], dao::Variant(25.0));
        EXPECT_EQ(fees.rows[1][5], dao::Variant("Café"));
    }
    const drivers::Table other = drivers::read("Excel 4.0;", path("book.xls"), "Sheet1$");
    EXPECT_EQ(other.names, QStringList{"other"});
    platform::DataControl dc;
    EXPECT_THROW(drivers::open(dc, "Excel 4.0;", path("book.xls"), "other$"), dao::Error);
}

// A compound file made by hand around a workbook stream: sectors of 512 or 4,096 bytes, the stream's chain
// running backwards through the file after `gap` free sectors, and as many allocation sectors as asked, those
// past the header's 109 listed in DIFAT sectors.
QByteArray compoundFile(const QByteArray& stream, int sectorShift, int fatSectors, int gap)
{
    const int size = 1 << sectorShift, perSector = size / 4;
    const int n = int((stream.size() + size - 1) / size);
    const int difat = fatSectors > 109 ? (fatSectors - 109 + perSector - 2) / (perSector - 1) : 0;
    const int dirAt = fatSectors + difat, firstData = dirAt + 1 + gap;
    auto phys = [&](int k) { return quint32(firstData + n - 1 - k); };
    EXPECT_GE(fatSectors * perSector, firstData + n);
    std::vector<quint32> fat(size_t(fatSectors * perSector), 0xFFFFFFFF);
    for (int i = 0; i < fatSectors; ++i)
        fat[size_t(i)] = 0xFFFFFFFD;
    for (int i = 0; i < difat; ++i)
        fat[size_t(fatSectors + i)] = 0xFFFFFFFC;
    fat[size_t(dirAt)] = 0xFFFFFFFE;
    for (int k = 0; k < n; ++k)
        fat[phys(k)] = k + 1 < n ? phys(k + 1) : 0xFFFFFFFE;

    QByteArray header = QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(16, 0) + XlsFixture::w16(0x3E)
                        + XlsFixture::w16(sectorShift == 9 ? 3 : 4) + XlsFixture::w16(0xFFFE) + XlsFixture::w16(quint16(sectorShift))
                        + XlsFixture::w16(6) + QByteArray(10, 0) + XlsFixture::w32(quint32(fatSectors)) + XlsFixture::w32(quint32(dirAt))
                        + XlsFixture::w32(0) + XlsFixture::w32(4096) + XlsFixture::w32(0xFFFFFFFE) + XlsFixture::w32(0)
                        + XlsFixture::w32(difat ? quint32(fatSectors) : 0xFFFFFFFE) + XlsFixture::w32(quint32(difat));
    for (int i = 0; i < 109; ++i)
        header += XlsFixture::w32(i < fatSectors ? quint32(i) : 0xFFFFFFFF);
    QByteArray file = header + QByteArray(size - header.size(), 0);
    for (quint32 v : fat)
        file += XlsFixture::w32(v);
    for (int d = 0; d < difat; ++d) {
        for (int i = 0; i < perSector - 1; ++i) {
            const int fatIndex = 109 + d * (perSector - 1) + i;
            file += XlsFixture::w32(fatIndex < fatSectors ? quint32(fatIndex) : 0xFFFFFFFF);
        }
        file += XlsFixture::w32(d + 1 < difat ? quint32(fatSectors + d + 1) : 0xFFFFFFFE);
    }
    auto entry = [](const QString& name, int type, quint32 child, quint32 start, quint32 length) {
        QByteArray e(reinterpret_cast<const char*>(name.utf16()), name.size() * 2);
        e += QByteArray(64 - e.size(), 0) + XlsFixture::w16(quint16(name.size() * 2 + 2)) + char(type) + char(1)
             + XlsFixture::w32(0xFFFFFFFF) + XlsFixture::w32(0xFFFFFFFF) + XlsFixture::w32(child);
        return e + QByteArray(0x74 - e.size(), 0) + XlsFixture::w32(start) + XlsFixture::w32(length) + QByteArray(4, 0);
    };
    QByteArray dir = entry("Root Entry", 5, 1, 0xFFFFFFFE, 0) + entry("Workbook", 2, 0xFFFFFFFF, phys(0), quint32(stream.size()));
    file += dir + QByteArray(size - dir.size(), 0) + QByteArray(qsizetype(gap) * size, 0);
    const QByteArray padded = stream + QByteArray(n * size - stream.size(), 0);
    for (int k = n - 1; k >= 0; --k)
        file += padded.mid(qsizetype(k) * size, size);
    return file;
}

TEST_F(XlsRead, CompoundFilesOfEitherSectorSizeAndLongAllocationTables)
{
    const QByteArray name = QByteArray(1, 4) + QByteArray(1, 0) + "fees";
    QByteArray globals = rec(0x0809, w16(0x0600) + w16(0x0005) + QByteArray(12, 0)) + rec(0x0042, w16(1200));
    globals += rec(0x0085, w32(quint32(globals.size() + 4 + 12 + 4)) + w16(0) + name) + rec(0x000A, {});
    QByteArray stream = globals + rec(0x0809, w16(0x0600) + w16(0x0010) + QByteArray(12, 0));
    std::vector<TableCell> cells;
    for (int row = 0; row < 700; ++row) {
        stream += rec(0x0203, w16(row) + w16(1) + w16(15) + f64(row * 1.25));
        cells.push_back({row, 1, TableCell::Number, "", row * 1.25});
    }
    stream += rec(0x000A, {});
    ASSERT_GT(stream.size(), 4096 * 3);

    struct Case {
        const char* what;
        int sectorShift, fatSectors, gap;
    };
    // In the last case the stream lies past sector 109 x 128, so its chain is found in the allocation
    // sectors that only the DIFAT sectors list.
    for (const Case& c : {Case{"512-byte sectors", 9, 1, 0}, Case{"4096-byte sectors", 12, 1, 0},
                          Case{"DIFAT sectors", 9, 240, 109 * 128}}) {
        SCOPED_TRACE(c.what);
        const QByteArray file = compoundFile(stream, c.sectorShift, c.fatSectors, c.gap);
        const Workbook book = jet::readWorkbook(write("book.xls", file));
        ASSERT_EQ(book.sheets.size(), 1u);
        EXPECT_EQ(book.sheets[0].name, "fees");
        expectTable(book.sheets[0], cells);
        expectRefused(write("cut.xls", file.left(file.size() - 512)), "damaged or incomplete");
    }
}

}  // namespace
