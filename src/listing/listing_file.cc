#include "listing/listing_file.h"

#include <cstdio>

namespace {

// A byte-order mark, or every other byte of the first line a NUL: UTF-16 text.
bool LooksLikeUtf16(const std::string& fileName) {
  FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) return false;
  char start[512];
  const size_t got = std::fread(start, 1, sizeof start, file);
  std::fclose(file);
  const std::string_view bytes(start, got);
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return true;
  const std::string_view line = bytes.substr(0, bytes.find('\n'));
  if (line.size() < 4) return false;
  for (size_t first : {0, 1}) {
    bool everyOtherNul = true;
    for (size_t k = first; k < line.size() && everyOtherNul; k += 2) everyOtherNul = line[k] == 0;
    if (everyOtherNul) return true;
  }
  return false;
}

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
  if (kind == FileKind::Directory) return {ListingFault::Folder};
  if (kind != FileKind::Regular) return {ListingFault::NotRegular};
  // It exists: a refusal to read it is a matter of permission, not of a missing file.
  if (!Opens(fileName, "rb")) return {ListingFault::Unreadable};
  if (LooksLikeUtf16(fileName)) return {ListingFault::Utf16};
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
    case ListingFault::Folder:
      return "\"" + fileName + "\" es una carpeta, no un fichero";
    case ListingFault::NotRegular:
      return "\"" + fileName + "\" no es un fichero normal";
    case ListingFault::Utf16:
      return file + " esta en UTF-16; guardalo como texto ASCII o UTF-8";
    case ListingFault::BackupNotRegular:
      return "El fichero de copia \"" + fileName + "\" no es un fichero normal";
    case ListingFault::BackupCannotCreate:
      return "No se puede crear la copia de seguridad \"" + fileName + "\"";
  }
  return "";
}
