#include "SearchFixture.h"

namespace {

using search::Family;

const QString kNotFound = QStringLiteral("Finished searching the records; Item not found");

class FindEngineTest : public SearchFixture {
protected:
    void find(Family f, const QString& text, const QString& mode, const QString& exclusion = {})
    {
        search::FindCode(f, text, mode, exclusion.isEmpty() ? 0 : -1, 0, exclusion);
    }
};

struct EngineCase {
    const char* name;
    Family family;
    const char* text;
    const char* mode;
    const char* exclusion;
    const char* found;  // the code current afterwards; "" for a miss (the grid stays on the first row)
};

// Every case starts on the family's first row with nothing remembered. A miss here ends silently, as a find
// repeated from the table choice does.
const EngineCase kEngineCases[] = {
    {"KneeExcludingArthro", search::Kelva, "knee", "00*00", "arthro", "A0002"},
    {"KneeExcludingArthroLab", search::Lab, "knee", "00*00", "arthro", "A0002"},
    {"KneeExcludingArthroJcd", search::Jcd, "knee", "00*00", "arthro", "A0002"},
    {"KneeExcludingArthroAsc", search::Asc, "knee", "00*00", "arthro", "A0002"},
    {"KneeExcludingArthroDrg", search::Drg, "knee", "00*00", "arthro", "1"},
    {"StarWholeCodeIsLiteral", search::Kelva, "3*4", "01100", "", "3*4"},
    {"StarIsLiteralGoingOn", search::Dme, "3*4", "01110", "", ""},
    {"QuestionMarkIsLiteral", search::Dme, "3?4", "00100", "", ""},
    {"HashIsLiteral", search::Kelva, "#1", "00*00", "", "A0003"},
    {"ApostropheIsPlain", search::Jcd, "O'Brien", "00*00", "", "A0004"},
    {"UnbalancedBracketMatchesItself", search::Kelva, "[KNEE", "00*00", "", ""},
    {"UpperCaseFindsLikeLower", search::Lab, "TOTAL KNEE", "00200", "", "A0002"},
    {"LowerCaseFindsLikeUpper", search::Lab, "total knee", "00200", "", "A0002"},
    {"CodeOnlyIgnoresDescriptions", search::Lab, "knee", "00100", "", ""},
    {"DescriptionsOnlyIgnoresCodes", search::Lab, "A0002", "00200", "", ""},
    {"AscByDescriptionWord", search::Asc, "replacement", "00200", "", "A0002"},
    {"DmeCodeMatchBeatsExclusion", search::Dme, "A000", "00*00", "arthro", "A0001"},
    {"LabSkipsExcludedCodeMatch", search::Lab, "A000", "00*00", "arthro", "A0002"},
    {"DrgThreeDigitText", search::Drg, "001", "00100", "", "1"},
    {"DrgContainsOne", search::Drg, "1", "00100", "", "1"},
    {"DrgWholeThreeDigitText", search::Drg, "001", "01100", "", "1"},
    {"DrgNumberInside", search::Drg, "21", "00*00", "", "21"},
    {"ExclusionKeepsWildcards", search::Dme, "knee", "00200", "ar*o", "A0002"},
    {"OtherModeLengthSearchesDescriptions", search::Dme, "A0002", "", "", ""},
};

class FindEngineCases : public FindEngineTest, public ::testing::WithParamInterface<EngineCase> {};

TEST_P(FindEngineCases, MovesTheFamilyGrid)
{
    const EngineCase& c = GetParam();
    goFirst(c.family);
    const QString first = current(c.family);
    g().SkipOtherTables = -1;
    find(c.family, c.text, c.mode, c.exclusion);
    EXPECT_EQ(current(c.family), QString::fromLatin1(*c.found ? c.found : first.toLatin1().constData()));
    EXPECT_EQ(g().SkipOtherTables, QString::fromLatin1(c.found).isEmpty() ? 0 : -1);
    EXPECT_EQ(g().FindMemory[c.family].LastSearchText, QString::fromUtf8(c.text));
    EXPECT_TRUE(seam.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, FindEngineCases, ::testing::ValuesIn(kEngineCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Each family's named engine runs that family's search and no other's.
TEST_F(FindEngineTest, NamedEnginesSearchTheirOwnFamily)
{
    using Engine = void (*)(const QString&, const QString&, int, int, const QString&);
    const std::pair<Engine, Family> engines[] = {{FindCodeKelva, search::Kelva}, {FindCodeDme, search::Dme},
                                                 {FindCodeLab, search::Lab},     {FindCodeJcd, search::Jcd},
                                                 {FindCodeAsc, search::Asc},     {FindCodeDrg, search::Drg}};
    for (auto [engine, family] : engines) {
        SCOPED_TRACE(int(family));
        goFirst(family);
        engine("knee", "00*00", -1, 0, "arthro");
        EXPECT_EQ(current(family), family == search::Drg ? "1" : "A0002");
        for (int other = 0; other < search::FamilyCount; ++other)
            EXPECT_EQ(g().FindMemory[other].LastSearchText.isEmpty(), other > family) << other;
    }
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(FindEngineTest, ResetMakesTheSameTextStartAtTheFirstRecord)
{
    find(search::Dme, "knee", "00*00");
    EXPECT_EQ(current(search::Dme), "A0001");
    find(search::Dme, "knee", "00*00");  // the remembered text goes on from the current record
    EXPECT_EQ(current(search::Dme), "A0002");
    find(search::Dme, "knee", "-----");
    EXPECT_EQ(current(search::Dme), "A0002");
    EXPECT_TRUE(g().FindMemory[search::Dme].LastSearchText.isEmpty());
    EXPECT_EQ(g().FindMemory[search::Dme].LastSearchOptions, "00*00");
    find(search::Dme, "knee", "00*00");
    EXPECT_EQ(current(search::Dme), "A0001");
}

TEST_F(FindEngineTest, EmptyTextRepeatsTheRememberedOneFromTheCurrentRecord)
{
    find(search::Asc, "knee", "00*00");
    EXPECT_EQ(current(search::Asc), "A0001");
    find(search::Asc, "", "00*10");
    EXPECT_EQ(current(search::Asc), "A0002");
    // A mode of another length takes the remembered one.
    goFirst(search::Asc);
    find(search::Asc, "", "x");
    EXPECT_EQ(current(search::Asc), "A0001");
    EXPECT_EQ(g().FindMemory[search::Asc].LastSearchOptions, "00*10");
}

TEST_F(FindEngineTest, EmptyTextWithNothingRememberedIsAReset)
{
    goTo(search::Lab, "A0003");
    find(search::Lab, "", "00*00");
    EXPECT_EQ(current(search::Lab), "A0003");
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_TRUE(g().FindMemory[search::Lab].LastSearchOptions.isEmpty());
}

TEST_F(FindEngineTest, PreviousAtTheFirstMatchPutsThePositionBackAndSaysSo)
{
    auto& w = load<frmSearch>();  // the engine reads the window's text and "From Top"
    platform::setComboText(w.Combo1, "zebra");
    platform::setOptionValue(w.Option1(1), true);
    find(search::Kelva, "zebra", "00*00");
    ASSERT_EQ(current(search::Kelva), "Z9999");
    seam.expectMsgBox(kNotFound, vbOKOnly);
    find(search::Kelva, "zebra", "00*20");
    EXPECT_EQ(current(search::Kelva), "Z9999");
    EXPECT_EQ(seam.messages(), QStringList{kNotFound});
}

TEST_F(FindEngineTest, PhysicianFromTopStartsEveryFindAtTheFirstRecord)
{
    auto& w = load<frmSearch>();
    platform::setComboText(w.Combo1, "knee");
    find(search::Kelva, "knee", "00*00");
    find(search::Kelva, "knee", "00*10");
    EXPECT_EQ(current(search::Kelva), "A0001");  // "From Top" is selected
    platform::setOptionValue(w.Option1(1), true);
    find(search::Kelva, "knee", "00*10");
    EXPECT_EQ(current(search::Kelva), "A0002");
}

TEST_F(FindEngineTest, EmptyGridPutsNothingBackAndSaysNotFound)
{
    main->Data6.setRecordSource("SELECT TAG, HCPCS, Description, CODEMOD FROM LAB WHERE HCPCS = 'none'");
    main->Data6.Refresh();
    auto& w = load<frmSearchLAB>();
    platform::setComboText(w.Combo1, "nowhere at all");
    seam.expectMsgBox(kNotFound, vbOKOnly);
    find(search::Lab, "nowhere at all", "00*00");
    EXPECT_EQ(current(search::Lab), "");
}

TEST_F(FindEngineTest, RefusedCriterionIsReportedOnceAndTheGridKeepsItsRow)
{
    main->Data6.setRecordSource("SELECT TAG, HCPCS, CODEMOD FROM LAB ORDER BY HCPCS");  // no Description
    main->Data6.Refresh();
    goTo(search::Lab, "A0002");
    seam.answerMsgBox(vbOK);
    find(search::Lab, "knee", "00*00");
    EXPECT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(current(search::Lab), "A0002");
}

}  // namespace
