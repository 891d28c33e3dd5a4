#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>

#include "EMClientAPIDebug.h"
#include "EMClientAPIErrors.h"
#include "client_fixture.h"

namespace {

constexpr time_t kStamp = 1796551062;  // a fixed moment, so entries are predictable

time_t fixed_clock() { return kStamp; }
time_t broken_clock() { return static_cast<time_t>(LLONG_MAX); }

std::string stamp_text() {
    time_t t = kStamp;
    char text[64];
    return ::ctime_r(&t, text);
}

class DebugLogTest : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        EMClientAPISetClock(fixed_clock);
    }
};

TEST_F(DebugLogTest, EntriesAreStampEmptyLineText) {
    EMClientAPISetDebugMode(1, nullptr);
    EXPECT_EQ(EMClientAPIWriteDebugFile("first"), 0);
    EXPECT_EQ(EMClientAPIWriteDebugFile("second\nline"), 0);
    const std::string stamp = stamp_text();
    ASSERT_EQ(stamp.size(), 25u);  // the 24-character ctime text and its line feed
    EXPECT_EQ(read_file(log_), stamp + "\nfirst\n" + stamp + "\nsecond\nline\n");
    EXPECT_EQ(std::string(gstrOldDebugFilename.GetBufferPointer()), log_ + ".old");

    EMClientAPISetClock(broken_clock);  // no time text to be had
    EXPECT_EQ(EMClientAPIWriteDebugFile("third"), 0);
    EXPECT_EQ(read_file(log_).substr(2 * stamp.size() + 20), "Time Null\nthird\n");
}

TEST_F(DebugLogTest, LevelsDecideWhatIsWritten) {
    EXPECT_EQ(EMClientAPIWriteDebugFile("off"), 0);
    EXPECT_FALSE(exists(log_));
    EMClientAPISetDebugMode(3, nullptr);
    EXPECT_EQ(EMClientAPIWriteDebugFile("three"), 300);
    EMClientAPISetDebugMode(-1, nullptr);
    EXPECT_EQ(EMClientAPIWriteDebugFile("negative"), 300);
    EMClientAPISetDebugMode(2, nullptr);
    EXPECT_EQ(EMClientAPIWriteDebugFile(static_cast<const char*>(nullptr)), 300);
    EXPECT_FALSE(exists(log_));

    // The string form and the current interface's writers skip level 0
    // without reading the environment.
    EMClientAPITNGSetDebugMode(0, nullptr);
    ::setenv("LOG_LEVEL", "1", 1);
    EXPECT_EQ(EMClientAPIWriteDebugFile(SString("quiet")), 0);
    EXPECT_EQ(EMClientAPITNGDebugLog("quiet"), 0);
    EXPECT_EQ(gnDebugMode, 0);
    EXPECT_FALSE(exists(log_));
    // The text form reads LOG_LEVEL and keeps it.
    EXPECT_EQ(EMClientAPIWriteDebugFile("loud"), 0);
    EXPECT_EQ(gnDebugMode, 1);
    EXPECT_NE(read_file(log_).find("\nloud\n"), std::string::npos);
}

TEST_F(DebugLogTest, EnvironmentChoosesFileAndSize) {
    EMClientAPISetDebugMode(1, nullptr);
    const std::string other = dir_ + "/other.txt";
    ::setenv("FILE_NAME", other.c_str(), 1);
    EXPECT_EQ(EMClientAPIWriteDebugFile("elsewhere"), 0);
    EXPECT_TRUE(exists(other));
    EXPECT_FALSE(exists(log_));

    ::setenv("FILE_SIZE", "100", 1);
    EXPECT_EQ(EMClientAPIWriteDebugFile("refused"), 300);
    EXPECT_EQ(gnFileSize, 100);
    EXPECT_EQ(read_file(other).find("refused"), std::string::npos);
    ::setenv("FILE_SIZE", "499", 1);
    EXPECT_EQ(EMClientAPIWriteDebugFile("refused"), 300);
    ::setenv("FILE_SIZE", "500", 1);
    EXPECT_EQ(EMClientAPIWriteDebugFile("accepted"), 0);
    ::setenv("FILE_SIZE", "0", 1);  // zero means the default limit
    EXPECT_EQ(EMClientAPIWriteDebugFile("default"), 0);
    EXPECT_EQ(gnFileSize, 5000000);
}

