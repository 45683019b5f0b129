#pragma once
// A fresh directory for one test, removed with everything in it at the end; file bytes.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

struct TempDir {  // under a random name (mkdtemp is not on every platform)
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("gravix-" + std::to_string(std::random_device()()));
  TempDir() { std::filesystem::create_directory(path); }
  ~TempDir() { std::filesystem::remove_all(path, ignored); }
  std::error_code ignored;
  std::string operator/(const std::string& name) const { return (path / name).string(); }
};

inline std::string ReadBytes(const std::string& name) {  // empty when no such file
  if (!std::filesystem::is_regular_file(name)) return {};
  std::ifstream file(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

inline void WriteBytes(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}
