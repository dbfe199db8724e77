// The depth shift of best correlation between two curves, by two ways of computing the same
// result: a scan of every shift, and sums over all overlaps at once from FFT cross-correlations.
#pragma once

// Both search the shifts s in lo..hi (clamped to +-(n - 1)) of base[i + s] against bound[i]
// for the largest |r| (NullCorrelation's r, the smallest such s on ties); 0 and r = 0 when
// no shift qualifies.
int ScanCorrelationShifts(int n, float nullValue, int lo, int hi, const float* base, const float* bound, float& r);
int FftCorrelationShifts(int n, float nullValue, int lo, int hi, const float* base, const float* bound, float& r);

// True when the FFT way is the cheaper one for this many samples and shifts.
bool FftCorrelationPays(int n, int lo, int hi);
