#include <gtest/gtest.h>
#include <netinet/in.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "EMClientAPIAuth.h"
#include "client_fixture.h"
#include "client_requests.h"
#include "md5c.h"

namespace {

std::string str(const SString& s) { return s.GetBufferPointer() ? s.GetBufferPointer() : "<null>"; }

int array_host_name(char* name, size_t size) {
    std::snprintf(name, size, "arrayhost");
    return 0;
}
int array_resolver(const char* host, in_addr* address) {
    if (std::string(host) != "arrayhost") return -1;
    address->s_addr = htonl(0x0A000007);  // 10.0.0.7
    return 0;
}
int no_resolver(const char*, in_addr*) { return -1; }

class AuthTest : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        EMClientAPISetHostName(array_host_name);
        EMClientAPISetResolver(array_resolver);
    }
};

TEST_F(AuthTest, HashedTextCarriesTheDigestNotThePassword) {
    SString code = GetMD5HashAuthCode(SString("bob"), SString("secret"));
    std::string text = str(code);
    ASSERT_EQ(text.size(), 3u + 33u);
    EXPECT_EQ(text.substr(0, 4), "bob:");
    char digest[129] = {};
    TslKlmoMD5Buffer("bob:secret", digest);
    EXPECT_EQ(text.substr(4), digest);
    for (char c : text.substr(4)) EXPECT_TRUE(std::isdigit(c) || (c >= 'A' && c <= 'F')) << c;
    EXPECT_EQ(text.find("secret"), std::string::npos);
}

TEST_F(AuthTest, PairIsLoggedAtLevelTwoOnly) {
    EMClientAPITNGSetDebugMode(1, nullptr);
    GetMD5HashAuthCode(SString("bob"), SString("secret"));
    EXPECT_FALSE(exists(log_));
    EMClientAPITNGSetDebugMode(2, nullptr);
    GetMD5HashAuthCode(SString("bob"), SString("secret"));
    EXPECT_NE(read_file(log_).find("\n ** Username password pair build for MD5 hashing ->\n"), std::string::npos);
    EXPECT_NE(read_file(log_).find("\nbob:secret\n"), std::string::npos);
}

TEST_F(AuthTest, LocalSystemIsExactlyThreeNames) {
    struct Case {
        const char* name;
        bool local;
    } cases[] = {
        {"localhost", true}, {"arrayhost", true}, {"10.0.0.7", true},   {"ARRAYHOST", false},
        {"127.0.0.1", false}, {"arrayhost.example", false}, {"", false}, {"LocalHost", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsLocalSystem(SString(c.name)), c.local) << c.name;

    EMClientAPISetResolver(no_resolver);  // the address comparison drops out
    EXPECT_FALSE(IsLocalSystem(SString("10.0.0.7")));
    EXPECT_TRUE(IsLocalSystem(SString("arrayhost")));
}

TEST_F(AuthTest, AdministratorCredentialsInsertedInEitherDialect) {
    EXPECT_EQ(str(GetAdministratorPassword()), "");

    EMClientAPIXMLBuffer v3(v3_request("localhost:12301", "bob", "").c_str());
    EXPECT_FALSE(IsUsrnamePwdPresent(v3));
    v3.SetServerPort("4000");
    AddUsernamePassword(v3);
    EXPECT_NE(v3.Find("<Body><username>administrator</username><userpassword></userpassword>\n<username>bob"), -1);
    EXPECT_EQ(str(v3.GetServerPort()), "12301");  // the port set on the buffer is lost
    // The inserted elements come first, so the authorization text becomes
    // "administrator:" and its Basic code this:
    SString text = v3.GetUsername();
    text += ":";
    text += v3.GetUserPassword();
    EXPECT_EQ(str(GetBase64AuthCode(text)), "YWRtaW5pc3RyYXRvcjo=");

    EMClientAPIXMLBuffer legacy(legacy_request("localhost:2301", "bob", "").c_str());
    AddUsernamePassword(legacy);
    EXPECT_NE(legacy.Find("<SOAP:Body<UserName xsd:type=\"string\">administrator</UserName>"
                          "<UserPassword xsd:type=\"string\"></UserPassword>=tessel-brindle"),
              -1);

    EMClientAPIXMLBuffer neither("POST /\n\n<Other/>");
    AddUsernamePassword(neither);
    EXPECT_EQ(str(neither), "POST /\n\n<Other/>");

    EMClientAPIXMLBuffer with_password(v3_request().c_str());
    EXPECT_TRUE(IsUsrnamePwdPresent(with_password));
}

}  // namespace
