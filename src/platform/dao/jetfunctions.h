#pragma once

#include "Variant.h"

#include <QString>

struct sqlite3;

namespace jet {

// Registers the old engine's functions on a connection (OpenDatabase does it on every one):
//   clng, cint, cdbl, cstr, round (half to even, replacing SQLite's), int, fix, iif, format(value, pattern),
//   val, nz, isnull, ucase, lcase, left, right (these three are registered as jisnull, jleft and jright:
//   the words belong to SQLite's grammar, so statement text run through the layer has them renamed), mid, len, instr, trim, ltrim, rtrim, str, space,
//   jcat(a, b, ...) for Jet's & (Null counts as ""), like with Jet's wildcards (*, ?, #, [a-c], [!a])
//   without regard to case, and the aggregate first.
// The SQL functions and the C++ functions below are the same code.
void registerJetFunctions(sqlite3* db);

// Scales x by 10^n in double arithmetic and rounds that double as it is to the nearest whole number, a half
// to even, then divides by 10^n: round(2.675, 2) = 2.68 (2.675 * 100 is exactly 267.5 as a double),
// round(0.125, 2) = 0.12, round(1.005, 2) = 1 (1.005 * 100 is 100.49999999999999). So a round to cents
// gives back the same cents as clng(100 * x).
double round(double x, int n = 0);
// Nearest whole number of the double itself, a half to even.
qint64 clng(double x);
// The platform's Format with a number pattern of up to three sections (positive;negative;zero): digit
// placeholders 0 and #, '.', ',' as thousands separator, '%', \x and "text" literals. The value's
// 15-significant-digit decimal form is rounded half away from zero. Null formats as "", a text that is no
// number as itself; a pattern without a digit placeholder is written as literal text.
QString format(const dao::Variant& v, const QString& pattern);
// Jet's LIKE: * any run, ? one character, # one digit, [a-c] / [!a] a class; letter case is ignored.
bool like(const QString& text, const QString& pattern);
// The platform's Val: the leading number of a text, 0 when there is none.
double val(const QString& text);

}  // namespace jet
