// Commands of the language: which dispatch routine each command path
// selects, the values its action routines store, and the language's rules
// on hidden, full-word and abbreviated keywords.
#include <gtest/gtest.h>

#include <string>

#include "corvane_builtin.h"
#include "corvane_cell.h"
#include "corvane_configuration.h"
#include "corvane_debug.h"
#include "corvane_disk.h"
#include "corvane_dispatch.h"
#include "corvane_drm.h"
#include "corvane_event.h"
#include "corvane_file.h"
#include "corvane_folder.h"
#include "corvane_group.h"
#include "corvane_host.h"
#include "corvane_manager.h"
#include "corvane_monitor.h"
#include "corvane_options.h"
#include "corvane_power.h"
#include "corvane_regression.h"
#include "corvane_show.h"
#include "corvane_storage.h"
#include "corvane_unit.h"
#include "grammar_fixture.h"

namespace {

struct DispatchCase {
    const char* line;
    ss_routine dispatch;
};

TEST_F(GrammarTest, EveryCommandSelectsItsDispatchRoutine) {
    const DispatchCase cases[] = {
        {"ADD SYSTEM s COMMENT=\"c\" DEVICE_COUNT=8 SPARE_POLICY=DOUBLE", ss_add_cell_dispatch},
        {"ADD CELL s", ss_add_cell_dispatch},
        {"ADD COPY c VDISK=v WAIT_FOR_COMPLETION", ss_clone_storage_dispatch},
        {"ADD DISK_GROUP g DEVICE_COUNT=8 DISKGROUP_DISKTYPE=ONLINE", ss_add_group_dispatch},
        {"ADD GROUP g", ss_add_group_dispatch},
        {"ADD DR_GROUP d VDISK=v DESTINATION_SYSTEM=s ACCESSMODE=READONLY", ss_add_dr_group_dispatch},
        {"ADD FOLDER \\f\\g COMMENT=\"c\"", ss_add_folder_dispatch},
        {"ADD HOST h IP=1.2.3.4 OPERATING_SYSTEM=CUSTOM=00-ff WORLD_WIDE_NAME=5000-1fe1", ss_add_host_dispatch},
        {"ADD LUN 12 HOST=h VDISK=v", ss_add_unit_dispatch},
        {"ADD SNAPSHOT s VDISK=v ALLOCATION_POLICY=DEMAND", ss_snapshot_storage_dispatch},
        {"ADD VDISK v SIZE=10 REDUNDANCY=VRAID5 READ_CACHE", ss_add_storage_dispatch},
        {"ADD STORAGE v", ss_add_storage_dispatch},
        {"CAPTURE CONFIGURATION", ss_capture_all_dispatch},
        {"CAPTURE CONFIGURATION out", ss_capture_all_dispatch},
        {"CAPTURE VALIDATE out_1.talo", ss_validate_configuration_dispatch},
        {"DEBUG", ss_dr_null_dispatch},
        {"DEBUG DUMP", ss_dr_null_dispatch},
        {"DEBUG DEBUG", ss_ar_debug_debug_dispatch},
        {"DELETE SYSTEM s", ss_delete_cell_dispatch},
        {"DELETE CELL s", ss_delete_cell_dispatch},
        {"DELETE DISK_GROUP g", ss_delete_group_dispatch},
        {"DELETE GROUP g", ss_delete_group_dispatch},
        {"DELETE DR_GROUP d", ss_delete_dr_group_dispatch},
        {"DELETE FOLDER f", ss_delete_folder_dispatch},
        {"DELETE HOST h", ss_delete_host_dispatch},
        {"DELETE LUN 12", ss_delete_unit_dispatch},
        {"DELETE VDISK v NOWAIT_FOR_COMPLETION", ss_delete_storage_dispatch},
        {"DELETE STORAGE v", ss_delete_storage_dispatch},
        {"EMVERSION", ss_dr_emversion},
        {"EXERCISE_DISK START ALL", ss_dr_exercisestartall},
        {"EXERCISE_DISK START \\Disk1,\\Disk2", ss_dr_exercisestart},
        {"EXERCISE_DISK STOP", ss_dr_exercisestop},
        {"EXERCISE_DISK SUMMARY", ss_dr_exercisesummary},
        {"EXIT", ss_dr_exit},
        {"FILE commands.talo", ss_dr_filename},
        {"HELP", ss_dr_help_dispatch},
        {"REDISCOVER", ss_dr_rediscover},
        {"REGRESSION CAPTURE ref.txt", ss_dr_reg_create},
        {"REGRESSION CAPTURE EXIT", ss_dr_reg_create_exit},
        {"REGRESSION TEST ref.txt", ss_dr_reg_filename},
        {"RESTART p", ss_set_power_dispatch},
        {"SHUTDOWN p ALL_PEERS NOALL_PEERS", ss_set_power_dispatch},
        {"SELECT MANAGER m USERNAME=u PASSWORD=p", ss_select_manager_dispatch},
        {"SELECT SYSTEM s", ss_select_cell_dispatch},
        {"SELECT CELL s", ss_select_cell_dispatch},
        {"SET SYSTEM s NAME=t", ss_set_cell_dispatch},
        {"SET CELL s CONSOLE_LUN_ID=3", ss_set_cell_dispatch},
        {"SET DISK d COMMENT=\"c\"", ss_set_disk_dispatch},
        {"SET DISK_GROUP g SPARE_POLICY=NONE ADD=2", ss_set_group_dispatch},
        {"SET GROUP g DELETE=\\Disk1", ss_set_group_dispatch},
        {"SET DR_GROUP d ADD_VDISK=v DESTINATION_VDISK_NAME=w", ss_set_dr_group_dispatch},
        {"SET FOLDER f NAME=g", ss_set_folder_dispatch},
        {"SET HOST h ADD_WORLD_WIDE_NAME=5000-1fe1", ss_set_host_dispatch},
        {"SET MONITOR m COMMENT=\"c\"", ss_set_monitor_dispatch},
        {"SET OPTIONS NORETRIES", ss_option_dispatch},
        {"SET VDISK v SIZE=20", ss_set_storage_dispatch},
        {"SET STORAGE v NOWRITE_PROTECT", ss_set_storage_dispatch},
        {"SHOW SYSTEM", ss_show_cell_dispatch},
        {"SHOW CELL s", ss_show_cell_dispatch},
        {"SHOW DISK FULL", ss_show_disk_dispatch},
        {"SHOW DISK_EVENT", ss_show_disk_event_dispatch},
        {"SHOW DISK_GROUP g", ss_show_group_dispatch},
        {"SHOW GROUP", ss_show_group_dispatch},
        {"SHOW DR_GROUP NOFULL", ss_show_dr_group_dispatch},
        {"SHOW FOLDER", ss_show_folder_dispatch},
        {"SHOW HOST h", ss_show_host_dispatch},
        {"SHOW LUN", ss_show_unit_dispatch},
        {"SHOW MANAGEMENT_EVENT", ss_show_man_event_dispatch},
        {"SHOW MANAGER", ss_show_manager_dispatch},
        {"SHOW MONITOR", ss_show_monitor_dispatch},
        {"SHOW OPTIONS", ss_option_display_dispatch},
        {"SHOW POWER", ss_show_power_dispatch},
        {"SHOW TIME", ss_show_time_dispatch},
        {"SHOW VDISK", ss_show_storage_dispatch},
        {"SHOW STORAGE v", ss_show_storage_dispatch},
        {"SHOW WORLD_WIDE_NAME", ss_show_world_wide_name_dispatch},
        // Abbreviations and any case.
        {"sho vd f", ss_show_storage_dispatch},
        {"sel sy s", ss_select_cell_dispatch},
        {"ad vd v si=1", ss_add_storage_dispatch},
        // Paths that stop before any selecting routine keep the preset one.
        {"ADD", ss_incomplete_command},
        {"SELECT", ss_incomplete_command},
        {"SELECT MANAGER", ss_incomplete_command},
        {"SET OPTIONS", ss_incomplete_command},
        {"CAPTURE VALIDATE", ss_incomplete_command},
        {"EXERCISE_DISK START", ss_incomplete_command},
        {"REGRESSION CAPTURE", ss_incomplete_command},
    };
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(parse(c.line), parse_ok);
        EXPECT_EQ(dispatch(), c.dispatch);
    }
    EXPECT_EQ(output(), "");
}

