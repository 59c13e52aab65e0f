#pragma once
// The fast tier's copy of a program. Storage cells that are always written before they are
// read within one pixel (the usual "put(expr, 0), ... get(0)") become plain registers, which
// makes pixels independent; registers are then reused once dead so a block's working set
// stays in the first-level cache, and constant second operands become immediates.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/formula/program.h"

namespace qm::formula {

struct BlockInstruction {
  Op op = Op::Add;
  bool immediate = false;  // one operand is `k`, not a register
  bool reversed = false;   // ... and it is the first one: k op arg[0]
  std::int32_t k = 0;
  bool uniform = false;
  bool rowUniform = false;  // Src: every lane reads the same row          // same value for every
                            // pixel of a row: computed once per block
  bool constantWeights = false;  // Cnv: weights[] and k (the divisor) are fixed
  std::array<std::int32_t, 9> weights{};
  std::int32_t imm = 0;   // Cnv: channel
  std::int32_t dst = -1;  // register (Store: output channel)
  std::array<std::int32_t, 10> arg{};
};

struct BlockProgram {
  std::vector<BlockInstruction> code;
  std::vector<std::pair<int, std::int32_t>> constants;  // register, value
  int registerCount = kInputCount;
  std::uint32_t inputsUsed = 0;
};

// The program's code with storage cells that are written before they are read within one
// pixel replaced by the registers written to them; false when a cell outlives its pixel or
// the random generator is used, so pixels must run one after another.
bool localiseCells(const Program& program, std::vector<Instruction>& out);

// Empty when pixels depend on each other (random numbers, rst, cells read before written
// or addressed by a computed index): such programs run only on the reference interpreter.
std::optional<BlockProgram> makeBlockProgram(const Program& program);

}  // namespace qm::formula
