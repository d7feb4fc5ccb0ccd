#include "HeldWriteLock.h"

#include <sqlite3.h>

#include <chrono>
#include <future>

HeldWriteLock::HeldWriteLock(const QString& file, int milliseconds)
{
    std::promise<bool> locked;
    std::future<bool> isLocked = locked.get_future();
    const QByteArray path = file.toUtf8();
    thread_ = std::thread([path, milliseconds, &locked] {
        sqlite3* db = nullptr;
        const bool ok = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
                        && sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        locked.set_value(ok);
        if (ok) {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        }
        sqlite3_close(db);
    });
    held_ = isLocked.get();
}

HeldWriteLock::~HeldWriteLock()
{
    thread_.join();
}
