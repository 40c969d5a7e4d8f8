#pragma once

#include "db/feeformulas.h"
#include "platform/dao/Variant.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// The main fee query: every physician code of a session (or of the OPPS table for one carrier and
// locality) with its six Medicare amounts, in 61 columns of a fixed order. The grid layout, the code
// panel, the quick view, the grid editing, the reports and the exports address its columns by position.
namespace db {

namespace feecol {
inline constexpr int Tag = 0;
inline constexpr int CodeMod = 1;
inline constexpr int Cpt = 2;
inline constexpr int Mod = 3;
inline constexpr int Status = 4;
inline constexpr int Desc = 5;
inline constexpr int LDesc = 6;
inline constexpr int WorkZ = 7;
inline constexpr int NftPeRvu = 10;
inline constexpr int FtPeRvu = 13;
inline constexpr int MRvu = 14;
inline constexpr int NftTotal = 16;
inline constexpr int FtTotal = 18;
// The six amounts, in this order.
inline constexpr int NPart = 19;
inline constexpr int NNPart = 20;
inline constexpr int NLC = 21;
inline constexpr int FPart = 22;
inline constexpr int FNPart = 23;
inline constexpr int FLC = 24;
inline constexpr int Global = 25;
inline constexpr int PctcInd = 26;
// User schedules S1..S5 and frequencies Freq1..Freq5 (S1 + i, Freq1 + i).
inline constexpr int S1 = 44;
inline constexpr int S5 = 48;
inline constexpr int Freq1 = 49;
inline constexpr int Freq5 = 53;
inline constexpr int Notes = 55;
inline constexpr int OppsCapInd = 59;
inline constexpr int NotUsedInd = 60;
inline constexpr int Count = 61;
}  // namespace feecol

// The result column names of the 61 positions ("Tag", "CODEMOD", ..., "MOD", ..., "NPART", ...).
const std::array<const char*, feecol::Count>& feeQueryColumns();

// The fee kinds the code panel and the quick view offer: six Medicare amounts with fixed captions, then
// the five user schedules, captioned with the session's names for them.
struct FeeKind {
    int position;         // column of the main fee query
    const char* caption;  // nullptr for a user schedule
};
inline constexpr std::array<FeeKind, 11> kFeeKinds{{
    {feecol::NPart, "Non Facility Participating Fee"},
    {feecol::NNPart, "Non Facility Non Participating Fee"},
    {feecol::NLC, "Non Facility Limiting Fee"},
    {feecol::FPart, "Facility Participating Fee"},
    {feecol::FNPart, "Facility Non Participating Fee"},
    {feecol::FLC, "Facility Limiting Fee"},
    {feecol::S1, nullptr},
    {feecol::S1 + 1, nullptr},
    {feecol::S1 + 2, nullptr},
    {feecol::S1 + 3, nullptr},
    {feecol::S5, nullptr},
}};

// The eleven captions in list order; scheduleNames gives S1..S5 (missing ones are empty).
QStringList feeKindCaptions(const QStringList& scheduleNames);
// The list entry of a column position, -1 when it is none of the eleven.
int feeKindIndex(int position);

enum class FeeList { All, Tagged };

// SQL text with the values of its ? placeholders, ready for a data control's record source.
struct FeeQuery {
    QString sql;
    std::vector<dao::Variant> params;
};

// The 61 select-list items, separated by commas. The OPPS form takes its participating amounts from the
// stored NFTTOTAL and FTTOTAL.
QString feeSelectList(const FeeFactors& f, bool opps);
// The 60 items of a session table without OPPS_CAP_IND (the exports' and the backup's rows).
QString sessionSelectList(const FeeFactors& f);

// All or tagged codes of a session table, in CODEMOD order. The table name is used without its leading
// and trailing blanks.
FeeQuery sessionFeeQuery(const FeeFactors& f, const QString& table, FeeList list);

// The backup's row source: every code of a session table in CODEMOD order, the 61 columns without
// OPPS_CAP_IND (60). The table name is used without its leading and trailing blanks.
FeeQuery backupFeeQuery(const FeeFactors& f, const QString& table);

// All or tagged rows of DATAOPPSVIEW for one carrier and locality, in CODEMOD order. Both are bound
// values; a Null is taken as empty text.
FeeQuery oppsFeeQuery(const FeeFactors& f, const dao::Variant& carrier, const dao::Variant& locality, FeeList list);

}  // namespace db
