#pragma once
// Q, S and X: the listing saved over its file (X asks first whether to leave without saving).
// A save that fails, a listing changed by someone else, or one with no lines never loses what
// the editor holds: the user is told, and the editor goes on.

#include <optional>

#include "console/console.h"
#include "editor/editor_state.h"

struct SaveOutcome {
  bool leave = false;  // the editor is done
  std::optional<RunEnd> end = std::nullopt;
};

SaveOutcome SaveCommand(EditorState& editor, char command);
