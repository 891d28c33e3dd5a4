#include "corvane_folder.h"

#include <cstdio>

#include "corvane_catalogue.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"

int ss_add_folder_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_folder_dispatch;
    return 0;
}

int ss_set_folder(_parseblk* pb) {
    pb->state->dispatch = ss_set_folder_dispatch;
    return 0;
}

int ss_show_folder(_parseblk* pb) {
    pb->state->dispatch = ss_show_folder_dispatch;
    return 0;
}

int ss_delete_folder(_parseblk* pb) {
    pb->state->dispatch = ss_delete_folder_dispatch;
    return 0;
}

// A folder is made inside an existing one, named by its whole path with the
// final backslash; the new folder's parent goes as ID.
int ss_add_folder_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_new_name(pb) != 0) return 1;
    if (!s->folder_name) {
        std::fputs("\nError: Root folders cannot be created", OutFile);
        return 1;
    }
    if (ss_check_cell_set(pb) != 0) return 1;
    if (ss_queue_object_id(pb, kind_folder, s->folder_name, "ID") != 0) return 1;
    return ss_send_cell_request(pb, "Create", fenn_objects[kind_folder]);
}

int ss_set_folder_dispatch(_parseblk* pb) { return ss_set_object(pb, kind_folder); }
int ss_delete_folder_dispatch(_parseblk* pb) { return ss_delete_object(pb, kind_folder); }
int ss_show_folder_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_folder); }
