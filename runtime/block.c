#include "arith.h"
#include "opcodes.h"

/* The block evaluator: every instruction runs over a block of pixels before the next, so the
   cost of choosing it is shared and the loops are simple enough to vectorise. Only for code
   without cells or random numbers, where pixels do not depend on each other. Each stack
   place holds either a constant, a value every pixel of the block shares (numbers, sliders,
   the picture's sizes, the channel), or a lane: a variable's own lane or the work lane of
   that depth. An instruction on constants is computed once; the usual arithmetic with one
   constant operand has loops of its own, a division by a power of two becomes shifts, and
   cnv with constant weights reads the rows directly. Only the 64-bit runtime has it: the 3.04
   layout leaves the 32-bit one no room. */
typedef struct {
  const int32_t* lane[256 + 16]; /* 0 while the place holds a constant */
  int32_t value[256 + 16];
} Places;

/* Place d as a lane of m values; a constant is written out into its work lane. Not inlined:
   every instruction calls these, and the 64-bit layout's room is counted. */
static __attribute__((noinline)) const int32_t* laneOf(Places* s, int32_t* work, int d, int m) {
  if (s->lane[d]) return s->lane[d];
  int32_t* r = work + d * RT_BLOCK;
  for (int k = 0; k < m; ++k) r[k] = s->value[d];
  return r;
}
static __attribute__((noinline)) int allConstant(const Places* s, int d, int count) {
  for (int i = 0; i < count; ++i)
    if (s->lane[d + i]) return 0;
  return 1;
}
/* The result r of place d, a constant when it was computed once from constants. */
static __attribute__((noinline)) void settle(Places* s, int d, int once, int32_t* r) {
  s->lane[d] = once ? 0 : r;
  s->value[d] = r[0];
}

/* The count operands from place d as lanes q (A and B the first two), the result into r. */
#define LANEN(count, expr)                                               \
  do {                                                                   \
    d -= (count)-1;                                                      \
    const int once = allConstant(&s, d, count);                          \
    const int m = once ? 1 : n;                                          \
    const int32_t* q[(count) + 1];                                       \
    for (int i = 0; i < (count); ++i) q[i] = laneOf(&s, work, d + i, m); \
    q[count] = 0;                                                        \
    const int32_t *A = q[0], *B = q[1];                                  \
    (void)A;                                                             \
    (void)B;                                                             \
    int32_t* r = work + d * RT_BLOCK;                                    \
    for (int k = 0; k < m; ++k) r[k] = (expr);                           \
    settle(&s, d, once, r);                                              \
  } while (0)
#define LANE1(expr) LANEN(1, expr)
#define LANE2(expr) LANEN(2, expr)
#define Q(i) q[i][k]
/* Binary operators with a loop of their own for a constant b (and for a constant a). */
#define LANE2B(expr, exprB)                       \
  do {                                            \
    if (s.lane[d - 1] && !s.lane[d]) {            \
      const int32_t b = s.value[d--];             \
      const int32_t* A = s.lane[d];               \
      int32_t* r = work + d * RT_BLOCK;           \
      for (int k = 0; k < n; ++k) r[k] = (exprB); \
      s.lane[d] = r;                              \
    } else {                                      \
      LANE2(expr);                                \
    }                                             \
  } while (0)
#define LANE2AB(expr, exprB, exprA)               \
  do {                                            \
    if (!s.lane[d - 1] && s.lane[d]) {            \
      const int32_t* B = s.lane[d--];             \
      const int32_t a = s.value[d];               \
      int32_t* r = work + d * RT_BLOCK;           \
      for (int k = 0; k < n; ++k) r[k] = (exprA); \
      s.lane[d] = r;                              \
    } else {                                      \
      LANE2B(expr, exprB);                        \
    }                                             \
  } while (0)

