#pragma once
// Saving when the disk gives out: a per-process write limit that fails every write past N bytes of
// a file (as a device that fills up would), and a real small filesystem that can be filled up.
#include <QString>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace lintaro::test {

// While it lives, every write of this process that would make a file longer than `bytes` fails
// with "File too large".
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit old_{};
    struct sigaction oldAction_ {};
};

// A 64 KiB tmpfs mounted on a temporary folder. Mounting needs root; where this machine refuses,
// Mounted() is false and Reason() says why, so that the test can skip saying so.
class SmallDisk {
public:
    SmallDisk();
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    QString Reason() const { return reason_; }
    QString FilePath(const QString& name) const { return dir_.filePath(name); }
    // Fills the free space with a file "filler" until the system refuses more.
    void Fill();
    // The names in the folder, sorted.
    QStringList Names() const;

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString reason_;
};

} // namespace lintaro::test
