// The cookie text files of the browser's Cookies folder: records one field a line (name,
// value, domain and path, flags, four time fields), each record ended by a line that holds
// "*". Lines end in LF or CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace glenvask {

// The most of a cookie file that is read; what follows is not shown.
inline constexpr size_t kMaxCookieFileBytes = 1024 * 1024;

struct CookieRecord {
  std::string domain;  // domain and path
  std::string name;
  std::string value;
  std::string secure;  // "False" for flags 0, "True" for 1, "" for any other number
  std::string source;  // the whole record, its lines ended by CR LF
  // false when the flags field is no number: the record then shows its domain, name and
  // value alone.
  bool complete = true;
};

// The records of a cookie file, in file order. A record needs nine fields (its eight lines
// and the end of the last one) and a domain; others give nothing. Any bytes are read: what
// is not a record is passed over.
std::vector<CookieRecord> parseCookieFile(std::string_view text);

}  // namespace glenvask
