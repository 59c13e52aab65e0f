#include "share.h"

#include "opcodes.h"

/* How many values an instruction takes from the stack; each leaves one. */
static int operandsOf(int op) {
  if (op <= OP_VAR) return 0;
  if (op <= OP_BNOT) return 1;
  if (op <= OP_COMMA) return 2;
  switch (op) {
    case OP_CTL:
    case OP_ABS:
    case OP_SQR:
    case OP_COS:
    case OP_SIN:
    case OP_TAN:
    case OP_GET:
    case OP_RST:
      return 1;
    case OP_MAP:
    case OP_MIN:
    case OP_MAX:
    case OP_DIF:
    case OP_R2X:
    case OP_R2Y:
    case OP_C2D:
    case OP_C2M:
    case OP_PUT:
    case OP_RND:
      return 2;
    case OP_MIX:
      return 4;
    case OP_SCL:
      return 5;
    case OP_CNV:
      return 10;
    default:
      return 3; /* select, src, rad, val, add, sub */
  }
}

/* A value on the simulated stack: the code words that compute it. */
typedef struct {
  int16_t start, end;
  uint8_t perChannel; /* reads c or z, or the channel's plane */
  uint8_t plain;      /* a number or a variable: nothing worth keeping */
} Operand;

static void addPart(SharePlan* plan, int start, int end, int kind) {
  if (plan->count == RT_MAX_SHARED) return; /* the rest is computed again: only slower */
  int k = plan->count++;
  for (; k > 0 && plan->part[k - 1].start > start; --k) plan->part[k] = plan->part[k - 1];
  plan->part[k].start = start;
  plan->part[k].end = end;
  plan->part[k].kind = kind;
}

static void keepIfWorthIt(SharePlan* plan, const Operand* o) {
  if (!o->perChannel && !o->plain) addPart(plan, o->start, o->end, RT_SHARE_VALUE);
}

void rt_plan_sharing(const Code* code, SharePlan* plan) {
  Operand stack[257];
  int sp = 0;
  plan->count = 0;
  if (code->maxDepth > 256 || code->usesState) return;
  for (int at = 0; at < code->length;) {
    const int op = code->code[at];
    const int words = op <= OP_VAR ? 2 : 1;
    const int n = operandsOf(op);
    if (n > sp) return; /* not code the compiler wrote */
    Operand* args = stack + sp - n;
    Operand r = {(int16_t)(n ? args[0].start : at), (int16_t)(at + words), 0, n == 0};
    r.perChannel =
        op == OP_CNV || (op == OP_VAR && (code->code[at + 1] == V_C || code->code[at + 1] == V_Z));
    for (int i = 0; i < n; ++i) r.perChannel |= args[i].perChannel;
    if (r.perChannel) {
      for (int i = 0; i < n; ++i) keepIfWorthIt(plan, &args[i]);
      if ((op == OP_SRC || op == OP_RAD) && !args[0].perChannel && !args[1].perChannel)
        addPart(plan, at, at + 1, RT_SHARE_PLACES);
    }
    sp -= n;
    stack[sp++] = r;
    at += words;
  }
  if (sp == 1) keepIfWorthIt(plan, &stack[0]);
}

int rt_same_code(const Code* a, const Code* b) {
  if (a->length != b->length) return 0;
  for (int k = 0; k < a->length; ++k)
    if (a->code[k] != b->code[k]) return 0;
  return 1;
}
