#pragma once

#include "platform/dao/Database.h"

#include <QString>
#include <memory>

// The installable drivers behind the data controls: a connect text that names one ("Excel 4.0;",
// "Lotus WK1;", "dBASE III;", "Text;") opens a table of an outside file instead of an SQLite database.
//
// The file is read whole into a table of its own in-memory database, so the data control's recordset is an
// ordinary one (fields by name and position, moves, AddNew, Update, ...). Writes are checked as they are made
// against what the file can hold (a text too long for its cell or field, a row past the sheet's last, a number
// wider than its field): such an Update fails with an error that says why. close() writes the file out, whole,
// with every record updated so far.
namespace jet {

enum class Driver { None, Excel, Lotus, DBase, Text };

// The driver that a connect text names; None for "Access", "Access 2000;", an empty text and every other.
Driver driverOf(const QString& connect);

class DriverTable {
public:
    // Opens the table `recordSource` of `databaseName`, as the driver names it:
    //   Excel: the file's path and "name$" - the one sheet of a worksheet, or the sheet called name of a workbook;
    //   Lotus: the file's path and "name:" - the file's one sheet;
    //   DBase: the folder and "name" - the file name.dbf of the folder, matched without regard to case;
    //   Text:  the folder and "name#csv" - the file name.csv.
    // Throws 3024 for a missing file, 3044 for a missing folder, 3011 for a missing table or sheet, 3274 for
    // a file that cannot be read.
    static std::unique_ptr<DriverTable> open(Driver driver, const QString& databaseName, const QString& recordSource);
    ~DriverTable();  // writes out what close() has not; an error is then lost, so callers close()

    DriverTable(const DriverTable&) = delete;
    DriverTable& operator=(const DriverTable&) = delete;

    dao::Database& database();
    // The table's name in database().
    QString tableName() const;
    // The file that holds the table.
    QString filePath() const;

    // Writes the file out when a record was added, changed or deleted; afterwards the table is closed.
    // Throws dao::Error naming the file when it cannot be written.
    void close();

    struct State;

private:
    explicit DriverTable(std::unique_ptr<State> s);
    std::unique_ptr<State> s;
};

}  // namespace jet
