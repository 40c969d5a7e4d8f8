#include "s50_fixture.h"

#include "platform/jet/delimited.h"
#include "../platform/jet/oracles.h"
#include "support/ReadableTexts.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace {

const QString kRefused =
    "You can not select files: KELVA.MDB or any of the export template files (files begining with EXPORT.??"
    "?) as the export file.  Please pick another file name.";
const QString kFilter = "Access 2000 (*.mdb)|*.mdb|Comma Delimited Text (*.csv)|*.csv";

// Each member on the fixture rows: its Access table (columns in order, rows as texts, Null as <null>) and its
// CSV file byte for byte.
struct MemberCase {
    int item;
    QString table;
    QStringList columns;
    QStringList rows;
    QByteArray csv;
};

const std::vector<MemberCase>& memberCases()
{
    static const std::vector<MemberCase> cases = {
        {5, "DRG Export", {"Tag", "DRG", "MDC", "DRGTYPE", "IND", "DESC", "GMLOS", "AMLOS", "ARW", "DRG Rate"},
         {"+|1|01|SURG|A|Say \"hi\", twice|2.5|3|0.0025|12.5", "<null>|2|04|MED|B|Plain|1.5|2|<null>|<null>"},
         "\"Tag\",\"DRG\",\"MDC\",\"DRGTYPE\",\"IND\",\"DESC\",\"GMLOS\",\"AMLOS\",\"ARW\",\"DRG Rate\",\"\"\r\n"
         "\"+\",\"1\",\"01\",\"SURG\",\"A\",\"Say \"\"hi\"\", twice\",\"2.5\",\"3\",\"0.0025\",\"12.5\",\r\n"
         "\"\",\"2\",\"04\",\"MED\",\"B\",\"Plain\",\"1.5\",\"2\",\"\",\"0\",\r\n"},
        {4, "ASC Export", {"Tag", "CODE", "Desc", "mult", "comment", "pay_ind", "weight", "windex", "ASCPAYRATE"},
         {"<null>|Z0001|Knee, left|Y|C|A2|1.25|1|1,234.50", "+|A0001|Say \"hi\"|N|<null>|G2|0.01|1|.50",
          "<null>|M0001|No rate|<null>|<null>|<null>|<null>|1|<null>"},
         "\"Tag\",\"CODE\",\"Description\",\"Multiplier\",\"Comment\",\"PayIndicator\",\"Weight\",\"Windex\","
         "\"ASCPAYRATE\",\"\"\r\n"
         "\"\",\"Z0001\",\"Knee, left\",\"Y\",\"C\",\"A2\",\"1.25\",\"1\",\"1,234.50\",\r\n"
         "\"+\",\"A0001\",\"Say \"\"hi\"\"\",\"N\",\"\",\"G2\",\"0.01\",\"1\",\".50\",\r\n"
         "\"\",\"M0001\",\"No rate\",\"\",\"\",\"\",\"\",\"1\",\"\",\r\n"},
        {3, "JCD Export",
         {"Tag", "HCPCS", "Mod", "DOSAGE", "ASP", "PAR", "NONPAR", "Description", "Codemod", "ESRD_Limit",
          "Vaccine_AWP_percent", "VaccineLimit", "Infusion_AWP_percent", "DMEInfusion_Limit", "Blood_AWP_percent",
          "BloodLimit"},
         {"+|J0001|<null>|1 MG|10.5|10|9.5|Plain|J0001|<null>|<null>|<null>|<null>|<null>|<null>|7",
          "<null>|J0002|<null>|10 MG|13|12.5|11.88|Drug, \"B\"|J0002|1.5|0.95|<null>|<null>|<null>|<null>|<null>"},
         "\"Tag\",\"HCPCS\",\"Mod\",\"Dosage\",\"ASP Fee\",\"PAR\",\"NONPAR\",\"LC\",\"Description\",\"Codemod\","
         "\"ESRD_Limit\",\"Vaccine_AWP_percent\",\"VaccineLimit\",\"Infusion_AWP_percent\",\"DMEInfusion_Limit\","
         "\"Blood_AWP_percent\",\"BloodLimit\",\"\"\r\n"
         "\"+\",\"J0001\",\"\",\"1 MG\",\"10.5\",\"10\",\"9.5\",\"10.92\",\"Plain\",\"J0001\",\"\",\"\",\"\",\"\",\"\","
         "\"\",\"7\",\r\n"
         "\"\",\"J0002\",\"\",\"10 MG\",\"13\",\"12.5\",\"11.88\",\"13.66\",\"Drug, \"\"B\"\"\",\"J0002\",\"1.5\","
         "\"0.95\",\"\",\"\",\"\",\"\",\"\",\r\n"},
        {1, "DMEPOS Export",
         {"Tag", "HCPCS", "MOD", "MOD2", "JURIS", "CATG", "Ceiling", "Floor", "State", "Description", "Codemod"},
         {"<null>|E0002|NU|KH|D|IN|30|10|20.25|Cane, \"quad\"|E0002NU",
          "+|E0001|<null>|<null>|<null>|<null>|<null>|<null>|<null>|No fee|E0001"},
         "\"Tag\",\"HCPCS\",\"Mod\",\"Mod2\",\"JURIS\",\"CATG\",\"Ceiling\",\"Floor\",\"STATE\",\"Description\","
         "\"Codemod\",\"\"\r\n"
         "\"\",\"E0002\",\"NU\",\"KH\",\"D\",\"IN\",\"30\",\"10\",\"20.25\",\"Cane, \"\"quad\"\"\",\"E0002NU\",\r\n"
         "\"+\",\"E0001\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"No fee\",\"E0001\",\r\n"},
        {2, "Lab Fees Export",
         {"Tag", "HCPCS", "MOD", "NationalLimit", "MidPoint", "labfloor", "STATE", "Description", "Codemod"},
         {"+|80001|QW|<null>|<null>|<null>|3.25|Test|80001QW", "<null>|80002|<null>|12|11|5|9.5|Panel, \"basic\"|80002"},
         "\"Tag\",\"HCPCS\",\"Mod\",\"NationalLimit\",\"MidPoint\",\"LabFloor\",\"STATE\",\"Description\","
         "\"Codemod\",\"\"\r\n"
         "\"+\",\"80001\",\"QW\",\"\",\"\",\"\",\"3.25\",\"Test\",\"80001QW\",\r\n"
         "\"\",\"80002\",\"\",\"12\",\"11\",\"5\",\"9.5\",\"Panel, \"\"basic\"\"\",\"80002\",\r\n"},
        {6, "Locality Export", {"State", "ST", "DESC", "county", "carrier", "loccode", "work", "pract", "malp"},
         {"ALABAMA|AL|STATEWIDE|ALL \"67\", COUNTIES|10102|00|1|0.87|0.5",
          "NATIONAL VALUES|**|NATIONAL VALUES|<null>|<null>|<null>|1|1|1",
          "NEW YORK|NY|MANHATTAN|NEW YORK|13202|01|1.094|1.404|1.052"},
         "\"STATE\",\"ST\",\"DESC\",\"COUNTY\",\"CARRIER\",\"LOCCODE\",\"WORK\",\"PRACT\",\"MALP\",\"\"\r\n"
         "\"ALABAMA\",\"AL\",\"STATEWIDE\",\"ALL \"\"67\"\", COUNTIES\",\"10102\",\"00\",\"1\",\"0.87\",\"0.5\",\r\n"
         "\"NATIONAL VALUES\",\"**\",\"NATIONAL VALUES\",\"\",\"\",\"\",\"1\",\"1\",\"1\",\r\n"
         "\"NEW YORK\",\"NY\",\"MANHATTAN\",\"NEW YORK\",\"13202\",\"01\",\"1.094\",\"1.404\",\"1.052\",\r\n"},
        {7, "ZIP_GPCI Export",
         {"ZIPCODE", "CARRIER", "LOCALITY", "RURAL IND", "VERSION", "WORK", "PRACT", "MALP", "STATE", "COUNTY", "DESC"},
         {"35004|10102|00|<null>|20141|1|0.87|0.5|ALABAMA|ALL \"67\", COUNTIES|STATEWIDE",
          "10001|13202|01|R|20141|1.094|1.404|1.052|NEW YORK|NEW YORK|MANHATTAN"},
         "\"ZIPCODE\",\"CARRIER\",\"LOCALITY\",\"RURAL IND\",\"VERSION\",\"WORK\",\"PRACT\",\"MALP\",\"STATE\","
         "\"COUNTY\",\"DESC\",\"\"\r\n"
         "\"35004\",\"10102\",\"00\",\"\",\"20141\",\"1\",\"0.87\",\"0.5\",\"ALABAMA\",\"ALL \"\"67\"\", COUNTIES\","
         "\"STATEWIDE\",\r\n"
         "\"10001\",\"13202\",\"01\",\"R\",\"20141\",\"1.094\",\"1.404\",\"1.052\",\"NEW YORK\",\"NEW YORK\","
         "\"MANHATTAN\",\r\n"},
        {8, "OPPS Export", {"CPT", "MOD", "OPPS Non Facility Fee", "OPPS Facility Fee"},
         {"99213|<null>|45.5|30.25", "99214|26|<null>|12"},
         "\"CPT\",\"Mod\",\"OPPS Non Facility Fee\",\"OPPS Facility Fee\",\"\"\r\n"
         "\"99213\",\"\",\"45.5\",\"30.25\",\r\n"
         "\"99214\",\"26\",\"\",\"12\",\r\n"},
    };
    return cases;
}

