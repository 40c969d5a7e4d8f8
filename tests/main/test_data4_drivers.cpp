// The main window's hidden data control Data4 on the file drivers, as the imports point it at a file.
#include "MainWindowTest.h"

#include "platform/dao/Error.h"
#include "platform/jet/biff4.h"
#include "platform/jet/dbase.h"
#include "platform/jet/wk1.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using dao::Variant;

class Data4Drivers : public MainWindowTest {
protected:
    QTemporaryDir files;
    QString path(const QString& name) const { return files.filePath(name); }

    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(Data4Drivers, ConnectTextsOpenTheirTables)
{
    const jet::Rows row = {{Variant("100"), Variant(12.5)}};
    write("fees.2014.xls", jet::biff4WithRows(jet::biff4Template({"CPT", "S1"}), 1, row, false, "x"));
    write("fees.wk1", jet::wk1WithRows(jet::wk1Template({"CPT", "S1"}), 1, row, false, "x"));
    write("Fees.csv", "CPT,S1\r\n100,12.5\r\n");
    jet::createDbf(path("FEES.DBF"), {{"CPT", 'C', 7, 0}, {"S1", 'N', 10, 2}});
    jet::createDbf(path("fees.2004.dbf"), {{"CPT", 'C', 7, 0}, {"S1", 'N', 10, 2}});
    for (const QString& f : {QStringLiteral("FEES.DBF"), QStringLiteral("fees.2004.dbf")}) {
        platform::DataControl dc;
        dc.setConnect("dBASE III;");
        dc.setDatabaseName(files.path());
        dc.setRecordSource(QFileInfo(f).completeBaseName());
        dc.Refresh();
        dc.Recordset().AddNew();
        dc.Recordset()["CPT"] = Variant("100");
        dc.Recordset()["S1"] = Variant(12.5);
        dc.Recordset().Update();
        dc.setConnect(QString());
        dc.setDatabaseName(QString());
        dc.setRecordSource(QString());
        dc.Refresh();
    }

    frmMain& m = startOnFirstSession();
    struct Case {
        const char* connect;
        QString database;
        const char* source;
        int error;  // 0: opens, with CPT "100" and S1 12.5
    };
    const Case cases[] = {
        {"dBASE III;", files.path() + "/", "fees", 0},
        {"dBASE III;", files.path(), "fees.2004", 0},
        {"Lotus WK1;", path("fees.wk1"), "fees:", 0},
        {"Text;", files.path() + "/", "fees#csv", 0},
        {"Excel 4.0;", path("fees.2014.xls"), "fees$", 0},
        {"Excel 4.0;", path("missing.xls"), "missing$", 3024},
        {"Lotus WK1;", path("missing.wk1"), "missing:", 3024},
        {"dBASE III;", files.path(), "missing", 3011},
        {"Text;", files.path(), "missing#csv", 3011},
        {"dBASE III;", path("nofolder"), "fees", 3044},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.connect) + " " + c.source);
        m.Data4.setConnect(c.connect);
        m.Data4.setDatabaseName(c.database);
        m.Data4.setRecordSource(c.source);
        if (c.error != 0) {
            try {
                m.Data4.Refresh();
                ADD_FAILURE() << "opened";
            } catch (const dao::Error& e) {
                EXPECT_EQ(e.number, c.error) << e.description.toStdString();
            }
        } else {
            m.Data4.Refresh();
            auto& rs = m.Data4.Recordset();
            ASSERT_EQ(rs.FieldCount(), 2);
            EXPECT_EQ(rs.Fields(0).Name(), "CPT");
            EXPECT_FALSE(rs.EOF());
            EXPECT_EQ(rs["cpt"].Value().toString(), "100");
            EXPECT_EQ(rs["S1"].Value().toDouble(), 12.5);
            rs.MoveNext();
            EXPECT_TRUE(rs.EOF());
        }
        // The release, and a Refresh of the released control.
        m.Data4.setConnect(QString());
        m.Data4.setDatabaseName(QString());
        m.Data4.setRecordSource(QString());
        m.Data4.Refresh();
        EXPECT_FALSE(m.Data4.hasRecordset());
        m.Data4.Refresh();
        EXPECT_THROW(m.Data4.Recordset(), dao::Error);
    }
}

}  // namespace
