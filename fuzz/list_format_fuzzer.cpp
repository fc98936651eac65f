// libFuzzer target for the list-file reader and writer.
//
// Any bytes are read as a list file (and, when their first line is not the
// magic line, once more with the magic line put before them, so the item
// reader is reached from any input). Every record read must keep the
// reader's promises, and writing the records and reading them back must
// give the same records again; the second writing must be byte for byte
// the first.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "model/sound_object_kind.h"
#include "storage/list_format.h"
#include "storage/utf8_text.h"

namespace {

void Fail(const char* what) {
  fprintf(stderr, "list_format_fuzzer: %s\n", what);
  abort();
}

void Check(bool condition, const char* what) {
  if (!condition) {
    Fail(what);
  }
}

void CheckText(bool hasText, std::string_view text) {
  if (!hasText) {
    Check(text.empty(), "an absent text has characters");
    return;
  }
  Check(text.size() <= kMaxListText, "text longer than kMaxListText");
  Check(text.find('\0') == std::string_view::npos, "NUL inside a text");
  Check(text.find('\n') == std::string_view::npos, "LF inside a text");
  Check(text.empty() || text.back() != '\r', "text ends in CR");
  Check(text.empty() || text.front() != '*', "present text starts with '*'");
}

bool SameRecord(const ListItemRecord& a, const ListItemRecord& b) {
  return a.hasDescription == b.hasDescription && a.description == b.description && a.hasFileName == b.hasFileName &&
         a.fileName == b.fileName && a.flags == b.flags && a.repeatCount == b.repeatCount &&
         a.postDelay == b.postDelay && a.trackNumber == b.trackNumber;
}

// A decoder written another way: each character's value from its bits,
// then the value checked against its length and the surrogate range.
bool ReferenceValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF7 || i + length > text.size()) {
      return false;
    }
    uint32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
    for (size_t k = 1; k < length; ++k) {
      unsigned char c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) {
        return false;
      }
      value = (value << 6) | (c & 0x3Fu);
    }
    static const uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kLeast[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

// The UTF-8 checks agree with the reference, and a cut of valid UTF-8 is
// valid UTF-8 no longer than asked for.
void CheckUtf8(std::string_view text) {
  bool valid = IsValidUtf8(text);
  Check(valid == ReferenceValidUtf8(text), "IsValidUtf8 disagrees with the reference decoder");
  Check(!IsAsciiText(text) || valid, "ASCII text taken for invalid UTF-8");
  for (size_t limit : {size_t{0}, text.size() / 3, text.size() / 2, text.size() - (text.empty() ? 0 : 1)}) {
    size_t cut = Utf8CutLength(text, limit);
    Check(cut <= limit && limit - cut <= 3, "cut too far from its limit");
    Check(!valid || IsValidUtf8(text.substr(0, cut)), "cut inside a character");
  }
}

// Reads every item; returns false when the magic line is refused.
bool ReadAll(const char* data, size_t size, std::vector<ListItemRecord>* items, ListFileReader::Result* last) {
  ListFileReader reader(data, size);
  ListItemRecord record;
  if (!reader.ReadMagic()) {
    Check(reader.Next(&record) == ListFileReader::Result::Malformed, "items read after a refused magic line");
    return false;
  }
  ListFileReader::Result result;
  while ((result = reader.Next(&record)) == ListFileReader::Result::Item) {
    Check(items->size() < size, "more items than bytes");
    items->push_back(record);
  }
  // Reading has ended for good.
  Check(reader.Next(&record) == result, "a finished reader changed its result");
  *last = result;
  return true;
}

std::string Write(const std::vector<ListItemRecord>& items) {
  std::string out = kListMagic;
  out.push_back('\n');
  for (const ListItemRecord& item : items) {
    AppendListItem(&out, item);
  }
  return out;
}

// False when the magic line is refused.
bool CheckList(const char* data, size_t size) {
  std::vector<ListItemRecord> items;
  ListFileReader::Result last;
  if (!ReadAll(data, size, &items, &last)) {
    return false;
  }
  // Lines end at ASCII bytes and long texts are cut between characters,
  // so a UTF-8 file gives UTF-8 texts.
  bool utf8File = IsValidUtf8(std::string_view(data, size));
  for (const ListItemRecord& item : items) {
    CheckText(item.hasDescription, item.description);
    CheckText(item.hasFileName, item.fileName);
    Check(!utf8File || (IsValidUtf8(item.description) && IsValidUtf8(item.fileName)),
          "UTF-8 text cut inside a character");
    int index = KindBitmapIndex(item.flags);
    Check(index >= -1 && index <= 5, "kind bitmap index out of range");
  }

  std::string written = Write(items);
  std::vector<ListItemRecord> again;
  ListFileReader::Result againLast;
  Check(ReadAll(written.data(), written.size(), &again, &againLast), "written magic refused");
  Check(againLast == ListFileReader::Result::End, "written list does not end cleanly");
  Check(again.size() == items.size(), "written list has another item count");
  for (size_t i = 0; i < items.size(); ++i) {
    Check(SameRecord(items[i], again[i]), "record changed by writing and reading");
  }
  Check(Write(again) == written, "second writing differs from the first");
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  CheckUtf8(std::string_view(bytes, size));
  if (CheckList(bytes, size)) {
    return 0;
  }
  // An exact-size copy, so the sanitizer still sees any read past its end.
  size_t magicSize = sizeof(kListMagic);  // the magic and its LF
  std::unique_ptr<char[]> list(new char[magicSize + size]);
  memcpy(list.get(), kListMagic, magicSize - 1);
  list[magicSize - 1] = '\n';
  if (size > 0) {
    memcpy(list.get() + magicSize, bytes, size);
  }
  CheckList(list.get(), magicSize + size);
  return 0;
}
