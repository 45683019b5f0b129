#include "listing/loader.h"

#include "shell/command_line.h"

void LoadListing(const std::string&, LineTable& table, LoadBudget&) { table.count = 0; }

std::string BackupFileName(const std::string& fileName) { return RemoveExtension(fileName) + ".bak"; }
