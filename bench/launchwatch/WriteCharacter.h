#pragma once

// Writes the benchmark character (BenchCharacter.h) to path, for the editor to
// open at launch. False when the file cannot be written. Free of Qt headers, so
// that the X watcher can call it.
bool WriteBenchCharacter(const char *path);
