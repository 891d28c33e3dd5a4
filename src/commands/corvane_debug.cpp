#include "corvane_debug.h"

#include <cstdio>

#include "corvane_confirm.h"
#include "corvane_dispatch.h"
#include "corvane_exchange.h"
#include "corvane_names.h"
#include "corvane_seams.h"

namespace {
constexpr char build_number[] = "7";
constexpr char build_version[] = "3.2";
constexpr char build_date[] = "Jul 14 2004";
constexpr char build_time[] = "18:05:28";
}  // namespace

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

int ss_ar_debug_fenn_flags(_parseblk* pb) {
    ss_validate_and_copy_name(pb, &pb->state->fenn_flags);
    ss_set_client_debug_level(pb);
    return 0;
}

int ss_ar_debug_information(_parseblk*) {
    std::fprintf(OutFile, "\n\nTALO Build %s for veltra quillon dorn %s on %s at %s\n", build_number, build_version,
                 build_date, build_time);
    std::fputs("DR support enabled\n", OutFile);
    char version[ss_version_field_size] = {};
    char date[ss_version_field_size] = {};
    if (ss_client().get_version_information(version, date) == 0)
        std::fprintf(OutFile, "%s, Build date: %s\n", version, date);
    else
        std::fputs("EMClientAPI version unknown\n", OutFile);
    return 0;
}
