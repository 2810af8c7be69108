// The command line of a run from a script, as Windows passes it: each to what it asks for, or to
// its refusal, and whether it is the dialog's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line/command_line.h"

namespace {

// The action, the rate, the other switches (1 /restart, 2 /json, 4 /log k.log); refused, NONE, and
// whether the reason names an argument.
TEST(CommandLine, EachCommandLineToWhatItAsksForOrToItsRefusal) {
  using Asked = std::tuple<CCommandLine::Action, unsigned long, int, bool>;
  const std::wstring kLong(30000, L'1');
  const auto kHelp = CCommandLine::HELP, kQuery = CCommandLine::QUERY, kSet = CCommandLine::SET,
             kCheck = CCommandLine::CHECK;
  const Asked kRefused = {CCommandLine::NONE, 0, 0, 1}, kApart = {CCommandLine::NONE, 0, 0, 0};
  // clang-format off
  const std::pair<std::wstring, Asked> cases[] = {
      {L"K /?", {kHelp, 0, 0, 0}}, {L"K -HELP", {kHelp, 0, 0, 0}}, {L"K /Query", {kQuery, 0, 0, 0}},
      {L"K /set 200", {kSet, 200, 0, 0}}, {L"K -SET:10", {kSet, 10, 0, 0}},
      {L"K /restart /set 60", {kSet, 60, 1, 0}}, {L"K /set:100 -Restart", {kSet, 100, 1, 0}},
      {L"\"C:\\Kor Tool\\K.exe\"/set 100", {kSet, 100, 0, 0}}, {L"/set 100", {kSet, 100, 0, 0}},
      {L"/tools/K.exe /query", {kQuery, 0, 0, 0}}, {L"K \x2013set 100", {kSet, 100, 0, 0}},
      {L"\x2014SET:20", {kSet, 20, 0, 0}}, {L"K \x2212query", {kQuery, 0, 0, 0}},
      {L"K \"/set\" \"1\"00", {kSet, 100, 0, 0}}, {L"K /set \\\"100", kRefused},
      {L"K /set \"10 0\"", kRefused}, {L"K /set 137", kRefused}, {L"K /set 0x64", kRefused},
      {L"K /set 1e2", kRefused}, {L"K /set 100x", kRefused}, {L"K /set -5", kRefused},
      {L"K /set 4294967396", kRefused}, {L"K /set \"\"", kRefused}, {L"K /set " + kLong, kRefused},
      {L"K /set", kRefused}, {L"K /set:", kRefused}, {L"K /set 020", kRefused},
      {L"K /bogus", kRefused}, {L"K /", kRefused}, {L"K /restarts", kRefused},
      {L"K /query word", kRefused}, {L"K /query:1", kRefused}, {L"K /query /QUERY", kRefused},
      {L"K /set 20 -set 40", kRefused}, {L"/sett 100", kRefused}, {L"-set100", kRefused},
      {L"K /set 20 /query", kApart}, {L"K /restart", kApart}, {L"K /? /query", kApart},
      {L"K /check 60 /json /log:k.log", {kCheck, 60, 6, 0}}, {L"K /check 60 -set 60", kApart},
      {L"K /set 60 /json", kApart}, {L"K /check 60 /restart", kApart}, {L"K /query /log", kRefused}};
  // clang-format on
  for (const auto& [text, expected] : cases) {
    CCommandLine line(text.c_str());
    const bool bScript = line.IsScriptRun(), bParsed = line.Parse();
    EXPECT_EQ(
        std::make_tuple(expected, std::get<0>(expected) != CCommandLine::NONE, true),
        std::make_tuple(Asked(line.GetAction(), line.GetRate(),
                              line.IsRestart() | line.IsJson() << 1 |
                                  (line.GetLog() && line.GetLog() == std::wstring(L"k.log")) << 2,
                              line.GetErrorArgument() != nullptr),
                        bParsed && !line.GetError(), bScript))
        << std::string(text.begin(), text.begin() + std::min<size_t>(text.size(), 40));
  }
  // Split as the C runtime splits: pairs of backslashes before a quote, an odd one out quoting
  // it, two quotes inside quotes, tabs; as many one-character arguments as the text has room for.
  const std::pair<std::wstring, std::vector<std::wstring>> splits[] = {
      {LR"(K a\"b a\\"b c" "a""b" a\ c\)",
       {LR"(a"b)", LR"(a\b c)", LR"(a"b)", LR"(a\)", LR"(c\)"}},
      {L"K\ta\t\tb", {L"a", L"b"}},
      {L"\"C:\\K K.exe\"x y", {L"x", L"y"}},
      {L"/? a b c d e f g", {L"/?", L"a", L"b", L"c", L"d", L"e", L"f", L"g"}}};
  for (const auto& [text, expected] : splits) {
    CCommandLine line(text.c_str());
    std::vector<std::wstring> got;
    for (int n = 0; n < line.GetArgumentCount(); ++n) got.push_back(line.GetArgument(n));
    EXPECT_EQ(expected, got);
  }
  // The dialog's: no switch first (a dropped file), or no argument at all.
  for (const wchar_t* text : {L"K C:\\dropped.txt /set 20", L"K", L"\"C:\\K K.exe\""})
    EXPECT_FALSE(CCommandLine(text).IsScriptRun());
}

}  // namespace
