#pragma once

#include "ExportDialogTest.h"

#include "db/schema.h"
#include "export/codetables/codetablewindow.h"
#include "export/codetables/frmExportOther.h"
#include "export/menu/exportmenu.h"

#include <QSignalBlocker>

// The main window with small code tables: two or three rows per table that show the cases, a DRG base rate
// of 5000, a wage index of 1, the Lab state CA1 and the locality 13202/01.
class CodeTableExportTest : public ExportDialogTest {
protected:
    void SetUp() override
    {
        ExportDialogTest::SetUp();
        dao::Database d = db();
        for (const char* t : {"DRG", "ASC", "JCD", "DME", "LAB", "LOCATION", "ZPLC", "DATAOPPSVIEW"})
            d.Execute(QStringLiteral("DELETE FROM ") + t);
        // Inserted out of DRG order; the second has no weight.
        db::insertRow(d, "DRG", {{"DRG", 2}, {"MDC", "04"}, {"DRGTYPE", "MED"}, {"IND", "B"}, {"DESC", "Plain"},
                                 {"GMLOS", 1.5}, {"AMLOS", 2}});
        db::insertRow(d, "DRG", {{"TAG", "+"}, {"DRG", 1}, {"MDC", "01"}, {"DRGTYPE", "SURG"}, {"IND", "A"},
                                 {"DESC", "Say \"hi\", twice"}, {"GMLOS", 2.5}, {"AMLOS", 3}, {"ARW", 0.0025}});
        // Stored order is not code order.
        db::insertRow(d, "ASC", {{"CODE", "Z0001"}, {"Desc", "Knee, left"}, {"mult", "Y"}, {"comment", "C"},
                                 {"pay_ind", "A2"}, {"weight", 1.25}, {"trans_payment", 1234.5}});
        db::insertRow(d, "ASC", {{"Tag", "+"}, {"CODE", "A0001"}, {"Desc", "Say \"hi\""}, {"mult", "N"},
                                 {"pay_ind", "G2"}, {"weight", 0.01}, {"trans_payment", 0.5}});
        db::insertRow(d, "ASC", {{"CODE", "M0001"}, {"Desc", "No rate"}});
        db::insertRow(d, "JCD", {{"HCPCS", "J0002"}, {"Dosage", "10 MG"}, {"MMA", 13}, {"CA", 12.5}, {"AL", 1},
                                 {"Description", "Drug, \"B\""}, {"Codemod", "J0002"}, {"ESRD_Limit", 1.5},
                                 {"Vaccine_AWP_percent", 0.95}});
        db::insertRow(d, "JCD", {{"Tag", "+"}, {"HCPCS", "J0001"}, {"Dosage", "1 MG"}, {"MMA", 10.5}, {"CA", 10},
                                 {"Description", "Plain"}, {"Codemod", "J0001"}, {"BloodLimit", 7}});
        db::insertRow(d, "JCD", {{"HCPCS", "J0003"}, {"CA", 0}, {"Codemod", "J0003"}});
        db::insertRow(d, "JCD", {{"HCPCS", "J0004"}, {"Codemod", "J0004"}});
        db::insertRow(d, "DME", {{"HCPCS", "E0002"}, {"Mod", "NU"}, {"Mod2", "KH"}, {"JURIS", "D"}, {"CATG", "IN"},
                                 {"Ceiling", 30}, {"Floor", 10}, {"AL", 20.25}, {"Description", "Cane, \"quad\""},
                                 {"CODEMOD", "E0002NU"}});
        db::insertRow(d, "DME", {{"TAG", "+"}, {"HCPCS", "E0001"}, {"Description", "No fee"}, {"CODEMOD", "E0001"}});
        db::insertRow(d, "LAB", {{"HCPCS", "80002"}, {"NationalLimit", 12}, {"MidPoint", 11}, {"LabFloor", 5},
                                 {"AL", 7}, {"CA1", 9.5}, {"Description", "Panel, \"basic\""}, {"CODEMOD", "80002"}});
        db::insertRow(d, "LAB", {{"TAG", "+"}, {"HCPCS", "80001"}, {"Mod", "QW"}, {"AL", 1}, {"CA1", 3.25},
                                 {"Description", "Test"}, {"CODEMOD", "80001QW"}});
        db::insertRow(d, "LOCATION", {{"STATE", "NEW YORK"}, {"ST", "NY"}, {"DESC", "MANHATTAN"},
                                      {"COUNTY", "NEW YORK"}, {"CARRIER", "13202"}, {"LOCCODE", "01"},
                                      {"WORK", 1.094}, {"PRACT", 1.404}, {"MALP", 1.052}});
        db::insertRow(d, "LOCATION", {{"STATE", "NATIONAL VALUES"}, {"ST", "**"}, {"DESC", "NATIONAL VALUES"},
                                      {"WORK", 1}, {"PRACT", 1}, {"MALP", 1}});
        db::insertRow(d, "LOCATION", {{"STATE", "ALABAMA"}, {"ST", "AL"}, {"DESC", "STATEWIDE"},
                                      {"COUNTY", "ALL \"67\", COUNTIES"}, {"CARRIER", "10102"}, {"LOCCODE", "00"},
                                      {"WORK", 1}, {"PRACT", 0.87}, {"MALP", 0.5}});
        db::insertRow(d, "ZPLC", {{"ZIPCODE", "10001"}, {"CARRIER", "13202"}, {"LOCALITY", "01"},
                                  {"rural ind", "R"}, {"Version", "20141"}});
        db::insertRow(d, "ZPLC", {{"ZIPCODE", "35004"}, {"CARRIER", "10102"}, {"LOCALITY", "00"},
                                  {"Version", "20141"}});
        // Two codes of the current locality, one of another.
        db::insertRow(d, "DATAOPPSVIEW", {{"CODEMOD", "9921426"}, {"CPT", "99214"}, {"MOD", "26"}, {"Tag", "+"},
                                          {"FTTOTAL", 12}, {"carrier", "13202"}, {"locality", "01"}});
        db::insertRow(d, "DATAOPPSVIEW", {{"CODEMOD", "99213"}, {"CPT", "99213"}, {"NFTTOTAL", 45.5},
                                          {"FTTOTAL", 30.25}, {"carrier", "13202"}, {"locality", "01"}});
        db::insertRow(d, "DATAOPPSVIEW", {{"CODEMOD", "99212"}, {"CPT", "99212"}, {"NFTTOTAL", 9},
                                          {"carrier", "10102"}, {"locality", "00"}});

        setBoxes("5000", "1");
        setParm("DMESTATE", "AL");
        setParm("LABSTATE", "CA1");
        setParm("JCDSTATE", "CA");
        setParm("CARRIER", "13202");
        setParm("Loc", "01");
        setCount(1234);
        // The exports must come back to whatever folder was current.
        QDir::setCurrent(out.path());
    }
    void TearDown() override
    {
        QDir::setCurrent(folder.path());
        ExportDialogTest::TearDown();
    }

