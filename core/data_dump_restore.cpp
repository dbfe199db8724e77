// Undo store: named snapshots of all curve arrays of a document.
#include "core/data_dump_restore.h"

#include "core/Lasfile.h"

DumpRestoreCurveData::DumpRestoreCurveData(int limit) : limit_(limit < 1 ? 1 : limit) {}

void DumpRestoreCurveData::SetLasFile(TLASFile* lasFile)
{
    if (lasFile != lasFile_)
        stateId_ = ++lastId_;
    lasFile_ = lasFile;
    Clear();
}

void DumpRestoreCurveData::Clear()
{
    steps_.clear();
    position_ = 0;
}

void DumpRestoreCurveData::Dump(const std::string& name)
{
    if (!lasFile_)
        return;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    const TStravoFloatArrayList& arrays = lasFile_->GetCurveArrays();
    MakeRoomFor(arrays.ByteSize());
    position_ = steps_.size();  // consistent even if the copy below runs out of memory
    Step step{name, {}, stateId_, lastId_ + 1};
    for (int i = 0; i < arrays.Count(); ++i)
        step.arrays.Add(arrays.Item(i).Clone());
    steps_.push_back(std::move(step));
    position_ = steps_.size();
    stateId_ = ++lastId_;
}

void DumpRestoreCurveData::DiscardLast()
{
    if (position_ == 0 || position_ != steps_.size())
        return;
    stateId_ = steps_.back().before;
    steps_.pop_back();
    position_ = steps_.size();
}

// Drops the oldest steps before the copy is made, so the stored steps stay within the budget
// even while copying; the new step is kept even when it alone exceeds the budget.
void DumpRestoreCurveData::MakeRoomFor(std::size_t newBytes)
{
    std::size_t bytes = newBytes;
    for (const Step& step : steps_)
        bytes += step.arrays.ByteSize();
    std::size_t drop = 0;
    const auto limit = static_cast<std::size_t>(limit_);
    while (drop < steps_.size() && (steps_.size() - drop + 1 > limit || bytes > byteBudget_)) {
        bytes -= steps_[drop].arrays.ByteSize();
        ++drop;
    }
    steps_.erase(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(drop));
}

bool DumpRestoreCurveData::CanUndo() const { return lasFile_ && position_ > 0; }

bool DumpRestoreCurveData::CanRedo() const { return lasFile_ && position_ < steps_.size(); }

std::string DumpRestoreCurveData::GetUndoName() const
{
    return position_ > 0 ? steps_[position_ - 1].name : std::string();
}

std::string DumpRestoreCurveData::GetRedoName() const
{
    return position_ < steps_.size() ? steps_[position_].name : std::string();
}

bool DumpRestoreCurveData::SwapWithDocument(Step& step)
{
    // A snapshot taken before curves were added or deleted would no longer match the ~C lines.
    if (step.arrays.Count() != lasFile_->GetCurveArrays().Count())
        return false;
    lasFile_->SwapCurveArrays(step.arrays);
    return true;
}

bool DumpRestoreCurveData::Undo()
{
    if (!CanUndo() || !SwapWithDocument(steps_[position_ - 1]))
        return false;
    --position_;
    stateId_ = steps_[position_].before;
    return true;
}

bool DumpRestoreCurveData::Redo()
{
    if (!CanRedo() || !SwapWithDocument(steps_[position_]))
        return false;
    stateId_ = steps_[position_].after;
    ++position_;
    return true;
}

void DumpRestoreCurveData::SetByteBudget(std::size_t bytes) { byteBudget_ = bytes; }
