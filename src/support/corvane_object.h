// The session's list of objects the server last reported: kind, name and
// identifier, with the duplicate-name rule and the lookups by name.
#pragma once

#include <cstdint>

#include "corvane_object_info.h"

struct _parseblk;

// Appends an entry; a name that equals one already listed gets a "{n}" suffix.
// An empty name ends the program.
void ss_add_object(_parseblk* pb, int kind, const char* name, const char* id);
// Removes the entries of one kind (kind 0: every entry), keeping the order of the rest.
void ss_release_objects(_parseblk* pb, int kind);
// True when at least one entry of the kind exists.
bool ss_find_object(_parseblk* pb, int kind);
// First entry of the kind with exactly that name, or null.
_object_info* ss_find_object_id(_parseblk* pb, int kind, const char* name);
// As above; prints "not found" when there is none.
_object_info* ss_find_object_id_error(_parseblk* pb, int kind, const char* name);

// Diagnostic printout of one entry: its address, next link, kind, name and id.
void ss_dump_object(const _object_info* entry);

// Adds many entries of one kind in O(1) each (the list walk and the name
// comparisons of ss_add_object are replaced by an index of this kind's names).
class ss_object_appender {
public:
    ss_object_appender(_parseblk* pb, int kind);
    ~ss_object_appender();
    ss_object_appender(const ss_object_appender&) = delete;
    ss_object_appender& operator=(const ss_object_appender&) = delete;
    void add(const char* name, const char* id);

private:
    struct index;
    _parseblk* pb_;
    int kind_;
    index* index_;
};
