#include "main/MainWindowTest.h"

#include "search/crosswalkexport.h"
#include "search/frmMedCrossCode.h"

#include <QBuffer>
#include <QFile>
#include <QSignalBlocker>
#include <QTemporaryDir>

namespace {

struct CrosswalkRow {
    const char* hcpcs;
    const char* shortDesc;
    const char* dosage;
    const char* labeler;  // nullptr: Null
    const char* ndc;
    const char* drug;
    dao::Variant pkgSize, pkgQty, billUnits, billUnitsPkg;
};

dao::Variant text(const char* s)
{
    return s ? dao::Variant(QString::fromUtf8(s)) : dao::Variant();
}

// Two NDCs of J9100 (a comma, a double quote, two Nulls) and one of J9200, in stored order.
const CrosswalkRow kRows[] = {
    {"J9100", "Cytarabine 100 mg", "100 MG", "Acme, Inc.", "00001-0001-01", "Drug \"A\"", 10.0, 1.0, 1.0, 10.0},
    {"J9100", "Cytarabine 100 mg", "100 MG", nullptr, "00001-0001-02", "Drug B", 2.5, dao::Variant(), 1.0, 2.5},
    {"J9200", "Other drug 1 mg", "1 MG", "Beta Labs", "00002-0002-01", "Other drug", 1.0, 1.0, 1.0, 1.0},
};

const QByteArray kExpectedCsv =
    "\"HCPCS Code\",\"Labeler Name\",\"NDC\",\"HCPCS DOSAGE\",\"Drug Name\",\"Package Size\",\"Package Quantity\","
    "\"Billable Units\",\"Billable Units Per Package\",\"\"\r\n"
    "\"J9100\",\"Acme, Inc.\",\"00001-0001-01\",\"100 MG\",\"Drug \"\"A\"\"\",\"10\",\"1\",\"1\",\"10\",\r\n"
    "\"J9100\",\"\",\"00001-0001-02\",\"100 MG\",\"Drug B\",\"2.5\",\"\",\"1\",\"2.5\",\r\n"
    "\"J9200\",\"Beta Labs\",\"00002-0002-01\",\"1 MG\",\"Other drug\",\"1\",\"1\",\"1\",\"1\",\r\n";

const char* const kRefused =
    "You can not select files: KELVA.MDB or any of the export template files (files begining with EXPORT.??" "?) as "
    "the export file.  Please pick another file name.";

// An RFC 4180 reader, written apart from the program's own: records end in CR LF, a quoted field doubles its
// quotes.
std::vector<QStringList> readRfc4180(const QByteArray& bytes)
{
    std::vector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quoted) {
            if (c == '"' && i + 1 < bytes.size() && bytes[i + 1] == '"') {
                field += QLatin1Char('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += QLatin1Char(c);
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record << field;
            field.clear();
        } else if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            record << field;
            records.push_back(record);
            record.clear();
            field.clear();
            ++i;
        } else {
            field += QLatin1Char(c);
        }
    }
    return records;
}

// Accepts `room` bytes, then refuses every write.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override
    {
        if (written.size() + len > room_)
            return -1;
        written.append(data, len);
        return len;
    }

private:
    qint64 room_;
};

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

// The main window on a first session, the crosswalk cut down to the three rows above, the code box on J9100.
class CrosswalkTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        dao::Database d = db();
        d.Execute("DELETE FROM crosswalk");
        for (const CrosswalkRow& r : kRows)
            d.Execute("INSERT INTO crosswalk VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                      {text(r.hcpcs), text(r.shortDesc), text(r.dosage), text(r.labeler), text(r.ndc), text(r.drug),
                       r.pkgSize, r.pkgQty, r.billUnits, r.billUnitsPkg});
        main = &startOnFirstSession();
        settleStarted();
        setCodeBox("J9100");
        ASSERT_TRUE(out.isValid());
    }
    void TearDown() override
    {
        EXPECT_EQ(platform::busyCount(), 0);
        MainWindowTest::TearDown();
    }
    // The code box as the J-code grid's row change leaves it, without the box's own lookup.
    void setCodeBox(const QString& code)
    {
        const QSignalBlocker quiet(main->Text1(0));
        main->Text1(0)->setText(code);
    }
    frmMedCrossCode& open()
    {
        auto& w = load<frmMedCrossCode>();
        w.Form_Activate();
        return w;
    }
    // The window in all mode, the save dialog answered with `name` in the output folder.
    frmMedCrossCode& readyToExport(const QString& name, int filterIndex = 0)
    {
        auto& w = open();
        w.btn_Click(3);
        seam.answerFileDialog(out.filePath(name), filterIndex);
        return w;
    }
    static qint64 rowsShown(frmMedCrossCode& w) { return w.Data1.Recordset().RecordCount(); }
    qint64 count() { return parms("ExportCnt").toLongLong(); }
    void setCount(qint64 n) { db().Execute("UPDATE PARMS_CL SET ExportCnt = " + QString::number(n)); }
    static bool stillOpen() { return platform::forms().loadedOrNull<frmMedCrossCode>() != nullptr; }

    frmMain* main = nullptr;
    QTemporaryDir out;
};

