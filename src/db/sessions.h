#pragma once

#include "db/rowfield.h"
#include "platform/dao/Database.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

// Sessions: the SESSIONS rows and the session code tables DATAnnnn. Every window that creates a session
// (first run, new session, restore) builds its table and row here, and every reader takes a session's
// table name from its SESTAB, never from its number.
namespace db {

// The row that holds the defaults for new sessions and owns the model table.
inline const QString kDefaultSession = QStringLiteral("Default");
// Every session table has the columns of this table, in its order.
inline const QString kModelTable = QStringLiteral("DATA0000");
inline const QString kSessionIndex = QStringLiteral("CODEMODIndexx");
inline constexpr int kSessionNameMaxLength = 50;

// One row of SESSIONS: the current record of a recordset over the table. The main window keeps the current
// session's row live in its data control Data3; every window reads and writes it there:
//     db::SessionRow session(main.Data3.Recordset());
//     const double cf = session.get(db::SessionRow::CURCONVF);
class SessionRow : public LiveRow {
public:
    using LiveRow::LiveRow;

    // Session name, 1-50 characters; "Default" holds the defaults for new sessions.
    static inline const Field<QString> Session = textField("Session", 50, NullRule::Fails);
    // The session's code table.
    static inline const Field<QString> SESTAB = textField("SESTAB", 20, NullRule::Fails, "DATA0000");
    // Base conversion factor and its adjustment, a fraction (0.05 = 5 %); a Null adjustment is none.
    static inline const Field<double> CURCONVF = doubleField("CURCONVF", NullRule::Fails, 35.8228);
    static inline const Field<double> CURCONVA = doubleField("CURCONVA", NullRule::Shipped, 0.0);
    // Work-adjuster switch; Null is no value (the start-up's warning leaves it alone).
    static inline const Field<bool> CURUSEADJ = yesNoField("CURUSEADJ", NullRule::Fails, true);
    // GPCIs of the session's locality.
    static inline const Field<double> CURWORKGPCI = doubleField("CURWORKGPCI", NullRule::Fails, 1.0);
    static inline const Field<double> CURPRACGPCI = doubleField("CURPRACGPCI", NullRule::Fails, 1.0);
    static inline const Field<double> CURMALPGPCI = doubleField("CURMALPGPCI", NullRule::Fails, 1.0);
    // Grid widths in twips and visibility, comma-separated, entry k for grid column k.
    static inline const Field<QString> COLWS = memoField("COLWS", NullRule::Fails);
    static inline const Field<QString> COLVS = memoField("COLVS", NullRule::Fails);
    // Query position of the fee the code panel and the quick view show.
    static inline const Field<qint64> PLIMCOL = longField("PLIMCOL", NullRule::Shipped, 19);
    // ZIP code through which the locality was found, and its rural indicator.
    static inline const Field<QString> selectzip = textField("selectzip", 5, NullRule::Empty);
    static inline const Field<QString> rualind = textField("rualind", 1, NullRule::Empty);
    // Locality text: "<state> - <locality>" or "NATIONAL VALUES".
    static inline const Field<QString> GEOLOC = textField("GEOLOC", 100, NullRule::Empty, "NATIONAL VALUES");
    // Caption of the user field USRDF.
    static inline const Field<QString> OPTName = textField("OPTName", 25, NullRule::Shipped, "OPT");
    // "Use 2 Decimal Places".
    static inline const Field<bool> GDEC = yesNoField("GDEC", NullRule::Shipped, false);
    // Captions of the user schedules S1..S5 (index 0..4); Null keeps the grid's own caption.
    static const Field<QString>& scheduleName(int index);
    // Captions of Freq1..Freq5 (index 0..4); Null shows the default caption.
    static const Field<QString>& frequencyName(int index);

