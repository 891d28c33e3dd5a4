// Object kinds: the display names used in messages and the element type
// names the server knows them by, indexed by kind number.
#pragma once

#include "corvane_object_info.h"  // the kind numbers

// Both tables end with an empty string.
extern const char* const objects[];
extern const char* const fenn_objects[];
