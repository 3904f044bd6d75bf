#pragma once
// What the system itself costs for the files of a folder, with none of the program's code: the
// floor each of the program's figures is read against. Paths are as the system takes them (the
// benchmark's command line), not the program's backslash form.

#include <cstddef>
#include <string>
#include <vector>

namespace glyvora::bench {

// Every file below `folder`, breadth-first, with one directory search of the system's own per
// folder (FindFirstFile/FindNextFile, opendir/readdir).
std::vector<std::string> systemWalk(const std::string& folder);

// Opens each file, reads its first 4 KiB and closes it; the number of files that could be opened.
std::size_t readFirstBlocks(const std::vector<std::string>& files);

// Whether the system has private font resources (GDI has; POSIX has none).
bool hasPrivateFonts();
// AddFontResourceExA / RemoveFontResourceExA with FR_PRIVATE for each file; the number of files
// the system accepted. Nothing without private font resources.
std::size_t addPrivately(const std::vector<std::string>& files);
std::size_t removePrivately(const std::vector<std::string>& files);

} // namespace glyvora::bench
