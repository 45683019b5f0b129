#pragma once
// The console every other folder draws through: an 80x25 text screen, 16 colours on a black
// background, a cursor, and keys one byte at a time (navigation keys as 0 then a scan code).
// Exactly one binding is linked: linux/ (ANSI terminal), windows/ (Win32 console) or
// memory/ (a cell grid with scripted keys, for tests).
//
// Output is buffered: it reaches the terminal in one write before each key wait and before
// every end, so a keystroke costs one write of the rows it changed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

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

// Navigation keys as the console delivers them: 0, then the PC's scan code.
enum ScanCode : uint8_t {
  HomeScan = 71,
  UpScan = 72,
  PageUpScan = 73,
  LeftScan = 75,
  RightScan = 77,
  EndScan = 79,
  DownScan = 80,
  PageDownScan = 81,
  InsertScan = 82,
  DeleteScan = 83,
};

// How a run ends. Whatever meets an end below the program's top (a failed operation, Ctrl+C
// before the editor, an end signal the editor held) hands it up as this value; only the top
// ends the run, through EndRun.
struct RunEnd {
  enum Kind {
    Exit,       // code is the exit status
    Interrupt,  // Ctrl+C before the editor: ended as SIGINT ends a program (status 130)
    Signal,     // an end signal the editor held until it had put its work aside; code: the signal
    IoError,    // "Runtime error <code>" below the screen, code as the exit status
  } kind = Exit;
  int code = 0;
};
constexpr int InterruptStatus = 130;

inline RunEnd EndByFailure(IoFailure failure) { return {RunEnd::IoError, failure.code}; }

// InitConsole switches to raw key mode and takes the screen size; EndRun restores the terminal
// and ends the process. A run that never took the screen (the forms for scripts) ends plainly.
// The screen needs a terminal (a console window) for both input and output.
bool HasTerminal();
void InitConsole();
// Gives the terminal back as it was, for what is left to say in plain lines (a terminal too
// small to draw in).
void ReleaseScreen();
// Asks a terminal smaller than 80x25 to grow; true when it is (now) at least 80x25.
bool EnsureConsoleSize();
[[noreturn]] void EndRun(RunEnd end);

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
// The one rule for what may reach the screen as it is: bytes 0-31 and 127 could drive a
// terminal, so each shows as "?".
constexpr uint8_t ShownByte(uint8_t byte) { return byte < 32 || byte == 127 ? '?' : byte; }

// Text that came from a file, a file name or the keyboard, through ShownByte, so nothing in it
// can move the cursor or reach the terminal as a command.
void WriteDataText(std::string_view text, int width = 0);
// The same rule on its own, for text that leaves by another way.
std::string ControlBytesShown(std::string_view text);
// Text in the locale's character set (a file name, an argument) as the screen holds text: code
// page 437, where a character it lacks is "?". It is shown through WriteDataText.
std::string LocaleTextOnScreen(std::string_view text);

// Output buffer. FlushConsole writes it now; FlushConsoleIfDue only when the last write is a
// few tens of milliseconds old, for long work without key waits (the loader's indicator).
void FlushConsole();
void FlushConsoleIfDue();

// Waits for one key press; Enter is 13, Backspace 8, navigation keys 0 then the scan code.
// Ctrl+L is never delivered: the binding repaints the screen from what it has drawn. None once
// no key can come (the terminal is gone, its output failed): ConsoleEnd says how to end.
std::optional<uint8_t> ReadKeyByte();
// Why the console can go on no longer; none while it can. A failed write is held until here.
std::optional<RunEnd> ConsoleEnd();

// Waits up to milliseconds for a key: true when one is there to read, or when none can come any
// more (ReadKeyByte then says so); false when the time ran out. With 0 it only looks.
bool WaitForKey(int milliseconds);

// While held (the editor holds them), an end signal, or the console window being closed, does
// not end the run at once: the key wait reports it through ConsoleEnd, so the program can put
// its work aside first. Otherwise it ends the run at once, the terminal restored.
void HoldEndSignals(bool held);
