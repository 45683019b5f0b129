#include "program/usage.h"

#include <string>

#include "console/console.h"
#include "input/keys.h"
#include "platform/platform.h"
#include "program/text.h"

void ShowUsage(int status) {
  SetTextColor(White);
  WriteLine("GRAVIX es un programa para convertir programas del formato de codigo maquina");
  WriteLine(" de la revista Microhobby a un fichero de cinta que se pueda cargar en un");
  WriteLine(" emulador de Spectrum.");
  WriteLine();
  WriteLine("Uso:     GRAVIX fichero");
  WriteLine(" donde  fichero = Archivo de texto con el codigo a compilar");
  SetTextColor(LightGrey);
  ShowCursor();
  // A console window GRAVIX has to itself (started from the Explorer, or by dropping a file on
  // it) closes with the program: the help and the fatal errors wait for a key first.
  if (ConsoleProcessCount() == 1) {
    WriteText("Pulsa una tecla para cerrar.");
    GetKey();
  }
  EndRun(status);
}

void FatalError(std::string_view message) {
  SetTextColor(Yellow);
  WriteDataText(CutText("  ERROR: " + std::string(message) + "."));
  WriteLine();
  WriteChar(7);
  WriteLine();
  ShowUsage(FatalErrorStatus);
}
