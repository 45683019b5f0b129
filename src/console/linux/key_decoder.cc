#include "console/linux/key_decoder.h"

#include <string_view>
#include <utility>

#include "console/console.h"

namespace {

struct KeySequence {
  std::string_view bytes;  // after the Escape
  uint8_t scanCode;
};

// F1 to F10 are keys no command takes: the PC's scan codes 59 to 68.
constexpr uint8_t F1Scan = 59;

// Navigation and function keys as xterm, the Linux console, rxvt and VT220 send them.
constexpr KeySequence ExtendedKeys[] = {
    {"[A", UpScan},       {"OA", UpScan},       {"[B", DownScan},      {"OB", DownScan},
    {"[C", RightScan},    {"OC", RightScan},    {"[D", LeftScan},      {"OD", LeftScan},
    {"[H", HomeScan},     {"[1~", HomeScan},    {"OH", HomeScan},      {"[7~", HomeScan},
    {"[K", EndScan},      {"[4~", EndScan},     {"[F", EndScan},       {"OF", EndScan},
    {"[8~", EndScan},     {"[5~", PageUpScan},  {"[6~", PageDownScan}, {"[2~", InsertScan},
    {"[3~", DeleteScan},  {"[[A", F1Scan},      {"[[B", F1Scan + 1},   {"[[C", F1Scan + 2},
    {"[[D", F1Scan + 3},  {"[[E", F1Scan + 4},  {"OP", F1Scan},        {"OQ", F1Scan + 1},
    {"OR", F1Scan + 2},   {"OS", F1Scan + 3},   {"[11~", F1Scan},      {"[12~", F1Scan + 1},
    {"[13~", F1Scan + 2}, {"[14~", F1Scan + 3}, {"[15~", F1Scan + 4},  {"[17~", F1Scan + 5},
    {"[18~", F1Scan + 6}, {"[19~", F1Scan + 7}, {"[20~", F1Scan + 8},  {"[21~", F1Scan + 9},
};

// Longer sequences are still read to their end, but no longer kept: none of them is a key.
constexpr size_t MaxSequenceLength = 16;

// How long a byte is awaited: after an Escape, whether it stood alone; after a lone one, whether
// a slow link still brings the rest of its sequence; within a sequence, its next byte.
constexpr int LoneEscapeMilliseconds = 100;
constexpr int LateSequenceMilliseconds = 900;  // a second from the Escape in all
constexpr int SequenceByteMilliseconds = 1000;

// Alt with a letter, digit, minus or equals: the PC's Alt scan codes. No command takes them,
// so an Alt chord never reaches a field or a command as its plain key.
int AltScanCode(uint8_t byte) {
  if (byte >= 'A' && byte <= 'Z') byte = static_cast<uint8_t>(byte - 'A' + 'a');
  constexpr std::string_view Rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
  constexpr int RowStarts[] = {16, 30, 44};
  for (int row = 0; row < 3; ++row)
    if (size_t at = Rows[row].find(static_cast<char>(byte)); at != std::string_view::npos)
      return RowStarts[row] + static_cast<int>(at);
  if (byte >= '1' && byte <= '9') return 120 + (byte - '1');
  if (byte == '0') return 129;
  if (byte == '-') return 130;
  if (byte == '=') return 131;
  return -1;
}

void Deliver(std::string& keys, uint8_t a) { keys.push_back(static_cast<char>(a)); }
void DeliverExtended(std::string& keys, int scanCode) {
  keys.push_back('\0');
  keys.push_back(static_cast<char>(scanCode));
}

void FinishEscapeSequence(KeyDecoder& decoder, std::string& keys) {
  const std::string_view bytes = std::string_view(decoder.pending).substr(1);
  for (const KeySequence& sequence : ExtendedKeys)
    if (sequence.bytes == bytes) DeliverExtended(keys, sequence.scanCode);
  decoder.pending.clear();  // unknown sequences are dropped whole
}

// Alt with one of these sends bytes some terminals also use to open strings: an Alt chord all
// the same, and no scan code of its own.
bool IsBareAltChord(uint8_t byte) { return byte == ']' || byte == '^' || byte == '_'; }

void DecodeEscapeByte(KeyDecoder& decoder, uint8_t byte, std::string& keys) {
  std::string& pending = decoder.pending;
  if (pending.size() == 1) {
    if (byte == '[' || byte == 'O') {
      pending.push_back(static_cast<char>(byte));
    } else if (byte == 27) {
      Deliver(keys, 27);  // the first Escape stood alone; the second may start a sequence
    } else if (const int altScanCode = AltScanCode(byte); altScanCode >= 0) {
      pending.clear();
      DeliverExtended(keys, altScanCode);
    } else if (IsBareAltChord(byte)) {
      pending.clear();
    } else {
      // Escape stood alone and the next key came quickly: both are delivered, the key as itself.
      pending.clear();
      Deliver(keys, 27);
      DecodeKeyByte(decoder, byte, keys);
    }
    return;
  }
  if (byte == 27) {  // a new sequence cuts the unfinished one
    pending.assign(1, '\x1b');
    return;
  }
  if (pending.size() < MaxSequenceLength) pending.push_back(static_cast<char>(byte));
  const bool linuxFunctionKey = pending == "\x1b[[" && byte == '[';
  const bool finalByte = pending[1] == 'O' || (byte >= 0x40 && byte <= 0x7E && !linuxFunctionKey);
  if (finalByte) {
    FinishEscapeSequence(decoder, keys);
  } else if ((byte < 0x20 || byte > 0x3F) && !linuxFunctionKey) {
    pending.clear();  // not a byte of a CSI sequence: drop what came so far
  }
}

}  // namespace

void DecodeKeyByte(KeyDecoder& decoder, uint8_t byte, std::string& keys) {
  // A [ or O soon after a lone Escape is the rest of a sequence a slow link held up.
  const bool lateSequence = std::exchange(decoder.escapeDelivered, false);
  if (lateSequence && (byte == '[' || byte == 'O')) {
    decoder.pending = {'\x1b', static_cast<char>(byte)};
    return;
  }
  if (!decoder.pending.empty()) {
    DecodeEscapeByte(decoder, byte, keys);
    return;
  }
  if (byte == 27) {
    decoder.pending.assign(1, '\x1b');
  } else if (byte == 0) {
    // Ctrl+Space sends 0, which would take the next key for a scan code.
  } else if (byte == 127) {
    Deliver(keys, 8);
  } else {
    Deliver(keys, byte);
  }
}

void DecodeTimeout(KeyDecoder& decoder, std::string& keys) {
  const bool loneEscape = decoder.pending == "\x1b";
  if (loneEscape) Deliver(keys, 27);
  decoder.pending.clear();
  decoder.escapeDelivered = loneEscape;
}

int DecoderWaitMilliseconds(const KeyDecoder& decoder) {
  if (decoder.pending == "\x1b") return LoneEscapeMilliseconds;
  if (!decoder.pending.empty()) return SequenceByteMilliseconds;
  return decoder.escapeDelivered ? LateSequenceMilliseconds : -1;
}
