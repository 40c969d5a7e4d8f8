// The national export wizards: pages, key filter, target prompt and the run's frame.
#include "s52_fixture.h"

#include "export/national/runguard.h"
#include "export/rules/exportrules.h"
#include "platform/forms/controls.h"
#include "support/ReadableTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct WizardCase {
    const char* name;
    bool beta;
};

const WizardCase kWizards[] = {{"AllLocality", false}, {"Carrier", true}};

class NationalWizardFlow : public NationalTest, public ::testing::WithParamInterface<WizardCase> {
protected:
    NationalWizard& wizard()
    {
        if (GetParam().beta)
            return load<frmExportWizBeta>();
        return load<frmExportWiz>();
    }
    static QString page(const NationalWizard& w)
    {
        if (!w.Frame3->isHidden())
            return "intro";
        if (!w.Frame1->isHidden())
            return "family";
        if (!w.Frame4->isHidden())
            return "fee";
        return "none";
    }
    bool loaded() const
    {
        return platform::forms().loadedByName(GetParam().beta ? "frmExportWizBeta" : "frmExportWiz") != nullptr;
    }
};

TEST_P(NationalWizardFlow, PagesAndTheForwardCaption)
{
    NationalWizard& w = wizard();
    EXPECT_EQ(page(w), "intro");
    EXPECT_FALSE(w.Command1(2)->isEnabled());
    EXPECT_EQ(w.Command1(1)->text(), "Next >>");
    EXPECT_TRUE(w.Option1(0)->isChecked());
    EXPECT_TRUE(w.Option1(7)->isChecked());

    struct Step {
        int button;
        const char* page;
        bool backEnabled;
        const char* forward;
    };
    const Step steps[] = {
        {1, "family", true, "Next >>"}, {1, "fee", true, "Next >>"}, {2, "family", true, "Next"},
        {2, "intro", false, "Next"},    {1, "family", true, "Next"}, {1, "fee", true, "Next"},
    };
    int n = 0;
    for (const Step& s : steps) {
        w.Command1(s.button)->click();
        EXPECT_EQ(page(w), s.page) << "step " << n;
        EXPECT_EQ(w.Command1(2)->isEnabled(), s.backEnabled) << "step " << n;
        EXPECT_EQ(w.Command1(1)->text(), s.forward) << "step " << n;
        ++n;
    }
    EXPECT_TRUE(seam.calls("FileSave").empty());
}

TEST_P(NationalWizardFlow, AFamilyChosenAfterBackIsTheOneExported)
{
    setCount(1234);
    NationalWizard& w = wizard();
    w.Command1(1)->click();
    w.Command1(1)->click();  // KELVA: the fee-type page
    w.Command1(2)->click();
    w.Option1(1)->setChecked(true);
    EXPECT_EQ(w.familyCode(), "LAB");
    seam.cancelFileDialog();
    w.Command1(1)->click();
    ASSERT_EQ(seam.calls("FileSave").size(), 1u);
    EXPECT_EQ(QFileInfo(seam.calls("FileSave")[0].text).fileName(), "NATLAB234.mdb");
    // Cancel closes the wizard and spends no number.
    EXPECT_FALSE(loaded());
    EXPECT_EQ(count(), 1234);
}

TEST_P(NationalWizardFlow, ARefusedTargetLeavesTheFamilyPageOnlyInTheAllLocalityWizard)
{
    NationalWizard& w = wizard();
    w.Command1(1)->click();
    w.Option1(2)->setChecked(true);
    seam.answerFileDialog(target("Exports1.mdb"));
    seam.expectMsgBox(exportrules::kRefusedMessage, vbOKOnly);
    w.Command1(1)->click();
    if (GetParam().beta) {
        // No page: only Cancel acts.
        EXPECT_EQ(page(w), "none");
        w.Command1(1)->click();
        w.Command1(2)->click();
        EXPECT_EQ(page(w), "none");
        EXPECT_EQ(seam.calls("FileSave").size(), 1u);
    } else {
        EXPECT_EQ(page(w), "family");
        seam.cancelFileDialog();
        w.Command1(1)->click();
        EXPECT_EQ(seam.calls("FileSave").size(), 2u);
    }
    if (loaded())
        w.Command1(0)->click();
    EXPECT_FALSE(loaded());
}