QStringList columnNames(dao::Database& file, const QString& table)
{
    QStringList names;
    for (const dao::FieldDef& f : file.tableDef(table).fields)
        names << f.name;
    return names;
}

// A reader's cell equals the text written: a number equals a text that reads as that number once its
// thousands commas are gone (the readers take "1,234.50" for a number too).
void expectFields(const jet::Rows& read, const QByteArray& csv, const QString& who)
{
    const auto lines = jet::parseDelimited(QString::fromLatin1(csv));
    ASSERT_EQ(read.size(), lines.size()) << qPrintable(who);
    for (std::size_t r = 0; r < lines.size(); ++r) {
        for (std::size_t c = 0; c < lines[r].size(); ++c) {
            const QString want = lines[r][c].text;
            const dao::Variant got = c < read[r].size() ? read[r][c] : dao::Variant();
            const QString where = QString("%1 row %2 col %3").arg(who).arg(r).arg(c);
            if (want.isEmpty()) {
                EXPECT_TRUE(got.isNull() || got.toString().isEmpty()) << qPrintable(where);
            } else if (got.type() == dao::Variant::Type::Double) {
                double n = 0;
                EXPECT_TRUE(dao::parseNumber(QString(want).remove(','), &n) && std::abs(n - got.toDouble()) < 1e-9)
                    << qPrintable(where) << ": " << qPrintable(want) << " read as " << got.toDouble();
            } else {
                EXPECT_EQ(got.toString(), want) << qPrintable(where);
            }
        }
    }
}

