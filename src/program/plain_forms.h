#pragma once
// --help and --version answer in plain text, without the screen, and return the exit status.

int PrintHelp();
int PrintVersion();
