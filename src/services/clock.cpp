#include "services/clock.h"

#include <windows.h>

namespace glenvask {

DateTime localNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace glenvask
