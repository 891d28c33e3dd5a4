#include <gtest/gtest.h>

#include <cstring>

#include <vector>

#include "corvane_memory.h"
#include "corvane_memory_stats.h"
#include "corvane_object.h"
#include "corvane_sentence.h"
#include "corvane_token.h"
#include "session_fixture.h"

namespace {

class MemoryTest : public SessionTest {};

TEST_F(MemoryTest, ZeroSizeGivesNullAndTracksNothing) {
    size_t before = ss_leak_count();
    EXPECT_EQ(ss_allocate_mem(0, "t", 1), nullptr);
    EXPECT_EQ(ss_leak_count(), before);
    ss_deallocate_mem(nullptr, "t", 1);
}

TEST_F(MemoryTest, BlocksAreZeroFilledTrackedAndReleasedOnce) {
    size_t before = ss_leak_count();
    auto* block = static_cast<unsigned char*>(ss_allocate_mem(100, "t", 1));
    for (int i = 0; i < 100; ++i) ASSERT_EQ(block[i], 0);
    EXPECT_EQ(ss_leak_count(), before + 1);
    ss_deallocate_mem(block, "t", 1);
    EXPECT_EQ(ss_leak_count(), before);
    ss_deallocate_mem(block, "t", 1);  // a second release does nothing
    EXPECT_EQ(ss_leak_count(), before);
}

TEST_F(MemoryTest, UntrackedBlocksAreNeverFreed) {
    void* untracked = ss_get_mem(16, "t", 1);
    size_t before = ss_leak_count();
    ss_deallocate_mem(untracked, "t", 1);  // must not free: we free it below
    EXPECT_EQ(ss_leak_count(), before);
    EXPECT_FALSE(ss_leak_remove(untracked));
    std::free(untracked);
}

TEST_F(MemoryTest, TrackerGrowsWithLiveBlocksAndTrimGivesSpaceBack) {
    size_t base_capacity = ss_leak_capacity();
    std::vector<void*> blocks;
    for (int i = 0; i < 100000; ++i) blocks.push_back(ss_allocate_mem(8, "t", 1));
    EXPECT_GT(ss_leak_capacity(), base_capacity);
    // Release in an order unrelated to insertion to exercise deletion.
    for (size_t i = 0; i < blocks.size(); i += 2) ss_deallocate_mem(blocks[i], "t", 1);
    for (size_t i = 1; i < blocks.size(); i += 2) EXPECT_TRUE(ss_leak_remove(blocks[i])) << i;
    for (size_t i = 1; i < blocks.size(); i += 2) std::free(blocks[i]);
    ss_leak_trim();
    EXPECT_EQ(ss_leak_capacity(), base_capacity);
}

TEST_F(MemoryTest, LeakTestReleasesEverythingTracked) {
    for (int i = 0; i < 10; ++i) ss_allocate_mem(32, "t", 1);
    // The session records stay, the rest go; ss_leak_test empties the tracker.
    pb->state->object_name = ss_copy_string("x");
    ss_session_destroy(pb);
    EXPECT_EQ(ss_leak_count(), 0u);
    EXPECT_EQ(GLOBAL_PARSEBLOCK, nullptr);
    pb = ss_session_create();  // TearDown expects a session
}

TEST_F(MemoryTest, WorkingMemoryReleaseKeepsTheSelection) {
    session_state* s = pb->state;
    s->manager_name = ss_copy_string("array:12301");
    s->cell_name = ss_copy_string("Tuvel");
    s->object_name = ss_copy_string("disk");
    s->label_path = ss_copy_string("Hosts");
    s->response = new char[4]{"abc"};
    auto* sentence = static_cast<_soap_sent_info*>(ss_allocate_mem(sizeof(_soap_sent_info), "t", 1));
    sentence->name = ss_copy_string("Type");
    sentence->value = ss_copy_string("Storage");
    s->sentences = sentence;
    _token_info* token = ss_allocate_token();
    token->next = ss_arena_token(token, 5);
    token->next->name = ss_token_text(token->next);
    std::memcpy(token->next->name, "Name", 4);
    ss_token_adopt_reply(token, new char[4]{"xyz"});
    s->tokens = token;

    ss_release_working_mem();
    EXPECT_EQ(s->object_name, nullptr);
    EXPECT_EQ(s->label_path, nullptr);
    EXPECT_EQ(s->response, nullptr);
    EXPECT_EQ(s->sentences, nullptr);
    EXPECT_EQ(s->tokens, nullptr);
    EXPECT_STREQ(s->manager_name, "array:12301");
    EXPECT_STREQ(s->cell_name, "Tuvel");
}

TEST_F(MemoryTest, TokenTreesOfAnyShapeAreReleasedWithoutDeepStack) {
    size_t before = ss_leak_count();
    // A long next chain whose tokens also carry sub chains, one deep sub
    // nesting, large texts, and an adopted reply.
    _token_info* root = ss_allocate_token();
    auto make = [root](size_t text) { return ss_arena_token(root, text); };
    _token_info* tail = root;
    for (int i = 0; i < 200000; ++i) {
        tail->next = make(2);
        tail = tail->next;
        tail->value = ss_token_text(tail);
        tail->value[0] = 'v';
        if (i % 1000 == 0) tail->sub = make(i % 3000 == 0 ? 100000 : 0);
    }
    _token_info* deep = root;
    for (int i = 0; i < 200000; ++i) {
        _token_info* below = make(0);
        below->sub = deep->sub;
        deep->sub = below;
        deep = below;
    }
    ss_token_adopt_reply(root, new char[64]{});
    ss_deallocate_tokens(root);
    EXPECT_EQ(ss_leak_count(), before);
}

TEST_F(MemoryTest, ReleaseObjectsOfOneKindKeepsTheOthersInOrder) {
    auto add = [&](uint8_t kind, const char* name) {
        auto* entry = static_cast<_object_info*>(ss_allocate_mem(sizeof(_object_info), "t", 1));
        entry->kind = kind;
        entry->name = ss_copy_string(name);
        entry->id = ss_copy_string("id");
        _object_info** link = &pb->state->object_list;
        while (*link) link = &(*link)->next;
        *link = entry;
    };
    add(6, "a");
    add(4, "h1");
    add(6, "b");
    add(4, "h2");
    ss_release_objects(pb, 6);
    std::vector<std::string> names;
    for (_object_info* e = pb->state->object_list; e; e = e->next) names.push_back(e->name);
    EXPECT_EQ(names, (std::vector<std::string>{"h1", "h2"}));
}

}  // namespace
