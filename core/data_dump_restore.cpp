// Undo store: named snapshots of all curve arrays of a document.
#include "core/data_dump_restore.h"

#include "core/Lasfile.h"
#include "core/MemoryBudget.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

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
    newestTakeable_ = false;
    ReleaseDropped();
}

void DumpRestoreCurveData::Dump(const std::string& name)
{
    newestTakeable_ = false;
    if (!lasFile_)
        return;
    ReleaseDropped();
    DropDeadSteps();
    Step step{name, {}, lasFile_->GetDepthState(), lasFile_->GetTypedTexts(), lasFile_->GetCurveSetRevision(),
              stateId_, lastId_ + 1};
    try {
        // The redo tail and the oldest steps leave the history but are kept until the change stands.
        droppedRedo_.assign(std::make_move_iterator(steps_.begin() + static_cast<std::ptrdiff_t>(position_)),
                             std::make_move_iterator(steps_.end()));
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
        const TStravoFloatArrayList& arrays = lasFile_->GetCurveArrays();
        MakeRoomFor(arrays.ByteSize());
        if (arrays.ByteSize() > MemoryForArrays())
            throw std::runtime_error("Недостаточно памяти, чтобы запомнить шаг для отмены: изменение не начато");
        for (int i = 0; i < arrays.Count(); ++i)
            step.arrays.Add(arrays.Item(i).Clone());
    } catch (...) {
        PutBackDropped();
        throw;
    }
    steps_.push_back(std::move(step));
    position_ = steps_.size();
    stateId_ = ++lastId_;
    newestTakeable_ = true;
}

void DumpRestoreCurveData::DiscardLast()
{
    if (!std::exchange(newestTakeable_, false) || position_ == 0 || position_ != steps_.size())
        return;
    stateId_ = steps_.back().before;
    steps_.pop_back();
    PutBackDropped();
}

// Whatever part of a Dump was done: the steps before the position, or all when fewer, are the
// ones still undoable.
void DumpRestoreCurveData::PutBackDropped()
{
    const std::size_t undoable = droppedOldest_.size() + std::min(position_, steps_.size());
    steps_.insert(steps_.begin(), std::make_move_iterator(droppedOldest_.begin()),
                  std::make_move_iterator(droppedOldest_.end()));
    steps_.insert(steps_.end(), std::make_move_iterator(droppedRedo_.begin()),
                  std::make_move_iterator(droppedRedo_.end()));
    position_ = undoable;
    ReleaseDropped();
}

void DumpRestoreCurveData::ReleaseDropped()
{
    droppedOldest_.clear();
    droppedRedo_.clear();
}

// Takes the oldest steps out before the copy is made; the new step is kept even when it alone
// exceeds the budget.
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
    const auto end = steps_.begin() + static_cast<std::ptrdiff_t>(drop);
    droppedOldest_.assign(std::make_move_iterator(steps_.begin()), std::make_move_iterator(end));
    steps_.erase(steps_.begin(), end);
}

bool DumpRestoreCurveData::Applies(const Step& step) const
{
    return lasFile_ && step.curveSet == lasFile_->GetCurveSetRevision();
}

// A snapshot taken before curves were added or deleted no longer matches the ~C lines, and the
// revision only grows: such steps can never be applied again.
void DumpRestoreCurveData::DropDeadSteps()
{
    const auto dead = [this](const Step& step) { return !Applies(step); };
    const auto undoable = std::count_if(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(position_),
                                        [&](const Step& step) { return !dead(step); });
    steps_.erase(std::remove_if(steps_.begin(), steps_.end(), dead), steps_.end());
    position_ = static_cast<std::size_t>(undoable);
}

bool DumpRestoreCurveData::CanUndo() const { return position_ > 0 && Applies(steps_[position_ - 1]); }

bool DumpRestoreCurveData::CanRedo() const { return position_ < steps_.size() && Applies(steps_[position_]); }

std::string DumpRestoreCurveData::GetUndoName() const
{
    return CanUndo() ? steps_[position_ - 1].name : std::string();
}

std::string DumpRestoreCurveData::GetRedoName() const
{
    return CanRedo() ? steps_[position_].name : std::string();
}

void DumpRestoreCurveData::SwapWithDocument(Step& step)
{
    lasFile_->SwapCurveArrays(step.arrays);
    lasFile_->SwapDepthState(step.depth);
    lasFile_->SwapTypedTexts(step.typed);
}

bool DumpRestoreCurveData::Undo()
{
    newestTakeable_ = false;
    ReleaseDropped();
    DropDeadSteps();
    if (!CanUndo())
        return false;
    SwapWithDocument(steps_[position_ - 1]);
    --position_;
    stateId_ = steps_[position_].before;
    return true;
}

bool DumpRestoreCurveData::Redo()
{
    newestTakeable_ = false;
    ReleaseDropped();
    DropDeadSteps();
    if (!CanRedo())
        return false;
    SwapWithDocument(steps_[position_]);
    stateId_ = steps_[position_].after;
    ++position_;
    return true;
}

void DumpRestoreCurveData::SetByteBudget(std::size_t bytes) { byteBudget_ = bytes; }
