#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace dao {

// Jet's error numbers where the windows show them; otherwise the SQLite result code and its message.
enum ErrorNumber : int {
    errInvalidUseOfNull = 94,
    errFileNotFound = 3024,       // "Could not find file '<path>'."
    errBadPassword = 3031,        // "Not a valid password."
    errNoCurrentRecord = 3021,    // "No current record."
    errItemNotFound = 3265,       // "Item not found in this collection."
    errNotUpdatable = 3027,       // "Cannot update. Database or object is read-only."
    errUpdateWithoutEdit = 3020,  // "Update or CancelUpdate without AddNew or Edit."
    errConversion = 3421,         // "Data type conversion error."
    errFieldTooSmall = 3163,      // "The field is too small to accept the amount of data you attempted to add. ..."
    errOverflow = 3349,           // "Numeric field overflow."
    errRecordDeleted = 3167,      // "Record is deleted."
    errDiskFull = 3026,           // "Not enough space on disk."
    errDiskIo = 3043,             // "Disk or network error."
    errCancel = 32755,            // "Cancel was selected."
};

// The texts of the column rules, which statements (through triggers) and recordsets both report.
inline constexpr const char* kConversionText = "Data type conversion error.";
inline constexpr const char* kFieldTooSmallText =
    "The field is too small to accept the amount of data you attempted to add.  Try inserting or pasting less data.";
inline constexpr const char* kOverflowText = "Numeric field overflow.";

class Error : public std::exception {
public:
    Error(int number, QString description);
    const char* what() const noexcept override { return utf8.constData(); }

    int number;
    QString description;

private:
    QByteArray utf8;
};

}  // namespace dao
