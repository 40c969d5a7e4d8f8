#pragma once

#include "platform/seam/Seam.h"

namespace platform {

// An FTP connection through libcurl (passive mode); null when the server cannot be reached or refuses the
// login. port 0 is FTP's default. With useProxy the environment's proxy settings (ftp_proxy, all_proxy,
// no_proxy) apply; without it the connection goes direct whatever they say.
std::unique_ptr<FtpConnection> ftpConnect(const QString& host, const QString& user, const QString& password,
                                          int port = 0, bool useProxy = false);

}  // namespace platform
