// Writes hoko32's own fanfare, a Standard MIDI File.
#include <cstdio>

#include "tools/FanfareMidi.h"

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: hoko32-fanfare OUTPUT.mid\n");
    return 2;
  }
  const std::string bytes = FanfareMidi().bytes();
  std::FILE* file = std::fopen(argv[1], "wb");
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
    std::fprintf(stderr, "hoko32-fanfare: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
