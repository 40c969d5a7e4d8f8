// The comma-delimited readers of the user-column imports, on a small session table.
#include "support/SampleDb.h"

#include "db/schema.h"
#include "db/sessions.h"
#include "platform/dao/Error.h"
#include "userdata/importcsv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

using userimport::Member;
using dao::Variant;

const QStringList kColumns = {"Tag", "S1", "S2", "S3", "S4", "S5", "Freq1", "Freq2", "Freq3", "Freq4", "Freq5", "USRDF"};
const QStringList kCodes = {"00100", "G0102", "G010226", "0G01020", "1234F", "99213", "9921326", "0A1234B"};

// codemod -> column -> value text ("" for Null).
using Table = std::map<QString, std::map<QString, QString>>;

class CsvReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const QString& c : kCodes)
            db::insertRow(fixture.db(), "DATA0001", {{"CODEMOD", c}, {"S1", 1.0}, {"S2", 2.0}, {"Freq1", 3.0}});
    }

    Table snapshot()
    {
        Table t;
        dao::Recordset rs = fixture.db().OpenRecordset("SELECT * FROM DATA0001");
        for (; !rs.EOF(); rs.MoveNext())
            for (const QString& col : kColumns) {
                const Variant v = rs[col].Value();
                t[rs["CODEMOD"].Value().toString()][col] = v.isNull() ? QString() : dao::CStr(v);
            }
        return t;
    }

    QString write(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("in%1.csv").arg(++files));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    userimport::CsvOutcome run(Member m, const QString& path)
    {
        return userimport::importCsv(m, path, fixture.db(), "DATA0001");
    }

    testsupport::FixtureDb fixture{{"DATA0000"}, false, false};
    QTemporaryDir dir;
    int files = 0;

public:
    CsvReader() { db::createSessionCodeTable(fixture.db(), "DATA0001", "DATA0000"); }
};

// The table as lines "CODEMOD column=value" of its non-empty values, readable in a failure.
std::vector<std::string> shown(const Table& t)
{
    std::vector<std::string> out;
    for (const auto& [code, cols] : t)
        for (const auto& [col, value] : cols)
            if (!value.isEmpty())
                out.push_back((code + " " + col + "=" + value).toStdString());
    return out;
}

struct Change {
    const char* codemod;
    const char* column;
    const char* value;
};

struct Case {
    const char* name;
    Member member;
    std::vector<const char*> lines;
    std::vector<Change> changes;
    enum { Imported, Refused, Fails } outcome = Imported;
};

