#pragma once

#include "platform/jet/sheetfile.h"

#include <QString>
#include <QStringList>
#include <vector>

// The independent readers and writers the format tests check against: SheetJS (run by nodejs), gnumeric's
// ssconvert and python3-dbf. Each call handles a batch of files, since starting a tool costs most of the time.
namespace oracle {

enum class Tool { SheetJS, Ssconvert, PythonDbf };

// Empty when the tool can run, else why not.
QString missing(Tool tool);

// The cells of each file's first sheet (ssconvert: of each file's sheet), rows from the first: numbers as
// doubles, texts, booleans, Null for empty. `messages` gets what the tool printed besides.
std::vector<jet::Rows> sheetjsRead(const QStringList& files, QString* messages = nullptr);
std::vector<jet::Rows> ssconvertRead(const QStringList& files, QString* messages = nullptr);

// Writes files with SheetJS: each of type "biff2", "wk1", "biff5" or "biff8" holding the rows.
struct SheetJob {
    QString file;
    QString type;
    jet::Rows rows;
    QString sheet = QStringLiteral("Sheet1");
};
void sheetjsWrite(const std::vector<SheetJob>& jobs);

// Runs a python3 script (with the dbf module) given as text, with the arguments; fails the test on an error.
void runPython(const QString& script, const QStringList& args = {});

}  // namespace oracle

// Skips the test when a tool is missing, except under CI (CI=true), where a missing tool fails it.
#define REQUIRE_TOOL(tool)                                                             \
    do {                                                                               \
        const QString why_ = oracle::missing(tool);                                    \
        if (!why_.isEmpty()) {                                                         \
            if (qgetenv("CI") == "true")                                               \
                FAIL() << why_.toStdString();                                          \
            else                                                                       \
                GTEST_SKIP() << why_.toStdString();                                    \
        }                                                                              \
    } while (0)
