// Rewrites a file whose line ends are broken: its text is split at the line-end symbol and every
// piece is written back as a line ended by CR LF. The submitted bytes stay at the path until the
// complete rewrite replaces them: a ".crlf" backup is made first, the new text goes to a temporary
// file in the same directory and is renamed over the path only when it is whole.
#pragma once

#include <cstdint>
#include <string>

namespace tarvik {

// The file operations of the repair, so that tests can make any one of them fail.
struct RepairFileOps {
  int (*open)(const char* path, int flags, unsigned mode);
  long (*read)(int fd, void* data, unsigned long size);
  long (*write)(int fd, const void* data, unsigned long size);
  int (*sync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
  int (*remove)(const char* path);
};

const RepairFileOps& realRepairFileOps();

// symbol is '\n' (split at every line end: LF, CR LF and a lone CR) or '\r' (split at lone CRs,
// keeping CR LF line ends inside the pieces). Returns 0 when the file was rewritten, -1 when not,
// with the reason in message.
int32_t repairLineEndings(const std::string& path, std::string& message, char symbol,
                          const RepairFileOps& ops = realRepairFileOps());

// Copies the file at path, under the given name, into a new private folder (mode 0700) under the
// system's temporary folder, for a repair that must leave the submitted file as it is. True with
// the copy's path, or false with the reason (nothing is left behind then).
bool copyToPrivateFolder(const std::string& path, const std::string& name, std::string& copyPath,
                         std::string& reason);
// Removes a private copy and its folder, with anything a repair left in it.
void removePrivateCopy(const std::string& copyPath);

}  // namespace tarvik
