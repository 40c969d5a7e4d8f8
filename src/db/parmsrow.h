#pragma once

#include "db/rowfield.h"

// The parameter row: the one row of PARMS_CL, the program-wide settings and state. The main window keeps it
// live in its data control Data2; every window reads and writes it there:
//     db::ParmsRow parms(main.Data2.Recordset());
//     if (parms.get(db::ParmsRow::SHOW_DISC)) ...
//     parms.store(db::ParmsRow::EXPMSG, 2);
namespace db {

class ParmsRow : public LiveRow {
public:
    using LiveRow::LiveRow;

    // 0 until the first session exists (0 also resets the default column layout at start-up), then 1.
    static inline const Field<qint64> CreateTables = longField("CreateTables", NullRule::Fails, 0);
    // Number of the next session table.
    static inline const Field<qint64> SESCOUNT = longField("SESCOUNT", NullRule::Fails, 1);
    // Name of the current session; Null until the first run names one.
    static inline const Field<QString> CURSES = textField("CURSES", 50, NullRule::Empty);
    // 2: the data-age reminder is not shown again; Null shows nothing (readers ask isNull first).
    static inline const Field<qint64> EXPMSG = longField("EXPMSG", NullRule::Fails, 0);
    // Date and time of the installed data.
    static inline const Field<QDateTime> dataupdate =
        dateField("dataupdate", NullRule::Fails, dao::Variant::dateFromText(QStringLiteral("2014-01-01")));
    // Conversion factor of the installed data.
    static inline const Field<double> CURCONVF = doubleField("CURCONVF", NullRule::Fails, 35.8228);
    // Date of the last gap merge; Null until then.
    static inline const Field<QDateTime> gapdate = dateField("gapdate", NullRule::Empty);
    // "(Default)" or a folder ending with "/", as chosen or typed.
    static inline const Field<QString> exportpath = textField("exportpath", 255, NullRule::Shipped, "(Default)");
    // Running export number; above 2000 it restarts at 1000.
    static inline const Field<qint64> ExportCnt = longField("ExportCnt", NullRule::Shipped, 1000);
    // Medicare carrier and locality code of the current locality; Null when none is known.
    static inline const Field<QString> CARRIER = textField("CARRIER", 5, NullRule::Empty);
    static inline const Field<QString> Loc = textField("Loc", 2, NullRule::Empty);
    // State columns of DME, LAB and JCD shown by the family views; a Null one gets its default stored.
    static inline const Field<QString> DMESTATE = textField("DMESTATE", 3, NullRule::Filled, "AL");
    static inline const Field<QString> LABSTATE = textField("LABSTATE", 3, NullRule::Filled, "AL");
    static inline const Field<QString> JCDSTATE = textField("JCDSTATE", 3, NullRule::Filled, "CA");
    // DRG base rate, as the DRG view stores its box's text.
    static inline const Field<double> DRGCURBASE = doubleField("DRGCURBASE", NullRule::Fails, 5370);
    // Position of the chosen entry in the sorted wage-index list, and the user-defined wage index as typed.
    static inline const Field<qint64> ASCCURMSA = longField("ASCCURMSA", NullRule::Shipped, 0);
    static inline const Field<QString> ASCuserdef = textField("ASCuserdef", 20, NullRule::Empty);
    // Text and background colours (signed 32-bit colour values); Null shows the shipped colours.
    static inline const Field<qint64> GCOLOR = longField("GCOLOR", NullRule::Shipped, qint64(-2147483630));
    static inline const Field<qint64> bcolor = longField("bcolor", NullRule::Shipped, qint64(16777215));
    // The agreement window shows at start-up; Null counts as off.
    static inline const Field<bool> SHOW_DISC = yesNoField("SHOW_DISC", NullRule::Empty, true);
    // The last custom report's choices.
    static inline const Field<QString> Last_Print = memoField("Last_Print", NullRule::Empty);
    // Report print settings.
    static inline const Field<QString> DEFPRT = textField("DEFPRT", 50, NullRule::Shipped, "Courier");
    static inline const Field<qint64> PCOLS = longField("PCOLS", NullRule::Shipped, 90);
    static inline const Field<qint64> PLENGTH = longField("PLENGTH", NullRule::Shipped, 52);
    static inline const Field<double> PFSIZE = doubleField("PFSIZE", NullRule::Shipped, 10.0);
    // Names of the five schedule columns of the national and lookup tables, S1..S5 by index 0..4.
    static const Field<QString>& scheduleColumn(int index);

    // Every column of the row, in the table's order.
    static const std::vector<const RowColumn*>& columns();
};

}  // namespace db
