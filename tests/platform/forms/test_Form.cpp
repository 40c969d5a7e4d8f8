#include "support/SeamTest.h"

#include "platform/forms/ControlArray.h"
#include "platform/forms/FormRegistry.h"

#include <QApplication>
#include <QPushButton>
#include <gtest/gtest-spi.h>

using platform::forms;
using platform::seam;

namespace {

std::vector<std::string> journal;

class frmA : public platform::Form {
public:
    frmA() { setObjectName("frmA"); }
    void Form_Initialize() override { journal.push_back("A.Initialize"); }
    void Form_Load() override { journal.push_back("A.Load"); }
    void Form_Activate() override
    {
        journal.push_back("A.Activate");
        if (askOnActivate)
            seam().MsgBox("There is a data update available.", vbOKOnly);
    }
    void Form_Deactivate() override { journal.push_back("A.Deactivate"); }
    void Form_Resize() override { journal.push_back("A.Resize " + std::to_string(WindowState())); }
    void Form_QueryUnload(int& Cancel, int UnloadMode) override
    {
        journal.push_back("A.QueryUnload " + std::to_string(UnloadMode));
        Cancel = refuseUnload ? -1 : 0;
    }
    void Form_Unload(int&) override { journal.push_back("A.Unload"); }
    void Command1_Click();  // shows B modally and reads its answer
    bool askOnActivate = false;
    bool refuseUnload = false;
    QString answer;
};

class frmB : public platform::Form {
public:
    frmB() : OK(new QPushButton("OK", this)) { setObjectName("frmB"); connect(OK, &QPushButton::clicked, this, [this] { OK_Click(); }); }
    void Form_Load() override { journal.push_back("B.Load"); }
    void Form_Activate() override { journal.push_back("B.Activate"); }
    void Form_Unload(int&) override { journal.push_back("B.Unload"); }
    void OK_Click()
    {
        journal.push_back("B.OK");
        forms().get<frmA>().answer = "from B";
        Unload();
    }
    QPushButton* OK;
};

class frmC : public platform::Form {
public:
    void Form_Load() override { throw dao::Error(3078, "The Microsoft Jet database engine cannot find the input table or query 'SESSIONS'."); }
};

void frmA::Command1_Click()
{
    journal.push_back("A.before show");
    forms().get<frmB>().Show(vbModal);
    journal.push_back("A.after show: " + answer.toStdString());
}

}  // namespace

class FormTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        journal.clear();
    }
};

TEST_F(FormTest, RegistryLoadsOnFirstUseOnlyAndKeepsOneInstance)
{
    EXPECT_FALSE(forms().isLoaded<frmA>());
    EXPECT_TRUE(forms().unloadIfLoaded<frmA>());
    EXPECT_FALSE(forms().isLoaded<frmA>());
    EXPECT_TRUE(journal.empty());

    frmA& a = load<frmA>();
    EXPECT_EQ(&a, &load<frmA>());
    EXPECT_EQ(journal, (std::vector<std::string>{"A.Initialize", "A.Load"}));
    load<frmB>();
    EXPECT_EQ(forms().loaded(), (std::vector<platform::Form*>{&a, &forms().get<frmB>()}));

    EXPECT_TRUE(forms().unloadIfLoaded<frmA>());
    EXPECT_FALSE(forms().isLoaded<frmA>());
    journal.clear();
    frmA& fresh = load<frmA>();
    EXPECT_TRUE(fresh.answer.isEmpty());
    EXPECT_EQ(journal, (std::vector<std::string>{"A.Initialize", "A.Load"}));
}

TEST_F(FormTest, QueryUnloadCanRefuseAndGetsItsCause)
{
    frmA& a = load<frmA>();
    a.refuseUnload = true;
    EXPECT_FALSE(a.Unload());
    EXPECT_TRUE(forms().isLoaded<frmA>());
    a.show();
    a.close();  // the window's close box
    EXPECT_TRUE(forms().isLoaded<frmA>());
    EXPECT_EQ(journal.back(), "A.QueryUnload 0");
    a.refuseUnload = false;
    EXPECT_TRUE(forms().unloadAll());
    EXPECT_FALSE(forms().isLoaded<frmA>());
    EXPECT_EQ(journal.back(), "A.Unload");
}

