#include "corvane_object.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "corvane_exchange.h"
#include "corvane_memory.h"
#include "corvane_state.h"

namespace {
const char ss_module[] = "corvane_support";

void report_empty_name(const _object_info* entry) {
    std::fputs("\nError: Zero length name string found in object being added", OutFile);
    std::fputs("\nObject being added:", OutFile);
    ss_dump_object(entry);
}
}  // namespace

// Addresses are cut to 32 bits: the printout is for reading, not for use.
void ss_dump_object(const _object_info* entry) {
    std::fprintf(OutFile, "\n\n     %08x  %08x  %2d\n>%s<\n>%s<",
                 static_cast<unsigned>(reinterpret_cast<uintptr_t>(entry)),
                 static_cast<unsigned>(reinterpret_cast<uintptr_t>(entry->next)), entry->kind, entry->name,
                 entry->id);
}

// For every name of the kind, the positions (in list order among the kind's
// entries) where it stands. The duplicate rule walks the list once, comparing
// the new name with each later entry and suffixing it on every match; the
// index answers "the next entry after position p with this name" directly.
struct ss_object_appender::index {
    std::unordered_map<std::string, std::vector<size_t>> positions;
    size_t count = 0;
    _object_info** tail = nullptr;
};

ss_object_appender::ss_object_appender(_parseblk* pb, int kind) : pb_(pb), kind_(kind), index_(new index) {
    _object_info** link = &pb->state->object_list;
    for (; *link; link = &(*link)->next)
        if ((*link)->kind == kind) index_->positions[(*link)->name].push_back(index_->count++);
    index_->tail = link;
}

ss_object_appender::~ss_object_appender() { delete index_; }

void ss_object_appender::add(const char* name, const char* id) {
    auto* entry = static_cast<_object_info*>(ss_allocate_mem(sizeof(_object_info), ss_module, __LINE__));
    entry->kind = static_cast<uint8_t>(kind_);
    entry->name = ss_copy_string(name);
    entry->id = ss_copy_string(id);
    if (!*name) {
        report_empty_name(entry);
        // The reply being read (and this walk's index) are not tracked
        // memory: release them before the program ends.
        ss_release_request_mem(pb_);
        delete index_;
        index_ = nullptr;
        ss_fatal_exit();
    }

    std::string current = name;
    size_t after = 0;  // positions before this one have been passed
    for (;;) {
        auto found = index_->positions.find(current);
        if (found == index_->positions.end()) break;
        const std::vector<size_t>& at = found->second;
        auto next = std::lower_bound(at.begin(), at.end(), after);
        if (next == at.end()) break;
        after = *next + 1;
        uint32_t& counter = pb_->state->duplicate_name_count[kind_];
        current += '{';
        current += std::to_string(++counter);
        current += '}';
    }
    if (current != name) {
        ss_deallocate_mem(entry->name, ss_module, __LINE__);
        entry->name = ss_copy_string(current.c_str());
    }
    index_->positions[current].push_back(index_->count++);
    *index_->tail = entry;
    index_->tail = &entry->next;
}

void ss_add_object(_parseblk* pb, int kind, const char* name, const char* id) {
    ss_object_appender(pb, kind).add(name, id);
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

bool ss_find_object(_parseblk* pb, int kind) {
    for (_object_info* entry = pb->state->object_list; entry; entry = entry->next)
        if (entry->kind == kind) return true;
    return false;
}

_object_info* ss_find_object_id(_parseblk* pb, int kind, const char* name) {
    for (_object_info* entry = pb->state->object_list; entry; entry = entry->next)
        if (entry->kind == kind && std::strcmp(entry->name, name) == 0) return entry;
    return nullptr;
}

_object_info* ss_find_object_id_error(_parseblk* pb, int kind, const char* name) {
    _object_info* entry = ss_find_object_id(pb, kind, name);
    if (!entry) std::fprintf(OutFile, "\nError: %s not found", name);
    return entry;
}
