#include "core/document/InsertBook.h"

#include "core/document/InsertFile.h"

namespace led {

namespace fs = std::filesystem;

FileResult InsertBook::load(const fs::path& path)
{
    std::optional<Bytes> bytes;
    FileResult r = readFileIfExists(path, bytes);
    if (bytes)
        readInsertImage(*bytes, *this);
    return r;
}

FileResult InsertBook::save(const fs::path& path) const
{
    return writeFileCreatingFolder(path, writeInsertImage(*this));
}

} // namespace led
