#include "plot/extraction.h"

#include <cstdio>
#include <memory>
#include <new>

#include "plot/file_output.h"
#include "text/c_format.h"

namespace tarvik {
namespace {

constexpr size_t kFieldWidth = 15;
constexpr size_t kWriteBuffer = size_t{1} << 20;

// One field: right-aligned in 15 characters (a longer text is written whole) and one space.
void AppendField(std::string& line, std::string_view text) {
  if (text.size() < kFieldWidth) line.append(kFieldWidth - text.size(), ' ');
  line += text;
  line += ' ';
}

void AppendValue(std::string& line, float value) {
  AppendField(line, cformat("%g", static_cast<double>(value)));
}

}  // namespace

std::string ExtractionShortName(std::string_view itemText) {
  const size_t end = itemText.find_first_of(" ,");
  return std::string(itemText.substr(0, end));
}

std::string ExtractionHeaderLine(const std::vector<std::string>& shortNames) {
  std::string line;
  for (const std::string& name : shortNames) AppendField(line, name);
  line += "\r\n";
  return line;
}

std::string ExtractionDataLine(const std::vector<float>& values) {
  std::string line;
  for (float v : values) AppendValue(line, v);
  line += "\r\n";
  return line;
}

bool ExtractionKeepsRecord(int64_t k, int64_t rate) {
  // The counter reaches rate after records rate-1, 2*rate-1, ...; it never reaches 0 or less.
  if (rate <= 0 || k < 0) return false;
  return k % rate == rate - 1;
}

ExtractionResult WriteSelectedData(const std::string& path, const PlotDataStore& store,
                                   const std::vector<int32_t>& columns,
                                   const std::vector<std::string>& itemTexts, int64_t rate) {
  // Only columns that the store holds and the list names are written, so nothing reads past the
  // store (an empty store holds none).
  std::vector<int32_t> used;
  std::vector<std::string> names;
  for (int32_t c : columns) {
    if (c < 0 || c >= store.ColumnCount() || static_cast<size_t>(c) >= itemTexts.size()) continue;
    used.push_back(c);
    names.push_back(ExtractionShortName(itemTexts[static_cast<size_t>(c)]));
  }

  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return ExtractionResult::OpenFailed;
  // One large buffer: the file goes out in few big writes rather than one per line. Without it
  // the stream's own buffer is used.
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[kWriteBuffer]);
  if (buffer) std::setvbuf(f, buffer.get(), _IOFBF, kWriteBuffer);

  bool ok = true;
  auto write = [&](const std::string& text) {
    if (ok && std::fwrite(text.data(), 1, text.size(), f) != text.size()) ok = false;
  };
  write(ExtractionHeaderLine(names));
  std::string line;
  const int64_t records = store.IsEmpty() ? 0 : store.RecordCount();
  for (int64_t k = 0; k < records && ok; ++k) {
    if (!ExtractionKeepsRecord(k, rate)) continue;
    line.clear();
    for (int32_t c : used) AppendValue(line, store.column(c)[static_cast<size_t>(k)]);
    line += "\r\n";
    write(line);
  }
  if (std::fclose(f) != 0) ok = false;  // a full disk often shows only when the buffer goes out
  if (!ok) {
    RemovePartialFile(path);
    return ExtractionResult::WriteFailed;
  }
  return ExtractionResult::Written;
}

}  // namespace tarvik
