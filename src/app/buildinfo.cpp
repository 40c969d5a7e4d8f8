#include "app/buildinfo.h"

#include "buildsettings.h"

QString supportPhone()
{
    return QString::fromUtf8(build::SupportPhone);
}

QString supportEmail()
{
    return QString::fromUtf8(build::SupportEmail);
}

QString orderPhone()
{
    return QString::fromUtf8(build::OrderPhone);
}

QString webAddress()
{
    return QString::fromUtf8(build::WebAddress);
}

QString databasePassword()
{
    return QString::fromUtf8(build::DbPassword);
}

ProgramVersion programVersion()
{
    return {build::VersionMajor, build::VersionMinor, build::VersionRevision};
}
