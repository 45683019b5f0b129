#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "console/memory/memory_console.h"
#include "shell/command_line.h"

namespace {

namespace fs = std::filesystem;

TEST(RemoveExtension, OnlyTheLastExtensionOfTheFileNameGoes) {
  const std::pair<const char*, const char*> names[] = {
      {"prog.txt", "prog"},     {"a.b.c", "a.b"},           {"prog.", "prog"},
      {"prog", "prog"},         {"dir.x/prog", "dir.x/prog"}, {"dir.x\\prog", "dir.x\\prog"},
      {"./prog", "./prog"},     {".profile", ""},           {"dir.old/juego.txt", "dir.old/juego"},
  };
  for (auto [name, result] : names) EXPECT_EQ(RemoveExtension(name), result) << name;
}

int EndStatus(const std::vector<std::string>& arguments) {
  try {
    GetInputFileName(arguments);
  } catch (const ProgramEnd& end) {
    return end.status;
  }
  return -1;
}

class InputFileName : public ::testing::Test {
 protected:
  void SetUp() override {
    directory = fs::temp_directory_path() / ("gravix-cl-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory);
    fs::create_directories(directory);
  }
  void TearDown() override { fs::remove_all(directory); }
  fs::path directory;
};

TEST_F(InputFileName, AWritableFileIsReturnedWholeAndLeftUnchanged) {
  const std::string name = (directory / "juego.txt").string();
  std::ofstream(name, std::ios::binary) << "1 00 765\r\n\x00x";
  const auto before = fs::file_size(name);
  MemoryConsole screen;
  EXPECT_EQ(GetInputFileName({name}), name);
  EXPECT_EQ(fs::file_size(name), before);
  EXPECT_EQ(screen.TrimmedRow(1), "");
}

TEST_F(InputFileName, AMissingFileIsAFatalError) {
  MemoryConsole screen;
  EXPECT_EQ(EndStatus({(directory / "nada.txt").string()}), 1);
  const std::string line = "  ERROR: El fichero \"" + (directory / "nada.txt").string() + "\" no existe.";
  EXPECT_EQ((screen.Row(1) + screen.Row(2)).substr(0, line.size()), line);
}

TEST_F(InputFileName, ADirectoryIsReportedAsWriteProtected) {
  MemoryConsole screen;
  EXPECT_EQ(EndStatus({directory.string()}), 1);
  // Three rows: the name of the temporary directory is longer on Windows.
  EXPECT_NE((screen.Row(1) + screen.Row(2) + screen.Row(3)).find("\" esta protegido contra escritura o se encuentra en un dispositivo de solo-lectura"), std::string::npos);
}

TEST_F(InputFileName, ALongNameIsCutOnlyOnScreen) {
  // The error line holds at most 255 characters: the closing full stop is lost.
  const std::string name = (directory / std::string(200, 'n')).string() + "/" + std::string(100, 'm');
  MemoryConsole screen;
  EXPECT_EQ(EndStatus({name}), 1);
  const std::string line = "  ERROR: El fichero \"" + name;
  EXPECT_EQ(screen.Text(1, 1, 80) + screen.Text(1, 2, 80) + screen.Text(1, 3, 80) + screen.Text(1, 4, 15),
            line.substr(0, 255));
  EXPECT_EQ(screen.TrimmedRow(5), "");  // the bell's own line
}

TEST_F(InputFileName, ControlBytesInTheNameAreShownHarmlessly) {
  MemoryConsole screen;
  EXPECT_EQ(EndStatus({"\x1b]2;pwned\x07.txt"}), 1);
  EXPECT_EQ(screen.TrimmedRow(1), "  ERROR: El fichero \"?]2;pwned?.txt\" no existe.");
  EXPECT_EQ(screen.Bells(), 1);  // only the error's own bell
}

}  // namespace
