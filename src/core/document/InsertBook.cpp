#include "core/document/InsertBook.h"

#include "core/document/InsertFile.h"

namespace led {

namespace fs = std::filesystem;

FileResult InsertBook::load(const fs::path& path)
{
    std::error_code ec;
    if (!fs::exists(path, ec))
        return {};
    std::string error;
    auto bytes = readFileBytes(path, &error);
    if (!bytes)
        return FileResult::failure(error);
    readInsertImage(*bytes, *this);
    return {};
}

FileResult InsertBook::save(const fs::path& path) const
{
    if (path.has_parent_path())
        if (auto made = ensureFolder(path.parent_path()); !made)
            return made;
    return writeFileAtomic(path, writeInsertImage(*this));
}

} // namespace led
