#pragma once

#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace jet {
class DriverTable;
}

namespace platform {

// A bound control: shows a field of the data control's current record.
class BoundControl {
public:
    virtual ~BoundControl() = default;
    // The current record changed or the recordset was opened again.
    virtual void showRecord() = 0;
    // Before the record moves: write an edited value into the record.
    virtual void writeRecord() {}
};

// A data control: database name, connect text, record source (SQL text plus bound values), Refresh, the
// recordset, and the Reposition notification. A database file that the program already has open is used
// through that open connection, so a transaction on it covers the data control's writes too.
class DataControl : public QObject, private dao::RecordsetObserver {
    Q_OBJECT
public:
    explicit DataControl(QObject* parent = nullptr);
    ~DataControl() override;

    QString DatabaseName() const { return databaseName_; }
    void setDatabaseName(const QString& path);
    QString Connect() const { return connect_; }
    void setConnect(const QString& connect) { connect_ = connect; }
    // Uses a database that is already open (MainDb) instead of opening DatabaseName.
    void setDatabase(const dao::Database& db);
    dao::Database& Database();

    QString RecordSource() const { return recordSource_; }
    const std::vector<dao::Variant>& RecordSourceParams() const { return params_; }
    // A table name or an SQL text, with the values of its ? placeholders. Takes effect at Refresh.
    void setRecordSource(const QString& source, std::vector<dao::Variant> params = {});
    // Copies another data control's record source: the text and its bound values.
    void setRecordSource(const DataControl& other) { setRecordSource(other.recordSource_, other.params_); }

    // Opens the database when needed and runs the record source again; the first record becomes current.
    // A connect text naming a file driver ("Excel 4.0;", "Lotus WK1;", "dBASE III;", "Text;") opens that
    // driver's table instead. Empty connect text, database name and record source release the data control;
    // a driver's file is then written out whole.
    void Refresh();
    // The open recordset (3420 "Object invalid or no longer set." before the first Refresh). A move, find,
    // Update, Delete or Requery through it, or through any copy of it, first writes what the bound controls
    // hold, then raises Reposition and moves the bound grid, as Refresh does.
    dao::Recordset& Recordset();
    // The recordset is open and has a current record.
    bool hasCurrentRecord() const { return rs_.isOpen() && rs_.hasCurrentRecord(); }
    bool hasRecordset() const { return rs_.isOpen(); }
    // Writes what the bound controls hold into the current record (UpdateRecord).
    void UpdateRecord();

    // Reads the recordset's rows again keeping the current record (Recordset::Reread): the bound grid and
    // controls show what the table holds now; Reposition runs only when the current record became another.
    void Reread();

    // Reposition: runs whenever the current record changes (a move, a find, Refresh).
    void onReposition(std::function<void()> handler) { reposition_ = std::move(handler); }

    // Shows the current record again in every bound control (after a write made around them).
    void showBound();

    void bind(BoundControl* control);
    void unbind(BoundControl* control);

signals:
    // After the recordset was opened again (Refresh) - the bound grid re-reads its rows.
    void refreshed();
    // After the current record changed - the bound grid moves its current row.
    void repositioned();
    // A row's values were written through the recordset (Update), row -1 when unknown.
    void rowWritten(int row);

private:
    void beforeMove() override;
    void moved(bool changed) override;
    void written(qint64 position) override;
    void deleted() override;
    void requeried() override;
    void reread(bool sameRecord) override;
    void raiseReposition();
    // Takes rs as the recordset and hears it (and no longer the one before).
    void hold(const dao::Recordset& rs);
    // The file drivers' part of Refresh (DataControlDriver.cpp): true when it opened or released the table.
    bool refreshDriverTable();

    QString databaseName_;
    QString connect_;
    QString recordSource_;
    std::vector<dao::Variant> params_;
    dao::Database db_;
    bool ownDb_ = false;
    dao::Recordset rs_;
    std::function<void()> reposition_;
    std::vector<BoundControl*> bound_;
    bool writing_ = false;
    std::optional<qint64> writtenRow_;  // a bound control wrote this row during beforeMove
    std::shared_ptr<jet::DriverTable> driver_;
};

}  // namespace platform
