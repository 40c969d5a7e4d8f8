#pragma once

#include <QString>

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
