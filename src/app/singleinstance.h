#pragma once
#include <QString>
#include <memory>

// Keeps the program to one instance per program folder: an advisory lock on a file there.
// The lock goes with the process, so a crashed run leaves nothing behind.
class SingleInstance {
public:
    explicit SingleInstance(const QString& folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    bool acquired() const { return fd_ >= 0; }
    // True only when another instance holds the lock; a lock file that cannot be made or locked for any
    // other reason is a failure (failure() says why), not a running instance.
    bool heldByAnother() const { return heldByAnother_; }
    QString failure() const { return failure_; }

private:
    int fd_ = -1;
    bool heldByAnother_ = false;
    QString failure_;
};

// Takes the program folder's lock for this run. When another instance holds it, the program ends at once
// and shows nothing; when the lock cannot be made at all, the user is told why and the program ends with
// status 1.
std::unique_ptr<SingleInstance> claimProgramFolder(const QString& folder);
