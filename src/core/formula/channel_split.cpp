#include "core/formula/channel_split.h"

#include <vector>

#include "core/formula/compiler.h"

namespace qm::formula {

std::optional<ChannelSplit> splitByPixelOrder(const Program& program) {
  // A register reads state when a get or rnd result flows into it.
  std::vector<bool> readsState(program.registerCount, false);
  std::array<bool, 4> ordered{};
  for (const Instruction& ins : program.code) {
    bool reads = ins.op == Op::Get || ins.op == Op::Rnd;
    const int n = argumentCount(ins.op);
    for (int k = 0; k < n; ++k) reads = reads || readsState[ins.arg[k]];
    if (ins.op == Op::Store)
      ordered[ins.dst & 3] = reads;
    else if (ins.dst >= 0)
      readsState[ins.dst] = reads;
  }
  ChannelSplit split{program, program};
  split.ordered.code.clear();
  split.independent.code.clear();
  bool anyIndependent = false;
  for (const Instruction& ins : program.code) {
    if (ins.op == Op::Store) {
      (ordered[ins.dst & 3] ? split.ordered : split.independent).code.push_back(ins);
      anyIndependent = anyIndependent || !ordered[ins.dst & 3];
      continue;
    }
    split.ordered.code.push_back(ins);
    // put returns its argument and rst a constant, so no independent value comes from them.
    if (!touchesState(ins.op)) split.independent.code.push_back(ins);
  }
  if (!anyIndependent) return std::nullopt;
  removeDeadCode(split.ordered);
  removeDeadCode(split.independent);
  return split;
}

}  // namespace qm::formula
