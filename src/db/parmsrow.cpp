#include "db/parmsrow.h"

#include <array>

namespace db {

const Field<QString>& ParmsRow::scheduleColumn(int index)
{
    static const std::array<Field<QString>, 5> columns = {
        textField("S1", 25, NullRule::Shipped, "S1"), textField("S2", 25, NullRule::Shipped, "S2"),
        textField("S3", 25, NullRule::Shipped, "S3"), textField("S4", 25, NullRule::Shipped, "S4"),
        textField("S5", 25, NullRule::Shipped, "S5")};
    return columns.at(static_cast<std::size_t>(index));
}

const std::vector<const RowColumn*>& ParmsRow::columns()
{
    static const std::vector<const RowColumn*> all = [] {
        std::vector<const RowColumn*> c = {
            &CreateTables, &SESCOUNT, &CURSES,     &EXPMSG,    &dataupdate, &CURCONVF,   &gapdate,
            &exportpath,   &ExportCnt, &CARRIER,   &Loc,       &DMESTATE,   &LABSTATE,   &JCDSTATE,
            &DRGCURBASE,   &ASCCURMSA, &ASCuserdef, &GCOLOR,   &bcolor,     &SHOW_DISC,  &Last_Print,
            &DEFPRT,       &PCOLS,     &PLENGTH,   &PFSIZE};
        for (int i = 0; i < 5; ++i)
            c.push_back(&scheduleColumn(i));
        return c;
    }();
    return all;
}

}  // namespace db
