#include "update/UpdateFixture.h"

#include "update/codemerge.h"

#include "db/sessions.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"

using namespace updatetest;

namespace {

// A session's code as the user left it.
db::ColumnValues heldCode(const char* codemod)
{
    db::ColumnValues row = {{"Tag", "+"},        {"CODEMOD", codemod}, {"CPT", QString(codemod).left(5)},
                            {"STATUS", "X"},     {"DESC", "old"},      {"WORKZ", 1.0},
                            {"calcflag", 0},     {"NOTES", "my note"}, {"USRDF", "MINE"}};
    for (int i = 1; i <= 5; ++i) {
        row.emplace_back(QString("S%1").arg(i), i);
        row.emplace_back(QString("Freq%1").arg(i), 5 + i);
    }
    return row;
}

// A row of the update.
db::ColumnValues updateCode(const char* codemod, const dao::Variant& tag)
{
    db::ColumnValues row = {{"Tag", tag},      {"CODEMOD", codemod},     {"CPT", QString(codemod).left(5)},
                            {"STATUS", "A"},   {"DESC", "new"},          {"WORKZ", 2.5},
                            {"calcflag", 1},   {"NOTES", "update note"}, {"USRDF", "UPD"}};
    for (int i = 1; i <= 5; ++i) {
        row.emplace_back(QString("S%1").arg(i), 50 + i);
        row.emplace_back(QString("Freq%1").arg(i), 60 + i);
    }
    return row;
}

QString cellsOf(dao::Recordset& rs)
{
    QStringList cells;
    for (int i = 0; i < rs.FieldCount(); ++i)
        cells << (rs[i].Value().isNull() ? QStringLiteral("<null>") : rs[i].Value().toString());
    return cells.join('|');
}

class CodeMergeTest : public UpdateTest {
protected:
    void SetUp() override
    {
        UpdateTest::SetUp();
        dao::Transaction trans(db());
        for (const char* code : {"99213", "99214", "22222", "55555"})
            db::insertRow(db(), "DATA0000", heldCode(code));
        db::createSessionCodeTable(db(), "DATA0001", "DATA0000");
        db::createSessionCodeTable(db(), "DATA0002", "");
        dao::TableDef reordered = db().tableDef("DATA0000");  // S1 and WORKZ change places
        std::swap(reordered.fields[7], reordered.fields[38]);
        reordered.name = "DATA0003";
        reordered.indexes = {dao::IndexDef{"CODEMODIndexx", {"CODEMOD"}, true}};
        db().CreateTable(reordered);
        db().Execute("INSERT INTO DATA0003 (CODEMOD, S1, WORKZ) VALUES ('99213', 1, 1.0)");
        db::createSessionCodeTable(db(), "DATA0004", "DATA0000");
        db().Execute("ALTER TABLE DATA0004 ADD COLUMN EXTRA TEXT(10)");
        db().Execute("UPDATE DATA0004 SET EXTRA = 'keep'");
        int n = 1;
        for (const char* name : {"One", "Empty", "Reordered", "Extra"})
            db::insertRow(db(), "SESSIONS", {{"Session", name}, {"SESTAB", QString("DATA000%1").arg(n++)}});
        db().Execute("UPDATE PARMS_CL SET dataupdate = '2013-01-01'");
        trans.Commit();
    }

    void attachUpdate(const Rows& data00001)
    {
        UpdateContent content;
        content.data00001 = data00001;
        attach(content);
        run->strDate = QDateTime(QDate(2014, 4, 1), QTime(0, 0));
    }

