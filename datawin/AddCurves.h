// Placement of curves of a source LAS document into a target document by depth, on the
// target's own step (the work behind the add-curves dialog; Qt-free).
#pragma once

#include <string>
#include <vector>

class TLASFile;

struct DepthLimit {
    bool on = false;
    double from = 0;  // swapped with `to` when deeper
    double to = 0;
};

// The rows of the document a depth limit covers: `from` and `to` are swapped when reversed, the
// rows reach outward to the samples around the limit (a limit lying on a sample, within float
// rounding, takes that sample). A document with a STEP of 0 keeps every row. False when the limit
// covers no row.
bool DepthLimitToIndexes(const TLASFile& document, double& from, double& to, int& first, int& last);

// Adds the source curves (indexes 1..count-1, in order) to the target: the target grows to the
// range of both documents (or to the limit), existing curves get its NULL in the new rows, and
// each source sample lands at the target row of its depth. False with the reason in `error`, the
// target unchanged, for a STEP of 0, a range beyond kMaxPointCount rows or too little memory.
bool AddCheckedCurves(TLASFile& target, const TLASFile& source, const std::vector<int>& sourceCurves,
                      DepthLimit limit, std::string& error);
