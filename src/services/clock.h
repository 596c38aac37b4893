// The present moment in local time.
#pragma once

#include "base/datetime.h"

namespace glenvask {

DateTime localNow();

}  // namespace glenvask
