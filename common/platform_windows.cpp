// The platform calls on Windows: UTF-8 paths inside, wide characters at the
// API; files opened through CreateFileW and handed to C streams in binary mode.
#include "common/platform.h"

#include <windows.h>

#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cwctype>
#include <filesystem>
#include <random>
#include <system_error>

namespace qarn::platform {

namespace {

std::wstring wide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// The C library's words for the system's last error, so messages read alike.
void setErrnoFromLastError()
{
    switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        errno = ENOENT;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        errno = EACCES;
        break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        errno = EEXIST;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        errno = ENOSPC;
        break;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
        errno = EINVAL;
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        errno = ENAMETOOLONG;
        break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        errno = ENOMEM;
        break;
    default:
        errno = EIO;
    }
}

// CON, NUL, COM1 and the like name a device in every folder, with or
// without an extension: never a file to read or replace.
bool isDeviceName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\:");
    std::string base = path.substr(slash == std::string::npos ? 0 : slash + 1);
    base = base.substr(0, base.find('.'));
    while (!base.empty() && (base.back() == ' '))
        base.pop_back();
    for (char& c : base)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
           base[3] <= '9';
}

std::string uniqueEnding()
{
    static std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(::GetTickCount64()) ^
                                  ::GetCurrentProcessId()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string ending;
    for (int i = 0; i < 6; ++i)
        ending += letters[random() % (sizeof letters - 1)];
    return ending;
}

// A C stream over a handle; closing the stream closes the handle.
std::FILE* streamFor(HANDLE handle, int flags, const char* mode)
{
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, mode);
    if (!file) {
        const int code = errno;
        ::_close(fd);
        errno = code;
    }
    return file;
}

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

} // namespace

std::string makePrivateFolder(const std::string& prefix)
{
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH) {
        setErrnoFromLastError();
        return {};
    }
    const std::string base = utf8(std::wstring(buffer, n)) + prefix;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = base + uniqueEnding();
        if (::CreateDirectoryW(wide(path).c_str(), nullptr))
            return path;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    setErrnoFromLastError();
    return {};
}

void removeFolderTree(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(wide(path)), ignored);
}

PathKind inspect(const std::string& path)
{
    if (isDeviceName(path))
        return {true, false, 0};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data))
        return {};
    return {true, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0, 0};
}

std::FILE* openRegularForReading(const std::string& path, bool& notRegular)
{
    notRegular = false;
    const PathKind kind = inspect(path);
    if (kind.exists && !kind.regular) {
        errno = EINVAL;
        notRegular = true;
        return nullptr;
    }
    const HANDLE handle = ::CreateFileW(wide(path).c_str(), GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        setErrnoFromLastError();
        return nullptr;
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        errno = EINVAL;
        notRegular = true;
        return nullptr;
    }
    return streamFor(handle, _O_RDONLY, "rb");
}

std::FILE* createUniqueFile(std::string& path, const PathKind&)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = path + uniqueEnding();
        const HANDLE handle = ::CreateFileW(wide(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            path = name;
            return streamFor(handle, _O_WRONLY, "wb");
        }
        if (::GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    setErrnoFromLastError();
    return nullptr;
}

bool flushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
    const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    if (!::FlushFileBuffers(handle)) {
        setErrnoFromLastError();
        return false;
    }
    return true;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    if (::MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    setErrnoFromLastError();
    return false;
}

bool keepSpareName(const std::string& target, std::string& spare)
{
    // A second name where the file system has them, a copy where it has not (FAT).
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = spare + uniqueEnding();
        if (::CreateHardLinkW(wide(name).c_str(), wide(target).c_str(), nullptr) ||
            ::CopyFileW(wide(target).c_str(), wide(name).c_str(), TRUE)) {
            spare = name;
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    setErrnoFromLastError();
    return false;
}

bool removeFile(const std::string& path)
{
    if (::DeleteFileW(wide(path).c_str()))
        return true;
    setErrnoFromLastError();
    return false;
}

std::size_t longestName()
{
    return 255;
}

// A file this run writes is opened without sharing, so no other run can
// open or remove it: the open handle is the claim.
int claimFile(std::FILE*)
{
    return -1;
}

void dropClaim(int) {}

bool removeUnclaimed(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 || isDeviceName(path))
        return false;
    return removeFile(path);
}

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = utf8(found.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

std::FILE* openLockedScratchFile(const std::string& path)
{
    if (isDeviceName(path)) {
        errno = EINVAL;
        return nullptr;
    }
    for (;;) {
        // The link itself is opened, not what it points to, and then refused.
        const HANDLE handle =
            ::CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, SHARE_ALL, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            setErrnoFromLastError();
            return nullptr;
        }
        BY_HANDLE_FILE_INFORMATION opened{};
        OVERLAPPED whole{};
        if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &opened) ||
            (opened.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
            !::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
            ::CloseHandle(handle);
            errno = EINVAL;
            return nullptr;
        }
        // The build that held the lock may have removed the file meanwhile;
        // then the lock is on a file nobody else will see: start again.
        const HANDLE named = ::CreateFileW(wide(path).c_str(), 0, SHARE_ALL, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        BY_HANDLE_FILE_INFORMATION now{};
        const bool same = named != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(named, &now) &&
                          now.dwVolumeSerialNumber == opened.dwVolumeSerialNumber &&
                          now.nFileIndexHigh == opened.nFileIndexHigh && now.nFileIndexLow == opened.nFileIndexLow;
        if (named != INVALID_HANDLE_VALUE)
            ::CloseHandle(named);
        if (!same) {
            ::CloseHandle(handle);
            continue;
        }
        if (!::SetEndOfFile(handle)) {
            setErrnoFromLastError();
            ::CloseHandle(handle);
            return nullptr;
        }
        return streamFor(handle, _O_RDWR, "w+b");
    }
}

std::int64_t tell(std::FILE* stream)
{
    return ::_ftelli64(stream);
}

bool seek(std::FILE* stream, std::int64_t offset, int origin)
{
    return ::_fseeki64(stream, offset, origin) == 0;
}

std::vector<std::string> programArguments(int, char**)
{
    // The arguments as typed, not as the code page could hold them.
    int count = 0;
    wchar_t** wideArguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = count - 1; i >= 1; --i)
        arguments.push_back(utf8(wideArguments[i]));
    ::LocalFree(wideArguments);
    // Reports and messages end lines with "\n" alone, as on Linux.
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    return arguments;
}

} // namespace qarn::platform
