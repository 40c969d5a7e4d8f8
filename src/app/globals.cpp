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

db::FeeFactors sessionFactors()
{
    const Globals& v = g();
    db::FeeFactors f;
    f.workAdjuster = v.WorkAdjuster;
    f.workGpci = v.WorkGpci;
    f.pracGpci = v.PracGpci;
    f.malpGpci = v.MalpGpci;
    f.convFactor = v.ConvFactor;
    return f;
}
