// The folders of src/ form layers: each may include only the folders listed for it below, no two
// folders include each other, and only the desktop includes Qt. Every quoted include of a file
// under src/ is checked, in every source file under src/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tarvik::test {
namespace {

namespace fs = std::filesystem;

const fs::path kSrc = fs::path(TARVIK_SOURCE_DIR) / "src";

// Each folder (relative to src/) and the folders its files may include, besides its own.
const std::map<std::string, std::set<std::string>>& allowedIncludes() {
  static const std::set<std::string> kEngine = {"scan/core",   "scan/lines", "scan/filename",
                                                "scan/header", "scan/data",  "scan/run"};
  auto with = [](std::set<std::string> a, const std::set<std::string>& b) {
    a.insert(b.begin(), b.end());
    return a;
  };
  static const std::map<std::string, std::set<std::string>> kAllowed = {
      {"text", {}},
      {"scan/core", {"text"}},
      {"scan/lines", {"scan/core", "text"}},
      {"scan/filename", {"scan/core", "text"}},
      {"scan/header", {"scan/core", "scan/lines", "text"}},
      {"scan/data", {"scan/core", "scan/lines", "text"}},
      {"scan/run", {"scan/core", "scan/lines", "scan/filename", "scan/header", "scan/data", "text"}},
      {"plot", {"text"}},
      {"cli", with(kEngine, {"text"})},
      {"web", with(kEngine, {"text"})},
      {"desktop", with(kEngine, {"plot", "text"})},
      {"desktop/mainwindow", with(kEngine, {"desktop", "plot", "text"})},
      {"desktop/plotview", with(kEngine, {"desktop", "plot", "text"})},
  };
  return kAllowed;
}

bool isSource(const fs::path& p) {
  const std::string e = p.extension().string();
  return e == ".h" || e == ".hpp" || e == ".cpp" || e == ".cc";
}

std::string folderOf(const fs::path& file) { return fs::relative(file.parent_path(), kSrc).generic_string(); }

struct Include {
  std::string text;  // as written between the quotes or angle brackets
  bool quoted;
};

std::vector<Include> includesOf(const fs::path& file) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> out;
  std::ifstream in(file);
  std::string line;
  std::smatch m;
  while (std::getline(in, line))
    if (std::regex_search(line, m, kInclude)) out.push_back({m[2].str(), m[1].str() == "\""});
  return out;
}

std::vector<fs::path> sourceFiles() {
  std::vector<fs::path> files;
  for (const auto& e : fs::recursive_directory_iterator(kSrc))
    if (e.is_regular_file() && isSource(e.path())) files.push_back(e.path());
  return files;
}

TEST(Layers, EveryIncludeStaysWithinItsLayers) {
  const auto& allowed = allowedIncludes();
  std::map<std::string, std::set<std::string>> graph;  // folder -> folders it includes
  size_t checked = 0;
  for (const fs::path& file : sourceFiles()) {
    const std::string from = folderOf(file);
    SCOPED_TRACE(fs::relative(file, kSrc).generic_string());
    const auto rule = allowed.find(from);
    if (rule == allowed.end()) {
      ADD_FAILURE() << "folder src/" << from << " has no entry in the layer table of this test";
      continue;
    }
    for (const Include& inc : includesOf(file)) {
      if (!inc.quoted || !fs::exists(kSrc / inc.text)) continue;
      const std::string to = fs::path(inc.text).parent_path().generic_string();
      ++checked;
      if (to == from) continue;
      graph[from].insert(to);
      EXPECT_TRUE(rule->second.count(to)) << "src/" << from << " may not include " << inc.text;
    }
  }
  EXPECT_GT(checked, 0u) << "no include of a file under src/ was found";
  for (const auto& [from, tos] : graph)
    for (const std::string& to : tos) {
      const auto back = graph.find(to);
      EXPECT_FALSE(back != graph.end() && back->second.count(from))
          << from << " and " << to << " include each other";
    }
}

TEST(Layers, OnlyTheDesktopIncludesQt) {
  static const std::regex kQt(R"(^(Q[A-Za-z]+|Qt[A-Za-z]*/.*|qcustomplot\.h)$)");
  for (const fs::path& file : sourceFiles()) {
    const std::string folder = folderOf(file);
    if (folder == "desktop" || folder.rfind("desktop/", 0) == 0) continue;
    for (const Include& inc : includesOf(file))
      EXPECT_FALSE(std::regex_match(inc.text, kQt))
          << fs::relative(file, kSrc).generic_string() << " includes " << inc.text;
  }
}

}  // namespace
}  // namespace tarvik::test
