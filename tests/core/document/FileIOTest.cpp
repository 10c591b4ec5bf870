#include "core/document/FileIO.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace led {
namespace {

TEST(FileIO, AtomicWriteReplacesTheFile)
{
    test::TempDir dir;
    const auto path = dir / "a.MSG";
    ASSERT_TRUE(writeFileAtomic(path, "old"));
    ASSERT_TRUE(writeFileAtomic(path, Bytes("new\0bytes", 9)));
    EXPECT_EQ(readFileBytes(path), Bytes("new\0bytes", 9));
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(FileIO, AFailedWriteLeavesTheOldFile)
{
    for (auto fault :
         {WriteFault::Create, WriteFault::Write, WriteFault::Sync, WriteFault::Rename}) {
        test::TempDir dir;
        const auto path = dir / "a.CFG";
        ASSERT_TRUE(writeFileAtomic(path, "old contents"));
        const FileResult r = writeFileAtomic(path, "new contents", fault);
        EXPECT_FALSE(r) << int(fault);
        EXPECT_NE(r.error.find("a.CFG"), std::string::npos) << r.error;
        EXPECT_EQ(readFileBytes(path), Bytes("old contents")) << int(fault);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

TEST(FileIO, WriteIntoAMissingFolderFailsWithTheSystemsReason)
{
    test::TempDir dir;
    const FileResult r = writeFileAtomic(dir / "missing" / "x", "data");
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("No such file"), std::string::npos) << r.error;
    std::string error;
    EXPECT_FALSE(readFileBytes(dir / "nothing", &error));
    EXPECT_FALSE(error.empty());
}

TEST(FileIO, EnsureFolderCreatesParents)
{
    test::TempDir dir;
    EXPECT_TRUE(ensureFolder(dir / "a/b/DATA"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/b/DATA"));
    EXPECT_TRUE(writeFileAtomic(dir / "file", "x"));
    EXPECT_FALSE(ensureFolder(dir / "file" / "DATA"));
}

} // namespace
} // namespace led
