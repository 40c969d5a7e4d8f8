// The file drivers behind a data control: opening a driver's table at Refresh, and releasing it.
#include "platform/controls/DataControl.h"

#include "platform/jet/DriverTable.h"

namespace platform {

bool DataControl::refreshDriverTable()
{
    const jet::Driver driver = jet::driverOf(connect_);
    const bool release = connect_.isEmpty() && databaseName_.isEmpty() && recordSource_.isEmpty();
    if (driver_ || release) {
        // What the data control held goes first; a driver's table is written out whole.
        std::shared_ptr<jet::DriverTable> table = std::move(driver_);
        static_cast<dao::Recordset&>(rs_) = dao::Recordset();
        if (table) {
            db_ = dao::Database();
            ownDb_ = false;
            try {
                table->close();
            } catch (const dao::Error&) {
                emit refreshed();
                throw;
            }
        }
        if (release) {
            emit refreshed();
            return true;
        }
    }
    if (driver == jet::Driver::None)
        return false;
    std::shared_ptr<jet::DriverTable> table = jet::DriverTable::open(driver, databaseName_, recordSource_);
    dao::Recordset opened = table->database().OpenRecordset(table->tableName());
    driver_ = std::move(table);
    db_ = driver_->database();
    ownDb_ = true;
    static_cast<dao::Recordset&>(rs_) = opened;
    rs_.owner = this;
    emit refreshed();
    raiseReposition();
    return true;
}

}  // namespace platform