TEST_F(DebugLogTest, RotatesPastTheLimitKeepingOneOlderFile) {
    EMClientAPISetDebugMode(1, nullptr);
    ::setenv("FILE_SIZE", "1000", 1);
    const std::string entry(100, 'e');  // 127 bytes per entry with its stamp
    const std::string old = log_ + ".old";
    int rotations = 0;
    off_t previous = 0;
    for (int i = 0; i < 40; ++i) {
        ASSERT_EQ(EMClientAPIWriteDebugFile(entry.c_str()), 0);
        struct stat st {};
        ASSERT_EQ(::stat(log_.c_str(), &st), 0);
        if (st.st_size < previous) {
            ++rotations;
            // The rotated file crossed the limit by the entry that crossed it.
            struct stat old_st {};
            ASSERT_EQ(::stat(old.c_str(), &old_st), 0);
            EXPECT_GT(old_st.st_size, 1000);
            EXPECT_LE(old_st.st_size, 1000 + 127);
            EXPECT_EQ(old_st.st_size, previous);
        }
        EXPECT_LE(st.st_size, 1000 + 127);
        previous = st.st_size;
    }
    EXPECT_GE(rotations, 4);
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) (void)e, ++files;
    EXPECT_EQ(files, 2);
}

TEST_F(DebugLogTest, CreatedPrivateAndExistingFilesMadePrivate) {
    EMClientAPISetDebugMode(1, nullptr);
    mode_t saved = ::umask(0);
    EXPECT_EQ(EMClientAPIWriteDebugFile("private"), 0);
    struct stat st {};
    ASSERT_EQ(::stat(log_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    ASSERT_EQ(::chmod(log_.c_str(), 0644), 0);
    EXPECT_EQ(EMClientAPIWriteDebugFile("again"), 0);
    ASSERT_EQ(::stat(log_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ::umask(saved);
}

TEST_F(DebugLogTest, NeverFollowsASymbolicLink) {
    EMClientAPISetDebugMode(1, nullptr);
    const std::string victim = dir_ + "/victim";
    { std::ofstream(victim) << "precious"; }
    ASSERT_EQ(::symlink(victim.c_str(), log_.c_str()), 0);
    EXPECT_EQ(EMClientAPIWriteDebugFile("secret"), 400);
    EXPECT_EQ(read_file(victim), "precious");

    // A dangling link would otherwise create the file it points to.
    ASSERT_EQ(::unlink(log_.c_str()), 0);
    const std::string planted = dir_ + "/planted";
    ASSERT_EQ(::symlink(planted.c_str(), log_.c_str()), 0);
    EXPECT_EQ(EMClientAPIWriteDebugFile("secret"), 400);
    EXPECT_FALSE(exists(planted));

    // Nor does a second name (hard link) for another file pass.
    ASSERT_EQ(::unlink(log_.c_str()), 0);
    ASSERT_EQ(::link(victim.c_str(), log_.c_str()), 0);
    EXPECT_EQ(EMClientAPIWriteDebugFile("secret"), 400);
    EXPECT_EQ(read_file(victim), "precious");
}

TEST_F(DebugLogTest, RotationReplacesALinkAtTheOldName) {
    EMClientAPISetDebugMode(1, nullptr);
    ::setenv("FILE_SIZE", "500", 1);
    const std::string victim = dir_ + "/victim";
    { std::ofstream(victim) << "precious"; }
    const std::string old = log_ + ".old";
    ASSERT_EQ(::symlink(victim.c_str(), old.c_str()), 0);
    const std::string entry(200, 'e');
    for (int i = 0; i < 6; ++i) ASSERT_EQ(EMClientAPIWriteDebugFile(entry.c_str()), 0);
    EXPECT_EQ(read_file(victim), "precious");
    struct stat st {};
    ASSERT_EQ(::lstat(old.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
}

int g_sleeps = 0;
void sleep_and_release(unsigned seconds) {
    EXPECT_EQ(seconds, 1u);
    if (++g_sleeps == 3) gnTNGDebugBusy = 0;  // the other writer finishes
}

TEST_F(DebugLogTest, CurrentInterfaceWriterWaitsWhileBusy) {
    EMClientAPITNGSetDebugMode(2, nullptr);
    EMClientAPISetSleep(sleep_and_release);
    g_sleeps = 0;
    gnTNGDebugBusy = 1;
    EXPECT_EQ(EMClientAPITNGDebugLog("after the wait"), 0);
    EXPECT_EQ(g_sleeps, 3);
    EXPECT_EQ(gnTNGDebugBusy, 0);
    EXPECT_NE(read_file(log_).find("\nafter the wait\n"), std::string::npos);
    EXPECT_EQ(EMClientAPITNGDebugLog(SString("no wait")), 0);
    EXPECT_EQ(g_sleeps, 3);
}

TEST_F(DebugLogTest, SetDebugModeKeepsTheNameOnNull) {
    EMClientAPITNGSetDebugMode(2, "/nowhere/x");
    EXPECT_STREQ(gstrDebugFilename.GetBufferPointer(), "/nowhere/x");
    EXPECT_STREQ(gstrTNGDebugFilename.GetBufferPointer(), "/nowhere/x");
    EMClientAPITNGSetDebugMode(1, nullptr);
    EXPECT_STREQ(gstrDebugFilename.GetBufferPointer(), "/nowhere/x");
    EXPECT_EQ(gnDebugMode, 1);
    EXPECT_EQ(gnTNGDebugMode, 1);
}

// The condition the library holds for the program to report, and its line.
std::pair<int, std::string> log_status() {
    char text[1024];
    std::memset(text, 'x', sizeof text);
    int code = EMClientAPIDebugLogStatus(text, sizeof text);
    return {code, text};
}

// 40 entries of 127 bytes past a 1000-byte limit into log: "" when the log
// never outgrew the limit by more than the entry that crossed it and the
// older file could not be replaced at least four times, else what went wrong.
std::string write_past_limit(const std::string& log) {
    const std::string entry(100, 'e');
    int blocked = 0;
    for (int i = 0; i < 40; ++i) {
        int rc = EMClientAPIWriteDebugFile(entry.c_str());
        if (rc == EMCLIENTAPI_ROTATEDEBUGFILE_ERROR)
            ++blocked;
        else if (rc != 0)
            return "entry " + std::to_string(i) + " gave " + std::to_string(rc);
        struct stat st {};
        if (::stat(log.c_str(), &st) != 0) return "no log after entry " + std::to_string(i);
        if (st.st_size > 1000 + 127) return "the log grew to " + std::to_string(st.st_size);
    }
    return blocked >= 4 ? "" : "rotation was blocked " + std::to_string(blocked) + " times";
}

TEST_F(DebugLogTest, BlockedRotationEmptiesTheLogAndSaysSo) {
    EMClientAPIDebugLogStatus(nullptr, 0);
    EMClientAPISetDebugMode(1, nullptr);
    ::setenv("FILE_SIZE", "1000", 1);
    // Nothing replaces a directory at the older file's name, not even root.
    const std::string old = log_ + ".old";
    ASSERT_EQ(::mkdir(old.c_str(), 0700), 0);
    { std::ofstream(old + "/kept") << "kept"; }
    EXPECT_EQ(write_past_limit(log_), "");
    EXPECT_EQ(log_status(), std::make_pair(EMCLIENTAPI_ROTATEDEBUGFILE_ERROR,
                                           "Cannot rotate the debug log: " + old +
                                               " cannot be replaced (Is a directory); the log is emptied instead"));
    EXPECT_EQ(log_status(), std::make_pair(0, std::string()));  // reported once
    EXPECT_EQ(read_file(old + "/kept"), "kept");

    // The case met in /tmp: the older file belongs to another user, and the
    // sticky folder keeps us from removing it. Needs root to arrange.
    if (::geteuid() != 0) return;
    const std::string shared = dir_ + "/shared";
    ASSERT_EQ(::chmod(dir_.c_str(), 0711), 0);
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    const std::string log = shared + "/log";
    { std::ofstream(log + ".old") << "theirs"; }
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::setenv("FILE_NAME", log.c_str(), 1);
        std::string why = write_past_limit(log);
        ::_exit(why.empty() && log_status().first == EMCLIENTAPI_ROTATEDEBUGFILE_ERROR ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(read_file(log + ".old"), "theirs");
}

TEST_F(DebugLogTest, LogThatCannotBeOpenedIsReportedWithTheReason) {
    EMClientAPIDebugLogStatus(nullptr, 0);
    EMClientAPISetDebugMode(1, nullptr);
    const std::string other = dir_ + "/other";
    { std::ofstream(other) << "other"; }
    struct Case {
        const char* what;
        bool (*plant)(const std::string& log, const std::string& other);
        const char* reason;
    } cases[] = {
        {"a directory", [](const std::string& log, const std::string&) { return ::mkdir(log.c_str(), 0700) == 0; },
         "Is a directory"},
        {"a link", [](const std::string& log, const std::string& o) { return ::symlink(o.c_str(), log.c_str()) == 0; },
         "it is a symbolic link"},
        {"a second name", [](const std::string& log, const std::string& o) { return ::link(o.c_str(), log.c_str()) == 0; },
         "it has other names (hard links)"},
        // Created by another user before us (as root, give it away).
        {"a foreign file",
         [](const std::string& log, const std::string&) {
             std::ofstream(log) << "theirs";
             return ::geteuid() != 0 || ::chown(log.c_str(), 65534, 65534) == 0;
         },
         "it belongs to another user"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(log_);
        ASSERT_TRUE(c.plant(log_, other)) << c.what;
        if (std::string(c.what) == "a foreign file" && ::geteuid() != 0) continue;  // cannot arrange it
        EXPECT_EQ(EMClientAPIWriteDebugFile("entry"), EMCLIENTAPI_OPENDEBUGFILE_ERROR) << c.what;
        EXPECT_EQ(log_status(),
                  std::make_pair(EMCLIENTAPI_OPENDEBUGFILE_ERROR,
                                 "Cannot open the debug log " + log_ + ": " + c.reason + "; nothing is logged"))
            << c.what;
        EXPECT_EQ(log_status().first, 0) << c.what;
    }
    EXPECT_EQ(read_file(other), "other");
}

}  // namespace
