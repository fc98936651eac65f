#include "model/object_list.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "model/local_memory.h"
#include "model/object_paths.h"
#include "support/name_case.h"
#include "support/paths.h"

namespace {

// The text buffers of paths, names and descriptions.
constexpr size_t kPathSize = 512;

}  // namespace

ObjectList::ObjectList() = default;

ObjectList::~ObjectList() {
  for (SoundObjectHandle handle : objects_) FreeSoundObject(handle);
}

SoundObjectHandle ObjectList::At(int index) const {
  return index >= 0 && index < Count() ? objects_[static_cast<size_t>(index)] : nullptr;
}

int ObjectList::IndexOf(SoundObjectHandle handle) const {
  if (!handle) return -1;
  auto it = std::find(objects_.begin(), objects_.end(), handle);
  return it == objects_.end() ? -1 : static_cast<int>(it - objects_.begin());
}

int ObjectList::Insert(int index, SoundObjectHandle handle) {
  if (index < 0 || index > Count()) index = Count();
  return InsertMany(index, &handle, 1) == 1 ? index : -1;
}

int ObjectList::PutIn(int index, const SoundObjectHandle* handles, int count) {
  int taken = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // The room is made first: a list that cannot grow takes nothing.
    size_t wanted = objects_.size() + static_cast<size_t>(count);
    if (objects_.capacity() < wanted) {
      size_t grown = std::max(wanted, objects_.capacity() + objects_.capacity() / 2);
      // A vector that cannot get its memory would end the program; the
      // room is asked of the allocator that says no instead.
      auto* room = static_cast<SoundObjectHandle*>(operator new(grown * sizeof(SoundObjectHandle), std::nothrow));
      if (room) {
        operator delete(room);
        objects_.reserve(grown);
        taken = count;
      }
    } else {
      taken = count;
    }
    if (taken) objects_.insert(objects_.begin() + index, handles, handles + taken);
  }
  if (!taken) return 0;
  for (int i = 0; i < taken; ++i) objectBytes_ += SoundObjectBytes(handles[i]);
  grew_.Raise();
  Announce({ListChangeKind::Inserted, index, taken, 0});
  return taken;
}

void ObjectList::TakeOut(int index, int count, std::vector<SoundObjectHandle>* taken) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto first = objects_.begin() + index;
    taken->assign(first, first + count);
    objects_.erase(first, first + count);
  }
  for (SoundObjectHandle handle : *taken) objectBytes_ -= SoundObjectBytes(handle);
  Announce({ListChangeKind::Removed, index, count, 0});
}

void ObjectList::Swap(int index, SoundObjectHandle* handle) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::swap(objects_[static_cast<size_t>(index)], *handle);
  }
  objectBytes_ = objectBytes_ - SoundObjectBytes(*handle) + SoundObjectBytes(At(index));
  Announce({ListChangeKind::Changed, index, 1, 0});
}

void ObjectList::Shift(int from, int to) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    SoundObjectHandle handle = objects_[static_cast<size_t>(from)];
    objects_.erase(objects_.begin() + from);
    objects_.insert(objects_.begin() + to, handle);  // never grows: no allocation
  }
  Announce({ListChangeKind::Moved, from, 1, to});
}

void ObjectList::Arrange(const std::vector<uint32_t>& order) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<SoundObjectHandle> before = objects_;
    for (size_t i = 0; i < order.size(); ++i) objects_[i] = before[order[i]];
  }
  Announce({ListChangeKind::Reset, 0, 0, 0});
}

void ObjectList::Record(EditRecord record) {
  if (replaying_) return;
  history_.Record(std::move(record));
  if (batchDepth_ == 0) CloseStep();
}

void ObjectList::CloseStep() {
  // The history may cost as much as the objects themselves, and a small
  // list keeps a useful history all the same.
  constexpr size_t kLeastBudget = 4u << 20;
  std::lock_guard<std::mutex> lock(mutex_);  // objects it drops are freed under it
  history_.CloseStep(std::max(objectBytes_, kLeastBudget));
}

int ObjectList::InsertMany(int index, const SoundObjectHandle* handles, int count) {
  if (count <= 0) return 0;
  if (index < 0 || index > Count()) index = Count();
  int taken = PutIn(index, handles, count);
  // The objects that did not go in are not lost but freed.
  for (int i = taken; i < count; ++i) FreeSoundObject(handles[i]);
  if (!taken) return 0;
  EditRecord record;
  record.kind = EditKind::Insert;
  record.index = index;
  record.handles.assign(handles, handles + taken);
  Record(std::move(record));
  MarkModified();
  return taken;
}

