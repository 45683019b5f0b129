#pragma once
// Names derived from the listing's name: the backup and the tape image sit beside it.

#include <string>
#include <string_view>

// The name without its last extension: prog.txt gives prog, a.b.c gives a.b; a dot in a
// directory name (dir.x/prog) is never taken for one.
std::string RemoveExtension(std::string_view fileName);

// The listing's name with its extension replaced by extension (".bak", ".tap"). Never the
// listing itself: a listing called x.bak, or the same file under that name, keeps its whole
// name and gets the extension added, as often as it takes.
std::string DerivedFileName(const std::string& fileName, std::string_view extension);
