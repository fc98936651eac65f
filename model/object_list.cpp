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

int ObjectList::InsertMany(int index, const SoundObjectHandle* handles, int count) {
  if (count <= 0) return 0;
  if (index < 0 || index > Count()) index = Count();
  int taken = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // The room is made first: a list that cannot grow takes nothing, and
    // its objects are not lost but freed.
    size_t wanted = objects_.size() + static_cast<size_t>(count);
    if (objects_.capacity() < wanted) {
      size_t grown = std::max(wanted, objects_.capacity() + objects_.capacity() / 2);
      std::vector<SoundObjectHandle> bigger;
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
  for (int i = taken; i < count; ++i) FreeSoundObject(handles[i]);
  if (!taken) return 0;
  grew_.Raise();
  Announce({ListChangeKind::Inserted, index, taken, 0});
  MarkModified();
  return taken;
}

bool ObjectList::Replace(int index, SoundObjectHandle handle) {
  if (index < 0 || index >= Count() || !handle) return false;
  SoundObjectHandle old;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    old = objects_[static_cast<size_t>(index)];
    objects_[static_cast<size_t>(index)] = handle;
    FreeSoundObject(old);  // under the lock: no reader holds it
  }
  Announce({ListChangeKind::Changed, index, 1, 0});
  MarkModified();
  return true;
}

bool ObjectList::Remove(int index) {
  if (index < 0 || index >= Count()) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    FreeSoundObject(objects_[static_cast<size_t>(index)]);
    objects_.erase(objects_.begin() + index);
  }
  Announce({ListChangeKind::Removed, index, 1, 0});
  MarkModified();
  return true;
}

bool ObjectList::Move(int from, int to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    SoundObjectHandle handle = objects_[static_cast<size_t>(from)];
    objects_.erase(objects_.begin() + from);
    objects_.insert(objects_.begin() + to, handle);  // never grows: no allocation
  }
  Announce({ListChangeKind::Moved, from, 1, to});
  MarkModified();
  return true;
}

void ObjectList::Clear() {
  if (objects_.empty()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (SoundObjectHandle handle : objects_) FreeSoundObject(handle);
    objects_.clear();
    objects_.shrink_to_fit();
  }
  Announce({ListChangeKind::Reset, 0, 0, 0});
}

void ObjectList::NoteChanged(int index) {
  if (index >= 0 && index < Count()) Announce({ListChangeKind::Changed, index, 1, 0});
}

void ObjectList::BeginBatch() { Announce({ListChangeKind::BatchBegin, 0, 0, 0}); }
void ObjectList::EndBatch() { Announce({ListChangeKind::BatchEnd, 0, 0, 0}); }

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
  if (modified_ == modified) return;
  modified_ = modified;
  Announce({ListChangeKind::FileChanged, 0, 0, 0});
}

void ObjectList::MarkModified() { SetModified(true); }

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
