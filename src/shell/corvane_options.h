// Session options: SET OPTIONS collects changes in working copies while it
// is parsed and applies them all at once; SHOW OPTIONS lists the settings.
#pragma once

#include "corvane_state.h"

int ss_set_options(_parseblk* pb);
int ss_continue(_parseblk* pb);
int ss_halt_on_error(_parseblk* pb);
int ss_exit_on_error(_parseblk* pb);
int ss_width(_parseblk* pb);
int ss_option_retries(_parseblk* pb);
int ss_option_noretries(_parseblk* pb);
int ss_option_command_delay(_parseblk* pb);
int ss_option_nocommand_delay(_parseblk* pb);
int ss_option_safe_delete(_parseblk* pb);
int ss_option_nosafe_delete(_parseblk* pb);
int ss_show_options(_parseblk* pb);

int ss_option_dispatch(_parseblk* pb);
int ss_option_display_dispatch(_parseblk* pb);
