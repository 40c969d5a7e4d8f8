#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

// The frequency import's error report ImportErr.log in the program folder: each item in double quotes and
// ended by CR LF (a line break inside an item stays inside its quotes); Windows-1252.
namespace userimport {

class ImportLog {
public:
    // Starts the report at path, emptying an earlier one, with its heading. Throws dao::Error with the
    // file system's description when it cannot be created.
    void start(const QString& path, const QDateTime& now);
    bool isOpen() const { return file_.isOpen(); }
    void fileName(const QString& importFile);
    void recordLine(int record);
    void errorLine(const QString& description, int record);
    void close();

    // The heading's date and time in the general date form: 6/16/2014 9:00:00 AM.
    static QString generalDate(const QDateTime& t);

private:
    void item(const QString& text);
    QFile file_;
};

}  // namespace userimport
