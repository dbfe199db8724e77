// Every printing test starts with printed labels using a point: printing through a window sets
// the platform's separator process-wide.
#include "printing/LabelText.h"

#include <gtest/gtest.h>

namespace {

class LabelSeparatorReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { SetLabelDecimalSeparator('.'); }
};

const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new LabelSeparatorReset);
    return true;
}();

}  // namespace
