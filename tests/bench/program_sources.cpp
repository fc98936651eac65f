#include "bench/program_sources.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdlib>

#include "bench/test_env.h"

// The build passes where the sources are (a Unix path) and the folders of
// the program's code, separated by '|'.
#ifndef WENDLE_SOURCE_DIR
#error "WENDLE_SOURCE_DIR names the source tree"
#endif
#ifndef WENDLE_PROGRAM_DIRS
#error "WENDLE_PROGRAM_DIRS names the folders of the program's code"
#endif

namespace bench {

namespace {

// A path of the source tree as Windows names it under Wine.
std::string SourcePath(const std::string& relative) {
  std::string path = std::string("Z:") + WENDLE_SOURCE_DIR + "/" + relative;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool IsNameChar(char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// "#define NAME 123 /* comment */" -> the define; false for other lines.
bool ParseDefine(const std::string& line, IdDefine* define) {
  const std::string keyword = "#define ";
  if (line.compare(0, keyword.size(), keyword) != 0) return false;
  size_t at = keyword.size();
  while (at < line.size() && line[at] == ' ') ++at;
  size_t nameEnd = at;
  while (nameEnd < line.size() && IsNameChar(line[nameEnd])) ++nameEnd;
  if (nameEnd == at) return false;
  size_t valueStart = nameEnd;
  while (valueStart < line.size() && line[valueStart] == ' ') ++valueStart;
  size_t valueEnd = valueStart;
  while (valueEnd < line.size() && isdigit(static_cast<unsigned char>(line[valueEnd]))) ++valueEnd;
  if (valueEnd == valueStart) return false;
  std::string rest = Trim(line.substr(valueEnd));
  if (!rest.empty() && rest.compare(0, 2, "/*") != 0) return false;  // an expression, not a plain number
  define->name = line.substr(at, nameEnd - at);
  define->value = strtol(line.substr(valueStart, valueEnd - valueStart).c_str(), nullptr, 10);
  define->comment.clear();
  if (rest.size() >= 4 && rest.compare(rest.size() - 2, 2, "*/") == 0)
    define->comment = Trim(rest.substr(2, rest.size() - 4));
  return true;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

void AddFilesOf(const std::string& folder, const char* pattern, std::vector<SourceFile>* files) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(SourcePath(folder + "/" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    SourceFile file;
    file.path = folder + "/" + found.cFileName;
    file.text = ReadFileBytes(SourcePath(file.path));
    files->push_back(file);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

const std::vector<IdDefine>& IdDefines() {
  static const std::vector<IdDefine> defines = [] {
    std::vector<IdDefine> all;
    std::string text = ReadFileBytes(SourcePath("resources/ids.h"));
    for (const std::string& line : Split(text, '\n')) {
      IdDefine define;
      if (ParseDefine(Trim(line), &define)) all.push_back(define);
    }
    return all;
  }();
  EXPECT_FALSE(defines.empty()) << "cannot read " << SourcePath("resources/ids.h");
  return defines;
}

std::vector<IdDefine> IdDefinesNamed(const std::string& prefix) {
  std::vector<IdDefine> named;
  for (const IdDefine& define : IdDefines())
    if (define.name.compare(0, prefix.size(), prefix) == 0) named.push_back(define);
  return named;
}

long IdValue(const std::string& name) {
  for (const IdDefine& define : IdDefines())
    if (define.name == name) return define.value;
  ADD_FAILURE() << "resources/ids.h defines no number " << name;
  return -1;
}

const std::vector<SourceFile>& ProgramSources() {
  static const std::vector<SourceFile> files = [] {
    std::vector<SourceFile> all;
    for (const std::string& folder : Split(WENDLE_PROGRAM_DIRS, '|')) {
      AddFilesOf(folder, "*.cpp", &all);
      AddFilesOf(folder, "*.h", &all);
    }
    return all;
  }();
  EXPECT_FALSE(files.empty()) << "cannot read the program's sources in " << SourcePath("");
  return files;
}

std::set<std::string> NamesIn(const std::string& text, const std::string& prefix) {
  std::set<std::string> names;
  for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) {
    if (at > 0 && IsNameChar(text[at - 1])) continue;  // inside a longer name
    size_t end = at + prefix.size();
    while (end < text.size() && IsNameChar(text[end])) ++end;
    names.insert(text.substr(at, end - at));
  }
  return names;
}

std::set<std::string> NamesTheProgramUses(const std::string& prefix) {
  std::set<std::string> defined;
  for (const IdDefine& define : IdDefinesNamed(prefix)) defined.insert(define.name);
  std::set<std::string> used;
  for (const SourceFile& file : ProgramSources()) {
    if (file.path == "resources/ids.h") continue;
    for (const std::string& name : NamesIn(file.text, prefix))
      if (defined.count(name)) used.insert(name);
  }
  return used;
}

}  // namespace bench
