// FFTW-allocated arrays, freed on every path.
#pragma once

#include <fftw3.h>

#include <algorithm>
#include <cstddef>

template <class T>
struct FftwBuffer {
    explicit FftwBuffer(std::size_t n) : data(static_cast<T*>(fftw_malloc(sizeof(T) * std::max<std::size_t>(n, 1))))
    {
    }
    ~FftwBuffer() { fftw_free(data); }
    FftwBuffer(const FftwBuffer&) = delete;
    FftwBuffer& operator=(const FftwBuffer&) = delete;
    T* data;
};
