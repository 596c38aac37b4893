// The formats of the scanner's list files and of the search options file srch.txt: reading
// them from text and writing them back. Lines end in CR LF. A line that does not parse is
// skipped (lists) or changes nothing (srch.txt); the rest of the file still counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/datetime.h"

namespace glenvask {

// The lines of a text file. A line ends at CR LF, or at a lone CR or LF (files edited by
// other programs); text after the last line end is a last line.
std::vector<std::string> splitLines(std::string_view text);

// The entries of a plain list file (IFI.txt, IE.txt, UDIFO.txt, UDFO.txt, UDFI.txt): every
// line of at least one character, unchanged (no trimming, no change of case).
std::vector<std::string> parseListFile(std::string_view text);
// A list file's text: each item followed by CR LF; an empty list gives an empty text.
std::string formatListFile(const std::vector<std::string>& items);

// UNFI.txt: per line a flag ("1" on, "0" off), the character 1, a pattern, the character 1,
// a description.
inline constexpr char kUnfiSeparator = '\x01';

struct UnnecessaryType {
  std::int64_t flag = 1;  // the first field as a number; the scanner uses only flag 1
  std::string pattern;    // a wildcard pattern over whole file names (see like.h)
  std::string description;
  bool operator==(const UnnecessaryType&) const = default;
};

// One UNFI.txt line; nothing when it holds no character 1 or its flag is not a whole number.
// A missing description is empty; further fields are ignored.
std::optional<UnnecessaryType> parseUnnecessaryLine(std::string_view line);
// Every line that parses, in order.
std::vector<UnnecessaryType> parseUnnecessaryFile(std::string_view text);
// The patterns the scanner uses: those of the lines whose flag is 1, in order.
std::vector<std::string> unnecessaryPatterns(std::string_view text);
// UNFI.txt's text for the types, in order.
std::string formatUnnecessaryFile(const std::vector<UnnecessaryType>& types);

// srch.txt holds five lines of fields separated by single blanks:
//   0: the selected drive items, each preceded by a blank (" C: Hard drive D: Hard drive")
//   1: "File reference" and "Path reference" check boxes (0 or 1)
//   2: the "From" check box, the first date, the second date (regional short dates)
//   3: the "Size" check box, "True"/"False" for "Equals", "A minimum", "A maximum", the size
//      text in kilobytes
//   4: the "Read only", "Hidden" and "System" check boxes

// The options the scanner uses. The initial values are those of a missing srch.txt.
struct SearchOptions {
  bool skipNoTarget = true;
  bool skipNoWorkDir = true;
  bool useDateFilter = false;
  DateTime dateFrom{};
  DateTime dateTo{};
  bool anySize = false;
  bool sizeEquals = false;
  bool sizeAtLeast = false;
  bool sizeAtMost = false;
  std::int32_t sizeLimitKB = 0;
  bool skipReadOnly = true;
  bool skipHidden = true;
  bool skipSystem = true;
};

// Sets the options that lines 1 to 4 of srch.txt's text give, the dates read in the regional
// format. Check box values are numbers (" 1" and "1.0" are 1). Line 1: an option is on only
// for the value 1; lines 2 to 4: any number but 0 is on. Line 2 off ignores its dates; line 3
// off sets anySize and ignores the rest of the line. A line with a field that does not
// convert, or too few fields, changes none of its options; so does a size text that held a
// blank (more fields than line 3 has). Options no line sets keep their values; line 0 and
// lines after line 4 are ignored.
//
// A date window never widens a scan: line 2 with a first field that is not 0 and dates that
// cannot be read (or a date text that held a blank), and a line 2 whose first field is no
// number, leave the window on and empty, so that no file passes it (dateFrom and dateTo
// both the empty date: no day lies after the one and up to the other).
void applySearchOptions(std::string_view text, SearchOptions& options,
                        const RegionalFormat& format);

// What the options window's search page shows and stores.
struct SearchPage {
  std::vector<std::string> drives;  // selected drive items ("C: Hard drive"), in list order
  bool fileReference = false;
  bool pathReference = false;
  bool dateRange = false;
  DateTime firstDate{};
  DateTime secondDate{};
  bool size = false;
  bool sizeEquals = false;
  bool sizeAtLeast = false;
  bool sizeAtMost = false;
  std::string sizeText = "1000";
  bool readOnly = false;
  bool hidden = false;
  bool system = false;
  bool operator==(const SearchPage&) const = default;
};

// Fills the page's check boxes, dates and size fields from lines 1 to 4 (drives are left
// alone: see srchDriveLetters and splitLines). A check box value must be 0 or 1. A line that
// does not parse changes nothing of the page.
void applySearchPage(std::string_view text, SearchPage& page, const RegionalFormat& format);
// srch.txt's text for the page: five lines, each ended by CR LF.
std::string formatSearchFile(const SearchPage& page, const RegionalFormat& format);

// The drive letters that line 0 names, in order, upper case: every field that is a letter
// followed by ":". Other fields (drive-type texts) are passed over.
std::vector<char> srchDriveLetters(std::string_view line0);

// The drive items that line 0 names, in order: each field that is a letter and ":" starts one,
// and the fields up to the next such field follow it after a blank ("C: Hard drive"). Fields
// before the first drive are passed over.
std::vector<std::string> srchDriveItems(std::string_view line0);

// Dates in srch.txt: the regional short date, without time of day and without the blanks a
// regional format may hold ("d. M. yyyy" gives "1.3.2024"), so that each date is one field.
// Reading takes what parseDateTime takes (the time of day, if any, is dropped); nothing for
// anything else.
std::string formatSrchDate(const DateTime& date, const RegionalFormat& format);
std::optional<DateTime> parseSrchDate(std::string_view text, const RegionalFormat& format);

// ck.txt, the cookie files the cookie cleaning keeps: one line in which each kept file's
// folder and name are followed by the character 1, ended by CR LF.
inline constexpr char kKeptCookieSeparator = '\x01';

struct KeptCookie {
  std::string folder;  // up to and including its last "\"
  std::string name;    // the bare file name
  bool operator==(const KeptCookie&) const = default;
};

// The kept cookies of ck.txt's text, in order: every text before a character 1, split at its
// last "\" (line breaks before it are passed over). An empty entry, or a name met before
// (case ignored), is skipped and the rest still read.
std::vector<KeptCookie> parseKeptCookies(std::string_view text);
// ck.txt's text for the cookies, in order; an empty list gives an empty text.
std::string formatKeptCookies(const std::vector<KeptCookie>& cookies);

}  // namespace glenvask