    // The code's row in a table as its cells joined by '|'; "<absent>" when the table lacks it.
    QString row(dao::Database& d, const QString& table, const QString& codemod)
    {
        dao::Recordset rs = d.OpenRecordset("SELECT * FROM [" + table + "] WHERE CODEMOD = ?", {codemod});
        return rs.EOF() ? QStringLiteral("<absent>") : cellsOf(rs);
    }
    QString cell(const QString& table, const QString& codemod, const QString& column)
    {
        dao::Recordset rs = db().OpenRecordset("SELECT [" + column + "] FROM [" + table + "] WHERE CODEMOD = ?",
                                               {codemod});
        return rs.EOF() ? QStringLiteral("<absent>") : cellsOf(rs);
    }
    QString updateRow(const QString& codemod)
    {
        dao::Database u = dao::OpenDatabase(updatePath(), false, true, testsupport::programConnect());
        return row(u, "DATA00001", codemod);
    }
};

const Rows kUpdate = {updateCode("99213", dao::Variant()), updateCode("99214", "D"), updateCode("99999", "D"),
                      updateCode("11111", "+"), updateCode("22222", "d")};

struct CellCase {
    const char* table;
    const char* codemod;
    const char* column;
    const char* value;
};

const CellCase kCells[] = {
    // A held code keeps the user's columns and takes the rest.
    {"DATA0001", "99213", "Tag", "+"},       {"DATA0001", "99213", "S3", "3"},
    {"DATA0001", "99213", "Freq5", "10"},    {"DATA0001", "99213", "NOTES", "my note"},
    {"DATA0001", "99213", "USRDF", "MINE"},  {"DATA0001", "99213", "STATUS", "A"},
    {"DATA0001", "99213", "calcflag", "1"},  {"DATA0001", "99213", "WORKZ", "2.5"},
    {"DATA0001", "99213", "DESC", "new"},    {"DATA0000", "99213", "NOTES", "my note"},
    {"DATA0000", "99213", "STATUS", "A"},
    // "D" deletes where held and adds nothing where not; "d" is an ordinary row.
    {"DATA0000", "99214", "CODEMOD", "<absent>"}, {"DATA0001", "99214", "CODEMOD", "<absent>"},
    {"DATA0001", "99999", "CODEMOD", "<absent>"}, {"DATA0002", "99999", "CODEMOD", "<absent>"},
    {"DATA0001", "22222", "Tag", "+"},       {"DATA0001", "22222", "STATUS", "A"},
    {"DATA0002", "22222", "Tag", "d"},
    // Codes the update lacks stay as they were.
    {"DATA0001", "55555", "STATUS", "X"},    {"DATA0001", "55555", "NOTES", "my note"},
    // Another column order: values by position, kept columns found by name.
    {"DATA0003", "99213", "S1", "1"},        {"DATA0003", "99213", "WORKZ", "51"},
    {"DATA0003", "11111", "S1", "2.5"},      {"DATA0003", "11111", "WORKZ", "51"},
    // An extra last column keeps its value; an added code has none.
    {"DATA0004", "99213", "EXTRA", "keep"},  {"DATA0004", "11111", "EXTRA", "<null>"},
    {"DATA0004", "99213", "NOTES", "my note"},
};

}  // namespace

TEST_F(CodeMergeTest, EverySessionTableTakesTheUpdateAndKeepsTheUsersColumns)
{
    const QString untouched = row(db(), "DATA0001", "55555");
    attachUpdate(kUpdate);
    QStringList hooks;
    run->hooks.progress = [&](int v) { hooks << QString::number(v); };
    run->hooks.events = [&] { hooks << "events"; };
    update::Update_KELVA(*run);

    for (const CellCase& c : kCells)
        EXPECT_EQ(cell(c.table, c.codemod, c.column), c.value) << c.table << " " << c.codemod << " " << c.column;
    for (const char* table : {"DATA0000", "DATA0001", "DATA0002"})
        EXPECT_EQ(row(db(), table, "11111"), updateRow("11111")) << table;  // an added code carries every column
    EXPECT_EQ(row(db(), "DATA0002", "99213"), updateRow("99213"));
    EXPECT_EQ(row(db(), "DATA0001", "55555"), untouched);
    EXPECT_EQ(db().scalar("SELECT dataupdate FROM PARMS_CL").toString(), "2014-04-01");
    EXPECT_EQ(run->strUpdTables, "The tables updated inlcude:  KELVA ");
    const QString perTable = "160 events ";
    EXPECT_EQ(hooks.join(' '), (perTable.repeated(5) + "199 events"));
    EXPECT_EQ(seam.mousePointer(), vbDefault);
}

TEST_F(CodeMergeTest, EmptyUpdateTableChangesNoCodeAndStillCompletes)
{
    const auto before = snapshot();
    attachUpdate({});
    update::Update_KELVA(*run);
    EXPECT_EQ(rows("DATA0000"), before.at("DATA0000"));
    EXPECT_EQ(db().scalar("SELECT dataupdate FROM PARMS_CL").toString(), "2014-04-01");
    EXPECT_EQ(run->strUpdTables, "The tables updated inlcude:  KELVA ");
}

TEST_F(CodeMergeTest, FailureInTheThirdTableLeavesEveryTableAsItWas)
{
    db().Execute("CREATE TRIGGER third BEFORE INSERT ON DATA0002 BEGIN SELECT RAISE(ABORT, 'Refused.'); END");
    QMap<QString, QStringList> before;
    for (const QString t : {"DATA0000", "DATA0001", "DATA0002", "DATA0003", "DATA0004", "PARMS_CL"})
        before[t] = rows(t);
    attachUpdate(kUpdate);
    {
        dao::Transaction trans(db());
        EXPECT_THROW(update::Update_KELVA(*run), dao::Error);
    }
    for (auto it = before.begin(); it != before.end(); ++it)
        EXPECT_EQ(rows(it.key()), it.value()) << it.key().toStdString();
    EXPECT_FALSE(run->strUpdTables.contains("KELVA"));
}

TEST_F(CodeMergeTest, TableWithFewerColumnsThanTheUpdateFails)
{
    db().Execute("CREATE TABLE DATA0005 (Tag TEXT(1), CODEMOD TEXT(8))");
    db::insertRow(db(), "SESSIONS", {{"Session", "Narrow"}, {"SESTAB", "DATA0005"}});
    attachUpdate(kUpdate);
    EXPECT_THROW(update::Update_KELVA(*run), dao::Error);
}
