#include "ExportFixture.h"

#include "export/rules/csvlayout.h"
#include "export/session/sessioncsv.h"
#include "platform/jet/delimited.h"
#include "../platform/jet/oracles.h"

#include <QLocale>

namespace {

QString repeat(const QString& s, int n)
{
    QStringList l;
    for (int i = 0; i < n; ++i)
        l << s;
    return l.join(QString());
}

const QString kDescWritten = "Say  hi  " + QString(141, 'd');

sessioncsv::ScheduleNames names()
{
    sessioncsv::ScheduleNames n;
    n[0] = "Office";
    n[1] = "My \"best\"";
    n[2] = "";
    return n;  // S4NAME, S5NAME and every frequency name Null
}

QByteArray cp1252(const QString& s)
{
    QByteArray out;
    for (QChar c : s)
        out += c == QChar(0xE9) ? char(0xE9) : char(c.unicode());
    return out;
}

QByteArray allColumnsExpected(bool opps)
{
    const QString oppsHead = opps ? QString() : "\"NON_PE_OPPS\",\"FAC_PE_OPPS\",\"MAL_PE_OPPS\",";
    const QString oppsCaps =
        opps ? QString() : "\"Non Facility Practice Expense OPPS\",\"Facility Practice Expense OPPS\",\"Mal Practice Practice Expense OPPS\",";
    const QString flags = "\"NAIND\",\"NAFIND\",\"PCTCIND\",\"PREOP\",\"INTRAOP\",\"POSTOP\",\"MULTPROC\",\"BILATSURG\",\"ASSTSURG\",\"COSURG\",\"TEAMSURG\",\"PHYSSUPV\",";
    const QString sched = "\"Office\",\"My \"\"best\"\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",";
    QString s;
    s += "\"Tag\",\"Codemod\",\"CPT\",\"Mod\",\"Status\",\"NOTUSEDIND\",\"Desc\",\"NFBPERVU\",\"NFRBPERVU\",\"NFTPERVU\",\"FBPERVU\","
         "\"FRBPERVU\",\"FTPERVU\",\"WORKRVU\",\"MRVU\",\"NFRBTOTAL\",\"NFTTOTAL\",\"FTTOTAL\",\"QNPART\",\"QNNPART\",\"QNLC\","
         "\"QFPART\",\"QFNPART\",\"QFLC\",\"Global\"," + sched + flags + oppsHead + "\"ENDOBASE\",\"Long Desc\",\"Notes\",\"UserDefined\",\"\"\r\n";
    s += "\"Tag\",\"Code Mod\",\"CPT\",\"Mod\",\"Status\",\" \",\"Description\",\" \",\" \",\"Practice Non Facility RVU\",\" \","
         "\" \",\"Practice Facility RVU\",\"Work RVU\",\"Mal Practice RVU\",\" \",\"Non Facility Total RVUs\",\"Facility Total RVUs\","
         "\"Non Facility Par Fee\",\"Non Facility Non Par Fee\",\"Non Facility Limiting Fee\",\"Facility Par Fee\","
         "\"Facility Non Par Fee\",\"Facility Limiting Fee\",\"GFP\"," + sched + flags + oppsCaps +
         "\"ENDOBASE\",\"Long Description\",\"Notes\",\"UserDefined\",\"\"\r\n";
    const QString emptyFlags = repeat("\"\",", 12);
    s += "\"+\",\"00100\",\"00100\",\"\",\"A\",\"\",\"" + kDescWritten + "\",,1.25,.5000,,0.07,0.5,2,0.1,3,2.6,2.5,"
         "31.00,29.45,33.87,25.00,23.75,27.31,090,12.5,,,,,3,,,,," + emptyFlags + (opps ? QString() : "\"0.25\",\"\",\"\",") +
         "\"\",\"Long \"\"quoted\"\", text\",\"a b\r\nc\",\"x,y\",\r\n";
    s += "\"\",\"99213\",\"99213\",\"\",\"A\",\"\",\"Caf\u00e9\",,0,12.2500,,0,0,1,0.1,0,0,0,,,,15.00,14.25,16.39,"
         ",,,,,,,,,,," + emptyFlags + (opps ? QString() : "\"\",\"\",\"\",") + "\"\",\"\",\"\",\"\",\r\n";
    s += "\"\",\"9921426\",\"99214\",\"26\",\"\",\"\",\"\",,0,.0000,,0,0,0,0,0,0,0,0.00,0.00,0.00,0.00,0.00,0.00,"
         ",,,,,,,,,,," + emptyFlags + (opps ? QString() : "\"\",\"\",\"\",") + "\"\",\"\",\"\",\"\",\r\n";
    return cp1252(s);
}

// Shown: Status, both descriptions, Work RVU, NFTPERVU, NPART, GFP, S1, Freq1, UserDefined (grid columns 4 to
// 7, 10, 19, 25, 44, 49, 57), as a display settings list of `count` entries.
QString colvs(int count)
{
    QStringList l;
    for (int k = 0; k < count; ++k)
        l << ((k >= 4 && k <= 7) || k == 10 || k == 19 || k == 25 || k == 44 || k == 49 || k == 57 ? "true" : "false");
    return l.join(',');
}

class SessionCsvTest : public ExportFixture {
protected:
    QByteArray writeAll(bool opps, const QString& name = "all.csv")
    {
        exportcsv::CsvFile f(file(name));
        dao::Recordset rs = rows();
        sessioncsv::writeAllColumns(rs, f, names(), opps, nullptr);
        f.close();
        return bytes(file(name));
    }
    QByteArray writeDisplayed(const dao::Variant& list, const QString& name = "shown.csv")
    {
        exportcsv::CsvFile f(file(name));
        dao::Recordset rs = rows();
        sessioncsv::writeDisplayedColumns(rs, f, list, names(), nullptr);
        f.close();
        return bytes(file(name));
    }
};

TEST_F(SessionCsvTest, AllColumnsByteForByte)
{
    EXPECT_EQ(QString::fromLatin1(writeAll(false)), QString::fromLatin1(allColumnsExpected(false)));
    // The OPPS view's rows have no OPPS factor columns: the form leaves them out.
    EXPECT_EQ(QString::fromLatin1(writeAll(true)), QString::fromLatin1(allColumnsExpected(true)));
    const auto lines = jet::parseDelimited(QString::fromLatin1(allColumnsExpected(false)));
    EXPECT_EQ(lines[0].size(), 55u);
    EXPECT_EQ(lines[2].size(), 55u);  // 54 values and the empty field after the last comma
    EXPECT_EQ(jet::parseDelimited(QString::fromLatin1(allColumnsExpected(true)))[1].size(), 52u);
}

TEST_F(SessionCsvTest, DecimalsStayPointsUnderAnotherLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QByteArray written = writeAll(false);
    QLocale::setDefault(before);
    EXPECT_EQ(written, allColumnsExpected(false));
}

TEST_F(SessionCsvTest, DisplayedColumnsFollowTheDisplayList)
{
    const QString head = "\"Tag\",\"Codemod\",\"CPT\",\"Mod\",\"Status\",\"Short Desc\",\"Long Desc\",\"Work RVU\","
                         "\"Practice Non Facility RVU\",\"Non Facility Par Fee\",\"GFP\",\"Office\",\"\",\"UserDefined\",\"\"\r\n";
    const QString body = "\"+\",\"00100\",\"00100\",\"\",\"A\",\"" + kDescWritten +
                         "\",\"Long \"\"quoted\"\", text\",2.00,.50,31.00,090,12.5,3,\"x,y\",\r\n"
                         "\"\",\"99213\",\"99213\",\"\",\"A\",\"Caf\u00e9\",\"\",1.00,12.25,,,,,,\r\n"
                         "\"\",\"9921426\",\"99214\",\"26\",\"\",\"\",\"\",.00,.00,0.00,,,,,\r\n";
    // 58 entries as the display settings write them; 61 as the default layout has them (the last three
    // belong to no exported column).
    for (int count : {58, 61})
        EXPECT_EQ(writeDisplayed(colvs(count)), cp1252(head + body)) << count;

    // 40 entries: nothing after grid column 39 but the code columns.
    const QString head40 = "\"Tag\",\"Codemod\",\"CPT\",\"Mod\",\"Status\",\"Short Desc\",\"Long Desc\",\"Work RVU\","
                           "\"Practice Non Facility RVU\",\"Non Facility Par Fee\",\"GFP\",\"\"\r\n";
    const QByteArray written40 = writeDisplayed(colvs(40));
    EXPECT_TRUE(written40.startsWith(cp1252(head40))) << written40.left(300).toStdString();
    EXPECT_EQ(jet::parseDelimited(QString::fromLatin1(written40))[1].size(), 12u);
}

TEST_F(SessionCsvTest, BadDisplayListFailsBeforeAnythingIsWritten)
{
    struct Case {
        const char* name;
        dao::Variant list;
        int error;
    };
    for (const Case& c : {Case{"empty entry", "true,,true", 13}, Case{"no truth word", "true,maybe", 13},
                          Case{"Null", dao::Variant(), 94}}) {
        try {
            writeDisplayed(c.list, "bad.csv");
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.number, c.error) << c.name;
        }
        EXPECT_EQ(bytes(file("bad.csv")), QByteArray()) << c.name;
    }
    // Numbers are truth values too.
    EXPECT_EQ(sessioncsv::visibility("0,1,-1,2.5")[1], true);
    EXPECT_EQ(sessioncsv::visibility("0,1,-1,2.5")[0], false);
}

