#include "program/plain_forms.h"

#include <string_view>

#include "banner/banner.h"
#include "batch/batch_run.h"
#include "console/plain_output.h"

namespace {

constexpr std::string_view HelpLines[] = {
    "GRAVIX convierte listados de codigo maquina de la revista Microhobby en ficheros de cinta",
    "(.tap) que carga cualquier emulador de Spectrum.",
    "",
    "Uso:",
    "  gravix fichero                          carga el listado, repara la numeracion y lo edita",
    "  gravix --new fichero                    escribe un listado nuevo desde cero",
    "  gravix --check fichero                  comprueba el listado sin cambiar nada",
    "  gravix --tap NOMBRE DUMP BYTES fichero  compila la cinta sin dialogo",
    "  gravix --scan IMAGEN... fichero         lee paginas escaneadas o fotografiadas y escribe",
    "                                          el listado nuevo (las lineas dudosas sin suma)",
    "  gravix --help, -h                       muestra esta ayuda",
    "  gravix --version                        muestra la version",
    "  gravix -- fichero                       un fichero cuyo nombre empieza por -",
    "",
    "--tap: NOMBRE de 1 a 10 caracteres, DUMP de 0 a 65535, BYTES de 1 a 10 por linea.",
    "",
    "Estado de salida: 0 bien; 1 error, o listado con problemas (--check, --tap, --scan);",
    "2 linea de ordenes incorrecta.",
};

}  // namespace

int PrintHelp() {
  for (std::string_view line : HelpLines) PrintLine(line);
  return FinishBatch(BatchDone);
}

int PrintVersion() {
  PrintLine("gravix " + std::string(VersionText));
  return FinishBatch(BatchDone);
}