struct StatusCase {
    const char* line;
    int status;
};

TEST_F(GrammarTest, HiddenFullWordAndAbbreviationRules) {
    const StatusCase cases[] = {
        // Hidden words match; their abbreviations still take part ("S" under ADD).
        {"ADD S x", parse_ambiguous},
        {"ADD ST x", parse_ok},
        {"ADD SN x", parse_ok},
        {"SHOW G", parse_ok},
        {"SE", parse_ambiguous},  // SELECT, SET
        {"SH", parse_ambiguous},  // SHOW, SHUTDOWN
        {"DIS", parse_syntax_error},
        {"SHOW DIS", parse_ambiguous},  // DISK, DISK_GROUP
        {"SHOW DISK", parse_ok},        // typed in full, DISK beats DISK_GROUP
        // Full words only: DEBUG and its words, SHOW TIME, DISK_EVENT, MANAGEMENT_EVENT.
        {"DEB", parse_syntax_error},
        {"D", parse_ok},  // DELETE alone: DEBUG is no candidate
        {"DEBUG DUM", parse_syntax_error},
        {"DEBUG DUMP NODUMP DEBUG", parse_ok},
        {"DEBUG FENN_FLAGS 111", parse_syntax_error},  // "=" required
        {"SHOW TIM", parse_syntax_error},
        {"SHOW DISK_EV", parse_syntax_error},
        {"SHOW MANAGEMENT", parse_syntax_error},
        {"SHOW MANAGE", parse_ok},  // MANAGER
        // Values.
        {"ADD LUN x", parse_syntax_error},
        {"ADD LUN 4294967296", parse_syntax_error},
        {"ADD VDISK v SIZE=ten", parse_syntax_error},
        {"ADD VDISK v COMMENT=plain", parse_syntax_error},
        {"ADD VDISK v SIZE", parse_incomplete},
        // Options return to their own table any number of times, in any order...
        {"ADD VDISK v SIZE=1 READ_CACHE NOREAD_CACHE SIZE=2 REDUNDANCY=VRAID1 GROUP=g DISK_GROUP=h", parse_ok},
        {"ADD HOST h WORLD_WIDE_NAME=a WORLD_WIDE_NAME=b OPERATING_SYSTEM=WINDOWS IP=x", parse_ok},
        // ...but an object's SET takes one.
        {"SET VDISK v SIZE=2 READ_CACHE", parse_syntax_error},
        {"SET HOST h OPERATING_SYSTEM=KORUX IP=x", parse_syntax_error},
        {"SET HOST h OPERATING_SYSTEM=UNKNOWN IP=x", parse_syntax_error},  // UNKNOWN too ends SET HOST
        // A clone's completion mode returns to the clone's options.
        {"ADD COPY c WAIT_FOR_COMPLETION VDISK=v", parse_ok},
        {"ADD COPY c NOWAIT_FOR_COMPLETION DISK_GROUP=g VDISK=v", parse_ok},
        {"SET DISK_GROUP g SPARE_POLICY=SINGLE OCCUPANCY_ALARM=90", parse_ok},
        // FULL and NOFULL come before the name; the name ends the command.
        {"SHOW VDISK v FULL", parse_syntax_error},
        {"SHOW TIME FULL", parse_syntax_error},
        {"SHOW OPTIONS x", parse_syntax_error},
        {"EXIT now", parse_syntax_error},
        {"REGRESSION CAPTURE EXIT x", parse_syntax_error},
    };
    set_input("");
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(parse(c.line), c.status);
    }
}

