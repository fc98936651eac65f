// The command line as the desktop shell and a person type it.
#include <gtest/gtest.h>

#include <string>

#include "shell/command_line.h"

namespace {

struct Parsed {
  CommandLineResult result;
  std::string name;
  bool play;
};

Parsed Parse(const char* text, size_t size = 512) {
  char name[512];
  bool play = true;
  CommandLineResult result = ParseCommandLine(text, name, size, &play);
  return {result, name, play};
}

TEST(CommandLine, ANameAndThePlaySwitchInAnyCase) {
  Parsed plain = Parse("ROCK.WDL");
  EXPECT_EQ(plain.result, CommandLineResult::Name);
  EXPECT_EQ(plain.name, "ROCK.WDL");
  EXPECT_FALSE(plain.play);
  for (const char* line : {"rock.wdl /play", "rock.wdl   -PLAY", "rock.wdl /Play"}) {
    Parsed parsed = Parse(line);
    EXPECT_EQ(parsed.name, "rock.wdl") << line;
    EXPECT_TRUE(parsed.play) << line;
  }
  // Anything after the switch, even a blank, makes it no switch.
  for (const char* line : {"rock.wdl /play ", "rock.wdl /playx", "rock.wdl play", "rock.wdl /pla"})
    EXPECT_FALSE(Parse(line).play) << line;
}

TEST(CommandLine, AQuotedNameMayHoldBlanks) {
  Parsed quoted = Parse("\"C:\\My Lists\\party mix.wdl\" /play");
  EXPECT_EQ(quoted.result, CommandLineResult::Name);
  EXPECT_EQ(quoted.name, "C:\\My Lists\\party mix.wdl");
  EXPECT_TRUE(quoted.play);
  EXPECT_FALSE(Parse("\"a b.wdl\"/play").play);  // glued to the quote: no switch
  EXPECT_EQ(Parse("\"unclosed name.wdl").name, "unclosed name.wdl");
}

TEST(CommandLine, NothingToOpenOrANameTooLong) {
  EXPECT_EQ(Parse(" rock.wdl /play").result, CommandLineResult::Empty);  // begins with a blank
  EXPECT_EQ(Parse("").result, CommandLineResult::Empty);
  EXPECT_EQ(Parse("\"\" /play").result, CommandLineResult::Empty);
  EXPECT_EQ(Parse("abcdefgh.wdl", 8).result, CommandLineResult::TooLong);
  EXPECT_EQ(Parse("abcdefg", 8).name, "abcdefg");
  std::string longName(600, 'x');
  Parsed tooLong = Parse(longName.c_str());
  EXPECT_EQ(tooLong.result, CommandLineResult::TooLong);
  EXPECT_FALSE(tooLong.play);
}

}  // namespace
