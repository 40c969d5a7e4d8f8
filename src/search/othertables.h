#pragma once

#include "platform/dao/Database.h"
#include "search/findengine.h"

#include <QString>
#include <vector>

// The search in the other code tables after a find that reached the end of its own.

// The families other than current whose tables hold text in the fields of the letter ("*" code and
// descriptions, "1" code only, "2" descriptions only), in the order KELVA, DME, DRG, JCD, LAB, ASC, as
// " KELVA, DME, ...". Empty when none does.
QString FindInOtherTables(const QString& text, const QString& field, const QString& current);

// Loads frmCodeTable and disables every choice whose family is not in FoundInTables.
void EnableFoundTables();

// The "Select Table" dialog offered by a find of the family whose choice is own (disabled there), shown
// modally; returns once it has closed by either of its buttons.
void ChooseOtherTable(int own);

namespace search {
// One family's existence query: true when it returns a row. error holds why it could not be built.
struct ExistenceQuery {
    Family family;
    QString sql;
    std::vector<dao::Variant> params;
    QString error;
};
// The queries FindInOtherTables runs, in its order, the current family left out.
std::vector<ExistenceQuery> otherTableQueries(dao::Database& db, const QString& text, const QString& field,
                                              const QString& current);
}  // namespace search
