#include "tape/tape_image.h"

#include "tape/basic_loader.h"

namespace {

constexpr uint8_t HeaderFlag = 0x00;
constexpr uint8_t DataFlag = 0xFF;
constexpr uint8_t ProgramType = 0;
constexpr uint8_t CodeType = 3;
constexpr uint16_t HeaderBlockLength = 19;  // flag, 17 header bytes, checksum

void AppendWord(std::string& image, uint16_t value) {
  image.push_back(static_cast<char>(value % 256));
  image.push_back(static_cast<char>(value / 256));
}

// The Spectrum's block checksum: every byte from the flag on, exclusive-or'ed together.
void AppendChecksum(std::string& image, size_t flagOffset) {
  uint8_t checksum = 0;
  for (size_t i = flagOffset; i < image.size(); ++i) checksum ^= static_cast<uint8_t>(image[i]);
  image.push_back(static_cast<char>(checksum));
}

// One file as the ROM's SAVE puts it on tape: the header block that names it, then its data.
void AppendFile(std::string& image, uint8_t type, std::string_view programName,
                std::string_view dataBytes, uint16_t parameter1, uint16_t parameter2) {
  const auto byteCount = static_cast<uint16_t>(dataBytes.size());
  const size_t headerFlagOffset = image.size() + 2;
  AppendWord(image, HeaderBlockLength);
  image.push_back(static_cast<char>(HeaderFlag));
  image.push_back(static_cast<char>(type));
  std::string name(programName.substr(0, ProgramNameLength));
  name.resize(ProgramNameLength, ' ');
  image += name;
  AppendWord(image, byteCount);
  AppendWord(image, parameter1);
  AppendWord(image, parameter2);
  AppendChecksum(image, headerFlagOffset);

  const size_t dataFlagOffset = image.size() + 2;
  AppendWord(image, static_cast<uint16_t>(byteCount + 2));
  image.push_back(static_cast<char>(DataFlag));
  image += dataBytes;
  AppendChecksum(image, dataFlagOffset);
}

}  // namespace

std::string BuildTapeImage(std::string_view programName, uint16_t dumpAddress,
                           std::string_view dataBytes, std::optional<uint16_t> startAddress) {
  std::string image;
  image.reserve(100 + dataBytes.size());  // the loader's file and the code's blocks take under 100
  if (startAddress) {
    const std::string loader = BuildBasicLoader(dumpAddress, *startAddress);
    // It starts itself at its line; its variables would follow it, and it has none.
    const auto length = static_cast<uint16_t>(loader.size());
    AppendFile(image, ProgramType, programName, loader, LoaderLine, length);
  }
  AppendFile(image, CodeType, programName, dataBytes, dumpAddress, TapeParameter2);
  return image;
}

// The whole image is built first and replaces the old file in one step, so a full disk or a
// vanished directory leaves the old image (if any) still whole.
std::optional<IoFailure> SaveTapeImage(const std::string& fileName, std::string_view programName,
                                       uint16_t dumpAddress, std::string_view dataBytes,
                                       std::optional<uint16_t> startAddress) {
  return ReplaceFileSafely(fileName,
                           BuildTapeImage(programName, dumpAddress, dataBytes, startAddress));
}

std::string ProgramSummary(std::string_view programName, int32_t dumpAddress, int32_t byteCount,
                           std::optional<uint16_t> startAddress) {
  std::string summary = "Programa: \"" + std::string(programName) +
                        "\"   #   Dump: " + std::to_string(dumpAddress) +
                        "   #   Bytes: " + std::to_string(byteCount);
  if (startAddress) summary += "   #   USR: " + std::to_string(*startAddress);
  return summary;
}
