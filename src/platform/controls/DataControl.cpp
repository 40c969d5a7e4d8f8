#include "platform/controls/DataControl.h"

#include "platform/forms/guarded.h"

#include <QDir>
#include <algorithm>

namespace platform {

DataControl::DataControl(QObject* parent) : QObject(parent) {}

DataControl::~DataControl()
{
    rs_.unsubscribe(this);  // copies of the recordset may outlive the control
}

void DataControl::setDatabaseName(const QString& path)
{
    if (path == databaseName_ && db_.isOpen())
        return;
    databaseName_ = path;
    db_ = dao::Database();
    ownDb_ = false;
}

void DataControl::setDatabase(const dao::Database& db)
{
    db_ = db;
    databaseName_ = db.Name();
    ownDb_ = true;
}

dao::Database& DataControl::Database()
{
    if (!db_.isOpen()) {
        // A name without a folder is found in the current folder, which the program keeps as its own.
        db_ = dao::OpenDatabase(QDir::current().absoluteFilePath(databaseName_), false, false, connect_);
    }
    return db_;
}

void DataControl::setRecordSource(const QString& source, std::vector<dao::Variant> params)
{
    recordSource_ = source;
    params_ = std::move(params);
}

void DataControl::Refresh()
{
    if (rs_.isOpen())
        beforeMove();
    if (refreshDriverTable())
        return;
    dao::Recordset opened = Database().OpenRecordset(recordSource_, params_);
    hold(opened);
    emit refreshed();
    raiseReposition();
}

void DataControl::hold(const dao::Recordset& rs)
{
    rs_.unsubscribe(this);
    rs_ = rs;
    if (rs_.isOpen())
        rs_.subscribe(this);
}

dao::Recordset& DataControl::Recordset()
{
    if (!rs_.isOpen())
        throw dao::Error(3420, QStringLiteral("Object invalid or no longer set."));
    return rs_;
}

void DataControl::UpdateRecord()
{
    beforeMove();
}

void DataControl::showBound()
{
    const std::vector<BoundControl*> controls = bound_;
    for (BoundControl* c : controls)
        c->showRecord();
}

void DataControl::bind(BoundControl* control)
{
    if (std::find(bound_.begin(), bound_.end(), control) == bound_.end())
        bound_.push_back(control);
    if (rs_.isOpen())
        control->showRecord();
}

void DataControl::unbind(BoundControl* control)
{
    bound_.erase(std::remove(bound_.begin(), bound_.end(), control), bound_.end());
}

void DataControl::beforeMove()
{
    if (writing_ || !rs_.isOpen())
        return;
    writing_ = true;
    writtenRow_.reset();
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{writing_};
    const std::vector<BoundControl*> controls = bound_;
    for (BoundControl* c : controls)
        c->writeRecord();
    if (writtenRow_)
        emit rowWritten(static_cast<int>(*writtenRow_));  // once, for what every bound control wrote
}

void DataControl::moved(bool changed)
{
    if (changed)
        raiseReposition();
}

void DataControl::written(qint64 position)
{
    if (writing_) {
        writtenRow_ = position;  // a bound control writing its value: the others keep what they hold
        return;
    }
    emit rowWritten(static_cast<int>(position));
    showBound();
}

void DataControl::deleted()
{
    emit refreshed();
}

void DataControl::requeried()
{
    emit refreshed();
    raiseReposition();
}

void DataControl::Reread()
{
    if (rs_.isOpen())
        rs_.Reread();
}

void DataControl::reread(bool sameRecord)
{
    // The grid keeps its columns and reads its cells anew.
    emit rowWritten(-1);
    if (sameRecord) {
        showBound();
        emit repositioned();
    } else {
        raiseReposition();
    }
}

void DataControl::raiseReposition()
{
    const std::vector<BoundControl*> controls = bound_;
    for (BoundControl* c : controls)
        c->showRecord();
    emit repositioned();
    if (reposition_)
        guarded(reposition_);
}

}  // namespace platform