TEST_F(CrosswalkTest, OpensOnTheCodeBoxCodeFromTheJCodeButton)
{
    bool shown = false;
    seam.onModal<frmMedCrossCode>([&](frmMedCrossCode& w) {
        shown = true;
        EXPECT_EQ(w.Caption(), "National Drug Code (NDC) Crosswalk");
        EXPECT_EQ(w.dsp(0)->text(), "J9100");
        EXPECT_EQ(w.Text1->text(), "Cytarabine 100 mg");
        EXPECT_EQ(rowsShown(w), 2);
        EXPECT_TRUE(w.btn(4)->isEnabled());
        EXPECT_FALSE(w.btn(1)->isEnabled());
        EXPECT_FALSE(w.btn.contains(2));
        EXPECT_EQ(w.dbg->HeadLines(), 3);
        ASSERT_EQ(w.dbg->ColumnCount(), 10);
        const int widths[] = {700, 0, 900, 3000, 1500, 2250, 800, 800, 800, 800};
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(w.dbg->Columns(i).Visible(), i != 1) << i;
            if (i != 1) {
                EXPECT_NEAR(w.dbg->Columns(i).Width(), widths[i], 7) << i;  // whole pixels
            }
        }
        EXPECT_EQ(w.dbg->Columns(0).Caption(), "HCPCS Code");
        w.btn(0)->click();
    });
    main->Command5_Click();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(stillOpen());
}

