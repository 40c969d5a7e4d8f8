#pragma once

#include <QString>
#include <vector>

#include "platform/dao/Variant.h"

class frmMain;
namespace platform {
class DataControl;
class DBGrid;
}  // namespace platform

// The find engines of the six code families: each moves its family's grid in the main window to the next
// record whose code or description matches a text, and remembers its last search for the whole run.
namespace search {

// The families in the order of the table choice's options.
enum Family { Kelva, Dme, Lab, Jcd, Asc, Drg, FamilyCount };

struct FindFamily {
    const char* code;    // "KELVA", "DME", ...: the family's name in FoundInTables
    const char* window;  // its Find a Code window
    platform::DataControl frmMain::*data;
    platform::DBGrid* frmMain::*grid;
    int view;            // its item of frmMain.cmboCurrentView
    // Criteria by fields searched (code and descriptions, code only, descriptions only); %L stands for each
    // comparison with the text, bound as a Like pattern.
    const char* both;
    const char* codeOnly;
    const char* descOnly;
    const char* exclusion;  // appended with the exclusion text bound as a Like pattern
    bool fromTop;           // the window's "From Top" starts every find at the first record
};

extern const FindFamily kFindFamilies[FamilyCount];

// The text as a Like pattern that matches itself: "*", "?", "#" and "[" each in brackets.
QString literalPattern(const QString& text);

// A family's criterion for the fields letter of a mode ("*", "1", anything else) with its bound values:
// each comparison gets pattern, the exclusion (when not empty) "*" + exclusion + "*" with its wildcards kept.
struct Criterion {
    QString text;
    std::vector<dao::Variant> params;
};
Criterion findCriterion(const FindFamily& family, QChar fields, const QString& pattern, const QString& exclusion = {});

// The engine of a family: SearchText (empty repeats the last one), SearchMode (five characters; "-----"
// resets), ExcludeOn and ExcludeBlank (-1 or 0) and ExcludeText.
void FindCode(Family family, const QString& SearchText, const QString& SearchMode, int ExcludeOn, int ExcludeBlank,
              const QString& ExcludeText);
// The same on a given main window (the program's is the one in the window registry).
void FindCode(frmMain& main, Family family, const QString& SearchText, const QString& SearchMode, int ExcludeOn,
              int ExcludeBlank, const QString& ExcludeText);
// Resets a family's engine: it forgets its last search text.
void ResetFindCode(Family family);

// The Find a Code window of a view of frmMain.cmboCurrentView (both physician views share frmSearch).
const char* findWindowOfView(int view);

// A family's engine under a name of its own (FindCodeKelva .. FindCodeDrg below).
template <Family F>
void FindCodeOf(const QString& SearchText, const QString& SearchMode, int ExcludeOn, int ExcludeBlank,
                const QString& ExcludeText)
{
    FindCode(F, SearchText, SearchMode, ExcludeOn, ExcludeBlank, ExcludeText);
}

}  // namespace search

inline constexpr auto& FindCodeKelva = search::FindCodeOf<search::Kelva>;
inline constexpr auto& FindCodeDme = search::FindCodeOf<search::Dme>;
inline constexpr auto& FindCodeLab = search::FindCodeOf<search::Lab>;
inline constexpr auto& FindCodeJcd = search::FindCodeOf<search::Jcd>;
inline constexpr auto& FindCodeAsc = search::FindCodeOf<search::Asc>;
inline constexpr auto& FindCodeDrg = search::FindCodeOf<search::Drg>;
