#pragma once

#include "platform/dao/Database.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The Medicare localities (LOCATION) and ZIP codes (ZPLC) as both locality windows read them: the state
// list, the localities of a state or of a ZIP code, and the text a locality is shown and stored by.
namespace locality {

// The state list's entry for the national row of LOCATION.
inline const QString kNationalEntry = QStringLiteral(" National Values");
inline const QString kNationalValues = QStringLiteral("NATIONAL VALUES");

// Every STATE of LOCATION, the national row as " National Values", sorted as the list shows them
// (without regard to case, so the national entry comes first).
QStringList stateList(dao::Database& db);

// A record source: SQL text and its bound values.
struct Source {
    QString sql;
    std::vector<dao::Variant> params;
};
// The whole table, as the first-run window lists it before any choice.
Source allLocalities();
// The localities of a state list entry (" National Values": the national row).
Source stateLocalities(const QString& entry);
// The localities of a ZIP code's carrier and locality code.
Source zipLocalities(const QString& carrier, const QString& locCode);

// A row of ZPLC.
struct ZipRow {
    QString zip;
    QString carrier;
    QString locality;     // LOCATION.LOCCODE
    dao::Variant ruralInd;  // `rural ind`: Null or empty when the ZIP code has none
};
// The ZIP code's row, looked up as typed (a bound value); none when ZPLC does not hold it.
std::optional<ZipRow> findZip(dao::Database& db, const QString& zip);
// Version of the ZIP table (its first row's): "20144" is the fourth quarter of 2014.
QString zipVersion(dao::Database& db);
// "1st Qtr 2014" .. "4th Qtr 2014" for a version ending in 1..4; empty for any other.
QString quarterText(const QString& version);

// The text of a locality: "ALABAMA - STATEWIDE", or "NATIONAL VALUES" alone for the national row
// (ST "**" or DESC "NATIONAL VALUES").
QString localityText(const QString& state, const QString& st, const QString& desc);

}  // namespace locality
