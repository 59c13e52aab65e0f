#pragma once
// Comparing Filter Factory records field by field, so a failure names the field.

#include <gtest/gtest.h>

#include "core/ff/record.h"

namespace qm::test {

// Every text, name, slider value and formula of actual equals expected's. The file name and
// the dialect are left to the caller, as writers and readers change them on purpose.
inline void expectSameFields(const ff::FFRecord& actual, const ff::FFRecord& expected) {
  EXPECT_EQ(std::tie(actual.category, actual.title, actual.copyright, actual.author),
            std::tie(expected.category, expected.title, expected.copyright, expected.author));
  EXPECT_EQ(actual.controlNames, expected.controlNames);
  EXPECT_EQ(actual.sliderValues, expected.sliderValues);
  EXPECT_EQ(actual.mapNames, expected.mapNames);
  EXPECT_EQ(actual.formulas, expected.formulas);
}

}  // namespace qm::test
