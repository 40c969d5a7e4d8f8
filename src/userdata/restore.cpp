#include "userdata/restore.h"

#include "app/endprogram.h"
#include "app/globals.h"
#include "db/sessions.h"
#include "export/ExprtInd.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/Transaction.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/InputBlock.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"
#include "userdata/backupset.h"
#include "userdata/frmBackup.h"

#include <QDir>
#include <array>

namespace restore {

namespace {

using db::SessionRow;

// The user columns of Data0000Bkp that a restored code takes, in the order of the update's items.
constexpr std::array<const char*, 11> kUserColumns = {"Tag",   "S1",    "S2",    "S3",    "S4",   "S5",
                                                      "Freq1", "Freq2", "Freq3", "Freq4", "Freq5"};
constexpr const char* kUserField = "USRDF";

int fieldIndex(dao::Recordset& rs, const QString& name)
{
    for (int i = 0; i < rs.FieldCount(); ++i)
        if (rs.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw dao::Error(dao::errItemNotFound, QStringLiteral("Item not found in this collection."));
}

// A text of the backed-up settings row as the row's statement wrote it: Null is the empty text.
dao::Variant backedUpText(dao::Recordset& row, const char* column)
{
    const dao::Variant v = row[column].Value();
    return v.isNull() ? dao::Variant(QString()) : dao::Variant(v.toString());
}

void releaseData(platform::DataControl& data)
{
    if (data.hasRecordset())
        data.Recordset().Close();
    data.setDatabaseName(QString());
    data.setRecordSource(QString());
}

// One run of the restore over the open backup set.
class SessionRestore {
public:
    SessionRestore(frmBackup& window, platform::StepGuard& step, const QString& backupFolder)
        : w(window), step(step), folder(backupFolder), db(g().MainDb)
    {
    }

    void run()
    {
        dao::Database all = dao::OpenDatabase(folder.filePath(backupset::kAllSessionsFile));
        dao::Recordset sessions = all.OpenRecordset(QStringLiteral("SELECT  * FROM ") + backupset::kAllSessionsTable);
        for (; !sessions.EOF(); sessions.MoveNext()) {
            const QString sestab = sessions["SESTAB"].Value().toString();
            // "Default" owns the model table; compared with case, as the backup compares it.
            if (sestab != db::kModelTable)
                restoreSession(sessions["Session"].Value(), sestab);
            if (ExprtInd* progress = platform::forms().loadedOrNull<ExprtInd>())
                progress->setPrg1Value(progress->prg1Max());
        }
        sessions.Close();
        all.Close();
        takeFirstSessionsPlace();
    }

private:
    void restoreSession(const dao::Variant& name, const QString& sestab)
    {
        const QString table = sestab + QLatin1Char('1');
        step(kStageTables);
        db.tableDef(db::kModelTable);  // the model's fields

        step(kStagePrevious);
        if (db.hasTable(table))
            throw dao::Error(3010, QStringLiteral("Table '%1' already exists.").arg(table));
        db::createSessionCodeTable(db, table, db::kModelTable, kRestoredIndex);
        platform::DataControl& data = w.Data(1);
        data.setConnect(backupset::kConnect);
        data.setDatabaseName(folder.filePath(backupset::sessionFileName(sestab)));
        data.setRecordSource(backupset::kCodeTable);
        data.Refresh();

        ExprtInd& progress = platform::forms().get<ExprtInd>();
        progress.prg1->show();
        progress.Label2->hide();
        progress.setCaption(QStringLiteral("Restoring"));
        progress.Label1->setText(QStringLiteral("Performing Restore"));
        progress.Show();
        progress.setPrg1Value(0);
        seam().DoEvents();
        dao::Recordset& rows = data.Recordset();
        rows.MoveLast();
        progress.setPrg1Max(double(rows.RecordCount() + kBarMargin));
        rows.MoveFirst();
        seam().DoEvents();

        step(kStageTables);
        applyUserColumns(rows, table, progress);
        insertSessionRow(name, sestab, table);
    }

    // Lays each backed-up code's user columns on the new table's row of that code. A Null keeps the
    // value DATA0000 gave; a code with nothing to lay is passed over; a code the table lacks changes
    // nothing.
    void applyUserColumns(dao::Recordset& rows, const QString& table, ExprtInd& progress)
    {
        std::array<int, kUserColumns.size() + 1> columns{};
        for (std::size_t i = 0; i < kUserColumns.size(); ++i)
            columns[i] = fieldIndex(rows, QString::fromLatin1(kUserColumns[i]));
        columns.back() = fieldIndex(rows, QString::fromLatin1(kUserField));
        const int codemod = fieldIndex(rows, QStringLiteral("Codemod"));

        QString sql = QStringLiteral("UPDATE ") + dao::quoteIdentifier(table) +
                      QStringLiteral(" SET Tag = CASE WHEN ? IS NULL THEN Tag ELSE '+' END");
        for (std::size_t i = 1; i < kUserColumns.size(); ++i)
            sql += QStringLiteral(", %1 = coalesce(?, %1)").arg(QString::fromLatin1(kUserColumns[i]));
        sql += QStringLiteral(", USRDF = coalesce(?, USRDF) WHERE CODEMOD = ?");

        std::vector<dao::Variant> params(columns.size() + 1);
        for (; !rows.EOF(); rows.MoveNext()) {
            bool any = false;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                params[i] = rows.Fields(columns[i]).Value();
                any = any || !params[i].isNull();
            }
            if (any) {
                params.back() = rows.Fields(codemod).Value();
                db.Execute(sql, params);
            }
            progress.setPrg1Value(progress.prg1Value() + 1);
        }
    }

    // The session's row: the "Default" row's fee and layout settings, the backed-up names and ZIP code.
    void insertSessionRow(const dao::Variant& name, const QString& sestab, const QString& table)
    {
        const std::optional<SessionRow> dflt = db::readSession(db, db::kDefaultSession);
        if (!dflt)
            throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
        platform::DataControl& data = w.Data(1);
        data.setRecordSource(backupset::kSessionTable);
        data.Refresh();
        dao::Recordset& bkp = data.Recordset();
        if (bkp.EOF())
            throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));

