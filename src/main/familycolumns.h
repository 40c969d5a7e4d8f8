#pragma once

#include <span>

namespace platform {
class DBGrid;
}

// A fixed column of a family grid: its caption, field and width in twips, and whether it shows an amount.
struct FamilyColumn {
    const char* caption;
    const char* field;
    int width;
    bool amount;
};

// Gives grid these columns in order; amounts show as "###,##0.00;;". The grid adds and deletes no rows.
void setFamilyColumns(platform::DBGrid* grid, std::span<const FamilyColumn> columns);
