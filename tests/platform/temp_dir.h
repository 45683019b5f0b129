#pragma once
// A fresh directory for one test, removed with everything in it at the end.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A directory of a random name that did not exist before, under the system's temporary
// directory (mkdtemp is not on every platform).
inline std::filesystem::path MakeScratchDirectory(const std::string& prefix) {
  std::random_device random;
  for (;;) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
    if (std::filesystem::create_directory(path)) return path;
  }
}

struct TempDir {
  std::filesystem::path path = MakeScratchDirectory("gravix-");

  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
};

inline std::string ReadBytes(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}
