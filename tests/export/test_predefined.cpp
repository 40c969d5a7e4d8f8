#include "s49_fixture.h"

#include "ExportFixture.h"

#include "../platform/jet/oracles.h"

#include <QFile>

namespace {

// The rows of a table in its column order, each cell a text ("<null>" for Null).
std::vector<QStringList> tableRows(const QString& path, const QString& table, QStringList* columns)
{
    dao::Database d = dao::OpenDatabase(path);
    dao::Recordset rs = d.OpenRecordset(dao::quoteIdentifier(table).prepend("SELECT * FROM "));
    columns->clear();
    for (int i = 0; i < rs.FieldCount(); ++i)
        *columns << rs.fieldName(i);
    std::vector<QStringList> rows;
    for (; !rs.EOF(); rs.MoveNext()) {
        QStringList row;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const dao::Variant v = rs.Fields(i).Value();
            EXPECT_TRUE(v.isNull() || v.type() == dao::Variant::Type::Text) << qPrintable(path);
            row << (v.isNull() ? QString("<null>") : v.toString());
        }
        rows.push_back(row);
    }
    return rows;
}

const char* const kDesc = "Cut, \"quoted\" text";

struct LayoutCase {
    const char* csv;                           // the file, byte for byte
    std::vector<std::vector<QString>> sheet;   // the worksheet's cells, the template's header first
    QStringList columns;                       // the Access table's columns in order
    std::vector<QStringList> table;            // and its rows
};

// Each layout of the fixture's two codes in the three formats.
std::vector<LayoutCase> layoutCases()
{
    const QStringList s5 = {"CPT", "MOD", "DESC", "Office fee", " Late  fee", "Third", "Work comp ", "Cash"};
    QStringList s6 = s5;
    s6 << "Visits 1" << "Visits 2" << "Visits 3" << "Visits 4" << "Visits 5";
    return {
        {"\"CPT\",\"Mod\",\"GLOBAL\",\"Desc\",\"QNPART\",\"\"\r\n"
         "\"CPT\",\"Mod\",\"GFP\",\"Description\",\"Non Facility Par Fee\",\"\"\r\n"
         "\"00100\",\"\",\"090\",\"Cut, \"\"quoted\"\" text\",69.50\r\n"
         "\"00100\",\"26\",\"XXX\",\"Plain\",0.00\r\n",
         {{"CPT", "Mod", "Global", "Desc", "QNPART"}, {"00100", "", "090", kDesc, "69.50"}, {"00100", "26", "XXX", "Plain", "0.00"}},
         {"CPT", "MOD", "GLOBAL", "DESC", "QNPART"},
         {{"00100", "<null>", "090", kDesc, "69.50"}, {"00100", "26", "XXX", "Plain", "0.00"}}},
        {"\"CPT\",\"Mod\",\"Desc\",\"WORKZ\",\"NFTPERVU\",\"MRVU\",\"NFTTOTAL\",\"QNPART\",\"GLOBAL\"\r\n"
         "\"CPT\",\"Mod\",\"Description\",\"Work RVU\",\"Practice Non Facility RVU\",\"Mal Practice RVU\","
         "\"Non Facility Total RVUs \",\"Non Facility Par Fee\",\"GFP\"\r\n"
         "\"00100\",\"\",\"Cut, \"\"quoted\"\" text\",2,4.95,0,6.95,69.50,090\r\n"
         "\"00100\",\"26\",\"Plain\",0.97,1,0.03,2,0.00,XXX\r\n",
         {{"CPT", "Mod", "Desc", "WORKZ", "NFTPERVU", "MRVU", "NFTTOTAL", "QNPART", "Global"},
          {"00100", "", kDesc, "2", "4.95", "0", "6.95", "69.50", "090"},
          {"00100", "26", "Plain", "0.97", "1", "0.03", "2", "0.00", "XXX"}},
         {"CPT", "MOD", "DESC", "WORKZ", "NFTPERVU", "MRVU", "NFTTOTAL", "QNPART", "GLOBAL"},
         {{"00100", "<null>", kDesc, "2", "4.95", "0", "6.95", "69.50", "090"},
          {"00100", "26", "Plain", "0.97", "1", "0.03", "2", "0.00", "XXX"}}},
        {"\"CPT\",\"Mod\",\"Desc\",\"QFPART\",\"\"\r\n"
         "\"CPT\",\"Mod\",\"Description\",\"Facility Par Fee\",\"\"\r\n"
         "\"00100\",\"\",\"Cut, \"\"quoted\"\" text\",69.50\r\n"
         "\"00100\",\"26\",\"Plain\",0.00\r\n",
         {{"CPT", "Mod", "Desc", "QFPART"}, {"00100", "", kDesc, "69.50"}, {"00100", "26", "Plain", "0.00"}},
         {"CPT", "MOD", "DESC", "QFPART"},
         {{"00100", "<null>", kDesc, "69.50"}, {"00100", "26", "Plain", "0.00"}}},
        {"\"CPT\",\"Mod\",\"Desc\",\"WORKZ\",\"FTPERVU\",\"MRVU\",\"FTTOTAL\",\"QFPART\",\"GLOBAL\"\r\n"
         "\"CPT\",\"Mod\",\"Description\",\"Work RVU\",\"Practice Facility RVU\",\"Mal Practice RVU\","
         "\"Facility Total RVUs\",\"Facility Par Fee\",\"GFP\"\r\n"
         "\"00100\",\"\",\"Cut, \"\"quoted\"\" text\",2,4.95,0,6.95,69.50,090\r\n"
         "\"00100\",\"26\",\"Plain\",0.97,1,0.03,2,0.00,XXX\r\n",
         {{"CPT", "Mod", "Desc", "WORKZ", "FTPERVU", "MRVU", "FTTOTAL", "QFPART", "Global"},
          {"00100", "", kDesc, "2", "4.95", "0", "6.95", "69.50", "090"},
          {"00100", "26", "Plain", "0.97", "1", "0.03", "2", "0.00", "XXX"}},
         {"CPT", "MOD", "DESC", "WORKZ", "FTPERVU", "MRVU", "FTTOTAL", "QFPART", "GLOBAL"},
         {{"00100", "<null>", kDesc, "2", "4.95", "0", "6.95", "69.50", "090"},
          {"00100", "26", "Plain", "0.97", "1", "0.03", "2", "0.00", "XXX"}}},
        {"\"CPT\",\"Mod\",\"Desc\",\"Office fee\",\" Late  fee\",\"\",\"Work comp \",\"Cash\"\r\n"
         "\"CPT\",\"Mod\",\"Description\",\"Office fee\",\" Late  fee\",\"\",\"Work comp \",\"Cash\"\r\n"
         "\"00100\",\"\",\"Cut, \"\"quoted\"\" text\",10,20.5,,0,5\r\n"
         "\"00100\",\"26\",\"Plain\",1.25,,,,\r\n",
         {{"CPT", "Mod", "Desc", "S1", "S2", "S3", "S4", "S5"},
          {"00100", "", kDesc, "10", "20.5", "", "0", "5"},
          {"00100", "26", "Plain", "1.25", "", "", "", ""}},
         s5,
         {{"00100", "<null>", kDesc, "10", "20.5", "<null>", "0", "5"},
          {"00100", "26", "Plain", "1.25", "<null>", "<null>", "<null>", "<null>"}}},
        {"\"CPT\",\"Mod\",\"Desc\",\"Office fee\",\" Late  fee\",\"\",\"Work comp \",\"Cash\",\"Visits 1\","
         "\"Visits 2\",\"Visits 3\",\"Visits 4\",\"Visits 5\"\r\n"
         "\"00100\",\"\",\"Cut, \"\"quoted\"\" text\",10,20.5,,0,5,1,2,3,4,5\r\n"
         "\"00100\",\"26\",\"Plain\",1.25,,,,,,,,,\r\n",
         {{"CPT", "Mod", "Desc", "S1", "S2", "S3", "S4", "S5", "Freq1", "Freq2", "Freq3", "Freq4", "Freq5"},
          {"00100", "", kDesc, "10", "20.5", "", "0", "5", "1", "2", "3", "4", "5"},
          {"00100", "26", "Plain", "1.25", "", "", "", "", "", "", "", "", ""}},
         s6,
         {{"00100", "<null>", kDesc, "10", "20.5", "<null>", "0", "5", "1", "2", "3", "4", "5"},
          {"00100", "26", "Plain", "1.25", "<null>", "<null>", "<null>", "<null>", "<null>", "<null>", "<null>",
           "<null>", "<null>"}}},
    };
}

