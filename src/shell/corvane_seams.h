// The few ways the command side reaches the outside world besides OutFile:
// standard input, whole-second sleeps and the time of day. Tests replace
// them so they never wait or need a terminal.
#pragma once

#include <cstdio>
#include <ctime>

// The stream keyboard lines, confirmations and "Press return" are read from.
FILE* ss_input_stream();
void ss_set_input_stream(FILE* stream);  // null restores stdin

using ss_sleep_fn = void (*)(unsigned seconds);
void ss_sleep(unsigned seconds);
void ss_set_sleep(ss_sleep_fn fn);  // null restores the real sleep

using ss_time_fn = time_t (*)();
time_t ss_time_now();
void ss_set_time(ss_time_fn fn);  // null restores the real clock