TEST_P(NationalWizardFlow, KeyFilterOfThePercentage)
{
    NationalWizard& w = wizard();
    w.Command1(1)->click();
    w.Command1(1)->click();
    w.show();
    platform::SetFocus(w.Text1);
    QTest::keyClicks(w.Text1, "12.5");
    EXPECT_EQ(w.Text1->text(), "12.5");
    seam.expectMsgBox("The percentage increase/decrease amount must be numeric.  Please re-enter.", vbOKOnly);
    platform::setText(w.Text1, "1");
    QTest::keyClicks(w.Text1, "a");
    EXPECT_EQ(w.Text1->text(), "1");
    QTest::keyClicks(w.Text1, "-2.3");  // the fifth character is not taken; the filter ignores what is there
    EXPECT_EQ(w.Text1->text(), "1-2.");
    QTest::keyClick(w.Text1, Qt::Key_Return);
    EXPECT_EQ(w.ActiveControl(), w.Command1(1));
    EXPECT_TRUE(seam.calls("FileSave").empty());
}

INSTANTIATE_TEST_SUITE_P(Both, NationalWizardFlow, ::testing::ValuesIn(kWizards),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The target prompt.

struct PromptCase {
    const char* name;
    bool beta;
    qint64 count;
    int option;
    const char* proposed;
    qint64 stored;
};

const PromptCase kPrompts[] = {
    {"Wiz1234Lab", false, 1234, 1, "NATLAB234.mdb", 1235},
    {"Beta1234Lab", true, 1234, 1, "NATLAB234.mdb", 1235},
    {"Wiz5Lab", false, 5, 1, "NATLAB5.mdb", 6},
    {"Beta5Lab", true, 5, 1, "NATLAB 5.mdb", 6},
    {"Wiz2001Dme", false, 2001, 2, "NATDME001.mdb", 1001},
    {"Beta2001Jcode", true, 2001, 3, "NATJCODE001.mdb", 1001},
};

class NationalPrompt : public NationalTest, public ::testing::WithParamInterface<PromptCase> {};

TEST_P(NationalPrompt, ProposesInTheProgramFolderAndAdvancesTheCount)
{
    const PromptCase& c = GetParam();
    setCount(c.count);
    NationalWizard& w = c.beta ? static_cast<NationalWizard&>(onFamilyPage<frmExportWizBeta>(c.option))
                               : onFamilyPage<frmExportWiz>(c.option);
    seam.answerFileDialog(target("chosen.mdb"));
    EXPECT_EQ(w.Prompt_File(), 0);
    ASSERT_EQ(seam.calls("FileSave").size(), 1u);
    const ScriptedSeam::Call call = seam.calls("FileSave")[0];
    EXPECT_EQ(call.text, folder.path() + "/" + c.proposed);
    EXPECT_EQ(call.title, "Select the path to export to.");
    EXPECT_EQ(call.flags, 20);
    EXPECT_TRUE(call.detail.startsWith("Access (*.mdb)|*.mdb"));
    EXPECT_EQ(count(), c.stored);
    EXPECT_EQ(w.dia.FileName, target("chosen.mdb"));
}

INSTANTIATE_TEST_SUITE_P(Counts, NationalPrompt, ::testing::ValuesIn(kPrompts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NationalTest, PromptRefusesTheMainDatabaseAndTemplateNamesInAnyFolder)
{
    setCount(40);
    frmExportWiz& w = onFamilyPage<frmExportWiz>(1);
    for (const QString& name : {target("KELVA.mdb"), QString("/tmp/x/kelva.MDB"), target("export.mdb"),
                                target("Exports1.mdb")}) {
        seam.answerFileDialog(name);
        seam.expectMsgBox(exportrules::kRefusedMessage, vbOKOnly);
        EXPECT_EQ(w.Prompt_File(), 1) << qPrintable(name);
    }
    EXPECT_EQ(count(), 40);
    seam.answerFileDialog(target("MyExport.mdb"));
    EXPECT_EQ(w.Prompt_File(), 0);
    EXPECT_EQ(count(), 41);
}

TEST_F(NationalTest, PromptReportsAnUnreadableParameterRowByNumber)
{
    db().Execute("ALTER TABLE PARMS_CL RENAME TO PARMS_OLD");
    frmExportWizBeta& w = onFamilyPage<frmExportWizBeta>(3);
    seam.answerMsgBox(vbOK);
    EXPECT_EQ(w.Prompt_File(), 1);
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages()[0].startsWith("Errors Occured during export attempt: ")) << qPrintable(seam.messages()[0]);
    EXPECT_NE(seam.messages()[0].mid(38).toInt(), 0);
    EXPECT_TRUE(seam.calls("FileSave").empty());
}

// ---- The run's frame.

TEST_F(NationalTest, OverwriteNoChangesNothingAndShowsNothing)
{
    setCount(7);
    QFile old(target("old.mdb"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    frmExportWiz& w = onFamilyPage<frmExportWiz>(1);
    seam.answerFileDialog(target("old.mdb"));
    seam.expectMsgBox("File already exits.  Do you wish to overwrite this file?", vbYesNo, vbNo);
    w.Command1(1)->click();
    EXPECT_EQ(count(), 8);
    EXPECT_EQ(readAll(target("old.mdb")), QByteArray("keep me"));
    for (auto [i, b] : w.Command1)
        EXPECT_TRUE(b->isEnabled()) << i;
    EXPECT_EQ(w.Text1->text(), "0");
    EXPECT_FALSE(w.running());
    EXPECT_FALSE(nationalrun::active());
    EXPECT_EQ(seam.messages().size(), 1);
}

TEST_F(NationalTest, AMissingTemplateGivesTheFailureReportWithTheButtonsEnabled)
{
    QFile::remove(folder.file("export.mdb"));
    frmExportWizBeta& w = onFamilyPage<frmExportWizBeta>(1);
    seam.answerFileDialog(target("lab.mdb"));
    seam.expectMsgBox("Error exporting to the path and filename selected", vbOKOnly);
    seam.answerMsgBox(vbOK);
    w.Command1(1)->click();
    ASSERT_EQ(seam.messages().size(), 2);
    EXPECT_TRUE(seam.messages()[1].startsWith("Could not find file")) << qPrintable(seam.messages()[1]);
    for (auto [i, b] : w.Command1)
        EXPECT_TRUE(b->isEnabled()) << i;
    EXPECT_FALSE(QFileInfo::exists(target("lab.mdb")));
}

TEST_F(NationalTest, AFailedRunClosesItsHandlesAndTheWindowOpenedAgainRunsAtOnce)
{
    db().Execute("DELETE FROM LOCATION");
    QDir::setCurrent(out.path());
    frmExportWiz& w = onFamilyPage<frmExportWiz>(3);
    seam.answerFileDialog(target("j.mdb"));
    seam.expectMsgBox("Error exporting to the path and filename selected", vbOKOnly);
    seam.expectMsgBox("No current record.", vbOKOnly);
    w.Command1(1)->click();
    for (auto [i, b] : w.Command1)
        EXPECT_FALSE(b->isEnabled()) << i;
    EXPECT_EQ(w.MousePointer(), 0);
    EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).canonicalPath());
    EXPECT_FALSE(platform::forms().isLoaded<ExprtInd>());
    // Both handles are closed: the file can be replaced at once.
    EXPECT_TRUE(QFile::remove(target("j.mdb")));
    ASSERT_TRUE(w.Unload());
    settle();

    db().Execute("INSERT INTO LOCATION (STATE, ST, \"DESC\", CARRIER, LOCCODE, WORK, PRACT, MALP) "
                 "VALUES ('NATIONAL', '**', 'NATIONAL', '00000', '00', 1, 1, 1)");
    seam.answerFileDialog(target("j.mdb"));
    seam.expectMsgBox("Export Successful", vbOKOnly);
    platform::Form* again = platform::forms().getByName("frmExportWiz");
    ASSERT_NE(again, nullptr);
    auto& w2 = static_cast<frmExportWiz&>(*again);
    w2.Command1(1)->click();
    w2.Option1(3)->setChecked(true);
    w2.Command1(1)->click();
    EXPECT_GT(exportFile(target("j.mdb")).scalar("SELECT COUNT(*) FROM JCD_States").toLongLong(), 0);
}

}  // namespace

namespace {

TEST_P(NationalWizardFlow, EveryPageReadsWholeAtTheDesignedSize)
{
    NationalWizard& w = wizard();
    w.Show();
    const char* names[] = {"intro", "family", "fee"};
    for (int i = 0; i < 3; ++i) {
        settle();
        EXPECT_TRUE(testsupport::cutTexts(&w).isEmpty()) << qPrintable(testsupport::cutTexts(&w).join(" | "));
        testsupport::saveShot(&w, QString("%1-%2").arg(GetParam().name, names[i]));
        if (i < 2)
            w.Command1(1)->click();  // the fee-type page's Next >> starts the run
    }
}

}  // namespace
