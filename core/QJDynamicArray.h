// Growable array of owned elements; the virtual operations can be overridden by derived lists.
#pragma once

#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

template <typename T>
class CQJDynamicArray {
public:
    CQJDynamicArray() = default;
    CQJDynamicArray(const CQJDynamicArray&) = delete;
    CQJDynamicArray& operator=(const CQJDynamicArray&) = delete;
    virtual ~CQJDynamicArray() = default;

    // Appends a default-constructed element; returns its index.
    virtual int AddNew()
    {
        items_.push_back(std::make_unique<T>());
        return Count() - 1;
    }

    // Appends an existing element and takes ownership of it; returns its index.
    virtual int Add(std::unique_ptr<T> item)
    {
        if (!item)
            throw std::invalid_argument("CQJDynamicArray: null element");
        items_.push_back(std::move(item));
        return Count() - 1;
    }

    virtual void Delete(int index)
    {
        CheckIndex(index);
        items_.erase(items_.begin() + index);
    }

    // Inserts a default-constructed element before index (index == Count() appends); returns index.
    virtual int InsertNew(int index)
    {
        if (index < 0 || index > Count())
            throw std::out_of_range("CQJDynamicArray: index out of range");
        items_.insert(items_.begin() + index, std::make_unique<T>());
        return index;
    }

    virtual void Exchange(int first, int second)
    {
        CheckIndex(first);
        CheckIndex(second);
        std::swap(items_[first], items_[second]);
    }

    T& Item(int index)
    {
        CheckIndex(index);
        return *items_[index];
    }
    const T& Item(int index) const
    {
        CheckIndex(index);
        return *items_[index];
    }
    T& operator[](int index) { return Item(index); }
    const T& operator[](int index) const { return Item(index); }

    int Count() const { return static_cast<int>(items_.size()); }
    void Clear() { items_.clear(); }

private:
    void CheckIndex(int index) const
    {
        if (index < 0 || index >= Count())
            throw std::out_of_range("CQJDynamicArray: index out of range");
    }

    std::vector<std::unique_ptr<T>> items_;
};
