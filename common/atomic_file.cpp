#include "common/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "common/platform.h"

namespace qarn {

namespace {

// What a temporary's name adds to its target's: hidden, and recognisable as
// this program's, so one left by a killed run can be found and removed.
constexpr char TEMP_PREFIX = '.';
constexpr const char* TEMP_SUFFIX = ".qarn-";

// The folder part (with its separator) and the name part of a path.
std::pair<std::string, std::string> splitPath(const std::string& path)
{
    const std::size_t slash = path.find_last_of(platform::FOLDER_SEPARATORS);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return {path.substr(0, nameStart), path.substr(nameStart)};
}

// ".<name>.qarn-" and `kind`, the name cut short where the whole and its
// unique ending would pass the longest name a folder entry may have: a target
// whose own name fits must not fail for its temporary's.
std::string temporaryStem(const std::string& name, const std::string& kind = {})
{
    const std::size_t room =
        platform::longestName() - 1 - std::strlen(TEMP_SUFFIX) - kind.size() - platform::UNIQUE_ENDING;
    return TEMP_PREFIX + name.substr(0, room) + TEMP_SUFFIX + kind;
}

// A temporary's name (or, of kind "spare-", the earlier file's second name
// while commitAll runs) before its unique ending is added.
std::string temporaryPattern(const std::string& target, const std::string& kind = {})
{
    const auto [folder, name] = splitPath(target);
    return folder + temporaryStem(name, kind);
}

// Removes the temporaries of `target` that no run claims: those of a run that
// was killed while saving.
void removeStaleTemporaries(const std::string& target)
{
    const auto [folder, name] = splitPath(target);
    const std::string stem = temporaryStem(name);
    for (const std::string& entry : platform::folderEntries(folder.empty() ? "." : folder))
        if (entry.size() == stem.size() + platform::UNIQUE_ENDING && entry.compare(0, stem.size(), stem) == 0)
            platform::removeUnclaimed(folder + entry);
}

} // namespace

AtomicFile::AtomicFile(std::string targetPath) : target_(std::move(targetPath)) {}

AtomicFile::~AtomicFile() { discard(); }

FileResult AtomicFile::fail(FileResult result)
{
    const int code = errno;
    // A folder or device in the file's place is the whole reason.
    error_ = result == FileResult::NotRegular ? describe(result)
                                              : std::string(describe(result)) + ": " + std::strerror(code);
    discard();
    return result;
}

FileResult AtomicFile::open()
{
    discard();
    error_.clear();
    if (target_.empty()) {
        errno = ENOENT;
        return fail(FileResult::NoName);
    }
    // Never over a FIFO, device or folder; a file replaced keeps its permissions.
    const platform::PathKind existing = platform::inspect(target_);
    if (existing.exists && !existing.regular) {
        errno = EINVAL;
        return fail(FileResult::NotRegular);
    }
    removeStaleTemporaries(target_);
    std::string name = temporaryPattern(target_);
    file_ = platform::createUniqueFile(name, existing);
    if (!file_)
        return fail(FileResult::CannotCreate);
    temp_ = name;
    claim_ = platform::claimFile(file_);
    return FileResult::Ok;
}

FileResult AtomicFile::finish()
{
    if (!file_) {
        if (temp_.empty() && error_.empty())
            error_ = "the file was not opened";
        return temp_.empty() ? FileResult::WriteFailed : FileResult::Ok;
    }
    const bool writeFailed = std::ferror(file_) != 0;
    if (writeFailed) {
        errno = errno ? errno : EIO;
        return fail(FileResult::WriteFailed);
    }
    if (!platform::flushToDisk(file_))
        return fail(FileResult::WriteFailed);
    std::FILE* f = std::exchange(file_, nullptr);
    if (std::fclose(f) != 0)
        return fail(FileResult::WriteFailed);
    return FileResult::Ok;
}

FileResult AtomicFile::commit()
{
    if (const FileResult finished = finish(); finished != FileResult::Ok)
        return finished;
    if (!platform::replaceFile(temp_, target_))
        return fail(FileResult::CannotReplace);
    temp_.clear();
    dropClaim();
    return FileResult::Ok;
}

FileResult commitAll(const std::vector<AtomicFile*>& files)
{
    for (AtomicFile* file : files)
        if (const FileResult finished = file->finish(); finished != FileResult::Ok)
            return finished;
    // Keep each target's earlier file under a spare name until the last is
    // in place, so a failure puts every one committed so far back.
    struct Earlier {
        bool existed = false;
        bool backedUp = false;
        std::string backup;
    };
    std::vector<Earlier> earlier(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& target = files[i]->targetPath();
        Earlier& kept = earlier[i];
        kept.existed = platform::inspect(target).exists;
        if (i + 1 < files.size()) {
            kept.backup = temporaryPattern(target, "spare-");
            kept.backedUp = platform::keepSpareName(target, kept.backup);
        }
        if (const FileResult moved = files[i]->commit(); moved != FileResult::Ok) {
            for (std::size_t j = i; j-- > 0;) {
                if (earlier[j].backedUp)
                    platform::replaceFile(earlier[j].backup, files[j]->targetPath());
                else if (!earlier[j].existed)
                    platform::removeFile(files[j]->targetPath());
            }
            if (kept.backedUp)
                platform::removeFile(kept.backup);
            return moved;
        }
    }
    for (const Earlier& kept : earlier)
        if (kept.backedUp)
            platform::removeFile(kept.backup);
    return FileResult::Ok;
}

FileResult commitBoth(AtomicFile& first, AtomicFile& second)
{
    return commitAll({&first, &second});
}

void AtomicFile::discard()
{
    const int saved = errno;
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        platform::removeFile(temp_);
        temp_.clear();
    }
    dropClaim();
    errno = saved;
}

void AtomicFile::dropClaim()
{
    platform::dropClaim(std::exchange(claim_, -1));
}

} // namespace qarn
