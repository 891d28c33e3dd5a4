// Reply analysis and retry waits of both interfaces, the settings, the
// version records, and the request rewrites that need no server.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EMClientAPI.h"
#include "EMClientAPISecurity.h"
#include "EMClientAPITNG.h"
#include "EMClientAPITNGSteps.h"
#include "client_fixture.h"
#include "client_requests.h"

namespace {

std::string v3(const std::string& statuses) { return "<Header><version>3.2</version></Header>" + statuses; }
std::string legacy_failure(const std::string& num) {
    return "<NotSuccessMsg><MessageNum xsd:type=\"int\">" + num + "</MessageNum></NotSuccessMsg>";
}

TEST(ClientAnalysis, RetryConditionsOfBothForms) {
    struct Case {
        std::string reply;
        int full, reduced, ex_full;
    } cases[] = {
        {v3("<statuscode>0</statuscode>"), 0, 0, 0},
        {v3("<statuscode>18034</statuscode>"), 18034, 18034, 18034},
        {v3("<statuscode>18018</statuscode>"), 18018, 0, 18018},
        {v3("<statuscode>12003</statuscode>"), 12003, 0, 12003},
        {v3("<statuscode>5</statuscode>"), 0, 0, 0},
        // The Ex form reads the second status when the first is not one of
        // the 6000xx group.
        {v3("<statuscode>1</statuscode><statuscode>18018</statuscode>"), 0, 0, 18018},
        {v3("<statuscode>600002</statuscode><statuscode>18018</statuscode>"), 600002, 0, 600002},
        {legacy_failure("38"), 38, 0, 38},
        {legacy_failure("18034"), 18034, 18034, 18034},
        {"<NotSuccessMsg>no number</NotSuccessMsg>", 0, 0, 0},
        {"<SuccessMsg><MessageNum>38</MessageNum></SuccessMsg>", 0, 0, 0},
        {"<!DOCTYPE HTML><HTML></HTML>", 666666, 0, 666666},
        {"", 666667, 0, 666667},
    };
    for (const Case& c : cases) {
        EMClientAPIXMLBuffer r(c.reply.c_str());
        EXPECT_EQ(EMClientAPIAnalyzeResponse(r, 1), c.full) << c.reply;
        EXPECT_EQ(EMClientAPIAnalyzeResponse(r, 0), c.reduced) << c.reply;
        EXPECT_EQ(EMClientAPIAnalyzeResponseEx(r, 1), c.ex_full) << c.reply;
        EXPECT_EQ(EMClientAPITNGRetriesRequired(c.reply.c_str()), c.full) << c.reply;
    }
    // "<version>3" without the dot is version 3 only to the Ex form.
    std::string bare = "<version>3</version><statuscode>18018</statuscode>";
    EXPECT_EQ(EMClientAPITNGRetriesRequired(bare.c_str()), 0);
    EXPECT_EQ(EMClientAPITNGRetriesRequiredEx(bare.c_str()), 18018);
}

TEST(ClientAnalysis, RetryWaits) {
    struct Case {
        int condition;
        int seconds;
    } cases[] = {{12003, 30}, {666666, 30}, {38, 10}, {4058, 10}, {18071, 10}, {18018, 5}, {18034, 1}, {97, 1}};
    for (const Case& c : cases) EXPECT_EQ(EMClientAPIRetryDelaySeconds(c.condition), c.seconds) << c.condition;
}

TEST(ClientSettings, TimeoutsAndVersions) {
    for (int bad : {0, -5}) {
        EMClientAPITNGSetTimeout(bad);
        EXPECT_EQ(gnTNGTimeout, 60);
        EXPECT_EQ(gnTimeout, 60);
    }
    EMClientAPITNGSetTimeout(7);
    EXPECT_EQ(gnTimeout, 7);
    EMClientAPITNGSetTimeout(60);

    EMClientAPITNGSetBlockMode(1);
    EXPECT_EQ(gnBlockMode, 1);
    EMClientAPITNGSetBlockMode(0);

    EMClientAPITNGVersionInformation info;
    EXPECT_EQ(EMClientAPITNGGetVersionInformation(nullptr), EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    ASSERT_EQ(EMClientAPITNGGetVersionInformation(&info), 0);
    EXPECT_STREQ(info.version, "EMClientAPITNG Version 3.2.104");
    EXPECT_STREQ(info.buildDate, "Jul 14 2004");
    char legacy[160] = {};
    ASSERT_EQ(EMClientAPIGetVersionInformation(legacy), 0);
    EXPECT_STREQ(legacy, "EMClientAPI Version 4.28");
    EXPECT_STREQ(legacy + 80, "Jul 14 2004");
    EXPECT_EQ(EMClientAPIGetVersionInformation(nullptr), EMCLIENTAPI_INVALIDPARAMETER_ERROR);
}

TEST(ClientRewrite, LegacyRequestNamesPort2301) {
    SString r = EMClientAPITNGLegacyRequest(legacy_request("array01:12301").c_str());
    EXPECT_EQ(std::string(r.GetBufferPointer()), legacy_request("array01:2301"));
    EXPECT_EQ(std::string(EMClientAPITNGLegacyRequest("POST / HTTP/1.1\nHost:array01\nContent-Type: x\n").GetBufferPointer()),
              "POST / HTTP/1.1\nHost:array01:2301\nContent-Type: x\n");
    EXPECT_EQ(std::string(EMClientAPITNGLegacyRequest("no host line").GetBufferPointer()), "no host line");
}

class FinalRequestTest : public ClientTest {};

TEST_F(FinalRequestTest, CredentialsOutLengthRecomputedCookieBeforeContentType) {
    EMClientAPISetHostName([](char* name, size_t size) {
        std::snprintf(name, size, "localhost");
        return 0;
    });
    EMClientAPIXMLBuffer request(v3_request("array01:2301").c_str());
    request.GetServerPort();
    request.SetServerPort("9999");
    SString cookie(std::string(56, 'C').c_str());
    EMClientAPIUpdateFinalRequest(request, cookie);
    std::string text = request.GetBufferPointer();
    EXPECT_EQ(text.find("<username>"), std::string::npos);
    EXPECT_EQ(text.find("<userpassword>"), std::string::npos);
    EXPECT_NE(text.find("<hostip>127.0.0.1</hostip>"), std::string::npos);
    EXPECT_NE(text.find("Cookie: Tessel-KLMD=" + std::string(56, 'C') + "\nContent-Type: text/SOAP\n"),
              std::string::npos);
    size_t envelope = text.find("<Envelope");
    EXPECT_EQ(std::stoul(text.substr(text.find("Content-Length: ") + 16)), text.size() - envelope);
    EXPECT_EQ(request.GetServerPort(), "2301");  // caches read afresh
}

}  // namespace
