// kelva_datagen: writes the sample main database kelva.mdb, the template files and the disclaimer
// into one folder. Same seed, same bytes.
//
//   kelva_datagen --out <folder> --disclaimer <kvdis.txt source> [--seed <n>]

#include "SampleData.h"
#include "TableWriter.h"

#include "buildsettings.h"
#include "db/schema.h"
#include "platform/dao/Database.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

constexpr std::uint64_t DefaultSeed = 20140101;

void removeFile(const QString& path)
{
    for (const QString& p : {path, path + "-journal", path + "-wal", path + "-shm"})
        if (QFile::exists(p) && !QFile::remove(p))
            throw std::runtime_error("cannot remove " + p.toStdString());
}

// Leaves the file on its own: rollback journal, no WAL, every page rewritten in order.
void compact(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path.toStdString());
    }
    try {
        datagen::exec(db, "PRAGMA journal_mode=DELETE");
        datagen::exec(db, "VACUUM");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    if (sqlite3_close(db) != SQLITE_OK)
        throw std::runtime_error("cannot close " + path.toStdString());
}

// Moves the finished file into place under its own name.
void publish(const QString& temp, const QString& final)
{
    removeFile(final);
    if (!QFile::rename(temp, final))
        throw std::runtime_error("cannot write " + final.toStdString());
}

void writeMainDatabase(const QString& folder, std::uint64_t seed)
{
    const QString temp = folder + "/kelva.mdb.tmp";
    removeFile(temp);
    {
        dao::Database db = dao::CreateDatabase(temp);
        db::createSchema(db);
        datagen::Sample sample;
        sample.seed = seed;
        sqlite3* h = db.handle();
        datagen::exec(h, "BEGIN");
        datagen::writeLocalities(h, sample);
        datagen::writePhysician(h, sample);
        datagen::writeFamilies(h, sample);
        datagen::exec(h, "COMMIT");
        db.SetPassword(QString::fromUtf8(build::DbPassword));
        db.Close();
    }
    compact(temp);
    publish(temp, folder + "/kelva.mdb");
}

void writeTemplate(const QString& folder, const QString& name)
{
    const QString temp = folder + "/" + name + ".tmp";
    removeFile(temp);
    {
        dao::Database db = dao::CreateDatabase(temp);
        db::createTemplate(db, name);
        db.Close();
    }
    compact(temp);
    publish(temp, folder + "/" + name);
}

// The disclaimer with CR LF line ends, whatever the source has.
void writeDisclaimer(const QString& source, const QString& folder)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + source.toStdString());
    QByteArray text = in.readAll();
    text.replace("\r\n", "\n");
    text.replace("\n", "\r\n");
    QFile out(folder + "/kvdis.txt");
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size())
        throw std::runtime_error("cannot write kvdis.txt");
}

}  // namespace

int main(int argc, char** argv)
{
    QString folder, disclaimer;
    std::uint64_t seed = DefaultSeed;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--out"))
            folder = QString::fromLocal8Bit(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--disclaimer"))
            disclaimer = QString::fromLocal8Bit(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--seed"))
            seed = std::stoull(argv[i + 1]);
    }
    if (folder.isEmpty() || disclaimer.isEmpty()) {
        std::fprintf(stderr, "usage: kelva_datagen --out <folder> --disclaimer <kvdis.txt> [--seed <n>]\n");
        return 2;
    }
    try {
        QElapsedTimer timer;
        timer.start();
        QDir().mkpath(folder);
        writeMainDatabase(folder, seed);
        for (const char* name : {"export.mdb", "backup.mdb", "backupAllSess.mdb"})
            writeTemplate(folder, QString::fromLatin1(name));
        writeDisclaimer(disclaimer, folder);
        std::printf("kelva_datagen: kelva.mdb %.1f MiB in %.2f s\n",
                    double(QFileInfo(folder + "/kelva.mdb").size()) / (1024.0 * 1024.0), double(timer.elapsed()) / 1000.0);
    } catch (const dao::Error& e) {
        std::fprintf(stderr, "kelva_datagen: %s\n", e.description.toLocal8Bit().constData());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kelva_datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
