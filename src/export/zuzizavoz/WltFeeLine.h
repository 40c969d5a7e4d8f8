#pragma once

#include "platform/dao/Variant.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

// The WLT fee file: fixed-width lines of a code, its fee in cents and its professional component's fee in
// cents, each line ended by CR LF.
namespace wlt {

// One row of the session's table as the file reads it, in CODEMOD order.
struct FeeRow {
    dao::Variant cpt, mod, fee;
};

// A fee in cents in seven characters: the amount times 100 in its general form (15 significant digits, not
// rounded: 1.235 gives "  123.5"), right-aligned; 0 gives "    000", Null seven blanks. A wider text is
// written whole.
QString cents(const dao::Variant& fee);

// The line: the code right-aligned in five, a blank, the fee in cents, a blank, the component's fee in cents
// ("    000" when there is none), CR LF.
QByteArray WltFeeLine(const dao::Variant& cpt, const QString& feeCents, const QString& componentCents);

// The lines of the rows in order. A row directly followed by the same code with modifier "26" gives one line
// with the component's fee; that code's further rows give none. Every other row gives a line of its own
// ending "    000". `line` gets each line as it is made.
void writeLines(const std::vector<FeeRow>& rows, const std::function<void(const QByteArray&)>& line);

}  // namespace wlt
