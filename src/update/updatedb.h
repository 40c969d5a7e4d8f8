#pragma once

#include "platform/dao/Database.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

// The update database and what the steps of an applied data update share.
namespace update {

// The update database of the program folder. It carries the main database's password.
inline const QString kUpdateFileName = QStringLiteral("kelvaupd04.mdb");

// The update database, opened with the main database's connect text (its password checked) and attached to
// the main database's connection, so that one transaction of the main database covers every step and the
// steps read its tables by qualified name. The file is only read: it stays as delivered.
//
// Attach before the transaction begins and let this go after it has ended: SQLite cannot detach a file that
// an open transaction has read.
class UpdateDatabase {
public:
    // 3024 when the file is missing, 3031 when its password is not that of connect.
    UpdateDatabase(dao::Database main, const QString& path, const QString& connect);
    ~UpdateDatabase();
    UpdateDatabase(const UpdateDatabase&) = delete;
    UpdateDatabase& operator=(const UpdateDatabase&) = delete;

    QString path() const { return file; }
    // Whether the file holds the table, its name compared without regard to case.
    bool hasTable(const QString& name) const;
    // The table as statement text: the attached schema and the quoted name, spelled as the file spells it;
    // 3078 when the file lacks it.
    QString table(const QString& name) const;
    // The table's columns in order.
    QStringList columns(const QString& name) const;

private:
    QString storedName(const QString& name) const;
    mutable dao::Database main;  // scalar and OpenRecordset are not const
    QString file;
};

// What the driver gives the steps: the progress bar and the turn of the event loop.
struct UpdateHooks {
    std::function<void(int value)> progress;  // ProgressBar1 (maximum 200)
    std::function<void()> events;             // lets pending window events run once; seam().DoEvents() when unset
};

// The state the steps of one applied update share (the wizard window's strUpdTables and strDate).
struct UpdateRun {
    UpdateRun(dao::Database main, UpdateDatabase& source) : main(std::move(main)), source(source) {}

    dao::Database main;
    UpdateDatabase& source;
    QString strUpdTables;       // the completion message's list; each family appends " WORD "
    QDateTime strDate;          // the update's date
    UpdateHooks hooks;
    QHash<QString, qint64> refused;  // rows of a source that its target refused, by target

    void setProgress(int value) const;
    void pumpEvents() const;
};

}  // namespace update
