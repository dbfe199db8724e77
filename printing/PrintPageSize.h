// The printable page size of the template editor and the part of it its page view shows.
#pragma once

struct TPrintPageSize {
    // The widest and tallest page shown whole; wider or taller ones show 42.0 or 59.4 cm.
    static constexpr double MaxWholeWidth = 2 * 21.0 + 5.0;
    static constexpr double MaxWholeHeight = 2 * 29.7 + 5.0;

    double PageWidth = 21.0;  // cm
    double PageHeight = 29.7;
    double ViewWidth = 21.0;
    double ViewHeight = 29.7;
    double WidthRatio = 1.0;  // page / view
    double HeightRatio = 1.0;

    TPrintPageSize() = default;
    // Sizes not above 0 become 21.0 × 29.7.
    TPrintPageSize(double width, double height);
    // The view width times `factor`, 42.0 when that exceeds the widest whole page.
    void Zoom(double factor);
    // The view width back to the page width (42.0 for a very wide page).
    void Fit();
};