/* r = a / b or a % b as the interpreter divides (by 0: 0; by -1: negated, remainder 0). */
static void divideBy(int32_t* r, const int32_t* a, i32 b, int n, int remainder) {
  if (b == 0 || b == -1) {
    for (int k = 0; k < n; ++k) r[k] = remainder || b == 0 ? 0 : wneg(a[k]);
  } else if (b > 0 && (b & (b - 1)) == 0) {
    /* Shifts that round towards zero as division does. */
    int shift = 0;
    while (1 << shift != b) ++shift;
    const u32 low = (u32)b - 1;
    if (remainder)
      for (int k = 0; k < n; ++k)
        r[k] = (i32)((u32)a[k] - (((u32)a[k] + ((u32)(a[k] >> 31) & low)) & ~low));
    else
      for (int k = 0; k < n; ++k) r[k] = (i32)((u32)a[k] + ((u32)(a[k] >> 31) & low)) >> shift;
  } else if (remainder) {
    for (int k = 0; k < n; ++k) r[k] = a[k] % b;
  } else {
    for (int k = 0; k < n; ++k) r[k] = a[k] / b;
  }
}

/* cnv's weighted sum at (x, y) with the weights of lanes q at k, divided by lane 9's value. */
static i32 cnvAt(const Picture* pic, const int32_t* const* q, int k, i32 x, i32 y, i32 z) {
  i32 sum = 0;
  for (int i = 0; i < 9; ++i)
    sum = wadd(sum, wmul(q[i][k], sample(pic, x + i % 3 - 1, y + i / 3 - 1, z)));
  return wdiv(sum, q[9][k]);
}

/* cnv with constant weights w and divisor over the block's row: inside the picture the nine
   bytes are read at their offsets, at its edges through sample's pinning. */
static void convolveBlock(const Picture* pic, const i32* w, const int32_t* lx, const int32_t* ly,
                          i32 z, int32_t* r, int n) {
  const int x0 = lx[0], y = ly[0];
  if (z < 0 || z >= pic->channels) {
    for (int k = 0; k < n; ++k) r[k] = 0;
  } else if (y >= 1 && y + 1 < pic->height && x0 >= 1 && x0 + n < pic->width) {
    const intptr_t row = pic->rowStride, col = pic->pixelStride;
    const uint8_t* c = pic->data + (y - 1) * row + (intptr_t)(x0 - 1) * col + z;
    const u32 w0 = (u32)w[0], w1 = (u32)w[1], w2 = (u32)w[2], w3 = (u32)w[3], w4 = (u32)w[4],
              w5 = (u32)w[5], w6 = (u32)w[6], w7 = (u32)w[7], w8 = (u32)w[8];
    for (int k = 0; k < n; ++k, c += col) {
      const uint8_t *t = c, *m = c + row, *b = c + 2 * row;
      r[k] = (i32)(w0 * t[0] + w1 * t[col] + w2 * t[2 * col] + w3 * m[0] + w4 * m[col] +
                   w5 * m[2 * col] + w6 * b[0] + w7 * b[col] + w8 * b[2 * col]);
    }
  } else {
    for (int k = 0; k < n; ++k) {
      i32 sum = 0;
      for (int i = 0; i < 9; ++i)
        sum = wadd(sum, wmul(w[i], sample(pic, lx[k] + i % 3 - 1, ly[k] + i / 3 - 1, z)));
      r[k] = sum;
    }
  }
}

