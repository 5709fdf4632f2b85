// The writer of every saved file, against what can lie at the target in a shared folder.

#include "core/text/file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "support/temp_folder.h"

namespace wachtrix {
namespace {

namespace fs = std::filesystem;

using FileWriter = testing::TempFolder;
using testing::ReadFile;
using testing::WriteFile;

mode_t Mode(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST_F(FileWriter, CreatesAndReplacesKeepingThePermissions) {
    EXPECT_EQ(WriteFileSafely(At("new.txt"), "one\n"), "");
    EXPECT_EQ(ReadFile(At("new.txt")), "one\n");
    EXPECT_EQ(Mode(At("new.txt")) & 0600, 0600u);

    WriteFile(At("private.txt"), "old");
    ::chmod(At("private.txt").c_str(), 0600);
    EXPECT_EQ(WriteFileSafely(At("private.txt"), "new"), "");
    EXPECT_EQ(ReadFile(At("private.txt")), "new");
    EXPECT_EQ(Mode(At("private.txt")), 0600u);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"new.txt", "private.txt"}));  // no temporary
}

// A link the user named is followed: the file it names is replaced, the link stays a link, also
// when it dangles. Links where the old writers put their temporary files are never followed.
TEST_F(FileWriter, FollowsTheTargetsLinkButNoOther) {
    WriteFile(At("precious"), "precious\n");
    fs::create_symlink("precious", At(".out.csv.wachtrix-tmp"));
    fs::create_symlink("precious", At(".out.csv.tmp0"));
    EXPECT_EQ(WriteFileSafely(At("out.csv"), "chart,x,y\n"), "");
    EXPECT_EQ(ReadFile(At("precious")), "precious\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(At("out.csv"))));

    fs::create_symlink("real.txt", At("link.txt"));
    EXPECT_EQ(WriteFileSafely(At("link.txt"), "through"), "");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(At("link.txt"))));
    EXPECT_EQ(ReadFile(At("real.txt")), "through");
    EXPECT_EQ(WriteFileSafely(At("link.txt"), "again"), "");
    EXPECT_EQ(ReadFile(At("real.txt")), "again");
}

// A FIFO (or a terminal, or /dev/stdout) is written to, never replaced by a regular file.
TEST_F(FileWriter, WritesADeviceOrFifoDirectly) {
    ASSERT_EQ(::mkfifo(At("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ReadFile(At("pipe")); });
    EXPECT_EQ(WriteFileSafely(At("pipe"), "through the pipe"), "");
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(At("pipe"))));
    EXPECT_EQ(WriteFileSafely("/dev/null", "gone"), "");
}

TEST_F(FileWriter, AFailedWriteSaysWhyAndLeavesTheOldFile) {
    WriteFile(At("kept.txt"), "old");
    EXPECT_EQ(WriteFileSafely(dir_.string(), "x"), "Is a directory");
    EXPECT_EQ(WriteFileSafely(At("missing/out.txt"), "x"), "No such file or directory");
    EXPECT_EQ(WriteFileSafely("", "x"), "no file name");
    if (::geteuid() != 0) {  // root writes into a read-only folder all the same
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(WriteFileSafely(At("kept.txt"), "new"), "Permission denied");
        fs::permissions(dir_, fs::perms::owner_all);
    }
    EXPECT_EQ(ReadFile(At("kept.txt")), "old");
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(WriteFileSafely("/dev/full", "no room"), "No space left on device");
    }
    EXPECT_EQ(Listing(), std::vector<std::string>{"kept.txt"});
}

}  // namespace
}  // namespace wachtrix
