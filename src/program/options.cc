#include "program/options.h"

namespace {

constexpr size_t TapAnswerCount = 3;

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine commandLine;
  bool help = false, version = false, optionsEnded = false;
  auto setMode = [&](RunMode mode, const std::string& option) {
    if (commandLine.mode != RunMode::Edit && commandLine.misuse.empty())
      commandLine.misuse = option + " no se puede usar con --new, --check, --tap ni --scan";
    commandLine.mode = mode;
  };
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      commandLine.files.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      help = true;
    } else if (argument == "--version") {
      version = true;
    } else if (argument == "--new") {
      setMode(RunMode::New, argument);
    } else if (argument == "--check") {
      setMode(RunMode::Check, argument);
    } else if (argument == "--usr") {
      if (i + 1 < arguments.size())
        commandLine.startAddress = arguments[++i];
      else if (commandLine.misuse.empty())
        commandLine.misuse = "--usr necesita DIRECCION";
    } else if (argument == "--scan") {
      setMode(RunMode::Scan, argument);
    } else if (argument == "--tap") {
      setMode(RunMode::Tap, argument);
      // The answers are taken as they come: a name may well begin with "-".
      for (size_t k = 0; k < TapAnswerCount && i + 1 < arguments.size(); ++k)
        commandLine.tapAnswers.push_back(arguments[++i]);
    } else if (commandLine.misuse.empty()) {
      commandLine.misuse = "opcion desconocida: " + argument;
    }
  }
  const bool tapShort = commandLine.tapAnswers.size() < TapAnswerCount || commandLine.files.empty();
  if (commandLine.mode == RunMode::Tap && tapShort && commandLine.misuse.empty())
    commandLine.misuse = "--tap necesita NOMBRE DUMP BYTES y el fichero";
  if (commandLine.startAddress && commandLine.mode != RunMode::Tap && commandLine.misuse.empty())
    commandLine.misuse = "--usr solo sirve con --tap";
  if (commandLine.mode == RunMode::Scan && commandLine.files.size() == 1 &&
      commandLine.misuse.empty())
    commandLine.misuse = "--scan necesita al menos una imagen y el fichero";
  if (commandLine.mode != RunMode::Edit && commandLine.files.empty() && commandLine.misuse.empty())
    commandLine.misuse = "falta el nombre del fichero";
  // --help and --version stand alone: a word beside them was meant for something else.
  const bool alone = arguments.size() == 1;
  if ((help || version) && !alone && commandLine.misuse.empty())
    commandLine.misuse = std::string(help ? "--help" : "--version") + " no lleva nada mas";
  if (help && alone) commandLine.mode = RunMode::Help;
  if (version && alone) commandLine.mode = RunMode::Version;
  if (!commandLine.misuse.empty()) commandLine.mode = RunMode::Misuse;
  return commandLine;
}
