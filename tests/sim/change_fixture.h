// The demo array behind an engine, for the tests of the change handlers:
// requests sent as the command side sends them, objects looked up and read
// back in full by name, and refusals checked for their message number and
// for leaving the whole model as it was.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "reply_checker.h"
#include "requests.h"
#include "sim_engine.h"
#include "sim_scenario.h"

namespace simtest {

// A refused request: what it shows, its operation and type, its sentences
// after `ElementID` (Cheetah's unless the case gives one), its number. A
// version-3 operation ("createobject", ...) goes through send_v3, its type
// unused.
struct Refusal {
    std::string what;
    std::string operation;
    std::string type;
    Sentences sentences;
    int number;
};

class ChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(talosim::load_scenario(talosim::demo_scenario(), model, error)) << error;
        cheetah = model.find_system_by_name("Cheetah")->self.id;
    }

    // Sends the change; `ElementID` is Cheetah unless the sentences give one.
    Reading send(const std::string& operation, const std::string& type, Sentences sentences) {
        bool has_element = std::any_of(sentences.begin(), sentences.end(), [](const auto& s) { return s.first == "ElementID"; });
        if (!has_element) sentences.insert(sentences.begin(), {"ElementID", cheetah});
        sentences.insert(sentences.begin(), {{"UserPassword", "password"}, {"UserName", "administrator"}, {"Type", type}});
        std::string reply = engine.execute(legacy_doc(operation, sentences));
        Reading r = read_reply(reply);
        EXPECT_TRUE(r.ok) << r.error << "\n" << reply;
        return r;
    }

    // Sends a version-3 change of a DR group; `scellid` is Cheetah and
    // `objecttype` "drmgroup" unless the sentences give them. The reply's
    // status code must match its message.
    Reading send_v3(const std::string& operation, Sentences sentences) {
        auto given = [&](const char* name) {
            return std::any_of(sentences.begin(), sentences.end(), [&](const auto& s) { return s.first == name; });
        };
        if (!given("scellid")) sentences.insert(sentences.begin(), {"scellid", cheetah});
        if (!given("objecttype")) sentences.push_back({"objecttype", "drmgroup"});
        std::string reply = engine.execute(v3_doc(operation, sentences));
        Reading r = read_reply(reply);
        EXPECT_TRUE(r.ok) << r.error << "\n" << reply;
        EXPECT_EQ(value(r, "version"), "3.2");
        EXPECT_EQ(value(r, "statuscode"), r.find("NotSuccessMsg") ? value(r, "MessageNum") : "0");
        return r;
    }

    static bool succeeded(const Reading& r) { return r.find("SuccessMsg") != nullptr && r.find("NotSuccessMsg") == nullptr; }

    // The identifier of Cheetah's (or that system's) object of that type
    // and name, "" when none.
    std::string id_of(const std::string& type, const std::string& name, const std::string& system = "Cheetah") {
        talosim::Object* o = model.find_by_name(*model.find_system_by_name(system), type, name);
        return o == nullptr ? std::string() : o->id;
    }

    // The names a list read of that type on Cheetah (or that system) shows, in order.
    std::vector<std::string> names(const std::string& type, const std::string& system = "Cheetah") {
        const std::string cell = model.find_system_by_name(system)->self.id;
        Reading r = read_reply(engine.execute(legacy_doc("Get", {{"ID", ""}, {"ElementID", cell}, {"Type", type}})));
        std::vector<std::string> out;
        for (const auto& row : r.rows) out.push_back(row[0].second);
        return out;
    }
    bool listed(const std::string& type, const std::string& name, const std::string& system = "Cheetah") {
        std::vector<std::string> all = names(type, system);
        return std::find(all.begin(), all.end(), name) != all.end();
    }

    // A full read of the object by name on Cheetah (or that system), the way
    // the command side reads it: virtual disks and DR groups by the
    // version-3 call, everything else by a legacy Get.
    Reading read(const std::string& type, const std::string& name, const std::string& system = "Cheetah") {
        std::string id = id_of(type, name, system);
        EXPECT_FALSE(id.empty()) << "no " << type << " " << name;
        const std::string cell = model.find_system_by_name(system)->self.id;
        std::string doc = type == "Storage" || type == "drmgroup"
                              ? v3_doc("getproperties", {{"scellid", cell}, {"objectid", id},
                                                         {"objecttype", type == "Storage" ? "virtualdisk" : type}})
                              : legacy_doc("Get", {{"ID", id}, {"ElementID", cell}, {"Type", type}});
        Reading r = read_reply(engine.execute(doc));
        EXPECT_TRUE(r.ok && r.find("NotSuccessMsg") == nullptr) << r.error;
        return r;
    }
    static std::string value(const Reading& r, const std::string& name, int n = 1) {
        const std::string* v = r.find(name, n);
        return v == nullptr ? "(none)" : *v;
    }

    // Every object of every system, written out: equal pictures, equal models.
    std::string picture() const {
        std::string out;
        auto add = [&out](const talosim::Object& o) {
            out += o.type + "|" + o.id + "|" + o.name;
            for (const auto& f : o.props) out += "|" + f.name + "=" + f.value;
            for (const auto& s : o.sections) {
                out += "|[" + s.label;
                for (const auto& f : s.fields) out += "|" + f.name + "=" + f.value;
                out += "]";
            }
            out += "\n";
        };
        for (const talosim::System& s : model.systems) {
            add(s.self);
            out += s.initialized ? "initialized\n" : "uninitialized\n";
            for (const talosim::Object& o : s.objects) add(o);
        }
        return out;
    }

    // Each refusal answers NotSuccessMsg with its number, one the client
    // does not take for a busy server, and changes nothing at all.
    void expect_refused(const std::vector<Refusal>& cases) {
        static const std::set<int> retried = {38,    97,    4058,  6018,  9009,  12003,  14002,  14007,  14008, 18018,
                                              18034, 18060, 18070, 18071, 19003, 24004, 600002, 600013, 600014};
        for (const Refusal& c : cases) {
            SCOPED_TRACE(c.what);
            const std::string before = picture();
            // Version-3 operations are spelt in lower case, legacy ones not.
            Reading r = std::islower(static_cast<unsigned char>(c.operation[0])) ? send_v3(c.operation, c.sentences)
                                                                                  : send(c.operation, c.type, c.sentences);
            ASSERT_NE(r.find("NotSuccessMsg"), nullptr);
            EXPECT_FALSE(r.find("NotSuccessMsg")->empty());
            EXPECT_EQ(r.find("SuccessMsg"), nullptr);
            EXPECT_EQ(value(r, "MessageNum"), std::to_string(c.number)) << *r.find("NotSuccessMsg");
            EXPECT_EQ(retried.count(c.number), 0u);
            EXPECT_EQ(picture(), before);
        }
    }

    talosim::Model model;
    talosim::Engine engine{model};
    std::string cheetah;
};

}  // namespace simtest
