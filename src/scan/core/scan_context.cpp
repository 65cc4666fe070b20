#include "scan/core/scan_context.h"

#include <algorithm>

namespace tarvik {

namespace {

std::string_view trimBlanks(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool kindBefore(const Variable& v, VarKind k) { return v.kind < k; }
bool kindAfter(VarKind k, const Variable& v) { return k < v.kind; }

}  // namespace

void Variable::define(std::string_view line) {
  definition.assign(line);
  const size_t first = line.find(',');
  shortName.assign(trimBlanks(line.substr(0, first)));
  if (first == std::string_view::npos) {
    units.clear();
    return;
  }
  const std::string_view rest = line.substr(first + 1);
  units.assign(trimBlanks(rest.substr(0, rest.find(','))));
}

std::span<Variable> VariableTable::of(VarKind kind) {
  auto lo = std::lower_bound(rows_.begin(), rows_.end(), kind, kindBefore);
  auto hi = std::upper_bound(lo, rows_.end(), kind, kindAfter);
  return {lo, hi};
}

std::span<const Variable> VariableTable::of(VarKind kind) const {
  auto lo = std::lower_bound(rows_.begin(), rows_.end(), kind, kindBefore);
  auto hi = std::upper_bound(lo, rows_.end(), kind, kindAfter);
  return {lo, hi};
}

Variable* VariableTable::at(VarKind kind, size_t i) {
  std::span<Variable> s = of(kind);
  return i < s.size() ? &s[i] : nullptr;
}

const Variable* VariableTable::at(VarKind kind, size_t i) const {
  std::span<const Variable> s = of(kind);
  return i < s.size() ? &s[i] : nullptr;
}

void VariableTable::ensure(VarKind kind, size_t n) {
  const size_t have = count(kind);
  if (have >= n) return;
  auto end = std::upper_bound(rows_.begin(), rows_.end(), kind, kindAfter);
  Variable blank;
  blank.kind = kind;
  rows_.insert(end, n - have, blank);
}

}  // namespace tarvik