using PredefinedExportTest = PredefinedFixture;

TEST_F(PredefinedExportTest, EveryLayoutInEveryFormat)
{
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    const std::vector<LayoutCase> cases = layoutCases();
    QStringList sheets;
    for (int i = 0; i < int(cases.size()); ++i) {
        const LayoutCase& c = cases[std::size_t(i)];
        const QString csv = target(QString("layout%1.csv").arg(i + 1));
        exportTo(i, csv);
        EXPECT_EQ(QString::fromLatin1(bytes(csv)), QString::fromLatin1(c.csv)) << "layout " << i + 1;

        sheets << target(QString("layout%1.xls").arg(i + 1));
        exportTo(i, sheets.back());

        // The Access table names the schedules after the session: a Null name names no column.
        const QString mdb = target(QString("layout%1.mdb").arg(i + 1));
        if (i >= 4) {
            exportFails(i, mdb, "Error creating file");
            EXPECT_EQ(dao::OpenDatabase(mdb).TableNames(), QStringList({"export"}));
            setNames("S3NAME = 'Third'");
        }
        exportTo(i, mdb);
        if (i >= 4)
            setNames("S3NAME = NULL");
        QStringList columns;
        const std::vector<QStringList> rows = tableRows(mdb, "Predefined Export", &columns);
        EXPECT_EQ(columns, c.columns) << "layout " << i + 1;
        EXPECT_EQ(rows, c.table) << "layout " << i + 1;
        EXPECT_FALSE(dao::OpenDatabase(mdb).hasTable("export"));
    }
    QString messages;
    const std::vector<jet::Rows> bySheetJs = oracle::sheetjsRead(sheets, &messages);
    const std::vector<jet::Rows> bySsconvert = oracle::ssconvertRead(sheets, &messages);
    EXPECT_FALSE(messages.contains("corrupt") || messages.contains("Invalid")) << qPrintable(messages);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        expectCells(bySheetJs[i], cases[i].sheet, "SheetJS");
        expectCells(bySsconvert[i], cases[i].sheet, "ssconvert");
        // Fees are texts, RVUs numbers.
        const int fee = i == 0 ? 4 : i == 1 || i == 3 ? 7 : i == 2 ? 3 : -1;
        if (fee >= 0) {
            EXPECT_EQ(bySheetJs[i][1][std::size_t(fee)].type(), dao::Variant::Type::Text) << i;
            EXPECT_EQ(bySheetJs[i][2][std::size_t(fee)].toString(), "0.00") << i;
        }
        if (i == 1) {
            EXPECT_EQ(bySheetJs[i][2][3].type(), dao::Variant::Type::Double);
        }
    }
}

}  // namespace
