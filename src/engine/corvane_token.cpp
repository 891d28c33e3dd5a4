#include "corvane_token.h"

#include <cstring>

#include "corvane_memory.h"

namespace {
const char ss_module[] = "corvane_token";

// A stack of tokens: a few in place, then tracked memory that doubles.
struct token_stack {
    static constexpr size_t local_capacity = 64;
    _token_info* local[local_capacity];
    _token_info** items = local;
    size_t count = 0;
    size_t capacity = local_capacity;

    void push(_token_info* token) {
        if (count == capacity) {
            size_t grown = capacity * 2;
            auto** bigger = static_cast<_token_info**>(
                ss_allocate_mem(grown * sizeof(_token_info*), ss_module, __LINE__));
            std::memcpy(bigger, items, count * sizeof(_token_info*));
            if (items != local) ss_deallocate_mem(items, ss_module, __LINE__);
            items = bigger;
            capacity = grown;
        }
        items[count++] = token;
    }
    _token_info* pop() { return items[--count]; }
    ~token_stack() {
        if (items != local) ss_deallocate_mem(items, ss_module, __LINE__);
    }
};
}  // namespace

namespace {
struct arena_chunk {
    arena_chunk* next;
    size_t used;
    size_t size;    // bytes of room after the header
    char* adopted;  // a reply handed to the tree (new[]), or null
};

// What a root holds right after itself: the chunks of its tree.
struct root_storage {
    arena_chunk* chunks;
};

root_storage& storage(_token_info* root) { return *reinterpret_cast<root_storage*>(root + 1); }

constexpr size_t chunk_room = 64 * 1024 - sizeof(arena_chunk);

arena_chunk* new_chunk(size_t room) {
    auto* chunk = static_cast<arena_chunk*>(
        ss_allocate_mem(sizeof(arena_chunk) + room, ss_module, __LINE__));
    chunk->size = room;
    return chunk;
}

// Puts `chunk` into the root's list behind the current (first) chunk, which
// keeps its free room; or first when there is none.
void link_behind_head(root_storage& root, arena_chunk* chunk) {
    if (root.chunks) {
        chunk->next = root.chunks->next;
        root.chunks->next = chunk;
    } else {
        root.chunks = chunk;
    }
}
}  // namespace

_token_info* ss_allocate_token() {
    static_assert(alignof(root_storage) <= alignof(_token_info));
    return static_cast<_token_info*>(
        ss_allocate_mem(sizeof(_token_info) + sizeof(root_storage), ss_module, __LINE__));
}

namespace {
void* arena_bytes(_token_info* owner, size_t size) {
    size_t need = (size + 7) & ~size_t{7};
    root_storage& root = storage(owner);
    arena_chunk* chunk = root.chunks;
    if (!chunk || chunk->size - chunk->used < need) {
        if (need > chunk_room / 4) {
            // A large text gets a chunk of its own.
            chunk = new_chunk(need);
            link_behind_head(root, chunk);
        } else {
            chunk = new_chunk(chunk_room);
            chunk->next = root.chunks;
            root.chunks = chunk;
        }
    }
    void* bytes = reinterpret_cast<char*>(chunk + 1) + chunk->used;
    chunk->used += need;
    return bytes;
}
}  // namespace

_token_info* ss_arena_token(_token_info* owner, size_t text_size) {
    return static_cast<_token_info*>(arena_bytes(owner, sizeof(_token_info) + text_size));
}

char* ss_arena_text(_token_info* owner, size_t size) { return static_cast<char*>(arena_bytes(owner, size)); }

void ss_token_adopt_reply(_token_info* owner, char* reply) {
    if (!reply) return;
    arena_chunk* chunk = new_chunk(0);
    chunk->adopted = reply;
    link_behind_head(storage(owner), chunk);
}

void ss_deallocate_tokens(_token_info* token) {
    // Every token and text below a root lives in the root's chunks or in the
    // reply it adopted: releasing the tree reads none of its tokens.
    if (!token) return;
    for (arena_chunk* chunk = storage(token).chunks; chunk;) {
        arena_chunk* next = chunk->next;
        delete[] chunk->adopted;
        ss_deallocate_mem(chunk, ss_module, __LINE__);
        chunk = next;
    }
    ss_deallocate_mem(token, ss_module, __LINE__);
}

_token_info* ss_tokens_find_name(_token_info* token, const char* name) {
    // The wanted order (rest of chain, then sub tree, then the token) is the
    // exact reverse of a walk that visits a token, then its sub tree, then
    // the rest of its chain. So walk that way and keep the last match; only
    // chains still to be resumed are stacked, never the chain being walked.
    _token_info* found = nullptr;
    token_stack pending;
    while (token || pending.count) {
        if (!token) token = pending.pop();
        if (token->name && std::strcmp(token->name, name) == 0) found = token;
        if (token->sub) {
            if (token->next) pending.push(token->next);
            token = token->sub;
        } else {
            token = token->next;
        }
    }
    return found;
}
