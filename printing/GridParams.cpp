// Reading and writing the grid-line section.
#include "printing/GridParams.h"

#include "core/SettingsFile.h"
#include "printing/IniFloat.h"

TGridLineValues& GridLineValues()
{
    static TGridLineValues values;
    return values;
}

bool IsGridLengthInRange(float v) { return v >= 0.01f && v <= 2.0f; }

void ReadGridParams(const TRxIniFile& settings, const std::string& section, float& dashedLineWidth,
                    float& dashLen, int& dashColor, float& spaceLen, float& solidWidth, int& solidColor,
                    float& defaultColumnSpace)
{
    dashedLineWidth = ReadIniFloat(settings, section, "Dashed_LineWidth", 0.2f);
    dashLen = ReadIniFloat(settings, section, "Dash_Len", 0.5f);
    dashColor = settings.ReadInteger(section, "Dash_Color", 0xC0C0C0);
    spaceLen = ReadIniFloat(settings, section, "Space_Len", 0.5f);
    solidWidth = ReadIniFloat(settings, section, "Solid_Width", 0.1f);
    solidColor = settings.ReadInteger(section, "Solid_Color", 0);

    if (!IsGridLengthInRange(dashedLineWidth))
        dashedLineWidth = 0.1f;
    if (!IsGridLengthInRange(dashLen))
        dashLen = 0.5f;
    if (!IsGridLengthInRange(spaceLen))
        spaceLen = 0.5f;
    if (!IsGridLengthInRange(solidWidth))
        solidWidth = 0.1f;

    defaultColumnSpace = ReadIniFloat(settings, section, "DefaultColumnSpace", 0.1f);
}

void WriteGridParams(TRxIniFile& settings, const std::string& section, float dashedLineWidth,
                     float dashLen, int dashColor, float spaceLen, float solidWidth, int solidColor,
                     float defaultColumnSpace)
{
    WriteIniFloat(settings, section, "Dashed_LineWidth", dashedLineWidth);
    WriteIniFloat(settings, section, "Dash_Len", dashLen);
    settings.WriteInteger(section, "Dash_Color", dashColor);
    WriteIniFloat(settings, section, "Space_Len", spaceLen);
    WriteIniFloat(settings, section, "Solid_Width", solidWidth);
    settings.WriteInteger(section, "Solid_Color", solidColor);
    WriteIniFloat(settings, section, "DefaultColumnSpace", defaultColumnSpace);
}
