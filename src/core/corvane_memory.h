// Working memory of the command side: a zero-filling allocator whose every
// block is recorded in a tracker, so a command's leftovers can be released
// when it ends and everything at program end. Exhaustion is fatal.
#pragma once

#include <cstddef>

// Zero-filled, tracked block; null for size 0. Fatal when memory runs out.
void* ss_allocate_mem(size_t size, const char* module, int line);
// Zero-filled block the tracker does not know (and so never frees).
void* ss_get_mem(size_t size, const char* module, int line);
// Frees a tracked block; null, untracked or already freed addresses are ignored.
void ss_deallocate_mem(void* address, const char* module, int line);

// Tracker operations.
void ss_leak_init();
void ss_leak_add(void* address, size_t size, const char* module, int line);
bool ss_leak_remove(void* address);
void ss_leak_test();  // frees everything still tracked, empties the tracker
void ss_leak_trim();  // gives back tracker space that no longer holds blocks

// The fatal end shared by every "cannot go on" path: release all tracked
// memory, ask for Return, exit with status 1. Callers print their message.
[[noreturn]] void ss_fatal_exit();

// Keeps memory released by one command for the next instead of giving it back
// to the system (called once at start-up).
void ss_tune_allocator();

// Releases an owned session text and leaves its field null.
void ss_release_text(char*& text);

// A tracked copy of a NUL-terminated text, and of the first count characters.
char* ss_copy_string(const char* text);
char* ss_copy_count(const char* text, size_t count);
