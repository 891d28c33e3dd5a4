// UList: a doubly linked list of untyped, non-null pointers. The list owns
// its nodes, never what they point to: owners free their data themselves
// before RemoveAll.
#pragma once

struct SListNode {
    void* data;  // never null
    SListNode* next;
    SListNode* prev;
};

// Result codes of the list operations.
enum : int {
    ULIST_SUCCESS = 0,
    ULIST_NULL_DATA = 100,
    ULIST_ALLOCATION_FAILED = 101,
    ULIST_NOT_FOUND = 102,
};

class UList {
public:
    UList() = default;
    ~UList() { RemoveAll(); }
    UList(const UList&) = delete;
    UList& operator=(const UList&) = delete;

    int AddHead(void* data);
    int AddTail(void* data);
    void* RemoveHead();  // data of the removed node, null when empty
    void* RemoveTail();
    // Removes pos and moves it to the node that followed it.
    void* RemoveAt(SListNode*& pos);
    // Links a node before pos (at the tail for a null pos) and points pos
    // at the new node.
    int InsertAt(SListNode*& pos, void* data);
    int RemoveAll();
    int RemovePointerFromList(void* data);

    void* GetAt(SListNode* pos) const { return pos ? pos->data : nullptr; }
    bool IsEmpty() const { return head_ == nullptr && tail_ == nullptr; }
    SListNode* GetHeadPtr() const { return head_; }
    // The walking idiom: pos = GetHeadPtr(); while (pos) use(GetAndNextPtr(pos));
    void* GetAndNextPtr(SListNode*& pos) const;
    int GetCount() const { return count_; }

private:
    void Unlink(SListNode* node);

    SListNode* tail_ = nullptr;
    SListNode* head_ = nullptr;
    int count_ = 0;
};
