#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "corvane_history.h"

namespace {

namespace fs = std::filesystem;

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/talo_history_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    static std::string read_all(const std::string& p) {
        std::ifstream in(p);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    fs::path dir_;
};

TEST_F(HistoryTest, AppendedLinesComeBackInOrderFromAPrivateFile) {
    std::string file = path("h");
    ::umask(022);
    ASSERT_TRUE(ss_history_append(file, "SHOW SYSTEM"));
    ASSERT_TRUE(ss_history_append(file, "SELECT SYSTEM NAME=a"));
    EXPECT_EQ(ss_history_load(file), (std::vector<std::string>{"SHOW SYSTEM", "SELECT SYSTEM NAME=a"}));
    struct stat st{};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(HistoryTest, AFileOthersCouldReadIsMadePrivate) {
    std::string file = path("h");
    std::ofstream(file) << "SHOW HOST\n";
    ::chmod(file.c_str(), 0644);
    EXPECT_EQ(ss_history_load(file), std::vector<std::string>{"SHOW HOST"});
    struct stat st{};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// A link or a special file at the history's place is neither followed nor
// written: the session simply has no history.
TEST_F(HistoryTest, ALinkOrSpecialFileIsLeftAlone) {
    std::string target = path("target");
    std::ofstream(target) << "kept\n";
    std::string link = path("link");
    fs::create_symlink(target, link);
    std::string dangling = path("dangling");
    fs::create_symlink(path("nowhere"), dangling);
    std::string fifo = path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string folder = path("folder");
    fs::create_directory(folder);

    for (const std::string& p : {link, dangling, fifo, folder}) {
        SCOPED_TRACE(p);
        EXPECT_TRUE(ss_history_load(p).empty());
        EXPECT_FALSE(ss_history_append(p, "SHOW SYSTEM"));
    }
    EXPECT_EQ(read_all(target), "kept\n");
    EXPECT_FALSE(fs::exists(path("nowhere")));
    EXPECT_TRUE(ss_history_load(path("missing")).empty());
}

TEST_F(HistoryTest, PasswordAndBlankLinesAreNotKept) {
    struct Case {
        const char* line;
        bool kept;
    };
    const Case cases[] = {
        {"SHOW SYSTEM", true},
        {"ADD SYSTEM NAME=a PASSWORD=secret", false},
        {"add system name=a password=secret", false},
        {"SELECT SYSTEM PassWord=x", false},
        {"PASSWORD=", false},
        {"SET PASSWORD x", true},
        {"PASSWORD =x", true},
        {"", false},
        {"   ", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ss_history_keeps(c.line), c.kept);
    }
}

TEST_F(HistoryTest, PathComesFromTaloHistoryThenHome) {
    const char* home = std::getenv("HOME");
    std::string saved_home = home ? home : "";
    ::unsetenv("TALO_HISTORY");
    ::setenv("HOME", "/home/op", 1);
    EXPECT_EQ(ss_history_path(), "/home/op/.talo_history");
    ::setenv("TALO_HISTORY", "/var/own", 1);
    EXPECT_EQ(ss_history_path(), "/var/own");
    ::unsetenv("TALO_HISTORY");
    ::unsetenv("HOME");
    EXPECT_EQ(ss_history_path(), "");
    if (home) ::setenv("HOME", saved_home.c_str(), 1);
}

}  // namespace
