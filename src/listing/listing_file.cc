#include "listing/listing_file.h"

#include <cstdio>

namespace {

// Opens and closes the file: none when it would not open; false when it did but the close failed.
std::optional<bool> Opens(const std::string& fileName, const char* mode) {
  FILE* file = std::fopen(fileName.c_str(), mode);
  if (!file) return std::nullopt;
  return std::fclose(file) == 0;
}

}  // namespace

ListingFileCheck CheckListingFile(const std::string& fileName, ListingUse use) {
  const FileKind kind = GetFileKind(fileName);
  if (use == ListingUse::Create) {
    // Typing starts only where it can be saved, and never over a file that is there.
    if (kind != FileKind::Missing) return {ListingFault::Exists};
    if (!CanCreateFile(fileName)) return {ListingFault::CannotCreate};
    return {};
  }
  if (kind == FileKind::Missing) return {ListingFault::Missing};
  // Only regular files are listings: opening a FIFO would wait for a writer, and a device
  // would be read forever.
  if (kind != FileKind::Regular)
    return {use == ListingUse::Edit ? ListingFault::WriteProtected : ListingFault::Unreadable};
  // It exists: a refusal to read it is a matter of permission, not of a missing file.
  if (!Opens(fileName, "rb")) return {ListingFault::Unreadable};
  if (use != ListingUse::Edit) return {};
  const std::optional<bool> closed = Opens(fileName, "ab");
  if (!closed) return {ListingFault::WriteProtected};
  if (!*closed) return {ListingFault::None, LastIoFailure()};
  return {};
}

ListingFault CheckBackupFile(const std::string& backupName) {
  const FileKind kind = GetEntryKind(backupName);
  if (kind != FileKind::Missing && kind != FileKind::Regular && kind != FileKind::Link)
    return ListingFault::BackupNotRegular;
  if (!CanCreateFile(backupName)) return ListingFault::BackupCannotCreate;
  return ListingFault::None;
}

std::string ListingFaultText(ListingFault fault, const std::string& fileName) {
  const std::string file = "El fichero \"" + fileName + "\"";
  switch (fault) {
    case ListingFault::None:
      return "";
    case ListingFault::Missing:
      return file + " no existe";
    case ListingFault::Unreadable:
      return file + " no se puede leer";
    case ListingFault::WriteProtected:
      return file +
             " esta protegido contra escritura o se encuentra en un dispositivo de solo-lectura";
    case ListingFault::Exists:
      return file + " ya existe";
    case ListingFault::CannotCreate:
      return file + " no se puede crear";
    case ListingFault::BackupNotRegular:
      return "El fichero de copia \"" + fileName + "\" no es un fichero normal";
    case ListingFault::BackupCannotCreate:
      return "No se puede crear la copia de seguridad \"" + fileName + "\"";
  }
  return "";
}
