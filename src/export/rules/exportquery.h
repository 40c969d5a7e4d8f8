#pragma once

#include "db/feequery.h"

// The rows the session and predefined-layout exports write: the main fee query's amounts over the current
// session's table, or over DATAOPPSVIEW for the current carrier and locality in the "KELVA OPPS" view, all
// or tagged codes, in CODEMOD order.
namespace exportquery {

// Over the session's table: the session export's form ends NOTUSEDIND, NON_PE_OPPS, FAC_PE_OPPS,
// MAL_PE_OPPS (63 columns); the predefined layouts' form ends NOTUSEDIND (60). Over DATAOPPSVIEW both take
// the main grid's 61 columns.
enum class Form { Session, Predefined };

struct Source {
    db::FeeFactors factors;
    QString sessionTable;       // used without its surrounding blanks
    bool opps = false;          // the main window shows "KELVA OPPS"
    dao::Variant carrier, loc;  // of the parameter row; bound, a Null taken as empty text
    db::FeeList list = db::FeeList::All;
};

db::FeeQuery build(const Source& source, Form form);

// The current session as the main window holds it: its table and factors, the view, carrier and locality.
Source current(bool tagged);

}  // namespace exportquery
