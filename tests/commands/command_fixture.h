// A session that parses one command line against the real keyword tree and
// stops before the dispatch routine, so the sentences the action routines
// queued and the names they kept can be inspected.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "corvane_builtin.h"
#include "corvane_kwt.h"
#include "corvane_memory.h"
#include "corvane_parse.h"
#include "corvane_sentence.h"
#include "session_fixture.h"

class CommandTest : public SessionTest {
protected:
    // As the command loop prepares a command: a fresh working half and the
    // preset dispatch routine.
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
