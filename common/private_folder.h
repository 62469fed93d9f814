#pragma once

#include <string>

namespace qarn {

// A folder of one run's own under the system's temporary folder ($TMPDIR or
// /tmp on Linux), for files that must not meet another run's, such as a
// build's height values file. Errors: path() is
// empty when the folder could not be made (errno says why); the object owns
// the folder and removes it with everything in it when destroyed.
class PrivateFolder {
public:
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace qarn
