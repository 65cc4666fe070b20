// Writing whole files for the plot window, and removing what a failed write left behind.
#pragma once

#include <cstddef>
#include <string>

namespace tarvik {

// Removes path when it names a regular file. A device (such as /dev/full), a folder or a missing
// path is left alone, so a failed write never deletes anything but the file it was writing.
void RemovePartialFile(const std::string& path);

// Writes size bytes to path, replacing the file. On failure the partial file is removed and error
// holds the path and the system's reason.
bool WriteWholeFile(const std::string& path, const void* data, size_t size, std::string& error);

}  // namespace tarvik
