#include "corvane_object.h"

#include "corvane_memory.h"
#include "corvane_state.h"

namespace {
const char ss_module[] = "corvane_support";
}

void ss_release_objects(_parseblk* pb, int kind) {
    _object_info** link = &pb->state->object_list;
    while (_object_info* entry = *link) {
        if (kind != 0 && entry->kind != kind) {
            link = &entry->next;
            continue;
        }
        *link = entry->next;
        ss_deallocate_mem(entry->name, ss_module, __LINE__);
        ss_deallocate_mem(entry->id, ss_module, __LINE__);
        ss_deallocate_mem(entry, ss_module, __LINE__);
    }
}
