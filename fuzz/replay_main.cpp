// Replays every file of a fuzz corpus folder through the fuzz target once, so
// the corpus runs as an ordinary test without libFuzzer.
#include <dirent.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<uint8_t> read_file(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  uint8_t block[4096];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, f)) > 0) bytes.insert(bytes.end(), block, block + n);
  std::fclose(f);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
    return 2;
  }
  DIR* dir = opendir(argv[1]);
  if (!dir) {
    std::fprintf(stderr, "no corpus folder %s\n", argv[1]);
    return 1;
  }
  int count = 0;
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    std::vector<uint8_t> bytes = read_file(std::string(argv[1]) + "/" + entry->d_name);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++count;
  }
  closedir(dir);
  std::printf("replayed %d inputs from %s\n", count, argv[1]);
  return count > 0 ? 0 : 1;
}
