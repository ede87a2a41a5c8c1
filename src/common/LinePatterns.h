#pragma once
// Whole-line shapes of the text formats, matched in one pass over the line. Each function
// accepts exactly the lines its documented pattern accepts and gives the same groups as a
// backtracking regular-expression engine would (greedy groups take as much as they can),
// but in time linear in the line, however the line is built.
#include <array>
#include <string_view>

// "@KIND (N)" — the pattern ^@KIND \(([0-9]+)\)$. digits receives N.
bool matchSectionHeader(std::string_view line, std::string_view kind, std::string_view& digits);

// "<KEY><true>" or "<KEY><false>" — ^<(.+)><(true|false)>$ (the greedy key takes every
// "><" but the last).
bool matchBoolEntry(std::string_view line, std::string_view& key, std::string_view& value);

// "<KEY><NUMBER>" — ^<(.+)><([-+]?([0-9]*\.)?[0-9]+([eE][-+]?[0-9]+)?)>$.
bool matchFloatEntry(std::string_view line, std::string_view& key, std::string_view& number);

// "<KEY><VALUE>" — ^<(.+)><(.*)>$ (the greedy key reaches the last "><").
bool matchAnyEntry(std::string_view line, std::string_view& key, std::string_view& value);

// "[A B C D]" — ^\[(.*) (.*) (.*) (.*)\]$: the greedy groups split at the last three
// blanks, so A may hold blanks, B, C and D not.
bool matchColorText(std::string_view text, std::array<std::string_view, 4>& parts);

// A metric block's header "[NAME OPTIONS]" — ^\[([A-Za-z \-]+)((?: %[A-Za-z]+)*)\]$. name
// receives NAME (letters, blanks and hyphens); the options are checked and dropped.
bool matchMetricHeader(std::string_view line, std::string_view& name);
