// The printed curve model and its template-file keys.
#include "printing/CurveForPrinting.h"

#include "core/SettingsFile.h"
#include "printing/IniFloat.h"
#include "printing/PrintingColumn.h"

#include <algorithm>
#include <cmath>

TCurveForPrinting::TCurveForPrinting(const float* samples, TPrintingColumn* column, float nullValue,
                                     int sampleCount)
    : Column(column), Samples(samples), SampleCount(samples ? std::max(sampleCount, 0) : 0), NullValue(nullValue)
{
    bool any = false;
    float lo = 0.0f;
    float hi = 0.0f;
    for (int i = 0; i < SampleCount; ++i) {
        const float v = Samples[i];
        if (v == NullValue || !std::isfinite(v))
            continue;
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
    }
    if (!any) {
        LeftValue = 0.0f;
        RightValue = 1.0f;
    } else if (lo == hi) {
        LeftValue = lo - 1.0f;
        RightValue = lo + 1.0f;
    } else {
        LeftValue = lo;
        RightValue = hi;
    }
    const float width = column ? column->GetWidth() : 5.0f;
    ScaleValue = (RightValue - LeftValue) / width;
}

void TCurveForPrinting::SetScaleValue(float v)
{
    if (v >= 1e-6f)
        ScaleValue = v;
}

void TCurveForPrinting::SetLeftValue(float v)
{
    if (v >= RightValue)
        RightValue = RightValue - LeftValue + v;
    LeftValue = v;
}

void TCurveForPrinting::SetRightValue(float v)
{
    if (v > LeftValue)
        RightValue = v;
}

void TCurveForPrinting::SetLogScaleModule(int m)
{
    if (m >= 1 && m <= 10)
        LogScaleModule = m;
}

void TCurveForPrinting::SetLogLeftValue(float v)
{
    if (v >= 1e-13f && v <= 1e14f)
        LogLeftValue = v;
}

void TCurveForPrinting::LoadFromIni(const TRxIniFile& ini, const std::string& section)
{
    LeftValue = ReadIniFloat(ini, section, "LeftValue", LeftValue);
    if (const float v = ReadIniFloat(ini, section, "ScaleValue", ScaleValue); v > 0.0f)
        ScaleValue = v;
    if (const int v = ini.ReadInteger(section, "Color", Color); v >= 0 && v <= 0xFFFFFF)
        Color = v;
    if (const float v = ReadIniFloat(ini, section, "Width", Width); v >= 0.01f)
        Width = v;
    ShowTitle = ini.ReadBool(section, "ShowTitle", true);
    ShowUnits = ini.ReadBool(section, "ShowUnits", true);
    ShowComment = ini.ReadBool(section, "ShowComment", false);
    if (const float v = ReadIniFloat(ini, section, "BlikScale", OffsideMode->BlikScale); v > 0.0f)
        OffsideMode->SetScale(v);
    OffsideMode->BlikIsProgressive = ini.ReadBool(section, "BlikIsProgressive", OffsideMode->BlikIsProgressive);
    if (const int v = ini.ReadInteger(section, "BlikTitleType", BlikTitleType); v >= 0 && v <= 3)
        BlikTitleType = static_cast<std::int8_t>(v);
    BlikTitle = ini.ReadInteger(section, "BlikTitle", BlikTitle ? 1 : 0) != 0;
    LogarithmicScale = ini.ReadBool(section, "LogarithmicScale", LogarithmicScale);
    if (const int v = ini.ReadInteger(section, "LogScaleModule", LogScaleModule); v >= 1 && v <= 10)
        LogScaleModule = v;
    if (const float v = ReadIniFloat(ini, section, "LogLeftValue", LogLeftValue); v >= 1e-10f && v <= 1e7f)
        LogLeftValue = v;
}

void TCurveForPrinting::SaveToIni(TRxIniFile& ini, const std::string& section) const
{
    WriteIniFloat(ini, section, "LeftValue", LeftValue);
    WriteIniFloat(ini, section, "ScaleValue", ScaleValue);
    ini.WriteInteger(section, "Color", Color);
    WriteIniFloat(ini, section, "Width", Width);
    ini.WriteBool(section, "ShowTitle", ShowTitle);
    ini.WriteBool(section, "ShowUnits", ShowUnits);
    ini.WriteBool(section, "ShowComment", ShowComment);
    WriteIniFloat(ini, section, "BlikScale", OffsideMode->BlikScale);
    ini.WriteBool(section, "BlikIsProgressive", OffsideMode->BlikIsProgressive);
    ini.WriteInteger(section, "BlikTitleType", BlikTitleType);
    ini.WriteInteger(section, "BlikTitle", BlikTitle ? 1 : 0);
    ini.WriteBool(section, "LogarithmicScale", LogarithmicScale);
    ini.WriteInteger(section, "LogScaleModule", LogScaleModule);
    WriteIniFloat(ini, section, "LogLeftValue", LogLeftValue);
}

std::string TCurveForPrinting::TitleText() const
{
    std::string text = ShowTitle ? Mnemonic : std::string();
    const auto append = [&text](bool show, const std::string& part) {
        if (!show || part.empty())
            return;
        text += text.empty() ? part : ", " + part;
    };
    append(ShowUnits, Unit);
    append(ShowComment, Comment);
    return text;
}

bool TCurveForPrinting::IsDrawable(float v) const
{
    return v != NullValue && std::isfinite(v) && (!LogarithmicScale || v > 0.0f);
}