TEST_F(GrammarTest, FullAndNofullSetTheShowFlag) {
    struct Case {
        const char* line;
        bool full;
    };
    const Case cases[] = {
        {"SHOW VDISK FULL", true},   {"SHOW VDISK F", true},       {"SHOW DISK NOFULL", false},
        {"SHOW DR_GROUP FULL", true}, {"SHOW VDISK FULLER", false},  // a name, not the keyword
        {"SHOW VDISK v", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parse(c.line), parse_ok);
        EXPECT_EQ((pb->state->command_flags & show_full) != 0, c.full);
    }
    pb->state->command_flags = show_full;
    EXPECT_EQ(ss_show_nofull(pb), 0);
    EXPECT_EQ(pb->state->command_flags, 0);
}

TEST_F(GrammarTest, SelectStoresNamesAndCredentials) {
    ASSERT_EQ(parse("SELECT MANAGER tuvel:2372 USERNAME=first USERNAME=admin PASSWORD=\"p w\""), parse_ok);
    session_state* s = pb->state;
    EXPECT_STREQ(s->object_name, "tuvel:2372");
    EXPECT_STREQ(s->user_name, "admin");
    EXPECT_STREQ(s->user_password, "p w");
    size_t blocks = ss_leak_count();
    ASSERT_EQ(parse("SELECT MANAGER m USERNAME=other"), parse_ok);  // the old name is released
    EXPECT_STREQ(s->user_name, "other");
    EXPECT_STREQ(s->user_password, "p w");  // credentials outlive the command
    EXPECT_EQ(ss_leak_count(), blocks);
    ASSERT_EQ(parse("SELECT SYSTEM \"Quabex 2\""), parse_ok);
    EXPECT_STREQ(s->object_name, "Quabex 2");

    run("CAPTURE VALIDATE capture_1.talo");
    EXPECT_EQ(output(), "\nError: Open of capture_1.talo failed, No such file or directory");
    EXPECT_EQ(s->capture_file_name, nullptr);  // working memory released after the command
    EXPECT_STREQ(s->user_name, "other");
}