const std::vector<Case>& cases()
{
    static const std::vector<Case> c = {
        {"padded code", Member::Schedules, {"CPT,MOD,S1", "100,,12"}, {{"00100", "S1", "12"}}},
        {"code and modifier, tag", Member::Schedules, {"Code,Mod,S1,S2,Tag", "G0102,26,45.5,,x"},
         {{"G010226", "S1", "45.5"}, {"G010226", "Tag", "+"}}},
        {"modifier 0 cut from a six-character key", Member::Schedules, {"Code,Mod,S1", "G0102,0,7"}, {{"G0102", "S1", "7"}}},
        {"modifier 0 kept by frequencies", Member::Frequencies, {"code,mod,freq1", "G0102,0,7"}, {}},
        {"six-character code", Member::Schedules, {"CPT,S1", "G01020,8"}, {{"0G01020", "S1", "8"}}},
        {"eight-character code skipped", Member::Schedules, {"CPT,S1", "12345678,8"}, {}},
        {"quoted money value", Member::Schedules, {"CPT,S1,S2", "99213,4,\"$1,234.50\""},
         {{"99213", "S1", "4"}, {"99213", "S2", "1234.5"}}},
        {"text that is no number left out", Member::Schedules, {"CPT,S1,S2", "99213,abc,45"}, {{"99213", "S2", "45"}}},
        {"marker line", Member::Schedules, {"CPT,S1", "XXXXXX,1,1", "99213,6", "00100,7"},
         {{"99213", "S1", "6"}, {"00100", "S1", "7"}}},
        {"marker as last line", Member::Schedules, {"CPT,S1", "99213,6", "xxxxxx"}, {{"99213", "S1", "6"}}},
        {"lines without digits 1-9", Member::Schedules, {"CPT,S1,Tag", "", ",,,", "ABCDE,,x", "1234F,0,x"},
         {{"1234F", "S1", "0"}, {"1234F", "Tag", "+"}}},
        {"short line leaves the rest", Member::Schedules, {"CPT,S1,S2", "99213,5"}, {{"99213", "S1", "5"}}},
        {"line not reaching the code", Member::Schedules, {"S1,CPT", "5,99213", "6"}, {{"99213", "S1", "5"}}},
        {"trailing comma", Member::Schedules, {"CPT,S1,S2", "99213,5,6,"}, {{"99213", "S1", "5"}, {"99213", "S2", "6"}}},
        {"one field more than the header", Member::Schedules, {"CPT,S1", "99213,5,6"}, {{"99213", "S1", "5"}}},
        {"two fields more: nothing changed", Member::Schedules, {"CPT,S1", "00100,9", "99213,5,6,7"}, {},
         Case::Fails},
        {"tags: anything but empty", Member::Schedules, {"CPT,S1,Tag", "99213,1, ", "00100,1,+", "1234F,1,"},
         {{"99213", "S1", "1"}, {"99213", "Tag", "+"}, {"00100", "S1", "1"}, {"00100", "Tag", "+"}, {"1234F", "S1", "1"}}},
        {"Percentage is a tag column", Member::Schedules, {"CPT,S1,Percentage", "99213,5,10"},
         {{"99213", "S1", "5"}, {"99213", "Tag", "+"}}},
        {"rightmost code and modifier win", Member::Schedules, {"Tag,CODEMOD,CPT,MOD,S1", ",9921326x,99213,26,5"},
         {{"9921326", "S1", "5"}}},
        {"user field with an apostrophe", Member::Schedules, {"CPT,S1,USRDF", "99213,,O'Neil"}, {{"99213", "USRDF", "O'Neil"}}},
        {"apostrophe in a code", Member::Schedules, {"CPT,S1", "99'13,5"}, {}},
        {"blank user field left", Member::Schedules, {"CPT,S1,USRDF", "99213,5,  "}, {{"99213", "S1", "5"}}},
        {"only the header", Member::Schedules, {"CPT,S1"}, {}},
        {"empty file", Member::Schedules, {}, {}, Case::Refused},
        {"no value column", Member::Schedules, {"CPT,Description", "99213,x"}, {}, Case::Refused},
        {"no code column", Member::Schedules, {"Number,S1", "99213,5"}, {}, Case::Refused},
        {"quoted Code header", Member::Schedules, {"\"Code\",S1", "99213,5"}, {{"99213", "S1", "5"}}},
        {"quoted Code header: no frequency code", Member::Frequencies, {"\"Code\",Freq1", "99213,5"}, {}, Case::Refused},
        {"frequencies", Member::Frequencies, {"CPT,Freq1,Freq3", "99213,4,", "00100,,", "1234F,1.5,2"},
         {{"99213", "Freq1", "4"}, {"1234F", "Freq1", "1.5"}, {"1234F", "Freq3", "2"}}},
        {"frequency that is no number: nothing changed", Member::Frequencies, {"Code,Freq1", "00100,2", "99213,x'1"},
         {}, Case::Fails},
        {"empty frequency file", Member::Frequencies, {}, {}, Case::Refused},
        {"user field too long: nothing changed", Member::Schedules, {"CPT,S1,USRDF", "00100,3,a", "99213,5,12345678901"},
         {}, Case::Fails},
    };
    return c;
}

