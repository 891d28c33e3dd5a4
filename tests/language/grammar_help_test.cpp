// "?" at each level of the command language, compared byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grammar_fixture.h"

namespace {

std::string options(const std::vector<std::string>& words) {
    std::string text = words.size() == 1 ? "\n  The only option is:" : "\n  The options are:";
    for (const std::string& w : words) text += "\n    " + w;
    return text;
}

const std::string no_more = "\n  This command has no additional keywords or parameters";
const std::string wwn = "World Wide Name in the form 6nnn-nnnn-nnnn-nnnn-nnnn-nnnn-nnnn-nnnn";

struct HelpCase {
    std::string line;
    std::string printed;
};

TEST_F(GrammarTest, HelpListsTheVisibleWordsInTableOrder) {
    const HelpCase cases[] = {
        // DEBUG and REGRESSION are hidden.
        {"?", options({"ADD", "CAPTURE", "DELETE", "EMVERSION", "EXERCISE_DISK", "EXIT", "FILE", "HELP",
                       "REDISCOVER", "RESTART", "SELECT", "SET", "SHOW", "SHUTDOWN"})},
        // The synonyms CELL, GROUP and STORAGE are hidden.
        {"ADD ?", options({"COPY", "DISK_GROUP", "DR_GROUP", "FOLDER", "HOST", "LUN", "SNAPSHOT", "SYSTEM", "VDISK"})},
        {"add vdisk ?", options({"Name of Vdisk"})},
        {"ADD VDISK Quabex ?",
         options({"COMMENT", "DISK_GROUP", "MIRRORED_WRITEBACK", "NOMIRRORED_WRITEBACK", "OS_UNIT_ID",
                  "PREFERRED_PATH", "NOPREFERRED_PATH", "READ_CACHE", "NOREAD_CACHE", "REDUNDANCY", "SIZE",
                  "WAIT_FOR_COMPLETION", "NOWAIT_FOR_COMPLETION", "WORLD_WIDE_LUN_NAME", "WRITE_PROTECT",
                  "NOWRITE_PROTECT"})},
        {"ADD VDISK Ramsot REDUNDANCY=?", options({"VRAID0", "VRAID1", "VRAID5"})},
        {"ADD VDISK v REDUNDANCY ?", "\n  The only option is: = [get help at a lower level]"},
        {"ADD VDISK v SIZE ?", "\n  The only option is: = (decimal value)"},
        {"ADD VDISK v SIZE=?", "\n  The only option is: (decimal value)"},
        {"ADD VDISK v COMMENT=?", "\n  The only option is: (string enclosed in quotes)"},
        {"ADD VDISK v SIZE=10 PREFERRED_PATH=?",
         options({"PATH_A_FAILOVER", "PATH_A_BOTH", "PATH_B_FAILOVER", "PATH_B_BOTH"})},
        {"ADD VDISK v WORLD_WIDE_LUN_NAME=?", options({wwn})},
        {"ADD SYSTEM s ?", options({"COMMENT", "CONSOLE_LUN_ID", "DEVICE_COUNT", "DISKGROUP_DISKTYPE", "SPARE_POLICY"})},
        {"ADD SYSTEM s SPARE_POLICY=?", options({"DOUBLE", "NONE", "SINGLE"})},
        {"ADD COPY c ?", options({"DISK_GROUP", "OS_UNIT_ID", "REDUNDANCY", "VDISK", "WAIT_FOR_COMPLETION",
                                  "NOWAIT_FOR_COMPLETION", "WORLD_WIDE_LUN_NAME"})},
        {"ADD SNAPSHOT s ?",
         options({"ALLOCATION_POLICY", "OS_UNIT_ID", "REDUNDANCY", "VDISK", "WORLD_WIDE_LUN_NAME"})},
        {"ADD SNAPSHOT s ALLOCATION_POLICY=?", options({"DEMAND", "FULLY"})},
        {"ADD DISK_GROUP g ?",
         options({"COMMENT", "DEVICE_COUNT", "OCCUPANCY_ALARM", "DISKGROUP_DISKTYPE", "SPARE_POLICY"})},
        {"ADD DR_GROUP d ?", options({"ACCESSMODE", "COMMENT", "DESTINATION_DISK_GROUP", "DESTINATION_SYSTEM",
                                      "DESTINATION_VDISK_NAME", "VDISK", "WRITEMODE"})},
        {"ADD DR_GROUP d WRITEMODE=?", options({"ASYNCHRONOUS", "SYNCHRONOUS"})},
        {"ADD DR_GROUP d DESTINATION_SYSTEM=?", options({"Name of destination system"})},
        {"ADD FOLDER f ?", options({"COMMENT"})},
        {"ADD FOLDER f COMMENT=\"c\" ?", no_more},
        {"ADD HOST h ?", options({"COMMENT", "IP", "OPERATING_SYSTEM", "WORLD_WIDE_NAME"})},
        {"ADD HOST h IP=?", options({"IP address in the form of nnn.nnn.nnn.nnn"})},
        {"ADD HOST h OPERATING_SYSTEM=?",
         options({"CUSTOM", "KORUX", "IBMAIX", "RAVEN_OS", "SOLARIS", "QANTO", "UNKNOWN", "WINDOWS"})},
        {"ADD HOST h OPERATING_SYSTEM=CUSTOM=?", options({"Host funtionality mask"})},
        {"ADD LUN ?", options({"Logical Unit Number"})},
        {"ADD LUN 5 ?", options({"HOST", "VDISK"})},
        {"CAPTURE ?", options({"CONFIGURATION", "VALIDATE"})},
        {"CAPTURE CONFIGURATION ?", options({"Filename of capture output"})},
        {"DEBUG ?", "\n  The options are:"},  // every word of DEBUG is hidden
        {"DELETE ?", options({"DISK_GROUP", "DR_GROUP", "FOLDER", "HOST", "LUN", "SYSTEM", "VDISK"})},
        {"DELETE VDISK v ?", options({"WAIT_FOR_COMPLETION", "NOWAIT_FOR_COMPLETION"})},
        {"DELETE LUN ?", options({"Logical Unit Number"})},
        {"EXERCISE_DISK ?", options({"START", "STOP", "SUMMARY"})},
        {"EXERCISE_DISK START ?",
         options({"ALL", "List of fully qualified disk names to exercise, comma separated"})},
        {"EXERCISE_DISK STOP ?", no_more},
        {"FILE ?", options({"Filename of Corvne commands"})},
        {"REGRESSION ?", options({"CAPTURE", "TEST"})},
        {"REGRESSION CAPTURE ?", options({"EXIT", "Name of regression file to create"})},
        {"REGRESSION TEST ?", options({"Name of regression file to run"})},
        {"RESTART ?", options({"Name of power object"})},
        {"SHUTDOWN p ?", options({"ALL_PEERS", "NOALL_PEERS"})},
        {"SELECT ?", options({"MANAGER", "SYSTEM"})},
        {"SELECT MANAGER m ?", options({"PASSWORD", "USERNAME"})},
        {"SELECT MANAGER m USERNAME=?", options({"Username for SAN access"})},
        {"SELECT SYSTEM ?", options({"Name of storage system"})},
        {"SET ?", options({"DISK", "DISK_GROUP", "DR_GROUP", "FOLDER", "HOST", "MONITOR", "OPTIONS", "SYSTEM", "VDISK"})},
        {"SET SYSTEM s ?", options({"COMMENT", "CONSOLE_LUN_ID", "NAME"})},
        {"SET SYSTEM s NAME=?", options({"New name of object"})},
        {"SET DISK d ?", options({"COMMENT", "NAME"})},
        {"SET DISK_GROUP g ?",
         options({"ADD", "COMMENT", "DELETE", "NAME", "OCCUPANCY_ALARM", "SPARE_POLICY"})},
        {"SET DISK_GROUP g DELETE=?", options({"Name of disk"})},
        {"SET DR_GROUP d ?", options({"ACCESSMODE", "ADD_VDISK", "COMMENT", "DELETE_VDISK", "DETACH_VDISK",
                                      "FAILOVER", "FAILSAFE", "NOFAILSAFE", "NAME", "SUSPEND", "NOSUSPEND",
                                      "WRITEMODE"})},
        {"SET DR_GROUP d ADD_VDISK=v ?", options({"DESTINATION_DISK_GROUP", "DESTINATION_VDISK_NAME"})},
        {"SET DR_GROUP d FAILOVER ?", no_more},
        {"SET HOST h ?", options({"ADD_WORLD_WIDE_NAME", "COMMENT", "DELETE_WORLD_WIDE_NAME", "IP", "NAME",
                                  "OPERATING_SYSTEM"})},
        {"SET HOST h OPERATING_SYSTEM=KORUX ?", no_more},
        {"SET HOST h OPERATING_SYSTEM=UNKNOWN ?", no_more},
        {"SET OPTIONS ?", options({"COMMAND_DELAY", "NOCOMMAND_DELAY", "DISPLAY_WIDTH", "ON_ERROR", "RETRIES",
                                   "NORETRIES", "SAFE_DELETE", "NOSAFE_DELETE"})},
        {"SET VDISK v ?", options({"COMMENT", "MIRRORED_WRITEBACK", "NOMIRRORED_WRITEBACK", "NAME", "OS_UNIT_ID",
                                   "PREFERRED_PATH", "NOPREFERRED_PATH", "READ_CACHE", "NOREAD_CACHE", "SIZE",
                                   "WORLD_WIDE_LUN_NAME", "WRITE_PROTECT", "NOWRITE_PROTECT"})},
        {"SET VDISK v SIZE=2 ?", no_more},
        // DISK_EVENT, MANAGEMENT_EVENT and TIME are hidden as well as CELL, GROUP and STORAGE.
        {"SHOW ?", options({"DISK", "DISK_GROUP", "DR_GROUP", "FOLDER", "HOST", "LUN", "MANAGER", "MONITOR",
                            "OPTIONS", "POWER", "SYSTEM", "VDISK", "WORLD_WIDE_NAME"})},
        {"SHOW VDISK ?", options({"FULL", "NOFULL", "Name of object to show"})},
        {"SHOW DR_GROUP ?", options({"FULL", "NOFULL", "Name of DR_GROUP set"})},
        {"SHOW VDISK v ?", no_more},
        {"SHOW TIME ?", no_more},
        {"SHOW MANAGEMENT_EVENT ?", no_more},
    };
    pb->state->session_flags |= stop_on_error;  // help is never a failure
    for (const HelpCase& c : cases) {
        SCOPED_TRACE(c.line);
        run(c.line);
        EXPECT_EQ(output(), c.printed);
        EXPECT_FALSE(pb->state->session_flags & stopped_on_error);
    }
}

}  // namespace
