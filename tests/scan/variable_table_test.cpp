// The table of the header's variables: records kept by kind in the header's order, made on demand,
// and what a definition line gives a record.
#include <gtest/gtest.h>

#include <string>

#include "scan/core/scan_context.h"

namespace tarvik::test {
namespace {

TEST(VariableTable, RecordsOfEachKindInOrder) {
  VariableTable t;
  EXPECT_EQ(t.count(VarKind::Primary), 0u);
  EXPECT_EQ(t.at(VarKind::Primary, 0), nullptr);
  // Made out of the header's order, the kinds still come out grouped: independent, primary,
  // auxiliary.
  t.ensure(VarKind::Auxiliary, 2);
  t.ensure(VarKind::Independent, 1);
  t.ensure(VarKind::Primary, 3);
  t.ensure(VarKind::Independent, 2);
  t.ensure(VarKind::Primary, 1);  // never fewer
  ASSERT_EQ(t.all().size(), 7u);
  const VarKind order[] = {VarKind::Independent, VarKind::Independent, VarKind::Primary,  VarKind::Primary,
                           VarKind::Primary,     VarKind::Auxiliary,   VarKind::Auxiliary};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(t.all()[i].kind, order[i]) << i;
  EXPECT_EQ(t.count(VarKind::Independent), 2u);
  EXPECT_EQ(t.count(VarKind::Primary), 3u);
  EXPECT_EQ(t.count(VarKind::Auxiliary), 2u);
  t.at(VarKind::Primary, 2)->define("P3, ppb, third");
  EXPECT_EQ(t.of(VarKind::Primary)[2].shortName, "P3");
  EXPECT_EQ(t.at(VarKind::Auxiliary, 2), nullptr);
  // New records hold the initial values.
  const Variable& v = *t.at(VarKind::Auxiliary, 1);
  EXPECT_EQ(v.scaleFactor, 0.0);
  EXPECT_EQ(v.missingFlag, kInitialMissingFlag);
  EXPECT_EQ(v.ulodFlag, kInitialUlodFlag);
  EXPECT_EQ(v.llodFlag, kInitialLlodFlag);
  EXPECT_EQ(v.ulodValue, kInitialLodValue);
  EXPECT_EQ(v.llodValue, kInitialLodValue);
  t.clear();
  EXPECT_TRUE(t.all().empty());
}

TEST(VariableTable, DefinitionGivesShortNameAndUnits) {
  struct Case {
    std::string line, shortName, units;
  } cases[] = {
      {"Start_UTC, seconds, Start time in UTC seconds\n", "Start_UTC", "seconds"},
      {"  O3 ,\tppbv , Ozone, with, commas\r\n", "O3", "ppbv"},
      {"NoUnits\n", "NoUnits", ""},
      {"Name, units\n", "Name", "units"},
      {", , \n", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Variable v;
    v.define(c.line);
    EXPECT_EQ(v.definition, c.line);
    EXPECT_EQ(v.shortName, c.shortName);
    EXPECT_EQ(v.units, c.units);
  }
}

}  // namespace
}  // namespace tarvik::test
