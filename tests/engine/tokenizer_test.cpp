// The reply tokenizer: tree shapes, every error message, the search order,
// and replies far longer and deeper than any call stack.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "corvane_display.h"
#include "corvane_memory.h"
#include "corvane_token.h"
#include "corvane_tokenizer.h"
#include "session_fixture.h"

namespace {

// A compact picture of a chain: named tokens as name=value, categories as
// [label: members], arrays as @label<row | row>; bare continuation tokens
// are left out.
std::string shape(const _token_info* token);

std::string below(const _token_info* token) {
    const _token_info* sub = token->sub;
    if (sub->category) return std::string("[") + sub->category + ": " + shape(sub->next) + "]";
    std::string rows = std::string("@") + (token->array_label ? token->array_label : "?") + "<";
    for (const _token_info* row = sub; row; row = row->sub) {
        if (row != sub) rows += " | ";
        rows += shape(row->next);
    }
    return rows + ">";
}

std::string shape(const _token_info* token) {
    std::string out;
    for (; token; token = token->next) {
        std::string item;
        if (token->name) item = std::string(token->name) + "=" + (token->value ? token->value : "?");
        if (token->sub) {
            if (!token->name) item += '-';
            item += below(token);
        }
        if (item.empty()) continue;
        if (!out.empty()) out += ' ';
        out += item;
    }
    return out;
}

class TokenizerTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        pb->state->label_path = ss_copy_string("");
        pb->state->tokens = ss_allocate_token();
    }

    int tokenize(const std::string& reply) {
        reply_ = reply;
        return ss_parse_soap_buffer(pb, reply_.c_str(), pb->state->tokens);
    }

    _token_info* root() const { return pb->state->tokens; }

private:
    std::string reply_;
};

const std::string envelope_open = "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n"
                                  "<SOAP:Body=tessel-brindle:qxapi.v1>\n"
                                  "<m:getResponse xmlns:m=\"FENN-URI\">\n";
const std::string envelope_close = "</m:getResponse>\n</SOAP:Body>\n</SOAP:Envelope>\n";

std::string array(int per_row, int rows, const std::string& items) {
    return "<ArrayOfString xsd:type=\"u:string[" + std::to_string(per_row) + "," +
           std::to_string(rows) + "]\">" + items + "</ArrayOfString>";
}

std::string label(const std::string& text) {
    return "<LabelName xsd:type=\"u:string\">" + text + "</LabelName>";
}

struct good_case {
    const char* what;
    std::string reply;
    std::string tree;
};

TEST_F(TokenizerTest, RepliesAndTheirTrees) {
    const std::vector<good_case> cases = {
        {"empty reply", "", ""},
        {"envelope only", envelope_open + envelope_close, ""},
        {"empty element", "<SOAP:Envelope><A/><B>x y\n</B></SOAP:Envelope>", "A= B=x y\n"},
        {"values are raw", "<SOAP:Body><V>&lt;a&amp;</V></SOAP:Body>", "V=&lt;a&amp;"},
        {"closing tag checked by prefix", "<Name>a</NameX>", "Name=a"},
        {"array rows", label("Hosts") + array(2, 3, "<N>a</N><I>1</I><N>b</N><I>2</I><N>c</N><I>3</I>"),
         "-@Hosts<N=a I=1 | N=b I=2 | N=c I=3>"},
        {"label loses trailing blanks", label("Ports   ") + array(1, 1, "<P>1</P>"), "-@Ports<P=1>"},
        {"blank label", label("   ") + array(1, 2, "<P>1</P><P>2</P>"), "-@<P=1 | P=2>"},
        {"array on the token before", "<S>ok</S>" + label("L") + array(1, 1, "<P>1</P>") + "<T>2</T>",
         "S=ok@L<P=1> T=2"},
        {"fewer rows than announced", label("L") + array(1, 5, "<P>1</P><P>2</P>\n"),
         "-@L<P=1 | P=2>"},
        {"empty array", label("L") + array(2, 0, "\n") + "<T>1</T>", "T=1"},
        {"category", label("Ports") + "<Category><P>1</P><Q>2</Q></Category><Z>9</Z>",
         "-[Ports: P=1 Q=2] Z=9"},
        {"category takes the label in force", "<Category><P>1</P></Category>", "-[: P=1]"},
        {"wrappers join one chain", "<object><A>1</A></object>\n<object><B>2</B></object><C>3</C>",
         "A=1 B=2 C=3"},
        {"nested wrappers", "<link><member><A>1</A></member><remotevdisk><B>2</B></remotevdisk></link>",
         "A=1 B=2"},
        {"content after a step-over element is kept",
         "<SOAP:Envelope><SOAP:Body><A>1</A></SOAP:Body><B>2</B></SOAP:Envelope>", "A=1 B=2"},
        {"category first in a row keeps the next row",
         label("R") + array(2, 2, "<Category><P>1</P></Category><N>a</N>") + "<T>1</T>",
         "-@R<-[R: P=1] N=a> T=1"},
        {"array first in a row keeps the next row",
         label("R") + array(1, 2, label("In") + array(1, 1, "<P>1</P>") + "<N>a</N>") + "",
         "-@R<-@In<P=1> N=a>"},
        {"vendor envelope",
         "<SOAP:Envelope xmlns=\"http://www.veltra.com/qxapiv3\" "
         "xmlns:qxapi=\"http://www.veltra.com/qxapiv3\"><A>1</A></SOAP:Envelope>",
         "A=1"},
    };
    for (const good_case& c : cases) {
        SCOPED_TRACE(c.what);
        ss_release_working_mem();  // as between two commands
        pb->state->label_path = ss_copy_string("");
        pb->state->tokens = ss_allocate_token();
        EXPECT_EQ(tokenize(c.reply), 0);
        EXPECT_EQ(output(), "");
        EXPECT_EQ(shape(root()), c.tree);
    }
}

