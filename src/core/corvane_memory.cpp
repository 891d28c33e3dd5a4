#include "corvane_memory.h"

#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "corvane_memory_stats.h"
#include "corvane_seams.h"
#include "corvane_state.h"

namespace {
const char ss_module[] = "corvane_memory";

// The tracker is an open-addressing hash table keyed by address (linear
// probing, backward-shift deletion), so recording and releasing cost O(1)
// however many blocks are live.
struct slot {
    void* address;
    size_t size;
};

constexpr size_t min_capacity = 4096;

slot* g_slots = nullptr;
size_t g_capacity = 0;
size_t g_count = 0;

size_t slot_of(const void* address, size_t capacity) {
    auto key = reinterpret_cast<uintptr_t>(address);
    key ^= key >> 33;
    key *= 0xff51afd7ed558ccdULL;
    key ^= key >> 33;
    return static_cast<size_t>(key) & (capacity - 1);
}

void insert_slot(slot* slots, size_t capacity, void* address, size_t size) {
    size_t i = slot_of(address, capacity);
    while (slots[i].address) i = (i + 1) & (capacity - 1);
    slots[i].address = address;
    slots[i].size = size;
}

void resize(size_t capacity) {
    auto* slots = static_cast<slot*>(ss_get_mem(capacity * sizeof(slot), ss_module, __LINE__));
    for (size_t i = 0; i < g_capacity; ++i)
        if (g_slots[i].address) insert_slot(slots, capacity, g_slots[i].address, g_slots[i].size);
    std::free(g_slots);
    g_slots = slots;
    g_capacity = capacity;
}

size_t find_slot(const void* address) {
    if (!g_slots || !address) return SIZE_MAX;
    size_t i = slot_of(address, g_capacity);
    while (g_slots[i].address) {
        if (g_slots[i].address == address) return i;
        i = (i + 1) & (g_capacity - 1);
    }
    return SIZE_MAX;
}

void erase_slot(size_t hole) {
    g_slots[hole].address = nullptr;
    --g_count;
    // Shift later members of the probe run back so lookups never stop early.
    size_t i = hole;
    for (;;) {
        i = (i + 1) & (g_capacity - 1);
        if (!g_slots[i].address) return;
        size_t home = slot_of(g_slots[i].address, g_capacity);
        bool movable = (i > hole) ? (home <= hole || home > i) : (home <= hole && home > i);
        if (movable) {
            g_slots[hole] = g_slots[i];
            g_slots[i].address = nullptr;
            hole = i;
        }
    }
}

}  // namespace

void ss_tune_allocator() {
    // A large reply becomes tens of megabytes of tokens that are released at
    // the end of its command; returning them to the system (and faulting them
    // in again for the next reply) costs more than building the tree.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
}

void* ss_get_mem(size_t size, const char* module, int line) {
    void* block = std::calloc(size ? size : 1, 1);
    if (!block) {
        std::fprintf(OutFile, "\nError: Could not allocate %zu bytes for Corvane use in module %s, line %d",
                     size, module, line);
        ss_fatal_exit();
    }
    return block;
}

void* ss_allocate_mem(size_t size, const char* module, int line) {
    if (size == 0) return nullptr;
    void* block = ss_get_mem(size, module, line);
    ss_leak_add(block, size, module, line);
    return block;
}

void ss_deallocate_mem(void* address, const char*, int) {
    if (ss_leak_remove(address)) std::free(address);
}

void ss_leak_init() {
    std::free(g_slots);
    g_slots = nullptr;
    g_capacity = 0;
    g_count = 0;
}

void ss_leak_add(void* address, size_t size, const char*, int) {
    if (!g_slots) resize(min_capacity);
    if ((g_count + 1) * 4 > g_capacity * 3) resize(g_capacity * 2);
    insert_slot(g_slots, g_capacity, address, size);
    ++g_count;
}

bool ss_leak_remove(void* address) {
    size_t i = find_slot(address);
    if (i == SIZE_MAX) return false;
    erase_slot(i);
    return true;
}

void ss_leak_test() {
    for (size_t i = 0; i < g_capacity; ++i)
        if (g_slots[i].address) std::free(g_slots[i].address);
    ss_leak_init();
}

void ss_leak_trim() {
    if (!g_slots) return;
    if (g_count == 0) {
        ss_leak_init();
        return;
    }
    size_t capacity = g_capacity;
    while (capacity > min_capacity && g_count * 8 < capacity) capacity /= 2;
    if (capacity != g_capacity) resize(capacity);
}

size_t ss_leak_count() { return g_count; }
size_t ss_leak_capacity() { return g_capacity; }

void ss_fatal_exit() {
    ss_leak_test();
    std::fputs("\n\nPress return to exit", OutFile);
    std::fflush(OutFile);
    std::fgetc(ss_input_stream());
    std::exit(1);
}

char* ss_copy_count(const char* text, size_t count) {
    auto* copy = static_cast<char*>(ss_allocate_mem(count + 1, ss_module, __LINE__));
    if (count) std::memcpy(copy, text, count);
    return copy;
}

void ss_release_text(char*& text) {
    ss_deallocate_mem(text, ss_module, __LINE__);
    text = nullptr;
}

char* ss_copy_string(const char* text) { return ss_copy_count(text, std::strlen(text)); }
