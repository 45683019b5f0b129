// The forms for scripts, run as a script runs them: no terminal, output to files. They never
// write anything but the tape image of a successful --tap, and never a byte of screen control.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;
using std::string;

const string Source = GRAVIX_SOURCE_DIR;

std::set<string> Files(const fs::path& directory) {
  std::set<string> names;
  for (const auto& entry : fs::directory_iterator(directory)) names.insert(entry.path().filename());
  return names;
}

struct Form {
  std::vector<string> arguments;
  int status;
  string output, errors;  // the whole of each; "" when nothing
};

// In a folder holding the two examples; each form leaves the folder as it found it.
TEST(Commands, EachFormAndItsStatus) {
  const string usage = "Uso: gravix --help\n";
  // clang-format off
  const Form forms[] = {
      {{"--version"}, 0, "gravix 0.5a\n", ""},
      {{"-x"}, 2, "", "gravix: opcion desconocida: -x\n" + usage},
      {{"--check"}, 2, "", "gravix: falta el nombre del fichero\n" + usage},
      {{"--check", "borde.txt"}, 0, "Listado correcto: 3 lineas.\n", ""},
      {{"--check", "rayas-errores.txt"}, 1,
       "Linea 6 del fichero: numero de linea \"5\" repetido o fuera de orden, se esperaba 6\n"
       "Linea 7 del fichero: falta la linea 7\n"
       "Linea 3: caracter no valido en la posicion 8.\n"
       "Linea 4: suma escrita 908, calculada 905. Pista: posicion 6: B en vez de 8; posicion "
       "16: B en vez de 8\n"
       "Linea 5: suma escrita 305, calculada 350. Pista: posiciones 19-20: 14 en vez de 41; "
       "suma 350 en vez de 305\n"
       "Listado con problemas: 8 lineas; incorrectas: 3; problemas de numeracion: 2.\n", ""},
      {{"--check", "grande.txt"}, 1,
       "Memoria llena o mas de 5000 lineas: solo se cargan las 5000 primeras\n"
       "Listado con problemas: 5000 lineas; incorrectas: 0; problemas de numeracion: 1.\n", ""},
      {{"--check", "falta.txt"}, 1, "", "ERROR: El fichero \"falta.txt\" no existe.\n"},
      {{"--check", "borde.txt", "rayas.txt"}, 1, "", "ERROR: Demasiados parametros.\n"},
      {{"--tap", "BORDE", "65536", "27", "borde.txt"}, 2, "",
       "gravix: DUMP debe ser un numero de 0 a 65535\n" + usage},
      {{"--tap", "BORDE", "0", "31", "borde.txt"}, 2, "",
       "gravix: BYTES debe ser un numero de 1 a 30\n" + usage},
      {{"--tap", "ABCDEFGHIJK", "0", "1", "borde.txt"}, 2, "",
       "gravix: NOMBRE debe tener de 1 a 10 caracteres\n" + usage},
      {{"--tap", "X", "0", "1", "rayas-errores.txt"}, 1, "",
       "ERROR: El listado necesita el dialogo de numeracion.\nLinea 6 del fichero: numero de "
       "linea \"5\" repetido o fuera de orden, se esperaba 6\n"}};
  // clang-format on
  string overTheTable;
  for (int line = 1; line <= 5001; ++line)
    overTheTable += std::to_string(line) + " 00000000000000000000 0\n";
  for (const Form& form : forms) {
    TempDir dir;
    for (const char* name : {"borde.txt", "rayas-errores.txt"})
      fs::copy(Source + "/examples/" + name, dir.path / name);
    WriteBytes(dir / "grande.txt", overTheTable);
    std::vector<string> command = form.arguments;
    command.insert(command.begin(), GRAVIX_PROGRAM);
    const PlainRun run = RunPlain(command, dir.path);
    const string shown = testing::PrintToString(form.arguments);
    EXPECT_EQ(run.status, form.status) << shown;
    EXPECT_EQ(run.output, form.output) << shown;
    EXPECT_EQ(run.errors, form.errors) << shown;
    EXPECT_EQ(Files(dir.path), (std::set<string>{"borde.txt", "grande.txt", "rayas-errores.txt"}))
        << shown;
  }
  // The examples load without a question and compile to what their assembler sources say:
  // the data block pasmo assembles, blocks tzxlist finds whole; the listing left as it was.
  for (const string example : {"borde", "rayas"}) {
    TempDir dir;
    const string source = Source + "/examples/" + example, bin = dir / "rutina.bin";
    ASSERT_EQ(std::system(("pasmo --bin '" + source + ".asm' '" + bin + "' >&2").c_str()), 0);
    const string routine = ReadBytes(bin), count = std::to_string(routine.size());
    fs::copy(source + ".txt", dir.path / "juego.txt");
    const PlainRun run =
        RunPlain({GRAVIX_PROGRAM, "--tap", "RUTINA", "32768", count, "juego.txt"}, dir.path);
    EXPECT_EQ(run.output,
              "Archivo: juego.tap\nPrograma: \"RUTINA    \"   #   Dump: 32768   #   "
              "Bytes: " +
                  count + "\n");
    const string image = ReadBytes(dir / "juego.tap");
    EXPECT_EQ(image.substr(24, image.size() - 25), routine);
    const PlainRun listed = RunPlain({"tzxlist", "juego.tap"}, dir.path);
    EXPECT_EQ(listed.output.find("(FAIL)"), string::npos) << listed.output;
    EXPECT_NE(listed.output.find("Bytes: \"RUTINA    \" CODE  32768, " + count), string::npos);
    EXPECT_EQ(ReadBytes(dir / "juego.txt"), ReadBytes(source + ".txt"));
    EXPECT_EQ(Files(dir.path), (std::set<string>{"juego.tap", "juego.txt", "rutina.bin"}));
  }
  // The help names every form, in plain text.
  const PlainRun help = RunPlain({GRAVIX_PROGRAM, "-h"}, Source);
  EXPECT_EQ(help.status, 0);
  for (const char* form :
       {"gravix fichero", "gravix --new fichero", "gravix --check fichero",
        "gravix --tap NOMBRE DUMP BYTES fichero", "--help", "--version", "gravix -- fichero"})
    EXPECT_NE(help.output.find(form), string::npos) << form;
  EXPECT_EQ(help.output.find('\x1b'), string::npos);
}

}  // namespace
