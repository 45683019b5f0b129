#include "program/command_line.h"

#include <cstdio>

#include "console/io_check.h"
#include "platform/platform.h"
#include "program/usage.h"

namespace {

std::string Quoted(const std::string& fileName) { return "El fichero \"" + fileName + "\""; }

}  // namespace

std::string GetInputFileName(const std::vector<std::string>& arguments) {
  if (arguments.empty()) ShowUsage();
  if (arguments.size() > 1) FatalError("Demasiados parametros");
  // The whole argument names the file; only what is shown of it is cut.
  const std::string& fileName = arguments[0];
  const std::string protectedMessage =
      Quoted(fileName) +
      " esta protegido contra escritura o se encuentra en un dispositivo de solo-lectura";

  // Only regular files are listings: opening a FIFO would wait for a writer, and a device
  // would be read forever.
  const FileKind kind = GetFileKind(fileName);
  if (kind == FileKind::Missing) FatalError(Quoted(fileName) + " no existe");
  if (kind != FileKind::Regular) FatalError(protectedMessage);

  // It exists: a refusal to read it is a matter of permission, not of a missing file.
  FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) FatalError(Quoted(fileName) + " no se puede leer");
  std::fclose(file);
  file = std::fopen(fileName.c_str(), "ab");
  if (!file) FatalError(protectedMessage);
  CheckIo(std::fclose(file) == 0);
  return fileName;
}

std::string GetNewFileName(const std::vector<std::string>& arguments) {
  if (arguments.empty()) ShowUsage();
  if (arguments.size() > 1) FatalError("Demasiados parametros");
  const std::string& fileName = arguments[0];
  // Typing starts only where it can be saved, and never over a file that is there.
  if (GetFileKind(fileName) != FileKind::Missing) FatalError(Quoted(fileName) + " ya existe");
  if (!CanCreateFile(fileName)) FatalError(Quoted(fileName) + " no se puede crear");
  return fileName;
}
