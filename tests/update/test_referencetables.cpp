#include "update/UpdateFixture.h"

#include "update/localityrefresh.h"
#include "update/referencetables.h"

#include "platform/dao/Transaction.h"

#include <QFile>

using namespace updatetest;

namespace {

using Member = void (*)(update::UpdateRun&);
const Member kMembers[] = {update::Update_ASC,
                           update::Update_Lab,
                           update::Update_DME,
                           update::Update_DRG,
                           update::Update_JCODE,
                           update::Update_Location,
                           update::Update_ExcelReplacementsKelva,
                           update::Update_ExcelReplacementsAsc,
                           update::Update_ExcelReplacementsJCD,
                           update::Update_ExcelReplacementsDME,
                           update::Update_ExcelReplacementsLab,
                           update::Update_ExcelReplacementsDrg};

void runAll(update::UpdateRun& run)
{
    for (Member m : kMembers)
        m(run);
}

const QString kAllWords = QStringLiteral(" ASC  Lab  DME  DRG  JCODE  LOCATION ");

struct MemberCase {
    const char* name;
    QStringList omitted;    // sources the update database lacks
    int runs;               // times the whole replacement runs
    QString words;          // what strUpdTables gains
    QStringList unchanged;  // targets that keep their rows (besides those never touched)
};

const MemberCase kCases[] = {
    {"AllFourteenSources", {}, 1, kAllWords, {}},
    {"WithoutDrg", {"DRG1"}, 1, " ASC  Lab  DME  JCODE  LOCATION ", {"DRG"}},
    {"RatesWithoutWageIndex", {"ASCWAGEINDEX1"}, 1, kAllWords, {"ASCWAGEINDEX"}},
    {"WithoutGroupRates", {"ASCGROUPRATES1"}, 1, " Lab  DME  DRG  JCODE  LOCATION ",
     {"ASCWAGEINDEX", "ASCGROUPS", "ASCGROUPRATES"}},
    {"WithoutDates", {"DatesKELVA1", "DatesLab1"}, 1, kAllWords, {"DatesKELVA", "DatesLAB"}},
    {"AppliedTwice", {}, 2, kAllWords + kAllWords, {}},
};

class ReplacementTest : public UpdateTest, public ::testing::WithParamInterface<MemberCase> {};

}  // namespace

TEST_P(ReplacementTest, TargetsEqualTheirSourcesAndTheRestKeepsItsRows)
{
    const MemberCase& c = GetParam();
    UpdateContent content = allSourcesContent();
    for (const QString& s : c.omitted)
        content.sources.erase(s);
    const auto before = snapshot();
    attach(content);
    for (int i = 0; i < c.runs; ++i)
        runAll(*run);

    EXPECT_EQ(run->strUpdTables, "The tables updated inlcude: " + c.words);
    EXPECT_TRUE(run->refused.isEmpty());
    EXPECT_EQ(seam.mousePointer(), vbHourglass);  // the date tables leave it to the driver
    for (const QString& s : allSources()) {
        const QString target = targetOf(s);
        SCOPED_TRACE(target.toStdString());
        if (c.unchanged.contains(target))
            EXPECT_EQ(rows(target), before.at(target));
        else
            EXPECT_EQ(rows(target), sourceRows(s));
    }
    for (const QString t : {"ASC", "GAP", "MMA", "DMECATS", "ZPLC", "SESSIONS", "PARMS_CL"})
        EXPECT_EQ(rows(t), before.at(t)) << t.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Members, ReplacementTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateTest, RowsTheTargetRefusesAreLeftOutAndCounted)
{
    UpdateContent content;
    Rows dme = generatedRows(db().tableDef("DME"), 3, 1);
    for (auto& [name, value] : dme[1])
        if (name == "Ceiling")
            value = "twelve";                                        // a text in a number column
    Rows drg = generatedRows(db().tableDef("DRG"), 2, 1);
    drg.push_back(drg[0]);                                           // a key already there
    Rows dates = generatedRows(db().tableDef("DatesKELVA"), 1, 1);
    content.sources = {{"dme1", dme}, {"DRG1", drg}, {"DatesKELVA1", dates}};
    attach(content);
    runAll(*run);

    const QStringList src = sourceRows("dme1");
    EXPECT_EQ(rows("DME"), (QStringList{src[0], src[2]}));
    EXPECT_EQ(rows("DRG"), sourceRows("DRG1").mid(0, 2));
    EXPECT_EQ(run->refused.value("DME"), 1);
    EXPECT_EQ(run->refused.value("DRG"), 1);
    EXPECT_EQ(run->refused.size(), 2);
    EXPECT_EQ(run->strUpdTables, "The tables updated inlcude:  DME  DRG ");
}

TEST_F(UpdateTest, SourceWithMoreColumnsThanItsTargetFailsAndKeepsTheTarget)
{
    attach({});
    source.reset();
    run.reset();
    dao::Database u = dao::OpenDatabase(updatePath(), testsupport::programConnect());
    u.Execute("CREATE TABLE DatesDRG1 (\"Date\" TEXT, Extra TEXT)");
    u.Execute("INSERT INTO DatesDRG1 VALUES ('a', 'b')");
    u.Close();
    const QStringList before = rows("DatesDRG");
    attach();
    EXPECT_THROW(update::Update_ExcelReplacementsDrg(*run), dao::Error);
    EXPECT_EQ(rows("DatesDRG"), before);
}

TEST_F(UpdateTest, FailedCopyRollsEveryTableBack)
{
    UpdateContent content = allSourcesContent();
    content.sources["dme1"] = generatedRows(db().tableDef("DME"), 12, 1);
    db().Execute("CREATE TRIGGER tenth_dme BEFORE INSERT ON DME WHEN (SELECT count(*) FROM DME) >= 9 "
                 "BEGIN SELECT RAISE(ABORT, 'The tenth row is refused.'); END");
    const auto before = snapshot();
    attach(content);
    {
        dao::Transaction trans(db());
        try {
            runAll(*run);
            ADD_FAILURE() << "the copy into DME did not fail";
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.description, "The tenth row is refused.");
        }
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(UpdateTest, UpdateDatabaseIsOnlyRead)
{
    UpdateContent content = allSourcesContent();
    content.dataupdate = QDateTime(QDate(2014, 3, 1), QTime(0, 0));
    content.data00001 = generatedRows(db().tableDef("DATA0000"), 2, 1);
    writeUpdateDatabase(updatePath(), content);
    QFile file(updatePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();

    attach();
    {
        dao::Transaction trans(db());
        runAll(*run);
        update::Temp_2004_Update(*run);
        trans.Commit();
    }
    run.reset();
    source.reset();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
}

TEST_F(UpdateTest, UpdateDatabaseNeedsTheMainDatabasesPassword)
{
    writeUpdateDatabase(updatePath(), {});
    try {
        update::UpdateDatabase wrong(db(), updatePath(), ";PWD=not the password");
        ADD_FAILURE() << "opened with a wrong password";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, dao::errBadPassword);
    }
    EXPECT_THROW(update::UpdateDatabase(db(), folder.filePath("missing.mdb"), testsupport::programConnect()),
                 dao::Error);
}
