#pragma once

#include "Database.h"

#include <QString>

// Field properties of a table definition beyond name, kind and size.
namespace dao {

// AllowZeroLength of a text or memo field. Every text field of a file the program makes takes the
// zero-length text (no column rule refuses it), so the property reads true. 3265 "Item not found in this
// collection." for a missing table or field; 3270 "Property not found." for a field of another kind.
bool AllowZeroLength(const Database& db, const QString& table, const QString& field);
// Sets it: true is what a text field already does, so nothing changes in the file; false is refused
// (3251 "Operation is not supported for this type of object."), since no field of ours holds that rule.
void setAllowZeroLength(Database& db, const QString& table, const QString& field, bool allow);

}  // namespace dao
