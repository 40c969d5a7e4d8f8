#pragma once

#include <QString>

// The vendor's contact data and the database password, as the build sets them.
QString supportPhone();
QString orderPhone();
QString webAddress();
QString databasePassword();
