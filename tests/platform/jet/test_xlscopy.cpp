#include "XlsFixture.h"

#include "platform/dao/Error.h"
#include "platform/jet/codepage.h"
#include "platform/jet/delimited.h"
#include "platform/jet/xlscopy.h"

#include <QFileInfo>

namespace {

class XlsCopy : public XlsFixture {
protected:
    // The copy and ssconvert's CSV of the same workbook hold the same values field by field: numbers compared
    // as numbers, ssconvert's formatted date as its serial number, its error texts as empty fields. ssconvert
    // takes the active sheet, or the sheet named.
    void expectSameAsSsconvert(const QString& workbook, const QString& sheet = {})
    {
        SCOPED_TRACE(workbook.toStdString());
        if (sheet.isEmpty())
            ssconvert({"-T", "Gnumeric_stf:stf_csv", workbook, "oracle.csv"});
        else
            ssconvert({"-T", "Gnumeric_stf:stf_assistant", "-O", "sheet=" + sheet, workbook, "oracle.csv"});
        const auto theirs = jet::parseDelimited(QString::fromUtf8(readAll(path("oracle.csv"))));
        const QString copy = jet::saveWorkbookCopy(workbook);
        EXPECT_EQ(copy, jet::workbookCopyPath(workbook));
        const auto ours = jet::parseDelimited(jet::decode(readAll(copy), 1252));
        ASSERT_EQ(ours.size(), theirs.size());
        for (size_t r = 0; r < ours.size(); ++r) {
            ASSERT_EQ(ours[r].size(), theirs[r].size()) << "line " << r;
            for (size_t c = 0; c < ours[r].size(); ++c)
                EXPECT_TRUE(sameValue(ours[r][c].text, theirs[r][c].text))
                    << "line " << r << " field " << c << ": ours \"" << ours[r][c].text.toStdString() << "\", theirs \""
                    << theirs[r][c].text.toStdString() << "\"";
        }
    }