TEST_F(CodeTableExportTest, EveryMemberWritesItsTableAndItsCsvFile)
{
    QStringList csvFiles;
    qint64 expectedCount = 1234;
    for (const MemberCase& c : memberCases()) {
        const QString who = c.table;
        const QString mdb = target(QString("item%1.mdb").arg(c.item));
        const QString csv = target(QString("item%1.csv").arg(c.item));

        seam.answerFileDialog(mdb);
        seam.expectMsgBox("Export Completed", vbOKOnly);
        pressContinue(openItem(c.item));
        EXPECT_FALSE(loaded(c.item)) << qPrintable(who);
        EXPECT_EQ(count(), ++expectedCount) << qPrintable(who);
        {
            dao::Database file = dao::OpenDatabase(mdb);
            EXPECT_EQ(file.TableNames(), QStringList{c.table}) << qPrintable(who);
            EXPECT_EQ(columnNames(file, c.table), c.columns) << qPrintable(who);
            EXPECT_EQ(testsupport::tableRows(file, c.table, "rowid"), c.rows) << qPrintable(who);
            // Text columns hold texts, whatever the source held.
            for (const dao::FieldDef& f : file.tableDef(c.table).fields) {
                const QString kinds = file.scalar(QString("SELECT group_concat(DISTINCT typeof(%1)) FROM %2 WHERE %1 "
                                                          "IS NOT NULL")
                                                      .arg(dao::quoteIdentifier(f.name), dao::quoteIdentifier(c.table)))
                                          .toString();
                const bool number = f.name == "ESRD_Limit" || f.name == "BloodLimit";
                EXPECT_TRUE(kinds.isEmpty() || kinds == (number ? "real" : "text"))
                    << qPrintable(who + "." + f.name + ": " + kinds);
            }
            file.Close();
        }
        seam.answerFileDialog(csv);
        seam.expectMsgBox("File exported successfully", vbOKOnly);
        pressContinue(openItem(c.item));
        EXPECT_FALSE(loaded(c.item)) << qPrintable(who);
        EXPECT_EQ(count(), ++expectedCount) << qPrintable(who);
        EXPECT_EQ(bytes(csv), c.csv) << qPrintable(who);
        csvFiles << csv;
        EXPECT_EQ(QDir::currentPath(), QDir(out.path()).canonicalPath()) << qPrintable(who);
        settle();
    }

    // The independent readers take every field back as written.
    REQUIRE_TOOL(oracle::Tool::SheetJS);
    REQUIRE_TOOL(oracle::Tool::Ssconvert);
    const auto bySheetJs = oracle::sheetjsRead(csvFiles);
    QString messages;
    const auto bySsconvert = oracle::ssconvertRead(csvFiles, &messages);
    EXPECT_FALSE(messages.contains("Invalid") || messages.contains("corrupt")) << qPrintable(messages);
    ASSERT_EQ(bySheetJs.size(), memberCases().size());
    ASSERT_EQ(bySsconvert.size(), memberCases().size());
    for (std::size_t i = 0; i < memberCases().size(); ++i) {
        expectFields(bySheetJs[i], memberCases()[i].csv, "SheetJS " + memberCases()[i].table);
        expectFields(bySsconvert[i], memberCases()[i].csv, "ssconvert " + memberCases()[i].table);
    }
}

