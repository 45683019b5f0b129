// The program's ends: before the editor in a real terminal; the forms for scripts run as a
// script runs them, with no terminal, writing nothing but the tape image of a successful --tap.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "e2e/terminal.h"

namespace {

using std::string;

const string Examples = GRAVIX_SOURCE_DIR "/examples/";
const string Protected =
    "\" esta protegido contra escritura o se encuentra en un dispositivo de solo-lectura";
// No file system takes a 300-character name: it runs through folders.
const string LongFolder = string(120, 'a') + "/" + string(120, 'b') + "/" + string(58, 'd');

struct StartEnd {
  string name;
  ProgramOptions options;
  string error;  // between "  ERROR: " and "."; none: the help alone, status 0
};
// clang-format off
const StartEnd StartEnds[] = {
    {"Help", {}, ""},
    {"TwoNames", {.arguments = {"a.txt", "b.txt"}}, "Demasiados parametros"},
    // A name outside ASCII is shown as itself.
    {"Missing", {.arguments = {"canci\xc3\xb3n.txt"}}, "El fichero \"canci\xc3\xb3n.txt\" no existe"},
    {"Folder", {.arguments = {"carpeta.txt"}}, "\"carpeta.txt\" es una carpeta, no un fichero"},
    {"Fifo", {.arguments = {"tuberia.txt"}}, "\"tuberia.txt\" no es un fichero normal"},  // no wait
    {"ReadOnly", {.arguments = {"solo.txt"}, .unprivileged = true},
     "El fichero \"solo.txt" + Protected},
    {"Utf16", {.arguments = {"ancho.txt"}},
     "El fichero \"ancho.txt\" esta en UTF-16; guardalo como texto ASCII o UTF-8"},
    {"Unreadable", {.arguments = {"oculto.txt"}, .unprivileged = true},
     "El fichero \"oculto.txt\" no se puede leer"},
    // Shown cut, used whole: the cut name would be another file.
    {"LongName", {.arguments = {LongFolder}}, "\"" + LongFolder + "\" es una carpeta, no un fichero"},
    {"NewOverAFile", {.arguments = {"--new", "solo.txt"}}, "El fichero \"solo.txt\" ya existe"},
    {"NewInNoFolder", {.arguments = {"--new", "falta/nuevo.txt"}},
     "El fichero \"falta/nuevo.txt\" no se puede crear"},
    // A backup name that cannot take a backup is found before anything is asked.
    {"BackupAFifo", {.arguments = {"copia.txt"}},
     "El fichero de copia \"copia.bak\" no es un fichero normal"},
    {"BackupInAReadOnlyFolder", {.arguments = {"fija/juego.txt"}, .unprivileged = true},
     "No se puede crear la copia de seguridad \"fija/juego.bak\""}};
// clang-format on
void PrintTo(const StartEnd& end, std::ostream* out) { *out << end.name; }
class StartupEnd : public ::testing::TestWithParam<StartEnd> {};

TEST_P(StartupEnd, ShowsBannerErrorAndHelpInColourWithItsStatus) {
  const string& asked = GetParam().error;
  const string error = asked.empty() ? "" : ("  ERROR: " + asked + ".").substr(0, 255);
  TempDir dir;
  std::filesystem::create_directories(dir.path / LongFolder);
  std::filesystem::create_directory(dir.path / "carpeta.txt");
  ASSERT_EQ(mkfifo((dir / "tuberia.txt").c_str(), 0666) | mkfifo((dir / "copia.bak").c_str(), 0666),
            0);
  std::filesystem::create_directory(dir.path / "fija");
  for (auto [name, mode] : {std::pair{"solo.txt", 0444},
                            {"oculto.txt", 0200},
                            {"copia.txt", 0644},
                            {"fija/juego.txt", 0666}}) {
    WriteBytes(dir / name, ZeroLines(1, 1));
    ASSERT_EQ(chmod((dir / name).c_str(), mode), 0);
  }
  ASSERT_EQ(chmod((dir / "fija").c_str(), 0555), 0);
  WriteBytes(dir / "ancho.txt", string("1\0 \0"
                                       "0\0"
                                       "0\0\n\0",
                                       10));
  ProgramOptions options = GetParam().options;
  options.directory = dir.path;
  Terminal term(options);
  if (!term.StartError().empty() && options.unprivileged) GTEST_SKIP() << term.StartError();
  ASSERT_TRUE(term.WaitForExit()) << term.StartError() << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(1), "               GRAVIX v" GRAVIX_VERSION_TEXT);
  EXPECT_EQ(term.Colour(16, 1), 12);
  EXPECT_EQ(term.TrimmedRow(3), string(80, '-'));
  // The error in yellow, a bell and an empty row, then the help.
  const int help = error.empty() ? 4 : 6 + static_cast<int>(error.size() - 1) / 80;
  string shown;
  for (int row = 4; row < help - 1; ++row) shown += term.Text(1, row, 80);
  EXPECT_EQ(shown.erase(shown.find_last_not_of(' ') + 1), error);
  EXPECT_EQ(term.Colour(3, 4), error.empty() ? 15 : 14);
  EXPECT_EQ(term.RawOutput().find('\a') != string::npos, !error.empty());
  EXPECT_EQ(term.TrimmedRow(help),
            "GRAVIX es un programa para convertir programas del formato de codigo maquina");
  EXPECT_EQ(term.TrimmedRow(help + 5),
            " donde  fichero = Archivo de texto con el codigo a compilar");
  EXPECT_EQ(term.TrimmedRow(help + 6), " Las demas formas de uso: gravix --help");
  EXPECT_EQ(term.Colour(59, help + 5), 15);
  EXPECT_EQ(std::tuple(term.CursorRow(), term.CursorColumn(), term.CursorVisible()),
            std::tuple(help + 7, 1, true));
  EXPECT_EQ(term.RawOutput().find("\x1b[8;25;80t"), string::npos);  // only a small one is asked
  EXPECT_EQ(term.ExitCode(), error.empty() ? 0 : 1);
}

