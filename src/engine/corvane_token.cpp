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

_token_info* ss_allocate_token() {
    return static_cast<_token_info*>(ss_allocate_mem(sizeof(_token_info), ss_module, __LINE__));
}

namespace {
struct arena_chunk {
    arena_chunk* next;
    size_t used;
    size_t size;  // bytes of room after the header
};

constexpr size_t chunk_room = 64 * 1024 - sizeof(arena_chunk);

arena_chunk* new_chunk(size_t room) {
    auto* chunk = static_cast<arena_chunk*>(
        ss_allocate_mem(sizeof(arena_chunk) + room, ss_module, __LINE__));
    chunk->size = room;
    return chunk;
}

bool inline_text(const _token_info* token, const char* text) {
    auto offset = reinterpret_cast<uintptr_t>(text) - reinterpret_cast<uintptr_t>(token + 1);
    return offset < token->inline_size;
}

void release_text(const _token_info* token, char* text) {
    if (!inline_text(token, text)) ss_deallocate_mem(text, ss_module, __LINE__);
}
}  // namespace

_token_info* ss_arena_token(_token_info* owner, size_t text_size) {
    size_t need = (sizeof(_token_info) + text_size + 7) & ~size_t{7};
    auto* head = static_cast<arena_chunk*>(owner->arena);
    arena_chunk* chunk = head;
    if (!head || head->size - head->used < need) {
        if (need > chunk_room / 4) {
            // A large text gets a chunk of its own behind the current one,
            // which keeps its free room.
            chunk = new_chunk(need);
            if (head) {
                chunk->next = head->next;
                head->next = chunk;
            } else {
                owner->arena = chunk;
            }
        } else {
            chunk = new_chunk(chunk_room);
            chunk->next = head;
            owner->arena = chunk;
        }
    }
    auto* token = reinterpret_cast<_token_info*>(reinterpret_cast<char*>(chunk + 1) + chunk->used);
    chunk->used += need;
    token->in_arena = true;
    token->inline_size = static_cast<uint32_t>(text_size);
    return token;
}

void ss_deallocate_tokens(_token_info* token) {
    // Each chain is followed to its end; what hangs below a token waits on
    // a stack meanwhile, so neither length nor depth touches the call stack,
    // and the tokens are only read. Arena chunks are freed last, since the
    // walk still reads tokens inside them.
    arena_chunk* chunks = nullptr;
    token_stack below;
    while (token || below.count) {
        if (!token) token = below.pop();
        _token_info* next = token->next;
        if (token->sub) below.push(token->sub);
        release_text(token, token->name);
        release_text(token, token->value);
        release_text(token, token->category);
        release_text(token, token->array_label);
        if (auto* own = static_cast<arena_chunk*>(token->arena)) {
            arena_chunk* last = own;
            while (last->next) last = last->next;
            last->next = chunks;
            chunks = own;
        }
        if (!token->in_arena) ss_deallocate_mem(token, ss_module, __LINE__);
        token = next;
    }
    while (chunks) {
        arena_chunk* next = chunks->next;
        ss_deallocate_mem(chunks, ss_module, __LINE__);
        chunks = next;
    }
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
