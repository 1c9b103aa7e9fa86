// The floor of the benchmark: what any reader of an MP file pays before it
// parses a single number. It reads the file as Zelvatrix does (a file
// stream, 64 KiB at a time), counts the line feeds, and keeps one double
// per line in lists of 500, as the tool keeps a list of doubles per patch
// (the R case has 500 years). Time over wc -l's shows what reading through
// the C++ library and holding the values cost on this machine; the rest of
// Zelvatrix's time is parsing and analysis.
//
// Usage: read_floor FILE   (prints the number of lines and of lists)

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <utility>
#include <vector>

// The line feeds among `size` bytes. Counted 255 bytes at a time into a
// byte-wide counter, a loop compilers turn into vector compares; std::count
// is not, and would take longer than wc -l needs for the whole file.
long CountFeeds(const char* data, std::size_t size) {
  long feeds = 0;
  for (std::size_t start = 0; start < size; start += 255) {
    const std::size_t end = start + 255 < size ? start + 255 : size;
    uint8_t some = 0;
    for (std::size_t i = start; i < end; ++i) some += data[i] == '\n';
    feeds += some;
  }
  return feeds;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: read_floor FILE\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::in | std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "read_floor: cannot open %s\n", argv[1]);
    return 1;
  }
  constexpr std::size_t kPerList = 500;
  std::vector<char> buffer(1 << 16);
  std::vector<std::vector<double>> lists;
  std::vector<double> list;
  long lines = 0;
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
         in.gcount() > 0) {
    const long feeds =
        CountFeeds(buffer.data(), static_cast<std::size_t>(in.gcount()));
    lines += feeds;
    for (long i = 0; i < feeds; ++i) {
      if (list.empty()) list.reserve(kPerList);
      list.push_back(1.0);
      if (list.size() == kPerList) {
        lists.push_back(std::move(list));
        list = {};
      }
    }
  }
  if (in.bad()) {
    std::fprintf(stderr, "read_floor: cannot read %s\n", argv[1]);
    return 1;
  }
  std::printf("%ld lines, %zu lists\n", lines, lists.size());
  return 0;
}
