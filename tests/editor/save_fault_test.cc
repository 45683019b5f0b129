// Saving over a name that has become a directory: the run ends with the failure's code and
// the directory is left alone.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "console/memory/memory_console.h"
#include "editor/editor.h"
#include "editor/test_listing.h"
#include "platform/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Linux names the fault; Windows only refuses access to a directory opened as a file.
#ifdef _WIN32
constexpr int DirectoryWriteError = EACCES;
#else
constexpr int DirectoryWriteError = EISDIR;
#endif

const std::vector<std::string> StoredLines = {"1 00112233445566778899 765",
                                              "2 00000000000000000000 0"};

TEST(SaveFaults, AListingReplacedByADirectoryEndsWithTheRuntimeError) {
  TempDir dir;
  const std::string name = dir / "juego.txt";
  fs::create_directory(name);
  WriteBytes(dir / "juego.txt/dentro", "kept");
  MemoryConsole screen;
  TestListing listing(StoredLines);
  screen.Keys("7q");
  try {
    RunEditor(name, listing.Count(), *listing.table);
    FAIL() << "the editor returned";
  } catch (const ProgramEnd& end) {
    EXPECT_TRUE(end.runtimeError);
    EXPECT_EQ(end.status, DirectoryWriteError);
  }
  EXPECT_EQ(screen.RuntimeErrorLine(), "Runtime error " + std::to_string(DirectoryWriteError));
  EXPECT_EQ(ReadBytes(dir / "juego.txt/dentro"), "kept");
  EXPECT_EQ(std::distance(fs::directory_iterator(name), fs::directory_iterator()), 1);
}

}  // namespace
