#include "GridFixture.h"

#include "app/endprogram.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QTest>

namespace {

namespace col = db::feecol;

const QString kNotFound = "Code could not be found, please reenter your code now";
const QString kFamilyNotFound =
    "The code you have entered is either invalid or not found in this table.  Please reenter a valid code";
const QString kIndexing = "An indexing error has occured. The KELVA Morvex application will need to restart to "
                          "correct this problem.";

// The main window of GridFixture with the five family tables filled and their grids' record sources open.
// Physician codes: 0999926, 10000, 10003, 12345, 99213, 9921326 (S1 12.5 each; the fee kind is S2, which
// only 10000 has), and E0100, DRG001.
class CodeBoxTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        resetProgramEnded();
        // The code box alone: a test's move of a family list is no row change of its grid and no physician
        // lookup, which write the box themselves (the family grids' own events have tests of their own).
        for (platform::DBGrid* grid : {main->DBGrid1, main->DBGrid2, main->DBGrid3, main->DBGrid4, main->DBGrid5})
            grid->RowColChange = nullptr;
        for (platform::DataControl* data : {&main->Data5, &main->Data6, &main->Data7, &main->Data13, &main->Data9})
            data->onReposition({});
        dao::Database& d = db();
        addCode("E0100");
        db::insertRow(d, "DATA0001", {{"CODEMOD", "DRG001"}, {"CPT", "DRG001"}, {"calcflag", 1}});
        d.Execute("UPDATE DATA0001 SET S2 = 7.5 WHERE CODEMOD = '10000'");
        for (auto [hcpcs, mod] : {std::pair{"E0100", "NU"}, {"E0100", "RR"}, {"E0105", ""}, {"K0001", ""}})
            db::insertRow(d, "DME", {{"HCPCS", hcpcs}, {"Mod", mod}, {"CODEMOD", QString(hcpcs) + mod}});
        for (const char* code : {"80048", "82947"})
            db::insertRow(d, "LAB", {{"HCPCS", code}, {"CODEMOD", code}});
        db::insertRow(d, "LAB", {{"HCPCS", "81002"}, {"Mod", "QW"}, {"CODEMOD", "81002QW"}});
        for (const char* code : {"J0120", "J0135"})
            db::insertRow(d, "JCD", {{"HCPCS", code}, {"Codemod", code}});
        for (const char* code : {"10000", "12345", "0001T"})
            db::insertRow(d, "ASC", {{"CODE", code}});
        for (int drg : {1, 2, 10, 100})
            db::insertRow(d, "DRG", {{"DRG", drg}, {"ARW", 1.5}});
        db::insertRow(d, "DRG", {{"DRG", 3}, {"ARW", 1.5}, {"TAG", "+"}});
        main->ViewAllRecs();
        openFamilies();
        platform::fillList(main->cmboCurrentView,
                           {"KELVA", "KELVA OPPS", "DMEPOS", "Lab Fees", "J Codes", "ASC Codes", "DRG Codes"});
        enter("KELVA");
        g().GridHadFocus = -1;  // the start-up's first focus of the grid is over
    }
    void TearDown() override
    {
        GridFixture::TearDown();
        resetProgramEnded();
    }

    void openFamilies(const QString& dmeWhere = QString())
    {
        const std::pair<platform::DataControl*, QString> sources[] = {
            {&main->Data5, "SELECT TAG, HCPCS, [Mod], Mod2, Description, CODEMOD FROM DME " + dmeWhere +
                               " ORDER BY HCPCS, [Mod]"},
            {&main->Data6, "SELECT TAG, HCPCS, [Mod], Description, CODEMOD FROM LAB ORDER BY HCPCS"},
            {&main->Data7, "SELECT Tag, HCPCS, [Mod], Description, Codemod FROM JCD ORDER BY HCPCS"},
            {&main->Data13, "SELECT Tag, CODE, [Desc] FROM [ASC] ORDER BY CODE"},
            {&main->Data9, "SELECT TAG, DRG, [DESC], ARW FROM DRG ORDER BY DRG"}};
        for (auto& [data, sql] : sources) {
            data->setDatabase(db());
            data->setRecordSource(sql);
            data->Refresh();
        }
    }
    // The view shown as the view switch leaves it: its text in the selector, its grid the one visible.
    void enter(const QString& view)
    {
        showView(view);
        const int index = main->cmboCurrentView->currentIndex();
        platform::DBGrid* grids[] = {main->dbg, main->dbg, main->DBGrid1, main->DBGrid2,
                                     main->DBGrid3, main->DBGrid4, main->DBGrid5};
        for (platform::DBGrid* g : grids)
            g->setVisible(g == grids[index]);
    }
    // A program step's write into the code box, without its lookup.
    void quietly(const QString& text)
    {
        const QSignalBlocker block(main->Text1(0));
        main->Text1(0)->setText(text);
    }
    QStringList items()
    {
        QStringList list;
        for (int i = 0; i < main->cmbNewCodes->count(); ++i)
            list << main->cmbNewCodes->itemText(i);
        return list;
    }
    void resetStore()
    {
        g().RecentCodes = {};
        g().LastRecentCode.clear();
        platform::clearList(main->cmbNewCodes);
        main->cmbNewCodes->hide();
        main->cmboCurrentView->setEnabled(true);
        main->Combo1->setEnabled(true);
    }
    dao::Recordset& family(platform::DataControl& data) { return data.Recordset(); }
    QString key(platform::DataControl& data, const char* column)
    {
        return data.Recordset()[column].Value().toString();
    }
};

