#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

#include "tools/FanfareMidi.h"

namespace {

// A Standard MIDI File read by the rules of the format, independently of the writer.
struct MidiEvent {
  std::uint32_t tick = 0;
  std::uint8_t status = 0;  // 0xFF for meta events, 0xF0/0xF7 for system exclusive
  std::uint8_t metaType = 0;
  std::string data;
};

struct MidiFile {
  int format = -1;
  int division = 0;
  std::vector<std::vector<MidiEvent>> tracks;
};

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}

  bool atEnd() const { return at_ == bytes_.size(); }
  std::size_t at() const { return at_; }
  std::uint8_t byte() {
    if (at_ >= bytes_.size()) throw std::runtime_error("read past the end at byte " + std::to_string(at_));
    return std::uint8_t(bytes_[at_++]);
  }
  std::uint32_t bigEndian(int size) {
    std::uint32_t value = 0;
    while (size--) value = value << 8 | byte();
    return value;
  }
  std::string take(std::size_t size) {
    if (bytes_.size() - at_ < size) throw std::runtime_error("chunk or event longer than the file");
    std::string text = bytes_.substr(at_, size);
    at_ += size;
    return text;
  }
  std::uint32_t variableLength() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint8_t b = byte();
      value = value << 7 | (b & 0x7F);
      if (!(b & 0x80)) return value;
    }
    throw std::runtime_error("variable-length quantity longer than four bytes");
  }

 private:
  const std::string& bytes_;
  std::size_t at_ = 0;
};

std::vector<MidiEvent> readTrack(const std::string& chunk) {
  Reader in(chunk);
  std::vector<MidiEvent> events;
  std::uint32_t tick = 0;
  std::uint8_t running = 0;
  while (!in.atEnd()) {
    if (!events.empty() && events.back().status == 0xFF && events.back().metaType == 0x2F)
      throw std::runtime_error("events after End of Track");
    MidiEvent event;
    tick += in.variableLength();
    event.tick = tick;
    std::uint8_t first = in.byte();
    if (first == 0xFF) {
      event.status = first;
      event.metaType = in.byte();
      event.data = in.take(in.variableLength());
    } else if (first == 0xF0 || first == 0xF7) {
      event.status = first;
      event.data = in.take(in.variableLength());
    } else {
      if (first & 0x80) {
        running = first;
        first = in.byte();
      } else if (!running) {
        throw std::runtime_error("data byte without a status");
      }
      event.status = running;
      event.data = std::string(1, char(first));
      const int kind = running >> 4;
      if (kind != 0xC && kind != 0xD) event.data += char(in.byte());
      for (char c : event.data)
        if (std::uint8_t(c) & 0x80) throw std::runtime_error("data byte with the top bit set");
    }
    events.push_back(event);
  }
  if (events.empty() || events.back().status != 0xFF || events.back().metaType != 0x2F || !events.back().data.empty())
    throw std::runtime_error("track does not end with End of Track");
  return events;
}

MidiFile readMidi(const std::string& bytes) {
  Reader in(bytes);
  MidiFile file;
  if (in.take(4) != "MThd") throw std::runtime_error("no MThd");
  if (in.bigEndian(4) != 6) throw std::runtime_error("header length is not 6");
  file.format = int(in.bigEndian(2));
  const std::uint32_t trackCount = in.bigEndian(2);
  file.division = int(in.bigEndian(2));
  while (!in.atEnd()) {
    if (in.take(4) != "MTrk") throw std::runtime_error("chunk other than MTrk at byte " + std::to_string(in.at() - 4));
    file.tracks.push_back(readTrack(in.take(in.bigEndian(4))));
  }
  if (file.tracks.size() != trackCount) throw std::runtime_error("header counts another number of tracks");
  return file;
}

std::uint32_t endTick(const MidiFile& file) {
  std::uint32_t end = 0;
  for (const auto& track : file.tracks) end = std::max(end, track.back().tick);
  return end;
}

// Seconds from the start to `tick`, following every tempo change (120 beats a minute until the first).
double secondsAt(const MidiFile& file, std::uint32_t tick) {
  std::map<std::uint32_t, std::uint32_t> tempos{{0, 500000}};
  for (const auto& track : file.tracks)
    for (const MidiEvent& e : track)
      if (e.status == 0xFF && e.metaType == 0x51 && e.data.size() == 3)
        tempos[e.tick] = std::uint8_t(e.data[0]) << 16 | std::uint8_t(e.data[1]) << 8 | std::uint8_t(e.data[2]);
  double seconds = 0;
  for (auto it = tempos.begin(); it != tempos.end() && it->first < tick; ++it) {
    const auto next = std::next(it);
    const std::uint32_t until = next == tempos.end() ? tick : std::min(next->first, tick);
    seconds += double(until - it->first) * it->second / 1e6 / file.division;
  }
  return seconds;
}

struct Note {
  int channel, key, velocity;
  std::uint32_t start, end;
};

