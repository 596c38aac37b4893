// The user's regional date and time formats, as the platform gives them now (the short date and
// time pictures, the names of months and days, the texts of the two halves of the day). Every
// date text the program writes, shows or reads goes through them (base/datetime.h).
#pragma once

#include "base/datetime.h"

namespace glenvask {

RegionalFormat userRegionalFormat();

}  // namespace glenvask
