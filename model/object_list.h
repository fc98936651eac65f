/*
 * The Object List: the document of Wendle. It owns the Sound Objects in
 * play order, knows the list file they came from and whether the list has
 * changes not yet saved, keeps the folders that names without a folder are
 * relative to, and tells its listeners of every change: the main window's
 * list is one of them, a view that shows the objects and holds none.
 *
 * Only the UI thread changes the list, and it reads it freely. Another
 * thread (the Play All worker) reads it only while it holds a Reading: an
 * object is freed only under the same lock, so nothing it reads goes away
 * meanwhile.
 */
#ifndef WENDLE_OBJECT_LIST_H
#define WENDLE_OBJECT_LIST_H

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "model/list_history.h"
#include "model/sound_object.h"
#include "support/scoped_win.h"

// One change, as the listeners learn of it.
enum class ListChangeKind {
  Inserted,    // count objects from index on are new
  Removed,     // count objects from index on are gone
  Changed,     // the object at index looks different (its texts, its mark)
  Moved,       // the object at index now stands at `to`
  Reset,       // everything may have changed (the list was emptied or replaced)
  BatchBegin,  // many changes follow: a view may stop drawing until BatchEnd
  BatchEnd,
  FileChanged,  // the list's file, or whether it has unsaved changes
};

struct ListChange {
  ListChangeKind kind;
  int index = 0;
  int count = 0;
  int to = 0;
};

class ObjectListListener {
 public:
  virtual ~ObjectListListener() = default;
  virtual void OnListChange(const ListChange& change) = 0;
};

class ObjectList {
 public:
  ObjectList();
  // Frees every object.
  ~ObjectList();
  ObjectList(const ObjectList&) = delete;
  ObjectList& operator=(const ObjectList&) = delete;

  // ---- The objects, in play order -----------------------------------
  int Count() const { return static_cast<int>(objects_.size()); }
  // The object at index, or null.
  SoundObjectHandle At(int index) const;
  // The index of an object, or -1.
  int IndexOf(SoundObjectHandle handle) const;

  // Every change below marks the list modified and tells the listeners.
  //
  // Takes the object in at index (-1, or an index past the end, appends):
  // its index, or -1 when memory ran out (the object is freed then).
  int Insert(int index, SoundObjectHandle handle);
  // Takes count objects in at index, in order: how many went in (memory
  // may run out; the objects that did not go in are freed).
  int InsertMany(int index, const SoundObjectHandle* handles, int count);
  // Puts handle in place of the object at index, which is freed.
  bool Replace(int index, SoundObjectHandle handle);
  // Removes and frees the object at index.
  bool Remove(int index);
  // Removes and frees count objects from index on.
  bool RemoveRange(int index, int count);
  // Moves the object at `from` to stand at `to`; the same object.
  bool Move(int from, int to);
  // Puts the objects in a new order: the object at i afterwards is the one
  // at order[i] before (order holds every index once). The listeners hear
  // Reset.
  bool Reorder(const std::vector<uint32_t>& order);
  // Removes and frees every object (the modified mark is the caller's:
  // New clears it, Open sets it once the file is read).
  void Clear();
  // The object at index looks different now (it was marked as failed).
  void NoteChanged(int index);
  // Brackets many changes, so that a view draws once at the end; they are
  // also one edit, which one Undo takes back.
  void BeginBatch();
  void EndBatch();
  // Brackets changes that are one edit only (a dialog may open between
  // them, so the view goes on drawing).
  void BeginEdit() { ++batchDepth_; }
  void EndEdit();

  // ---- Undo and Redo ---------------------------------------------------
  // Every change above is recorded, each on its own or a batch at a time.
  // Undoing back to the state last saved clears the modified mark.
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  // rows (when given) receives the rows of the objects the step put back,
  // moved or changed, in order; for a step that only took objects out,
  // the row they left; for a new order of the whole list, none.
  bool Undo(std::vector<int>* rows = nullptr);
  bool Redo(std::vector<int>* rows = nullptr);
  // Nothing before now can be undone (a list opened or begun anew; Clear
  // does it too).
  void ForgetHistory();
  size_t HistoryBytes() const { return history_.Bytes(); }
  size_t HistorySteps() const { return history_.Steps(); }
  // What the objects themselves take (the history's budget follows it).
  size_t ObjectBytes() const { return objectBytes_; }

  // ---- Its file --------------------------------------------------------
  // The list file's full path; empty for a list without one.
  const std::string& FileName() const { return fileName_; }
  // The list was opened from its file or last written to it, so Save
  // replaces it without a question. A name taken from a file inserted
  // into a list without one is not the list's own yet.
  bool FileOwned() const { return fileOwned_; }
  void SetFile(const std::string& path, bool owned);
  bool Modified() const { return modified_; }
  void SetModified(bool modified);

  // ---- Where names without a folder are --------------------------------
  // The number of a folder for SoundObject::baseFolder (the folder is kept
  // as long as the list); 0 when no more folders can be numbered.
  uint16_t FolderNumber(const std::string& folder);
  // The number of the folder a file is in.
  uint16_t FolderOfFile(const char* path);
  // Where a name typed now without a folder is relative to: the list
  // file's folder, or for a list without a file the current folder.
  uint16_t CurrentFolder();
  // The folder of a number ("" for none).
  std::string Folder(uint16_t number) const;
  // The path of an object's file as the platform needs it: a relative
  // name joined to its folder. False (path empty) when it has none or the
  // path does not fit size bytes.
  bool ResolvePath(const SoundObject& record, char* path, size_t size) const;
  // The same for a name as typed for a new object.
  bool ResolveTypedPath(const char* name, char* path, size_t size);

  // ---- Listeners and other threads -------------------------------------
  void Listen(ObjectListListener* listener);
  void StopListening(ObjectListListener* listener);

  // Held by a thread other than the UI thread while it reads the list.
  class Reading {
   public:
    explicit Reading(const ObjectList& list) : lock_(list.mutex_) {}

   private:
    std::lock_guard<std::mutex> lock_;
  };
  // Raised whenever objects are added: a non-stop Play All of an empty
  // list waits for it.
  HANDLE GrewEvent() const { return grew_.handle(); }

 private:
  void Announce(const ListChange& change);
  void MarkModified();
  // The changes themselves, as recorded and as undone: nothing is freed.
  int PutIn(int index, const SoundObjectHandle* handles, int count);
  void TakeOut(int index, int count, std::vector<SoundObjectHandle>* taken);
  void Swap(int index, SoundObjectHandle* handle);
  void Shift(int from, int to);
  void Arrange(const std::vector<uint32_t>& order);
  // Applies one record; touched receives the objects it left in the list
  // or took out, and *firstRow the lowest row it changed.
  void Apply(EditRecord& record, bool forward, std::vector<SoundObjectHandle>* touched, int* firstRow);
  // The rows for Undo and Redo, from what a replay touched.
  void ReplayedRows(const std::vector<SoundObjectHandle>& touched, int firstRow, std::vector<int>* rows) const;
  void Record(EditRecord record);
  void CloseStep();

  std::vector<SoundObjectHandle> objects_;
  std::vector<std::string> folders_;  // SoundObject::baseFolder - 1
  std::string fileName_;
  bool fileOwned_ = false;
  bool modified_ = false;
  std::vector<ObjectListListener*> listeners_;
  mutable std::mutex mutex_;
  SignalEvent grew_;  // auto-reset
  ListHistory history_;
  int batchDepth_ = 0;
  bool replaying_ = false;  // Undo or Redo applies records: none are made
  size_t objectBytes_ = 0;
};

#endif
