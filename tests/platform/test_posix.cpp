// The real clock and process seams.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileRead.h"
#include "platform/PosixClock.h"
#include "platform/PosixProcess.h"
#include "platform/testing/TestSeams.h"

namespace {

namespace fs = std::filesystem;

TEST(PosixProcess, KnowsItsOwnExecutable) {
    plat::PosixProcess process;
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(process.exeFolder(), exe.parent_path().string());
    EXPECT_EQ(process.exeName(), "test_platform");
    EXPECT_NE(process.exeFolder().back(), '/');
    const plat::Version v = process.version();
    EXPECT_GE(v.major, 0);
    EXPECT_GE(v.minor, 0);
    EXPECT_GE(v.revision, 0);
}

TEST(PosixProcess, LocalTimeIsACalendarTime) {
    plat::PosixProcess process;
    const plat::LocalTime t = process.localTime();
    EXPECT_GE(t.year, 2020);
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.month, 12);
    EXPECT_GE(t.day, 1);
    EXPECT_LE(t.day, 31);
    EXPECT_LE(t.hour, 23);
    EXPECT_LE(t.minute, 59);
    EXPECT_LE(t.second, 60);
}

class TempFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string folderTemplate = (fs::temp_directory_path() / "posix-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(folderTemplate.data()), nullptr);
        folder = folderTemplate;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(folder, ec);
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    fs::path folder;
};

TEST_F(TempFolder, AppendCreatesThenAppendsBytesUnchanged) {
    plat::PosixProcess process;
    const std::string path = (folder / "log.txt").string();
    EXPECT_TRUE(process.appendToFile(path, "[一]\r\n"));
    EXPECT_TRUE(process.appendToFile(path, "two\r\n"));
    EXPECT_EQ(read(path), "[一]\r\ntwo\r\n");
}

TEST_F(TempFolder, AppendToAFolderThatCannotBeWrittenFailsAndCreatesNothing) {
    plat::PosixProcess process;
    EXPECT_FALSE(process.appendToFile((folder / "missing" / "log.txt").string(), "x"));
    if (geteuid() != 0) { // root writes anywhere
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(process.appendToFile((folder / "log.txt").string(), "x"));
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_FALSE(fs::exists(folder / "log.txt"));
    }
}

TEST_F(TempFolder, AnAppendTheDiskCannotHoldLeavesTheFileAsItWas) {
    const std::string path = (folder / "log.txt").string();
    const std::string kept = "[一]\r\n";
    const std::string entry = "[二] 書けない行\r\n";
    // A full disk in a child process: the file size limit at the old end, and inside the
    // entry's second character (a short write).
    const auto appendWithRoom = [&](rlim_t room) {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
        const rlimit limit{kept.size() + room, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::_Exit(plat::PosixProcess().appendToFile(path, entry) ? 1 : 0);
    };
    for (const rlim_t room : {rlim_t{0}, rlim_t{3}}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << kept;
        EXPECT_EXIT(appendWithRoom(room), ::testing::ExitedWithCode(0), "") << "room " << room;
        EXPECT_EQ(read(path), kept) << "room " << room;
    }
    EXPECT_TRUE(plat::PosixProcess().appendToFile(path, entry));
    EXPECT_EQ(read(path), kept + entry);
}

TEST_F(TempFolder, TestProcessRemovesOnlyTheFolderItMade) {
    std::string made;
    {
        plat::testing::TempProcess process;
        made = process.folder;
        process.folder = folder.string(); // tests point the log elsewhere
    }
    EXPECT_FALSE(fs::exists(made));
    EXPECT_TRUE(fs::exists(folder));
    // /proc takes no new folder, not even from root: no fallback to a folder it did not make.
    EXPECT_DEATH(
        {
            setenv("TMPDIR", "/proc", 1);
            plat::testing::TempProcess process;
        },
        "cannot make a temporary folder");
}

TEST(PosixClock, TicksNeverRunBackwardsAndThePeriodBalances) {
    plat::PosixClock clock;
    std::uint32_t last = clock.timeGetTime();
    for (int i = 0; i < 1000; ++i) {
        const std::uint32_t now = clock.timeGetTime();
        EXPECT_LT(now - last, 0x80000000u) << "wrap-aware difference is forward";
        last = now;
    }
    clock.beginPeriod();
    clock.endPeriod();
    clock.endPeriod(); // one end too many stays harmless
    EXPECT_EQ(clock.periodDepth(), 0);
}

// What a person may name in a file's place: refused before it is read, never waited on.
TEST_F(TempFolder, OnlyARegularFileWithinTheLimitIsRead) {
    const fs::path fifo = folder / "fifo", big = folder / "big", text = folder / "text";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(big) << std::string(1025, 'x');
    std::ofstream(text) << "layer 0\n";
    fs::create_symlink("/dev/zero", folder / "zero");
    using plat::FileRead;
    const std::pair<fs::path, FileRead> cases[] = {
        {folder, FileRead::NotRegular},          {fifo, FileRead::NotRegular},
        {folder / "zero", FileRead::NotRegular}, {big, FileRead::TooLarge},
        {folder / "none", FileRead::Missing},    {text, FileRead::Ok},
    };
    for (const auto& [path, result] : cases) {
        std::string read = "old";
        EXPECT_EQ(plat::readFileText(path.string(), 1024, read), result) << path;
        EXPECT_EQ(read, result == FileRead::Ok ? "layer 0\n" : "") << path;
    }
    // The error log in a FIFO's place: refused at once instead of waiting for a reader.
    EXPECT_FALSE(plat::PosixProcess().appendToFile(fifo.string(), "entry\r\n"));
}

} // namespace
