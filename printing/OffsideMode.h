// Off-scale ("blik") settings of a printed curve and the fold that brings a trace that
// leaves its column back into it.
#pragma once

class TOffsideMode {
public:
    bool BlikIsProgressive = false;
    float BlikScale = 5.0f;  // compression of the part beyond the edge
    int WrapCount = 0;       // folds of the last Wrap

    void SetScale(float scale);

    // Position of x (device pixels) folded into left..right; `count` gets the number of
    // folds (the off-scale level), negative for points left of the column.
    int Wrap(double x, int left, int right, int& count);
    // The offset from the left edge folded into `width`, counting folds in WrapCount from
    // `level` on. Iterative, in double precision, with a cap on the levels walked one by one.
    double Fold(int width, int level, double offset);

private:
    double Divisor(int level) const;
};
