#pragma once
// The rules of a kit table line, one set shared by the game's reader (which
// leaves out a line it cannot read) and the table's generator (which writes
// no such line): its fields, its colours, and what makes it unreadable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "scene3d/kits_colour.h"

namespace kitline {

// The longest line the game's line buffer holds.
inline constexpr std::size_t kMaxLine = 255;
// The fields a template and a unique kit's line hold at the least.
inline constexpr std::size_t kTemplateFields = 18, kUniqueFields = 8;

// A line's fields, empty fields skipped (as the game's tokenizer takes them).
inline std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> f;
  std::size_t at = 0;
  while (at <= line.size()) {
    const std::size_t comma = line.find(',', at);
    const std::size_t end = comma == std::string::npos ? line.size() : comma;
    if (end > at) f.push_back(line.substr(at, end - at));
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  return f;
}

// The kind of a line with its fields: the first character of the second
// field ('T' template, 'U' unique; anything else reads as neither).
inline char Kind(const std::vector<std::string>& f) { return f.size() > 1 ? f[1][0] : 0; }

// A kit's colours: shirt (and its second colour and pattern 1..5), shorts,
// socks; the goalkeeper's shirt and shorts (a unique kit's from its name
// prefix, as plain).
struct Look {
  kitcolour::Rgb oShirt, oSecond, oShorts, oSocks, oKeeperShirt, oKeeperShorts;
  std::int32_t iPattern;
};

// What LookRead answers besides the index of a field.
inline constexpr int kLookReads = -1, kLookTooFewFields = -2;

// A keeper's folder: two letters, his shirt's colour, a dash, his shorts'.
inline bool KeeperRead(const std::string& gk, Look* k) {
  return gk.size() >= 15 && kitcolour::Parse(gk.c_str() + 2, &k->oKeeperShirt) &&
         kitcolour::Parse(gk.c_str() + 9, &k->oKeeperShorts);
}

// Reads the kit's colours into k; the index of the first field that does
// not read (1 for a kind that is neither T nor U), or kLookReads when all do.
inline int LookRead(const std::vector<std::string>& f, Look* k) {
  *k = Look{};
  const char kind = Kind(f);
  if (kind == 'U') {
    // A unique kit carries its colours in its name prefix; its design
    // counts as a plain shirt.
    if (f.size() < kUniqueFields) return kLookTooFewFields;
    kitcolour::UniqueLook u{};
    if (!kitcolour::ParseUnique(f[6].c_str(), &u)) return 6;
    if (!KeeperRead(f[7], k)) return 7;
    k->oShirt = u.aColours[0];
    k->oSecond = u.aColours[1];
    k->oShorts = u.aColours[2];
    k->oSocks = u.aColours[3];
    k->iPattern = 1;
    return kLookReads;
  }
  if (kind != 'T') return 1;
  if (f.size() < kTemplateFields) return kLookTooFewFields;
  const std::size_t dash = f[6].find('-');
  if (!kitcolour::Parse(f[6].c_str(), &k->oShirt)) return 6;
  k->oSecond = k->oShirt;
  if (dash != std::string::npos && (dash + 7 > f[6].size() || !kitcolour::Parse(f[6].c_str() + dash + 1, &k->oSecond)))
    return 6;
  k->iPattern = f[10] == "22" ? 5 : std::atoi(f[7].c_str());
  if (k->iPattern < 1 || k->iPattern > 5) k->iPattern = 1;
  if (!kitcolour::Parse(f[12].c_str(), &k->oShorts)) return 12;
  if (!kitcolour::Parse(f[15].c_str(), &k->oSocks)) return 15;
  if (!KeeperRead(f[17], k)) return 17;
  return kLookReads;
}

// A whole number of at most four digits, as the table's numbers are.
inline bool WholeNumber(const std::string& s) {
  if (s.empty() || s.size() > 4) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The fields of a line that hold numbers (0-based): the three numbers, then
// a template kit's shirt, shorts and socks part numbers.
inline constexpr std::size_t kTemplateNumbers[] = {2, 3, 4, 7, 8, 9, 10, 11, 13, 14, 16};
inline constexpr std::size_t kUniqueNumbers[] = {2, 3, 4};

// What is wrong with a line, said as its reader and its generator say it
// after the line's name or number ("has too few fields", "has a colour that
// cannot be read (\"ZZZZZZ\")"); empty when the game reads the line whole.
// A line is faulty when it holds a byte that is not text, is longer than
// the game's buffer, has too few fields for its kind, or holds a value that
// cannot be read: a kind other than T or U, a number that is not a whole
// number, a kit colour number outside 1 to 12, a colour that is not six
// hexadecimal digits, a unique kit prefix the kit art does not draw.
inline std::string Fault(const std::string& line) {
  for (char c : line)
    if (static_cast<unsigned char>(c) < 32 && c != '\t') return "holds bytes that are not text";
  if (line.size() > kMaxLine) return "is longer than " + std::to_string(kMaxLine) + " characters";
  const std::vector<std::string> f = Fields(line);
  if (f.size() < 6 || f.size() < (Kind(f) == 'U' ? kUniqueFields : kTemplateFields)) return "has too few fields";
  Look look{};
  const int colour = LookRead(f, &look);
  if (colour == kLookTooFewFields) return "has too few fields";
  if (colour == 1) return "has a kind that is neither T nor U (\"" + f[1] + "\")";
  const bool unique = Kind(f) == 'U';
  for (std::size_t i : unique ? std::span<const std::size_t>(kUniqueNumbers) : std::span<const std::size_t>(kTemplateNumbers))
    if (!WholeNumber(f[i])) return "has a number that cannot be read (\"" + f[i] + "\")";
  // The second number picks the numbers' tint from the twelve kit colours.
  const int tint = std::atoi(f[3].c_str());
  if (tint < 1 || tint > 12) return "has a kit colour number outside 1 to 12 (\"" + f[3] + "\")";
  if (colour >= 0) {
    const std::string what = unique && colour == 6 ? "a unique kit prefix" : "a colour";
    return "has " + what + " that cannot be read (\"" + f[static_cast<std::size_t>(colour)] + "\")";
  }
  return "";
}

}  // namespace kitline