void rt_block_inputs(const Picture* pic, int x, int y, int n, uint32_t used, int32_t* lanes) {
  int32_t* l[V_M + 1];
  for (int v = V_X; v <= V_M; ++v) l[v] = lanes + v * RT_BLOCK;
  const uint8_t* px = pic->data + y * pic->rowStride + (intptr_t)x * pic->pixelStride;
  const int stride = pic->pixelStride;
  const int g = pic->channels > 1 ? 1 : 0, b = pic->channels > 2 ? 2 : 0;
  /* Only what the formulas read; the picture's own values also for c, i, u and v. */
  if (used & (1u << V_C | 1u << V_I | 1u << V_U | 1u << V_V))
    used |= 1u << V_R | 1u << V_G | 1u << V_B | 1u << V_A;
  if (used & 1u << V_X)
    for (int k = 0; k < n; ++k) l[V_X][k] = x + k;
  if (used & 1u << V_Y)
    for (int k = 0; k < n; ++k) l[V_Y][k] = y;
  if (used & 1u << V_R)
    for (int k = 0; k < n; ++k) l[V_R][k] = px[k * stride];
  if (used & 1u << V_G)
    for (int k = 0; k < n; ++k) l[V_G][k] = px[k * stride + g];
  if (used & 1u << V_B)
    for (int k = 0; k < n; ++k) l[V_B][k] = px[k * stride + b];
  if (used & 1u << V_A)
    for (int k = 0; k < n; ++k) l[V_A][k] = pic->channels == 4 ? px[k * stride + 3] : 0;
  if (used & 1u << V_I)
    for (int k = 0; k < n; ++k)
      l[V_I][k] = (76 * l[V_R][k] + 150 * l[V_G][k] + 29 * l[V_B][k]) / 256;
  if (used & 1u << V_U)
    for (int k = 0; k < n; ++k)
      l[V_U][k] = (-19 * l[V_R][k] - 37 * l[V_G][k] + 56 * l[V_B][k]) / 256;
  if (used & 1u << V_V)
    for (int k = 0; k < n; ++k)
      l[V_V][k] = (78 * l[V_R][k] - 65 * l[V_G][k] - 13 * l[V_B][k]) / 256;
  if (used & 1u << V_D)
    for (int k = 0; k < n; ++k) l[V_D][k] = rt_angle(x + k - pic->width / 2, y - pic->height / 2);
  if (used & 1u << V_M)
    for (int k = 0; k < n; ++k)
      l[V_M][k] = rt_magnitude(x + k - (pic->width + 1) / 2, y - (pic->height + 1) / 2);
}

