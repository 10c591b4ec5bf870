#pragma once

#include "core/text/Big5.h"

#include <filesystem>
#include <optional>
#include <string>

namespace led {

struct FileResult
{
    bool ok = true;
    std::string error; // the system's reason (UTF-8), empty on success

    explicit operator bool() const { return ok; }
    static FileResult failure(std::string reason) { return {false, std::move(reason)}; }
};

// Where a write may be made to fail in tests: the old file must survive each of them.
enum class WriteFault
{
    None,
    Create,
    Write,
    Sync,
    Rename
};

// The whole file, or nothing with the reason in *error (a missing file is an error too).
std::optional<Bytes> readFileBytes(const std::filesystem::path& path, std::string* error = nullptr);

// The whole file in *bytes when it exists; a missing file leaves *bytes empty and is no error.
FileResult readFileIfExists(const std::filesystem::path& path, std::optional<Bytes>& bytes);

// Writes a temporary file beside path, flushes it to disk and renames it over path, so a
// reader sees the old file or the new one, whole. On failure the old file is untouched.
FileResult writeFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                           WriteFault fault = WriteFault::None);

// Creates the folder and its parents when missing.
FileResult ensureFolder(const std::filesystem::path& folder);

// writeFileAtomic after creating a missing parent folder.
FileResult writeFileCreatingFolder(const std::filesystem::path& path, std::string_view bytes);

} // namespace led
