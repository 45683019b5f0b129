// Any terminal bytes with the escape wait running out anywhere: only whole keys come out (a 0 then
// a known scan code; never 127), every sequence is forgotten when the wait runs out.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "console/linux/key_decoder.h"
#include "program_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  auto isScanCode = [](int code) {
    return (code >= 16 && code <= 25) || (code >= 30 && code <= 38) || (code >= 44 && code <= 50) ||
           (code >= 59 && code <= 68) || (code >= 120 && code <= 131) ||
           (code >= 71 && code <= 83 && code != 74 && code != 76 && code != 78);
  };
  FuzzedDataProvider input(bytes, size);
  KeyDecoder decoder;
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
    Check(keys[i] != 127);
    if (keys[i] == 0) Check(++i < keys.size() && isScanCode(static_cast<uint8_t>(keys[i])));
  }
  return 0;
}
