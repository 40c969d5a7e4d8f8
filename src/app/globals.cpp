#include "app/globals.h"
#include <QDir>

Globals& g()
{
    static Globals values;
    return values;
}

QString programPath(const QString& fileName)
{
    return QDir(g().ProgramFolder).filePath(fileName);
}
