// One session of the command side from start to end: the parse block and
// session state made, the reset before each command, the release of a
// command's working memory after it, and the release of everything at the
// end. The program, the tests, the fuzzers and the benchmarks all use it.
#pragma once

#include "corvane_state.h"

// Empties the allocation tracker, sets the session-wide settings to their
// start values, and allocates the parse block and session state (with an
// empty fenn_flags); the parse block becomes GLOBAL_PARSEBLOCK. OutFile is
// the caller's to set.
_parseblk* ss_session_create();

// Before each command: the working half of the session state zeroed, the
// incomplete-command routine preset as the dispatch routine, a new empty
// label path. Nothing is released here: a command file's lines run inside
// the FILE command, whose working memory outlives them.
void ss_session_begin_command(_parseblk* pb);

// After each command: releases the working half's texts and what its
// requests left (sentences, reply, token tree) of GLOBAL_PARSEBLOCK; the
// selection, credentials and object list stay.
void ss_release_working_mem();

// At the end: releases the working and the session memory and the two
// records, then everything still tracked; GLOBAL_PARSEBLOCK becomes null.
void ss_session_destroy(_parseblk* pb);
