#include "change_fixture.h"
#include "sim_clock.h"

namespace {

using simtest::Reading;
using simtest::Refusal;
using simtest::Sentences;

TEST(SimClock, TimeStampsReadBackAndNonsenseIsRefused) {
    std::int64_t t = 0;
    for (const char* text : {"09-Dec-2026 09:00:00", "29-Feb-2028 23:59:59", "01-Jan-1970 00:00:00", "31-Dec-2099 12:30:05"}) {
        ASSERT_TRUE(talosim::parse_time(text, t)) << text;
        EXPECT_EQ(talosim::format_time(t), text);
    }
    ASSERT_TRUE(talosim::parse_time("31-Dec-2026 23:59:59", t));
    EXPECT_EQ(talosim::format_time(t + 1), "01-Jan-2027 00:00:00");
    for (const char* text : {"29-Feb-2027 00:00:00", "31-Apr-2026 00:00:00", "00-Dec-2026 00:00:00", "09-Dez-2026 09:00:00",
                             "09-Dec-1969 09:00:00", "09-Dec-2026 24:00:00", "9-Dec-2026 09:00:00", "09-Dec-2026 09:00:0x"})
        EXPECT_FALSE(talosim::parse_time(text, t)) << text;
}

class SimPowerTest : public simtest::ChangeTest {
protected:
    std::string controller(const std::string& name) { return id_of("Power", name); }
    // Operational and power state of both controllers, as their reads show them.
    std::string states() {
        std::string out;
        for (const char* name : {"\\Controller A", "\\Controller B"}) {
            Reading r = read("Power", name);
            out += value(r, "Operational_State") + "/" + value(r, "Power_State") + " ";
        }
        return out;
    }
};

TEST_F(SimPowerTest, ControllersAreNamedByDefaultAndShowTheControllerTime) {
    EXPECT_EQ(names("Power"), (std::vector<std::string>{"\\Controller A", "\\Controller B"}));
    EXPECT_EQ(names("Power", "Uninitialized Storage System"), (std::vector<std::string>{"\\Controller A", "\\Controller B"}));
    EXPECT_EQ(value(read("Power", "\\Controller A"), "Controller_time"), "09-Dec-2026 09:00:00");
    // Every change the model takes moves the clock on by a second; reads do not.
    ASSERT_TRUE(succeeded(send("Set", "Element", {{"ID", cheetah}, {"comments", "tick"}})));
    EXPECT_EQ(value(read("Power", "\\Controller B"), "Controller_time"), "09-Dec-2026 09:00:01");
    EXPECT_EQ(value(read("Power", "\\Controller B"), "Controller_time"), "09-Dec-2026 09:00:01");
}

TEST_F(SimPowerTest, RestartAndShutdownChangeTheNamedControllerAndWithCoupledItsPeer) {
    struct Step {
        std::string controller, restart, coupled;  // coupled "" sends no Coupled sentence
        std::string states;
    } steps[] = {
        {"\\Controller A", "NO", "", "Shut down/Off Good/On "},
        {"\\Controller B", "NO", "NO", "Shut down/Off Shut down/Off "},
        {"\\Controller A", "YES", "", "Good/On Shut down/Off "},
        {"\\Controller B", "YES", "YES", "Good/On Good/On "},
        {"\\Controller A", "NO", "YES", "Shut down/Off Shut down/Off "},
        {"\\Controller A", "yes", "yes", "Good/On Good/On "},
    };
    size_t events = names("ManagementEvents").size();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.controller + " Restart=" + s.restart + " Coupled=" + s.coupled);
        Sentences sentences = {{"ID", controller(s.controller)}, {"Restart", s.restart}};
        if (!s.coupled.empty()) sentences.push_back({"Coupled", s.coupled});
        ASSERT_TRUE(succeeded(send("Set", "Power", sentences)));
        EXPECT_EQ(states(), s.states);
        // One management event per controller changed.
        size_t changed = s.coupled == "YES" || s.coupled == "yes" ? 2 : 1;
        EXPECT_EQ(names("ManagementEvents").size(), events + changed);
        events += changed;
    }
    // The events and the controllers carry the time of the request.
    std::vector<std::string> logged = names("ManagementEvents");
    EXPECT_EQ(logged[1], "Controller A shut down");
    EXPECT_EQ(logged.back(), "Controller B restarted");
    Reading first = read("ManagementEvents", "Controller A shut down");
    EXPECT_EQ(value(first, "Time"), "09-Dec-2026 09:00:00");
    EXPECT_EQ(value(first, "User"), "administrator");
    Reading a = read("Power", "\\Controller A");
    EXPECT_EQ(value(a, "Last_Shutdown"), "09-Dec-2026 09:00:04");
    EXPECT_EQ(value(a, "Last_Restart"), "09-Dec-2026 09:00:05");
}

