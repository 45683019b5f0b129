#include "editor/editor_screen.h"

#include "shell/banner.h"

void DrawEditorScreen() { ShowBanner(); }
void DrawKeyHelp(bool) {}
void DrawEditorPage(int16_t, int16_t, const LineTable&) {}
void DrawListingLine(int, std::string_view) {}
