#include "corvane_power.h"

#include "corvane_catalogue.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"
#include "corvane_sentence.h"

int ss_show_power(_parseblk* pb) {
    pb->state->dispatch = ss_show_power_dispatch;
    return 0;
}

// RESTART and SHUTDOWN are one request to the power object; the command word
// decides its Restart value.
int ss_restart(_parseblk* pb) {
    pb->state->dispatch = ss_set_power_dispatch;
    ss_replace_soap_sentence(pb, "Restart", "YES");
    return 0;
}

int ss_shutdown(_parseblk* pb) {
    pb->state->dispatch = ss_set_power_dispatch;
    ss_replace_soap_sentence(pb, "Restart", "NO");
    return 0;
}

int ss_all_peers(_parseblk* pb) {
    ss_replace_soap_sentence(pb, "Coupled", "YES");
    return 0;
}

int ss_noall_peers(_parseblk* pb) {
    ss_replace_soap_sentence(pb, "Coupled", "NO");
    return 0;
}

// No confirmation: the operator names the controller and the command word.
int ss_set_power_dispatch(_parseblk* pb) { return ss_set_object(pb, kind_power); }
int ss_show_power_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_power); }
