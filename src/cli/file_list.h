// The files the command line names: each file argument as it is, and, with -r, every regular file
// below a folder argument whose name ends in ".ict".
#pragma once

#include <string>
#include <vector>

namespace tarvik::cli {

struct ScanItem {
  std::string path;      // as given, or the folder argument joined with the path found below it
  std::string relative;  // the path its report keeps under --report-dir (see report_paths.h)
  std::string report;    // where its report goes (set by planReports)
};

struct FileList {
  std::vector<ScanItem> items;
  std::vector<std::string> problems;  // one line per folder that could not be read
};

// True when path names a folder (a symbolic link to one included).
bool isFolder(const std::string& path);

// The files of the arguments, in their order; a folder's files in sorted path order (a folder's
// entries by the bytes of their names, a subfolder's files at its place). Below a folder argument,
// symbolic links are not followed and only regular files ending in ".ict" (any case) are taken, so
// reports and ".crlf" backups are left out. A folder that cannot be read is a problem line and the
// walk goes on. A file met again (the same device and inode, or, for a file that does not exist,
// the same absolute path) keeps only its first place.
FileList collectFiles(const std::vector<std::string>& args);

}  // namespace tarvik::cli
