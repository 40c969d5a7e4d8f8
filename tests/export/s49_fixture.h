#pragma once

#include "ExportDialogTest.h"

#include "db/schema.h"
#include "export/predefined/frmPredefinedExport.h"

#include <QDir>
#include <optional>

// The main window on a session of two codes of known amounts (factors 1, 1, 1, 1 and a conversion factor
// of 10): 00100 without modifier, a description holding a comma and quotes, work RVU 2, fees 69.5, a Null
// S3; 00100-26 at work RVU 0.97, not paid (fees 0). The schedule names hold blanks, S3NAME is Null. The
// OPPS view holds 00100 for the session's locality (total 69.5) and 99999 for another one. The program
// folder also holds the predefined and Zuzizavoz templates.
class PredefinedFixture : public ExportDialogTest {
protected:
    void prepare(dao::Database& d) override
    {
        d.Execute("DELETE FROM " + table);
        db::insertRow(d, table,
                      {{"CODEMOD", "00100"}, {"CPT", "00100"}, {"DESC", "Cut, \"quoted\" text"}, {"GLOBAL", "090"},
                       {"WORKZ", 2}, {"NF98WORK", 4.95}, {"F98WORK", 4.95}, {"MRVU", 0}, {"calcflag", 1},
                       {"NFTPERVU", 4.95}, {"FTPERVU", 4.95}, {"NFTTOTAL", 6.95}, {"FTTOTAL", 6.95}, {"S1", 10},
                       {"S2", 20.5}, {"S4", 0}, {"S5", 5}, {"Freq1", 1}, {"Freq2", 2}, {"Freq3", 3}, {"Freq4", 4},
                       {"Freq5", 5}});
        db::insertRow(d, table,
                      {{"CODEMOD", "0010026"}, {"CPT", "00100"}, {"MOD", "26"}, {"DESC", "Plain"}, {"GLOBAL", "XXX"},
                       {"WORKZ", 0.97}, {"NF98WORK", 1}, {"F98WORK", 1}, {"MRVU", 0.03}, {"calcflag", 0},
                       {"NFTPERVU", 1}, {"FTPERVU", 1}, {"NFTTOTAL", 2}, {"FTTOTAL", 2}, {"S1", 1.25}});
        d.Execute("UPDATE SESSIONS SET S1NAME = 'Office fee', S2NAME = ' Late  fee', S3NAME = NULL, "
                  "S4NAME = 'Work comp ', S5NAME = 'Cash', F1NAME = 'Visits 1', F2NAME = 'Visits 2', "
                  "F3NAME = 'Visits 3', F4NAME = 'Visits 4', F5NAME = 'Visits 5' WHERE SESTAB = ?",
                  {table});
        const QString carrier = d.scalar("SELECT CARRIER FROM PARMS_CL").toString();
        const QString loc = d.scalar("SELECT Loc FROM PARMS_CL").toString();
        d.Execute("DELETE FROM DATAOPPSVIEW");
        db::insertRow(d, "DATAOPPSVIEW",
                      {{"CODEMOD", "00100"}, {"CPT", "00100"}, {"DESC", "Capped"}, {"GLOBAL", "090"}, {"WORKZ", 2},
                       {"NFTPERVU", 4.95}, {"MRVU", 0}, {"NFTTOTAL", 69.5}, {"FTTOTAL", 50}, {"carrier", carrier},
                       {"locality", loc}});
        db::insertRow(d, "DATAOPPSVIEW",
                      {{"CODEMOD", "99999"}, {"CPT", "99999"}, {"DESC", "Elsewhere"}, {"NFTTOTAL", 1}, {"FTTOTAL", 1},
                       {"carrier", carrier}, {"locality", loc == "99" ? "98" : "99"}});
    }

    void SetUp() override
    {
        ExportDialogTest::SetUp();
        const QDir data(KELVA_DATA_DIR);
        for (int i = 1; i <= 6; ++i)
            copyTemplate(QString("exportpre%1.xls").arg(i));
        copyTemplate("elleg.xls");
        g().WorkAdjuster = 1;
        g().WorkGpci = 1;
        g().PracGpci = 1;
        g().MalpGpci = 1;
        g().ConvFactor = 10;
        QDir::setCurrent(folder.path());
    }

    void copyTemplate(const QString& name)
    {
        QFile::remove(folder.file(name));
        ASSERT_TRUE(QFile::copy(QDir(KELVA_DATA_DIR).filePath(name), folder.file(name))) << qPrintable(name);
    }

    void setNames(const QString& assignments, const std::vector<dao::Variant>& values = {})
    {
        std::vector<dao::Variant> params = values;
        params.push_back(table);
        db().Execute("UPDATE SESSIONS SET " + assignments + " WHERE SESTAB = ?", params);
    }

    // The window as the session export dialog opens it, on a layout and row choice.
    frmPredefinedExport& open(int layout, bool tagged = false)
    {
        frmPredefinedExport& w = load<frmPredefinedExport>();
        platform::setOptionValue(w.Option2(layout), true);
        platform::setOptionValue(w.Option1(tagged ? 1 : 0), true);
        return w;
    }

    // One completed export of a layout to path.
    void exportTo(int layout, const QString& path, bool tagged = false)
    {
        frmPredefinedExport& w = open(layout, tagged);
        seam.answerFileDialog(path);
        seam.expectMsgBox("Export Completed", vbOKOnly);
        w.Command1(2)->click();
        EXPECT_FALSE(forms().isLoaded<frmPredefinedExport>()) << qPrintable(path);
    }

    // One failed export: the two messages, the window left open.
    // Without a description, any: the engine's own text, which the test reads from seam.messages().
    void exportFails(int layout, const QString& path, const QString& step,
                     std::optional<QString> description = std::nullopt)
    {
        frmPredefinedExport& w = open(layout);
        seam.answerFileDialog(path);
        seam.expectMsgBox(step, vbOKOnly);
        if (description)
            seam.expectMsgBox(*description, vbOKOnly);
        else
            seam.answerMsgBox(vbOK);
        w.Command1(2)->click();
        EXPECT_TRUE(forms().isLoaded<frmPredefinedExport>()) << qPrintable(path);
        EXPECT_EQ(platform::busyCount(), 0);
        EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).canonicalPath());
    }
};
