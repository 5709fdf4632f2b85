// The writer of every saved file, against what can lie at the target in a shared folder.

#include "core/text/file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace wachtrix {
namespace {

namespace fs = std::filesystem;

class FileWriter : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("wachtrix_writer_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directory(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }
    std::string At(const std::string& name) const { return (dir_ / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Put(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static mode_t Mode(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    // Nothing but the named entries is left in the folder (no temporary file).
    void ExpectOnly(std::initializer_list<const char*> names) const {
        std::size_t count = 0;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            ++count;
            EXPECT_NE(std::find_if(names.begin(), names.end(),
                                   [&](const char* n) { return entry.path().filename() == n; }),
                      names.end())
                << entry.path();
        }
        EXPECT_EQ(count, names.size());
    }
    fs::path dir_;
};

TEST_F(FileWriter, CreatesAndReplacesKeepingThePermissions) {
    EXPECT_EQ(WriteFileSafely(At("new.txt"), "one\n"), "");
    EXPECT_EQ(Read(At("new.txt")), "one\n");
    EXPECT_EQ(Mode(At("new.txt")) & 0600, 0600u);

    Put(At("private.txt"), "old");
    ::chmod(At("private.txt").c_str(), 0600);
    EXPECT_EQ(WriteFileSafely(At("private.txt"), "new"), "");
    EXPECT_EQ(Read(At("private.txt")), "new");
    EXPECT_EQ(Mode(At("private.txt")), 0600u);
    ExpectOnly({"new.txt", "private.txt"});
}

// A link the user named is followed: the file it names is replaced, the link stays a link, also
// when it dangles. Links where the old writers put their temporary files are never followed.
TEST_F(FileWriter, FollowsTheTargetsLinkButNoOther) {
    Put(At("precious"), "precious\n");
    fs::create_symlink("precious", At(".out.csv.wachtrix-tmp"));
    fs::create_symlink("precious", At(".out.csv.tmp0"));
    EXPECT_EQ(WriteFileSafely(At("out.csv"), "chart,x,y\n"), "");
    EXPECT_EQ(Read(At("precious")), "precious\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(At("out.csv"))));

    fs::create_symlink("real.txt", At("link.txt"));
    EXPECT_EQ(WriteFileSafely(At("link.txt"), "through"), "");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(At("link.txt"))));
    EXPECT_EQ(Read(At("real.txt")), "through");
    EXPECT_EQ(WriteFileSafely(At("link.txt"), "again"), "");
    EXPECT_EQ(Read(At("real.txt")), "again");
}

// A FIFO (or a terminal, or /dev/stdout) is written to, never replaced by a regular file.
TEST_F(FileWriter, WritesADeviceOrFifoDirectly) {
    ASSERT_EQ(::mkfifo(At("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = Read(At("pipe")); });
    EXPECT_EQ(WriteFileSafely(At("pipe"), "through the pipe"), "");
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(At("pipe"))));
    EXPECT_EQ(WriteFileSafely("/dev/null", "gone"), "");
}

TEST_F(FileWriter, AFailedWriteSaysWhyAndLeavesTheOldFile) {
    Put(At("kept.txt"), "old");
    EXPECT_EQ(WriteFileSafely(dir_.string(), "x"), "Is a directory");
    EXPECT_EQ(WriteFileSafely(At("missing/out.txt"), "x"), "No such file or directory");
    EXPECT_EQ(WriteFileSafely("", "x"), "no file name");
    if (::geteuid() != 0) {  // root writes into a read-only folder all the same
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(WriteFileSafely(At("kept.txt"), "new"), "Permission denied");
        fs::permissions(dir_, fs::perms::owner_all);
    }
    EXPECT_EQ(Read(At("kept.txt")), "old");
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(WriteFileSafely("/dev/full", "no room"), "No space left on device");
    }
    ExpectOnly({"kept.txt"});
}

}  // namespace
}  // namespace wachtrix