bool ObjectList::Replace(int index, SoundObjectHandle handle) {
  if (index < 0 || index >= Count() || !handle) return false;
  Swap(index, &handle);  // handle is the old object now, kept for Undo
  EditRecord record;
  record.kind = EditKind::Replace;
  record.index = index;
  record.handles.push_back(handle);
  Record(std::move(record));
  MarkModified();
  return true;
}

bool ObjectList::Remove(int index) { return RemoveRange(index, 1); }

bool ObjectList::RemoveRange(int index, int count) {
  if (index < 0 || count <= 0 || index + count > Count()) return false;
  EditRecord record;
  record.kind = EditKind::Remove;
  record.index = index;
  TakeOut(index, count, &record.handles);  // kept for Undo
  Record(std::move(record));
  MarkModified();
  return true;
}

bool ObjectList::Move(int from, int to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) return false;
  Shift(from, to);
  EditRecord record;
  record.kind = EditKind::Move;
  record.index = from;
  record.to = to;
  Record(std::move(record));
  MarkModified();
  return true;
}

bool ObjectList::Reorder(const std::vector<uint32_t>& order) {
  if (order.size() != objects_.size()) return false;
  std::vector<bool> seen(order.size());
  bool changed = false;
  for (size_t i = 0; i < order.size(); ++i) {
    if (order[i] >= order.size() || seen[order[i]]) return false;
    seen[order[i]] = true;
    changed = changed || order[i] != i;
  }
  if (!changed) return false;
  Arrange(order);
  EditRecord record;
  record.kind = EditKind::Permute;
  record.order = order;
  Record(std::move(record));
  MarkModified();
  return true;
}

void ObjectList::Clear() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    history_.Clear();
  }
  if (objects_.empty()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (SoundObjectHandle handle : objects_) FreeSoundObject(handle);
    objects_.clear();
    objects_.shrink_to_fit();
  }
  objectBytes_ = 0;
  Announce({ListChangeKind::Reset, 0, 0, 0});
}

void ObjectList::NoteChanged(int index) {
  if (index >= 0 && index < Count()) Announce({ListChangeKind::Changed, index, 1, 0});
}

void ObjectList::BeginBatch() {
  ++batchDepth_;
  Announce({ListChangeKind::BatchBegin, 0, 0, 0});
}

void ObjectList::EndBatch() {
  EndEdit();
  Announce({ListChangeKind::BatchEnd, 0, 0, 0});
}

void ObjectList::EndEdit() {
  if (batchDepth_ > 0 && --batchDepth_ == 0) CloseStep();
}

void ObjectList::Apply(EditRecord& record, bool forward, std::vector<SoundObjectHandle>* touched, int* firstRow) {
  EditRecord& kept = record;  // it keeps the handles of the other side
  *firstRow = std::min(*firstRow, std::min(record.index, record.kind == EditKind::Move ? record.to : record.index));
  switch (record.kind) {
    case EditKind::Insert:
    case EditKind::Remove:
      if ((record.kind == EditKind::Insert) == forward) {
        PutIn(record.index, kept.handles.data(), static_cast<int>(kept.handles.size()));
      } else {
        std::vector<SoundObjectHandle> taken;
        TakeOut(record.index, static_cast<int>(kept.handles.size()), &taken);
      }
      touched->insert(touched->end(), kept.handles.begin(), kept.handles.end());
      break;
    case EditKind::Replace:
      Swap(record.index, &kept.handles[0]);
      touched->push_back(At(record.index));
      break;
    case EditKind::Move:
      if (forward)
        Shift(record.index, record.to);
      else
        Shift(record.to, record.index);
      touched->push_back(At(forward ? record.to : record.index));
      break;
    case EditKind::Permute:
      if (forward) {
        Arrange(record.order);
      } else {
        std::vector<uint32_t> inverse(record.order.size());
        for (size_t i = 0; i < record.order.size(); ++i) inverse[record.order[i]] = static_cast<uint32_t>(i);
        Arrange(inverse);
      }
      *firstRow = -1;  // the whole list: no rows of its own
      break;
  }
}

void ObjectList::ReplayedRows(const std::vector<SoundObjectHandle>& touched, int firstRow,
                              std::vector<int>* rows) const {
  rows->clear();
  if (firstRow < 0 || Count() == 0) return;
  // One pass over the list, however many objects the step held.
  std::vector<SoundObjectHandle> sorted(touched);
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < Count(); ++i)
    if (std::binary_search(sorted.begin(), sorted.end(), objects_[static_cast<size_t>(i)])) rows->push_back(i);
  if (rows->empty()) rows->push_back(std::min(firstRow, Count() - 1));
}

