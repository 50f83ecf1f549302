#pragma once

#include <cstdint>
#include <string>

// hoko32's own fanfare, played when a new personal record is set: a bright
// brass flourish of four seconds in B-flat major as a Standard MIDI File of
// format 1. Trumpet (General MIDI program 57) on channel 1 climbs a triplet
// pickup and a rising arpeggio to a high D; a brass section (program 61) on
// channel 2 plays the chords under it and swells on the final chord; timpani
// (program 48) on channel 3 and a snare roll with a crash cymbal on channel 10
// drive into it.
//
// Tracks: 0 the tempo and the time signature, 1 trumpet, 2 brass section,
// 3 timpani and drums. The bytes are the same on every call.
class FanfareMidi {
 public:
  static constexpr int TicksPerQuarter = 480;
  static constexpr std::uint32_t MicrosecondsPerQuarter = 500000;  // 120 beats a minute

  std::string bytes() const;
};
