// Runs a fuzz target's LLVMFuzzerTestOneInput on every file of the folders (or the files)
// given, in name order, so that each normal build replays the corpus without libFuzzer.
// A broken invariant aborts; a folder with no input fails, so a wrong path cannot pass.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& place) {
  if (!std::filesystem::is_directory(place)) return {place};
  std::vector<std::filesystem::path> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(place)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

bool Replay(const std::filesystem::path& input) {
  std::ifstream file(input, std::ios::binary);
  if (!file) return false;
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: " << argv[0] << " CORPUS_FOLDER_OR_FILE...\n";
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    const auto inputs = InputsOf(argv[i]);
    if (inputs.empty()) {
      std::cerr << "no input in " << argv[i] << '\n';
      return 1;
    }
    for (const auto& input : inputs) {
      if (!Replay(input)) {
        std::cerr << "cannot read " << input << '\n';
        return 1;
      }
    }
    std::cout << "replayed " << inputs.size() << " inputs of " << argv[i] << '\n';
  }
  return 0;
}
