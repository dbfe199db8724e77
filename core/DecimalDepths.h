// A column of decimal depths held exactly, as units of one last place (8 bytes a depth), or as
// doubles once a depth does not fit those units.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/ExactDecimal.h"

class DecimalDepths {
public:
    void Reserve(size_t n);
    void Add(const ExactDecimal& depth);
    // A depth known only as a double: the decimal of its shortest text.
    void Add(double depth);
    void Reverse();

    size_t Size() const { return exact_ ? units_.size() : values_.size(); }
    bool Empty() const { return Size() == 0; }
    // The double nearest to depth i.
    double Value(size_t i) const;
    // Depth i in units of the column's last place; none once the depths are held as doubles.
    std::optional<ExactDecimal> Exact(size_t i) const;

private:
    // From here on the depths are held as doubles.
    void HoldValues();

    bool exact_ = true;
    std::vector<long long> units_;  // of 10^-decimals_
    int decimals_ = 0;
    std::vector<double> values_;
};