// ---- The physician view.

TEST_F(CodeBoxTest, PhysicianCodesAsTheyAreTyped)
{
    const struct {
        const char* typed;
        const char* message;  // nullptr: none
        const char* row;      // CODEMOD of the main grid's row afterwards
        const char* box;
        const char* fee;
        QStringList recent;
        bool listsEnabled;
    } cases[] = {
        {"10000", nullptr, "10000", "10000 ", "$7.50", {"10000 "}, true},
        {"12345", nullptr, "12345", "12345 ", "$", {"12345 "}, true},              // a Null fee
        {"09999", nullptr, "0999926", "09999 26", "$", {"09999 26"}, true},        // only with a modifier
        {"99213 ", nullptr, "99213", "99213 ", "$", {"99213 "}, true},
        {"55555", "nf", "10003", "", "", {}, false},                               // missing, empty store
        {"O'NEI", "nf", "10003", "", "", {}, false},                               // an apostrophe
        {"DRG001", nullptr, "DRG001", "DRG001 ", "$", {"DRG001 "}, true},
        {"DRG001 ", nullptr, "DRG001", "DRG001 ", "$", {"DRG001 "}, true},
        // Missing: no message; the list opens and the grid's own code is shown and stored.
        {"DRG002", nullptr, "10003", "10003 ", "$", {"10003 "}, false},
        {"DRG0022", nullptr, "10003", "10003 ", "$", {"10003 "}, false},
        {" ", nullptr, "10003", "", "", {}, true},                                 // the (empty) last good code
        {"1000", nullptr, "10003", "1000", "", {}, true},
        {"100001234", nullptr, "10003", "1", "", {}, true},                        // only the first character
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        rows().setAbsolutePosition(rowOf("10003"));
        resetStore();
        quietly("");
        platform::setText(main->Text1(1), "");
        if (c.message)
            seam.expectMsgBox(kNotFound, vbOKOnly);
        platform::setText(main->Text1(0), c.typed);
        EXPECT_EQ(currentCode(), c.row);
        EXPECT_EQ(main->Text1(0)->text(), c.box);
        EXPECT_EQ(main->Text1(1)->text(), c.fee);
        EXPECT_EQ(items(), c.recent);
        EXPECT_EQ(main->cmboCurrentView->isEnabled(), c.listsEnabled);
        EXPECT_EQ(main->Combo1->isEnabled(), c.listsEnabled);
        EXPECT_EQ(main->cmbNewCodes->isHidden(), c.listsEnabled);
        seam.verifyNothingLeft();
    }
    EXPECT_EQ(main->Text1(0)->cursorPosition(), 1);
}

TEST_F(CodeBoxTest, FoundCodeHidesLocateCodeAndTheMissOffersTheNewestStoredCode)
{
    main->Command3->show();
    platform::setText(main->Text1(0), "12345");
    EXPECT_TRUE(main->Command3->isHidden());
    EXPECT_EQ(main->plimscroll->Value(), rowOf("12345"));

    seam.expectMsgBox(kNotFound, vbOKOnly);
    platform::setText(main->Text1(0), "55555");
    // The list opens on the newest code, which the box looks up at once: the grid goes back to it.
    EXPECT_FALSE(main->cmbNewCodes->isHidden());
    EXPECT_EQ(main->cmbNewCodes->currentText(), "12345 ");
    EXPECT_EQ(main->Text1(0)->text(), "12345 ");
    EXPECT_EQ(currentCode(), "12345");
    EXPECT_EQ(main->ActiveControl(), main->cmbNewCodes);

    // A DR code that is missing says nothing and offers the same.
    platform::setText(main->Text1(0), "DRG009");
    EXPECT_EQ(main->Text1(0)->text(), "12345 ");
    EXPECT_EQ(seam.messages().size(), 1);
}

TEST_F(CodeBoxTest, EmptyListSaysNotFoundOnlyAndABlankCodeEndsTheProgram)
{
    seam.expectMsgBox("There are no tagged codes.", vbOKOnly);
    main->ViewTagRecs();
    ASSERT_EQ(rows().RecordCount(), 0);
    seam.expectMsgBox(kNotFound, vbOKOnly);
    platform::setText(main->Text1(0), "10000");
    EXPECT_TRUE(main->cmbNewCodes->isHidden());
    EXPECT_FALSE(programEnded());
    seam.verifyNothingLeft();

    // A real row without a code: the index is broken, and the program ends at once.
    db::insertRow(db(), "DATA0001", {{"CODEMOD", " "}, {"CPT", " "}, {"calcflag", 1}});
    main->ViewAllRecs();
    rows().MoveFirst();
    ASSERT_EQ(currentCode(), " ");
    seam.expectMsgBox(kNotFound, vbOKOnly);
    seam.expectMsgBox(kIndexing, vbOKOnly);
    platform::setText(main->Text1(0), "55555");
    EXPECT_TRUE(programEnded());
    EXPECT_TRUE(main->cmbNewCodes->isHidden());
}

