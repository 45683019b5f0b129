#pragma once
// Output of the forms that run without the screen (--help, --version, --check, --tap): plain
// lines on standard output or standard error, for a pipe, a file or a script. No screen control
// is sent; bytes of file text, names and arguments that could drive a terminal show as "?".

#include <optional>
#include <string>
#include <string_view>

enum class PlainStream { Output, Errors };

void PrintLine(std::string_view text, PlainStream stream = PlainStream::Output);
// Sends what is left; false (errno set) when something printed did not get through.
bool FinishPrinting();

// Each binding: the text with every byte that could drive its terminal or console shown as "?".
std::string HarmlessPlainText(std::string_view text);

// The locale that says how text is coded (LC_CTYPE: "C", "es_ES.UTF-8"...), and whether it
// knows only ASCII.
std::string CharacterLocale();
bool LocaleIsAscii();

// A command-line argument as typing it into GRAVIX would give it: code page 437 bytes, so a
// name compiled from the command line and one typed at the prompt make the same tape. None
// when a character has no place in code page 437.
std::optional<std::string> ArgumentAsTyped(std::string_view argument);
