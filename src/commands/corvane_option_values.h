// A parsed number queued as a request sentence, shared by the option words
// of the object commands (sizes, counts, alarm levels).
#pragma once

#include <cstdint>

#include "corvane_state.h"

// Queues sentence `name` = `number` in decimal (plain replace).
void ss_queue_decimal(_parseblk* pb, const char* name, uint32_t number);
