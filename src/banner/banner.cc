#include "banner/banner.h"

#include <string>

#include "console/console.h"

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
