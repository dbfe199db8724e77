// The sample arrays of a LAS document: one owned 32-bit float array per curve.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <memory>
#include <utility>
#include <vector>

class TStravoFloatArray {
public:
    TStravoFloatArray() = default;
    explicit TStravoFloatArray(int count, float fill = 0.0f) : data_(Allocate(count)), count_(std::max(count, 0))
    {
        std::fill_n(data_.get(), count_, fill);
    }
    TStravoFloatArray(const float* values, int count) : data_(Allocate(count)), count_(std::max(count, 0))
    {
        if (values)
            std::copy_n(values, count_, data_.get());
    }

    int Count() const { return count_; }
    float* Data() { return data_.get(); }
    const float* Data() const { return data_.get(); }
    float& operator[](int i) { return data_.get()[i]; }
    float operator[](int i) const { return data_.get()[i]; }

    // Keeps the leading values; new tail values take the fill. A shrink stays in place.
    void Resize(int n, float fill)
    {
        n = std::max(n, 0);
        if (n == count_)
            return;
        void* resized = std::realloc(data_.get(), std::max<std::size_t>(1, static_cast<std::size_t>(n)) * sizeof(float));
        if (!resized)
            throw std::bad_alloc();
        data_.release();
        data_.reset(static_cast<float*>(resized));
        if (n > count_)
            std::fill(data_.get() + count_, data_.get() + n, fill);
        count_ = n;
    }

    TStravoFloatArray Clone() const { return TStravoFloatArray(data_.get(), count_); }

private:
    struct Free {
        void operator()(float* p) const { std::free(p); }
    };
    using Storage = std::unique_ptr<float, Free>;

    static Storage Allocate(int count)
    {
        void* p = std::malloc(std::max<std::size_t>(1, static_cast<std::size_t>(std::max(count, 0))) * sizeof(float));
        if (!p)
            throw std::bad_alloc();
        return Storage(static_cast<float*>(p));
    }

    Storage data_;
    int count_ = 0;
};

class TStravoFloatArrayList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TStravoFloatArray& Item(int i) { return items_.at(static_cast<size_t>(i)); }
    const TStravoFloatArray& Item(int i) const { return items_.at(static_cast<size_t>(i)); }

    void Add(TStravoFloatArray array) { items_.push_back(std::move(array)); }
    void Insert(int i, TStravoFloatArray array)
    {
        items_.insert(items_.begin() + i, std::move(array));
    }
    void Delete(int i) { items_.erase(items_.begin() + i); }
    void Clear() { items_.clear(); }
    void Swap(TStravoFloatArrayList& other) noexcept { items_.swap(other.items_); }

    size_t ByteSize() const
    {
        size_t bytes = 0;
        for (const auto& item : items_)
            bytes += static_cast<size_t>(item.Count()) * sizeof(float);
        return bytes;
    }

private:
    std::vector<TStravoFloatArray> items_;
};