TEST_F(CsvReader, LinesGiveTheirRowsWithEveryLineEnd)
{
    for (const char* end : {"\r", "\n", "\r\n"}) {
        for (const Case& c : cases()) {
            SCOPED_TRACE(std::string(c.name) + (end[0] == '\n' ? " LF" : end[1] ? " CR LF" : " CR"));
            QByteArray bytes;
            for (const char* l : c.lines)
                bytes += QByteArray(l) + end;
            const QString path = write(bytes);
            Table expected = snapshot();
            for (const Change& ch : c.changes)
                expected[ch.codemod][ch.column] = ch.value;

            fixture.db().BeginTrans();
            switch (c.outcome) {
            case Case::Imported:
                EXPECT_EQ(run(c.member, path), userimport::CsvOutcome::Imported);
                break;
            case Case::Refused:
                EXPECT_EQ(run(c.member, path), userimport::CsvOutcome::Refused);
                break;
            case Case::Fails:
                EXPECT_THROW(run(c.member, path), dao::Error);
                break;
            }
            EXPECT_EQ(fixture.db().transactionDepth(), 1);
            EXPECT_EQ(shown(snapshot()), shown(expected));
            fixture.db().Rollback();
        }
    }
}

TEST_F(CsvReader, AfterARefusedFileACorrectedOneImports)
{
    const QString bad = write("CPT,Description\r\n99213,x\r\n");
    const QString good = write("CPT,S3\r\n99213,9\r\n");
    EXPECT_EQ(run(Member::Schedules, bad), userimport::CsvOutcome::Refused);
    EXPECT_EQ(run(Member::Schedules, good), userimport::CsvOutcome::Imported);
    EXPECT_EQ(snapshot()["99213"]["S3"], "9");
    EXPECT_TRUE(QFile::remove(bad));  // the refused file was closed
}

TEST_F(CsvReader, MissingFile)
{
    EXPECT_EQ(run(Member::Schedules, dir.filePath("none.csv")), userimport::CsvOutcome::Refused);
    EXPECT_THROW(run(Member::Frequencies, dir.filePath("none.csv")), dao::Error);
}

TEST_F(CsvReader, Windows1252AndUtf8UserFields)
{
    const QString latin = write("CPT,USRDF,S1\r\n99213,Caf\xe9\r\n");
    const QString utf8 = write("\xEF\xBB\xBF" "CPT,USRDF,S1\r\n00100,Caf\xC3\xA9\r\n");
    run(Member::Schedules, latin);
    run(Member::Schedules, utf8);
    EXPECT_EQ(snapshot()["99213"]["USRDF"], QString::fromUtf8("Caf\xC3\xA9"));
    EXPECT_EQ(snapshot()["00100"]["USRDF"], QString::fromUtf8("Caf\xC3\xA9"));
}

TEST(CsvSplit, QuotedAndPlainFields)
{
    struct S {
        const char* line;
        QStringList fields;
    };
    const S cases[] = {
        {"a, b ,c", {"a", " b ", "c"}},
        {" \"x\"tail,5", {"x", "5"}},
        {"\"12\",\"$1,000\"", {"12", "1000"}},
        {"\"open,5", {"", "5"}},
        {"\"it's\",", {"its"}},
        {",,", {"", ""}},
        {"", {}},
    };
    for (const S& c : cases) {
        SCOPED_TRACE(c.line);
        QStringList got;
        for (const Variant& v : userimport::splitCsvLine(QString::fromUtf8(c.line), 10, 2))
            got << dao::CStr(v);
        EXPECT_EQ(got, c.fields);
    }
    EXPECT_THROW(userimport::splitCsvLine("1,2,3", 2, 2), dao::Error);
    EXPECT_NO_THROW(userimport::splitCsvLine("1,2,", 2, 2));
}

TEST(CsvHeader, RolesByContainedText)
{
    const userimport::CsvHeader h = userimport::csvHeader("Tag,CODEMOD,Fees1,CPT Code,usrdf,S5", Member::Schedules);
    EXPECT_EQ(h.fields, 6);
    EXPECT_EQ(h.code, 3);
    EXPECT_EQ(h.mod, 1);
    EXPECT_EQ(h.value[0], 2);
    EXPECT_EQ(h.value[4], 5);
    EXPECT_EQ(h.tag, 0);
    EXPECT_EQ(h.usrdf, 4);
    const userimport::CsvHeader f = userimport::csvHeader(" code,FREQ2,Code", Member::Frequencies);
    EXPECT_EQ(f.code, 2);
    EXPECT_EQ(f.value[1], 1);
    EXPECT_EQ(f.tag, -1);
    EXPECT_EQ(userimport::csvHeader("CPT,S1,", Member::Schedules).fields, 3);
}

}  // namespace
