// Where the reports go: beside their files, or under the folder of --report-dir; no two files share
// a report.
#pragma once

#include <string>
#include <vector>

#include "cli/file_list.h"

namespace tarvik::cli {

// The path made absolute against the current folder and lexically normal ("." parts and "x/.."
// pairs removed; symbolic links are not looked at).
std::string absoluteNormalPath(const std::string& path);

// The path a file argument keeps under a report folder: lexically normal, less any leading "/" and
// ".." parts, so that it never leaves the report folder ("../a/x.ict" and "/a/x.ict" give "a/x.ict").
std::string relativeOfArgument(const std::string& path);

// Sets each item's report: its path + "__diagnostic.htm", or with a report folder
// reportDir/relative + "__diagnostic.htm". A report that an earlier item already has (the same
// absolute path) goes to the first free NAME__diagnostic-N.htm instead, N = 2, 3, ...
void planReports(std::vector<ScanItem>& items, const std::string& reportDir);

// Creates the folder the report goes into and any missing folder above it; false with a reason
// that names the folder.
bool makeReportFolder(const std::string& reportPath, std::string& reason);

}  // namespace tarvik::cli
