// Description of a LAS file to create (depth, curves, ~W items) and its LAS 2.0 writer.
#pragma once

#include "core/CoreTypes.h"
#include "core/LasTypedTexts.h"

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct LASCurveData
{
    std::string Mnemonic;
    std::string Unit;
    std::string Description;
    int Decimals = 2; // digits after the point when the values are written
    FloatVector Values;

    LASCurveData() = default;
    LASCurveData(std::string mnemonic, std::string unit, std::string description, int decimals);
};
using LASCurvesVector = std::vector<LASCurveData>;

struct Value_Comment
{
    std::string Value;
    std::string Comment;
};
using InfoPair = std::pair<std::string, Value_Comment>;
using WellInfoMAP = std::map<std::string, Value_Comment>;

// Decimals of the depths of a new file unless its depths need more.
inline constexpr int kNewLasDepthDecimals = 2;

struct NewLASInfo
{
    std::string DepthMnemonic = "DEPT";
    std::string DepthUnit = "M";
    std::string DepthDescription = "DEPTH CURVE";
    int DepthDecimals = kNewLasDepthDecimals;
    // Depths and step in double: typed and imported depths are written back as they were given.
    std::vector<double> Depth;
    double Step = 0;
    float NullValue = -32768.0f;
    LASCurvesVector Curves;
    // By curve index and row: texts values were typed or imported as, written where the curve's
    // decimals would give other digits (LasTypedTexts::Written).
    LasTypedTexts Texts;
    WellInfoMAP WellInfo;

    NewLASInfo();
};

// The ten standard ~W items with empty values; step 0, no depth, no curves, NULL -32768.
void CreateDefaultWellInfo(NewLASInfo& info);

// The step of `rows` depths from `first` to `last`: their mean step rounded to the fewest
// decimals, from `decimals` up, with which first + (rows - 1) * step gives `last` at `decimals`.
// Those decimals go into *stepDecimals.
double AgreeingStep(double first, double last, std::size_t rows, int decimals, int* stepDecimals = nullptr);

enum NewLASResult
{
    NewLASWritten = 0,
    NewLASNoDepth = 1,
    NewLASZeroStep = 2,
    NewLASWriteFailed = 3,
};
// Writes a LAS 2.0 file (CP866, CR LF) and returns a NewLASResult; nothing is written on failure.
int WriteNewLASFile(const NewLASInfo& info, const std::string& path);
