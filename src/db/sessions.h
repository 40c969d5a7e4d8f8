#pragma once

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

// One row of SESSIONS, as far as the windows read it.
struct SessionRow {
    QString Session;
    QString SESTAB;
    double CURCONVF = 0;
    double CURCONVA = 0;
    bool CURUSEADJ = false;
    double CURWORKGPCI = 0;
    double CURPRACGPCI = 0;
    double CURMALPGPCI = 0;
    QString GEOLOC;
    QString selectzip;
    QString rualind;
    int PLIMCOL = 19;
    QString COLWS;
    QString COLVS;
    QStringList SNAME;  // S1NAME..S5NAME
    QStringList FNAME;  // F1NAME..F5NAME
    QString OPTName;
    bool GDEC = false;

    // The current record of a recordset over SESSIONS (Null reads as 0 or the empty text).
    static SessionRow fromRecord(dao::Recordset& rs);
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
};

// Creates a session in one transaction (a savepoint inside the caller's): its code table with the rows of
// the source session's table, and its SESSIONS row copied from the source row with the name, the table and
// `values`. Returns the table name. Nothing is left behind on failure: 3021 when the source session does not
// exist, the database's own error when the table or the row cannot be made (a taken name or table).
// SESCOUNT is the caller's: it keeps it on the live parameter row.
QString createSession(dao::Database& db, const NewSession& session);

}  // namespace db
