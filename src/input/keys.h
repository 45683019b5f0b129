#pragma once
// Reading keys and short typed answers. Neither writes a prompt: the caller places the cursor
// and sets the colour, and the echo appears there.

#include <cstdint>
#include <string>

struct Key {
  uint8_t character;  // with extended set: the scan code (Up 72, Down 80, Delete 83, ...)
  bool extended;
};

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
constexpr uint8_t DeleteScan = 83;

Key GetKey();

enum class InputMode { AnyCharacters, DigitsOnly };

// Waits for a non-empty answer of at most maxLength characters confirmed with Enter, with
// echo and Backspace; shows the cursor meanwhile and hides it before returning.
std::string InputLine(int maxLength, InputMode mode);
