// Ordering of text lists.
#pragma once

#include <string>
#include <vector>

namespace glenvask {

// Sorts the texts fully into ascending binary order: byte by byte, which for UTF-8 text is
// the order of the character codes, so upper case comes before lower case ("B" < "a").
void SortVariantArray(std::vector<std::string>& items);

}  // namespace glenvask