TEST_F(CodeBoxTest, KelvaOppsLooksNothingUp)
{
    enter("KELVA OPPS");
    rows().setAbsolutePosition(rowOf("10003"));
    platform::setText(main->Text1(0), "55555");
    platform::setText(main->Text1(0), "10000");
    EXPECT_EQ(currentCode(), "10003");
    EXPECT_EQ(main->Text1(0)->text(), "10000");
    EXPECT_TRUE(seam.messages().isEmpty());
}

// ---- The recent-codes store.

TEST_F(CodeBoxTest, StoreKeepsTheNewestTwentyNewestFirst)
{
    for (int i = 0; i < 22; ++i)
        addCode(QString::number(30000 + i));
    main->ViewAllRecs();

    platform::setText(main->Text1(0), "30000");
    quietly("");
    platform::setText(main->Text1(0), "30000");
    EXPECT_EQ(items(), QStringList{"30000 "});  // the same code twice in a row: once
    for (int i = 1; i < 21; ++i)
        platform::setText(main->Text1(0), QString::number(30000 + i));
    QStringList newest;
    for (int i = 20; i >= 1; --i)
        newest << QString::number(30000 + i) + " ";
    EXPECT_EQ(items(), newest);
    EXPECT_FALSE(items().contains(QString()));
    platform::setText(main->Text1(0), "30000");  // stored again after others
    EXPECT_EQ(items().first(), "30000 ");
    EXPECT_EQ(items().size(), 20);

    // The first focus of the main grid empties the list; the store keeps its codes, and the next code brings
    // them back: 21 items once, then 20 again.
    g().GridHadFocus = 0;
    main->dbg_GotFocus();
    EXPECT_TRUE(items().isEmpty());
    platform::setText(main->Text1(0), "10000");
    EXPECT_EQ(items().size(), 21);
    EXPECT_EQ(items().first(), "10000 ");
    platform::setText(main->Text1(0), "12345");
    // As the store has always done: the code shown in the 21st item goes with this move.
    EXPECT_EQ(items().size(), 20);
    EXPECT_EQ(items().first(), "12345 ");
    EXPECT_EQ(items()[1], "30000 ");
}

// ---- The family views.

TEST_F(CodeBoxTest, FamilyCodesAsTheyAreTyped)
{
    struct Case {
        const char* view;
        const char* typed;
        bool message;
        const char* row;       // the family grid's key afterwards
        const char* box;
        const char* lastGood;  // the family's last good code afterwards
    };
    const Case cases[] = {
        {"DMEPOS", "E0105", false, "E0105", "E0105 ", "E0105 "},  // the shown text is looked up too
        {"DMEPOS", "E0100", false, "E0100", "E0100 NU", "E0100"},
        {"DMEPOS", "E010", false, "K0001", "E010", "K0001"},        // too short
        {"DMEPOS", "E0100NU", false, "K0001", "E0100NU", "K0001"},  // too long
        {"DMEPOS", "E9999", true, "K0001", "K0001 ", "K0001 "},     // the last good code back, the grid on it
        {"DMEPOS", "", false, "K0001", "K0001 ", "K0001 "},         // emptied: the last good code
        {"Lab Fees", "82947", false, "82947", "82947 ", "82947"},
        {"Lab Fees", "829470", false, "80048", "829470", "80048"},
        {"Lab Fees", "99999", true, "80048", "80048 ", "80048"},
        {"J Codes", "J0135", false, "J0135", "J0135 ", "J0135"},
        {"J Codes", "", false, "J0120", "", "J0135"},               // emptied: the first row, the box stays empty
        {"J Codes", "J9999", true, "J0135", "J0135 ", "J0135"},
        {"ASC Codes", "0001T", false, "0001T", "0001T", "0001T"},
        {"ASC Codes", "O'NEI", true, "12345", "12345", "12345"},
        {"DRG Codes", "001", false, "1", "001", "001"},
        {"DRG Codes", "1", false, "100", "1", "100"},               // one digit: no search
        {"DRG Codes", "010", false, "10", "010", "010"},
        {"DRG Codes", "0#0", false, "10", "010", "010"},            // a typed wildcard: the first DRG it fits
        {"DRG Codes", "999", true, "100", "100", "100"},
        {"DRG Codes", "", false, "1", "", "100"},
    };
    const std::map<QString, std::tuple<platform::DataControl*, const char*, QString*, QString>> families = {
        {"DMEPOS", {&main->Data5, "HCPCS", &main->strExchangeCodeDMEPOS, "K0001"}},
        {"Lab Fees", {&main->Data6, "HCPCS", &main->strExchangeCodeLab, "80048"}},
        {"J Codes", {&main->Data7, "HCPCS", &main->strExchangeCodeJCodes, "J0135"}},
        {"ASC Codes", {&main->Data13, "CODE", &main->strExchangeCodeASC, "12345"}},
        {"DRG Codes", {&main->Data9, "DRG", &main->strExchangeCodeDRG, "100"}},
    };
    rows().setAbsolutePosition(rowOf("10000"));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.view) + " " + c.typed);
        enter(c.view);
        auto [data, column, lastGood, good] = families.at(c.view);
        // The last good code and the grid on it, as a find leaves them; the box on another text.
        quietly(good);
        *lastGood = good;
        data->Recordset().FindFirst(QString(column) + " = ?", {good});
        quietly("x");
        platform::setText(main->Text1(1), "");
        if (c.message)
            seam.expectMsgBox(kFamilyNotFound, vbOKOnly);
        platform::setText(main->Text1(0), c.typed);
        EXPECT_EQ(key(*data, column), c.row);
        EXPECT_EQ(main->Text1(0)->text(), c.box);
        EXPECT_EQ(*lastGood, c.lastGood);
        // The fee box shows the main grid's fee whenever the family's row was shown.
        const bool searched = QString(c.row) != QString(c.lastGood).trimmed() || c.message ||
                              QString(c.box) != c.typed;
        if (searched && !QString(c.box).isEmpty()) {
            EXPECT_EQ(main->Text1(1)->text(), "$7.50");
        }
        seam.verifyNothingLeft();
    }
}

