#include "core/document/FileIO.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace led {
namespace {

std::string systemReason(int err)
{
    return std::strerror(err);
}

bool writeAll(int fd, std::string_view bytes)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::optional<Bytes> readFileBytes(const std::filesystem::path& path, std::string* error)
{
    auto fail = [&](int err) -> std::optional<Bytes> {
        if (error)
            *error = path.string() + ": " + systemReason(err);
        return std::nullopt;
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    Bytes bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return fail(err);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

FileResult readFileIfExists(const std::filesystem::path& path, std::optional<Bytes>& bytes)
{
    bytes.reset();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return {};
    std::string error;
    bytes = readFileBytes(path, &error);
    return bytes ? FileResult{} : FileResult::failure(error);
}

FileResult writeFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                           WriteFault fault)
{
    const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string tmpl = (folder / ("." + path.filename().string() + ".XXXXXX")).string();

    int fd = fault == WriteFault::Create ? (errno = ENOSPC, -1) : ::mkstemp(tmpl.data());
    if (fd < 0)
        return FileResult::failure(path.string() + ": " + systemReason(errno));

    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        return FileResult::failure(path.string() + ": " + systemReason(err));
    };

    if (fault == WriteFault::Write) {
        writeAll(fd, bytes.substr(0, bytes.size() / 2));
        return fail(ENOSPC);
    }
    if (!writeAll(fd, bytes))
        return fail(errno);
    // Keep the permissions an existing file had; a new file gets the usual ones.
    struct stat st
    {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    ::fchmod(fd, mode);
    if (fault == WriteFault::Sync)
        return fail(EIO);
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        return FileResult::failure(path.string() + ": " + systemReason(err));
    }
    if (fault == WriteFault::Rename || ::rename(tmpl.c_str(), path.c_str()) != 0) {
        const int err = fault == WriteFault::Rename ? EXDEV : errno;
        ::unlink(tmpl.c_str());
        return FileResult::failure(path.string() + ": " + systemReason(err));
    }
    // The rename itself must reach the disk for the new file to survive a power cut.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

FileResult ensureFolder(const std::filesystem::path& folder)
{
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec))
        return {};
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return FileResult::failure(folder.string() + ": " + ec.message());
    return {};
}

FileResult writeFileCreatingFolder(const std::filesystem::path& path, std::string_view bytes)
{
    if (path.has_parent_path())
        if (auto made = ensureFolder(path.parent_path()); !made)
            return made;
    return writeFileAtomic(path, bytes);
}

} // namespace led
