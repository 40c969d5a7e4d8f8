#pragma once

#include <QString>
#include <optional>
#include <vector>

// The rules of the main window's layout that need no window: the session's column width and visibility
// lists, the fixed column rules of the fee grid, the spare width of the description columns, and the sizes
// the window's three layout stages give its grids and panels. All sizes are in twips.
namespace gridlayout {

inline constexpr int kGridColumns = 61;  // columns of the main fee query, 0 to 60

// The width list (COLWS): entry k is the width of grid column k. Every entry but the last is read as a
// whole number (half to even, -32768..32767) when the list is split; the last one stays text and is read
// when it is applied. Failures are dao::Error: 13 "Type mismatch", 6 "Overflow", 9 "Subscript out of range"
// (a 62nd entry), 94 "Invalid use of Null".
class WidthTable {
public:
    static WidthTable parse(const QString& list);
    // Entries the list held.
    int count() const { return static_cast<int>(whole_.size()) + (last_ ? 1 : 0); }
    // The width of column col: 0 beyond the end of the list; the last entry is read now (13 when it is
    // no number). A column past 60 fails with 9.
    double width(int col) const;

private:
    std::vector<int> whole_;
    std::optional<QString> last_;
};

// The visibility list (COLVS): one flag per column, "true"/"false" in any case or a number (0 false).
// Every entry is read when the list is split; a column beyond its end is hidden.
class VisibilityTable {
public:
    static VisibilityTable parse(const QString& list);
    int count() const { return static_cast<int>(flags_.size()); }
    bool visible(int col) const;  // 9 past column 60

private:
    std::vector<bool> flags_;
};

// A list entry as a Boolean: 13 "Type mismatch" when it is neither a truth word nor a number.
bool toBoolean(const QString& entry);

// ---- Fixed column rules of the fee grid.

inline constexpr int kStatusColumn = 4;  // always visible
inline constexpr int kDescColumn = 5;    // DESC and LDESC take the grid's spare width
inline constexpr int kLongDescColumn = 6;
inline constexpr int kMinColumnWidth = 500;

// Columns 0 and 2 to 43 are locked; the others keep what the grid has.
bool lockedColumn(int col);
// "###,##0.00;;" on the schedules 44-48, the zero-as-hyphens pattern on the RVUs, totals and amounts 7-24,
// none elsewhere.
QString numberFormat(int col);
// What the "KELVA OPPS" view forces whatever the list says: hidden NFTTOTAL, S1-S5, Freq1-Freq5 and USRDF;
// shown NPART and FPART. Empty for the other columns.
std::optional<bool> oppsVisibility(int col);
// The caption column of the session row for a grid column (S1NAME.. F1NAME.. OPTName), empty when none.
QString sessionCaptionField(int col);

// Width of a description column: the grid's width less 530 less the sum of the other visible columns when
// that leaves room (width less 400 above the sum), else its current width; never below 500.
int descriptionWidth(int gridWidth, double otherColumnsSum, int currentWidth);

// ---- Window geometry.

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The layout's own floor: 5000 wide, 5040 high.
Size layoutMinimum(Size window);
// The resize handler's larger floor: 9600 wide, 5800 high (a size at the floor is set again too).
Size resizeMinimum(Size window);
// The grid rectangle of every view: window width less 480, height less 4900.
Size mainGridSize(Size window);
// The ASC grid is 1250 taller than the main grid.
int ascGridHeight(int mainGridHeight);
// The DRG grid is the window's height less 3425.
int drgGridHeight(int windowHeight);

struct TopPanel {
    int frame1Width = 0;
    int frame4Width = 0;
    bool operator==(const TopPanel&) const = default;
};
// Frame1 and the fee-scale frame Frame4 follow the window above a width of 9900, else 9300 and 5745.
TopPanel topPanel(int windowWidth);

struct NotesBoxes {
    int left = 0;
    int width = 0;
    bool operator==(const NotesBoxes&) const = default;
};
// The long description and notes boxes right of the code detail frame: width = window width less the
// frame's width less 1400 (at least 500), ending 400 short of the window's right edge.
NotesBoxes notesBoxes(int windowWidth, int codeDetailFrameWidth);

// A family grid's spare-width column: the grid's width less the summed widths of the other visible columns
// less the margin, plus what the column itself counted in that sum; never below 500.
int spareColumnWidth(int gridWidth, double visibleColumnsSum, int margin, int ownCountedWidth = 0);

}  // namespace gridlayout
