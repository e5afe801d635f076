#pragma once
// The one-instance rule of the program: a lock on a file that the system releases when the
// holding process ends in any way, so a killed instance never blocks the next start.

#include <filesystem>

namespace vortexa {

// $XDG_RUNTIME_DIR/vortexa.lock when that names an absolute folder, else /tmp/vortexa-<uid>.lock.
std::filesystem::path instanceLockPath();

class InstanceLock {
public:
    explicit InstanceLock(std::filesystem::path path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock unless another process holds it; true only when another process holds it.
    // A lock file that cannot be opened at all counts as free, since a saver that never starts is
    // worse than a second one.
    bool heldElsewhere();
    bool held() const { return m_fd >= 0; }

private:
    std::filesystem::path m_path;
    int m_fd = -1;
};

} // namespace vortexa
