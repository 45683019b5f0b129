#include "shell/banner.h"

#include <string>

#include "console/console.h"
#include "shell/text.h"

void ShowBanner() {
  ClearScreen();
  SetTextColor(LightRed);
  WriteText("               GRAVIX v");
  WriteText(VersionText);
  WriteLine();
  SetTextColor(LightGreen);
  WriteLine("          Listados de codigo maquina de Microhobby a cinta de Spectrum");
  SetTextColor(LightBlue);
  WriteLine(std::string(80, '-'));
}

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
