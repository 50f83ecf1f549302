#include "tools/FanfareMidi.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace {

constexpr int Quarter = FanfareMidi::TicksPerQuarter;
constexpr int Triplet = Quarter / 3;
constexpr int Eighth = Quarter / 2;
constexpr int FinalChordAt = 4 * Quarter;
constexpr int FinalChordEnds = 7 * Quarter;
constexpr int TrackEnds = 9 * Quarter;  // a second for the last notes to fade

// General MIDI programs, counted from 0 as they are written.
constexpr int Trumpet = 56;
constexpr int BrassSection = 60;
constexpr int Timpani = 47;
constexpr int DrumChannel = 9;
// General MIDI drum keys.
constexpr int BassDrum = 36;
constexpr int Snare = 38;
constexpr int Crash = 49;

// Keys: middle C is 60.
enum Key {
  F2 = 41,
  Bb2 = 46,
  Eb3 = 51,
  F3 = 53,
  Bb3 = 58,
  A3 = 57,
  C4 = 60,
  D4 = 62,
  Eb4 = 63,
  F4 = 65,
  G4 = 67,
  Bb4 = 70,
  D5 = 74,
  F5 = 77,
  Bb5 = 82,
  C6 = 84,
  D6 = 86
};

// One track's events, written in time order with delta times.
class Track {
 public:
  void meta(int tick, std::uint8_t type, const std::string& data) {
    std::string bytes{char(0xFF), char(type)};
    appendLength(bytes, std::uint32_t(data.size()));
    add(tick, Order::Control, bytes + data);
  }
  void program(int channel, int program) { add(0, Order::Control, {char(0xC0 | channel), char(program)}); }
  void controller(int tick, int channel, int number, int value) {
    add(tick, Order::Control, {char(0xB0 | channel), char(number), char(value)});
  }
  void note(int tick, int channel, int key, int length, int velocity) {
    add(tick, Order::NoteOn, {char(0x90 | channel), char(key), char(velocity)});
    add(tick + length, Order::NoteOff, {char(0x80 | channel), char(key), char(64)});
  }
  void chord(int tick, int channel, std::initializer_list<int> keys, int length, int velocity) {
    for (int key : keys) note(tick, channel, key, length, velocity);
  }

  // The "MTrk" chunk, closed by End of Track at `endTick`.
  // Silences the channel at once (All Sound Off), so that no tail of reverb or
  // cymbal outlives the file: a synthesizer's player keeps going while voices sound.
  void silence(int tick, int channel) { add(tick, Order::Control, {char(0xB0 | channel), char(120), char(0)}); }

  std::string chunk(int endTick) const {
    std::vector<Event> events = events_;
    // Stable, so that events at one tick keep the order they were added in;
    // notes ending at a tick stop before notes starting there.
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::string body;
    int now = 0;
    for (const Event& event : events) {
      appendLength(body, std::uint32_t(event.tick - now));
      body += event.data;
      now = event.tick;
    }
    appendLength(body, std::uint32_t(std::max(endTick - now, 0)));
    body += std::string{char(0xFF), char(0x2F), char(0x00)};
    return "MTrk" + bigEndian(std::uint32_t(body.size()), 4) + body;
  }

  static std::string bigEndian(std::uint32_t value, int size) {
    std::string bytes;
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8) bytes += char((value >> shift) & 0xFF);
    return bytes;
  }

 private:
  enum class Order { NoteOff, Control, NoteOn };
  struct Event {
    int tick;
    Order order;
    std::string data;
  };

  void add(int tick, Order order, std::string data) { events_.push_back({tick, order, std::move(data)}); }

  // A variable-length quantity: seven bits a byte, most significant first,
  // the top bit set on every byte but the last.
  static void appendLength(std::string& out, std::uint32_t value) {
    char bytes[5];
    int count = 0;
    do {
      bytes[count++] = char(value & 0x7F);
      value >>= 7;
    } while (value);
    while (count > 1) out += char(bytes[--count] | 0x80);
    out += bytes[0];
  }

  std::vector<Event> events_;
};

Track conductor() {
  Track track;
  track.meta(0, 0x03, "hoko32 fanfare");
  track.meta(0, 0x58, {4, 2, 24, 8});  // 4/4
  track.meta(0, 0x51, Track::bigEndian(FanfareMidi::MicrosecondsPerQuarter, 3));
  return track;
}

