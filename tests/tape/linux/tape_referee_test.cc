// Images checked by tools that know the Spectrum tape format on their own: tzxlist reads the
// blocks and their checksums, and pasmo writes the same program as a tape image itself. Both
// are Linux programs, run through the shell.
#include <cstdio>
#include <random>
#include <sstream>

#include "tape/tape_test_support.h"

namespace tape_test {
namespace {

using TapeRefereeTest = TapeTest;

bool ToolPresent(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string CommandOutput(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    pclose(pipe);
  }
  return output;
}

// tzxlist's verdicts, one per block in file order ("PASS" or "FAIL"), and its header line.
struct TzxReport {
  std::vector<std::string> checksums;
  std::string header;
};

TzxReport ListTape(const std::string& path) {
  TzxReport report;
  std::istringstream lines(CommandOutput("tzxlist '" + path + "' 2>&1"));
  for (std::string line; std::getline(lines, line);) {
    if (line.find("Checksum: 0x") != std::string::npos)
      report.checksums.push_back(line.substr(line.find('(') + 1, 4));
    if (line.find("Bytes: \"") != std::string::npos) report.header = line.substr(line.find('B'));
  }
  return report;
}

const std::vector<std::string> BothPass{"PASS", "PASS"};

TEST_F(TapeRefereeTest, TzxlistPassesBothBlocksOfEveryImage) {
  if (!ToolPresent("tzxlist")) GTEST_SKIP() << "tzxlist (fuse-emulator-utils) is not installed";
  Listing example;
  example.Add("1 0102030405060708090A 55");
  ASSERT_EQ(Compile(example, "juego.txt", "PRUEBA\r32768\r10\rk"), 1);
  TzxReport report = ListTape("juego.tap");
  EXPECT_EQ(report.checksums, BothPass);
  EXPECT_EQ(report.header, "Bytes: \"PRUEBA    \" CODE  32768, 10");

  ASSERT_EQ(Compile(example, "cero.txt", "A\r65535\r0\rk"), 1);
  report = ListTape("cero.tap");
  EXPECT_EQ(report.checksums, BothPass);
  EXPECT_EQ(report.header, "Bytes: \"A         \" CODE  65535, 0");

  Listing full(MaxLines);
  ASSERT_EQ(Compile(full, "grande.txt", "GRANDE 50K\r0\r50000\rk"), 1);
  report = ListTape("grande.tap");
  EXPECT_EQ(report.checksums, BothPass);
  EXPECT_EQ(report.header, "Bytes: \"GRANDE 50K\" CODE  0, 50000");

  // The referee does notice a wrong checksum.
  std::string image = ReadFile("juego.tap");
  image.back() = static_cast<char>(image.back() ^ 1);
  WriteFile("roto.tap", image);
  EXPECT_EQ(ListTape("roto.tap").checksums, (std::vector<std::string>{"PASS", "FAIL"}));
}

TEST_F(TapeRefereeTest, PasmoAssemblesTheSameBytesIntoTheSameImage) {
  if (!ToolPresent("pasmo")) GTEST_SKIP() << "pasmo is not installed";
  std::mt19937 random(1985);
  auto between = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const std::string nameCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::filesystem::create_directory("pasmo");

  for (int round = 0; round < 4; ++round) {
    const int lineCount = between(1, 40);
    Listing listing;
    std::string bytes;
    for (int line = 1; line <= lineCount; ++line) {
      std::string ten;
      for (int j = 0; j < 10; ++j) ten.push_back(static_cast<char>(between(0, 255)));
      listing.Add(CorrectLine(line, DataField(ten)));
      bytes += ten;
    }
    const int byteCount = between(1, 10 * lineCount);
    const int dumpAddress = between(0, 65536 - byteCount);
    std::string name;
    for (int length = between(1, 10); length > 0; --length)
      name.push_back(nameCharacters[between(0, 35)]);
    SCOPED_TRACE(name + " at " + std::to_string(dumpAddress) + ", " + std::to_string(byteCount) +
                 " bytes");

    ASSERT_EQ(Compile(listing, "juego.txt",
                      name + "\r" + std::to_string(dumpAddress) + "\r" + std::to_string(byteCount) +
                          "\rk"),
              1);

    // pasmo names the header after its output file, so it writes a file of the program's name.
    std::string source = "\torg " + std::to_string(dumpAddress) + "\n";
    for (int k = 0; k < byteCount; ++k)
      source += (k % 10 == 0 ? "\tdefb " : ",") + std::to_string(static_cast<uint8_t>(bytes[k])) +
                (k % 10 == 9 ? "\n" : "");
    WriteFile("pasmo/program.asm", source + "\n");
    ASSERT_EQ(std::system(("cd pasmo && pasmo --tap program.asm " + name).c_str()), 0);
    const std::string image = ReadFile("juego.tap");
    ASSERT_EQ(image.size(), 25u + byteCount);
    EXPECT_EQ(Hex(image), Hex(ReadFile("pasmo/" + name)));
  }
}

}  // namespace
}  // namespace tape_test