TEST_F(CodeBoxTest, FamilyFindGivesTheGridTheFocusAndTheFeeBoxRepeatsTheLookup)
{
    enter("Lab Fees");
    rows().setAbsolutePosition(rowOf("10000"));
    platform::setText(main->Text1(0), "82947");
    EXPECT_EQ(main->strExchangeCodeLab, "82947");
    EXPECT_EQ(main->ActiveControl(), main->DBGrid2);
    EXPECT_EQ(main->Text1(1)->text(), "$7.50");
    EXPECT_EQ(main->plimscroll->Value(), 2);
    // In "DMEPOS" any change of the fee box looks the code box up again.
    enter("DMEPOS");
    platform::setText(main->Text1(0), "E0105");
    EXPECT_EQ(main->Text1(0)->text(), "E0105 ");
    main->Data5.Recordset().MoveFirst();
    platform::setText(main->Text1(1), "$1");
    EXPECT_EQ(key(main->Data5, "HCPCS"), "E0105");
}

TEST_F(CodeBoxTest, TaggedFamilyGridFindsTaggedCodesOnly)
{
    enter("DRG Codes");
    main->Data9.setRecordSource("SELECT TAG, DRG, [DESC], ARW FROM DRG WHERE TAG = '+' ORDER BY DRG");
    main->Data9.Refresh();
    platform::setText(main->Text1(0), "003");
    EXPECT_EQ(key(main->Data9, "DRG"), "3");
    seam.expectMsgBox(kFamilyNotFound, vbOKOnly);
    platform::setText(main->Text1(0), "001");
    EXPECT_EQ(key(main->Data9, "DRG"), "3");
    EXPECT_EQ(main->Text1(0)->text(), "003");
}

// What the view switch and the ASC wage-index list rely on: the code they write is found.
TEST_F(CodeBoxTest, CodesWrittenByTheViewsAreFound)
{
    enter("DRG Codes");
    main->Data9.Recordset().MoveLast();
    platform::setText(main->Text1(0), "001");
    EXPECT_EQ(key(main->Data9, "DRG"), "1");

    enter("ASC Codes");
    platform::setText(main->Text1(0), "12345");
    ASSERT_EQ(main->strExchangeCodeASC, "12345");
    main->Data13.Recordset().MoveFirst();
    quietly("x");
    platform::setText(main->Text1(0), main->strExchangeCodeASC);
    EXPECT_EQ(key(main->Data13, "CODE"), "12345");
    EXPECT_TRUE(seam.messages().isEmpty());
}

// The main grid's row handling writes the bare code into the box; a DMEPOS grid on the code's second
// modifier row stays there.
TEST_F(CodeBoxTest, DmeposRowOfACodeStaysCurrentWhenTheMainGridFollows)
{
    enter("DMEPOS");
    main->Data5.Recordset().FindFirst("CODEMOD = ?", {QString("E0100RR")});
    main->Data1.Recordset().FindFirst("CODEMOD = ?", {QString("E0100")});
    EXPECT_EQ(main->Text1(0)->text(), "E0100 RR");
    EXPECT_EQ(key(main->Data5, "CODEMOD"), "E0100RR");
    EXPECT_TRUE(seam.messages().isEmpty());
}