void setUp(Track& track, int channel, int program, int volume, int pan) {
  track.program(channel, program);
  track.controller(0, channel, 7, volume);
  track.controller(0, channel, 10, pan);
  track.controller(0, channel, 91, 50);  // reverb
}

Track trumpet() {
  constexpr int ch = 0;
  Track track;
  track.meta(0, 0x03, "Trumpet");
  setUp(track, ch, Trumpet, 72, 72);
  for (int i = 0; i < 3; ++i) track.note(i * Triplet, ch, F4, Triplet - 30, 96 + 8 * i);
  // The rising arpeggio, one eighth a note, to the top of the final chord.
  const int climb[] = {Bb4, D5, F5, Bb5, C6};
  for (int i = 0; i < 5; ++i) track.note(Quarter + i * Eighth, ch, climb[i], Eighth - 20, 100 + 4 * i);
  track.note(FinalChordAt - Eighth, ch, C6, Eighth - 20, 118);
  track.note(FinalChordAt, ch, D6, FinalChordEnds - FinalChordAt, 124);
  track.silence(TrackEnds, ch);
  return track;
}

Track brass() {
  constexpr int ch = 1;
  Track track;
  track.meta(0, 0x03, "Brass Section");
  setUp(track, ch, BrassSection, 64, 52);
  for (int i = 0; i < 3; ++i) track.chord(i * Triplet, ch, {F3, Bb3}, Triplet - 30, 90 + 8 * i);
  track.chord(Quarter, ch, {Bb3, D4, F4}, Quarter - 40, 104);          // B-flat
  track.chord(2 * Quarter, ch, {Bb3, Eb4, G4}, Quarter - 40, 104);     // E-flat
  track.chord(3 * Quarter, ch, {A3, C4, Eb4, F4}, Quarter - 40, 110);  // F seventh
  track.chord(FinalChordAt, ch, {Bb2, F3, Bb3, D4, F4, Bb4}, FinalChordEnds - FinalChordAt, 120);
  // The final chord swells.
  for (int tick = FinalChordAt, step = 0; tick <= FinalChordAt + 2 * Quarter; tick += Quarter / 8, ++step)
    track.controller(tick, ch, 11, std::min(88 + 3 * step, 127));
  track.silence(TrackEnds, ch);
  return track;
}

Track percussion() {
  constexpr int timpani = 2;
  Track track;
  track.meta(0, 0x03, "Timpani and drums");
  setUp(track, timpani, Timpani, 72, 64);
  track.controller(0, DrumChannel, 7, 64);
  track.controller(0, DrumChannel, 91, 40);
  track.note(Quarter, timpani, Bb2, Quarter, 110);
  track.note(Quarter, DrumChannel, BassDrum, Eighth, 100);
  track.note(2 * Quarter, timpani, Eb3, Quarter, 96);
  // A roll on the timpani and the snare into the final chord, growing louder.
  for (int i = 0; i < 12; ++i) track.note(3 * Quarter + i * (Quarter / 12), timpani, F2, Quarter / 12, 60 + 4 * i);
  for (int i = 0; i < 16; ++i)
    track.note(3 * Quarter + i * (Quarter / 16), DrumChannel, Snare, Quarter / 16, 50 + 4 * i);
  track.note(FinalChordAt, timpani, Bb2, 2 * Quarter, 124);
  track.note(FinalChordAt, DrumChannel, BassDrum, Eighth, 120);
  track.note(FinalChordAt, DrumChannel, Crash, 2 * Quarter, 118);
  track.silence(TrackEnds, timpani);
  track.silence(TrackEnds, DrumChannel);
  return track;
}

}  // namespace

std::string FanfareMidi::bytes() const {
  const Track tracks[] = {conductor(), trumpet(), brass(), percussion()};
  std::string file = "MThd" + Track::bigEndian(6, 4) + Track::bigEndian(1, 2) + Track::bigEndian(std::size(tracks), 2) +
                     Track::bigEndian(TicksPerQuarter, 2);
  for (const Track& track : tracks) file += track.chunk(TrackEnds);
  return file;
}
