#include <gtest/gtest.h>

#include <vector>

#include "CPtrList.h"
#include "UList.h"

namespace {

// The list's data pointers from head to tail, checking the links both ways
// and the count on the way.
std::vector<int> contents(const UList& list) {
    std::vector<int> forward;
    const SListNode* last = nullptr;
    for (const SListNode* n = list.GetHeadPtr(); n != nullptr; n = n->next) {
        EXPECT_EQ(n->prev, last);
        forward.push_back(*static_cast<int*>(n->data));
        last = n;
    }
    EXPECT_EQ(static_cast<int>(forward.size()), list.GetCount());
    EXPECT_EQ(list.IsEmpty(), forward.empty());
    return forward;
}

TEST(UListTest, AddAndRemoveAtBothEnds) {
    int v[4] = {0, 1, 2, 3};
    UList list;
    EXPECT_EQ(list.AddTail(&v[1]), 0);
    EXPECT_EQ(list.AddHead(&v[0]), 0);
    EXPECT_EQ(list.AddTail(&v[2]), 0);
    EXPECT_EQ(list.AddHead(nullptr), 100);
    EXPECT_EQ(list.AddTail(nullptr), 100);
    EXPECT_EQ(contents(list), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(list.RemoveHead(), &v[0]);
    EXPECT_EQ(list.RemoveTail(), &v[2]);
    EXPECT_EQ(list.RemoveTail(), &v[1]);
    EXPECT_EQ(list.RemoveTail(), nullptr);
    EXPECT_EQ(list.RemoveHead(), nullptr);
    EXPECT_EQ(contents(list), std::vector<int>{});
}

TEST(UListTest, InsertAtPlacesBeforeThePositionAndMovesIt) {
    int v[5] = {0, 1, 2, 3, 4};
    UList list;
    SListNode* pos = nullptr;
    EXPECT_EQ(list.InsertAt(pos, &v[3]), 0);  // null position appends
    EXPECT_EQ(list.GetAt(pos), &v[3]);
    pos = nullptr;
    EXPECT_EQ(list.InsertAt(pos, &v[4]), 0);
    pos = list.GetHeadPtr();
    EXPECT_EQ(list.InsertAt(pos, &v[0]), 0);  // at the head: new head
    EXPECT_EQ(pos, list.GetHeadPtr());
    pos = pos->next;  // the node holding 3
    EXPECT_EQ(list.InsertAt(pos, &v[2]), 0);
    EXPECT_EQ(list.GetAt(pos), &v[2]);
    EXPECT_EQ(list.InsertAt(pos, &v[1]), 0);
    EXPECT_EQ(list.InsertAt(pos, nullptr), 100);
    EXPECT_EQ(contents(list), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(UListTest, RemoveAtAndTheWalkingIdiom) {
    int v[3] = {0, 1, 2};
    UList list;
    for (int& x : v) list.AddTail(&x);
    SListNode* pos = list.GetHeadPtr()->next;
    EXPECT_EQ(list.RemoveAt(pos), &v[1]);
    EXPECT_EQ(list.GetAt(pos), &v[2]);  // moved to the follower
    EXPECT_EQ(list.RemoveAt(pos), &v[2]);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(list.RemoveAt(pos), nullptr);

    std::vector<void*> seen;
    for (SListNode* walk = list.GetHeadPtr(); walk != nullptr;) seen.push_back(list.GetAndNextPtr(walk));
    EXPECT_EQ(seen, std::vector<void*>{&v[0]});
    SListNode* none = nullptr;
    EXPECT_EQ(list.GetAndNextPtr(none), nullptr);
    EXPECT_EQ(list.GetAt(nullptr), nullptr);
}

TEST(UListTest, RemovePointerFromListAndRemoveAll) {
    int v[3] = {0, 1, 2};
    UList list;
    for (int& x : v) list.AddTail(&x);
    int stranger = 9;
    EXPECT_EQ(list.RemovePointerFromList(&stranger), 102);
    EXPECT_EQ(list.RemovePointerFromList(nullptr), 100);
    EXPECT_EQ(contents(list), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(list.RemovePointerFromList(&v[2]), 0);
    EXPECT_EQ(list.RemovePointerFromList(&v[0]), 0);
    EXPECT_EQ(contents(list), (std::vector<int>{1}));
    EXPECT_EQ(list.RemoveAll(), 0);
    EXPECT_EQ(contents(list), std::vector<int>{});
    EXPECT_EQ(v[1], 1);  // the data was never the list's
}

struct Counted {
    static int alive;
    Counted() { ++alive; }
    ~Counted() { --alive; }
};
int Counted::alive = 0;

TEST(CPtrListTest, IndexRulesOfInsertAddAndRemove) {
    CPtrList<Counted*> list;
    EXPECT_EQ(list.GetSize(), 0);
    EXPECT_EQ(list.Insert(1, nullptr), -1);  // count + 1
    EXPECT_EQ(list.Insert(-1, nullptr), -1);
    auto* a = new Counted;
    auto* b = new Counted;
    auto* c = new Counted;
    EXPECT_EQ(list.Add(a), 0);
    EXPECT_EQ(list.Add(c), 1);
    EXPECT_EQ(list.Insert(1, b), 1);
    EXPECT_EQ(list.Insert(4, b), -1);
    EXPECT_EQ(list.GetSize(), 3);
    EXPECT_EQ(list.at(0), a);
    EXPECT_EQ(list.at(1), b);
    EXPECT_EQ(list.at(2), c);
    EXPECT_EQ(list.at(3), nullptr);
    EXPECT_EQ(list.at(-1), nullptr);
    EXPECT_EQ(list.GetDataPtr()[2], c);

    EXPECT_EQ(list.Remove(3), -1);
    EXPECT_EQ(list.Remove(-1), -1);
    EXPECT_EQ(list.Remove(1), 2);  // new count; b is not deleted
    EXPECT_EQ(Counted::alive, 3);
    delete b;
    EXPECT_EQ(list.at(1), c);
    EXPECT_EQ(list.Remove(0), 1);
    delete a;
    EXPECT_EQ(list.Remove(0), 0);  // one element left: count 0
    delete c;
    EXPECT_EQ(Counted::alive, 0);
}

TEST(CPtrListTest, DestructionDeletesTheElementsAndTheMarkIsAFlag) {
    {
        CPtrList<Counted*> list;
        for (int i = 0; i < 100; ++i) ASSERT_EQ(list.Insert(0, new Counted), 0);
        EXPECT_EQ(list.Add(nullptr), 100);  // null entries are skipped on destruction
        EXPECT_EQ(list.IsListInUse(), 0);
        list.LockList();
        EXPECT_EQ(list.IsListInUse(), 1);
        list.UnLockList();
        EXPECT_EQ(list.IsListInUse(), 0);
        EXPECT_EQ(Counted::alive, 100);
    }
    EXPECT_EQ(Counted::alive, 0);
}

}  // namespace