// The hidden main grid moved off the family's code (a re-query, a locate, a physician search) shows its row
// in the boxes, and nothing of it is looked up in the family's table: the user typed nothing.
TEST_F(CodeBoxTest, HiddenMainGridMovingOffTheFamilyCodeIsNotLookedUp)
{
    const struct {
        const char* view;
        platform::DataControl frmMain::*data;
        const char* column;
        const char* code;
        QString frmMain::*lastGood;
    } cases[] = {
        {"DMEPOS", &frmMain::Data5, "HCPCS", "E0105", &frmMain::strExchangeCodeDMEPOS},
        {"Lab Fees", &frmMain::Data6, "HCPCS", "80048", &frmMain::strExchangeCodeLab},
        {"J Codes", &frmMain::Data7, "HCPCS", "J0135", &frmMain::strExchangeCodeJCodes},
        {"ASC Codes", &frmMain::Data13, "CODE", "0001T", &frmMain::strExchangeCodeASC},
        {"DRG Codes", &frmMain::Data9, "DRG", "2", &frmMain::strExchangeCodeDRG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.view);
        enter(c.view);
        rows().setAbsolutePosition(rowOf("10003"));
        platform::DataControl& data = (*main).*c.data;
        data.Recordset().FindFirst(QString(c.column) + " = ?", {QString(c.code)});
        (*main).*c.lastGood = c.code;
        for (auto [codemod, box] : {std::pair{"99213", "99213 "}, {"12345", "12345 "}, {"0999926", "09999 26"}}) {
            rows().setAbsolutePosition(rowOf(codemod));
            EXPECT_EQ(main->Text1(0)->text(), box);
            EXPECT_EQ(key(data, c.column), c.code) << codemod;
        }
        main->RefreshGrid();
        EXPECT_EQ(currentCode(), "0999926");
        EXPECT_EQ(key(data, c.column), c.code);
        EXPECT_EQ((*main).*c.lastGood, c.code);
        EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('|').toStdString();
    }
}

// ---- The recent-codes list.

