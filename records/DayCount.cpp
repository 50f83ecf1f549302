#include "records/DayCount.h"

#include <cmath>

namespace DayCount {

namespace {

constexpr CivilDate civilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

static_assert(daysFromCivil(1970, 1, 1) == 0);
static_assert(Epoch == -25569);

}  // namespace

CivilDate decodeDate(double dayCount) {
  const auto days = static_cast<std::int64_t>(std::floor(dayCount));
  return civilFromDays(days + Epoch);
}

ClockTime decodeTime(double dayCount) {
  const double fraction = dayCount - std::floor(dayCount);
  auto seconds = static_cast<int>(std::llround(fraction * 86400.0));
  if (seconds >= 86400) seconds = 86399;
  return {seconds / 3600, seconds / 60 % 60, seconds % 60};
}

}  // namespace DayCount
