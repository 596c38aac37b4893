#include "base/sorting.h"

#include <algorithm>

namespace glenvask {

void SortVariantArray(std::vector<std::string>& items) {
  // std::string compares like memcmp: bytes as unsigned values, then the shorter first.
  std::sort(items.begin(), items.end());
}

}  // namespace glenvask
