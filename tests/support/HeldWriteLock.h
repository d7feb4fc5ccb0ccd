// Another writer holding an exclusive lock on a database file for a while, through a handle of
// its own on a thread of its own, as another program would: until it lets go, the file can be
// neither read nor written by anyone else.
#pragma once

#include <QString>
#include <thread>

class HeldWriteLock {
public:
    // Returns once the lock is held; it is let go `milliseconds` later.
    HeldWriteLock(const QString& file, int milliseconds);
    ~HeldWriteLock();   // waits until it has been let go
    HeldWriteLock(const HeldWriteLock&) = delete;
    HeldWriteLock& operator=(const HeldWriteLock&) = delete;

    bool held() const { return held_; }

private:
    std::thread thread_;
    bool held_ = false;
};