TEST_F(CrosswalkTest, SwitchingTheModeTwiceReturnsToTheCodesRows)
{
    auto& w = open();
    w.btn(3)->click();
    EXPECT_EQ(w.btn(3)->text(), "View Drug codes for: J9100");
    EXPECT_EQ(rowsShown(w), 3);
    EXPECT_FALSE(w.btn(4)->isEnabled());
    EXPECT_TRUE(w.btn(1)->isEnabled());
    EXPECT_FALSE(w.dbg->Columns(1).Visible());

    w.btn(3)->click();
    EXPECT_EQ(w.btn(3)->text(), "View All Drug Codes");
    EXPECT_EQ(rowsShown(w), 2);
    EXPECT_TRUE(w.btn(4)->isEnabled());
    EXPECT_FALSE(w.btn(1)->isEnabled());
    EXPECT_EQ(w.dsp(0)->text(), "J9100");
    EXPECT_EQ(w.Text1->text(), "Cytarabine 100 mg");
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(CrosswalkTest, CodeBoxTextsWithoutRowsListNothing)
{
    for (const QString& code : {QStringLiteral("J9'100"), QStringLiteral("J0000")}) {
        SCOPED_TRACE(code.toStdString());
        setCodeBox(code);
        auto& w = open();
        EXPECT_EQ(rowsShown(w), 0);
        EXPECT_EQ(w.dsp(0)->text(), code);
        EXPECT_TRUE(w.Text1->text().isEmpty());
        w.btn_Click(3);
        EXPECT_EQ(rowsShown(w), 3);
        w.btn_Click(3);
        EXPECT_EQ(rowsShown(w), 0);
        w.btn_Click(0);
        settle();
    }
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(CrosswalkTest, GridEditsAreStoredInTheCrosswalk)
{
    auto& w = open();
    w.Data1.Recordset().Edit();
    w.Data1.Recordset()["Drug Name"].setValue(dao::Variant("Drug A2"));
    w.Data1.Recordset().Update();
    EXPECT_EQ(db().scalar("SELECT [Drug Name] FROM crosswalk WHERE NDC = '00001-0001-01'").toString(), "Drug A2");
}

// ---- Export: the count, the dialog and the names.

TEST_F(CrosswalkTest, CountProposesItsLastThreeDigitsAndAdvances)
{
    struct Case {
        qint64 before;
        const char* proposed;
        qint64 after;
    };
    for (const Case c : {Case{1234, "morvex234", 1235}, Case{2000, "morvex000", 2001}, Case{2001, "morvex001", 1001}}) {
        SCOPED_TRACE(c.before);
        setCount(c.before);
        auto& w = readyToExport(QStringLiteral("drugs%1.csv").arg(c.before));
        seam.expectMsgBox("File exported successfully", vbOKOnly);
        w.btn(1)->click();
        const auto dialog = seam.calls("FileSave").back();
        EXPECT_EQ(dialog.text, c.proposed);
        EXPECT_EQ(dialog.title, "Export");
        EXPECT_EQ(dialog.detail, "Access 2000 (*.mdb)|*.mdb|Comma Delimited Text (*.csv)|*.csv @ " + folder.path());
        EXPECT_EQ(count(), c.after);
        EXPECT_FALSE(stillOpen());
        settle();
    }
}

TEST_F(CrosswalkTest, RefusedNamesWriteNothing)
{
    setCount(1500);
    for (const char* name : {"kelva.mdb", "KELVA.MDB", "export.csv", "Exporter.mdb"}) {
        SCOPED_TRACE(name);
        auto& w = readyToExport(name);
        seam.expectMsgBox(kRefused, vbOKOnly);
        w.ExportCrosswalk();
        EXPECT_FALSE(QFile::exists(out.filePath(name)));
        EXPECT_EQ(count(), 1500);
        EXPECT_TRUE(stillOpen());
        w.btn_Click(0);
        settle();
    }
    auto& w = readyToExport("MyExport.csv");
    seam.expectMsgBox("File exported successfully", vbOKOnly);
    w.ExportCrosswalk();
    EXPECT_TRUE(QFile::exists(out.filePath("MyExport.csv")));
}

TEST_F(CrosswalkTest, TheKindComesFromTheLastThreeCharacters)
{
    struct Case {
        const char* chosen;
        int filterIndex;
        const char* written;
        bool csv;
    };
    for (const Case c : {Case{"DRUGS.MDB", 0, "DRUGS.MDB", false}, Case{"drugs.CSV", 0, "drugs.CSV", true},
                         Case{"drugscsv", 0, "drugscsv", true}, Case{"morvex234", 1, "morvex234.mdb", false},
                         Case{"morvex235", 2, "morvex235.csv", true}}) {
        SCOPED_TRACE(c.chosen);
        auto& w = readyToExport(c.chosen, c.filterIndex);
        seam.expectMsgBox(c.csv ? "File exported successfully" : "Export Completed", vbOKOnly);
        w.ExportCrosswalk();
        const QByteArray bytes = fileBytes(out.filePath(c.written));
        if (c.csv)
            EXPECT_EQ(bytes, kExpectedCsv);
        else
            EXPECT_TRUE(bytes.startsWith("SQLite format 3"));
        if (QString(c.chosen) != c.written) {
            EXPECT_FALSE(QFile::exists(out.filePath(c.chosen)));
        }
        settle();
    }
}

TEST_F(CrosswalkTest, CancelledDialogExportsNothing)
{
    setCount(1500);
    auto& w = open();
    w.btn_Click(3);
    seam.cancelFileDialog();
    seam.expectMsgBox("Cancel was selected.", vbOKOnly);
    seam.expectMsgBox("No Export Performed", vbOKOnly);
    w.ExportCrosswalk();
    EXPECT_TRUE(stillOpen());
    EXPECT_EQ(count(), 1500);
}

// ---- Export: the CSV file.

TEST_F(CrosswalkTest, CsvReadsBackFieldForField)
{
    auto& w = readyToExport("drugs.csv");
    seam.expectMsgBox("File exported successfully", vbOKOnly);
    w.ExportCrosswalk();
    const QByteArray bytes = fileBytes(out.filePath("drugs.csv"));
    EXPECT_EQ(bytes, kExpectedCsv);

    const std::vector<QStringList> records = readRfc4180(bytes);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0], QStringList(crosswalkexport::csvHeader()) << "");
    for (std::size_t r = 0; r < 3; ++r) {
        const CrosswalkRow& row = kRows[r];
        const QStringList expected = {row.hcpcs, text(row.labeler).toString(), row.ndc, row.dosage, row.drug,
                                      row.pkgSize.toString(), row.pkgQty.toString(), row.billUnits.toString(),
                                      row.billUnitsPkg.toString(), ""};
        EXPECT_EQ(records[r + 1], expected) << r;
    }
}

