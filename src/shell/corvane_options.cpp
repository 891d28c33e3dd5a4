#include "corvane_options.h"

#include <cstdio>

namespace {

int chosen(_parseblk* pb) {
    pb->state->dispatch = ss_option_dispatch;
    return 0;
}

// A value out of range fails the parse, so nothing of the command is applied.
int checked(_parseblk* pb, const char* keyword, uint32_t low, uint32_t high, uint32_t* target) {
    if (pb->number < low || pb->number > high) {
        std::fprintf(OutFile, "\nError: %s must be %u to %u", keyword, low, high);
        return 1;
    }
    *target = pb->number;
    return chosen(pb);
}

void set_policy(_parseblk* pb, bool stop, bool no_pause) {
    uint32_t& flags = pb->state->option_flags;
    flags &= ~(stop_on_error | exit_without_pause);
    if (stop) flags |= stop_on_error;
    if (no_pause) flags |= exit_without_pause;
}

}  // namespace

int ss_set_options(_parseblk* pb) {
    session_state* s = pb->state;
    s->option_flags = s->session_flags;
    s->option_width = max_line_width;
    s->option_retries = minutes_to_retry;
    s->option_command_delay = command_delay;
    s->option_safe_delete = safe_delete;
    return 0;
}

int ss_continue(_parseblk* pb) {
    set_policy(pb, false, false);
    return chosen(pb);
}

int ss_halt_on_error(_parseblk* pb) {
    set_policy(pb, true, false);
    return chosen(pb);
}

int ss_exit_on_error(_parseblk* pb) {
    set_policy(pb, true, true);
    return chosen(pb);
}

int ss_width(_parseblk* pb) { return checked(pb, "DISPLAY_WIDTH", 70, 500, &pb->state->option_width); }

int ss_option_retries(_parseblk* pb) { return checked(pb, "RETRIES", 1, 10, &pb->state->option_retries); }

int ss_option_noretries(_parseblk* pb) {
    pb->state->option_retries = 0;
    return chosen(pb);
}

int ss_option_command_delay(_parseblk* pb) {
    return checked(pb, "COMMAND_DELAY", 0, 300, &pb->state->option_command_delay);
}

int ss_option_nocommand_delay(_parseblk* pb) {
    pb->state->option_command_delay = 0;
    return chosen(pb);
}

int ss_option_safe_delete(_parseblk* pb) {
    pb->state->option_safe_delete = 1;
    return chosen(pb);
}

int ss_option_nosafe_delete(_parseblk* pb) {
    pb->state->option_safe_delete = 0;
    return chosen(pb);
}

int ss_show_options(_parseblk* pb) {
    pb->state->dispatch = ss_option_display_dispatch;
    return 0;
}

int ss_option_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    // Only the policy bits belong to the options; a file's EXIT or a
    // regression run may have changed the other flags since OPTIONS was read.
    constexpr uint32_t policy = stop_on_error | exit_without_pause;
    s->session_flags = (s->session_flags & ~policy) | (s->option_flags & policy);
    max_line_width = s->option_width;
    minutes_to_retry = s->option_retries;
    command_delay = s->option_command_delay;
    safe_delete = s->option_safe_delete;
    return 0;
}

int ss_option_display_dispatch(_parseblk* pb) {
    uint32_t flags = pb->state->session_flags;
    std::fputs("\nOptions:", OutFile);
    if (command_delay != 0)
        std::fprintf(OutFile, "\n    %s = %u (seconds)", "COMMAND_DELAY", command_delay);
    else
        std::fprintf(OutFile, "\n    %s", "NOCOMMAND_DELAY");
    std::fprintf(OutFile, "\n    %s = %u", "DISPLAY_WIDTH", max_line_width);
    const char* policy = !(flags & stop_on_error)      ? "CONTINUE"
                         : (flags & exit_without_pause) ? "EXIT_ON_ERROR"
                                                        : "HALT_ON_ERROR";
    std::fprintf(OutFile, "\n    %s = %s", "ON_ERROR", policy);
    if (minutes_to_retry != 0)
        std::fprintf(OutFile, "\n    %s = %u (minutes)", "RETRIES", minutes_to_retry);
    else
        std::fprintf(OutFile, "\n    %s", "NORETRIES");
    std::fprintf(OutFile, "\n    %s", safe_delete ? "SAFE_DELETE" : "NOSAFE_DELETE");
    return 0;
}
