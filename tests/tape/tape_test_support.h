#pragma once
// What the tape tests share: a scratch directory that is also the working directory, listings
// built the way the loader builds them, and file bytes shown as hexadecimal.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "listing/line_format.h"
#include "listing/line_table.h"
#include "platform/temp_dir.h"
#include "tape/compile_tape.h"

namespace tape_test {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string Hex(const std::string& bytes) {
  std::string text;
  char pair[4];
  for (unsigned char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%s%02X", text.empty() ? "" : " ", byte);
    text += pair;
  }
  return text;
}

// Ten bytes as the twenty digits of a data field.
inline std::string DataField(const std::string& tenBytes) {
  std::string data;
  char pair[3];
  for (unsigned char byte : tenBytes) {
    std::snprintf(pair, sizeof pair, "%02X", byte);
    data += pair;
  }
  return data;
}

// A stored line whose checksum is the sum of its data.
inline std::string CorrectLine(int number, const std::string& data) {
  return JoinListingLine(std::to_string(number), data, std::to_string(DataChecksum(data)));
}

// A listing filled through AddLine, as the loader fills it; needs a MemoryConsole alive.
struct Listing {
  LineTable table;
  LoadBudget budget{int64_t{1} << 30, 1};

  ~Listing() { FreeLineTable(table.count, table); }
  void Add(const std::string& line) {
    ASSERT_FALSE(AddLine(table, static_cast<int16_t>(table.count + 1), line, budget));
    ++table.count;
  }
  // The first lineCount lines of a listing whose byte k (from 0) is k * 7 + 3.
  explicit Listing(int lineCount = 0) {
    for (int k = 0; k < lineCount; ++k) {
      std::string bytes;
      for (int j = 0; j < 10; ++j) bytes.push_back(static_cast<char>((k * 10 + j) * 7 + 3));
      Add(CorrectLine(k + 1, DataField(bytes)));
    }
  }
  std::string Bytes(int byteCount) const {
    std::string bytes;
    for (int k = 0; k < byteCount; ++k) bytes.push_back(static_cast<char>(k * 7 + 3));
    return bytes;
  }
};

// A fresh directory that is the working directory for the test's lifetime, so listings can
// be named the way a user types them (juego.txt, dir.old/juego).
class TapeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeTempDirectory("gravix-tape-");
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }

  // Runs the dialogue with the keys given; -1 when it was still waiting for a key.
  int32_t Compile(const Listing& listing, const std::string& fileName, const std::string& keys) {
    screen_.Keys(keys);
    HideCursor();  // as the editor calls it
    int32_t currentLine = 99;
    try {
      CompileTape(currentLine, listing.table.count, listing.table, fileName);
    } catch (const KeysExhausted&) {
      return -1;
    }
    return currentLine;
  }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_))
      names.push_back(std::filesystem::relative(entry.path(), dir_).string());
    std::sort(names.begin(), names.end());
    return names;
  }

  MemoryConsole screen_;
  std::filesystem::path dir_;
  std::filesystem::path previous_;
};

}  // namespace tape_test
