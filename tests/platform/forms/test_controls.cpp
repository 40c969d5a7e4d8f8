#include "support/SeamTest.h"

#include "platform/forms/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QApplication>
#include <QTest>

using namespace platform;

namespace {

// A test window with a list, a text box and a check box wired as the windows wire them.
class frmControls : public Form {
public:
    frmControls()
        : Combo1(new QComboBox(this)), Combo2(new QComboBox(this)), Text1(new QLineEdit(this)),
          Text2(new QLineEdit(this)), Check1(new QCheckBox(this))
    {
        onClick(Combo1, [this] { Combo1_Click(); });
        onClick(Combo2, [this] { log << "Combo2_Click " + Combo2->currentText(); });
        onChange(Text1, [this] { log << "Text1_Change " + Text1->text(); });
        onClick(Check1, [this] { log << "Check1_Click " + QString::number(checkValue(Check1)); });
        onKeyPress(Text2, [this](int& KeyAscii) { Text2_KeyPress(KeyAscii); });
        onLostFocus(Text1, [this] {
            log << QString("Text1_LostFocus, next ") + (ActiveControl() == Text2 ? "Text2" : "?") ;
        });
        onGotFocus(Text2, [this] { log << "Text2_GotFocus"; });
    }
    void Combo1_Click()
    {
        log << "Combo1_Click " + Combo1->currentText() + " begin";
        setListIndex(Combo2, Combo1->currentIndex());  // the nested change runs inside
        setText(Text1, Combo1->currentText());
        log << "Combo1_Click end";
    }
    void Text2_KeyPress(int& KeyAscii)
    {
        if (KeyAscii == '-')
            KeyAscii = 0;  // swallowed
        else if (KeyAscii >= 'a' && KeyAscii <= 'z')
            KeyAscii -= 32;  // typed as a capital
    }
    QComboBox *Combo1, *Combo2;
    QLineEdit *Text1, *Text2;
    QCheckBox* Check1;
    QStringList log;
};

}  // namespace

class ControlHelperTest : public SeamTest {};

TEST_F(ControlHelperTest, RefillingAListRunsNoClickAndSettingTheSelectionRunsItOnce)
{
    auto& w = load<frmControls>();
    fillList(w.Combo1, {"KELVA", "DMEPOS", "Lab Fees"});
    fillList(w.Combo2, {"a", "b", "c"});
    setListIndex(w.Combo2, 1);
    w.log.clear();
    fillList(w.Combo2, {"x", "y"});  // clear() and the first item would signal in Qt
    addItem(w.Combo2, "z");
    clearList(w.Combo2);
    EXPECT_TRUE(w.log.isEmpty()) << w.log.join("; ").toStdString();

    fillList(w.Combo2, {"x", "y"});
    setListIndex(w.Combo2, 0);
    EXPECT_EQ(w.log, QStringList({"Combo2_Click x"}));
    setListIndex(w.Combo2, 0);  // the entry it already shows: the click runs again
    EXPECT_EQ(w.log, QStringList({"Combo2_Click x", "Combo2_Click x"}));
}

TEST_F(ControlHelperTest, NestedChangeRunsInsideTheOuterHandler)
{
    auto& w = load<frmControls>();
    fillList(w.Combo1, {"KELVA", "DMEPOS"});
    fillList(w.Combo2, {"a", "b"});
    setListIndex(w.Combo1, 1);
    EXPECT_EQ(w.log, QStringList({"Combo1_Click DMEPOS begin", "Combo2_Click b", "Text1_Change DMEPOS",
                                  "Combo1_Click end"}));
    w.log.clear();
    setText(w.Text1, "DMEPOS");  // identical text: nothing
    setComboText(w.Combo2, "a");
    EXPECT_EQ(w.log, QStringList({"Combo2_Click a"}));
    EXPECT_THROW(setComboText(w.Combo2, "zz"), dao::Error);
}

TEST_F(ControlHelperTest, CheckBoxClickRunsWhenTheValueChanges)
{
    auto& w = load<frmControls>();
    setCheckValue(w.Check1, 1);
    setCheckValue(w.Check1, 1);
    setCheckValue(w.Check1, 0);
    EXPECT_EQ(w.log, QStringList({"Check1_Click 1", "Check1_Click 0"}));
}

TEST_F(ControlHelperTest, KeyPressCanSwallowOrReplaceTheCharacter)
{
    auto& w = load<frmControls>();
    QTest::keyClicks(w.Text2, "a-b1");
    EXPECT_EQ(w.Text2->text(), "AB1");
}

TEST_F(ControlHelperTest, LostFocusRunsFirstAndSeesTheControlGettingIt)
{
    auto& w = load<frmControls>();
    // Not shown yet: the handlers run in the old order all the same.
    SetFocus(w.Text1);
    w.log.clear();
    SetFocus(w.Text2);
    EXPECT_EQ(w.log, QStringList({"Text1_LostFocus, next Text2", "Text2_GotFocus"}));

    // Shown and active: Qt's own focus events.
    w.show();
    QApplication::setActiveWindow(&w);
    SetFocus(w.Text1);
    w.log.clear();
    SetFocus(w.Text2);
    EXPECT_EQ(w.log, QStringList({"Text1_LostFocus, next Text2", "Text2_GotFocus"}));
    // Another window taking the activation is no loss of focus.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(&w);
    EXPECT_EQ(w.log.size(), 2);
}

namespace {
class frmOther : public Form {
public:
    frmOther() : Text3(new QLineEdit(this)) { onGotFocus(Text3, [this] { log << "Text3_GotFocus"; }); }
    QLineEdit* Text3;
    QStringList log;
};
}  // namespace

TEST_F(ControlHelperTest, FocusMovesBetweenWindowsOfTheProgramButNotToADialog)
{
    auto& w = load<frmControls>();
    auto& other = load<frmOther>();
    w.show();
    other.show();
    QApplication::setActiveWindow(&w);
    SetFocus(w.Text1);
    SetFocus(other.Text3);
    QApplication::setActiveWindow(&other);
    w.log.clear();
    other.log.clear();
    QApplication::setActiveWindow(&w);  // back from another window of the program
    QApplication::setActiveWindow(&other);
    EXPECT_EQ(w.log, QStringList({"Text1_LostFocus, next ?"}));
    EXPECT_EQ(other.log, QStringList({"Text3_GotFocus"}));

    w.log.clear();
    other.log.clear();
    QWidget box;  // what a message box does
    box.show();
    QApplication::setActiveWindow(&box);
    QApplication::setActiveWindow(&other);
    EXPECT_TRUE(other.log.isEmpty()) << other.log.join(", ").toStdString();
}
