#include "userdata/importlog.h"

#include "platform/dao/Error.h"
#include "platform/jet/codepage.h"

#include <QDir>

namespace userimport {

void ImportLog::start(const QString& path, const QDateTime& now)
{
    close();
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw dao::Error(75, QStringLiteral("The error report '%1' cannot be written: %2")
                                 .arg(QDir::toNativeSeparators(path), file_.errorString()));
    item(QStringLiteral("KELVA F1 - F5 Import Error Report for: ") + generalDate(now) + QStringLiteral("\r\n\r\n"));
}

void ImportLog::fileName(const QString& importFile)
{
    item(QStringLiteral("Import file name: ") + importFile + QStringLiteral("\r\n\r\n"));
}

void ImportLog::recordLine(int record)
{
    item(QStringLiteral("Record number :%1 is not numeric").arg(record));
}

void ImportLog::errorLine(const QString& description, int record)
{
    item(QStringLiteral("Error Description :%1. Stopped at record: %2").arg(description).arg(record));
}

void ImportLog::close()
{
    if (file_.isOpen())
        file_.close();
}

QString ImportLog::generalDate(const QDateTime& t)
{
    return QLocale::c().toString(t, QStringLiteral("M/d/yyyy h:mm:ss AP"));
}

void ImportLog::item(const QString& text)
{
    if (!file_.isOpen())
        return;
    file_.write(jet::encode(QLatin1Char('"') + text + QStringLiteral("\"\r\n"), 1252));
    file_.flush();
}

}  // namespace userimport