        // A first session comes in under its name followed by "1" until it takes the first session's place.
        const bool first = sestab.contains(QLatin1String("DATA0001"), Qt::CaseSensitive);
        dao::Variant session = name;
        if (first && !name.isNull()) {
            firstSessions.emplace_back(table, name.toString());
            session = dao::Variant(name.toString() + QLatin1Char('1'));
        }

        QStringList columns = {QStringLiteral("session"), QStringLiteral("sestab")};
        std::vector<dao::Variant> values = {session, dao::Variant(table)};
        const auto fromDefault = [&](const db::RowColumn& c) {
            columns << c.name();
            values.push_back(dflt->value(c));
        };
        const auto fromBackup = [&](const char* c) {
            columns << QString::fromLatin1(c);
            values.push_back(backedUpText(bkp, c));
        };
        fromDefault(SessionRow::CURCONVF);
        fromDefault(SessionRow::CURUSEADJ);
        fromDefault(SessionRow::CURWORKGPCI);
        fromDefault(SessionRow::CURPRACGPCI);
        fromDefault(SessionRow::CURMALPGPCI);
        for (const char* c : {"S1NAME", "S2NAME", "S3NAME", "S4NAME", "S5NAME"})
            fromBackup(c);
        fromDefault(SessionRow::COLWS);
        fromDefault(SessionRow::COLVS);
        for (const char* c : {"CV00", "CV02", "CV03", "CV05", "CV16", "CV44", "CV45"})
            fromDefault(SessionRow::column(QString::fromLatin1(c)));
        fromDefault(SessionRow::GEOLOC);
        fromDefault(SessionRow::PLIMCOL);
        for (const char* c : {"F1NAME", "F2NAME", "F3NAME", "F4NAME", "F5NAME", "OPTName", "SelectZip"})
            fromBackup(c);

        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        db.Execute(QStringLiteral("INSERT INTO SESSIONS (") + columns.join(QStringLiteral(", ")) +
                       QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
                   values);
    }

    // A restored first session replaces the database's own: the row of DATA0001 goes (its table stays)
    // and the restored one takes its backed-up name. Without a restored first session nothing changes.
    void takeFirstSessionsPlace()
    {
        if (firstSessions.empty())
            return;
        db.Execute(QStringLiteral("DELETE FROM SESSIONS WHERE SESTAB = ?"), {dao::Variant(QStringLiteral("DATA0001"))});
        for (const auto& [table, FirstSessionName] : firstSessions)
            db.Execute(QStringLiteral("UPDATE SESSIONS SET Session = ? WHERE SESTAB = ?"),
                       {dao::Variant(FirstSessionName), dao::Variant(table)});
    }

    frmBackup& w;
    platform::StepGuard& step;
    QDir folder;
    dao::Database& db;
    // The tables restored as first sessions, each with its backed-up name.
    std::vector<std::pair<QString, QString>> firstSessions;
};

}  // namespace

bool RestoreSessions(frmBackup& window)
{
    const QString programFolder = g().ProgramFolder;
    platform::StepGuard step;
    step(kStageNoBackup);
    const QDir backupFolder(QDir(programFolder).filePath(backupset::kFolder));
    if (backupFolder.entryList(QDir::Files).isEmpty()) {
        seam().MsgBox(kStageNoBackup, vbOKOnly);
        return false;
    }
    if (seam().MsgBox(kQuestion, vbYesNo, kQuestionTitle) != vbYes)
        return false;
    try {
        // Nothing else may write meanwhile: it would join the restore's transaction.
        platform::InputBlock block;
        dao::Transaction restored(g().MainDb);
        SessionRestore(window, step, backupFolder.path()).run();
        restored.Commit();
        return true;
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        seam().MsgBox(step.text(), vbOKOnly);
        platform::forms().unloadIfLoaded<ExprtInd>();
        platform::SetBusyCursor(0);
        releaseData(window.Data(1));
        QDir::setCurrent(programFolder);
        return false;
    }
}

void FinishRestore(frmBackup& window)
{
    {
        platform::InputBlock block;
        releaseData(window.Data(1));
        window.Unload();
        if (ExprtInd* progress = platform::forms().loadedOrNull<ExprtInd>())
            progress->setPrg1Value(progress->prg1Max());
        seam().DoEvents();
        platform::SetBusyCursor(0);
        platform::forms().unloadIfLoaded<ExprtInd>();
    }
    seam().MsgBox(kComplete, vbOKOnly);
    EndProgram();
}

}  // namespace restore