TEST_F(CodeTableExportTest, TheRowChoiceIsReadWhereTheMemberReadsIt)
{
    struct Case {
        int item;
        bool tagged;
        QStringList firstColumn;  // of the table's rows
    };
    // Nothing of DATAOPPSVIEW is tagged for the Lab case below.
    const Case cases[] = {
        {5, true, {"+"}},                 // DRG: the tagged row only
        {2, true, {"+"}},                 // Lab
        {8, true, {"99214"}},             // OPPS: tagged and of the current locality
        {8, false, {"99213", "99214"}},   // OPPS without the choice: every code of the locality
        {6, true, {"ALABAMA", "NATIONAL VALUES", "NEW YORK"}},  // localities ignore the choice
        {7, true, {"35004", "10001"}},    // ZIP codes too
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString mdb = target(QString("rows%1.mdb").arg(++n));
        CodeTableWindow& w = openItem(c.item);
        platform::setOptionValue(w.Option1(c.tagged ? 1 : 0), true);
        seam.answerFileDialog(mdb);
        seam.expectMsgBox("Export Completed", vbOKOnly);
        pressContinue(w);
        dao::Database file = dao::OpenDatabase(mdb);
        const QString table = file.TableNames().value(0);
        QStringList first;
        for (const QString& row : testsupport::tableRows(file, table, "rowid"))
            first << row.section('|', 0, 0);
        EXPECT_EQ(first, c.firstColumn) << c.item << " " << c.tagged;
        file.Close();
        settle();
    }
}

