#include "listing/listing_file.h"

#include <cstdio>

#include "console/io_check.h"
#include "platform/platform.h"

namespace {

std::string Quoted(const std::string& fileName) { return "El fichero \"" + fileName + "\""; }

bool Opens(const std::string& fileName, const char* mode, bool closeChecked = false) {
  FILE* file = std::fopen(fileName.c_str(), mode);
  if (!file) return false;
  const bool closed = std::fclose(file) == 0;
  if (closeChecked) CheckIo(closed);
  return true;
}

}  // namespace

std::optional<std::string> ListingFileProblem(const std::string& fileName, ListingUse use) {
  const FileKind kind = GetFileKind(fileName);
  if (use == ListingUse::Create) {
    // Typing starts only where it can be saved, and never over a file that is there.
    if (kind != FileKind::Missing) return Quoted(fileName) + " ya existe";
    if (!CanCreateFile(fileName)) return Quoted(fileName) + " no se puede crear";
    return std::nullopt;
  }
  const std::string unreadable = Quoted(fileName) + " no se puede leer";
  const std::string protectedFile =
      Quoted(fileName) +
      " esta protegido contra escritura o se encuentra en un dispositivo de solo-lectura";
  if (kind == FileKind::Missing) return Quoted(fileName) + " no existe";
  // Only regular files are listings: opening a FIFO would wait for a writer, and a device
  // would be read forever.
  if (kind != FileKind::Regular) return use == ListingUse::Edit ? protectedFile : unreadable;
  // It exists: a refusal to read it is a matter of permission, not of a missing file.
  if (!Opens(fileName, "rb")) return unreadable;
  if (use == ListingUse::Edit && !Opens(fileName, "ab", true)) return protectedFile;
  return std::nullopt;
}
