#include "update/gapmerge.h"

#include "app/globals.h"
#include "db/sessions.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"
#include "platform/seam/Seam.h"
#include "update/updatedb.h"

namespace update {

namespace {

// Held codes: the mark by text addition and the nine gap columns.
const char* const kMarkHeld =
    "UPDATE %1 SET STATUS = STATUS || 'g', WORKZ = GAP.WORKZ, NFTPERVU = GAP.NFTPERVU, FTPERVU = GAP.FTPERVU, "
    "MRVU = GAP.MRVU, NFTTOTAL = GAP.NFTTOTAL, FTTOTAL = GAP.FTTOTAL, GLOBAL = GAP.Global, "
    "F98WORK = GAP.FTPERVU, NF98WORK = GAP.NFTPERVU FROM GAP WHERE %1.CODEMOD = GAP.Codemod";

// Missing codes, in GAP's order; the columns not named take the table's defaults.
const char* const kAddMissing =
    "INSERT INTO %1 (CODEMOD, CPT, MOD, STATUS, WORKZ, NFTPERVU, FTPERVU, MRVU, NFTTOTAL, FTTOTAL, GLOBAL, "
    "\"DESC\", LDESC, F98WORK, NF98WORK, calcflag, CWORK) "
    "SELECT Codemod, CPT, Mod, 'g', WORKZ, NFTPERVU, FTPERVU, MRVU, NFTTOTAL, FTTOTAL, Global, \"Desc\", LDesc, "
    "FTPERVU, NFTPERVU, 1, 0 FROM GAP WHERE NOT EXISTS (SELECT 1 FROM %1 WHERE %1.CODEMOD = GAP.Codemod) "
    "ORDER BY GAP.rowid";

}  // namespace

void mergeGapCodes(dao::Database& db, const QDate& gapDate)
{
    dao::Transaction trans(db);
    QStringList tables;
    dao::Recordset sessions = db.OpenRecordset(QStringLiteral("SELECT * FROM SESSIONS ORDER BY rowid"));
    for (; !sessions.EOF(); sessions.MoveNext())
        tables << db::SessionRow(sessions).get(db::SessionRow::SESTAB);
    sessions.Close();
    for (const QString& table : tables) {
        const QString t = dao::quoteIdentifier(db.tableDef(table).name);
        db.Execute(QString::fromLatin1(kMarkHeld).arg(t));
        db.Execute(QString::fromLatin1(kAddMissing).arg(t));
    }
    db.Execute(QStringLiteral("UPDATE PARMS_CL SET gapdate = ?"), {dao::Variant(gapDate)});
    trans.Commit();
}

bool MergeGapData()
{
    seam().SetMousePointer(vbHourglass);
    try {
        mergeGapCodes(g().MainDb, seam().Now().date());
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        seam().MsgBox(QStringLiteral("An error has occurred in updating with Gap information "), vbOKOnly);
        seam().SetMousePointer(vbDefault);
        return false;
    }
    seam().MsgBox(QStringLiteral("Gap Update complete.  The application will need to be restarted."), vbOKOnly);
    seam().SetMousePointer(vbDefault);
    return true;
}

}  // namespace update
