// What the command line needs of the process it runs in: its arguments as
// UTF-8, standard output and error that reach the person who started it,
// and two questions about files and streams.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace platform::process {

// The program's arguments, argv[0] included, as UTF-8. On Windows they are
// read from the system's UTF-16 command line, so that any file name comes
// through; argc and argv are what main received.
std::vector<std::string> Arguments(int argc, char** argv);

// Makes standard output and error reach the console the program was started
// from. A window program on Windows starts without them; on Linux they are
// there already.
void UseStartingConsole();

// Whether stream is a terminal (a console), where a line can be rewritten.
bool IsTerminal(std::FILE* stream);

// Whether the file at path (UTF-8) can be written: an existing file that is
// not read-only, or a new file in a folder that can be written.
bool CanWriteFile(const std::string& path);

} // namespace platform::process
