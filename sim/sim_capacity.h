// Space accounting of disk groups: how much raw space a virtual disk takes
// for its redundancy, and how much of a disk group's capacity is free.
#pragma once

#include <string_view>

#include "sim_model.h"

namespace talosim {

// Raw space of `size` GB at that redundancy: VRAID0 the size, VRAID1 twice
// it, VRAID5 five fourths of it (rounded up).
unsigned long raw_gigabytes(unsigned long size, std::string_view redundancy);

// Raw space a virtual disk member takes: a demand-allocated snapshot none
// until it is written, every other member its size at its redundancy.
unsigned long raw_gigabytes(const Object& vdisk);

// A disk group's capacity (its `Total_Capacity`) less what its virtual disks take.
unsigned long free_gigabytes(const System& sys, const Object& group);
unsigned long used_gigabytes(const System& sys, std::string_view group_name);

}  // namespace talosim
