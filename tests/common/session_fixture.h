// A command-side session for unit tests: fresh parse block and session
// state, output captured in memory, standard input from a string.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "corvane_memory.h"
#include "corvane_seams.h"
#include "corvane_state.h"

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        out_ = open_memstream(&out_buffer_, &out_size_);
        OutFile = out_;
        ss_leak_init();
        max_line_width = 80;
        minutes_to_retry = 4;
        command_delay = 0;
        safe_delete = 1;
        input_source = input_keyboard;
        create_session();
        ss_set_sleep([](unsigned seconds) { slept_seconds += seconds; });
        slept_seconds = 0;
    }

    // A fresh parse block and session state, as the program makes at start.
    void create_session() {
        pb = static_cast<_parseblk*>(ss_allocate_mem(sizeof(_parseblk), "test", __LINE__));
        pb->state = static_cast<session_state*>(ss_allocate_mem(sizeof(session_state), "test", __LINE__));
        pb->state->fenn_flags = ss_copy_string("");
        GLOBAL_PARSEBLOCK = pb;
    }

    void TearDown() override {
        ss_release_all_mem();
        ss_leak_test();
        ss_set_sleep(nullptr);
        ss_set_input_stream(nullptr);
        if (in_) std::fclose(in_);
        OutFile = stdout;
        std::fclose(out_);
        std::free(out_buffer_);
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
};
