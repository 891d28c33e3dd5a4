// A session that parses whole command lines against the real keyword tree:
// parse() stops after the parse (the dispatch routine is only selected, the
// sentences the action routines queued and the names they kept can be
// inspected), run() goes through the command loop and runs it.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "corvane_builtin.h"
#include "corvane_kwt.h"
#include "corvane_loop.h"
#include "corvane_memory.h"
#include "corvane_parse.h"
#include "corvane_sentence.h"
#include "session_fixture.h"

class ParseTest : public SessionTest {
protected:
    // As the command loop does: a fresh working half and the preset dispatch.
    int parse(const std::string& line) {
        ss_release_working_mem();
        session_state* s = pb->state;
        std::memset(reinterpret_cast<char*>(s) + ss_working_state_offset, 0,
                    sizeof(session_state) - ss_working_state_offset);
        s->dispatch = ss_incomplete_command;
        text_ = line;
        pb->cursor = text_.data();
        pb->remaining = static_cast<uint32_t>(text_.size());
        return ss_parse(Corvane_kwt, pb);
    }

    void run(const std::string& line) {
        text_ = line;
        ss_parse_command(pb, text_.data(), nullptr);
    }

    ss_routine dispatch() const { return pb->state->dispatch; }

    // The queue as "name=value", in the order the request writers emit it.
    std::vector<std::string> sentences() const {
        std::vector<std::string> queued;
        for (const _soap_sent_info* s = pb->state->sentences; s; s = s->next)
            queued.push_back(std::string(s->name) + "=" + s->value);
        return queued;
    }

private:
    std::string text_;
};
