#pragma once

#include "app/globals.h"
#include "db/schema.h"
#include "export/ExprtInd.h"
#include "export/lookup/frmExportWiz2.h"
#include "platform/dao/Database.h"
#include "support/SampleDb.h"
#include "support/SeamTest.h"

#include <QDir>
#include <QTemporaryDir>

// A program folder of its own (the sample main database and the templates) with its main database open as the
// program's, the current session's code table DATA0077 holding a few codes, and LOCATION cut down to the national
// row and three localities (Texas without a practice-expense GPCI).
class LookupTest : public SeamTest {
protected:
    const dao::Variant kNoMod;

    void SetUp() override
    {
        SeamTest::SetUp();
        ASSERT_TRUE(out.isValid());
        g() = Globals{};
        g().ProgramFolder = folder.path();
        g().DbConnect = testsupport::programConnect();
        g().MainDb = dao::OpenDatabase(folder.mainDb(), g().DbConnect);
        QDir::setCurrent(folder.path());
        locations({{"**", nullptr, nullptr, 1, 1.0, 1}, {"AL", "10102", "00", 1.0, 0.9, 0.5},
                   {"AK", "02102", "01", 1.5, 1.1, 0.7}, {"TX", "04412", "18", 1.0, dao::Variant(), 0.6}});
        db().Execute("CREATE TABLE DATA0077 AS SELECT * FROM DATA0000 WHERE 0");
        code("99213", kNoMod, {{"WORKZ", 0.97}, {"NF98WORK", 1.1}, {"F98WORK", 0.4}, {"MRVU", 0.05}, {"NFTPERVU", 1.2},
                           {"FTPERVU", 0.8}, {"S1", 10}, {"S2", 20}, {"Freq1", 5}, {"STATUS", "A"}, {"GLOBAL", "XXX"}});
        code("71010", "26", {{"WORKZ", 0.18}, {"NF98WORK", 0.07}, {"F98WORK", 0.07}, {"MRVU", 0.01},
                             {"GLOBAL", "X'Y"}, {"ENDOBASE", "ABCDE"}});
        code("00100", kNoMod, {{"WORKZ", 5}, {"NF98WORK", 2}, {"F98WORK", 2}, {"MRVU", 1}, {"calcflag", 0}});
        code("99999", kNoMod, {{"NF98WORK", 2}, {"F98WORK", 2}, {"MRVU", 1}});
        db().Execute("UPDATE PARMS_CL SET S1 = 'Fee 1', S2 = 'S2', S3 = 'S3', S4 = 'S4', S5 = 'S5'");
        db().Execute("UPDATE SESSIONS SET S1NAME = 'Other'");
        g().CurSesTab = "DATA0077";
        g().ConvFactor = 36;
    }
    void TearDown() override
    {
        SeamTest::TearDown();
        g() = Globals{};
    }

    struct Loc {
        const char* st;
        const char* carrier;
        const char* loc;
        dao::Variant work, pract, malp;
    };
    void locations(const std::vector<Loc>& rows)
    {
        db().Execute("DELETE FROM LOCATION");
        int i = 0;
        for (const Loc& l : rows)
            db::insertRow(db(), "LOCATION",
                          {{"STATE", QString("S%1").arg(i++)}, {"ST", l.st}, {"DESC", "D"},
                           {"CARRIER", l.carrier ? dao::Variant(l.carrier) : dao::Variant()},
                           {"LOCCODE", l.loc ? dao::Variant(l.loc) : dao::Variant()}, {"WORK", l.work},
                           {"PRACT", l.pract}, {"MALP", l.malp}});
    }
    // A code of the session table (without a modifier its MOD is Null, as in the sample); calcflag 1 unless given.
    void code(const QString& cpt, const dao::Variant& mod, db::ColumnValues v)
    {
        v.insert(v.end(), {{"CPT", cpt}, {"MOD", mod}, {"CODEMOD", cpt + mod.toString()}});
        if (std::none_of(v.begin(), v.end(), [](const auto& p) { return p.first == "calcflag"; }))
            v.push_back({"calcflag", 1});
        db::insertRow(db(), "DATA0077", v);
    }

    dao::Database& db() { return g().MainDb; }
    QString lookupPath() const { return folder.file("KELVA_Lookup.mdb"); }
    dao::Database lookupFile() const { return dao::OpenDatabase(lookupPath()); }

    // "Create" pressed on the loaded window, answered up to the run's own messages.
    frmExportWiz2& create()
    {
        frmExportWiz2& w = load<frmExportWiz2>();
        w.Command1->click();
        return w;
    }
    // A run that ends with "Export Successful".
    void createOk()
    {
        seam.expectMsgBox("Export Successful", vbOKOnly);
        create();
    }

    // The rows of a table in CODEMOD order, cells joined by '|', Null as <null>.
    static QStringList rows(dao::Database d, const QString& table, const QString& columns)
    {
        return testsupport::rowTexts(d, "SELECT " + columns + " FROM " + table + " ORDER BY CODEMOD, rowid");
    }
    // The columns of a table, each as its name and declared kind.
    static QStringList columnsOf(dao::Database d, const QString& table)
    {
        QStringList out;
        for (const dao::FieldDef& f : d.tableDef(table).fields)
            out << f.name + " " + dao::declaredType(f);
        return out;
    }

    testsupport::ProgramFolder folder;
    QTemporaryDir out;  // a folder that is not the program folder
};