TEST_F(CrosswalkTest, EmptyCrosswalkGivesTheHeaderAndAdvancesTheCount)
{
    db().Execute("DELETE FROM crosswalk");
    setCount(1234);
    auto& w = readyToExport("drugs.csv");
    seam.expectMsgBox("File exported successfully", vbOKOnly);
    w.ExportCrosswalk();
    EXPECT_EQ(fileBytes(out.filePath("drugs.csv")), kExpectedCsv.left(kExpectedCsv.indexOf("\r\n") + 2));
    EXPECT_EQ(count(), 1235);
}

TEST_F(CrosswalkTest, StreamFailingHalfwayReportsAndKeepsTheCount)
{
    setCount(1234);
    auto& w = readyToExport("drugs.csv");
    FailingDevice* device = nullptr;
    w.openTextFile = [&](const QString&) {
        auto d = std::make_unique<FailingDevice>(kExpectedCsv.indexOf("\"J9200\""));
        device = d.get();
        return d;
    };
    seam.expectMsgBox("Path/File access error: '" + out.filePath("drugs.csv") + "'", vbOKOnly);
    seam.expectMsgBox("Error writing Text File", vbOKOnly);
    w.ExportCrosswalk();
    EXPECT_EQ(count(), 1234);
    EXPECT_TRUE(stillOpen());
    EXPECT_EQ(QDir::currentPath(), folder.path());
}

// ---- Export: the Access file.

TEST_F(CrosswalkTest, AccessTargetHoldsNdExportWithNullsKept)
{
    setCount(1234);
    auto& w = readyToExport("drugs.mdb");
    seam.expectMsgBox("Export Completed", vbOKOnly);
    w.ExportCrosswalk();
    EXPECT_EQ(count(), 1235);
    EXPECT_FALSE(stillOpen());

    dao::Database target = dao::OpenDatabase(out.filePath("drugs.mdb"));
    EXPECT_EQ(target.TableNames(), QStringList{"ND Export"});
    QStringList names;
    for (const dao::FieldDef& f : target.tableDef("ND Export").fields)
        names << f.name;
    EXPECT_EQ(names, crosswalkexport::columns());
    EXPECT_EQ(testsupport::tableRows(target, "ND Export", "rowid"),
              (QStringList{"J9100|Acme, Inc.|00001-0001-01|100 MG|Drug \"A\"|10|1|1|10",
                           "J9100|<null>|00001-0001-02|100 MG|Drug B|2.5|<null>|1|2.5",
                           "J9200|Beta Labs|00002-0002-01|1 MG|Other drug|1|1|1|1"}));
    EXPECT_EQ(target.scalar("SELECT typeof([PKG SIZE]) FROM [ND Export]").toString(), "text");
}

TEST_F(CrosswalkTest, FailedCreateLeavesTheMainDatabaseCurrent)
{
    {
        dao::Database templ = dao::OpenDatabase(folder.file("export.mdb"));
        templ.Execute("CREATE TABLE [ND Export] (x TEXT)");
    }
    setCount(1234);
    auto& w = readyToExport("drugs.mdb");
    seam.answerMsgBox(vbOK);
    seam.expectMsgBox("An Error occurred while exporting data", vbOKOnly);
    w.ExportCrosswalk();
    EXPECT_FALSE(seam.messages().front().isEmpty());
    EXPECT_EQ(count(), 1234);
    EXPECT_TRUE(stillOpen());

    g().MainDb.Execute("UPDATE PARMS_CL SET ExportCnt = 777");
    EXPECT_EQ(count(), 777);
}
