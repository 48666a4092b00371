// A plain driver for the libFuzzer harnesses where libFuzzer is not at hand (the Windows build):
// runs every file of the folders given through LLVMFuzzerTestOneInput, and with it every prefix
// of the file and every single-byte change to 0x00 and 0xFF, so that a decoder must survive cut
// and damaged versions of each seed too. Exits with 0 when all ran, 1 when a folder is missing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
void Run(const std::vector<uint8_t>& bytes) {
  // A copy of exactly the input's size, so that a read past its end leaves the heap block.
  std::vector<uint8_t> copy(bytes);
  LLVMFuzzerTestOneInput(copy.data(), copy.size());
}
}  // namespace

int main(int argc, char** argv) {
  size_t files = 0, runs = 0;
  for (int a = 1; a < argc; ++a) {
    std::error_code ec;
    std::filesystem::directory_iterator dir(argv[a], ec);
    if (ec) {
      std::fprintf(stderr, "%s: no such folder\n", argv[a]);
      return 1;
    }
    for (const auto& entry : dir) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::vector<uint8_t> seed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      ++files;
      for (size_t n = 0; n <= seed.size(); ++n, ++runs) Run(std::vector<uint8_t>(seed.begin(), seed.begin() + n));
      for (size_t i = 0; i < seed.size(); ++i) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}}) {
          std::vector<uint8_t> damaged(seed);
          damaged[i] = value;
          Run(damaged);
          ++runs;
        }
      }
    }
  }
  std::printf("%zu files, %zu inputs decoded without a fault\n", files, runs);
  return 0;
}
