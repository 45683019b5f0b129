// Any stream of terminal bytes with the 10 ms wait running out anywhere: the decoder delivers
// only whole keys, forgets every sequence once the wait runs out, and keeps little.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz_check.h"
#include <set>
#include <string>

#include "console/linux/key_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider input(bytes, size);
  KeyDecoder decoder;
  decoder.utf8 = input.ConsumeBool();
  static const std::set<int> ScanCodes = [] {
    std::set<int> codes{71, 72, 73, 75, 77, 79, 80, 81, 82, 83};
    for (int code = 16; code <= 25; ++code) codes.insert(code);
    for (int code = 30; code <= 38; ++code) codes.insert(code);
    for (int code = 44; code <= 50; ++code) codes.insert(code);
    for (int code = 59; code <= 68; ++code) codes.insert(code);
    for (int code = 120; code <= 131; ++code) codes.insert(code);
    return codes;
  }();
  std::string keys;
  while (input.remaining_bytes() > 0) {
    if (input.ConsumeIntegralInRange(0, 15) == 0) {
      DecodeTimeout(decoder, keys);
      Check(!DecoderWaiting(decoder));
    } else {
      DecodeKeyByte(decoder, input.ConsumeIntegral<uint8_t>(), keys);
    }
    Check(decoder.pending.size() <= 16);
  }
  DecodeTimeout(decoder, keys);
  for (size_t i = 0; i < keys.size(); ++i) {
    const uint8_t key = static_cast<uint8_t>(keys[i]);
    Check(key != 127);
    if (key == 0) {
      Check(i + 1 < keys.size() && ScanCodes.count(static_cast<uint8_t>(keys[i + 1])));
      ++i;
    }
  }
  return 0;
}
