#pragma once

#include "platform/seam/Seam.h"

namespace platform {

// An FTP connection through libcurl (passive mode, the default port); null when the server cannot be
// reached or refuses the login. port 0 is FTP's default.
std::unique_ptr<FtpConnection> ftpConnect(const QString& host, const QString& user, const QString& password,
                                          int port = 0);

}  // namespace platform
