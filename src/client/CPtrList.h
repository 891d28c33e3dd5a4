// CPtrList: an array-backed list of owned object pointers (the connection
// pool). Destroying the list deletes every element; Remove only drops one
// from the list. The in-use mark is a plain flag, not a lock.
#pragma once

#include <new>
#include <type_traits>

template <class T>
class CPtrList {
    static_assert(std::is_pointer_v<T>, "CPtrList holds owned object pointers");

public:
    CPtrList() = default;
    ~CPtrList() {
        for (int i = 0; i < count_; ++i) delete data_[i];
        delete[] data_;
    }
    CPtrList(const CPtrList&) = delete;
    CPtrList& operator=(const CPtrList&) = delete;

    int GetSize() const { return count_; }

    T at(int i) const { return i >= 0 && i < count_ ? data_[i] : nullptr; }

    // Drops entry i without deleting it: the new count, or -1 out of range.
    int Remove(int i) {
        if (i < 0 || i >= count_) return -1;
        for (int k = i; k + 1 < count_; ++k) data_[k] = data_[k + 1];
        data_[--count_] = nullptr;
        return count_;
    }

    // Index of the new element, or -1 (also when memory ran out).
    int Add(const T& value) { return Insert(count_, value); }

    int Insert(int i, const T& value) {
        if (i < 0 || i > count_) return -1;
        int old = count_;
        if (!SetSize(count_ + 1)) return -1;
        for (int k = old; k > i; --k) data_[k] = data_[k - 1];
        data_[i] = value;
        return i;
    }

    // Makes the list n entries long; new entries are null. False (list
    // unchanged) when memory ran out. Capacity grows geometrically so a run
    // of insertions stays linear.
    bool SetSize(int n) {
        if (n < 0) n = 0;
        if (n > capacity_) {
            int grown = capacity_ * 2 > n ? capacity_ * 2 : n;
            T* fresh = new (std::nothrow) T[grown]();
            if (fresh == nullptr) return false;
            for (int k = 0; k < count_; ++k) fresh[k] = data_[k];
            delete[] data_;
            data_ = fresh;
            capacity_ = grown;
        }
        for (int k = n; k < count_; ++k) data_[k] = nullptr;
        for (int k = count_; k < n; ++k) data_[k] = nullptr;
        count_ = n;
        return true;
    }

    T* GetDataPtr() const { return data_; }
    int IsListInUse() const { return in_use_; }
    void LockList() { in_use_ = 1; }
    void UnLockList() { in_use_ = 0; }

private:
    T* data_ = nullptr;
    int count_ = 0;
    int in_use_ = 0;
    int capacity_ = 0;
};
