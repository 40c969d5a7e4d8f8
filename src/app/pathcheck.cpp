#include "app/pathcheck.h"
#include <QDir>
#include <QFileInfo>

namespace {

// The entry of `parent` named `name`, the exact name first, then one that differs only in case.
QString findEntry(const QString& parent, const QString& name)
{
    const QString exact = parent.isEmpty() ? name : QDir(parent).filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(parent.isEmpty() ? QStringLiteral(".") : parent);
    for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return parent.isEmpty() ? entry : dir.filePath(entry);
    return {};
}

}

QString CheckPathExists(const QString& path)
{
    if (path.startsWith(QLatin1String("//")))
        return QStringLiteral("Pass");
    const int last = path.lastIndexOf(QLatin1Char('/'));
    if (path.count(QLatin1Char('/')) < 2 || last <= 0)
        return {};

    // Walk the folders in front of the last '/', resolving each name without regard to case.
    const QString folder = path.left(last);
    const QStringList parts = folder.split(QLatin1Char('/'));
    QString resolved = folder.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    for (const QString& part : parts) {
        if (part.isEmpty())
            continue;
        resolved = findEntry(resolved, part);
        if (resolved.isEmpty())
            return {};
    }
    return QFileInfo(resolved).isDir() ? QStringLiteral("found") : QString();
}
