#include "program/usage.h"

#include <string>

#include "banner/banner.h"
#include "batch/batch_run.h"
#include "console/plain_output.h"
#include "input/keys.h"
#include "program/text.h"

namespace {

// What GRAVIX is: the first rows of both forms of the help.
constexpr std::string_view Introduction[] = {
    "GRAVIX es un programa para convertir programas del formato de codigo maquina",
    " de la revista Microhobby a un fichero de cinta que se pueda cargar en un",
    " emulador de Spectrum.",
};

constexpr std::string_view ScreenUsage[] = {
    "Uso:     GRAVIX fichero",
    " donde  fichero = Archivo de texto con el codigo a compilar",
    " Las demas formas de uso: gravix --help",
};

constexpr std::string_view PlainUsage[] = {
    "Uso:",
    "  gravix fichero                          carga el listado, repara la numeracion y lo edita",
    "  gravix --new fichero                    escribe un listado nuevo desde cero",
    "  gravix --check fichero                  comprueba el listado sin cambiar nada",
    "  gravix --tap NOMBRE DUMP BYTES fichero  compila la cinta sin dialogo",
    "  gravix --tap NOMBRE DUMP BYTES --usr DIRECCION fichero",
    "                                          la cinta con un cargador que la arranca",
    "  gravix --scan IMAGEN... fichero         lee paginas escaneadas o fotografiadas y escribe",
    "                                          el listado nuevo (las lineas dudosas sin suma)",
    "  gravix --help, -h                       muestra esta ayuda",
    "  gravix --version                        muestra la version",
    "  gravix -- fichero                       un fichero cuyo nombre empieza por -",
    "",
    "--tap: NOMBRE de 1 a 10 caracteres, DUMP de 0 a 65535, BYTES de 1 a 10 por linea (sin",
    "pasar de la direccion 65535), DIRECCION de 0 a 65535.",
    "",
    "Estado de salida: 0 bien; 1 error, o listado con problemas (--check, --tap, --scan);",
    "2 linea de ordenes incorrecta.",
};

}  // namespace

RunEnd ShowUsage(int status) {
  SetTextColor(White);
  for (std::string_view line : Introduction) WriteLine(line);
  WriteLine();
  for (std::string_view line : ScreenUsage) WriteLine(line);
  SetTextColor(LightGrey);
  ShowCursor();
  // A console window GRAVIX has to itself (started from the Explorer, or by dropping a file on
  // it) closes with the program: the help and the fatal errors wait for a key first.
  if (ConsoleProcessCount() == 1) {
    WriteText("Pulsa una tecla para cerrar.");
    if (const Key key = GetKey(); key.end) return *key.end;
  }
  return {RunEnd::Exit, status};
}

RunEnd FatalError(std::string_view message) {
  SetTextColor(Yellow);
  WriteDataText(CutText("  ERROR: " + LocaleTextOnScreen(message) + "."));
  WriteLine();
  WriteChar(7);
  WriteLine();
  return ShowUsage(FatalErrorStatus);
}

RunEnd PlainFatalError(std::string_view message) {
  ReleaseScreen();
  PrintLine("  ERROR: " + std::string(message) + ".");
  PrintLine("");
  for (std::string_view line : Introduction) PrintLine(line);
  PrintLine("");
  for (std::string_view line : ScreenUsage) PrintLine(line);
  return {RunEnd::Exit, FinishBatch(FatalErrorStatus)};
}

int PrintHelp() {
  for (std::string_view line : Introduction) PrintLine(line);
  PrintLine("");
  for (std::string_view line : PlainUsage) PrintLine(line);
  return FinishBatch(BatchDone);
}

int PrintVersion() {
  PrintLine("gravix " + std::string(VersionText));
  return FinishBatch(BatchDone);
}