TEST_F(CodeBoxTest, ListTextsTypedAndChosen)
{
    for (const char* code : {"10000", "12345", "DRG001"})
        platform::setText(main->Text1(0), code);
    const struct {
        const char* text;
        bool typedCloses;   // the text changed
        bool chosenCloses;  // the text chosen as an item
    } cases[] = {
        {"10000", true, true},     {"10000 ", false, true}, {"DRG001", true, false},
        {"DRG001 ", false, true},  {"12345 26", false, false}, {"123456789", false, false},
        {"$12", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        for (bool chosen : {false, true}) {
            main->cmbNewCodes->show();
            main->cmboCurrentView->setEnabled(false);
            quietly("x");
            {
                const QSignalBlocker block(main->cmbNewCodes);
                main->cmbNewCodes->setEditText("");
            }
            if (!chosen && QString(c.text).size() == 9)
                seam.expectMsgBox(kNotFound, vbOKOnly);
            if (chosen) {
                const QSignalBlocker block(main->cmbNewCodes);
                main->cmbNewCodes->setEditText(c.text);
                main->cmbNewCodes_Click();
            } else {
                platform::setComboText(main->cmbNewCodes, c.text);
            }
            const bool closes = chosen ? c.chosenCloses : c.typedCloses;
            EXPECT_EQ(main->cmbNewCodes->isHidden(), closes) << chosen;
            EXPECT_EQ(main->cmboCurrentView->isEnabled(), closes) << chosen;
            if (closes) {
                EXPECT_EQ(main->Text1(0)->text().trimmed(), QString(c.text).trimmed()) << chosen;
            } else {
                EXPECT_EQ(main->Text1(0)->text(), "x") << chosen;
            }
            if (!chosen && (QString(c.text).size() == 9 || QString(c.text).startsWith("$"))) {
                EXPECT_EQ(main->cmbNewCodes->currentText(), "DRG001 ");  // the newest code instead
            }
            if (closes && chosen) {
                EXPECT_EQ(main->ActiveControl(), main->dbg) << chosen;
            }
            seam.verifyNothingLeft();
        }
    }
}

TEST_F(CodeBoxTest, EnterKeepsTheListOpenAndLeavingItClosesIt)
{
    platform::setText(main->Text1(0), "10000");
    platform::setText(main->Text1(0), "12345");
    main->Text1_DblClick(0);
    EXPECT_FALSE(main->cmbNewCodes->isHidden());
    EXPECT_EQ(main->cmbNewCodes->currentText(), "12345 ");
    EXPECT_FALSE(main->cmboCurrentView->isEnabled());
    EXPECT_FALSE(main->Combo1->isEnabled());

    {
        const QSignalBlocker block(main->cmbNewCodes);
        main->cmbNewCodes->setEditText("10000 ");
    }
    int key = 13;
    main->cmbNewCodes_KeyDown(key, 0);
    EXPECT_EQ(currentCode(), "10000");
    EXPECT_FALSE(main->cmbNewCodes->isHidden());

    {
        const QSignalBlocker block(main->cmbNewCodes);
        main->cmbNewCodes->setEditText("99213 26");
    }
    main->cmbNewCodes_LostFocus();
    EXPECT_TRUE(main->cmbNewCodes->isHidden());
    EXPECT_TRUE(main->cmboCurrentView->isEnabled());
    EXPECT_TRUE(main->Combo1->isEnabled());
    EXPECT_EQ(main->Text1(0)->text(), "99213 26");

    // A double click does nothing outside "KELVA".
    enter("DMEPOS");
    main->Text1_DblClick(0);
    EXPECT_TRUE(main->cmbNewCodes->isHidden());
}

TEST_F(CodeBoxTest, ListFocusShowsTheMainGridsCode)
{
    platform::setText(main->Text1(0), "12345");
    rows().setAbsolutePosition(rowOf("10003"));
    main->Command3->hide();
    main->cmbNewCodes->show();
    main->cmbNewCodes_GotFocus();
    EXPECT_EQ(main->cmbNewCodes->currentText(), "10003 ");
    EXPECT_FALSE(main->Command3->isHidden());
    EXPECT_EQ(main->plimscroll->Value(), rowOf("10003"));
}

TEST_F(CodeBoxTest, TypingThroughTheKeyboardLooksUpAndUpperCasesInTheList)
{
    quietly("");
    QTest::keyClicks(main->Text1(0), "1000");
    EXPECT_EQ(currentCode(), "0999926");
    QTest::keyClicks(main->Text1(0), "0");
    EXPECT_EQ(currentCode(), "10000");
    EXPECT_EQ(main->Text1(0)->text(), "10000 ");

    main->cmbNewCodes->show();
    {
        const QSignalBlocker block(main->cmbNewCodes);
        main->cmbNewCodes->setEditText("");
    }
    QTest::keyClicks(main->cmbNewCodes, "drg00");
    EXPECT_EQ(main->cmbNewCodes->currentText(), "DRG00");
    QTest::keyClicks(main->cmbNewCodes, "1");
    EXPECT_TRUE(main->cmbNewCodes->isHidden());
    EXPECT_EQ(currentCode(), "DRG001");
}

// ---- Clicks, focus and Esc.

TEST_F(CodeBoxTest, ClickAndFocusSelectTheCodeAndSwapTheButtons)
{
    quietly("12345 ");
    main->Command4->show();
    main->Command3->hide();
    main->Text1_GotFocus(1);
    EXPECT_EQ(main->Text1(0)->selectedText(), "12345 ");
    EXPECT_TRUE(main->Command3->isHidden());
    main->Text1_GotFocus(0);
    EXPECT_FALSE(main->Command3->isHidden());
    EXPECT_TRUE(main->Command4->isHidden());
    main->Text1(0)->deselect();
    QTest::mouseClick(main->Text1(1), Qt::LeftButton);
    EXPECT_EQ(main->Text1(0)->selectedText(), "12345 ");
}

TEST_F(CodeBoxTest, EscapePutsTheGridsCodeBackAndLooksItUp)
{
    rows().setAbsolutePosition(rowOf("12345"));
    quietly("9999");
    main->Command3->show();
    main->dbg->show();
    int key = 27;
    main->Text1_KeyDown(1, key, 0);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(main->Text1(0)->text(), "12345 ");
    // Found again, "Locate Code" is hidden: the grid has the focus.
    EXPECT_TRUE(main->Command3->isHidden());
    EXPECT_EQ(main->ActiveControl(), main->dbg);

    // In "DMEPOS" the physician code is looked up in the DMEPOS table.
    enter("DMEPOS");
    seam.expectMsgBox(kFamilyNotFound, vbOKOnly);
    key = 27;
    main->Text1_KeyDown(0, key, 0);
}

}  // namespace

