// A session that parses whole command lines against the real keyword tree:
// parse() stops after the parse (the dispatch routine is only selected, the
// sentences the action routines queued and the names they kept can be
// inspected until the next step), run() goes through the command loop and
// runs it.
#pragma once

#include <string>
#include <vector>

#include "corvane_kwt.h"
#include "corvane_parse.h"
#include "corvane_sentence.h"
#include "session_fixture.h"

class ParseTest : public SessionTest {
protected:
    // As the command loop starts a command, then the parse alone.
    int parse(const std::string& line) {
        settle();
        keep_working_memory(line);
        ss_session_begin_command(pb);
        text_ = line;
        pb->cursor = text_.data();
        pb->remaining = static_cast<uint32_t>(text_.size());
        return ss_parse(Corvane_kwt, pb);
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
