// Writing a LAS document: its header sections as read (modified lines rebuilt, STRT, STOP and STEP
// recomputed where they disagree with the rows written), and the chosen curves at every k-th
// sample of a range; rows nobody changed are copied from the file they were read from.
#pragma once

#include <string>
#include <vector>

#include "core/LasParser2.h"

class LasDepthColumn;

// depthColumn: the decimal depths of the depth column (null: the floats' own). curves: data
// curve indexes (1..count-1) in the order to write, after the depth. The samples first,
// first + k, ..., last must lie in the document. Rows the source lacked values in are written
// whole (NULL where values were lacking), so that the file reads back without a warning, unless
// the save copies every row and header line as read and completeRows does not ask for them
// whole. Writes to a temporary file renamed over the target; false when the file could not be
// written (the target is then left as it was), with the system's error code in *systemError.
bool WriteLasFile(const TLasParser2Parser& document, const LasDepthColumn* depthColumn,
                  const std::vector<int>& curves, int first, int last, int k,
                  const std::string& path, int* systemError = nullptr, bool completeRows = false);
