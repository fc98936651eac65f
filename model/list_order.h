/*
 * Orders and searches of the Object List: the new order of a sort or a
 * shuffle (for ObjectList::Reorder, so either is one edit Undo takes
 * back), and the next object whose texts hold a text. Texts compare as
 * the user's language sorts them, whatever their case, in every script.
 */
#ifndef WENDLE_LIST_ORDER_H
#define WENDLE_LIST_ORDER_H

#include <cstdint>
#include <vector>

#include "model/object_list.h"

enum class SortKey {
  Description,  // what the row shows: the description, else the file name
  FileName,     // the file name as stored (a Pause object's label); tracks last by number
  Kind,         // WAV, MIDI, CD track, Pause, AVI, audio file
};

// The order that sorts the list by key (ascending or not); objects that
// compare equal keep their order, either way.
std::vector<uint32_t> SortOrder(const ObjectList& list, SortKey key, bool descending);

// A random order of count objects drawn from seed.
std::vector<uint32_t> ShuffleOrder(int count, uint32_t seed);

// The index of the first object after `after` (wrapping round to the top,
// and ending with `after` itself) whose description or file name holds
// text, ignoring case; -1 for none or an empty text. text is in the
// program's code page.
int FindObject(const ObjectList& list, const char* text, int after);

#endif
