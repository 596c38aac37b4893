#include "services/host.h"

namespace glenvask {

namespace {
CleaningHost g_nobody;
CleaningHost* g_host = nullptr;
}  // namespace

CleaningHost& cleaningHost() { return g_host ? *g_host : g_nobody; }

CleaningHost* setCleaningHost(CleaningHost* host) {
  CleaningHost* previous = g_host;
  g_host = host;
  return previous;
}

}  // namespace glenvask
