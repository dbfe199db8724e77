// The sample arrays of a LAS document: one owned 32-bit float array per curve.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

class TStravoFloatArray {
public:
    TStravoFloatArray() = default;
    explicit TStravoFloatArray(int count, float fill = 0.0f)
        : data_(new float[count > 0 ? count : 0]), count_(count > 0 ? count : 0)
    {
        std::fill_n(data_.get(), count_, fill);
    }
    TStravoFloatArray(const float* values, int count)
        : data_(new float[count > 0 ? count : 0]), count_(count > 0 ? count : 0)
    {
        if (values)
            std::copy_n(values, count_, data_.get());
    }

    int Count() const { return count_; }
    float* Data() { return data_.get(); }
    const float* Data() const { return data_.get(); }
    float& operator[](int i) { return data_[i]; }
    float operator[](int i) const { return data_[i]; }

    // Keeps the leading values; new tail values take the fill.
    void Resize(int n, float fill)
    {
        n = std::max(n, 0);
        if (n == count_)
            return;
        std::unique_ptr<float[]> resized(new float[n]);
        const int kept = std::min(n, count_);
        std::copy_n(data_.get(), kept, resized.get());
        std::fill(resized.get() + kept, resized.get() + n, fill);
        data_ = std::move(resized);
        count_ = n;
    }

    TStravoFloatArray Clone() const { return TStravoFloatArray(data_.get(), count_); }

private:
    std::unique_ptr<float[]> data_;
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