TEST_F(TokenizerTest, ListReplyBuildsTheDocumentedTree) {
    ASSERT_EQ(tokenize(envelope_open + label("Hosts") +
                       array(2, 3, "<Name>h1</Name><ID>1</ID><Name>h2</Name><ID>2</ID>"
                                   "<Name>h3</Name><ID>3</ID>") +
                       "<SuccessMsg>done</SuccessMsg>" + envelope_close),
              0);
    _token_info* r = root();
    EXPECT_STREQ(r->array_label, "Hosts");
    _token_info* row1 = r->sub;
    ASSERT_NE(row1, nullptr);
    EXPECT_EQ(row1->name, nullptr);
    EXPECT_STREQ(row1->next->name, "Name");
    EXPECT_STREQ(row1->next->next->name, "ID");
    EXPECT_EQ(row1->next->next->next, nullptr);
    ASSERT_NE(row1->sub, nullptr);
    ASSERT_NE(row1->sub->sub, nullptr);
    EXPECT_EQ(row1->sub->sub->sub, nullptr);
    ASSERT_NE(r->next, nullptr);
    EXPECT_EQ(r->next->name, nullptr);
    EXPECT_STREQ(r->next->next->name, "SuccessMsg");
    EXPECT_EQ(ss_tokens_find_name(r, "SuccessMsg"), r->next->next);
}

struct bad_case {
    const char* what;
    std::string reply;
    std::string message;
};

TEST_F(TokenizerTest, BadRepliesAreRefusedWithTheirMessage) {
    const std::vector<bad_case> cases = {
        {"no '>'", "<SOAP:Body><A", "\nError: Did not find '>' after token starting here->\n<A"},
        {"no '>' after end token", "<A>1</A",
         "\nError: Did not find '>' after token starting here->\n</A"},
        {"zero length", "<>x</>", "\nError: Zero length token starting here->\n<>x</>"},
        {"blank-only name", "< =1>", "\nError: Zero length token starting here->\n< =1>"},
        {"no '<' after info", "<A>abc", "\nError: Did not find '<' after info starting here->\n<A>abc"},
        {"no '<' after label", "<LabelName xsd:type=\"u:string\">x",
         "\nError: Did not find '<' after info starting here->\n<LabelName xsd:type=\"u:string\">x"},
        {"nested in a plain element", "<A><B>1</B></A>",
         "\nError: Did not find end token \"</A\" starting here->\n<B>1</B></A>"},
        {"blank before the slash", "<A />text<B>1</B>",
         "\nError: Did not find end token \"</A\" starting here->\n<B>1</B>"},
        {"XML declaration", "<?xml version=\"1.0\"?>\n<SOAP:Envelope></SOAP:Envelope>",
         "\nError: Did not find end token \"</?xml\" starting here->\n<SOAP:Envelope></SOAP:Envelope>"},
        {"no ',' in the counts", "<ArrayOfString xsd:type=\"u:string[5]\"><A>1</A></ArrayOfString>,",
         "\nError: Did not find ',' after first array count starting here->\n"
         "5]\"><A>1</A></ArrayOfString>,"},
        {"reply cut short", "<SOAP:Envelope><A>1</A>\n",
         "\nError: Did not find end token \"</SOAP:Envelope\" starting here->\n\n"},
        {"wrong closing tag", "<SOAP:Body><A>1</A></SOAP:Envelope>",
         "\nError: Did not find end token \"</SOAP:Body\" starting here->\n</SOAP:Envelope>"},
        {"unmatched closing tag", "<A>1</A></B><C>2</C>",
         "\nError: Unexpected end token starting here->\n</B><C>2</C>"},
        {"more items than the array holds", array(1, 2, "<P>1</P><P>2</P><P>3</P>"),
         "\nError: Array holds more than 2 rows of 1 items starting here->\n"
         "<P>3</P></ArrayOfString>"},
        {"items in an array of empty rows", array(0, 4, "<P>1</P>"),
         "\nError: Array holds more than 4 rows of 0 items starting here->\n"
         "<P>1</P></ArrayOfString>"},
        {"category left open", "<Category><A>1</A>",
         "\nError: Did not find end token \"</Category\" starting here->\n"},
    };
    for (const bad_case& c : cases) {
        SCOPED_TRACE(c.what);
        ss_deallocate_tokens(pb->state->tokens);
        pb->state->tokens = ss_allocate_token();
        EXPECT_EQ(tokenize(c.reply), 1);
        EXPECT_EQ(output(), c.message);
    }
}

