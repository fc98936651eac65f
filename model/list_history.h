/*
 * The Object List's undo history: each edit is a step of the primitive
 * changes it made, in order, so undoing replays their inverses backwards
 * and redoing replays them again. A step keeps only what it changed (the
 * objects it took out, an order), never a copy of the list.
 *
 * The history owns the objects that are out of the list in the state it
 * stands for: a removed object while its removal is done, an inserted one
 * while its insertion is undone, the object a Replace put aside. They are
 * freed when the step that holds them is dropped.
 */
#ifndef WENDLE_LIST_HISTORY_H
#define WENDLE_LIST_HISTORY_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/sound_object_handle.h"

enum class EditKind : uint8_t {
  Insert,   // handles went in at index
  Remove,   // handles left from index on
  Replace,  // the object at index and handles[0] changed places
  Move,     // the object at index went to `to`
  Permute,  // the object now at i was at order[i]
};

struct EditRecord {
  EditKind kind = EditKind::Insert;
  int index = 0;
  int to = 0;
  std::vector<SoundObjectHandle> handles;
  std::vector<uint32_t> order;
};

using EditStep = std::vector<EditRecord>;

class ListHistory {
 public:
  ListHistory() = default;
  ~ListHistory();
  ListHistory(const ListHistory&) = delete;
  ListHistory& operator=(const ListHistory&) = delete;

  // Adds a record to the step being made; the steps that could be redone
  // are dropped, since the list has left the state they start from.
  void Record(EditRecord record);
  // Ends the step being made (nothing when it is empty), then drops the
  // oldest steps while the history costs more than budget bytes; the
  // newest step always stays.
  void CloseStep(size_t budget);

  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < steps_.size(); }
  // The step an Undo reverses / a Redo replays; the caller applies it and
  // then calls DidUndo / DidRedo.
  EditStep& NextUndo() { return steps_[done_ - 1]; }
  EditStep& NextRedo() { return steps_[done_]; }
  void DidUndo() { --done_; }
  void DidRedo() { ++done_; }

  // The list is saved in the state it is in now / no state of the history
  // is the saved one any longer.
  void MarkSaved() { saved_ = static_cast<long>(done_); }
  void ForgetSaved() { saved_ = -1; }
  bool AtSaved() const { return saved_ == static_cast<long>(done_); }

  // Drops every step (New, Open).
  void Clear();

  size_t Steps() const { return steps_.size(); }
  // What the steps cost: their records and the objects they own.
  size_t Bytes() const { return bytes_; }

 private:
  // Frees what a step owns: done tells which side of it the list is on.
  static void Drop(EditStep& step, bool done);
  static size_t Cost(const EditRecord& record);
  void DropRedo();

  std::vector<EditStep> steps_;  // oldest first
  size_t done_ = 0;              // steps_[0..done_) are done
  EditStep open_;                // the step being made
  long saved_ = 0;               // done_ when last saved; -1 for none
  size_t bytes_ = 0;
};

// The bytes an object takes: its record, its texts and the blocks' own
// bookkeeping.
size_t SoundObjectBytes(SoundObjectHandle handle);

#endif
