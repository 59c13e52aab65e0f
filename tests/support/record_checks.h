#pragma once
// Comparing Filter Factory records field by field, so a failure names the field.

#include "core/ff/record.h"

namespace qm::test {

// Every text, name, slider value and formula of actual equals expected's. The file name and
// the dialect are left to the caller, as writers and readers change them on purpose.
void expectSameFields(const ff::FFRecord& actual, const ff::FFRecord& expected);

}  // namespace qm::test