// A terminal smaller than 80x25 that cannot grow is asked to, given back as it was, and told so
// in plain lines it wraps, readable whole.
TEST(StartupEnd, ATerminalTooSmallIsToldInLinesItWraps) {
  TempDir dir;
  WriteBytes(dir / "juego.txt", Borde);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.path, .rows = 20, .columns = 60});
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_NE(term.RawOutput().find("\x1b[8;25;80t"), string::npos);
  EXPECT_EQ(term.ExitCode(), 1);
  EXPECT_TRUE(term.SettingsAsBefore());
  string lines = term.ScreenDump();
  lines.erase(std::remove(lines.begin(), lines.end(), '\n'), lines.end());
  for (const char* text : {"  ERROR: La ventana del terminal es menor de 80x25 caracteres.",
                           " donde  fichero = Archivo de texto con el codigo a compilar"})
    EXPECT_NE(lines.find(text), string::npos) << term.ScreenDump();
}
INSTANTIATE_TEST_SUITE_P(Runs, StartupEnd, ::testing::ValuesIn(StartEnds),
                         [](const auto& info) { return info.param.name; });

// In a folder holding the two examples; each form leaves the folder as it found it.
TEST(Commands, EachFormAndItsStatus) {
  const string Usage = "Uso: gravix --help\n";  // after every misuse
  // clang-format off
  const struct {
    std::vector<string> arguments;
    int status;
    string output, errors;  // the whole of each, but the usage line of every misuse (status 2)
  } forms[] = {
      {{"--version"}, 0, "gravix " GRAVIX_VERSION_TEXT "\n", ""},
      {{"-x"}, 2, "", "gravix: opcion desconocida: -x\n" + Usage},
      {{"--check", "borde.txt"}, 0, "Listado correcto: 3 lineas.\n", ""},
      // Its lower-case digit is read as a capital; the zero line put in for line 7 is to type.
      {{"--check", "rayas-errores.txt"}, 1,
       "Linea 6 del fichero: numero de linea \"5\" repetido o fuera de orden, se esperaba 6\n"
       "Linea 7 del fichero: falta la linea 7\n"
       "Linea 4: suma escrita 908, calculada 905. Pista: posicion 6: B en vez de 8; posicion "
       "16: B en vez de 8\n"
       "Linea 5: suma escrita 305, calculada 350. Pista: posiciones 19-20: 14 en vez de 41; "
       "suma 350 en vez de 305\n"
       "Linea 7: falta la suma.\n"
       "Listado con problemas: 8 lineas; 3 incorrectas; 2 problemas de numeracion.\n", ""},
      {{"--check", "grande.txt"}, 1,
       "Memoria llena o mas de 5000 lineas: solo se cargan las 5000 primeras\n"
       "Listado con problemas: 5000 lineas; 0 incorrectas; 1 problema de numeracion.\n", ""},
      // Escape and a C1 control (in UTF-8) never reach a terminal; a letter does.
      {{"--check", "hostil.txt"}, 1, "Linea 2 del fichero: numero de linea \"??\xc2\xaa\" ilegible, "
       "se esperaba 2\nListado con problemas: 2 lineas; 0 incorrectas; 1 problema de numeracion.\n", ""},
      {{"--check", "falta.txt"}, 1, "", "ERROR: El fichero \"falta.txt\" no existe.\n"},
      {{"--check", "."}, 1, "", "ERROR: \".\" es una carpeta, no un fichero.\n"},
      // The screen needs a terminal: standard input is /dev/null here. Nothing is written.
      {{"borde.txt"}, 2, "", "gravix: hace falta un terminal de 80x25 caracteres; para scripts: "
       "--check, --tap\n"},
      {{"--help", "borde.txt"}, 2, "", "gravix: --help no lleva nada mas\n" + Usage},
      // A short line with no line number is no line of the listing; one with a number is.
      {{"--check", "corto.txt"}, 1, "Linea 2 del fichero: no es una linea del listado\n"
       "Linea 1: 4 digitos en vez de 20; falta la suma.\n"
       "Listado con problemas: 2 lineas; 1 incorrecta; 1 problema de numeracion.\n", ""},
      {{"--tap", "B", "65536", "27", "borde.txt"}, 2, "", "gravix: DUMP debe ser un numero de 0 a 65535\n" + Usage},
      {{"--tap", "A\x1b", "0", "1", "borde.txt"}, 2, "",
       "gravix: NOMBRE no puede llevar caracteres de control\n" + Usage},
      {{"--tap", "B", "0", "31", "borde.txt"}, 2, "", "gravix: BYTES debe ser un numero de 1 a 30\n" + Usage},
      // Code past 65535 would wrap round into the ROM.
      {{"--tap", "B", "65528", "27", "--usr", "65528", "borde.txt"}, 2, "",
       "gravix: BYTES debe ser un numero de 1 a 8\n" + Usage},
      {{"--tap", "X", "0", "1", "vacio.txt"}, 1, "", "ERROR: El listado no tiene lineas.\n"},
      {{"--tap", "X", "0", "1", "rayas-errores.txt"}, 1, "",
       "ERROR: El listado necesita el dialogo de numeracion.\nLinea 6 del fichero: numero de "
       "linea \"5\" repetido o fuera de orden, se esperaba 6\n"}};
  // clang-format on
  for (const auto& [arguments, status, output, errors] : forms) {
    TempDir dir;
    for (const char* name : {"borde.txt", "rayas-errores.txt"})
      std::filesystem::copy(Examples + name, dir.path / name);
    WriteBytes(dir / "grande.txt", ZeroLines(1, 5001));
    WriteBytes(dir / "vacio.txt", "");
    WriteBytes(dir / "corto.txt", "1 07D3\nFIN\n" + Borde.substr(27, 27));
    WriteBytes(dir / "hostil.txt",
               Borde.substr(0, 27) + "\x1b\xc2\x9b\xc2\xaa" + Borde.substr(28, 26));
    std::vector<string> command = arguments;
    command.insert(command.begin(), GRAVIX_PROGRAM);
    const PlainRun run = RunPlain(command, dir.path);
    EXPECT_EQ(std::tie(run.status, run.output, run.errors), std::tuple(status, output, errors))
        << testing::PrintToString(arguments);
    EXPECT_EQ(Files(dir.path), (std::set<string>{"borde.txt", "corto.txt", "grande.txt",
                                                 "hostil.txt", "rayas-errores.txt", "vacio.txt"}));
  }
  // The examples load without a question and compile to what their assembler sources say:
  // the data block pasmo assembles, blocks tzxlist finds whole; the listing left as it was.
  for (const string example : {"borde", "rayas"}) {
    TempDir dir;
    const string source = Examples + example, bin = dir / "rutina.bin";
    ASSERT_EQ(RunPlain({"pasmo", "--bin", source + ".asm", bin}, dir.path).status, 0);
    const string routine = ReadBytes(bin), count = std::to_string(routine.size());
    std::filesystem::copy(source + ".txt", dir.path / "juego.txt");
    EXPECT_EQ(
        RunPlain({GRAVIX_PROGRAM, "--tap", "R", "32768", count, "juego.txt"}, dir.path).output,
        "Archivo: juego.tap\nPrograma: \"R         \"   #   Dump: 32768   #   Bytes: " + count +
            "\n");
    const string image = ReadBytes(dir / "juego.tap");
    EXPECT_EQ(image.substr(24, image.size() - 25), routine);
    const string listed = RunPlain({"tzxlist", "juego.tap"}, dir.path).output;
    EXPECT_EQ(listed.find("(FAIL)"), string::npos) << listed;
    EXPECT_NE(listed.find("Bytes: \"R         \" CODE  32768, " + count), string::npos);
    EXPECT_EQ(ReadBytes(dir / "juego.txt"), ReadBytes(source + ".txt"));
    EXPECT_EQ(Files(dir.path), (std::set<string>{"juego.tap", "juego.txt", "rutina.bin"}));
  }
  // The help in plain text, for a pipe.
  const PlainRun help = RunPlain({GRAVIX_PROGRAM, "-h"}, Examples);
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("gravix --tap NOMBRE DUMP BYTES fichero"), string::npos);
  EXPECT_EQ(help.output.find('\x1b'), string::npos);
}

}  // namespace
