// Common ground for the client library's tests: every process-wide setting
// back to its start value, the seams restored, and the debug log pointed at
// a private temporary directory (never the real one in /tmp).
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "EMClientAPIDebug.h"
#include "EMClientAPISeams.h"

class ClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/client_test_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        log_ = dir_ + "/debug.txt";
        ::setenv("FILE_NAME", log_.c_str(), 1);
        ::unsetenv("FILE_SIZE");
        ::unsetenv("LOG_LEVEL");
        gstrDebugFilename = log_.c_str();
        gnDebugMode = 0;
        gnTNGDebugMode = 0;
        gnFileSize = 0;
        gnTNGDebugBusy = 0;
    }

    void TearDown() override {
        EMClientAPISetSleep(nullptr);
        EMClientAPISetClock(nullptr);
        EMClientAPISetMonotonicClock(nullptr);
        EMClientAPISetHostName(nullptr);
        EMClientAPISetResolver(nullptr);
        EMClientAPISetServiceLookup(nullptr);
        gnDebugMode = 0;
        gnTNGDebugMode = 0;
        gnFileSize = 0;
        ::unsetenv("FILE_SIZE");
        ::unsetenv("LOG_LEVEL");
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
        ::unsetenv("FILE_NAME");
    }

    static std::string read_file(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static bool exists(const std::string& path) {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0;
    }

    std::string dir_;
    std::string log_;
};
