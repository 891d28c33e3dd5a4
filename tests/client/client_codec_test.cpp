// The codecs: Base64 decoding of controller data, the Basic-code encoder and
// the MD5 digest text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Base64Coder.h"
#include "EMClientAPIAuth.h"
#include "md5c.h"

namespace {

std::string decode(const std::string& text, Base64Coder& coder) {
    coder.Decode(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
    return std::string(coder.DecodedMessage());  // up to the first zero byte
}

std::string decode(const std::string& text) {
    Base64Coder coder;
    return decode(text, coder);
}

std::string top_bit(std::string text) {
    for (char& c : text) c = static_cast<char>(static_cast<unsigned char>(c) | 0x80);
    return text;
}

TEST(Base64CoderTest, DecodesRfc4648Vectors) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""},         {"Zg==", "f"},         {"Zm8=", "fo"},         {"Zm9v", "foo"},
        {"Zm9vYg==", "foob"}, {"Zm9vYmE=", "fooba"}, {"Zm9vYmFy", "foobar"},
    };
    for (const auto& [encoded, plain] : vectors) EXPECT_EQ(decode(encoded), plain) << encoded;
}

TEST(Base64CoderTest, SkipsWhiteSpaceAndReadsTopBitCopies) {
    const char* variants[] = {"QUJD", "QU\nJD", "QU\r\nJD", " Q U J D ", "\tQUJD\v\f\a", "QUJD\n"};
    for (const char* text : variants) EXPECT_EQ(decode(text), "ABC") << text;
    EXPECT_EQ(decode(top_bit("QUJD")), "ABC");
    EXPECT_EQ(decode(top_bit("Zm8=")), "fo");  // the pad's top-bit copy pads too
    // Bytes 0x87..0x8D are not white space: they decode (as unknown
    // characters) rather than being skipped.
    EXPECT_NE(decode("QU\x8aJD"), "ABC");
}

TEST(Base64CoderTest, CountsGroupsAndZeroFillsAfterTheData) {
    Base64Coder coder;
    EXPECT_EQ(coder.DecodedMessage(), nullptr);
    decode("QUJD", coder);
    EXPECT_EQ(coder.DecodedSize(), 3u);
    decode("QQ==", coder);
    EXPECT_EQ(coder.DecodedSize(), 3u);  // three per full group, padding or not
    decode("QUJDRA", coder);             // short last group: its characters
    EXPECT_EQ(coder.DecodedSize(), 5u);
    EXPECT_EQ(std::string(coder.DecodedMessage()), "ABCD");

    // A large decode, then a small one in the reused buffer: nothing of the
    // first survives past the new data.
    std::string big;
    for (int i = 0; i < 3000; ++i) big += "Zm9vYmFy";
    EXPECT_EQ(decode(big, coder).size(), 18000u);
    EXPECT_EQ(decode("QQ==", coder), "A");
    for (int i = 1; i < 20000; ++i) ASSERT_EQ(coder.DecodedMessage()[i], 0) << i;
}

TEST(Base64CoderTest, EncodesAndDecodesBack) {
    Base64Coder coder;
    coder.Encode("foobar");
    EXPECT_STREQ(coder.EncodedMessage(), "Zm9vYmFy");
    coder.Encode("fooba");
    EXPECT_STREQ(coder.EncodedMessage(), "Zm9vYmE=");
    coder.Encode(static_cast<const char*>(nullptr));
    std::string all;
    for (int i = 1; i < 256; ++i) all += static_cast<char>(i);
    coder.Encode(all.c_str());
    EXPECT_EQ(decode(coder.EncodedMessage()), all);
}

TEST(BasicCodeTest, Rfc4648VectorsAndPadding) {
    const std::pair<const char*, const char*> vectors[] = {
        {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"}, {"administrator:", "YWRtaW5pc3RyYXRvcjo="},
    };
    for (const auto& [plain, encoded] : vectors) EXPECT_STREQ(Base64EncodeBasicAuth(SString(plain)).GetBufferPointer(), encoded);
    EXPECT_STREQ(base64Encode(nullptr, 3).GetBufferPointer(), "");
    EXPECT_STREQ(base64Encode(reinterpret_cast<const unsigned char*>("x"), 0).GetBufferPointer(), "");
    SString empty;
    EXPECT_STREQ(GetBase64AuthCode(empty).GetBufferPointer(), "");
}

TEST(BasicCodeTest, BreaksLinesAfterEvery76Characters) {
    struct Case {
        unsigned bytes;
        const char* shape;  // line lengths and the breaks between them
    } cases[] = {
        // 55 bytes already make 19 groups: the padded group counts too.
        {54, "72"}, {55, "76\r\n"}, {57, "76\r\n"}, {58, "76\r\n4"}, {114, "76\r\n76\r\n"}, {115, "76\r\n76\r\n4"},
    };
    for (const auto& c : cases) {
        std::string data(c.bytes, 'a');
        std::string code = base64Encode(reinterpret_cast<const unsigned char*>(data.data()), c.bytes).GetBufferPointer();
        std::string shape;
        size_t start = 0;
        for (size_t at; (at = code.find("\r\n", start)) != std::string::npos; start = at + 2)
            shape += std::to_string(at - start) + "\r\n";
        if (start < code.size()) shape += std::to_string(code.size() - start);
        EXPECT_EQ(shape, c.shape) << c.bytes << " bytes";
        EXPECT_EQ(code.find('\n') == std::string::npos, c.bytes < 55);
    }
}

TEST(MD5Test, Rfc1321TestSuiteInUpperCaseHex) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& [text, digest] : vectors) {
        char out[129];
        std::memset(out, '#', sizeof out);
        TslKlmoMD5Buffer(text, out);
        EXPECT_STREQ(out, digest) << '"' << text << '"';
    }
    char out[33];
    TslKlmoMD5Buffer(nullptr, out);
    EXPECT_STREQ(out, "D41D8CD98F00B204E9800998ECF8427E");
    TslKlmoMD5Buffer("abc", nullptr);  // no buffer: nothing written, no crash
}

}  // namespace
