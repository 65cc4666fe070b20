#include "plot/file_output.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tarvik {

void RemovePartialFile(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) std::remove(path.c_str());
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    error = "Couldn't create the file \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  int reason = ok ? 0 : errno;
  if (std::fclose(f) != 0 && ok) {  // the data may only reach the disk here
    ok = false;
    reason = errno;
  }
  if (!ok) {
    error =
        "Couldn't write the file \"" + path + "\" completely: " + std::strerror(reason != 0 ? reason : EIO);
    RemovePartialFile(path);
  }
  return ok;
}

}  // namespace tarvik
