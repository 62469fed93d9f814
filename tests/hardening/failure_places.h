#pragma once

// Places where writing a file fails the way it does on a user's machine: a
// read-only folder, a full disk, a folder that is not there, a name too long
// for the file system. As root the test process enters a mount namespace of
// its own, where a small tmpfs is a full disk and a read-only bind mount a
// read-only folder; without it a file size limit stands in for the full disk
// and permissions for the read-only folder (ordinary users only).
// Errors: setup() returns an empty text, or why the place cannot be made here
// (the test then skips with that text). The place owns its mounts and removes
// them when it goes.

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <sched.h>

#include "tests/support/temp_dir.h"

namespace hardening {

// Must run while the process has one thread (before QApplication).
inline bool privateMounts()
{
    static const bool entered = [] {
        if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0)
            return false;
        // Mounts made from here on stay inside this process and its children.
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    return entered;
}

enum class Place { ReadOnlyFolder, FullDisk, MissingFolder, Ordinary };

inline const char* placeName(Place p)
{
    switch (p) {
    case Place::ReadOnlyFolder:
        return "read-only folder";
    case Place::FullDisk:
        return "full disk";
    case Place::MissingFolder:
        return "missing folder";
    case Place::Ordinary:
        return "ordinary folder";
    }
    return "";
}

// A folder of the given kind under a fresh temporary directory. Earlier files
// are put in with `keep()` before `setup()` turns the folder read-only or
// fills its disk.
class FailurePlace {
public:
    explicit FailurePlace(Place place, const std::string& folderName = "place") : place_(place)
    {
        folder_ = base_.path() / folderName;
        if (place_ != Place::MissingFolder)
            std::filesystem::create_directory(folder_);
        if (place_ == Place::FullDisk && privateMounts()) {
            mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=64k") == 0;
        }
    }
    ~FailurePlace()
    {
        if (limited_) {
            ::setrlimit(RLIMIT_FSIZE, &previousLimit_);
            std::signal(SIGXFSZ, previousHandler_);
        }
        if (roMounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
        std::error_code ec;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ec);
    }
    FailurePlace(const FailurePlace&) = delete;
    FailurePlace& operator=(const FailurePlace&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    std::string file(const std::string& name) const { return (folder_ / name).string(); }

    // An earlier file that a failed write must leave as it is.
    void keep(const std::string& name, const std::string& bytes) { qarn_test::writeFile(folder_ / name, bytes); }

    // Turns the folder into the failing place; empty text when done.
    std::string setup()
    {
        switch (place_) {
        case Place::ReadOnlyFolder:
            if (privateMounts()) {
                roMounted_ = ::mount(folder_.c_str(), folder_.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
                             ::mount(nullptr, folder_.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
                if (roMounted_)
                    return {};
            }
            if (::geteuid() == 0)
                return "root without a mount namespace writes into read-only folders";
            std::filesystem::permissions(folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
            return {};
        case Place::FullDisk:
            if (mounted_) {
                // Fill what the earlier files left free.
                std::FILE* filler = std::fopen((folder_ / "filler").c_str(), "wb");
                if (!filler)
                    return "cannot fill the small disk";
                const std::string block(1024, 'f');
                while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
                }
                std::fclose(filler);
                return {};
            }
            // A file size limit fails writes part way, as a full disk does.
            ::getrlimit(RLIMIT_FSIZE, &previousLimit_);
            previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
            {
                rlimit small = previousLimit_;
                small.rlim_cur = 64;
                limited_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
            }
            return limited_ ? std::string() : "neither a small tmpfs nor a file size limit is available";
        case Place::MissingFolder:
        case Place::Ordinary:
            return {};
        }
        return {};
    }

    // Lifts the limit or the read-only state, so the test can look around.
    void lift()
    {
        if (limited_) {
            ::setrlimit(RLIMIT_FSIZE, &previousLimit_);
            std::signal(SIGXFSZ, previousHandler_);
            limited_ = false;
        }
    }

    // The words the system uses for this place's failure.
    std::string reason() const
    {
        switch (place_) {
        case Place::ReadOnlyFolder:
            return roMounted_ ? "Read-only file system" : "Permission denied";
        case Place::FullDisk:
            return mounted_ ? "No space left on device" : "File too large";
        case Place::MissingFolder:
            return "No such file or directory";
        case Place::Ordinary:
            return "";
        }
        return "";
    }

    // A small disk whose filler keeps earlier files company.
    bool isSmallDisk() const { return mounted_; }

private:
    Place place_;
    qarn_test::TempDir base_;
    std::filesystem::path folder_;
    bool mounted_ = false;
    bool roMounted_ = false;
    bool limited_ = false;
    rlimit previousLimit_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

} // namespace hardening
