#include "sim_capacity.h"

#include "sim_changes.h"

namespace talosim {

unsigned long raw_gigabytes(unsigned long size, std::string_view redundancy) {
    if (redundancy == "VRAID1") return size * 2;
    if (redundancy == "VRAID5") return (size * 5 + 3) / 4;
    return size;
}

unsigned long raw_gigabytes(const Object& vdisk) {
    if (vdisk.prop("Snapshot_Type") == "Demand allocated") return 0;
    return raw_gigabytes(leading_number(vdisk.prop("Capacity_Req")), vdisk.prop("Redundancy"));
}

unsigned long used_gigabytes(const System& sys, std::string_view group_name) {
    unsigned long used = 0;
    for (const Object& o : sys.objects)
        if (o.type == type::vdisk && o.prop("Disk_Group") == group_name) used += raw_gigabytes(o);
    return used;
}

unsigned long free_gigabytes(const System& sys, const Object& group) {
    unsigned long total = leading_number(group.prop("Total_Capacity"));
    unsigned long used = used_gigabytes(sys, group.name);
    return used >= total ? 0 : total - used;
}

}  // namespace talosim
