#pragma once
// The one-instance rule of the program: one show for each user on each display, held as a lock on
// a file that the system releases when the holding process ends in any way, so a killed instance
// never blocks the next start.

#include <filesystem>
#include <optional>
#include <string>

namespace vortexa {

// The lock file's name for a display (":1.0" and ":1" are the same display).
std::string instanceLockName(const char* display);

// A folder only this user can write: $XDG_RUNTIME_DIR when it names one, else /tmp/vortexa-<uid>,
// made with mode 0700 when missing. Nothing when no such folder can be had.
std::optional<std::filesystem::path> privateFolder();

class InstanceLock {
public:
    // The lock of this user's show on the display of $DISPLAY.
    InstanceLock();
    // The lock held in this file.
    explicit InstanceLock(std::filesystem::path path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock unless another process holds it; true only when another process holds it.
    // A lock that cannot be had safely (no private folder, a file that is not this user's own)
    // counts as free, since a saver that never starts is worse than a second one.
    bool heldElsewhere();
    bool held() const { return m_fd >= 0; }

private:
    std::optional<std::filesystem::path> m_path;
    int m_fd = -1;
};

} // namespace vortexa
