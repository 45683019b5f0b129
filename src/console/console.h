#pragma once
// The console every other folder draws through: an 80x25 text screen, 16 colours on a black
// background, a cursor, and keys one byte at a time (navigation keys as 0 then a scan code).
// Exactly one binding is linked: linux/ (ANSI terminal), windows/ (Win32 console) or
// memory/ (a cell grid with scripted keys, for tests).
//
// Output is buffered: it reaches the terminal in one write before each key wait and before
// every end, so a keystroke costs one write of the rows it changed.

#include <cstdint>
#include <string>
#include <string_view>

constexpr int ScreenColumns = 80;
constexpr int ScreenRows = 25;

// The 16-colour PC text palette.
enum Colour : int {
  Black = 0,
  Blue = 1,
  Green = 2,
  Cyan = 3,
  Red = 4,
  Magenta = 5,
  Brown = 6,
  LightGrey = 7,
  DarkGrey = 8,
  LightBlue = 9,
  LightGreen = 10,
  LightCyan = 11,
  LightRed = 12,
  LightMagenta = 13,
  Yellow = 14,
  White = 15,
};

// Start-up and ends. InitConsole switches to raw key mode and takes the screen size; every end
// goes through EndRun or EndWithIoError, which restore the terminal before the process ends.
void InitConsole();
// Asks a terminal smaller than 80x25 to grow; true when it is (now) at least 80x25.
bool EnsureConsoleSize();
[[noreturn]] void EndRun(int status);
// Ctrl+C before the editor: the terminal restored, then the end an interrupted program has
// (by SIGINT on Linux, which a shell reports as 130; exit status 130 on Windows).
constexpr int InterruptStatus = 130;
[[noreturn]] void EndByInterrupt();
// The unchecked-I/O-failure end: "Runtime error <code>" by a raw write, exit status code.
[[noreturn]] void EndWithIoError(int code);

// Screen operations (columns and rows 1-based).
void ClearScreen();
void ClearToEndOfLine();
void MoveCursor(int column, int row);  // ignored outside the screen
void SetTextColor(int colour);
void ShowCursor();
void HideCursor();
void WriteChar(uint8_t character);  // 7 bell, 8 back, 10 line feed, 13 return; other controls "?"
void WriteText(std::string_view text, int width = 0);  // right-aligned in width when wider
void WriteNumber(int32_t number);
void WriteLine(std::string_view text = {});  // text, then the build's line end
// Text that came from a file, a file name or the keyboard: bytes 0-31 and 127 show as "?",
// so nothing in it can move the cursor or reach the terminal as a command.
void WriteDataText(std::string_view text, int width = 0);
// The same rule on its own, for text that leaves by another way.
std::string ControlBytesShown(std::string_view text);

// Output buffer. FlushConsole writes it now; FlushConsoleIfDue only when the last write is a
// few tens of milliseconds old, for long work without key waits (the loader's indicator).
void FlushConsole();
void FlushConsoleIfDue();

// Waits for one key press; Enter is 13, Backspace 8, navigation keys 0 then the scan code.
// Ctrl+L is never delivered: the binding repaints the screen from what it has drawn.
uint8_t ReadKeyByte();
