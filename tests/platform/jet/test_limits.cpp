// What the formats cannot hold fails the write with an error; nothing is cut silently.
#include "DriverFiles.h"
#include "oracles.h"

#include "platform/dao/Error.h"
#include "platform/jet/biff4.h"
#include "platform/jet/dbase.h"
#include "platform/jet/wk1.h"

#include <QDir>
#include <QFile>

namespace {

using dao::Variant;

using drivers::writeBytes;

using Limits = drivers::FolderTest;

TEST_F(Limits, AWorksheetTakes16383DataRowsAndRefusesTheNext)
{
    writeBytes(path("big.xls"), jet::biff4Template({"CODE", "N"}));
    platform::DataControl dc;
    drivers::open(dc, "Excel 4.0;", path("big.xls"), "big$");
    auto& rs = dc.Recordset();
    for (int i = 1; i <= 16383; ++i) {
        rs.AddNew();
        rs["CODE"] = Variant(QStringLiteral("C%1").arg(i, 5, 10, QLatin1Char('0')));
        rs["n"] = Variant(double(i));
        rs.Update();
    }
    rs.AddNew();
    rs["CODE"] = Variant("one too many");
    try {
        rs.Update();
        FAIL() << "the 16,384th data row was taken";
    } catch (const dao::Error& e) {
        EXPECT_TRUE(e.description.contains("16383")) << e.description.toStdString();
    }
    rs.CancelUpdate();
    drivers::release(dc);

    const drivers::Table back = drivers::read("Excel 4.0;", path("big.xls"), "big$");
    ASSERT_EQ(back.rows.size(), 16383u);
    EXPECT_TRUE(drivers::sameCells({{Variant("C16383"), Variant(16383.0)}}, {back.rows.back()}));

    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    QString messages;
    const auto sheets = oracle::ssconvertRead({path("big.xls")}, &messages);
    EXPECT_FALSE(messages.contains("Invalid", Qt::CaseInsensitive)) << messages.toStdString();
    ASSERT_EQ(sheets[0].size(), 16384u) << messages.toStdString();
    EXPECT_TRUE(drivers::sameCells({{Variant("C16383"), Variant(16383.0)}}, {sheets[0].back()}));
    // The writer itself refuses the row past the sheet's last.
    EXPECT_THROW(jet::biff4WithRows(jet::biff4Template({"A"}), 16384, {{Variant(1.0)}}, false, "x.xls"), dao::Error);
}

// Each case: a value that fits, then one that does not; the good record is in the file after the release.
TEST_F(Limits, ValuesThatDoNotFitAreRefusedAndTheRestIsWritten)
{
    writeBytes(path("t.xls"), jet::biff4Template({"CODE", "DESC"}));
    writeBytes(path("t.wk1"), jet::wk1Template({"CODE", "DESC"}));
    jet::createDbf(path("t.dbf"), {{"CODE", 'C', 5, 0}, {"DESC", 'C', 20, 0}, {"FEE", 'N', 12, 2}});
    struct Case {
        const char* connect;
        QString db;
        const char* source;
        const char* field;
        Variant fits;
        Variant tooBig;
    };
    const Case cases[] = {
        {"Excel 4.0;", path("t.xls"), "t$", "DESC", Variant(QString(254, 'x') + QStringLiteral("é")), Variant(QString(256, 'x'))},
        {"Lotus WK1;", path("t.wk1"), "t:", "DESC", Variant(QString(240, 'y')), Variant(QString(241, 'y'))},
        {"dBASE III;", dir.path(), "t", "CODE", Variant("0001F"), Variant("A1234BC")},
        {"dBASE III;", dir.path(), "t", "FEE", Variant(999999999.99), Variant(1e10)},
        {"dBASE III;", dir.path(), "t", "FEE", Variant(1.5), Variant("abc")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.connect) + " " + c.field);
        platform::DataControl dc;
        drivers::open(dc, c.connect, c.db, c.source);
        auto& rs = dc.Recordset();
        const qint64 before = rs.RecordCount();
        rs.AddNew();
        rs[c.field] = c.fits;
        rs.Update();
        rs.AddNew();
        bool refused = false;
        try {
            rs[c.field] = c.tooBig;
            rs.Update();
        } catch (const dao::Error& e) {
            refused = true;
            EXPECT_FALSE(e.description.isEmpty());
        }
        EXPECT_TRUE(refused);
        rs.CancelUpdate();
        drivers::release(dc);
        const drivers::Table back = drivers::read(c.connect, c.db, c.source);
        ASSERT_EQ(qint64(back.rows.size()), before + 1);
        const int col = int(back.names.indexOf(c.field));
        EXPECT_TRUE(drivers::sameCells({{c.fits}}, {{back.rows.back()[size_t(col)]}}));
    }
    // The writers refuse what does not fit as well.
    EXPECT_THROW(jet::biff4WithRows(jet::biff4Template({"A"}), 1, {{Variant(QString(256, 'x'))}}, false, "x.xls"), dao::Error);
    EXPECT_THROW(jet::wk1WithRows(jet::wk1Template({"A"}), 1, {{Variant(QString(241, 'x'))}}, false, "x.wk1"), dao::Error);
    EXPECT_THROW(jet::createDbf(path("n.dbf"), {{"ELEVENCHARS", 'C', 5, 0}}), dao::Error);
}

TEST_F(Limits, AWriteIntoAFolderThatIsGoneFailsAndSaysSo)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    writeBytes(path("sub/fees.xls"), jet::biff4Template({"CODE"}));
    platform::DataControl dc;
    drivers::open(dc, "Excel 4.0;", path("sub/fees.xls"), "fees$");
    dc.Recordset().AddNew();
    dc.Recordset()["CODE"] = Variant("00100");
    dc.Recordset().Update();
    ASSERT_TRUE(QDir(dir.path()).rename("sub", "moved"));
    try {
        drivers::release(dc);
        FAIL() << "the release reported success";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, 3044);
        EXPECT_TRUE(e.description.contains("sub")) << e.description.toStdString();
    }
    EXPECT_FALSE(dc.hasRecordset());
    EXPECT_THROW(jet::createDbf(path("missing/x.dbf"), {{"CODE", 'C', 5, 0}}), dao::Error);
}

}  // namespace
