#include "corvane_debug.h"

#include <cstdio>

#include "corvane_confirm.h"
#include "corvane_dispatch.h"
#include "corvane_exchange.h"
#include "corvane_names.h"

int ss_ar_debug(_parseblk* pb) {
    pb->state->dispatch = ss_dr_null_dispatch;
    return 0;
}

int ss_ar_debug_are_you_sure(_parseblk*) {
    int answer = ss_are_you_sure("\nThis is a test of the \"Are you sure\" capability of TALO");
    std::fputs(answer == 0 ? "\nA SUCCESS was returned" : "\nA FAILURE was returned", OutFile);
    return 0;
}

int ss_ar_debug_debug(_parseblk* pb) {
    pb->state->dispatch = ss_ar_debug_debug_dispatch;
    return 0;
}

int ss_ar_debug_debug_dispatch(_parseblk*) {
    std::fputs("\nDEBUG: DEBUG DEBUG always successful", OutFile);
    return 0;
}

int ss_ar_debug_dump(_parseblk* pb) {
    pb->state->session_flags |= debug_dump;
    return 0;
}

int ss_ar_debug_nodump(_parseblk* pb) {
    pb->state->session_flags &= ~debug_dump;
    return 0;
}

int ss_ar_emversion(_parseblk* pb) {
    pb->state->dispatch = ss_dr_emversion;
    return 0;
}

int ss_ar_rediscover(_parseblk* pb) {
    pb->state->dispatch = ss_dr_rediscover;
    return 0;
}

int ss_ar_exercisestartall(_parseblk* pb) {
    pb->state->dispatch = ss_dr_exercisestartall;
    return 0;
}

int ss_ar_exercisestart(_parseblk* pb) {
    pb->state->dispatch = ss_dr_exercisestart;
    return 0;
}

int ss_ar_exercisestop(_parseblk* pb) {
    pb->state->dispatch = ss_dr_exercisestop;
    return 0;
}

int ss_ar_exercisesummary(_parseblk* pb) {
    pb->state->dispatch = ss_dr_exercisesummary;
    return 0;
}

int ss_ar_debug_fenn_flags(_parseblk* pb) {
    ss_validate_and_copy_name(pb, &pb->state->fenn_flags);
    ss_set_client_debug_level(pb);
    return 0;
}
