#include "app/pathcheck.h"
#include "app/singleinstance.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char* name;
    QString path;  // "@" stands for the temporary folder
    const char* expected;
};

class CheckPathExistsTest : public ::testing::TestWithParam<PathCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        QDir(tmp.path()).mkpath(QStringLiteral("Exports/2013"));
        QFile file(QDir(tmp.path()).filePath(QStringLiteral("plain")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QTemporaryDir tmp;
};

TEST_P(CheckPathExistsTest, GivesTheResultOfTheDeepestFolder)
{
    QString path = GetParam().path;
    path.replace(QLatin1Char('@'), tmp.path());
    EXPECT_EQ(CheckPathExists(path), QString::fromLatin1(GetParam().expected)) << path.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Paths, CheckPathExistsTest,
    ::testing::Values(
        PathCase{"NetworkPathPassesWithoutLooking", "//server/share/exports/", "Pass"},
        PathCase{"RootAloneIsNoFolder", "/", ""},
        PathCase{"FileInRootTestsNothing", "/export.csv", ""},
        PathCase{"DefaultMarker", "(Default)", ""},
        PathCase{"Empty", "", ""},
        PathCase{"FolderWithClosingSlashExists", "@/Exports/", "found"},
        PathCase{"FileNameTestsItsFolder", "@/Exports/jan.xls", "found"},
        PathCase{"CaseIsIgnored", "@/EXPORTS/", "found"},
        PathCase{"MissingFolder", "@/imports/", ""},
        PathCase{"DeepestFolderDecides", "@/Exports/2014/", ""},
        PathCase{"NestedFolderExists", "@/exports/2013/", "found"},
        PathCase{"OrdinaryFileIsNoFolder", "@/plain/", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SingleInstanceTest, SecondLockInTheSameFolderFailsUntilTheFirstEnds)
{
    QTemporaryDir tmp;
    {
        SingleInstance first(tmp.path());
        ASSERT_TRUE(first.acquired());
        SingleInstance second(tmp.path());
        EXPECT_FALSE(second.acquired());
        EXPECT_TRUE(second.heldByAnother());
    }
    SingleInstance again(tmp.path());
    EXPECT_TRUE(again.acquired());
}

TEST(SingleInstanceTest, LockFileThatCannotBeMadeIsAFailureNotAnotherInstance)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral(".kelva.lock")));
    const QString missing = QDir(tmp.path()).filePath(QStringLiteral("gone"));
    for (const QString& folder : {tmp.path(), missing}) {
        SingleInstance lock(folder);
        EXPECT_FALSE(lock.acquired()) << folder.toStdString();
        EXPECT_FALSE(lock.heldByAnother()) << folder.toStdString();
        EXPECT_FALSE(lock.failure().isEmpty()) << folder.toStdString();
    }
}

}