    // Every column of the table, in its order (the older per-column flags and widths included).
    static const std::vector<const RowColumn*>& columns();
    // The column of that name (without regard to case); 3265 "Item not found in this collection." when none.
    static const RowColumn& column(const QString& name);
};

// The row of the session called name (compared as the table compares it, without regard to case).
std::optional<SessionRow> readSession(dao::Database& db, const QString& name);
bool sessionExists(dao::Database& db, const QString& name);
// Every session name in stored order, "Default" included.
QStringList sessionNames(dao::Database& db);
// The code table of a session: its SESTAB. 3021 "No current record." when there is no such session.
QString sessionTable(dao::Database& db, const QString& name);

// "DATA" followed by the number formatted "0000": 1 gives DATA0001, 10000 gives DATA10000.
QString sessionTableName(qint64 sesCount);

// The SESSIONS columns a new session's row copies from its source row, in order. The rest (OPTName, GDEC,
// selectzip, rualind, CV44, CV45) take the table's defaults unless the creator sets them.
QStringList sessionCopyColumns();

// ---- Session names

// Blank as the windows define it: the name sorts, by character codes, at or before a single blank (the
// empty name, one blank, or a name beginning with a control character). Two blanks are not blank.
bool isBlankSessionName(const QString& name);

enum class SessionNameCheck { Ok, HasQuote, Blank, InUse };
// The checks for a new session's name, in their order: a double quotation mark, blank, and a name equal,
// without regard to case, to "Default" or another session.
SessionNameCheck checkNewSessionName(dao::Database& db, const QString& name);
// The message each refusal shows (empty for Ok).
QString sessionNameMessage(SessionNameCheck check);

// ---- Creating a session

// Creates table `name` with the columns of DATA0000 (name, kind and size, nothing else; text columns take
// the zero-length text), the unique index `indexName` on CODEMOD, and copies every row of `rowsFrom` into it
// (no rows when rowsFrom is empty).
void createSessionCodeTable(dao::Database& db, const QString& name, const QString& rowsFrom,
                            const QString& indexName = kSessionIndex);

using SessionValues = std::vector<std::pair<QString, dao::Variant>>;

struct NewSession {
    QString name;                      // the new session's name
    QString source = kDefaultSession;  // whose row and code rows are copied
    qint64 number = 0;                 // SESCOUNT: the table is sessionTableName(number)
    SessionValues values;              // columns of the new row set instead of copied (bound values)
    // Copies every column of the source row but Session and SESTAB (a session made by the user from
    // another); otherwise sessionCopyColumns() only, as the first run makes its session.
    bool copyEveryColumn = false;
};

// Creates a session in one transaction (a savepoint inside the caller's): its code table with the rows of
// the source session's table, and its SESSIONS row copied from the source row with the name, the table and
// `values`. Returns the table name. Nothing is left behind on failure: 3021 when the source session does not
// exist, the database's own error when the table or the row cannot be made (a taken name or table).
// SESCOUNT is the caller's: it keeps it on the live parameter row.
QString createSession(dao::Database& db, const NewSession& session);

// ---- Sessions the user makes, renames and deletes

// The list entry that stands for "make a session": no session may take its name.
inline const QString kMakeNewSessionEntry = QStringLiteral("< - Make New Session - >");
inline constexpr int kRenameMaxLength = 45;

// A session made from another ("Default" or a user session) with every column of its row, in one
// transaction together with PARMS_CL.SESCOUNT + 1. The table takes the number SESCOUNT; a table of that
// number left over without a session row is passed over for the next free number. Returns the new table's
// name, or an empty text when the source session does not exist (nothing made). The database's own error
// when it fails; nothing is left behind then.
QString createUserSession(dao::Database& db, const QString& name, const QString& source);

// The check of a rename, in its order: a double quotation mark, and a name equal without regard to case to
// "Default", to the list entry for new sessions or to another session than `oldName`. (A blank name is the
// window's own check.)
SessionNameCheck checkRenameSessionName(dao::Database& db, const QString& oldName, const QString& newName);
// Gives a session a new name; it keeps its table and settings. False when there is no such session.
bool renameSession(dao::Database& db, const QString& oldName, const QString& newName);
// Deletes a session: drops its table and deletes its row in one transaction. Nothing happens (false) for a
// name that no session has, for "Default" and for a row whose SESTAB names no table other than DATA0000.
bool deleteSession(dao::Database& db, const QString& name);

}  // namespace db
