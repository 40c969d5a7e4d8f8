// The generator gives the same bytes on every run, and the build's copy step never overwrites the database
// in the program folder.

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString DataDir = QStringLiteral(KELVA_DATA_DIR);
const QString SourceDir = QStringLiteral(KELVA_SOURCE_DIR);
const QStringList Outputs{"kelva.mdb", "export.mdb", "backup.mdb", "backupAllSess.mdb", "kvdis.txt"};

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result().toHex();
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void generate(const QString& folder)
{
    QProcess p;
    p.start(DataDir + "/kelva_datagen", {"--out", folder, "--disclaimer", SourceDir + "/data/kvdis.txt"});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
}

TEST(Generator, TwoRunsGiveIdenticalFilesAndTheBuildsOwn)
{
    QTemporaryDir first, second;
    generate(first.path());
    generate(second.path());
    for (const QString& name : Outputs) {
        const QByteArray a = digest(first.filePath(name));
        ASSERT_FALSE(a.isEmpty()) << name.toStdString();
        EXPECT_EQ(a, digest(second.filePath(name))) << name.toStdString();
        EXPECT_EQ(a, digest(DataDir + "/" + name)) << name.toStdString() << " differs from the build's";
    }
    // Closed cleanly: no journal or WAL beside the files, and the rollback journal mode in the header.
    for (const QString& name : QDir(first.path()).entryList(QDir::Files))
        EXPECT_TRUE(Outputs.contains(name)) << name.toStdString();
    const QByteArray header = contents(first.filePath("kelva.mdb")).left(20);
    ASSERT_EQ(header.size(), 20);
    EXPECT_EQ(header.left(15), QByteArray("SQLite format 3"));
    EXPECT_EQ(int(header[18]), 1) << "legacy (rollback journal) write version";
    EXPECT_EQ(int(header[19]), 1) << "legacy (rollback journal) read version";
    EXPECT_LT(QFile(first.filePath("kelva.mdb")).size(), 60LL * 1024 * 1024);
}

TEST(Generator, DisclaimerHasCrLfLineEndsAndCallsTheDataASample)
{
    const QByteArray text = contents(DataDir + "/kvdis.txt");
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.endsWith("\r\n"));
    EXPECT_EQ(text.count("\n"), text.count("\r\n")) << "no bare line feed";
    EXPECT_EQ(text.count("\r"), text.count("\r\n")) << "no bare carriage return";
    EXPECT_TRUE(text.contains("SAMPLE"));
    EXPECT_TRUE(text.contains("not"));
}

// The copy step of the build (data/install_files.cmake).
class InstallStep : public ::testing::Test {
protected:
    QTemporaryDir data, program;
    QString cmake = QStandardPaths::findExecutable("cmake");

    void SetUp() override
    {
        if (cmake.isEmpty())
            GTEST_SKIP() << "cmake not found";
        for (const QString& name : Outputs) {
            QFile f(data.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("new " + name.toUtf8());
        }
    }
    void run()
    {
        QProcess p;
        p.start(cmake, {"-DDATA_DIR=" + data.path(), "-DPROGRAM_DIR=" + program.path(), "-P",
                        SourceDir + "/data/install_files.cmake"});
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
    void write(const QString& name, const QByteArray& text)
    {
        QFile f(program.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

TEST_F(InstallStep, AnEmptyProgramFolderGetsEveryFileAndTheBackupFolder)
{
    run();
    for (const QString& name : Outputs)
        EXPECT_EQ(contents(program.filePath(name)), "new " + name.toUtf8()) << name.toStdString();
    EXPECT_TRUE(QDir(program.filePath("backup")).exists());
}

TEST_F(InstallStep, AnExistingDatabaseIsKeptWhileTheTemplatesAreRefreshed)
{
    write("kelva.mdb", "the user's own database");
    write("export.mdb", "old template");
    run();
    EXPECT_EQ(contents(program.filePath("kelva.mdb")), "the user's own database");
    EXPECT_EQ(contents(program.filePath("export.mdb")), "new export.mdb");
}

TEST_F(InstallStep, ADatabaseCopiedInNeverLandsBesideAnotherFilesJournal)
{
    // kelva.mdb deleted by hand after a killed run: its journal files stay and would pass their pages on.
    // backup.mdb is refreshed, export.mdb is already the build's own, and backupAllSess.mdb is new.
    const QStringList journals{"-wal", "-shm", "-journal"};
    write("backup.mdb", "old template");
    write("export.mdb", "new export.mdb");
    for (const QString& name : {"kelva.mdb", "backup.mdb", "export.mdb", "backupAllSess.mdb"})
        for (const QString& suffix : journals)
            write(name + suffix, "left over");
    run();
    for (const QString& name : {"kelva.mdb", "backup.mdb", "backupAllSess.mdb"}) {
        EXPECT_EQ(contents(program.filePath(name)), "new " + name.toUtf8()) << name.toStdString();
        for (const QString& suffix : journals)
            EXPECT_FALSE(QFile::exists(program.filePath(name + suffix))) << (name + suffix).toStdString();
    }
    for (const QString& suffix : journals)
        EXPECT_TRUE(QFile::exists(program.filePath("export.mdb" + suffix))) << "a file not copied keeps its own";
}

TEST_F(InstallStep, TheUsersDatabaseKeepsItsJournal)
{
    write("kelva.mdb", "the user's own database");
    write("kelva.mdb-wal", "the user's last changes");
    run();
    EXPECT_EQ(contents(program.filePath("kelva.mdb-wal")), "the user's last changes");
}

}  // namespace
