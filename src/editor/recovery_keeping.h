#pragma once
// The editor's side of the recovery file: brought up to date after each change of line and
// after a second without a key, never while a key waits to be taken, so typing never waits for
// it; brought up to date at once when the run must end; gone once nothing is left unsaved.

#include "console/console.h"
#include "editor/editor_state.h"

// Before each key wait.
void KeepRecoveryWhileIdle(EditorState& editor);
// The run ends (an end signal, the console gone): what is not saved goes to the recovery file
// first. Hands the end on.
RunEnd PutWorkAside(EditorState& editor, RunEnd end);
// Saved, or left on purpose: nothing to recover.
void ForgetRecovery(EditorState& editor);
