// The national Lab, DMEPOS and J-code tables, read back through the layer.
#include "s52_fixture.h"

#include "export/national/runguard.h"
#include "support/ReadableTexts.h"

#include <QFile>

namespace {

class NationalTables : public NationalTest {
protected:
    // The family table holds only the given rows.
    void only(const QString& table, const std::vector<db::ColumnValues>& rows)
    {
        db().Execute("DELETE FROM " + table);
        for (const auto& r : rows)
            db::insertRow(db(), table, r);
    }
    // A run that ends with "Export Successful".
    template <class W>
    void exportOk(int option, const QString& path)
    {
        seam.expectMsgBox("Export Successful", vbOKOnly);
        runFamily<W>(option, path);
    }
    // A run that ends in the failure report with that description.
    template <class W>
    W& exportFails(int option, const QString& path, const QString& description)
    {
        seam.expectMsgBox("Error exporting to the path and filename selected", vbOKOnly);
        seam.expectMsgBox(description, vbOKOnly);
        return runFamily<W>(option, path);
    }
    // The bar's (Max, Value) as a stage sets them.
    std::vector<std::pair<double, double>> watchBar()
    {
        std::vector<std::pair<double, double>> seen;
        QObject::connect(&load<ExprtInd>(), &ExprtInd::prg1Changed,
                         [this](double max, double value) { bar.emplace_back(max, value); });
        return seen;
    }
    static QStringList rowsOf(dao::Database d, const QString& table, const QString& columns)
    {
        return testsupport::rowTexts(d, "SELECT " + columns + " FROM " + table + " ORDER BY rowid");
    }
    std::vector<std::pair<double, double>> bar;
};

const db::ColumnValues kLabFees = {{"IN", 1.5}, {"OR", 2}, {"NationalLimit", 12.5}, {"MidPoint", 11}, {"LabFloor", 3}};

TEST_F(NationalTables, LabKeepsTheFirstRowOfACodeAndStoresValuesAsTheyStand)
{
    db::ColumnValues first = kLabFees, second = kLabFees, third = kLabFees;
    first.insert(first.end(), {{"HCPCS", "80048"}, {"Mod", dao::Variant()}, {"AL", 9.25}, {"KS2", 4}});
    second.insert(second.end(), {{"HCPCS", "80048"}, {"Mod", "QW"}, {"AL", 1}});
    third.insert(third.end(), {{"HCPCS", "85025"}, {"Mod", "O'"}, {"AL", dao::Variant()}, {"KS2", 0}});
    only("LAB", {first, second, third});
    db().Execute("CREATE TABLE LAB_States (x INTEGER)");  // a work table of that name in the main database
    exportOk<frmExportWiz>(1, target("lab.mdb"));

    EXPECT_EQ(rowsOf(exportFile(target("lab.mdb")), "LAB_States", "CODE, MOD, NAT, MID, FLR, [IN], [OR], AL, KS2"),
              QStringList({"80048||12.5|11|3|1.5|2|9.25|4", "85025|O'|12.5|11|3|1.5|2|<null>|0"}));
    EXPECT_FALSE(db().hasTable("LAB_States"));
    EXPECT_EQ(exportFile(target("lab.mdb")).TableNames(), QStringList({"LAB_States"}));
}

TEST_F(NationalTables, TheCarrierWizardLeavesTheMainDatabaseAlone)
{
    db().Execute("CREATE TABLE LAB_States (x INTEGER)");
    exportOk<frmExportWizBeta>(1, target("lab.mdb"));
    EXPECT_TRUE(db().hasTable("LAB_States"));
}

TEST_F(NationalTables, LabColumnsFollowTheSourceWithTheirKindsSizesAndKey)
{
    exportOk<frmExportWizBeta>(1, target("lab.mdb"));
    dao::Database f = exportFile(target("lab.mdb"));
    const dao::TableDef def = f.tableDef("LAB_States");
    ASSERT_EQ(def.fields.size(), 62u);
    const dao::TableDef src = db().tableDef("LAB");
    QStringList names;
    for (const dao::FieldDef& c : def.fields)
        names << c.name;
    EXPECT_EQ(names.mid(0, 5), QStringList({"CODE", "MOD", "NAT", "MID", "FLR"}));
    EXPECT_FALSE(names.contains("TAG") || names.contains("Description") || names.contains("CODEMOD"));
    EXPECT_EQ(def.fields[0].type, dao::FieldType::Text);
    EXPECT_EQ(def.fields[0].size, src.fields[1].size);
    EXPECT_EQ(def.fields[1].size, src.fields[2].size);
    EXPECT_EQ(def.fields[2].type, dao::FieldType::Double);
    ASSERT_EQ(def.indexes.size(), 1u);
    EXPECT_TRUE(def.indexes[0].primary);
    EXPECT_EQ(def.indexes[0].fields, QStringList({"CODE"}));

    // The whole sample: every code once, the first of its rows.
    EXPECT_EQ(f.scalar("SELECT COUNT(*) FROM LAB_States").toLongLong(),
              db().scalar("SELECT COUNT(DISTINCT upper(HCPCS)) FROM LAB").toLongLong());
    EXPECT_EQ(f.scalar("SELECT COUNT(*) FROM LAB_States WHERE MOD IS NULL").toLongLong(), 0);
}

TEST_F(NationalTables, ALabWithoutAStateColumnOrRowsEndsAsItShould)
{
    only("LAB", {});
    exportOk<frmExportWiz>(1, target("empty.mdb"));
    EXPECT_EQ(exportFile(target("empty.mdb")).scalar("SELECT COUNT(*) FROM LAB_States").toLongLong(), 0);
    settle();

    db::ColumnValues r = kLabFees;
    r.insert(r.end(), {{"HCPCS", "80048"}});
    only("LAB", {r});
    db().Execute("ALTER TABLE LAB RENAME COLUMN KS2 TO KS9");
    exportFails<frmExportWiz>(1, target("short.mdb"), "Item not found in this collection.");
    EXPECT_EQ(exportFile(target("short.mdb")).scalar("SELECT COUNT(*) FROM LAB_States").toLongLong(), 0);
}

TEST_F(NationalTables, DmeposKeepsEveryRowOfACode)
{
    only("DME", {{{"HCPCS", "E0100"}, {"Mod", "NU"}, {"Mod2", dao::Variant()}, {"Ceiling", 30}, {"Floor", 20},
                  {"AL", 25.5}, {"VI", dao::Variant()}, {"LDESC", "long"}, {"JURIS", "D"}},
                 {{"HCPCS", "E0100"}, {"Mod", "RR"}, {"Mod2", "KH"}, {"Ceiling", 3}, {"Floor", 2}, {"AL", 2.5}}});
    watchBar();
    exportOk<frmExportWizBeta>(2, target("dme.mdb"));
    dao::Database f = exportFile(target("dme.mdb"));
    EXPECT_EQ(rowsOf(f, "DME_States", "CODE, MOD, MOD2, CEIL, FLR, AL, VI, LDESC"),
              QStringList({"E0100|NU||30|20|25.5|<null>|<null>", "E0100|RR|KH|3|2|2.5|<null>|<null>"}));
    const dao::TableDef def = f.tableDef("DME_States");
    EXPECT_EQ(def.fields.size(), 59u);
    ASSERT_EQ(def.indexes.size(), 1u);
    EXPECT_FALSE(def.indexes[0].primary);
    EXPECT_FALSE(def.indexes[0].unique);
    ASSERT_FALSE(bar.empty());
    EXPECT_EQ(bar.back(), std::make_pair(4.0, 4.0));
}

TEST_F(NationalTables, AnEmptyDmeposEndsInTheFailureReportWithItsTable)
{
    only("DME", {});
    exportFails<frmExportWiz>(2, target("dme.mdb"), "No current record.");
    dao::Database f = exportFile(target("dme.mdb"));
    EXPECT_TRUE(f.hasTable("DME_States"));
    EXPECT_EQ(f.scalar("SELECT COUNT(*) FROM DME_States").toLongLong(), 0);
}

TEST_F(NationalTables, JcodeTableHasSeventyColumnsAndTheBarCountsRows)
{
    only("JCD", {{{"HCPCS", "J0120"}, {"Mod", dao::Variant()}, {"NY2", 1.25}, {"RI", 0}, {"CMS", 5}, {"Dosage", "1 mg"}},
                 {{"HCPCS", "J0130"}, {"Mod", "JW"}, {"NY2", dao::Variant()}, {"RI", 7}},
                 {{"HCPCS", "J0120"}, {"Mod", "JZ"}, {"NY2", 2}}});
    watchBar();
    exportOk<frmExportWiz>(3, target("jcd.mdb"));
    dao::Database f = exportFile(target("jcd.mdb"));
    const dao::TableDef def = f.tableDef("JCD_States");
    EXPECT_EQ(def.fields.size(), 70u);
    for (const dao::FieldDef& c : def.fields)
        EXPECT_FALSE(QStringList({"TAG", "DESCRIPTION", "CODEMOD", "FIELD64", "CMS"}).contains(c.name.toUpper()))
            << qPrintable(c.name);
    EXPECT_EQ(rowsOf(f, "JCD_States", "CODE, MOD, NY2, RI, Dosage, notes"),
              QStringList({"J0120||1.25|0|<null>|<null>", "J0130|JW|<null>|7|<null>|<null>"}));
    // n = 3: n + 2, then 1 after the columns, n + 1 after the rows, n + 2.
    const std::vector<std::pair<double, double>> want = {{5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}};
    EXPECT_EQ(bar, want);
}

TEST_F(NationalTables, AnApostropheInACodeIsDataAndNoRowStatementBreaks)
{
    only("JCD", {{{"HCPCS", "J'12"}, {"Mod", "a'"}, {"NY2", 1}}});
    exportOk<frmExportWizBeta>(3, target("jcd.mdb"));
    EXPECT_EQ(rowsOf(exportFile(target("jcd.mdb")), "JCD_States", "CODE, MOD, NY2"), QStringList({"J'12|a'|1"}));
}

// ---- The run guard.

TEST_F(NationalTables, TheOtherWizardStartsNothingWhileARunYields)
{
    bool tried = false;
    seam.onDoEvents([&] {
        EXPECT_TRUE(nationalrun::active());
        frmExportWizBeta& other = onFamilyPage<frmExportWizBeta>(1);
        other.Command1(1)->click();
        EXPECT_FALSE(other.Frame1->isHidden());
        tried = true;
    });
    exportOk<frmExportWiz>(2, target("dme.mdb"));
    EXPECT_TRUE(tried);
    EXPECT_EQ(seam.calls("FileSave").size(), 1u);
    EXPECT_FALSE(nationalrun::active());
}

TEST_F(NationalTables, TheCloseBoxAtAYieldLeavesTheRunToFinish)
{
    seam.onDoEvents([&] {
        platform::Form* w = platform::forms().loadedByName("frmExportWizBeta");
        ASSERT_NE(w, nullptr);
        w->close();
        EXPECT_NE(platform::forms().loadedByName("frmExportWizBeta"), nullptr);
    });
    exportOk<frmExportWizBeta>(3, target("jcd.mdb"));
    EXPECT_EQ(platform::forms().loadedByName("frmExportWizBeta"), nullptr);
    EXPECT_GT(exportFile(target("jcd.mdb")).scalar("SELECT COUNT(*) FROM JCD_States").toLongLong(), 0);
}

}  // namespace

namespace {

// A Lab export of the whole sample as a user runs it; with KELVA_SHOTS set, the progress window is saved there
// and the file is written there too, for a look with other tools.
TEST_F(NationalTables, ALabExportOfTheSampleShowsItsProgress)
{
    const QString shots = qEnvironmentVariable("KELVA_SHOTS");
    const QString path = shots.isEmpty() ? target("NATLAB.mdb") : shots + "/NATLAB.mdb";
    QFile::remove(path);
    seam.onDoEvents([] {});
    seam.onDoEvents([&] {
        ExprtInd& p = load<ExprtInd>();
        EXPECT_TRUE(p.isVisible());
        EXPECT_TRUE(testsupport::cutTexts(&p).isEmpty()) << qPrintable(testsupport::cutTexts(&p).join(" | "));
        testsupport::saveShot(&p, "progress");
    });
    seam.expectMsgBox("Export Successful", vbOKOnly);
    frmExportWiz& w = onFamilyPage<frmExportWiz>(1);
    w.Show();
    seam.answerFileDialog(path);
    w.Command1(1)->click();
    EXPECT_GT(exportFile(path).scalar("SELECT COUNT(*) FROM LAB_States").toLongLong(), 0);
}

}  // namespace
