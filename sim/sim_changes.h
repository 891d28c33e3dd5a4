// What the change handlers of the object classes share: the system and the
// objects a request names, where names live (folders and virtual disk
// families), and values read out of sentences. Every handler checks the
// whole request before it changes anything, so a refused request leaves the
// model as it was.
#pragma once

#include <string>
#include <string_view>

#include "sim_engine.h"
#include "sim_reply.h"

namespace talosim {

// Done when the request names an initialized system, else the refusal.
Outcome check_system(const System* sys, const Request& req);

// Finds the object of `type` whose identifier the sentence `sentence` holds;
// `what` names the kind in the refusal ("Virtual disk").
Outcome find_named(Model& model, System& sys, const Request& req, std::string_view sentence, std::string_view type,
                   std::string_view what, Object*& out);

// The folder named by the `FolderID` sentence, which must be `root` or lie
// below it; without the sentence, `root` itself. `what` names the objects
// in the refusal ("Virtual disks").
Outcome folder_below(Model& model, System& sys, const Request& req, std::string_view root, std::string_view what,
                     std::string& out);

// Checks the `Name` sentence as a new name; without one the request is
// refused when `required`, else done.
Outcome check_new_name(const Request& req, bool required);

// The folder part of a name, final backslash included:
// "\Virtual Disks\Finance\ledger" -> "\Virtual Disks\Finance\". A folder's
// own final backslash is not counted: "\Virtual Disks\Finance\" ->
// "\Virtual Disks\".
std::string parent_path(std::string_view name);

// The family of a virtual disk member: "\Virtual Disks\db_data\snap_monday"
// -> "\Virtual Disks\db_data". The family's active member ends in "\ACTIVE".
inline constexpr std::string_view active_suffix = "\\ACTIVE";
std::string family_of(const Object& vdisk);
bool is_active_member(const Object& vdisk);

// True when something already stands at `path` (given without a final
// backslash): a folder, a virtual disk family or member, a host, a disk
// group or disk, or the ungrouped disks.
bool path_in_use(const System& sys, std::string_view path);

// Renames every object whose name starts with `from` (a folder path with
// its final backslash) to start with `to`; virtual disks keep their
// `Family_Name` in step.
void rename_below(System& sys, std::string_view from, std::string_view to);

// A decimal number of at most ten digits, from `min` to `max`.
bool read_number(std::string_view text, unsigned long min, unsigned long max, unsigned long& out);

// Checks the `comments` sentence: at most 128 characters.
Outcome check_comment(const Request& req);

// Checks a `creationmode` or `deletionmode` sentence: "synchronous" or
// "asynchronous". The simulator completes both at once.
Outcome check_mode(const Request& req, std::string_view sentence);

// A world wide name of `digits` hexadecimal digits, dashes anywhere; `out`
// gets it in upper case in groups of four joined by dashes. False when the
// text is anything else.
bool read_world_wide_name(std::string_view text, size_t digits, std::string& out);

// True when a virtual disk of the system other than `except_id` has that
// world wide LUN name; and a name of the simulator's own that none has.
bool lun_wwn_in_use(const System& sys, std::string_view wwn, std::string_view except_id);
std::string new_lun_wwn(Model& model, const System& sys);

// "10 GB"; and the number a text such as "10 GB", "95 %" or "12" starts
// with (0 when it starts with no digit).
std::string gigabytes(unsigned long n);
unsigned long leading_number(std::string_view text);

}  // namespace talosim
