// Writing reply documents in the shapes the client's tokenizer reads: the
// legacy envelope with `LabelName`, `Category` and `ArrayOfString`, flat
// name/value elements, success and failure messages, and the version-3
// envelope with its version and status.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim_model.h"

namespace talosim {

// Message numbers the simulator reports with "NotSuccessMsg": the one table
// of them. None is a number the client retries on (18034 is the only one
// used here that is, on purpose), so a refusal is reported at once.
//
//   number  situation
//   5       a value the array does not take: a name over 32 characters or
//           with a forbidden character, a number out of range (size, LUN,
//           OS unit id, occupancy alarm), an unknown choice,
//           a malformed world wide name or address, a missing sentence
//   7       an identifier of no object: system, object, folder, disk group,
//           source virtual disk, host, disk
//   20      a name already in use at that place
//   21      a LUN number already presented to that host
//   22      a world wide name (host adapter or virtual disk) already in use
//   23      a virtual disk already presented to that host
//   24      a virtual disk that is already a member of a DR group, or the
//           copy of one
//   25      a destination disk group that is not on the DR group's
//           destination system
//   30      deleting a virtual disk that still has LUNs
//   31      deleting a virtual disk that still has snapshots
//   32      deleting a folder that is not empty
//   33      deleting a disk group that holds virtual disks
//   34      deleting a host that still has LUNs
//   35      deleting a virtual disk that is a member of a DR group
//   36      an operation the object does not allow (a root folder, a
//           snapshot of a snapshot, resizing a snapshot, shrinking a
//           virtual disk, a folder below "\Disk Groups\", a snapshot as a
//           DR member, a DR group onto its own system, changing members on
//           the destination side, removing a disk that is in no DR group,
//           starting the disk exerciser while it runs, stopping it when it
//           does not)
//   37      deleting a DR group that still has members
//   41      an operation and element type the manager does not serve
//   52      a system that is not initialized
//   61      too few (suitable) disks for a disk group or system
//   62      a size that does not fit the disk group's free space
//   18034   the server is busy (the control channel's fault)
namespace msgnum {
inline constexpr int invalid_parameter = 5;
inline constexpr int not_found = 7;
inline constexpr int name_in_use = 20;
inline constexpr int lun_in_use = 21;
inline constexpr int wwn_in_use = 22;
inline constexpr int already_presented = 23;
inline constexpr int member_in_use = 24;
inline constexpr int not_on_destination = 25;
inline constexpr int vdisk_has_luns = 30;
inline constexpr int vdisk_has_snapshots = 31;
inline constexpr int folder_not_empty = 32;
inline constexpr int group_not_empty = 33;
inline constexpr int host_has_luns = 34;
inline constexpr int vdisk_in_dr_group = 35;
inline constexpr int not_allowed = 36;
inline constexpr int dr_group_has_members = 37;
inline constexpr int not_supported = 41;
inline constexpr int not_initialized = 52;
inline constexpr int insufficient_disks = 61;
inline constexpr int insufficient_space = 62;
inline constexpr int busy = 18034;
}  // namespace msgnum

// "<name>value</name>" and a line feed; "<" and ">" in the value are escaped
// so that no value can open a tag.
std::string element(std::string_view name, std::string_view value);

// A labelled `Category` section holding the fields.
std::string category(std::string_view label, const std::vector<Field>& fields);

// A labelled array of rows, two items (Name and ID) per row; nothing at all
// when there are no rows.
std::string name_id_array(std::string_view label, const std::vector<std::pair<std::string, std::string>>& rows);

std::string success_message(std::string_view text);
std::string failure_message(std::string_view text, int number);

// Wraps content into the legacy reply envelope.
std::string legacy_envelope(std::string_view content);

// The version-3 reply: version 3.2, status code and description, content.
// `ns` is the vendor namespace URL of the envelope; empty writes the plain
// "<SOAP:Envelope>" opening.
std::string v3_envelope(int status, std::string_view description, std::string_view content, std::string_view ns = {});

}  // namespace talosim