bool ObjectList::Undo(std::vector<int>* rows) {
  if (batchDepth_ || !history_.CanUndo()) return false;
  EditStep& step = history_.NextUndo();
  std::vector<SoundObjectHandle> touched;
  int firstRow = Count();
  replaying_ = true;
  Announce({ListChangeKind::BatchBegin, 0, 0, 0});
  for (auto it = step.rbegin(); it != step.rend(); ++it) Apply(*it, false, &touched, &firstRow);
  Announce({ListChangeKind::BatchEnd, 0, 0, 0});
  replaying_ = false;
  history_.DidUndo();
  SetModified(!history_.AtSaved());
  if (rows) ReplayedRows(touched, firstRow, rows);
  return true;
}

bool ObjectList::Redo(std::vector<int>* rows) {
  if (batchDepth_ || !history_.CanRedo()) return false;
  EditStep& step = history_.NextRedo();
  std::vector<SoundObjectHandle> touched;
  int firstRow = Count();
  replaying_ = true;
  Announce({ListChangeKind::BatchBegin, 0, 0, 0});
  for (EditRecord& record : step) Apply(record, true, &touched, &firstRow);
  Announce({ListChangeKind::BatchEnd, 0, 0, 0});
  replaying_ = false;
  history_.DidRedo();
  SetModified(!history_.AtSaved());
  if (rows) ReplayedRows(touched, firstRow, rows);
  return true;
}

void ObjectList::ForgetHistory() {
  std::lock_guard<std::mutex> lock(mutex_);
  history_.Clear();
  if (!modified_) history_.MarkSaved();
}

void ObjectList::SetFile(const std::string& path, bool owned) {
  // Upper-cased, as the title shows it and the CD catalog stores it.
  char name[kPathSize];
  lstrcpynA(name, path.c_str(), sizeof name);
  UpperCaseName(name, sizeof name);
  fileName_ = name;
  fileOwned_ = owned;
  Announce({ListChangeKind::FileChanged, 0, 0, 0});
}

void ObjectList::SetModified(bool modified) {
  // Saved now: undoing back to here clears the mark again. Marked without
  // an edit (a list read in part): no state of the history is saved.
  if (!modified)
    history_.MarkSaved();
  else if (history_.AtSaved())
    history_.ForgetSaved();
  if (modified_ == modified) return;
  modified_ = modified;
  Announce({ListChangeKind::FileChanged, 0, 0, 0});
}

// An edit was recorded: the history knows whether this state is saved.
void ObjectList::MarkModified() {
  if (modified_) return;
  modified_ = true;
  Announce({ListChangeKind::FileChanged, 0, 0, 0});
}

uint16_t ObjectList::FolderNumber(const std::string& folder) {
  for (size_t i = 0; i < folders_.size(); ++i)
    if (lstrcmpiA(folders_[i].c_str(), folder.c_str()) == 0) return static_cast<uint16_t>(i + 1);
  std::lock_guard<std::mutex> lock(mutex_);
  if (folders_.size() >= 0xFFFF) return 0;
  folders_.push_back(folder);
  return static_cast<uint16_t>(folders_.size());
}

uint16_t ObjectList::FolderOfFile(const char* path) {
  char full[kPathSize];
  DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return 0;
  char folder[kPathSize];
  FolderOfPath(full, folder, sizeof folder);
  return FolderNumber(folder);
}

uint16_t ObjectList::CurrentFolder() {
  if (!fileName_.empty()) return FolderOfFile(fileName_.c_str());
  char folder[kPathSize];
  DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  return length > 0 && length < sizeof folder ? FolderNumber(folder) : 0;
}

std::string ObjectList::Folder(uint16_t number) const {
  return number > 0 && number <= folders_.size() ? folders_[number - 1u] : std::string();
}

bool ObjectList::ResolvePath(const SoundObject& record, char* path, size_t size) const {
  char name[kPathSize];
  if (!record.fileName || !CopyTextBlock(record.fileName, name, sizeof name)) {
    if (size) path[0] = '\0';
    return false;
  }
  return JoinObjectPath(name, Folder(record.baseFolder), path, size);
}

bool ObjectList::ResolveTypedPath(const char* name, char* path, size_t size) {
  return JoinObjectPath(name, IsRelativePath(name) ? Folder(CurrentFolder()) : std::string(), path, size);
}

void ObjectList::Listen(ObjectListListener* listener) {
  if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void ObjectList::StopListening(ObjectListListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void ObjectList::Announce(const ListChange& change) {
  // A listener may stop listening while it is told: the list is copied.
  std::vector<ObjectListListener*> listeners = listeners_;
  for (ObjectListListener* listener : listeners) listener->OnListChange(change);
}
