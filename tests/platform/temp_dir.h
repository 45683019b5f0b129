#pragma once
// A fresh directory for one test, removed with everything in it at the end.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A new directory under the system's temporary directory, named prefix and a random number
// (mkdtemp is not there on Windows).
inline std::filesystem::path MakeTempDirectory(const std::string& prefix) {
  std::random_device random;
  for (;;) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
    if (std::filesystem::create_directory(path)) return path;
  }
}

struct TempDir {
  std::filesystem::path path = MakeTempDirectory("gravix-");

  TempDir() = default;
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
