// The cutting of a Windows command line into parameters (what arg_text gives
// back), with its quote rules. The input is used twice: whole, as a command
// line as the system hands it over; and cut at its NUL bytes into parameters,
// which are quoted into a line and must come back out of it unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/cmdline/command_line.h"

namespace {

bool is_blank(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

// The pieces one after another in brackets, for a report.
std::string joined(const std::vector<Str255>& pieces) {
  std::string all;
  for (const Str255& piece : pieces) all += "[" + piece.str() + "]";
  return all;
}

// A line without quotes is cut at its blanks and nowhere else.
std::vector<Str255> cut_at_blanks(std::string_view line) {
  std::vector<Str255> pieces;
  std::size_t start = 0;
  while (start < line.size()) {
    while (start < line.size() && is_blank(line[start])) ++start;
    std::size_t end = start;
    while (end < line.size() && !is_blank(line[end])) ++end;
    if (end > start) pieces.emplace_back(line.substr(start, end - start));
    start = end;
  }
  return pieces;
}

// Every character in a stretch of its own: a double quote between single
// quotes, anything else between double quotes. Adjacent stretches join into
// one parameter, and a closing quote right before an opening one of its own
// kind is a pair that keeps the stretch open, so the parameter comes out
// whole either way.
std::string quoted(std::string_view parameter) {
  std::string text;
  for (char c : parameter) {
    if (c == '"') {
      text += "'\"'";
    } else {
      text += '"';
      text += c;
      text += '"';
    }
  }
  return text;
}

void check_line(std::string_view line) {
  const std::vector<Str255> pieces = cut_command_line(line);
  for (const Str255& piece : pieces) {
    check(!piece.empty(), "no parameter is empty", line, joined(pieces));
  }
  if (line.find_first_of("\"'") == std::string_view::npos) {
    check(pieces == cut_at_blanks(line), "without quotes the line is cut at its blanks", line,
          joined(pieces));
  }
}

void check_round_trip(std::string_view input) {
  std::vector<Str255> parameters;
  std::string line = "VESK";
  for (std::string_view parameter : split_at_nul(input)) {
    if (parameter.empty() || parameter.size() > Str255::kMax) continue;
    parameters.emplace_back(parameter);
    line += ' ' + quoted(parameter);
  }
  std::vector<Str255> pieces = cut_command_line(line);
  check(!pieces.empty() && pieces.front() == "VESK", "the program comes first", line,
        joined(pieces));
  pieces.erase(pieces.begin());
  check(pieces == parameters, "quoted parameters come back as they were", line, joined(pieces));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = as_text(data, size);
  check_line(input);
  check_round_trip(input);
  return 0;
}
