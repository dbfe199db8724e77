// Values of a new curve from typed points.
#include "core/CurveByValues.h"

#include <algorithm>

#include "core/Q7mathutils.h"

int SampleIndexForDepth(const FloatVector& depths, float depth)
{
    if (depths.empty())
        return -1;
    const auto it = std::lower_bound(depths.begin(), depths.end(), depth);
    return it == depths.end() ? static_cast<int>(depths.size()) - 1 : static_cast<int>(it - depths.begin());
}

namespace {

void FillSteps(FloatVector& values, float nullValue)
{
    float current = nullValue;
    for (float& value : values) {
        if (value != nullValue)
            current = value;
        else
            value = current;
    }
}

void FillLines(const FloatVector& depths, FloatVector& values, const std::vector<int>& points)
{
    for (std::size_t p = 0; p + 1 < points.size(); ++p) {
        const int a = points[p];
        const int b = points[p + 1];
        double slope = 0.0;
        double intercept = 0.0;
        if (depths[b] != depths[a]) {
            slope = (static_cast<double>(values[b]) - values[a]) / (static_cast<double>(depths[b]) - depths[a]);
            intercept = values[a] - slope * depths[a];
        }
        for (int i = a + 1; i < b; ++i)
            values[i] = static_cast<float>(slope * depths[i] + intercept);
    }
    if (points.size() >= 2)
        std::fill(values.begin() + points.back() + 1, values.end(), values[points.back()]);
}

void FillSpline(const FloatVector& depths, FloatVector& values, const std::vector<int>& points)
{
    if (points.size() < 3)
        return;
    FloatVector x, y, h, z;
    for (int p : points) {
        x.push_back(depths[p]);
        y.push_back(values[p]);
    }
    if (SplineCoefficients(static_cast<int>(points.size()), x, y, h, z) != 0)
        return;
    for (std::size_t j = 0; j + 1 < points.size(); ++j)
        for (int i = points[j]; i < points[j + 1]; ++i)
            values[i] = SplineValue(depths[i], static_cast<int>(j), x, y, h, z);
}

}  // namespace

void FillBetweenPoints(ConnectType type, const FloatVector& depths, FloatVector& values, float nullValue)
{
    if (depths.empty() || values.size() != depths.size())
        return;
    std::vector<int> points;
    for (int i = 0; i < static_cast<int>(values.size()); ++i)
        if (values[i] != nullValue)
            points.push_back(i);
    switch (type) {
    case ConnectType::Steps:
        FillSteps(values, nullValue);
        break;
    case ConnectType::Lines:
        FillLines(depths, values, points);
        break;
    case ConnectType::Spline:
        FillSpline(depths, values, points);
        break;
    }
}

bool ParsePointsText(std::string_view text, PointTexts& points)
{
    constexpr std::size_t kMaxNumber = 127;
    points.clear();
    if (text.size() < 3)
        return false;
    auto isNumber = [](char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == ','; };
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    auto isBreak = [](char c) { return c == '\n' || c == '\r'; };
    enum State { kDepth, kBetween, kValue, kAfterValue, kBetweenLines } state = kDepth;
    std::string depth;
    std::string value;
    for (char c : text) {
        switch (state) {
        case kDepth:
            if (isNumber(c)) {
                if (depth.size() >= kMaxNumber)
                    return false;
                depth += c;
            } else if (isBlank(c) && !depth.empty()) {
                state = kBetween;
            } else {
                return false;
            }
            break;
        case kBetween:
            if (isNumber(c)) {
                value.assign(1, c);
                state = kValue;
            } else if (!isBlank(c)) {
                return false;
            }
            break;
        case kValue:
            if (isNumber(c)) {
                if (value.size() >= kMaxNumber)
                    return false;
                value += c;
            } else if (isBlank(c) || isBreak(c)) {
                points.emplace_back(depth, value);
                state = kAfterValue;
            }
            break;
        case kAfterValue:
        case kBetweenLines:
            if (isNumber(c)) {
                depth.assign(1, c);
                value.clear();
                state = kDepth;
            } else if (isBlank(c) || isBreak(c)) {
                state = kBetweenLines;
            } else {
                return false;
            }
            break;
        }
    }
    if (state == kValue)
        points.emplace_back(depth, value);
    return true;
}