// Every note of the file, paired on and off by channel and key.
std::vector<Note> notesOf(const MidiFile& file, std::vector<std::string>& problems) {
  std::vector<Note> notes;
  for (const auto& track : file.tracks) {
    std::map<std::pair<int, int>, std::vector<Note>> sounding;
    for (const MidiEvent& e : track) {
      const int kind = e.status >> 4, channel = e.status & 0x0F;
      if (kind != 0x8 && kind != 0x9) continue;
      const int key = std::uint8_t(e.data[0]), velocity = std::uint8_t(e.data[1]);
      auto& open = sounding[{channel, key}];
      if (kind == 0x9 && velocity > 0) {
        if (!open.empty()) problems.push_back("key " + std::to_string(key) + " struck again while it sounds");
        open.push_back({channel, key, velocity, e.tick, 0});
      } else if (open.empty()) {
        problems.push_back("note off without a note on: key " + std::to_string(key));
      } else {
        open.front().end = e.tick;
        notes.push_back(open.front());
        open.erase(open.begin());
      }
    }
    for (const auto& [where, open] : sounding)
      if (!open.empty()) problems.push_back("note never ends: key " + std::to_string(where.second));
  }
  return notes;
}

}  // namespace

TEST(FanfareMidi, IsAWellFormedStandardMidiFileOfTwoToSixSeconds) {
  const std::string bytes = FanfareMidi().bytes();
  MidiFile file;
  ASSERT_NO_THROW(file = readMidi(bytes));
  EXPECT_TRUE(file.format == 0 || file.format == 1) << file.format;
  if (file.format == 0) {
    EXPECT_EQ(file.tracks.size(), 1u);
  }
  EXPECT_GT(file.division, 0) << "ticks a quarter note, not SMPTE time";
  EXPECT_LT(file.division, 0x8000);

  const double seconds = secondsAt(file, endTick(file));
  EXPECT_GE(seconds, 2.0);
  EXPECT_LE(seconds, 6.0);

  std::vector<std::string> problems;
  const std::vector<Note> notes = notesOf(file, problems);
  EXPECT_TRUE(problems.empty()) << problems.front();
  ASSERT_FALSE(notes.empty());
  for (const Note& n : notes) {
    EXPECT_GT(n.end, n.start) << "key " << n.key;
    EXPECT_LE(n.end, endTick(file)) << "key " << n.key << " still sounds at the end of the file";
  }
}

TEST(FanfareMidi, BrassClimbsARisingArpeggioToAFinalChord) {
  const MidiFile file = readMidi(FanfareMidi().bytes());
  std::vector<std::string> problems;
  std::vector<Note> notes = notesOf(file, problems);

  // Which channels play brass: General MIDI 57 Trumpet or 61 Brass Section (written from 0).
  std::set<int> brassChannels;
  for (const auto& track : file.tracks)
    for (const MidiEvent& e : track)
      if (e.status >> 4 == 0xC && (e.data[0] == 56 || e.data[0] == 60)) brassChannels.insert(e.status & 0x0F);
  ASSERT_FALSE(brassChannels.empty()) << "no trumpet or brass section";
  std::vector<Note> brass;
  for (const Note& n : notes)
    if (brassChannels.count(n.channel)) brass.push_back(n);
  ASSERT_FALSE(brass.empty()) << "the brass program is set but plays nothing";
  std::stable_sort(brass.begin(), brass.end(), [](const Note& a, const Note& b) { return a.start < b.start; });

  // A run of at least four successive brass notes on one channel, each higher than the last.
  int longestClimb = 0;
  for (int channel : brassChannels) {
    int climb = 0, previousKey = -1;
    std::uint32_t previousStart = 0;
    for (const Note& n : brass) {
      if (n.channel != channel || (previousKey >= 0 && n.start == previousStart)) continue;
      climb = n.key > previousKey && previousKey >= 0 ? climb + 1 : 1;
      longestClimb = std::max(longestClimb, climb);
      previousKey = n.key;
      previousStart = n.start;
    }
  }
  EXPECT_GE(longestClimb, 4);

  // The last brass notes to start form a chord of at least three pitch classes, held for at least a second.
  const std::uint32_t last = brass.back().start;
  std::set<int> pitchClasses;
  for (const Note& n : brass)
    if (n.start == last) {
      pitchClasses.insert(n.key % 12);
      EXPECT_GE(secondsAt(file, n.end) - secondsAt(file, n.start), 1.0) << "key " << n.key;
    }
  EXPECT_GE(pitchClasses.size(), 3u);
  EXPECT_GT(secondsAt(file, last), 1.0) << "the final chord comes after the arpeggio";
}

TEST(FanfareMidi, TheBuildWritesTheFanfareBesideTheProgram) {
  QFile built(QString::fromUtf8(HOKO32_FANFARE_FILE));
  ASSERT_TRUE(built.open(QIODevice::ReadOnly)) << HOKO32_FANFARE_FILE;
  EXPECT_EQ(built.readAll().toStdString(), FanfareMidi().bytes());
}
