// Wendle's own sources as the tests read them at run time (Wine's drive Z:
// is the Unix root): the ids of resources/ids.h and the program's code. A
// test checks a rule for every id the code names, rather than a list copied
// from the code that goes stale when the code grows.
#ifndef WENDLE_PROGRAM_SOURCES_H
#define WENDLE_PROGRAM_SOURCES_H

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace bench {

// One "#define NAME number" line of resources/ids.h, with the comment that
// follows it on the line ("one number  [63]"), if any.
struct IdDefine {
  std::string name;
  long value = 0;
  std::string comment;
};

// A test parameterised by ids is named by them.
inline void PrintTo(const IdDefine& define, std::ostream* out) { *out << define.name; }

// Every define of resources/ids.h whose value is a plain decimal number
// (not the messages or the markers), in the order of the file. A test that
// cannot read the file fails.
const std::vector<IdDefine>& IdDefines();

// Those whose name begins with prefix ("IDS_", "IDD_").
std::vector<IdDefine> IdDefinesNamed(const std::string& prefix);

// The value of one define; -1, and a failure, when ids.h has none.
long IdValue(const std::string& name);

// A source file of the program (.cpp or .h of the folders its code is
// built from; the tests are not among them) and its text.
struct SourceFile {
  std::string path;
  std::string text;
};
const std::vector<SourceFile>& ProgramSources();

// The identifiers that begin with prefix in a text ("IDS_" finds IDS_LIST_EMPTY).
std::set<std::string> NamesIn(const std::string& text, const std::string& prefix);

// The ids.h names that begin with prefix which some program source names.
std::set<std::string> NamesTheProgramUses(const std::string& prefix);

}  // namespace bench

#endif
