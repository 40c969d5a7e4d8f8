#include "app/singleinstance.h"

#include "app/endprogram.h"
#include "platform/seam/Seam.h"

#include <QDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
const QString kLockFile = QStringLiteral(".kelva.lock");

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
}  // namespace

SingleInstance::SingleInstance(const QString& folder)
{
    const QByteArray path = QDir(folder).filePath(kLockFile).toLocal8Bit();
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        failure_ = reason(errno);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            heldByAnother_ = true;
        else
            failure_ = reason(error);
        return;
    }
    fd_ = fd;
}

SingleInstance::~SingleInstance()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::unique_ptr<SingleInstance> claimProgramFolder(const QString& folder)
{
    auto instance = std::make_unique<SingleInstance>(folder);
    if (instance->heldByAnother()) {
        EndProgram(0);
    } else if (!instance->acquired()) {
        platform::seam().MsgBox(
            QStringLiteral("KELVA Morvex cannot start: it cannot make its lock file \"%1\" in the program folder "
                           "%2\r\n\r\n%3.")
                .arg(kLockFile, QDir::toNativeSeparators(folder), instance->failure()),
            vbOKOnly + vbCritical);
        EndProgram(1);
    }
    return instance;
}
