#pragma once
// The C library reports through errno, the Win32 calls through GetLastError. The file
// operations written with Win32 calls set errno too, so callers see one kind of failure.

// Sets errno from GetLastError (EIO where no closer number exists).
void SetErrnoFromLastError();
