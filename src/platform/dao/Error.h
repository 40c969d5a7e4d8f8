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
    errCancel = 32755,            // "Cancel was selected."
};

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