namespace {

// ---- Enter, leaving the box, "Locate Code", "Find" and the fee choice.

class CodeBoxEntryTest : public CodeBoxTest {
protected:
    int press(int key, int index = 0)
    {
        int k = key;
        main->Text1_KeyPress(index, k);
        return k;
    }
    // The focus leaves the code box for a control, as the platform raises it.
    void leaveFor(QWidget* to)
    {
        main->Text1(0)->setFocus();
        platform::SetFocus(to);
        settle();  // a focus sent back to the box arrives once the move is over
    }
};

TEST_F(CodeBoxEntryTest, KeysPerView)
{
    const struct {
        const char* view;
        bool capitals;
    } views[] = {{"KELVA", true},      {"KELVA OPPS", false}, {"DMEPOS", true},   {"Lab Fees", true},
                 {"J Codes", true},    {"ASC Codes", true},   {"DRG Codes", false}};
    for (const auto& v : views) {
        SCOPED_TRACE(v.view);
        enter(v.view);
        EXPECT_EQ(press('a'), v.capitals ? 'A' : 'a');
        EXPECT_EQ(press('1'), '1');
    }
    // "KELVA OPPS": Enter neither searches nor says anything.
    enter("KELVA OPPS");
    quietly("55555");
    press(13);
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(CodeBoxEntryTest, EnterConfirmsOrRejectsByTheLastSearch)
{
    // "KELVA": a find confirmed is the last good code, and the grid has the focus.
    platform::setText(main->Text1(0), "12345");
    press(13);
    EXPECT_EQ(main->strExchangeCodeKELVA, "12345 ");
    EXPECT_EQ(main->ActiveControl(), main->dbg);
    EXPECT_EQ(currentCode(), "12345");

    // A miss before any confirmation empties the box; after one, the confirmed code comes back.
    main->strExchangeCodeKELVA.clear();
    main->Data1.Recordset().FindFirst("CODEMOD = ?", {QString("nothing")});
    quietly("5555");
    seam.expectMsgBox(kFamilyNotFound, vbOKOnly);
    press(13);
    EXPECT_EQ(main->Text1(0)->text(), "");
    main->strExchangeCodeKELVA = "10000 ";
    main->Data1.Recordset().FindFirst("CODEMOD = ?", {QString("nothing")});
    seam.expectMsgBox(kFamilyNotFound, vbOKOnly);
    press(26);  // Ctrl+Z
    EXPECT_EQ(currentCode(), "10000");
    EXPECT_EQ(main->Text1(0)->text(), "10000 ");

    // "ASC Codes": after a miss the key handler leaves the focus in the box (a last good code that is looked
    // up again gives its grid the focus, as every find in a family view does).
    enter("ASC Codes");
    main->Text1(0)->setFocus();
    main->Data13.Recordset().FindFirst("CODE = ?", {QString("nothing")});
    quietly("99999");
    seam.expectMsgBox(kFamilyNotFound, vbOKOnly);
    press(13);
    EXPECT_EQ(main->Text1(0)->text(), "");
    EXPECT_EQ(main->ActiveControl(), main->Text1(0));

    // "DRG Codes": Enter searches itself, "001" finds DRG 1; the fee box keeps the main grid's fee.
    enter("DRG Codes");
    rows().setAbsolutePosition(rowOf("10000"));
    quietly("001");
    main->Data9.Recordset().MoveLast();
    press(13);
    EXPECT_EQ(key(main->Data9, "DRG"), "1");
    EXPECT_EQ(main->strExchangeCodeDRG, "001");
    EXPECT_EQ(main->Text1(0)->text(), "001");
    EXPECT_EQ(main->Text1(1)->text(), "$7.50");
    EXPECT_EQ(main->plimscroll->Value(), 0);
}

TEST_F(CodeBoxEntryTest, LeavingTheBoxChecksTheEntryForSevenControls)
{
    QWidget* checking[] = {main->dbg, main->DBGrid1, main->DBGrid2, main->DBGrid3,
                           main->Command2, main->Command3, main->cmboCurrentView};
    for (QWidget* to : checking) {
        SCOPED_TRACE(to->objectName().toStdString());
        enter("KELVA");
        to->show();
        to->setEnabled(true);
        main->cmboCurrentView->setEnabled(true);
        rows().setAbsolutePosition(rowOf("10003"));
        // Code, blank, modifier: searched as code and modifier.
        quietly("99213 26");
        main->Command3->show();
        leaveFor(to);
        EXPECT_EQ(currentCode(), "9921326");
        EXPECT_TRUE(main->Command3->isHidden());
        // A miss: no message, the grid back on its row, the focus back in the box.
        quietly("55555");
        leaveFor(to);
        EXPECT_EQ(currentCode(), "9921326");
        EXPECT_EQ(main->ActiveControl(), main->Text1(0));
    }
    EXPECT_TRUE(seam.messages().isEmpty());

    // "9921325"-like forms: without the blank the same row; a code alone as typed.
    for (auto [typed, row] : {std::pair{"9921326", "9921326"}, {"99213", "99213"}}) {
        quietly(typed);
        leaveFor(main->dbg);
        EXPECT_EQ(currentCode(), row);
    }

    // Any other control abandons the entry: the grid's code comes back.
    rows().setAbsolutePosition(rowOf("12345"));
    quietly("5555");
    leaveFor(main->Combo1);
    EXPECT_EQ(main->Text1(0)->text(), "12345 ");
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(CodeBoxEntryTest, LeavingTheBoxInTheFamilyViews)
{
    // "DMEPOS": the abandoned entry puts the DMEPOS grid's code back; the focus ends on its grid.
    enter("DMEPOS");
    main->LocateDME("E0105");
    ASSERT_EQ(main->strCurCodeDME, "E0105");
    quietly("E01");
    leaveFor(main->Combo1);
    EXPECT_EQ(key(main->Data5, "HCPCS"), "E0105");
    EXPECT_EQ(main->Text1(0)->text(), "E0105 ");
    EXPECT_EQ(main->ActiveControl(), main->DBGrid1);

    // Found by the final check: the main grid follows; a code it lacks clears the detail panel.
    quietly("K0001");
    leaveFor(main->cmboCurrentView);
    EXPECT_EQ(key(main->Data5, "HCPCS"), "K0001");
    EXPECT_EQ(main->txt(0)->text(), "Not Available");
    quietly("E0100");
    leaveFor(main->Command3);
    EXPECT_EQ(currentCode(), "E0100");

    // "DRG Codes": a text that is no number, and a number that is no DRG, give the remembered DRG back.
    enter("DRG Codes");
    main->Data9.Recordset().FindFirst("DRG = ?", {2});
    for (const char* typed : {"abc", "999"}) {
        SCOPED_TRACE(typed);
        quietly(typed);
        seam.expectMsgBox("New DRG not found", vbOKOnly);
        leaveFor(main->cmboCurrentView);
        EXPECT_EQ(key(main->Data9, "DRG"), "2");
        EXPECT_EQ(main->Text1(0)->text(), "002");
        EXPECT_EQ(main->ActiveControl(), main->Text1(0));
    }
    quietly(" 10 ");
    leaveFor(main->cmboCurrentView);
    EXPECT_EQ(key(main->Data9, "DRG"), "10");
}

TEST_F(CodeBoxEntryTest, LocateCodeAndFind)
{
    const QString locateMiss = "The code you have entered in either invalid or not found in this table. Please "
                               "reenter a valid code";
    platform::setText(main->Text1(0), "12345");
    rows().setAbsolutePosition(rowOf("10003"));
    quietly("99213");
    main->cmbNewCodes->show();
    main->Command3_Click();
    EXPECT_EQ(currentCode(), "99213");
    EXPECT_TRUE(main->cmbNewCodes->isHidden());
    EXPECT_EQ(main->Text1(0)->text(), main->cmbNewCodes->currentText());
    EXPECT_TRUE(main->Command3->isHidden());
    EXPECT_FALSE(main->Command4->isHidden());

    // A code with its modifier is no CPT: the message with "in either", the grid back on its row.
    quietly("99213 26");
    seam.expectMsgBox(locateMiss, vbOKOnly);
    main->Command3_Click();
    EXPECT_EQ(currentCode(), "99213");

    platform::SetFocus(main->Command4);  // the click's own focus first
    main->Command4_Click();
    EXPECT_EQ(main->ActiveControl(), main->Text1(0));
    EXPECT_FALSE(main->Command3->isHidden());
    EXPECT_TRUE(main->Command4->isHidden());

    // Family views: DMEPOS and J codes search, ASC and DRG do not.
    enter("J Codes");
    quietly("J0135");
    main->Command3_Click();
    EXPECT_EQ(key(main->Data7, "HCPCS"), "J0135");
    enter("ASC Codes");
    main->Data13.Recordset().MoveFirst();
    quietly("12345");
    main->Command3->show();
    main->Command3_Click();
    EXPECT_EQ(key(main->Data13, "CODE"), "0001T");
    EXPECT_TRUE(main->Command3->isHidden());
    EXPECT_FALSE(main->Command4->isHidden());
}

TEST_F(CodeBoxEntryTest, FeeChoiceStoresTheChosenEntrysColumn)
{
    db().Execute("UPDATE SESSIONS SET S1NAME = 'Mine', S2NAME = 'Mine' WHERE Session = 'Sample'");
    main->Data3.Refresh();
    main->Data3.Recordset().FindFirst("Session = ?", {QString("Sample")});
    main->LoadSessionSettings();
    rows().setAbsolutePosition(rowOf("10000"));
    auto stored = [&] {
        return db().scalar("SELECT PLIMCOL FROM SESSIONS WHERE Session = 'Sample'").toLongLong();
    };

    // A selection by the program stores nothing.
    platform::setListIndex(main->plimlist, 3);
    EXPECT_EQ(stored(), 45);

    main->plimlist_GotFocus();
    const int columns[] = {19, 20, 21, 22, 23, 24, 44, 45, 46, 47, 48};
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        platform::setListIndex(main->plimlist, i);
        EXPECT_EQ(stored(), columns[i]);
    }
    // Two schedules named alike: each keeps its own column and fee.
    platform::setListIndex(main->plimlist, 6);
    EXPECT_EQ(stored(), 44);
    EXPECT_EQ(main->Text1(1)->text(), "$12.50");
    platform::setListIndex(main->plimlist, 7);
    EXPECT_EQ(stored(), 45);
    EXPECT_EQ(main->Text1(1)->text(), "$7.50");
    rows().setAbsolutePosition(rowOf("12345"));
    platform::setListIndex(main->plimlist, 8);
    EXPECT_EQ(main->Text1(1)->text(), "$");  // a Null fee
    main->plimlist_LostFocus();
    EXPECT_EQ(g().PlimListHasFocus, 0);
}

TEST_F(CodeBoxEntryTest, ScrollBarMovedByTheUserMovesTheGrid)
{
    for (int i = 0; i < 10; ++i)
        addCode(QString::number(40000 + i));
    main->ViewAllRecs();
    rows().MoveFirst();
    main->plimscroll->setValue(5);  // by the program: nothing moves
    EXPECT_EQ(rows().AbsolutePosition(), 0);
    main->plimscroll->setSliderPosition(10);
    main->plimscroll->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(rows().AbsolutePosition(), 10);
}

}  // namespace
