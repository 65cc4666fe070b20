#include "cli/report_paths.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

namespace tarvik::cli {

namespace fs = std::filesystem;

namespace {

const char* const kReportSuffix = "__diagnostic.htm";

const fs::path& currentFolder() {
  static const fs::path cwd = [] {
    std::error_code ec;
    fs::path p = fs::current_path(ec);
    return ec ? fs::path("/") : p;
  }();
  return cwd;
}

bool makeFolders(const std::string& folder, std::string& reason) {
  if (folder.empty() || ::mkdir(folder.c_str(), 0777) == 0) return true;
  int err = errno;
  if (err == ENOENT) {
    // A folder above is missing: make it, then this one.
    size_t end = folder.find_last_not_of('/');
    size_t slash = end == std::string::npos ? std::string::npos : folder.find_last_of('/', end);
    if (slash != std::string::npos && slash > 0) {
      if (!makeFolders(folder.substr(0, slash), reason)) return false;
      if (::mkdir(folder.c_str(), 0777) == 0) return true;
      err = errno;
    }
  }
  if (err == EEXIST) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      return true;  // made by another job, or there
    reason = "cannot create the folder " + folder + ": a file of that name is in the way";
    return false;
  }
  reason = "cannot create the folder " + folder + ": " + std::generic_category().message(err);
  return false;
}

}  // namespace

std::string absoluteNormalPath(const std::string& path) {
  const fs::path p(path);
  return (p.is_absolute() ? p : currentFolder() / p).lexically_normal().string();
}

std::string relativeOfArgument(const std::string& path) {
  const fs::path normal = fs::path(path).lexically_normal();
  fs::path out;
  bool leading = true;
  for (const fs::path& part : normal.relative_path()) {
    if (part.empty() || part == ".") continue;
    if (leading && part == "..") continue;
    leading = false;
    out /= part;
  }
  std::string s = out.string();
  if (s.empty()) s = fs::path(path).filename().string();  // nothing but "/", "." and ".." parts
  return s;
}

void planReports(std::vector<ScanItem>& items, const std::string& reportDir) {
  std::unordered_set<std::string> taken;
  std::unordered_map<std::string, int> nextNumber;  // per base, the number to try first
  taken.reserve(items.size() * 2);
  const std::string dir = reportDir.empty() || reportDir.back() == '/' ? reportDir : reportDir + "/";
  for (ScanItem& item : items) {
    const std::string base = reportDir.empty() ? item.path : dir + item.relative;
    item.report = base + kReportSuffix;
    if (taken.insert(absoluteNormalPath(item.report)).second) continue;
    int& n = nextNumber.try_emplace(absoluteNormalPath(base), 2).first->second;
    for (;; ++n) {
      item.report = base + "__diagnostic-" + std::to_string(n) + ".htm";
      if (taken.insert(absoluteNormalPath(item.report)).second) break;
    }
    ++n;
  }
}

bool makeReportFolder(const std::string& reportPath, std::string& reason) {
  const size_t slash = reportPath.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return true;  // the current folder, or "/"
  return makeFolders(reportPath.substr(0, slash), reason);
}

}  // namespace tarvik::cli
