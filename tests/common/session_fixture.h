// A command-side session for unit tests: fresh parse block and session
// state, output captured in memory, standard input from a string, and a
// check that the commands a test runs leave no working memory behind.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "corvane_loop.h"
#include "corvane_memory_stats.h"
#include "corvane_object.h"
#include "corvane_seams.h"
#include "corvane_session.h"
#include "corvane_state.h"

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        out_ = open_memstream(&out_buffer_, &out_size_);
        OutFile = out_;
        pb = ss_session_create();
        command_delay = 0;
        input_source = input_keyboard;
        ss_set_sleep([](unsigned seconds) { slept_seconds += seconds; });
        slept_seconds = 0;
    }

    void TearDown() override {
        settle();
        ss_session_destroy(pb);
        ss_set_sleep(nullptr);
        ss_set_input_stream(nullptr);
        if (in_) std::fclose(in_);
        OutFile = stdout;
        std::fclose(out_);
        std::free(out_buffer_);
    }

    // Runs one command line through the command loop and checks that it
    // leaves no working memory: the blocks that are not session memory are
    // counted just before and just after it and must agree. (A command may
    // change session memory; blocks a test made by hand count on both sides.)
    void run(std::string line, const uint32_t* delay = nullptr) {
        settle();
        size_t before = working_blocks();
        text_ = std::move(line);
        ss_parse_command(pb, text_.data(), delay);
        EXPECT_EQ(working_blocks(), before) << "working memory left behind by: " << text_;
    }

    // Tracked blocks that are not session memory. Session memory is what
    // lives from command to command: the two records, the selection and
    // credentials, fenn_flags, and the object list (each entry with its name
    // and identifier); a command may add to it or take from it. Every other
    // tracked block is working memory.
    size_t working_blocks() const {
        const session_state* s = pb->state;
        size_t session = 2;
        for (const char* text : {s->manager_name, s->cell_name, s->cell_id, s->user_name,
                                 s->user_password, s->fenn_flags})
            session += text != nullptr;
        for (const _object_info* entry = s->object_list; entry; entry = entry->next) session += 3;
        return ss_leak_count() - session;
    }

    // A step that only parses keeps the command's working memory for the
    // test to inspect; settle() (called by the next step and at the end)
    // releases it, and then no block of it may be left.
    void keep_working_memory(const std::string& line) {
        kept_by_ = line;
        blocks_before_kept_ = working_blocks();
        keeping_ = true;
    }
    void settle() {
        ss_release_working_mem();
        if (keeping_) {
            EXPECT_EQ(working_blocks(), blocks_before_kept_) << "working memory left behind by: " << kept_by_;
        }
        keeping_ = false;
    }

    // Everything printed to OutFile since the last call.
    std::string output() {
        std::fflush(out_);
        std::string text(out_buffer_, out_size_);
        std::rewind(out_);
        out_size_ = 0;
        if (out_buffer_) out_buffer_[0] = '\0';
        return text;
    }

    void set_input(const std::string& text) {
        if (in_) std::fclose(in_);
        input_text_ = text;
        in_ = fmemopen(input_text_.data(), input_text_.size() ? input_text_.size() : 1, "r");
        if (input_text_.empty()) std::fgetc(in_);  // leave the stream at its end
        ss_set_input_stream(in_);
    }

    _parseblk* pb = nullptr;
    inline static unsigned slept_seconds = 0;

private:
    FILE* out_ = nullptr;
    char* out_buffer_ = nullptr;
    size_t out_size_ = 0;
    FILE* in_ = nullptr;
    std::string input_text_;
    std::string text_;
    std::string kept_by_;
    size_t blocks_before_kept_ = 0;
    bool keeping_ = false;
};
