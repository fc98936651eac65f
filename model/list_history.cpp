#include "model/list_history.h"

#include <windows.h>

#include "model/local_memory.h"
#include "model/sound_object.h"

namespace {

// What the heap keeps beside each block.
constexpr size_t kBlockOverhead = 16;

size_t BlockBytes(HLOCAL block) { return block ? LocalSize(block) + kBlockOverhead : 0; }

}  // namespace

size_t SoundObjectBytes(SoundObjectHandle handle) {
  if (!handle) return 0;
  size_t bytes = BlockBytes(handle);
  LockedBlock<SoundObject> record(handle);
  if (record) bytes += BlockBytes(record->description) + BlockBytes(record->fileName);
  return bytes;
}

ListHistory::~ListHistory() { Clear(); }

size_t ListHistory::Cost(const EditRecord& record) {
  size_t bytes = sizeof record + record.handles.capacity() * sizeof(SoundObjectHandle) +
                 record.order.capacity() * sizeof(uint32_t);
  // Inserted objects are the list's while the step is done; counted all
  // the same, so the cost is a bound for either side.
  for (SoundObjectHandle handle : record.handles) bytes += SoundObjectBytes(handle);
  return bytes;
}

void ListHistory::Drop(EditStep& step, bool done) {
  for (EditRecord& record : step) {
    const bool outside = record.kind == EditKind::Replace || (record.kind == EditKind::Remove && done) ||
                         (record.kind == EditKind::Insert && !done);
    if (outside)
      for (SoundObjectHandle handle : record.handles) FreeSoundObject(handle);
  }
  step.clear();
}

void ListHistory::DropRedo() {
  if (saved_ > static_cast<long>(done_)) saved_ = -1;
  while (steps_.size() > done_) {
    for (const EditRecord& record : steps_.back()) bytes_ -= Cost(record);
    Drop(steps_.back(), false);
    steps_.pop_back();
  }
}

void ListHistory::Record(EditRecord record) {
  DropRedo();
  open_.push_back(std::move(record));
}

void ListHistory::CloseStep(size_t budget) {
  if (open_.empty()) return;
  for (const EditRecord& record : open_) bytes_ += Cost(record);
  steps_.push_back(std::move(open_));
  open_ = EditStep();
  ++done_;
  size_t oldest = 0;
  while (steps_.size() - oldest > 1 && bytes_ > budget) {
    for (const EditRecord& record : steps_[oldest]) bytes_ -= Cost(record);
    Drop(steps_[oldest], true);
    ++oldest;
  }
  if (oldest) {
    steps_.erase(steps_.begin(), steps_.begin() + static_cast<long>(oldest));
    done_ -= oldest;
    saved_ = saved_ >= static_cast<long>(oldest) ? saved_ - static_cast<long>(oldest) : -1;
  }
}

void ListHistory::Clear() {
  DropRedo();
  while (!steps_.empty()) {
    Drop(steps_.back(), true);
    steps_.pop_back();
  }
  Drop(open_, true);
  done_ = 0;
  saved_ = -1;
  bytes_ = 0;
}
