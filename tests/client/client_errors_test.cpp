#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EMClientAPIErrors.h"
#include "client_fixture.h"

namespace {

class ErrorDescriptionTest : public ClientTest {};

std::string legacy(int code) {
    char buffer[2048];
    EXPECT_EQ(EMClientAPIGetErrorDescription(code, buffer, sizeof buffer), 0);
    return buffer;
}

std::string current(int code) {
    char buffer[2048];
    EXPECT_EQ(EMClientAPITNGGetErrorDescription(code, buffer, sizeof buffer), 0);
    return buffer;
}

TEST_F(ErrorDescriptionTest, TextsOfKnownAndUnknownCodes) {
    EXPECT_EQ(legacy(999), "EMClientAPI error ->\nUnknown EMClientAPIError(999)\n");
    EXPECT_EQ(current(999), "EMClientAPITNG error ->\nUnknown EMCLIENTAPITNGError(999)\n");
    EXPECT_EQ(legacy(105),
              "EMClientAPI error ->\nEMCLIENTAPISOCKET_CONNECT_ERROR : Cannot establish socket connection with the "
              "server.\n");
    EXPECT_EQ(current(105),
              "EMClientAPITNG error ->\nEMCLIENTAPISOCKET_CONNECT_ERROR : Cannot establish socket connection with "
              "the server.\n");
    EXPECT_EQ(current(-1), "EMClientAPITNG error ->\nUnknown EMCLIENTAPITNGError(-1)\n");
    EXPECT_EQ(current(0), "EMClientAPITNG error ->\nEMCLIENTAPI_SUCCESS : The operation was a success.\n");
    EXPECT_EQ(current(204),
              "EMClientAPITNG error ->\nEMCLIENTAPI_FILENOTRECEIVED_ERROR : The server did not send the requested "
              "file..\n");
    EXPECT_EQ(current(1000),
              "EMClientAPITNG error ->\nEMCLIENTAPITNG_SOAPSERVER_RESPONSE_INVALID_ERROR : Invalid Soap Server "
              "Response.\n");
}

TEST_F(ErrorDescriptionTest, EveryCodeOfTheTableIsKnown) {
    const int codes[] = {0,   101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 200,
                         201, 202, 203, 204, 205, 300, 301, 302, 400, 401, 402, 403, 500, 1000};
    for (int code : codes) {
        ASSERT_NE(EMClientAPIErrorName(code), nullptr) << code;
        EXPECT_EQ(std::strncmp(EMClientAPIErrorName(code), "EMCLIENTAPI", 11), 0) << code;
    }
    EXPECT_EQ(EMClientAPIErrorName(114), nullptr);
    EXPECT_EQ(EMClientAPIErrorText(18034), nullptr);  // server statuses are not client codes
}

TEST_F(ErrorDescriptionTest, BufferBoundary) {
    for (int code : {105, 999}) {
        const std::string tng = current(code);
        const std::string old = legacy(code);
        const int tng_size = static_cast<int>(tng.size());
        const int old_size = static_cast<int>(old.size());

        char buffer[2048];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(EMClientAPITNGGetErrorDescription(code, buffer, tng_size + 1), 0);
        EXPECT_EQ(buffer, tng);
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(EMClientAPITNGGetErrorDescription(code, buffer, tng_size), 301) << code;
        for (int i = 0; i < tng_size; ++i) ASSERT_EQ(buffer[i], '\0') << code << " at " << i;
        EXPECT_EQ(buffer[tng_size], 'x');  // nothing beyond the size given

        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(EMClientAPIGetErrorDescription(code, buffer, old_size + 1), 0);
        EXPECT_EQ(buffer, old);
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(EMClientAPIGetErrorDescription(code, buffer, old_size), 301);
        EXPECT_EQ(buffer[0], 'x');  // the legacy form writes nothing at all
        EXPECT_EQ(EMClientAPIGetErrorDescription(code, buffer, -5), 301);
    }
    EXPECT_EQ(EMClientAPITNGGetErrorDescription(105, nullptr, 0), 0);
    EXPECT_EQ(EMClientAPIGetErrorDescription(105, nullptr, 0), 0);
}

TEST_F(ErrorDescriptionTest, LoggedAtLevelTwoOnly) {
    EMClientAPITNGSetDebugMode(1, nullptr);
    EMClientAPITNGGetErrorDescription(105, nullptr, 0);
    EXPECT_FALSE(exists(log_));

    EMClientAPITNGSetDebugMode(2, nullptr);
    EMClientAPITNGGetErrorDescription(105, nullptr, 0);
    std::string log = read_file(log_);
    EXPECT_NE(log.find("\n** ERROR ->\n"), std::string::npos);
    EXPECT_NE(log.find("\nEMClientAPI error ->\nEMCLIENTAPISOCKET_CONNECT_ERROR : "), std::string::npos);
    EXPECT_NE(log.find("\n<- ERROR **\n"), std::string::npos);
    EXPECT_EQ(log.find("ERROR tng"), std::string::npos);  // known codes: legacy entries only

    EMClientAPITNGGetErrorDescription(999, nullptr, 0);
    log = read_file(log_);
    EXPECT_NE(log.find("\n** ERROR tng ->\n"), std::string::npos);
    EXPECT_NE(log.find("\nEMClientAPITNG error ->\nUnknown EMCLIENTAPITNGError(999)\n"), std::string::npos);
    EXPECT_NE(log.find("\n<- ERROR tng **\n"), std::string::npos);

    // A refused description leaves no trace in the log either.
    std::string before = read_file(log_);
    char tiny[4];
    EXPECT_EQ(EMClientAPIGetErrorDescription(105, tiny, sizeof tiny), 301);
    EXPECT_EQ(read_file(log_), before);
}

}  // namespace
