// The pages shipped in docs/site: every relative link and anchor resolves, every page that the
// report footer and the main window open exists, and the pages stay self-contained.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "scan/core/site.h"

namespace fs = std::filesystem;

namespace {

fs::path siteDir() { return fs::path(TARVIK_SOURCE_DIR) / "docs" / "site"; }

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::vector<fs::path> sitePages() {
  std::vector<fs::path> pages;
  for (const auto& e : fs::recursive_directory_iterator(siteDir())) {
    if (e.is_regular_file() && e.path().extension() == ".htm") pages.push_back(e.path());
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

// The values of one attribute (href, name, src) in a page, in order.
std::vector<std::string> attributeValues(const std::string& html, const std::string& attr) {
  std::vector<std::string> out;
  const std::regex re("\\b" + attr + "\\s*=\\s*\"([^\"]*)\"", std::regex::icase);
  for (auto it = std::sregex_iterator(html.begin(), html.end(), re); it != std::sregex_iterator(); ++it) {
    out.push_back((*it)[1].str());
  }
  return out;
}

bool hasScheme(const std::string& link) {
  const std::regex re("^[A-Za-z][A-Za-z0-9+.-]*:");
  return std::regex_search(link, re);
}

std::set<std::string> anchorsOf(const fs::path& page) {
  const std::string html = readAll(page);
  std::set<std::string> names;
  for (const auto& n : attributeValues(html, "name")) names.insert(n);
  for (const auto& n : attributeValues(html, "id")) names.insert(n);
  return names;
}

}  // namespace

TEST(SitePages, TheSiteHasPages) { EXPECT_GE(sitePages().size(), 7u); }

TEST(SitePages, EveryLinkedPageExists) {
  // Addresses below the home address that the report footer and the main window open.
  const std::vector<std::string> linked = {
      "index.htm",
      "missions.htm",
      "comments/comments.htm",
      "feedback.htm",
      "missions/etc/IcarttDataFormat.htm",
      "missions/etc/wTarvik.htm",
      "cgi-bin/tarvik.htm",
      "missions/etc/TarvikBrowser.htm",
  };
  for (const auto& page : linked) {
    SCOPED_TRACE(page);
    EXPECT_TRUE(fs::is_regular_file(siteDir() / page));
  }
  const std::string feedback = tarvik::site::kFeedbackAddress;
  const std::string home = tarvik::site::kHomeAddress;
  ASSERT_EQ(feedback.rfind(home + "/", 0), 0u) << "the feedback form lies under the home address";
  EXPECT_TRUE(fs::is_regular_file(siteDir() / feedback.substr(home.size() + 1)));
}

TEST(SitePages, TimeIntervalAnchorExists) {
  const auto anchors = anchorsOf(siteDir() / "missions/etc/IcarttDataFormat.htm");
  EXPECT_EQ(anchors.count("5b1"), 1u);
}

TEST(SitePages, EveryRelativeLinkResolves) {
  std::map<fs::path, std::set<std::string>> anchorCache;
  for (const auto& page : sitePages()) {
    const std::string html = readAll(page);
    for (const auto& link : attributeValues(html, "href")) {
      SCOPED_TRACE(page.string() + " -> " + link);
      ASSERT_FALSE(link.empty());
      if (hasScheme(link)) continue;
      ASSERT_NE(link.front(), '/') << "links are relative to the page";
      const auto hash = link.find('#');
      const std::string file = link.substr(0, hash);
      const std::string fragment = hash == std::string::npos ? "" : link.substr(hash + 1);
      const fs::path target = file.empty() ? page : (page.parent_path() / file).lexically_normal();
      ASSERT_TRUE(fs::is_regular_file(target));
      const auto rel = fs::relative(target, siteDir());
      EXPECT_FALSE(rel.empty() || *rel.begin() == "..") << "the link leaves the site";
      if (!fragment.empty()) {
        auto it = anchorCache.find(target);
        if (it == anchorCache.end()) it = anchorCache.emplace(target, anchorsOf(target)).first;
        EXPECT_EQ(it->second.count(fragment), 1u) << "missing anchor " << fragment;
      }
    }
  }
}

TEST(SitePages, PagesAreSelfContained) {
  for (const auto& page : sitePages()) {
    SCOPED_TRACE(page.string());
    const std::string html = readAll(page);
    const std::string low = lower(html);
    EXPECT_EQ(html.rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01", 0), 0u);
    EXPECT_NE(low.find("<title>"), std::string::npos);
    EXPECT_EQ(low.find("<script"), std::string::npos);
    EXPECT_EQ(low.find("javascript:"), std::string::npos);
    EXPECT_EQ(low.find("<link"), std::string::npos);
    EXPECT_EQ(low.find("<iframe"), std::string::npos);
    for (const auto& src : attributeValues(html, "src")) {
      EXPECT_FALSE(hasScheme(src)) << "external resource " << src;
    }
    for (const auto& link : attributeValues(html, "href")) {
      if (!hasScheme(link)) continue;
      EXPECT_EQ(lower(link).rfind("mailto:", 0), 0u) << "only mail links leave the site: " << link;
    }
  }
}

TEST(SitePages, CommentsPageGivesTheMailAddresses) {
  const std::string html = readAll(siteDir() / "comments/comments.htm");
  EXPECT_NE(html.find(tarvik::site::kProjectOfficeMail), std::string::npos);
  EXPECT_NE(html.find(tarvik::site::kCuratorMail), std::string::npos);
  EXPECT_NE(html.find(tarvik::site::kCuratorName), std::string::npos);
}

TEST(SitePages, VersionPageNamesTheVersion) {
  const std::string html = readAll(siteDir() / "missions/etc/wTarvik.htm");
  EXPECT_NE(html.find("Ver 2.3.4 (May 21, 2019)"), std::string::npos);
}

TEST(SitePages, WebScannerPageSaysItIsNotPartOfTheProgram) {
  const std::string html = readAll(siteDir() / "cgi-bin/tarvik.htm");
  EXPECT_NE(html.find("not part of this program"), std::string::npos);
  EXPECT_NE(html.find("tarvik-scan"), std::string::npos);
}

TEST(SitePages, FormatPageGivesTheHeaderLineFormulas) {
  const std::string html = readAll(siteDir() / "missions/etc/IcarttDataFormat.htm");
  EXPECT_NE(html.find("NH = 14 + NV + NSCOM + NNCOM"), std::string::npos);
  EXPECT_NE(html.find("NH = 18 + NV + NAUXV + NSCOM + NNCOM"), std::string::npos);
}
