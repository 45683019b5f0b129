// The editor over any bytes a terminal may send: only whole keys reach it, it never draws outside
// the 80x25 screen nor scrolls it, and it never crashes. Byte 0xFE stands for a wait that ran out.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "console/linux/charset.h"
#include "console/linux/key_decoder.h"
#include "console/memory/memory_console.h"
#include "editor/editor.h"
#include "editor/editor_screen.h"

namespace {

constexpr uint8_t TimeRunsOut = 0xFE;

void Check(bool fact) {
  if (!fact) std::abort();
}

// Every 0 is followed by the scan code of its key.
bool WholeKeys(const std::string& keys) {
  for (size_t k = 0; k < keys.size(); ++k)
    if (keys[k] == '\0' && ++k == keys.size()) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KeyDecoder decoder;
  TypedText typed;
  OpenTypedText(typed, "UTF-8");
  std::string keys;
  for (size_t k = 0; k < size; ++k) {
    std::string decoded;
    if (data[k] == TimeRunsOut)
      DecodeTimeout(decoder, decoded);
    else
      DecodeKeyByte(decoder, data[k], decoded);
    AppendTyped(typed, decoded, keys);
  }
  Check(WholeKeys(keys));
  std::ofstream("juego.txt", std::ios::trunc)
      << "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n3 0F0FE607D3 933\n";
  LineTable table;
  for (const char* line :
       {"1 06000E0076790F0F0FE6 534", "2 07D3FE0C10F43A485C0F 981", "3 0F0FE607D3 933"})
    AppendLine(table, line, 1 << 20);
  MemoryConsole screen;
  screen.Keys(keys);
  DrawEditorScreen();
  RunEditor({"juego.txt", GetFileStamp("juego.txt")}, table);
  Check(screen.MovesOutside() == 0 && screen.Scrolls() == 0);
  return 0;
}