TEST_F(GrammarTest, DebugWordsActInTurn) {
    session_state* s = pb->state;
    run("DEBUG DUMP");
    EXPECT_TRUE(s->session_flags & debug_dump);
    EXPECT_EQ(output(), "");
    run("DEBUG NODUMP DEBUG");
    EXPECT_FALSE(s->session_flags & debug_dump);
    EXPECT_EQ(output(), "\nDEBUG: DEBUG DEBUG always successful");

    set_input("Yes\nno\n");
    run("DEBUG ARE_YOU_SURE ARE_YOU_SURE");
    const std::string ask =
        "\nThis is a test of the \"Are you sure\" capability of TALO"
        "\n\nAre you sure you wish to execute this command?\nIf so, type \"Yes\" (Note: case sensititve) ";
    EXPECT_EQ(output(), ask + "\nA SUCCESS was returned" + ask + "\nCommand aborted\n\nA FAILURE was returned");
    EXPECT_FALSE(s->session_flags & stopped_on_error);
}

TEST_F(GrammarTest, ADispatchThatFailsStopsUnderThePolicy) {
    session_state* s = pb->state;
    run("EMVERSION");
    EXPECT_EQ(output(), "\nError: Command not valid until a manager is selected (SELECT MANAGER)");
    EXPECT_FALSE(s->session_flags & stopped_on_error);
    s->session_flags |= stop_on_error;
    run("REDISCOVER");
    EXPECT_EQ(output(), "\nError: Command not valid until a manager is selected (SELECT MANAGER)");
    EXPECT_TRUE(s->session_flags & stopped_on_error);
}

TEST_F(GrammarTest, SetOptionsTakesManyOptionsInOneCommand) {
    run("SET OPTIONS DISPLAY_WIDTH=100 ON_ERROR=HALT_ON_ERROR NORETRIES COMMAND_DELAY=3 NOSAFE_DELETE");
    EXPECT_EQ(output(), "");
    EXPECT_EQ(max_line_width, 100u);
    EXPECT_EQ(minutes_to_retry, 0u);
    EXPECT_EQ(command_delay, 3u);
    EXPECT_EQ(safe_delete, 0);
    EXPECT_TRUE(pb->state->session_flags & stop_on_error);
    run("SET OPTIONS ON_ERROR=CONTINUE DISPLAY_WIDTH=501");  // out of range: nothing applied
    EXPECT_EQ(output(), "\nError: DISPLAY_WIDTH must be 70 to 500");
    EXPECT_EQ(max_line_width, 100u);
    EXPECT_TRUE(pb->state->session_flags & stop_on_error);
}

TEST_F(GrammarTest, RegressionRefusesToNest) {
    pb->state->session_flags |= regression_test;
    EXPECT_EQ(parse("REGRESSION CAPTURE ref.txt"), parse_action_failed);
    EXPECT_EQ(parse("REGRESSION TEST ref.txt"), parse_action_failed);
    EXPECT_EQ(parse("REGRESSION CAPTURE EXIT"), parse_ok);
    EXPECT_EQ(dispatch(), ss_dr_reg_create_exit);
}

}  // namespace
