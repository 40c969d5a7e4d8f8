#include "platform/controls/DataControl.h"

#include "platform/forms/guarded.h"

#include <QDir>
#include <algorithm>

namespace platform {

template <class F>
void BoundRecordset::moving(F&& move)
{
    if (!owner) {
        move();
        return;
    }
    owner->beforeMove();
    const bool hadRecord = AbsolutePosition() >= 0;
    const qint64 before = hadRecord ? dao::Recordset::Bookmark() : -1;
    move();
    owner->afterMove(before, hadRecord);
}

void BoundRecordset::MoveFirst() { moving([this] { dao::Recordset::MoveFirst(); }); }
void BoundRecordset::MoveLast() { moving([this] { dao::Recordset::MoveLast(); }); }
void BoundRecordset::MoveNext() { moving([this] { dao::Recordset::MoveNext(); }); }
void BoundRecordset::MovePrevious() { moving([this] { dao::Recordset::MovePrevious(); }); }
void BoundRecordset::Move(qint64 n) { moving([this, n] { dao::Recordset::Move(n); }); }
void BoundRecordset::setAbsolutePosition(qint64 n) { moving([this, n] { dao::Recordset::setAbsolutePosition(n); }); }
void BoundRecordset::setBookmark(qint64 b) { moving([this, b] { dao::Recordset::setBookmark(b); }); }

void BoundRecordset::FindFirst(const QString& c, const std::vector<dao::Variant>& p)
{
    moving([&] { dao::Recordset::FindFirst(c, p); });
}
void BoundRecordset::FindNext(const QString& c, const std::vector<dao::Variant>& p)
{
    moving([&] { dao::Recordset::FindNext(c, p); });
}
void BoundRecordset::FindPrevious(const QString& c, const std::vector<dao::Variant>& p)
{
    moving([&] { dao::Recordset::FindPrevious(c, p); });
}
void BoundRecordset::FindLast(const QString& c, const std::vector<dao::Variant>& p)
{
    moving([&] { dao::Recordset::FindLast(c, p); });
}

void BoundRecordset::Update()
{
    dao::Recordset::Update();
    if (owner) {
        const qint64 row = AbsolutePosition();
        emit owner->rowWritten(static_cast<int>(row));
        for (BoundControl* c : owner->bound_)
            c->showRecord();
    }
}

void BoundRecordset::Delete()
{
    dao::Recordset::Delete();
    if (owner)
        emit owner->refreshed();
}

void BoundRecordset::Requery()
{
    dao::Recordset::Requery();
    if (owner) {
        emit owner->refreshed();
        owner->raiseReposition();
    }
}

DataControl::DataControl(QObject* parent) : QObject(parent)
{
    rs_.owner = this;
}

DataControl::~DataControl() = default;

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
    static_cast<dao::Recordset&>(rs_) = opened;
    rs_.owner = this;
    emit refreshed();
    raiseReposition();
}

BoundRecordset& DataControl::Recordset()
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
    try {
        const std::vector<BoundControl*> controls = bound_;
        for (BoundControl* c : controls)
            c->writeRecord();
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
}

void DataControl::afterMove(qint64 previousBookmark, bool hadRecord)
{
    const bool hasRecord = rs_.AbsolutePosition() >= 0;
    if (hasRecord == hadRecord && (!hasRecord || rs_.dao::Recordset::Bookmark() == previousBookmark))
        return;
    raiseReposition();
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
