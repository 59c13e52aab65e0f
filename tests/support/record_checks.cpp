#include "record_checks.h"

#include <gtest/gtest.h>

namespace qm::test {

void expectSameFields(const ff::FFRecord& actual, const ff::FFRecord& expected) {
  EXPECT_EQ(actual.category, expected.category);
  EXPECT_EQ(actual.title, expected.title);
  EXPECT_EQ(actual.copyright, expected.copyright);
  EXPECT_EQ(actual.author, expected.author);
  EXPECT_EQ(actual.controlNames, expected.controlNames);
  EXPECT_EQ(actual.sliderValues, expected.sliderValues);
  EXPECT_EQ(actual.mapNames, expected.mapNames);
  EXPECT_EQ(actual.formulas, expected.formulas);
}

}  // namespace qm::test
