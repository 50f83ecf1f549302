#include "PeakMemory.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace PeakMemory {

namespace {
std::int64_t statusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::size_t length = std::strlen(field);
  while (std::getline(status, line))
    if (line.compare(0, length, field) == 0) return std::stoll(line.substr(length + 1)) * 1024;
  return -1;
}
}  // namespace

std::int64_t residentBytes() { return statusKilobytes("VmRSS"); }

void resetPeak() {
  if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

std::int64_t peakBytes() { return statusKilobytes("VmHWM"); }

}  // namespace PeakMemory
