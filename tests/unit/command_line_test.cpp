// The command line of a run from a script: each to what it asks for, or to its refusal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line/command_line.h"

namespace {

// The action, the rate and /restart; refused, NONE, and whether the reason names an argument.
TEST(CommandLine, EachCommandLineToWhatItAsksForOrToItsRefusal) {
  using Asked = std::tuple<CCommandLine::Action, unsigned long, bool, bool>;
  const std::string kLong(30000, '1');
  const auto kHelp = CCommandLine::HELP, kQuery = CCommandLine::QUERY, kSet = CCommandLine::SET;
  const Asked kRefused = {CCommandLine::NONE, 0, 0, 1}, kApart = {CCommandLine::NONE, 0, 0, 0};
  // clang-format off
  const std::pair<std::vector<const char*>, Asked> cases[] = {
      {{"/?"}, {kHelp, 0, 0, 0}}, {{"-HELP"}, {kHelp, 0, 0, 0}}, {{"/Query"}, {kQuery, 0, 0, 0}},
      {{"/set", "200"}, {kSet, 200, 0, 0}}, {{"-SET:10"}, {kSet, 10, 0, 0}},
      {{"/restart", "/set", "60"}, {kSet, 60, 1, 0}}, {{"/set:100", "-Restart"}, {kSet, 100, 1, 0}},
      {{"/set", "137"}, kRefused}, {{"/set", "0x64"}, kRefused}, {{"/set", "1e2"}, kRefused},
      {{"/set", "100x"}, kRefused}, {{"/set", "-5"}, kRefused}, {{"/set", "4294967396"}, kRefused},
      {{"/set", ""}, kRefused}, {{"/set", kLong.c_str()}, kRefused}, {{"/set"}, kRefused},
      {{"/set:"}, kRefused}, {{"/set", "020"}, kRefused}, {{"/bogus"}, kRefused}, {{"/"}, kRefused},
      {{"/restarts"}, kRefused}, {{"/query", "word"}, kRefused}, {{"/query:1"}, kRefused},
      {{"/query", "/QUERY"}, kRefused}, {{"/set", "20", "-set", "40"}, kRefused},
      {{"/set", "20", "/query"}, kApart}, {{"/restart"}, kApart}, {{"/?", "/query"}, kApart}};
  // clang-format on
  for (const auto& [args, expected] : cases) {
    CCommandLine line;
    const bool bParsed = line.Parse(int(args.size()), args.data());
    EXPECT_EQ(std::make_tuple(expected, std::get<0>(expected) != CCommandLine::NONE),
              std::make_tuple(Asked(line.GetAction(), line.GetRate(), line.IsRestart(),
                                    line.GetErrorArgument() != nullptr),
                              bParsed && !line.GetError()))
        << args[0] << " " << (args.size() > 1 ? args[1] : "");
  }
}

}  // namespace
