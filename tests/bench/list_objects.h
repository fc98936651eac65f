// Sound Objects made for the model's tests, and the names a list holds, so
// each test states its list by names alone.
#ifndef WENDLE_TEST_LIST_OBJECTS_H
#define WENDLE_TEST_LIST_OBJECTS_H

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"

namespace bench {

// An object with a description (none for "") and a file name; the tests
// carry the program's manifest, so the texts are UTF-8 as the program's.
inline SoundObjectHandle MakeObject(uint32_t kind, const std::string& description, const std::string& name) {
  SoundObjectHandle handle = AllocSoundObject();
  SoundObject values = {};
  values.flags = kind;
  std::string_view descriptionText(description), nameText(name);
  EXPECT_TRUE(StoreSoundObject(handle, values, description.empty() ? nullptr : &descriptionText, &nameText));
  return handle;
}

// A WAV object named name, without a description.
inline SoundObjectHandle MakeWave(const std::string& name) { return MakeObject(Wave, "", name); }

// The file name of an object ("" for none).
inline std::string NameOf(SoundObjectHandle handle) {
  LockedBlock<SoundObject> record(handle);
  char text[512] = "";
  if (record && record->fileName) CopyTextBlock(record->fileName, text, sizeof text);
  return text;
}

using Names = std::vector<std::string>;

// The file names of the list's objects, in order.
inline Names NamesOf(const ObjectList& list) {
  Names names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(NameOf(list.At(i)));
  return names;
}

}  // namespace bench

#endif