TEST_F(CodeTableExportTest, TaggedChoiceWithNothingTaggedStillSucceeds)
{
    for (const char* t : {"DRG", "LAB"})
        db().Execute(QString("UPDATE %1 SET TAG = NULL").arg(t));
    CodeTableWindow& drg = openItem(5);
    platform::setOptionValue(drg.Option1(1), true);
    seam.answerFileDialog(target("none.mdb"));
    seam.expectMsgBox("Export Completed", vbOKOnly);
    pressContinue(drg);
    dao::Database file = dao::OpenDatabase(target("none.mdb"));
    EXPECT_EQ(file.TableNames(), QStringList{"DRG Export"});
    EXPECT_TRUE(testsupport::tableRows(file, "DRG Export", "rowid").isEmpty());
    file.Close();

    CodeTableWindow& lab = openItem(2);
    platform::setOptionValue(lab.Option1(1), true);
    seam.answerFileDialog(target("none.csv"));
    seam.expectMsgBox("File exported successfully", vbOKOnly);
    pressContinue(lab);
    EXPECT_EQ(bytes(target("none.csv")), "\"Tag\",\"HCPCS\",\"Mod\",\"NationalLimit\",\"MidPoint\",\"LabFloor\","
                                         "\"STATE\",\"Description\",\"Codemod\",\"\"\r\n");
    EXPECT_EQ(count(), 1236);
}

TEST_F(CodeTableExportTest, CancelAndUnknownTypesEndAsEachMemberReportsFailures)
{
    struct Case {
        int item;
        bool description;  // the error's description comes first
    };
    const Case cases[] = {{1, false}, {2, false}, {3, true}, {4, false}, {5, true}, {6, false}, {7, false}, {8, true}};
    for (const Case& c : cases) {
        CodeTableWindow& w = openItem(c.item);
        seam.cancelFileDialog();
        if (c.description)
            seam.expectMsgBox("Cancel was selected.", vbOKOnly);
        seam.expectMsgBox("No Export Performed", vbOKOnly);
        pressContinue(w);

        // The proposed name has no type: nothing is written.
        seam.answerFileDialog(target("morvex234"));
        if (c.description)
            seam.expectMsgBox("", vbOKOnly);
        seam.expectMsgBox("Error creating file", vbOKOnly);
        pressContinue(w);

        EXPECT_TRUE(loaded(c.item)) << c.item;
        EXPECT_EQ(w.Caption(), exportmenu::setting(c.item)->caption) << c.item;
        EXPECT_EQ(count(), 1234) << c.item;
        EXPECT_EQ(platform::busyCount(), 0) << c.item;
        EXPECT_EQ(QDir::currentPath(), QDir(out.path()).canonicalPath()) << c.item;
        // The program's database is still the main database.
        g().MainDb.Execute("UPDATE PARMS_CL SET ExportCnt = 1234");
        EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM PARMS_CL WHERE ExportCnt = 1234").toLongLong(), 1) << c.item;
        w.Command1(1)->click();
        EXPECT_FALSE(loaded(c.item)) << c.item;
        settle();
    }
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList());
}

TEST_F(CodeTableExportTest, FailuresAfterTheTargetExistsKeepWhatWasWritten)
{
    struct Case {
        const char* name;
        int item;
        const char* file;
        std::function<void()> prepare;
        QStringList messages;
        QStringList tables;     // an Access target's tables afterwards
        int csvLines = -1;      // a CSV target's lines afterwards
    };
    const Case cases[] = {
        {"base rate no number", 5, "rate.mdb", [this] { setBoxes("12a", "1"); },
         {"Type mismatch", "An Error occurred while exporting data"}, {"DRG Export", "export"}},
        {"wage index with a quote", 4, "windex.csv", [this] { setBoxes("5000", "1'0"); },
         {"Error writing Text File"}, {}, 1},
        {"J-code state the table lacks", 3, "state.csv", [this] { setParm("JCDSTATE", "ZZ"); },
         {"Item not found in this collection.", "Error writing Text File"}, {}, 1},
        {"Lab state the table lacks", 2, "state.mdb", [this] { setParm("LABSTATE", "CA"); },
         {"An Error occurred while exporting data"}, {"Lab Fees Export", "export"}},
    };
    for (const Case& c : cases) {
        c.prepare();
        CodeTableWindow& w = openItem(c.item);
        seam.answerFileDialog(target(c.file));
        for (const QString& m : c.messages)
            seam.expectMsgBox(m, vbOKOnly);
        pressContinue(w);
        EXPECT_TRUE(loaded(c.item)) << c.name;
        EXPECT_EQ(count(), 1234) << c.name;
        EXPECT_EQ(platform::busyCount(), 0) << c.name;
        EXPECT_EQ(QDir::currentPath(), QDir(out.path()).canonicalPath()) << c.name;
        if (c.csvLines >= 0) {
            EXPECT_EQ(int(jet::parseDelimited(QString::fromLatin1(bytes(target(c.file)))).size()), c.csvLines) << c.name;
        } else {
            dao::Database file = dao::OpenDatabase(target(c.file));
            QStringList tables = file.TableNames();
            tables.sort(Qt::CaseInsensitive);
            QStringList want = c.tables;
            want.sort(Qt::CaseInsensitive);
            EXPECT_EQ(tables, want) << c.name;
            EXPECT_TRUE(testsupport::tableRows(file, c.tables[0], "rowid").isEmpty()) << c.name;
            file.Close();
        }
        w.Command1(1)->click();
        settle();
        setBoxes("5000", "1");
    }
}

