// Saves over the document's own file one after another: whatever way the last save wrote its rows,
// the next one writes the document.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Lasfile.h"
#include "tests/core/test_las_text.h"
#include "tests/core/test_las_util.h"

namespace {

using las_test::Curve;
using las_test::ReadFileBytes;

// The file read back holds the document's curves, values and names.
void ExpectSameDocument(const std::string& path, const TLASFile& document)
{
    const TLASFile read(path, 2);
    ASSERT_TRUE(read.IsLoaded()) << read.GetLoadError();
    EXPECT_EQ(read.GetOmittedData(), "");
    ASSERT_EQ(read.GetCurvesCount(), document.GetCurvesCount());
    for (int c = 0; c < document.GetCurvesCount(); ++c) {
        EXPECT_EQ(read.GetCurveName(c), document.GetCurveName(c));
        EXPECT_EQ(Curve(read, c), Curve(document, c)) << read.GetCurveName(c);
    }
}

// The bytes in which two texts differ, from the first that differs to the last, as each holds them.
std::pair<std::string_view, std::string_view> Difference(std::string_view a, std::string_view b)
{
    const size_t head = static_cast<size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    const size_t tail = static_cast<size_t>(
        std::mismatch(a.rbegin(), a.rend() - static_cast<long>(head), b.rbegin(), b.rend() - static_cast<long>(head)).first -
        a.rbegin());
    return {a.substr(head, a.size() - head - tail), b.substr(head, b.size() - head - tail)};
}

// Gives the file another modification time, as another program touching it would.
void Touch(const std::string& path)
{
    struct stat now {};
    ASSERT_EQ(stat(path.c_str(), &now), 0);
    timespec times[2] = {now.st_atim, now.st_mtim};
    times[1].tv_sec += 10;
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// One step of a sequence: an edit of the document, then a save over its own file.
enum class Edit { kNone, kValue, kCurve, kDecimals, kAdd, kDelete, kShift, kTouch };
enum class Save { kWhole, kEditor, kThinned };
const char* const kEditNames[] = {"nothing", "value", "curve", "decimals", "add", "delete", "shift", "touch"};
const char* const kSaveNames[] = {"save", "editor's save", "thinned save"};

// Random edits and saves of one document, with the log of what was done for a failure to name.
class SaveSequence {
public:
    SaveSequence(unsigned seed, int rows) : random_(seed)
    {
        shape_.eol = Pick(2) ? "\r\n" : "\n";
        shape_.rows = rows;
        shape_.wrapped = Pick(4) == 0;
        shape_.descending = Pick(3) == 0;
        // Right-aligned, unaligned with the depth widening past 1000, or padded after.
        if (const int row = shape_.wrapped ? 0 : Pick(4); row == 1) {
            shape_.row = "%s%s%10.3f%10s";
            shape_.depthBase = 990;
        } else if (row == 2) {
            shape_.row = "%-10s%s%-10.3f %-10s ";
        }
        if (Pick(4) == 0)
            shape_.blanks = "  ";
        if (!shape_.wrapped && Pick(4) == 0)
            shape_.extraValueRow = Pick(rows);
        log_ = "seed " + std::to_string(seed) + ", " + std::to_string(rows) + " rows" +
               (shape_.wrapped ? ", wrapped" : "") + (shape_.descending ? ", descending" : "") +
               (shape_.extraValueRow >= 0 ? ", an extra value" : "") + ":";
        path_ = files_.Write(las_test::LasText(shape_));
        document_ = std::make_unique<TLASFile>(path_, 2);
    }

    TLASFile& Document() { return *document_; }
    const std::string& Log() const { return log_; }

    // A random edit and a random save, then the file read back.
    void Step()
    {
        TLASFile& document = *document_;
        // Edits of values come oftenest, as they do for a user, so that saves also follow saves
        // that kept the file's columns.
        static const Edit kEdits[] = {Edit::kNone,  Edit::kNone,     Edit::kValue, Edit::kValue,
                                      Edit::kValue, Edit::kValue,    Edit::kCurve, Edit::kDecimals,
                                      Edit::kAdd,   Edit::kDelete,   Edit::kShift, Edit::kTouch};
        const Edit edit = kEdits[Pick(static_cast<int>(std::size(kEdits)))];
        const int pick = Pick(5);
        const Save save = pick < 3 ? Save::kWhole : pick == 3 ? Save::kEditor : Save::kThinned;
        log_ += std::string(" ") + kEditNames[static_cast<int>(edit)] + ", " + kSaveNames[static_cast<int>(save)] + ";";
        SCOPED_TRACE(log_);
        Apply(edit);
        const bool unchanged = !lastSaved_.empty();
        if (save == Save::kThinned) {
            ExpectThinnedSave();
            lastSaved_.clear();
            return;
        }
        std::vector<int> curves;
        for (int c = 1; c < document.GetCurvesCount(); ++c)
            curves.push_back(c);
        ASSERT_TRUE(save == Save::kWhole ? document.WriteLas(path_)
                                         : document.WriteLasThinned(static_cast<int>(curves.size()), curves.data(), 0,
                                                                    1, document.GetPointCount() - 1, 0, path_));
        const std::string saved = ReadFileBytes(path_);
        if (unchanged) {
            EXPECT_EQ(saved, lastSaved_);
        }
        lastSaved_ = saved;
        ExpectSameDocument(path_, document);
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    // A value its curve's decimals write back exactly: hundredths, now and then NULL.
    float Value()
    {
        if (Pick(10) == 0)
            return document_->GetNullValue();
        char text[16];
        std::snprintf(text, sizeof text, "%.2f", (Pick(200001) - 100000) / 100.0);
        return std::strtof(text, nullptr);
    }

    void Apply(Edit edit)
    {
        TLASFile& document = *document_;
        const int curve = 1 + Pick(document.GetCurvesCount() - 1);
        const int n = document.GetPointCount();
        switch (edit) {
        case Edit::kNone:
            break;
        case Edit::kValue: {
            const int sample = Pick(n);
            const float value = Value();
            document.GetCurveData(curve)[sample] = value;
            // Now and then typed in the LAS editor, with more decimals than its curve's.
            if (Pick(3) == 0 && value != document.GetNullValue()) {
                char text[24];
                std::snprintf(text, sizeof text, "%.5f", static_cast<double>(value));
                document.SetTypedText(curve, sample, text);
            }
            lastSaved_.clear();
            break;
        }
        case Edit::kCurve:
            for (int i = 0; i < n; ++i)
                document.GetCurveData(curve)[i] = Value();
            lastSaved_.clear();
            break;
        case Edit::kDecimals:
            document.SetCurveDecimals(curve, 3 + Pick(3));
            lastSaved_.clear();
            break;
        case Edit::kAdd: {
            std::vector<float> values(static_cast<size_t>(n));
            for (float& value : values)
                value = Value();
            ASSERT_GT(document.AddCurve("N" + std::to_string(++added_), values.data(), 3), 0);
            lastSaved_.clear();
            break;
        }
        case Edit::kDelete:
            if (document.GetCurvesCount() > 2) {
                ASSERT_TRUE(document.DeleteCurve(curve));
                lastSaved_.clear();
            }
            break;
        case Edit::kShift: {
            const double shift = Pick(2) ? 0.5 : -0.01;
            ASSERT_EQ(document.DepthShiftProblem(shift), "");
            document.ShiftDepth(shift);
            lastSaved_.clear();
            break;
        }
        case Edit::kTouch:
            Touch(path_);
            lastSaved_.clear();
            break;
        }
    }

    // Every second or third row, or every curve but the last, over the document's own file: it
    // reads back as those rows and curves.
    void ExpectThinnedSave()
    {
        const TLASFile& document = *document_;
        const int k = document.GetCurvesCount() > 2 && Pick(2) ? 1 : 2 + Pick(2);
        std::vector<int> curves;
        for (int c = 1; c < document.GetCurvesCount() - (k == 1 ? 1 : 0); ++c)
            curves.push_back(c);
        ASSERT_TRUE(document.WriteLasThinned(static_cast<int>(curves.size()), curves.data(), 0, k,
                                             document.GetPointCount() - 1, 0, path_));
        const TLASFile read(path_, 2);
        ASSERT_TRUE(read.IsLoaded()) << read.GetLoadError();
        ASSERT_EQ(read.GetCurvesCount(), static_cast<int>(curves.size()) + 1);
        ASSERT_EQ(read.GetPointCount(), (document.GetPointCount() - 1) / k + 1);
        for (int c = 0; c < read.GetCurvesCount(); ++c) {
            const float* values = document.GetCurveData(c == 0 ? 0 : curves[static_cast<size_t>(c - 1)]);
            std::vector<float> expected;
            for (int i = 0; i < read.GetPointCount(); ++i)
                expected.push_back(values[static_cast<size_t>(i) * k]);
            EXPECT_EQ(Curve(read, c), expected) << c;
        }
    }

    std::mt19937 random_;
    las_test::Shape shape_{"\n", false, false, 0};
    las_test::LasFiles files_;
    std::string path_;
    std::unique_ptr<TLASFile> document_;
    std::string log_;
    std::string lastSaved_;  // the bytes of the last save of the whole document, while it stands
    int added_ = 0;
};

} // namespace

// Random sequences of edits (a value, a whole curve, decimals, a curve added or deleted, a depth
// shift, the file touched on disk), each followed by a save over the document's own file (the
// document's, the LAS editor's or a thinned one), on files of one block, two and many: each save of
// the whole document reads back as it, and one with nothing changed since the last gives its bytes
// back. The seeds are fixed; a failure names the seed and the steps up to it.
TEST(LasSaveSequences, RandomEditsAndSavesOverTheOwnFileReadBackAsTheDocument)
{
    const struct {
        int rows;
        int sequences;
    } sizes[] = {{300, 12}, {kLasBlockRows + 900, 6}, {5 * kLasBlockRows + 123, 3}};
    constexpr int kSteps = 10;
    unsigned seed = 20240;
    for (const auto& size : sizes) {
        for (int s = 0; s < size.sequences; ++s) {
            SaveSequence sequence(++seed, size.rows);
            ASSERT_EQ(sequence.Document().GetPointCount(), size.rows) << sequence.Log();
            for (int step = 0; step < kSteps && !HasFailure(); ++step)
                sequence.Step();
            if (HasFailure())
                return;
        }
    }
}

// A first save that formats every row (a curve's decimals changed, the file touched on disk, a row
// holding a value more than the curves), then a value edited and two saves more, on files of one
// block and of five: each save reads back as the document, and the one with nothing changed since
// gives the file back byte for byte.
TEST(LasSaveSequences, SavesFollowASaveThatFormattedEveryRow)
{
    enum Start { kDecimals, kTouched, kExtraValue };
    for (const int rows : {4000, 20000}) {
        for (const Start start : {kDecimals, kTouched, kExtraValue}) {
            SCOPED_TRACE("rows " + std::to_string(rows) + ", start " + std::to_string(start));
            las_test::Shape shape{"\r\n", false, false, rows};
            if (start == kExtraValue)
                shape.extraValueRow = rows / 2;
            las_test::LasFiles files;
            const std::string path = files.Write(las_test::LasText(shape));
            TLASFile document(path, 2);
            ASSERT_EQ(document.GetPointCount(), rows);
            if (start == kDecimals)
                document.SetCurveDecimals(1, 4);
            if (start == kTouched)
                Touch(path);
            std::string previous;
            for (int save = 0; save < 3; ++save) {
                SCOPED_TRACE("save " + std::to_string(save));
                if (save == 1)
                    document.GetCurveData(2)[rows - 5] = 4.25f;
                ASSERT_TRUE(document.WriteLas(path));
                const std::string saved = ReadFileBytes(path);
                // The edited value's line alone changes; then nothing does.
                const auto [before, after] = Difference(previous, saved);
                if (save == 1) {
                    EXPECT_EQ(before.find('\n'), std::string_view::npos) << before;
                    EXPECT_EQ(after, "4.25");
                }
                if (save == 2) {
                    EXPECT_EQ(saved, previous);
                }
                ExpectSameDocument(path, document);
                previous = saved;
            }
        }
    }
}
