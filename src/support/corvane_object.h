// The session's list of objects the server last reported: kind, name, id.
#pragma once

#include <cstdint>

struct _parseblk;

struct _object_info {
    _object_info* next;
    uint8_t kind;
    char* name;
    char* id;
};

// Removes the entries of one kind (kind 0: every entry), keeping the order of the rest.
void ss_release_objects(_parseblk* pb, int kind);