    frmMain& main() { return forms().get<frmMain>(); }
    // The DRG base rate and the ASC wage index as typed, without their boxes' own events.
    void setBoxes(const QString& baseRate, const QString& wageIndex)
    {
        const QSignalBlocker b1(main().Combo4), b2(main().ascwr);
        main().Combo4->setEditText(baseRate);
        main().ascwr->setText(wageIndex);
    }
    // A field of the parameter row, written where the main window keeps it.
    void setParm(const QString& column, const dao::Variant& v)
    {
        dao::Recordset& rs = main().Data2.Recordset();
        rs.Edit();
        rs.Fields(column).setValue(v);
        rs.Update();
    }
    // Export menu item 1..8: the named window, shown and given the item's setting, as the menu does it.
    CodeTableWindow& openItem(int item)
    {
        const exportmenu::Setting* s = exportmenu::setting(item);
        platform::Form* f = forms().getByName(QString::fromLatin1(s->window));
        EXPECT_NE(f, nullptr) << s->window;
        f->Show();
        dynamic_cast<exportmenu::Target&>(*f).applyExportMenuSetting(*s);
        return dynamic_cast<CodeTableWindow&>(*f);
    }
    void pressContinue(CodeTableWindow& w) { w.Command1(2)->click(); }
    bool loaded(int item) const
    {
        return forms().loadedByName(QString::fromLatin1(exportmenu::setting(item)->window)) != nullptr;
    }
};
