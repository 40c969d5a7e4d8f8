#pragma once
#include <QString>

// Keeps the program to one instance per program folder: an advisory lock on a file there.
// The lock goes with the process, so a crashed run leaves nothing behind.
class SingleInstance {
public:
    explicit SingleInstance(const QString& folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // False when another instance already holds the lock.
    bool acquired() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};
