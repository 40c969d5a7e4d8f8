#include "search/SearchWindow.h"

namespace {
constexpr std::array<const char*, 3> kShortDescOptions = {"Search Code and Short Desc", "Search Code Only",
                                                          "Search Short Descriptions Only"};
}

// The DMEPOS window puts its grid on the code column (HCPCS, 1) or the description column (9) with the
// fields chosen; the others leave their grid's column as it is.
const SearchFamily kSearchFamilies[6] = {
    {"frmSearch", search::Kelva,
     {"Search Code and Descriptions", "Search Code Only", "Search Descriptions Only"}, "lbl_0", true, -1, -1, 5235},
    {"frmSearchDME", search::Dme, kShortDescOptions, "lbl_0", true, 1, 9, 5160},
    {"frmSearchLAB", search::Lab, kShortDescOptions, "lbl_0", true, -1, -1, 5145},
    {"frmSearchJCD", search::Jcd, kShortDescOptions, "Label1", false, -1, -1, 5190},
    {"frmSearchASC", search::Asc, kShortDescOptions, "Label1", false, -1, -1, 5190},
    {"frmSearchDRG", search::Drg, kShortDescOptions, "Label1", false, -1, -1, 5190},
};