    static bool sameValue(const QString& ours, const QString& theirs)
    {
        if (theirs.startsWith('#'))  // #DIV/0!, #N/A: an error value, which the copy leaves empty
            return ours.isEmpty();
        double a, b;
        if (dao::parseNumber(ours, &a)) {
            if (dao::parseNumber(theirs, &b))
                return a == b;
            const QDate date = QDate::fromString(theirs, "yyyy/MM/dd");
            return date.isValid() && a == double(QDate(1899, 12, 30).daysTo(date));
        }
        return ours == theirs;
    }
};

TEST_F(XlsCopy, TheCopyGoesBesideTheWorkbookUnderItsNameWithCsv)
{
    EXPECT_EQ(jet::workbookCopyPath("/data/fees.xls"), "/data/fees.csv");
    EXPECT_EQ(jet::workbookCopyPath("/data/FEES.XLS"), "/data/FEES.csv");
    EXPECT_EQ(jet::workbookCopyPath("/data/my.fees.2004.xls"), "/data/my.fees.2004.csv");
}

TEST_F(XlsCopy, CellsAreWrittenAsTheirValues)
{
    jet::Sheet sheet;
    sheet.columns = 4;
    sheet.rows = {{"CPT", {}, "FEE", "NOTE"},
                  {"00100", 1e-7, 12.5, "a, \"quoted\" text"},
                  {99213.0, true, false, "two\r\nlines"},
                  {{}, 123456789012345678.0, -0.25, {}}};
    EXPECT_EQ(jet::delimitedSheet(sheet), QByteArray("CPT,,FEE,NOTE\r\n"
                                                     "00100,0.0000001,12.5,\"a, \"\"quoted\"\" text\"\r\n"
                                                     "99213,TRUE,FALSE,\"two\r\nlines\"\r\n"
                                                     ",123456789012346000,-0.25,\r\n"));
}

TEST_F(XlsCopy, TheCopyOfTheActiveSheetEqualsSsconvertsCsv)
{
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    write("source.gnumeric", gnumericWorkbook(feesTable()));
    ssconvert({"-T", "Gnumeric_Excel:excel_biff7", "source.gnumeric", "biff7.xls"});
    ssconvert({"-T", "Gnumeric_Excel:excel_biff8", "source.gnumeric", "biff8.xls"});
    expectSameAsSsconvert(path("biff7.xls"));
    expectSameAsSsconvert(path("biff8.xls"));
    // The active sheet is the second one, with its accents in code page 1252.
    const QByteArray copy = readAll(path("biff8.csv"));
    EXPECT_TRUE(copy.startsWith("CPT,,FEE,DOUBLE,WHEN,DESC,CALC\r\n00100,,12.5,25,38047,\"a, \"\"quoted\"\" text\",calc\r\n"))
        << copy.toStdString();
    EXPECT_TRUE(copy.contains(",Caf\xE9,")) << copy.toStdString();

    REQUIRE_TOOL(oracle::Tool::SheetJS);
    sheetjs(QStringLiteral("const fees = %1;\n"
                           "const two = XLSX.utils.book_new();\n"
                           "XLSX.utils.book_append_sheet(two, fees, 'fees');\n"
                           "XLSX.utils.book_append_sheet(two, XLSX.utils.aoa_to_sheet([['other']]), 'Sheet1');\n"
                           "for (const t of ['biff2', 'biff5', 'biff8']) XLSX.writeFile(two, 'sheetjs_' + t + '.xls', {bookType: t});\n")
                .arg(sheetjsSheet(asciiTable())));
    // SheetJS marks every sheet of its BIFF8 file as shown, where ssconvert takes the last; its WINDOW1 names
    // the first, as the copy does. ssconvert finds no cell formats in its BIFF2 file and drops texts: that
    // copy must equal the BIFF8 one.
    expectSameAsSsconvert(path("sheetjs_biff5.xls"));
    expectSameAsSsconvert(path("sheetjs_biff8.xls"), "fees");
    EXPECT_EQ(readAll(path("sheetjs_biff8.csv")), readAll(path("sheetjs_biff5.csv")));
    jet::saveWorkbookCopy(path("sheetjs_biff2.xls"));
    EXPECT_EQ(readAll(path("sheetjs_biff2.csv")), readAll(path("sheetjs_biff8.csv")));
}

TEST_F(XlsCopy, ARefusedWorkbookLeavesTheFileOfTheCopysNameAsItWas)
{
    const QByteArray biff4 = rec(0x0409, w16(0x0400) + w16(0x0010) + w16(0)) + rec(0x0042, w16(1252))
                             + rec(0x0203, w16(0) + w16(0) + w16(15) + f64(1)) + rec(0x000A, {});
    auto expectUntouched = [&](const QString& name, const QByteArray& bytes) {
        SCOPED_TRACE(name.toStdString());
        const QString workbook = write(name + ".xls", bytes);
        EXPECT_THROW(jet::saveWorkbookCopy(workbook), dao::Error);
        EXPECT_FALSE(QFileInfo::exists(path(name + ".csv")));
        write(name + ".csv", "CPT,FEE\r\n00100,12.5\r\n");
        EXPECT_THROW(jet::saveWorkbookCopy(workbook), dao::Error);
        EXPECT_EQ(readAll(path(name + ".csv")), QByteArray("CPT,FEE\r\n00100,12.5\r\n"));
    };
    expectUntouched("empty", {});
    expectUntouched("encrypted", biff4.left(10) + rec(0x002F, w16(0)) + biff4.mid(10));
    expectUntouched("cut", biff4.left(biff4.size() / 2));

    // A good workbook replaces the file without a question.
    const QString good = write("good.xls", biff4);
    write("good.csv", "old\r\n");
    EXPECT_EQ(jet::saveWorkbookCopy(good), path("good.csv"));
    EXPECT_EQ(readAll(path("good.csv")), QByteArray("1\r\n"));

    REQUIRE_TOOL(oracle::Tool::SheetJS);
    sheetjs("const wb = XLSX.utils.book_new();\n"
            "XLSX.utils.book_append_sheet(wb, XLSX.utils.aoa_to_sheet([['CPT'], ['00100']]), 'fees');\n"
            "XLSX.writeFile(wb, 'book.xlsx');\n"
            "XLSX.writeFile(wb, 'book.xls', {bookType: 'biff8'});\n");
    const QByteArray book = readAll(path("book.xls"));
    expectUntouched("renamed", readAll(path("book.xlsx")));
    expectUntouched("half", book.left(book.size() / 2));
}

}  // namespace
