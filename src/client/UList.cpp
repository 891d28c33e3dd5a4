#include "UList.h"

#include <new>

int UList::AddHead(void* data) {
    if (data == nullptr) return ULIST_NULL_DATA;
    auto* node = new (std::nothrow) SListNode{data, head_, nullptr};
    if (node == nullptr) return ULIST_ALLOCATION_FAILED;
    if (head_ != nullptr)
        head_->prev = node;
    else
        tail_ = node;
    head_ = node;
    ++count_;
    return ULIST_SUCCESS;
}

int UList::AddTail(void* data) {
    if (data == nullptr) return ULIST_NULL_DATA;
    auto* node = new (std::nothrow) SListNode{data, nullptr, tail_};
    if (node == nullptr) return ULIST_ALLOCATION_FAILED;
    if (tail_ != nullptr)
        tail_->next = node;
    else
        head_ = node;
    tail_ = node;
    ++count_;
    return ULIST_SUCCESS;
}

void UList::Unlink(SListNode* node) {
    if (node->prev != nullptr)
        node->prev->next = node->next;
    else
        head_ = node->next;
    if (node->next != nullptr)
        node->next->prev = node->prev;
    else
        tail_ = node->prev;
    --count_;
}

void* UList::RemoveHead() {
    if (head_ == nullptr) return nullptr;
    SListNode* node = head_;
    void* data = node->data;
    Unlink(node);
    delete node;
    return data;
}

void* UList::RemoveTail() {
    if (tail_ == nullptr) return nullptr;
    SListNode* node = tail_;
    void* data = node->data;
    Unlink(node);
    delete node;
    return data;
}

void* UList::RemoveAt(SListNode*& pos) {
    if (pos == nullptr) return nullptr;
    SListNode* node = pos;
    void* data = node->data;
    pos = node->next;
    Unlink(node);
    delete node;
    return data;
}

int UList::InsertAt(SListNode*& pos, void* data) {
    if (data == nullptr) return ULIST_NULL_DATA;
    if (pos == nullptr) {
        int rc = AddTail(data);
        if (rc == ULIST_SUCCESS) pos = tail_;
        return rc;
    }
    if (pos == head_) {
        int rc = AddHead(data);
        if (rc == ULIST_SUCCESS) pos = head_;
        return rc;
    }
    auto* node = new (std::nothrow) SListNode{data, pos, pos->prev};
    if (node == nullptr) return ULIST_ALLOCATION_FAILED;
    pos->prev->next = node;
    pos->prev = node;
    ++count_;
    pos = node;
    return ULIST_SUCCESS;
}

int UList::RemoveAll() {
    SListNode* node = head_;
    while (node != nullptr) {
        SListNode* next = node->next;
        delete node;
        node = next;
    }
    head_ = tail_ = nullptr;
    count_ = 0;
    return ULIST_SUCCESS;
}

int UList::RemovePointerFromList(void* data) {
    if (data == nullptr) return ULIST_NULL_DATA;
    for (SListNode* node = head_; node != nullptr; node = node->next) {
        if (node->data == data) {
            Unlink(node);
            delete node;
            return ULIST_SUCCESS;
        }
    }
    return ULIST_NOT_FOUND;
}

void* UList::GetAndNextPtr(SListNode*& pos) const {
    if (pos == nullptr) return nullptr;
    void* data = pos->data;
    pos = pos->next;
    return data;
}