TEST_F(FormTest, MessageBoxClosingDoesNotActivateTheWindowAgain)
{
    frmA& a = load<frmA>();
    a.askOnActivate = true;
    seam.expectMsgBox("There is a data update available.", vbOKOnly);
    forms().activated(a);  // the window becomes active
    // The scripted box took the activation and gave it back, as a real one does.
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "A.Activate"), 1);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&a, &activate);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "A.Activate"), 1);
}

TEST_F(FormTest, NestedModalShowReturnsInOrder)
{
    frmA& a = load<frmA>();
    forms().activated(a);
    seam.onModal<frmB>([](frmB& b) {
        journal.push_back("script");
        b.OK->click();
    });
    a.Command1_Click();
    EXPECT_EQ(journal, (std::vector<std::string>{"A.Initialize", "A.Load", "A.Activate", "A.before show", "B.Load",
                                                 "A.Deactivate", "B.Activate", "script", "B.OK", "B.Unload",
                                                 "A.Activate", "A.after show: from B"}));
    EXPECT_FALSE(forms().isLoaded<frmB>());
}

TEST_F(FormTest, ModalWindowLeftOpenByItsScriptFails)
{
    seam.onModal<frmB>([](frmB&) {});
    EXPECT_NONFATAL_FAILURE(load<frmB>().Show(vbModal), "still shown after its script");
}

TEST_F(FormTest, FailureInLoadShowsTheRunTimeError)
{
    seam.expectMsgBox("Run-time error '3078':\r\n\r\nThe Microsoft Jet database engine cannot find the input table or "
                      "query 'SESSIONS'.",
                      vbOKOnly);
    load<frmC>();
    EXPECT_TRUE(forms().isLoaded<frmC>());
}

TEST_F(FormTest, SizeInTwipsCountsTheFrameAndResizeSeesTheState)
{
    frmA& a = load<frmA>();
    a.setWidth(9000);
    a.setHeight(6690);
    EXPECT_EQ(a.width(), (9000 - 120) / 15);
    EXPECT_EQ(a.height(), 400);
    EXPECT_EQ(a.Width(), 9000);
    EXPECT_EQ(a.Height(), 6690);
    EXPECT_EQ(a.ScaleHeight(), 6000);
    a.show();
    journal.clear();
    a.setWindowState(vbMinimized);
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back(), "A.Resize 1");
}

TEST(ControlArrayTest, HolesAllowedAndMissingIndexFailsAtOnce)
{
    QPushButton b0, b3;
    platform::ControlArray<QPushButton> btn;
    btn.add(0, &b0);
    btn.add(3, &b3);
    EXPECT_EQ(btn(3), &b3);
    EXPECT_EQ(btn.UBound(), 3);
    EXPECT_EQ(btn.Count(), 2);
    EXPECT_EQ(btn.indexOf(&b3), 3);
    try {
        btn(1);
        ADD_FAILURE() << "no error";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, 340);
        EXPECT_EQ(e.description, "Control array element '1' doesn't exist");
    }
    std::vector<int> indexes;
    for (auto [i, b] : btn)
        indexes.push_back(i);
    EXPECT_EQ(indexes, (std::vector<int>{0, 3}));
}

TEST_F(FormTest, ModelessShowActivatesBeforeItReturns)
{
    frmA& a = load<frmA>();
    a.Show();
    EXPECT_EQ(journal.back(), "A.Activate");
    load<frmB>().Show();
    // The first show sizes the window (Resize) before it becomes active.
    EXPECT_EQ(journal, (std::vector<std::string>{"A.Initialize", "A.Load", "A.Resize 0", "A.Activate", "B.Load",
                                                 "A.Deactivate", "B.Activate"}));
    a.Show();  // brought forward again
    EXPECT_EQ(journal.back(), "A.Activate");
}
