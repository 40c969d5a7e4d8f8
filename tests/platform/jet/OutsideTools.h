#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QFileInfo>
#include <gtest/gtest.h>

// The independent writers and readers the format tests run: SheetJS (npm "xlsx" in tests/node_modules, run by
// node) and gnumeric's ssconvert. Under CI a missing one fails its test; elsewhere the test is skipped.
namespace tools {

inline QString nodeModules()
{
    return QStringLiteral(KELVA_SOURCE_DIR "/tests/node_modules");
}

// Empty when the tool is there, else what is missing.
inline QString missing(const QString& tool)
{
    if (tool == QLatin1String("sheetjs")) {
        if (QStandardPaths::findExecutable(QStringLiteral("node")).isEmpty())
            return QStringLiteral("node (Debian nodejs)");
        if (!QFileInfo::exists(nodeModules() + QStringLiteral("/xlsx/package.json")))
            return QStringLiteral("the npm package xlsx (npm ci in tests/)");
        return {};
    }
    if (QStandardPaths::findExecutable(tool).isEmpty())
        return tool;
    return {};
}

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline Result run(const QString& program, const QStringList& args, const QString& workDir = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("NODE_PATH"), nodeModules());
    p.setProcessEnvironment(env);
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(program, args);
    Result r;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) {
        r.err = p.readAllStandardError() + "\n" + program.toUtf8() + " did not finish";
        return r;
    }
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

}  // namespace tools

// At the start of a test that needs an outside tool ("sheetjs", "ssconvert").
#define REQUIRE_TOOL(tool)                                                                          \
    do {                                                                                            \
        const QString why_ = tools::missing(QStringLiteral(tool));                                  \
        if (!why_.isEmpty()) {                                                                      \
            if (qEnvironmentVariable("CI") == QLatin1String("true"))                                \
                FAIL() << "missing under CI: " << why_.toStdString();                               \
            GTEST_SKIP() << "missing: " << why_.toStdString();                                      \
        }                                                                                           \
    } while (false)