TEST_F(CodeTableExportTest, DmeposChecksTheCopyBeforeWritingAndCountsAfterItsCsvMessage)
{
    // A damaged template: the copy cannot be opened, and the message names it.
    QFile::rename(folder.file("export.mdb"), folder.file("export.good"));
    {
        QFile bad(folder.file("export.mdb"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(4096, 'x'));
    }
    CodeTableWindow& w = openItem(1);
    seam.answerFileDialog(target("dme.mdb"));
    seam.expectMsgBox("Error attaching to output database\r\nDB:" + target("dme.mdb") +
                          " RecordSource:export DBTYPE:Access",
                      vbOKOnly);
    pressContinue(w);
    EXPECT_EQ(count(), 1234);
    // Another member meets the same copy later, at the table.
    CodeTableWindow& lab = openItem(2);
    seam.answerFileDialog(target("lab.mdb"));
    seam.expectMsgBox("An Error occurred while exporting data", vbOKOnly);
    pressContinue(lab);
    QFile::remove(folder.file("export.mdb"));
    QFile::rename(folder.file("export.good"), folder.file("export.mdb"));

    // The CSV message and the closing come before the count is stored; other members store it first.
    for (const int item : {1, 2}) {
        CodeTableWindow& t = openItem(item);
        qint64 atUnload = -1;
        QObject::connect(&t, &platform::Form::unloaded, [&] { atUnload = count(); });
        seam.answerFileDialog(target(QString("count%1.csv").arg(item)));
        seam.expectMsgBox("File exported successfully", vbOKOnly);
        pressContinue(t);
        EXPECT_EQ(atUnload, item == 1 ? count() - 1 : count()) << item;
        settle();
    }
}

TEST_F(CodeTableExportTest, CountsNamesAndRefusedFiles)
{
    struct Case {
        qint64 count;
        int item;
        const char* proposed;
        qint64 stored;
    };
    for (const Case& c : {Case{999, 5, "morvex999", 1000}, Case{2000, 1, "morvex000", 2001},
                          Case{2001, 8, "morvex001", 1001}, Case{1234, 6, "locality234", 1235},
                          Case{1234, 7, "zipcode234", 1235}, Case{1234, 2, "morvex234", 1235}}) {
        setCount(c.count);
        seam.answerFileDialog(target("count.csv"));
        seam.expectMsgBox("File exported successfully", vbOKOnly);
        pressContinue(openItem(c.item));
        const auto saves = seam.calls("FileSave");
        EXPECT_EQ(saves.back().text, c.proposed);
        EXPECT_EQ(saves.back().title, "Export");
        EXPECT_EQ(saves.back().detail, kFilter + " @ " + folder.path());
        EXPECT_EQ(count(), c.stored) << c.proposed;
        settle();
    }

    setCount(1234);
    QDir other(out.path());
    other.mkdir("sub");
    for (const QString& name : {target("Exports.csv"), other.filePath("sub/KELVA.mdb"), target("export1.MDB")}) {
        CodeTableWindow& w = openItem(4);
        seam.answerFileDialog(name);
        seam.expectMsgBox(kRefused, vbOKOnly);
        pressContinue(w);
        EXPECT_FALSE(QFile::exists(name)) << qPrintable(name);
        EXPECT_TRUE(loaded(4));
        EXPECT_EQ(platform::busyCount(), 0);
        EXPECT_EQ(QDir::currentPath(), QDir(out.path()).canonicalPath());
    }
    EXPECT_EQ(count(), 1234);
}

TEST_F(CodeTableExportTest, AnExistingTargetIsReplacedWithoutAQuestion)
{
    for (const char* name : {"old.mdb", "old.csv"}) {
        QFile f(target(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old content that is no database");
    }
    seam.answerFileDialog(target("old.mdb"));
    seam.expectMsgBox("Export Completed", vbOKOnly);
    pressContinue(openItem(8));
    seam.answerFileDialog(target("old.csv"));
    seam.expectMsgBox("File exported successfully", vbOKOnly);
    pressContinue(openItem(8));
    EXPECT_EQ(dao::OpenDatabase(target("old.mdb")).TableNames(), QStringList{"OPPS Export"});
    EXPECT_TRUE(bytes(target("old.csv")).startsWith("\"CPT\""));
}

TEST_F(CodeTableExportTest, TheMenuSettingsConfigureTheWindows)
{
    for (int item = 1; item <= 8; ++item) {
        const exportmenu::Setting& s = *exportmenu::setting(item);
        CodeTableWindow& w = openItem(item);
        EXPECT_EQ(w.Caption(), s.caption) << item;
        EXPECT_EQ(w.Option1(0)->text(), s.allCaption) << item;
        EXPECT_EQ(w.Option1(1)->isVisibleTo(&w), s.tagged == exportmenu::TaggedChoice::Shown) << item;
        if (s.tagged == exportmenu::TaggedChoice::Shown) {
            EXPECT_EQ(w.Option1(1)->text(), s.taggedCaption) << item;
        }
        if (s.selectAll) {
            EXPECT_TRUE(w.Option1(0)->isChecked()) << item;
        }
        EXPECT_EQ(w.Label1(0)->text(), QString(s.note).replace('\r', '\n')) << item;
        QApplication::processEvents();
        testsupport::saveShot(&w, QString("codetables_item%1").arg(item));
        EXPECT_EQ(testsupport::cutTexts(&w), QStringList()) << item;
    }
    // One window for the seven families; the Lab family after DMEPOS keeps the user's tagged choice.
    auto& other = dynamic_cast<frmExportOther&>(openItem(1));
    platform::setOptionValue(other.Option1(1), true);
    EXPECT_EQ(&openItem(2), static_cast<CodeTableWindow*>(&other));
    EXPECT_TRUE(other.Option1(1)->isChecked());
    EXPECT_TRUE(other.Option2(1)->isChecked());
    EXPECT_FALSE(other.Option2(0)->isChecked());
    // Localities hide the tagged choice and select all; DRG shows it again.
    openItem(6);
    EXPECT_FALSE(other.Option1(1)->isVisibleTo(&other));
    EXPECT_TRUE(other.Option1(0)->isChecked());
    openItem(5);
    EXPECT_TRUE(other.Option1(1)->isVisibleTo(&other));
    EXPECT_EQ(other.Option1(1)->text(), "Tagged DRG Codes");
    EXPECT_TRUE(other.Option2(4)->isChecked());

    // OPPS opens with every code chosen each time.
    CodeTableWindow& opps = openItem(8);
    platform::setOptionValue(opps.Option1(1), true);
    openItem(8);
    EXPECT_TRUE(opps.Option1(0)->isChecked());

    // Help at context 10 whatever the family; Cancel closes, and the next opening is a fresh window.
    other.Command1(0)->click();
    opps.Command1(0)->click();
    ASSERT_EQ(seam.calls("Help").size(), 2u);
    for (const auto& call : seam.calls("Help")) {
        EXPECT_EQ(call.text, folder.file("morvex.chm"));
        EXPECT_EQ(call.flags, 10);
    }
    EXPECT_EQ(other.Data(1).DatabaseName(), folder.mainDb());
    other.Command1(1)->click();
    opps.Command1(1)->click();
    EXPECT_FALSE(loaded(1));
    EXPECT_FALSE(loaded(8));
    settle();
    CodeTableWindow& fresh = openItem(3);
    EXPECT_FALSE(fresh.Option1(1)->isChecked());
}

}  // namespace
