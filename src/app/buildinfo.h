#pragma once

#include <QString>

// The vendor's contact data and the database password, as the build sets them.
QString supportPhone();
QString supportEmail();
QString orderPhone();
QString webAddress();
QString databasePassword();

// The program's version: major, minor and revision number.
struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};
ProgramVersion programVersion();
