#include "cli/file_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <unordered_set>
#include <utility>

#include "cli/report_paths.h"

namespace tarvik::cli {

namespace {

using FileKey = std::pair<dev_t, ino_t>;

struct FileKeyHash {
  size_t operator()(const FileKey& k) const noexcept {
    return std::hash<unsigned long long>()(static_cast<unsigned long long>(k.second) * 1000003u ^
                                           static_cast<unsigned long long>(k.first));
  }
};

bool endsWithIct(const char* name, size_t len) {
  if (len < 4) return false;
  const char* e = name + len - 4;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return e[0] == '.' && lower(e[1]) == 'i' && lower(e[2]) == 'c' && lower(e[3]) == 't';
}

std::string joinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

struct FoundFile {
  std::string path, relative;
  FileKey key;
};

class Walker {
 public:
  Walker(std::vector<FoundFile>& out, std::vector<std::string>& problems) : out_(out), problems_(problems) {}

  void walkArgument(const std::string& folder, const struct stat& st) {
    visited_.clear();
    visited_.insert({st.st_dev, st.st_ino});
    walk(folder, "");
  }

 private:
  struct Entry {
    std::string name;
    bool isFolder;
    FileKey key;
  };

  void problem(const std::string& folder, int err) {
    problems_.push_back("cannot read the folder " + folder + ": " + std::strerror(err));
  }

  // Reads the whole folder first and closes it, so that the walk holds one open folder at a time
  // however deep the tree.
  void walk(const std::string& folder, const std::string& relative) {
    std::vector<Entry> entries;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
      problem(folder, errno);
      return;
    }
    const int dirFd = ::dirfd(dir);
    for (;;) {
      errno = 0;
      const dirent* e = ::readdir(dir);
      if (!e) {
        if (errno != 0) problem(folder, errno);
        break;
      }
      const char* name = e->d_name;
      const size_t len = std::strlen(name);
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
      const unsigned char type = e->d_type;
      if (type == DT_LNK) continue;  // links are not followed, to files or to folders
      if (type != DT_DIR && type != DT_UNKNOWN && !(type == DT_REG && endsWithIct(name, len))) continue;
      struct stat st {};
      if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
      if (S_ISDIR(st.st_mode))
        entries.push_back({name, true, {st.st_dev, st.st_ino}});
      else if (S_ISREG(st.st_mode) && endsWithIct(name, len))
        entries.push_back({name, false, {st.st_dev, st.st_ino}});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    for (Entry& e : entries) {
      std::string path = joinPath(folder, e.name);
      std::string rel = relative.empty() ? e.name : relative + "/" + e.name;
      if (!e.isFolder)
        out_.push_back({std::move(path), std::move(rel), e.key});
      else if (visited_.insert(e.key).second)  // a folder mounted inside itself is walked once
        walk(path, rel);
    }
  }

  std::vector<FoundFile>& out_;
  std::vector<std::string>& problems_;
  std::set<FileKey> visited_;
};

}  // namespace

bool isFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileList collectFiles(const std::vector<std::string>& args) {
  FileList list;
  std::unordered_set<FileKey, FileKeyHash> seenFiles;
  std::unordered_set<std::string> seenMissing;
  std::vector<FoundFile> found;
  Walker walker(found, list.problems);
  for (const std::string& arg : args) {
    struct stat st {};
    const bool exists = ::stat(arg.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
      found.clear();
      walker.walkArgument(arg, st);
      for (FoundFile& f : found)
        if (seenFiles.insert(f.key).second)
          list.items.push_back({std::move(f.path), std::move(f.relative), {}});
      continue;
    }
    const bool first = exists ? seenFiles.insert({st.st_dev, st.st_ino}).second
                              : seenMissing.insert(absoluteNormalPath(arg)).second;
    if (first) list.items.push_back({arg, relativeOfArgument(arg), {}});
  }
  return list;
}

}  // namespace tarvik::cli
