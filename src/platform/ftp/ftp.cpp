#include "platform/ftp/ftp.h"

#include <QFile>
#include <QUrl>
#include <curl/curl.h>

namespace platform {

namespace {

size_t writeToFile(char* data, size_t size, size_t count, void* file)
{
    auto* f = static_cast<QFile*>(file);
    return static_cast<size_t>(f->write(data, static_cast<qint64>(size * count)));
}

size_t discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

class CurlFtp : public FtpConnection {
public:
    CurlFtp(CURL* curl, QString base) : curl_(curl), base_(std::move(base)) {}
    ~CurlFtp() override { curl_easy_cleanup(curl_); }

    bool SetCurrentDirectory(const QString& folder) override
    {
        QString path = folder.startsWith(QLatin1Char('/')) ? folder : cwd_ + folder;
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        // Listing the folder proves that it exists.
        if (!perform(path, nullptr))
            return false;
        cwd_ = path;
        return true;
    }

    bool GetFile(const QString& remoteFile, const QString& localPath, bool binary) override
    {
        const QString path = remoteFile.startsWith(QLatin1Char('/')) ? remoteFile : cwd_ + remoteFile;
        QFile out(localPath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        curl_easy_setopt(curl_, CURLOPT_TRANSFERTEXT, binary ? 0L : 1L);
        const bool ok = perform(path, &out);
        curl_easy_setopt(curl_, CURLOPT_TRANSFERTEXT, 0L);
        out.close();
        if (!ok)
            QFile::remove(localPath);
        return ok;
    }

    bool perform(const QString& path, QFile* into)
    {
        const QByteArray url = (base_ + QString::fromUtf8(QUrl::toPercentEncoding(path, "/"))).toUtf8();
        curl_easy_setopt(curl_, CURLOPT_URL, url.constData());
        curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, into ? writeToFile : discard);
        curl_easy_setopt(curl_, CURLOPT_WRITEDATA, into);
        curl_easy_setopt(curl_, CURLOPT_DIRLISTONLY, into ? 0L : 1L);
        return curl_easy_perform(curl_) == CURLE_OK;
    }

private:
    CURL* curl_;
    QString base_;
    QString cwd_ = QStringLiteral("/");
};

}  // namespace

std::unique_ptr<FtpConnection> ftpConnect(const QString& host, const QString& user, const QString& password,
                                          int port, bool useProxy)
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!initialised)
        return nullptr;
    CURL* curl = curl_easy_init();
    if (!curl)
        return nullptr;
    const QByteArray userName = user.toUtf8();
    const QByteArray pass = password.toUtf8();
    curl_easy_setopt(curl, CURLOPT_USERNAME, userName.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, pass.constData());
    curl_easy_setopt(curl, CURLOPT_FTP_USE_EPSV, 1L);  // passive
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    if (!useProxy)
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
    const QString base = QStringLiteral("ftp://") + host + (port > 0 ? QStringLiteral(":%1").arg(port) : QString());
    auto connection = std::make_unique<CurlFtp>(curl, base);
    // The login is tried at once, as the old connect call did.
    if (!connection->perform(QStringLiteral("/"), nullptr))
        return nullptr;
    return connection;
}

}  // namespace platform
