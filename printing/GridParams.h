// The look of the coordinate grid of printed curve diagrams: one program-wide set of values
// kept in section "CurvePrnSec" of the program's settings file.
#pragma once

#include <string>

class TRxIniFile;

// Lengths and widths in mm, the column space in cm, colours 0x00BBGGRR.
struct TGridLineValues {
    float DashedLineWidth = 0.2f;
    float DashLen = 0.5f;
    int DashColor = 0x808080;
    float SpaceLen = 0.5f;
    float SolidWidth = 0.1f;
    int SolidColor = 0;
    float DefaultColumnSpace = 0.5f;
};

// The one set that every page drawing and every new column uses.
TGridLineValues& GridLineValues();

bool IsGridLengthInRange(float v);

void ReadGridParams(const TRxIniFile& settings, const std::string& section, float& dashedLineWidth,
                    float& dashLen, int& dashColor, float& spaceLen, float& solidWidth, int& solidColor,
                    float& defaultColumnSpace);
void WriteGridParams(TRxIniFile& settings, const std::string& section, float dashedLineWidth,
                     float dashLen, int dashColor, float spaceLen, float solidWidth, int solidColor,
                     float defaultColumnSpace);
