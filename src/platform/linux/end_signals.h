#pragma once
// The signals that end a run. The console restores the terminal on each before the run ends
// by it; a file being replaced holds them until the file is whole.

#include <csignal>

constexpr int EndSignals[] = {SIGTERM, SIGHUP, SIGQUIT, SIGINT};