TEST_F(TokenizerTest, FailedElementKeepsNoName) {
    ASSERT_EQ(tokenize("<A>1</A><B>2</C>"), 1);
    ASSERT_NE(root()->next, nullptr);
    ASSERT_NE(root()->next->next, nullptr);
    EXPECT_EQ(root()->next->next->name, nullptr);
    EXPECT_EQ(ss_tokens_find_name(root(), "B"), nullptr);
}

TEST_F(TokenizerTest, SearchOrder) {
    // The later of two equal names in a chain.
    ASSERT_EQ(tokenize("<NotSuccessMsg>first</NotSuccessMsg><X>1</X>"
                       "<NotSuccessMsg>second</NotSuccessMsg>"),
              0);
    EXPECT_STREQ(ss_tokens_find_name(root(), "NotSuccessMsg")->value, "second");
    EXPECT_EQ(ss_tokens_find_name(root(), "notsuccessmsg"), nullptr);
    EXPECT_EQ(ss_tokens_find_name(root(), "Y"), nullptr);

    // A match later in the chain (even inside a later token's category)
    // beats one below an earlier token, which beats the token itself.
    ss_deallocate_tokens(pb->state->tokens);
    pb->state->tokens = ss_allocate_token();
    ASSERT_EQ(tokenize("<X>self</X><Category><X>below</X></Category><Y>1</Y>"
                       "<Category><X>later</X></Category>"),
              0);
    EXPECT_STREQ(ss_tokens_find_name(root(), "X")->value, "later");
    _token_info* self = root()->next;
    ASSERT_STREQ(self->value, "self");
    EXPECT_STREQ(ss_tokens_find_name(self->sub, "X")->value, "below");

    ss_deallocate_tokens(pb->state->tokens);
    pb->state->tokens = ss_allocate_token();
    ASSERT_EQ(tokenize("<X>self</X><Category><X>below</X></Category>"), 0);
    EXPECT_STREQ(ss_tokens_find_name(root(), "X")->value, "below");
}

// Replies of this size would overflow the call stack of a walk that
// descends once per element or per nesting level.
class HugeReplyTest : public TokenizerTest {
protected:
    void SetUp() override {
        TokenizerTest::SetUp();
        sink_ = std::fopen("/dev/null", "w");
    }
    void TearDown() override {
        std::fclose(sink_);
        TokenizerTest::TearDown();
    }
    // Tokenize, search, print and release the whole reply.
    void run_through(const std::string& reply, const char* wanted) {
        size_t before = ss_leak_count();  // includes the root
        ASSERT_EQ(tokenize(reply), 0) << output().substr(0, 300);
        EXPECT_NE(ss_tokens_find_name(root(), wanted), nullptr);
        EXPECT_EQ(ss_tokens_find_name(root(), "Absent"), nullptr);
        FILE* out = OutFile;
        OutFile = sink_;
        ss_soap_print_tokens(pb, root());
        OutFile = out;
        ss_deallocate_tokens(pb->state->tokens);
        pb->state->tokens = nullptr;
        EXPECT_EQ(ss_leak_count(), before - 1);
    }
    FILE* sink_ = nullptr;
};

constexpr int million = 1000000;
constexpr int deep = 200000;

TEST_F(HugeReplyTest, MillionElementChain) {
    std::string reply = envelope_open;
    for (int i = 0; i < million; ++i) reply += "<N>v</N>";
    run_through(reply + "<Last>x</Last>" + envelope_close, "Last");
}

TEST_F(HugeReplyTest, MillionRowArray) {
    std::string items;
    for (int i = 0; i < million; ++i) items += "<N>v</N>";
    run_through(label("Rows") + array(1, million, items), "N");
}

TEST_F(HugeReplyTest, DeeplyNestedCategories) {
    std::string reply;
    for (int i = 0; i < deep; ++i) reply += label("L") + "<Category><N>v</N>";
    reply += "<Bottom>x</Bottom>";
    for (int i = 0; i < deep; ++i) reply += "</Category>";
    run_through(reply, "Bottom");
}

TEST_F(HugeReplyTest, DeeplyNestedWrappersAndArrays) {
    std::string reply;
    for (int i = 0; i < deep; ++i) reply += "<object><N>v</N>" + label("A") + "<ArrayOfString xsd:type=\"u:string[2,1]\">";
    reply += "<Bottom>x</Bottom>";
    for (int i = 0; i < deep; ++i) reply += "</ArrayOfString></object>";
    run_through(reply, "Bottom");
}

}  // namespace