const int32_t* rt_run_block(const Code* code, const Picture* pic, const int32_t* lanes,
                            int32_t* work, int n) {
  Places s;
  const int32_t* ip = code->code;
  const int32_t* end = ip + code->length;
  const uint8_t* sl = pic->sliders;
  const int32_t* lx = lanes + V_X * RT_BLOCK;
  const int32_t* ly = lanes + V_Y * RT_BLOCK;
  const int32_t* lz = lanes + V_Z * RT_BLOCK;
  int d = -1;
  while (ip < end) {
    const int op = *ip++;
    switch (op) {
      case OP_K:
        s.lane[++d] = 0;
        s.value[d] = *ip++;
        break;
      case OP_VAR: {
        const int v = *ip++;
        /* The channel and the picture's numbers are the same for the whole block. */
        s.lane[++d] = v >= V_Z ? 0 : lanes + v * RT_BLOCK;
        s.value[d] = lanes[v * RT_BLOCK];
        break;
      }
      case OP_NEG:
        LANE1(wneg(A[k]));
        break;
      case OP_NOT:
        LANE1(A[k] == 0);
        break;
      case OP_BNOT:
        LANE1(~A[k]);
        break;
      case OP_ABS:
        LANE1(wabs(A[k]));
        break;
      case OP_SQR:
        LANE1(squareRoot(A[k]));
        break;
      case OP_COS:
        LANE1(cosine(A[k]));
        break;
      case OP_SIN:
        LANE1(cosine(wsub(A[k], 256)));
        break;
      case OP_TAN:
        LANE1(tangent(A[k]));
        break;
      case OP_CTL:
        LANE1(A[k] >= 0 && A[k] < 8 ? sl[A[k]] : 0);
        break;
      case OP_RST:
        LANE1(0);
        break;
      case OP_ADD:
        LANE2AB(wadd(A[k], B[k]), wadd(A[k], b), wadd(a, B[k]));
        break;
      case OP_SUB:
        LANE2AB(wsub(A[k], B[k]), wsub(A[k], b), wsub(a, B[k]));
        break;
      case OP_MUL:
        LANE2AB(wmul(A[k], B[k]), wmul(A[k], b), wmul(a, B[k]));
        break;
      case OP_DIV:
      case OP_MOD:
        if (s.lane[d - 1] && !s.lane[d]) {
          const i32 b = s.value[d--];
          int32_t* r = work + d * RT_BLOCK;
          divideBy(r, s.lane[d], b, n, op == OP_MOD);
          s.lane[d] = r;
        } else if (op == OP_DIV) {
          LANE2(wdiv(A[k], B[k]));
        } else {
          LANE2(wmod(A[k], B[k]));
        }
        break;
      case OP_SHL:
        LANE2B((i32)((u32)A[k] << (B[k] & 31)), (i32)((u32)A[k] << (b & 31)));
        break;
      case OP_SHR:
        LANE2B((i32)((u32)A[k] >> (B[k] & 31)), (i32)((u32)A[k] >> (b & 31)));
        break;
      case OP_LT:
        LANE2(A[k] < B[k]);
        break;
      case OP_LE:
        LANE2(A[k] <= B[k]);
        break;
      case OP_GT:
        LANE2(A[k] > B[k]);
        break;
      case OP_GE:
        LANE2(A[k] >= B[k]);
        break;
      case OP_EQ:
        LANE2(A[k] == B[k]);
        break;
      case OP_NE:
        LANE2(A[k] != B[k]);
        break;
      case OP_BAND:
        LANE2B(A[k] & B[k], A[k] & b);
        break;
      case OP_BXOR:
        LANE2(A[k] ^ B[k]);
        break;
      case OP_BOR:
        LANE2(A[k] | B[k]);
        break;
      case OP_LAND:
        LANE2(A[k] != 0 && B[k] != 0);
        break;
      case OP_LOR:
        LANE2(A[k] != 0 || B[k] != 0);
        break;
      case OP_COMMA:
        LANE2(B[k]);
        break;
      case OP_MIN:
        LANE2B(imin(A[k], B[k]), imin(A[k], b));
        break;
      case OP_MAX:
        LANE2B(imax(A[k], B[k]), imax(A[k], b));
        break;
      case OP_DIF:
        LANE2(wabs(wsub(A[k], B[k])));
        break;
      case OP_R2X:
        LANE2(radial(A[k], B[k]));
        break;
      case OP_R2Y:
        LANE2(radial(wsub(A[k], 256), B[k]));
        break;
      case OP_C2D:
        LANE2(rt_angle(A[k], B[k]));
        break;
      case OP_C2M:
        LANE2(rt_magnitude(A[k], B[k]));
        break;
      case OP_MAP:
        LANE2(mapRamp(sl, A[k], B[k]));
        break;
      case OP_SELECT:
        LANEN(3, Q(0) != 0 ? Q(1) : Q(2));
        break;
      case OP_ADD3:
        LANEN(3, imin(wadd(Q(0), Q(1)), Q(2)));
        break;
      case OP_SUB3:
        LANEN(3, imax(wabs(wsub(Q(0), Q(1))), Q(2)));
        break;
      case OP_VAL:
        LANEN(3,
              Q(0) < 0 || Q(0) > 7 ? 0 : wadd(wdiv(wmul(sl[Q(0)], wsub(Q(2), Q(1))), 255), Q(1)));
        break;
      case OP_SRC:
        LANEN(3, sample(pic, Q(0), Q(1), Q(2)));
        break;
      case OP_RAD:
        LANEN(3, sample(pic, wadd(pic->width / 2, radial(Q(0), Q(1))),
                        wadd(pic->height / 2, radial(wsub(Q(0), 256), Q(1))), Q(2)));
        break;
      case OP_MIX:
        LANEN(4, Q(3) == 0 ? 0
                           : wadd(wdiv(wmul(Q(0), Q(2)), Q(3)),
                                  wdiv(wmul(Q(1), wsub(Q(3), Q(2))), Q(3))));
        break;
      case OP_SCL:
        LANEN(5, Q(2) == Q(1) ? 0
                              : wadd(Q(3), wdiv(wmul(wsub(Q(4), Q(3)), wsub(Q(0), Q(1))),
                                                wsub(Q(2), Q(1)))));
        break;
      case OP_CNV:
        if (allConstant(&s, d - 9, 10)) {
          d -= 9;
          int32_t* r = work + d * RT_BLOCK;
          convolveBlock(pic, &s.value[d], lx, ly, lz[0], r, n);
          divideBy(r, r, s.value[d + 9], n, 0);
          s.lane[d] = r;
        } else {
          LANEN(10, Q(9) == 0 ? 0 : cnvAt(pic, q, k, lx[k], ly[k], lz[k]));
        }
        break;
      default:
        break;
    }
  }
  return laneOf(&s, work, 0, n);
}
