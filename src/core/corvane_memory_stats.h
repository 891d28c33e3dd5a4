// Figures of the allocation tracker, for the tests and benchmarks that watch
// it; the program itself never needs them.
#pragma once

#include <cstddef>

size_t ss_leak_count();     // live tracked blocks
size_t ss_leak_capacity();  // tracker slots currently held
