#include <gtest/gtest.h>

#include "records/DataFileEntry.h"
#include "records/DayCount.h"
#include "records/Taprec.h"
#include "support/RecordLines.h"

namespace {

PracticeRecord run(PracticeMode mode, int year, int month, int day, int hits, int misses, int hour = 21, int min = 5,
                   int sec = 33) {
  PracticeRecord r;
  ParseRecordLine(recordLine(mode, year, month, day, hour, min, sec, hits, misses), r);
  return r;
}

TEST(DataFileEntry, LayoutIsByteForByte) {
  const PracticeRecord r = run(ModeKana, 1998, 3, 15, 300, 5, 21, 5, 33);
  const DataFileEntry::Bytes expected = {2, 98, 3, 15, 22, 6, 34, 2, 46, 6};
  EXPECT_EQ(DataFileEntry::encode(r), expected);
}

TEST(DataFileEntry, RoundTripsEveryRecordItCanHold) {
  const PracticeRecord cases[] = {
      run(ModeAlphabet, 1900, 1, 1, 0, 0, 0, 0, 0),
      run(ModeSymbols, 2155, 12, 31, 999, 254, 23, 59, 59),
      run(ModeRomaji, 2024, 2, 29, 254, 255),
      run(ModeKana, 2000, 6, 30, 255, 1),
  };
  for (const PracticeRecord& r : cases) {
    const auto bytes = DataFileEntry::encode(r);
    const auto back = DataFileEntry::decode(bytes.data());
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, r);
    EXPECT_TRUE(DataFileEntry::holdsExactly(r));
  }
}

TEST(DataFileEntry, ZeroBytesOnlyForYear1900And255MissesAndLargeHits) {
  EXPECT_EQ(DataFileEntry::encode(run(ModeAlphabet, 1900, 5, 5, 10, 10))[1], 0);
  EXPECT_EQ(DataFileEntry::encode(run(ModeAlphabet, 2000, 5, 5, 10, 255))[9], 0);
  const auto bytes = DataFileEntry::encode(run(ModeAlphabet, 2000, 5, 5, 10, 44));
  for (auto b : bytes) EXPECT_NE(b, 0);
}

TEST(DataFileEntry, ThreeHundredMissesAreHeldAndWrittenAs44) {
  const PracticeRecord r = run(ModeAlphabet, 2000, 5, 5, 10, 300);
  EXPECT_EQ(r.Misses, 44);
  EXPECT_EQ(DataFileEntry::decode(DataFileEntry::encode(r).data())->Misses, 44);
}

TEST(DataFileEntry, DamagedEntriesDoNotDecode) {
  const DataFileEntry::Bytes good = DataFileEntry::encode(run(ModeAlphabet, 2000, 5, 5, 10, 4));
  const struct {
    int offset;
    std::uint8_t value;
  } damage[] = {{0, 0}, {0, 5}, {0, 255}, {2, 0}, {2, 13}, {3, 0}, {3, 32}, {4, 25}, {4, 0}, {5, 61}, {6, 61}};
  for (const auto& d : damage) {
    DataFileEntry::Bytes bytes = good;
    bytes[static_cast<std::size_t>(d.offset)] = d.value;
    EXPECT_FALSE(DataFileEntry::decode(bytes.data())) << "offset " << d.offset << " = " << int(d.value);
  }
  DataFileEntry::Bytes feb30 = good;
  feb30[2] = 2;
  feb30[3] = 30;
  EXPECT_FALSE(DataFileEntry::decode(feb30.data()));
}

// holdsExactly is a quick test; it must agree with a real round trip.
TEST(DataFileEntry, HoldsExactlyAgreesWithTheRoundTrip) {
  for (int year : {1, 1899, 1900, 1901, 1999, 2155, 2156, 9999}) {
    for (int hits = 0; hits <= 65535; hits += (hits > 65000 ? 1 : 97)) {
      PracticeRecord r = run(ModeRomaji, 2000, 2, 29, 1, 1);
      r.Year = static_cast<std::uint16_t>(year);
      r.Month = 3;
      r.Day = 1;
      r.Date = *DayCount::encodeDay(year, 3, 1);
      r.Hits = static_cast<std::uint16_t>(hits);
      const auto back = DataFileEntry::decode(DataFileEntry::encode(r).data());
      ASSERT_EQ(DataFileEntry::holdsExactly(r), back && *back == r) << year << " " << hits;
    }
  }
}

}  // namespace
