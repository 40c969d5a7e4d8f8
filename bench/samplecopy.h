#pragma once

#include "app/buildinfo.h"
#include "platform/dao/Database.h"

#include <QFile>
#include <QTemporaryDir>

#include <optional>

// A copy of the sample database in dir, its "Default" session current and on the first locality of LOCATION;
// nothing when the sample is missing.
inline std::optional<dao::Database> sampleOnFirstLocality(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("kelva.mdb");
    if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path))
        return std::nullopt;
    dao::Database db = dao::OpenDatabase(path, QStringLiteral(";PWD=") + databasePassword());
    db.Execute(QStringLiteral(
        "UPDATE SESSIONS SET (CURWORKGPCI, CURPRACGPCI, CURMALPGPCI, GEOLOC) = (SELECT WORK, PRACT, MALP, "
        "STATE || ' - ' || \"DESC\" FROM LOCATION ORDER BY CARRIER, LOCCODE LIMIT 1)"));
    db.Execute(QStringLiteral("UPDATE PARMS_CL SET CURSES = 'Default'"));
    return db;
}
