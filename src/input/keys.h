#pragma once
// Keys as the program reads them: one press, its character or, for a navigation key, its
// scan code. Nothing here writes: the caller places the cursor and shows it where it wants.

#include <cstdint>

struct Key {
  uint8_t character;  // with extended set: the scan code (Up 72, Down 80, Delete 83, ...)
  bool extended;
};

constexpr uint8_t CtrlCKey = 3;
constexpr uint8_t BackspaceKey = 8;
constexpr uint8_t TabKey = 9;
constexpr uint8_t EnterKey = 13;

constexpr uint8_t HomeScan = 71;
constexpr uint8_t UpScan = 72;
constexpr uint8_t PageUpScan = 73;
constexpr uint8_t LeftScan = 75;
constexpr uint8_t RightScan = 77;
constexpr uint8_t EndScan = 79;
constexpr uint8_t DownScan = 80;
constexpr uint8_t PageDownScan = 81;
constexpr uint8_t InsertScan = 82;
constexpr uint8_t DeleteScan = 83;

// What Ctrl+C does at a key wait: it is a key like any other, or it ends the run at once
// (before the editor opens, when nothing typed in GRAVIX can be lost).
enum class CtrlC { IsAKey, EndsRun };

// Waits for one key press.
Key GetKey(CtrlC ctrlC = CtrlC::IsAKey);
