// The perforation-mark record: depths of the control mark and of the perforation interval, the
// caption of the printed mark block and whether it is printed.
#pragma once

#include <string>

struct TKontrOsnMetkaInfo {
    float GK = -1.0f;          // gamma-log record point, m
    float Perf = -1.0f;        // lowest point of the perforator's hole, m
    float Podoshva = -1.0f;    // bottom of the perforation interval, m
    float KontrMetka = -1.0f;  // control mark, m
    std::string TitleText = "Расстояние между контрольной и основной меткой:";
    bool Print = false;

    // Distance between the control mark and the main mark, m.
    float GetDistance() const { return (Podoshva - KontrMetka) + (GK - Perf); }
};
