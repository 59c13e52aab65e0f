/* Finding the weighted sums in the channels' code. */
#include "arith.h"
#include "linear.h"
#include "opcodes.h"

enum { kDeepest = 16 };

typedef struct {
  i32 w[5]; /* constant, r, g, b, a */
} Sum;

static int isConstant(const Sum* s) {
  return !(s->w[1] | s->w[2] | s->w[3] | s->w[4]);
}

/* The channel ch's code as a sum of r, g, b and a, and its divisor; 0 when it is not one. Only
   what a sum keeps a sum is followed: a product with a number, a division at the very end. */
static int weigh(const Code* code, int ch, const Picture* pic, const int32_t* vars, Sum* out,
                 i32* divisor) {
  Sum stack[kDeepest];
  int d = -1;
  *divisor = 1;
  const int32_t* ip = code->code;
  const int32_t* const end = ip + code->length;
  while (ip < end) {
    const int op = *ip++;
    if (op == OP_K || op == OP_VAR) {
      if (++d == kDeepest) return 0;
      Sum* s = &stack[d];
      for (int i = 0; i < 5; ++i) s->w[i] = 0;
      const int v = *ip++;
      if (op == OP_K)
        s->w[0] = v;
      else if (v >= V_R && v <= V_A)
        s->w[1 + v - V_R] = 1;
      else if (v == V_C)
        s->w[pic->channels == 1 ? 1 : ch < 3 ? 1 + ch : 4] = 1;
      else if (v == V_Z)
        s->w[0] = ch;
      else if (v >= V_W)
        s->w[0] = vars[v];
      else
        return 0;
      continue;
    }
    if (d < 0) return 0;
    Sum* b = &stack[d];
    if (op == OP_NEG) {
      for (int i = 0; i < 5; ++i) b->w[i] = wneg(b->w[i]);
      continue;
    }
    if (op == OP_CTL) {
      if (!isConstant(b)) return 0;
      b->w[0] = b->w[0] >= 0 && b->w[0] < 8 ? pic->sliders[b->w[0]] : 0;
      continue;
    }
    if (d < 1) return 0;
    Sum* a = &stack[--d];
    const int constA = isConstant(a), constB = isConstant(b);
    switch (op) {
      case OP_ADD:
        for (int i = 0; i < 5; ++i) a->w[i] = wadd(a->w[i], b->w[i]);
        break;
      case OP_SUB:
        for (int i = 0; i < 5; ++i) a->w[i] = wsub(a->w[i], b->w[i]);
        break;
      case OP_MUL: {
        if (!constA && !constB) return 0;
        const i32 k = constB ? b->w[0] : a->w[0];
        const Sum* s = constB ? a : b;
        for (int i = 0; i < 5; ++i) a->w[i] = wmul(s->w[i], k);
        break;
      }
      case OP_COMMA: /* nothing in a sum has an effect */
        *a = *b;
        break;
      case OP_DIV:
      case OP_MOD:
        if (!constB) return 0;
        if (constA)
          a->w[0] = op == OP_DIV ? wdiv(a->w[0], b->w[0]) : wmod(a->w[0], b->w[0]);
        else if (op == OP_DIV && b->w[0] > 0 && ip == end)
          *divisor = b->w[0];
        else
          return 0;
        break;
      default:
        return 0;
    }
  }
  if (d != 0) return 0;
  *out = stack[0];
  return 1;
}

/* Where the sum's values can lie, and so whether 16 bits hold them. */
static void chooseWidth(WeightedSum* s) {
  int64_t lo = s->weight[0], hi = s->weight[0];
  for (int j = 1; j < 5; ++j) {
    const int64_t most = (int64_t)s->weight[j] * 255;
    if (most < 0)
      lo += most;
    else
      hi += most;
  }
  int shift = 0;
  while (shift < 15 && (1 << shift) < s->divisor) ++shift;
  s->shift = shift;
  s->narrow = 0;
  if (1 << shift != s->divisor) return;
  if (lo >= 0 && hi <= 65535)
    s->narrow = 1;
  else if (lo >= -32768 && hi <= 32767)
    s->narrow = 2;
}

int rt_plan_linear(const Code* code, const Picture* pic, const int32_t* vars, LinearPlan* plan) {
  /* The planes r, g, b and a are read from, as the block evaluator reads them. */
  const int offset[4] = {0, pic->channels > 1 ? 1 : 0, pic->channels > 2 ? 2 : 0,
                         pic->channels == 4 ? 3 : -1};
  for (int j = 0; j < 4; ++j) plan->planes[j] = -1;
  for (int ch = 0; ch < pic->channels; ++ch) {
    Sum sum;
    WeightedSum* s = &plan->channel[ch];
    if (!weigh(&code[ch], ch, pic, vars, &sum, &s->divisor)) return 0;
    s->weight[0] = sum.w[0];
    for (int j = 1; j < 5; ++j) s->weight[j] = 0;
    for (int i = 0; i < 4; ++i) {
      if (offset[i] < 0 || !sum.w[1 + i]) continue;
      int j = 0;
      while (offset[j] != offset[i]) ++j;
      s->weight[1 + j] = wadd(s->weight[1 + j], sum.w[1 + i]);
      plan->planes[j] = offset[j];
    }
    chooseWidth(s);
  }
  return 1;
}