TEST_F(SimPowerTest, ControllersAreRenamedAndRefusalsChangeNothing) {
    ASSERT_TRUE(succeeded(send("Set", "Power", {{"ID", controller("\\Controller A")}, {"Name", "Top"}})));
    EXPECT_EQ(names("Power"), (std::vector<std::string>{"\\Top", "\\Controller B"}));
    EXPECT_EQ(value(read("Power", "\\Top"), "Power_State"), "On");  // a rename alone restarts nothing

    const std::string b = controller("\\Controller B");
    expect_refused({
        {"restart neither yes nor no", "Set", "Power", {{"ID", b}, {"Restart", "MAYBE"}}, 5},
        {"coupled neither yes nor no", "Set", "Power", {{"ID", b}, {"Restart", "YES"}, {"Coupled", "ALL"}}, 5},
        {"name in use", "Set", "Power", {{"ID", b}, {"Name", "Top"}}, 20},
        {"forbidden character", "Set", "Power", {{"ID", b}, {"Name", "B|2"}}, 5},
        {"unknown controller", "Set", "Power", {{"ID", "nope"}, {"Restart", "YES"}}, 7},
        {"unknown system", "Set", "Power", {{"ElementID", "nope"}, {"ID", b}, {"Restart", "YES"}}, 7},
    });
}

class SimMonitorTest : public simtest::ChangeTest {
protected:
    const std::string name = "\\Hardware\\Rack 1\\Enclosure 1\\Environmental Monitor";
};

TEST_F(SimMonitorTest, ThresholdsAreSetAndReadBackAndTheStateFollowsThem) {
    Reading before = read("Monitor", name);
    EXPECT_EQ(value(before, "Temperature"), "24 C");
    EXPECT_EQ(value(before, "Warning_Threshold"), "40 C");
    EXPECT_EQ(value(before, "Critical_Threshold"), "50 C");
    struct Case {
        Sentences sentences;
        std::string warning, critical, state;
    } cases[] = {
        {{{"Warning_Threshold", "20"}}, "20 C", "50 C", "Warning"},
        {{{"Critical_Threshold", "24 C"}}, "20 C", "24 C", "Critical"},
        {{{"Critical_Threshold", "60"}, {"Warning_Threshold", "45 C"}}, "45 C", "60 C", "Good"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sentences[0].first + "=" + c.sentences[0].second);
        Sentences s = c.sentences;
        s.insert(s.begin(), {"ID", id_of("Monitor", name)});
        ASSERT_TRUE(succeeded(send("Set", "Monitor", s)));
        Reading r = read("Monitor", name);
        EXPECT_EQ(value(r, "Warning_Threshold"), c.warning);
        EXPECT_EQ(value(r, "Critical_Threshold"), c.critical);
        EXPECT_EQ(value(r, "Operational_State"), c.state);
    }
    ASSERT_TRUE(succeeded(send("Set", "Monitor", {{"ID", id_of("Monitor", name)}, {"comments", "Rack one"}, {"Name", "Env"}})));
    Reading renamed = read("Monitor", "\\Hardware\\Rack 1\\Enclosure 1\\Env");
    EXPECT_EQ(value(renamed, "Comments"), "Rack one");
    EXPECT_EQ(value(renamed, "Warning_Threshold"), "45 C");

    const std::string id = id_of("Monitor", "\\Hardware\\Rack 1\\Enclosure 1\\Env");
    expect_refused({
        {"warning not below critical", "Set", "Monitor", {{"ID", id}, {"Warning_Threshold", "60"}}, 5},
        {"critical not above warning", "Set", "Monitor", {{"ID", id}, {"Critical_Threshold", "30"}}, 5},
        {"zero degrees", "Set", "Monitor", {{"ID", id}, {"Warning_Threshold", "0"}}, 5},
        {"not a number", "Set", "Monitor", {{"ID", id}, {"Critical_Threshold", "hot"}}, 5},
        {"too hot", "Set", "Monitor", {{"ID", id}, {"Critical_Threshold", "151"}}, 5},
        {"comment of 129", "Set", "Monitor", {{"ID", id}, {"comments", std::string(129, 'c')}}, 5},
        {"unknown monitor", "Set", "Monitor", {{"ID", "nope"}, {"comments", "x"}}, 7},
    });
}

}  // namespace