TEST_F(SessionCsvTest, NoRowsLeaveTheHeaderLines)
{
    exportcsv::CsvFile f(file("tagged.csv"));
    db.Execute("UPDATE DATA0001 SET Tag = NULL");
    dao::Recordset rs = rows(exportquery::Form::Session, db::FeeList::Tagged);
    try {
        sessioncsv::writeAllColumns(rs, f, names(), false, nullptr);
        ADD_FAILURE() << "no rows were accepted";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, dao::errNoCurrentRecord);
    }
    f.close();
    EXPECT_EQ(jet::parseDelimited(QString::fromLatin1(bytes(file("tagged.csv")))).size(), 2u);
}

TEST_F(SessionCsvTest, NullRvuFailsTheExport)
{
    db.Execute("UPDATE DATA0001 SET WORKZ = NULL WHERE CODEMOD = '99213'");
    exportcsv::CsvFile f(file("null.csv"));
    dao::Recordset rs = rows();
    EXPECT_THROW(sessioncsv::writeAllColumns(rs, f, names(), false, nullptr), dao::Error);
    f.close();
    // What was written before the failing row stays.
    EXPECT_EQ(jet::parseDelimited(QString::fromLatin1(bytes(file("null.csv")))).size(), 3u);
}

TEST_F(SessionCsvTest, ReadBackByTheOraclesFieldForField)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    writeAll(false);
    writeDisplayed(colvs(58));
    const QStringList files{file("all.csv"), file("shown.csv")};
    std::vector<std::vector<std::vector<QString>>> expected;
    for (const QString& f : files) {
        std::vector<std::vector<QString>> rowsOfFile;
        for (const auto& line : jet::parseDelimited(QString::fromLatin1(bytes(f)))) {
            std::vector<QString> cells;
            for (const jet::TextField& t : line)
                cells.push_back(t.text);
            rowsOfFile.push_back(cells);
        }
        expected.push_back(rowsOfFile);
    }
    const auto bySheetJs = oracle::sheetjsRead(files);
    QString messages;
    const auto bySsconvert = oracle::ssconvertRead(files, &messages);
    for (std::size_t i = 0; i < 2; ++i) {
        expectCells(bySheetJs[i], expected[i], "SheetJS");
        expectCells(bySsconvert[i], expected[i], "ssconvert");
    }
}

}  // namespace
