#include "core/formula/block_program.h"

#include <array>

#include "core/formula/pure_ops.h"

namespace qm::formula {
namespace {

bool hasImmediateForm(Op op) {
  switch (op) {
    case Op::Add:
    case Op::Sub:
    case Op::Mul:
    case Op::Div:
    case Op::Mod:
    case Op::Shl:
    case Op::Shr:
    case Op::ShrA:
    case Op::Lt:
    case Op::Le:
    case Op::Eq:
    case Op::Ne:
    case Op::BitAnd:
    case Op::BitXor:
    case Op::BitOr:
    case Op::LogAnd:
    case Op::LogOr:
    case Op::Min:
    case Op::Max:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool localiseCells(const Program& p, std::vector<Instruction>& out) {
  std::vector<int> alias(p.registerCount);
  for (int r = 0; r < p.registerCount; ++r) alias[r] = r;
  std::array<int, 256> cell;
  cell.fill(-1);
  for (Instruction ins : p.code) {
    const int n = argumentCount(ins.op);
    for (int k = 0; k < n; ++k) ins.arg[k] = alias[ins.arg[k]];
    if (ins.op == Op::Rnd || ins.op == Op::Rst) return false;
    if (ins.op == Op::Put || ins.op == Op::Get) {
      const int indexReg = ins.arg[ins.op == Op::Put ? 1 : 0];
      if (!p.isConstant(indexReg)) return false;
      const std::int32_t index = p.constantOf(indexReg);
      if (index < 0 || index > 255) return false;  // the compiler folds these; stay safe
      if (ins.op == Op::Put) {
        cell[index] = ins.arg[0];
      } else {
        if (cell[index] < 0) return false;  // reads what an earlier pixel left
        alias[ins.dst] = cell[index];
      }
      continue;
    }
    out.push_back(ins);
  }
  return true;
}

std::optional<BlockProgram> makeBlockProgram(const Program& p) {
  std::vector<Instruction> code;
  if (!localiseCells(p, code)) return std::nullopt;

  const int fixed = kInputCount + static_cast<int>(p.constants.size());
  std::vector<int> lastUse(p.registerCount, -1);
  for (int i = 0; i < static_cast<int>(code.size()); ++i) {
    const int n = argumentCount(code[i].op);
    for (int k = 0; k < n; ++k) lastUse[code[i].arg[k]] = i;
  }
  // Every channel is stored by one instruction at the end of the block, so the values
  // stored live until then.
  constexpr int kLive = 1 << 30;
  for (const Instruction& ins : code)
    if (ins.op == Op::Store) lastUse[ins.arg[0]] = kLive;
  BlockInstruction storeAll;
  storeAll.op = Op::Store;
  storeAll.dst = -1;
  storeAll.imm = p.channels;

  BlockProgram bp;
  std::vector<int> physical(p.registerCount, -1);
  for (int r = 0; r < fixed; ++r) physical[r] = r;
  for (std::size_t k = 0; k < p.constants.size(); ++k)
    bp.constants.emplace_back(kInputCount + static_cast<int>(k), p.constants[k]);
  std::vector<int> freeRegs;
  int next = fixed;
  // Values that depend on nothing but y and constants.
  std::vector<bool> uniform(p.registerCount, false);
  uniform[kInY] = true;
  for (int r = kInputCount; r < fixed; ++r) uniform[r] = true;

  for (int i = 0; i < static_cast<int>(code.size()); ++i) {
    const Instruction& ins = code[i];
    BlockInstruction out;
    out.op = ins.op;
    out.imm = ins.imm;
    const int n = argumentCount(ins.op);
    for (int k = 0; k < n; ++k) {
      out.arg[k] = physical[ins.arg[k]];
      if (ins.arg[k] < kInputCount) bp.inputsUsed |= 1u << ins.arg[k];
    }
    if (n == 2 && hasImmediateForm(ins.op)) {
      if (!p.isConstant(ins.arg[1]) && p.isConstant(ins.arg[0]) && isCommutative(ins.op)) {
        std::swap(out.arg[0], out.arg[1]);
        out.immediate = true;
        out.k = p.constantOf(ins.arg[0]);
      } else if (p.isConstant(ins.arg[1])) {
        out.immediate = true;
        out.k = p.constantOf(ins.arg[1]);
      } else if (p.isConstant(ins.arg[0])) {
        out.immediate = true;
        out.reversed = true;
        out.k = p.constantOf(ins.arg[0]);
        out.arg[0] = out.arg[1];
      }
    }
    if (ins.op == Op::Src && p.isConstant(ins.arg[2])) {
      out.immediate = true;  // the channel
      out.k = p.constantOf(ins.arg[2]);
      out.rowUniform = uniform[ins.arg[1]];
    }
    if (ins.op == Op::Cnv) {
      bool fixed = true;
      for (int k = 0; k < 10; ++k) fixed = fixed && p.isConstant(ins.arg[k]);
      if (fixed) {
        out.constantWeights = true;
        for (int k = 0; k < 9; ++k) out.weights[k] = p.constantOf(ins.arg[k]);
        out.k = p.constantOf(ins.arg[9]);
      }
    }
    if (isPure(ins.op) || ins.op == Op::Src) {
      out.uniform = true;
      for (int k = 0; k < n; ++k) out.uniform = out.uniform && uniform[ins.arg[k]];
      uniform[ins.dst] = out.uniform;
    }
    if (ins.op == Op::Store) {
      storeAll.arg[ins.dst & 3] = out.arg[0];
      continue;
    }
    {
      // Allocated before the arguments are released, so a result never overwrites an
      // operand it is still reading.
      if (freeRegs.empty()) {
        out.dst = next++;
      } else {
        out.dst = freeRegs.back();
        freeRegs.pop_back();
      }
      physical[ins.dst] = out.dst;
    }
    for (int k = 0; k < n; ++k) {
      const int v = ins.arg[k];
      if (v >= fixed && lastUse[v] == i) {
        bool already = false;
        for (int j = 0; j < k; ++j) already = already || ins.arg[j] == v;
        if (!already) freeRegs.push_back(physical[v]);
      }
    }
    if (lastUse[ins.dst] < i) freeRegs.push_back(out.dst);
    bp.code.push_back(out);
  }
  bp.code.push_back(storeAll);
  bp.registerCount = next;
  return bp;
}

}  // namespace qm::formula
