/* The evaluator: one channel's postfix code for one pixel, with the integer rules of the
   desktop program's interpreter (wrapping arithmetic, division by zero gives 0, coordinates
   pinned to the picture, the same lookup tables). */
#include "formula.h"
#include "opcodes.h"
#include "trig_tables.h" /* kCosQuarter[256], kAtan[1025]; generated from the engine's tables */

typedef uint32_t u32;
typedef int32_t i32;

/* Built once from the quarter wave and by integer square roots; every entry fits 16 bits. */
static int16_t cosTable[1024];
static int16_t hypTable[1024];

static i32 wadd(i32 a, i32 b) {
  return (i32)((u32)a + (u32)b);
}
static i32 wsub(i32 a, i32 b) {
  return (i32)((u32)a - (u32)b);
}
static i32 wmul(i32 a, i32 b) {
  return (i32)((u32)a * (u32)b);
}
static i32 wneg(i32 a) {
  return (i32)(0u - (u32)a);
}
static i32 wdiv(i32 a, i32 b) {
  if (b == 0) return 0;
  if (b == -1) return wneg(a);
  return a / b;
}
static i32 wmod(i32 a, i32 b) {
  return b == 0 || b == -1 ? 0 : a % b;
}
static i32 wabs(i32 a) {
  return a < 0 ? wneg(a) : a;
}
static i32 imin(i32 a, i32 b) {
  return a < b ? a : b;
}
static i32 imax(i32 a, i32 b) {
  return a > b ? a : b;
}
static i32 clampByte(i32 v) {
  return v < 0 ? 0 : v > 255 ? 255 : v;
}

static u32 isqrt64(uint64_t v) {
  u32 lo = 0, hi = 1u << 17; /* every argument here is below 2^34 */
  while (hi - lo > 1) {
    u32 mid = (lo + hi) / 2;
    if ((uint64_t)mid * mid <= v)
      lo = mid;
    else
      hi = mid;
  }
  return lo;
}

void rt_tables_init(void) {
  for (int i = 0; i < 256; ++i) {
    cosTable[i] = kCosQuarter[i];
    cosTable[511 - i] = (int16_t)-kCosQuarter[i];
  }
  for (int i = 0; i < 512; ++i) cosTable[1023 - i] = cosTable[i];
  for (uint64_t k = 0; k < 1024; ++k)
    hypTable[k] = (int16_t)(isqrt64(4096 * (1048576 + k * k)) - 65504);
}

static i32 angle(i32 px, i32 py) {
  i32 ay = wabs(py), ax = wabs(px);
  const int negY = py < 0, negX = px<0, steep = ay> ax;
  if (steep) {
    i32 t = ay;
    ay = ax;
    ax = t;
  }
  i32 v = 0;
  if (ay != 0) {
    i32 q = wdiv(wmul(ay, 1024), ax);
    if (q > 1024) q = 1024;
    if (q > 0) v = (i32)kAtan[q] * 512 / 205888;
  }
  if (negX != steep) v = 256 - v;
  if (negX) v += 256;
  if (negY) v = -v;
  return v;
}

i32 rt_magnitude(i32 a, i32 b) {
  i32 t, hi;
  a = wabs(a);
  b = wabs(b);
  if (a == b) {
    t = 27146;
    hi = a;
  } else {
    const i32 lo = imin(a, b);
    hi = imax(a, b);
    i32 q = wdiv(wmul(lo, 1024), hi);
    if (q < 0) q = 0;
    if (q > 1023) q = 1023;
    t = hypTable[q];
  }
  const int64_t scaled = ((int64_t)t * hi) >> 16;
  return wadd(hi, (i32)(u32)scaled);
}

static i32 radial(i32 d, i32 mag) {
  const int64_t p = (int64_t)mag * cosTable[d & 1023] + 8191;
  return (i32)(u32)(p >> 14);
}
static i32 cosine(i32 x) {
  const i32 v = cosTable[wabs(x) & 1023];
  return v >= 0 ? v / 32 : v / 32 - 1;
}
static i32 tangent(i32 x) {
  const i32 den = cosTable[wabs(x) & 1023];
  const i32 num = cosTable[wabs(wsub(x, 256)) & 1023];
  return wdiv(num * 1024, den);
}
static i32 squareRoot(i32 x) {
  return x <= 1 ? x : (i32)isqrt64((u32)x);
}

static i32 sample(const Picture* pic, i32 x, i32 y, i32 z) {
  if (z < 0 || z >= pic->channels) return 0;
  x = x < 0 ? 0 : x >= pic->width ? pic->width - 1 : x;
  y = y < 0 ? 0 : y >= pic->height ? pic->height - 1 : y;
  return pic->data[y * pic->rowStride + (intptr_t)x * pic->pixelStride + z];
}

static i32 mapRamp(const uint8_t* sliders, i32 i, i32 n) {
  if (i < 0 || i > 3) return 0;
  const i32 h = sliders[2 * i], l = sliders[2 * i + 1];
  n = clampByte(n);
  if (h == l) return n < h ? 0 : 255;
  if (h > l) {
    if (n <= l) return 0;
    if (n >= h) return 255;
    return (n - l) * 255 / (h - l);
  }
  if (n <= h) return 255;
  if (n >= l) return 0;
  return 255 - (n - h) * 255 / (l - h);
}

void rt_seed(RunState* st, uint32_t seed) {
  u32 mj = 161803398u - (seed & 0x7FFFu), mk = 1;
  int k = 0;
  st->s[55] = mj;
  for (int n = 0; n < 54; ++n) {
    k = (k + 21) % 55;
    st->s[k] = mk;
    mk = mj - mk;
    mj = st->s[k];
  }
  for (int round = 0; round < 4; ++round)
    for (int j = 1; j <= 55; ++j) st->s[j] -= st->s[1 + (j + 30) % 55];
  st->p1 = 0;
  st->p2 = 31;
  for (int c = 0; c < 256; ++c) st->cells[c] = 0;
}

static i32 randomBetween(RunState* st, i32 a, i32 b) {
  if (++st->p1 == 56) st->p1 = 1;
  if (++st->p2 == 56) st->p2 = 1;
  const u32 w = st->s[st->p1] - st->s[st->p2];
  st->s[st->p1] = w;
  const i32 n = wsub(b, a);
  if (n < 0) return 0;
  return wadd(a, (i32)(w % ((u32)n + 1u)));
}

void rt_pixel_inputs(const Picture* pic, int x, int y, uint32_t used, int32_t* v) {
  const uint8_t* px = pic->data + y * pic->rowStride + (intptr_t)x * pic->pixelStride;
  const int r = px[0];
  const int g = pic->channels > 1 ? px[1] : r;
  const int b = pic->channels > 2 ? px[2] : r;
  v[V_X] = x;
  v[V_Y] = y;
  v[V_R] = r;
  v[V_G] = g;
  v[V_B] = b;
  v[V_A] = pic->channels == 4 ? px[3] : 0;
  if (used & 1u << V_I) v[V_I] = (76 * r + 150 * g + 29 * b) / 256;
  if (used & 1u << V_U) v[V_U] = (-19 * r - 37 * g + 56 * b) / 256;
  if (used & 1u << V_V) v[V_V] = (78 * r - 65 * g - 13 * b) / 256;
  if (used & 1u << V_D) v[V_D] = angle(x - pic->width / 2, y - pic->height / 2);
  if (used & 1u << V_M) v[V_M] = rt_magnitude(x - (pic->width + 1) / 2, y - (pic->height + 1) / 2);
}

/* Binary operators: b is popped, a is replaced by the result. */
#define BINARY(expr) \
  b = s[sp--];       \
  a = s[sp];         \
  s[sp] = (expr);    \
  break
/* Operators of n arguments: the first of them is replaced by the result. */
#define ARGS(n) (sp -= (n)-1, &s[sp])

int32_t rt_run(const Code* code, const Picture* pic, int32_t* vars, int32_t* s, RunState* st) {
  const int32_t* ip = code->code;
  const int32_t* end = ip + code->length;
  int sp = -1; /* s[sp] is the top */
  i32 a, b;
  const i32* v;
  while (ip < end) {
    switch (*ip++) {
      case OP_K:
        s[++sp] = *ip++;
        break;
      case OP_VAR:
        s[++sp] = vars[*ip++];
        break;
      case OP_NEG:
        s[sp] = wneg(s[sp]);
        break;
      case OP_NOT:
        s[sp] = s[sp] == 0;
        break;
      case OP_BNOT:
        s[sp] = ~s[sp];
        break;
      case OP_ABS:
        s[sp] = wabs(s[sp]);
        break;
      case OP_SQR:
        s[sp] = squareRoot(s[sp]);
        break;
      case OP_COS:
        s[sp] = cosine(s[sp]);
        break;
      case OP_SIN:
        s[sp] = cosine(wsub(s[sp], 256));
        break;
      case OP_TAN:
        s[sp] = tangent(s[sp]);
        break;
      case OP_CTL:
        a = s[sp];
        s[sp] = a >= 0 && a < 8 ? pic->sliders[a] : 0;
        break;
      case OP_GET:
        a = s[sp];
        s[sp] = a >= 0 && a <= 255 ? st->cells[a] : a;
        break;
      case OP_RST:
        s[sp] = 0;
        break; /* seeds a later run, not this one */
      case OP_ADD:
        BINARY(wadd(a, b));
      case OP_SUB:
        BINARY(wsub(a, b));
      case OP_MUL:
        BINARY(wmul(a, b));
      case OP_DIV:
        BINARY(wdiv(a, b));
      case OP_MOD:
        BINARY(wmod(a, b));
      case OP_SHL:
        BINARY((i32)((u32)a << (b & 31)));
      case OP_SHR:
        BINARY((i32)((u32)a >> (b & 31)));
      case OP_LT:
        BINARY(a < b);
      case OP_LE:
        BINARY(a <= b);
      case OP_GT:
        BINARY(a > b);
      case OP_GE:
        BINARY(a >= b);
      case OP_EQ:
        BINARY(a == b);
      case OP_NE:
        BINARY(a != b);
      case OP_BAND:
        BINARY(a & b);
      case OP_BXOR:
        BINARY(a ^ b);
      case OP_BOR:
        BINARY(a | b);
      case OP_LAND:
        BINARY(a != 0 && b != 0);
      case OP_LOR:
        BINARY(a != 0 || b != 0);
      case OP_COMMA:
        BINARY(b);
      case OP_MIN:
        BINARY(imin(a, b));
      case OP_MAX:
        BINARY(imax(a, b));
      case OP_DIF:
        BINARY(wabs(wsub(a, b)));
      case OP_R2X:
        BINARY(radial(a, b));
      case OP_R2Y:
        BINARY(radial(wsub(a, 256), b));
      case OP_C2D:
        BINARY(angle(a, b));
      case OP_C2M:
        BINARY(rt_magnitude(a, b));
      case OP_MAP:
        BINARY(mapRamp(pic->sliders, a, b));
      case OP_PUT:
        b = s[sp--];
        if (b >= 0 && b <= 255) st->cells[b] = s[sp];
        break;
      case OP_RND:
        BINARY(randomBetween(st, a, b));
      case OP_SELECT:
        v = ARGS(3);
        s[sp] = v[0] != 0 ? v[1] : v[2];
        break;
      case OP_ADD3:
        v = ARGS(3);
        s[sp] = imin(wadd(v[0], v[1]), v[2]);
        break;
      case OP_SUB3:
        v = ARGS(3);
        s[sp] = imax(wabs(wsub(v[0], v[1])), v[2]);
        break;
      case OP_VAL:
        v = ARGS(3);
        s[sp] = v[0] < 0 || v[0] > 7
                    ? 0
                    : wadd(wdiv(wmul(pic->sliders[v[0]], wsub(v[2], v[1])), 255), v[1]);
        break;
      case OP_SRC:
        v = ARGS(3);
        s[sp] = sample(pic, v[0], v[1], v[2]);
        break;
      case OP_RAD:
        v = ARGS(3);
        s[sp] = sample(pic, wadd(pic->width / 2, radial(v[0], v[1])),
                       wadd(pic->height / 2, radial(wsub(v[0], 256), v[1])), v[2]);
        break;
      case OP_MIX: /* mix(a, b, n, d) */
        v = ARGS(4);
        s[sp] = v[3] == 0
                    ? 0
                    : wadd(wdiv(wmul(v[0], v[2]), v[3]), wdiv(wmul(v[1], wsub(v[3], v[2])), v[3]));
        break;
      case OP_SCL: /* scl(a, il, ih, ol, oh) */
        v = ARGS(5);
        s[sp] = v[2] == v[1]
                    ? 0
                    : wadd(v[3], wdiv(wmul(wsub(v[4], v[3]), wsub(v[0], v[1])), wsub(v[2], v[1])));
        break;
      case OP_CNV: { /* nine weights, then the divisor */
        v = ARGS(10);
        i32 sum = 0;
        if (v[9] != 0) {
          for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
              sum = wadd(sum, wmul(v[row * 3 + col], sample(pic, vars[V_X] + col - 1,
                                                            vars[V_Y] + row - 1, vars[V_Z])));
          sum = wdiv(sum, v[9]);
        }
        s[sp] = sum;
        break;
      }
      default:
        break;
    }
  }
  return s[sp];
}

#ifdef _WIN64
/* The block evaluator: every instruction runs over a block of pixels before the next, so the
   cost of choosing it is shared and the loops are simple enough to vectorise. Only for code
   without cells or random numbers, where pixels do not depend on each other. Each stack
   place is a pointer to a lane: a variable's own lane, or the work lane of that depth. Only
   the 64-bit runtime has it: the 3.04 layout leaves the 32-bit one no room. */
#define LANE1(expr)                            \
  do {                                         \
    const int32_t* A = p[d];                   \
    (void)A;                                   \
    int32_t* r = work + d * RT_BLOCK;          \
    for (int k = 0; k < n; ++k) r[k] = (expr); \
    p[d] = r;                                  \
  } while (0)
#define LANE2(expr)                            \
  do {                                         \
    --d;                                       \
    const int32_t *A = p[d], *B = p[d + 1];    \
    (void)A;                                   \
    int32_t* r = work + d * RT_BLOCK;          \
    for (int k = 0; k < n; ++k) r[k] = (expr); \
    p[d] = r;                                  \
  } while (0)
#define LANEN(count, expr)                     \
  do {                                         \
    d -= (count)-1;                            \
    const int32_t* const* q = &p[d];           \
    int32_t* r = work + d * RT_BLOCK;          \
    for (int k = 0; k < n; ++k) r[k] = (expr); \
    p[d] = r;                                  \
  } while (0)
#define Q(i) q[i][k]

void rt_block_inputs(const Picture* pic, int x, int y, int n, uint32_t used, int32_t* lanes) {
  int32_t* l[V_M + 1];
  for (int v = V_X; v <= V_M; ++v) l[v] = lanes + v * RT_BLOCK;
  const uint8_t* px = pic->data + y * pic->rowStride + (intptr_t)x * pic->pixelStride;
  const int stride = pic->pixelStride;
  const int g = pic->channels > 1 ? 1 : 0, b = pic->channels > 2 ? 2 : 0;
  for (int k = 0; k < n; ++k, px += stride) {
    l[V_X][k] = x + k;
    l[V_Y][k] = y;
    l[V_R][k] = px[0];
    l[V_G][k] = px[g];
    l[V_B][k] = px[b];
    l[V_A][k] = pic->channels == 4 ? px[3] : 0;
  }
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
    for (int k = 0; k < n; ++k) l[V_D][k] = angle(x + k - pic->width / 2, y - pic->height / 2);
  if (used & 1u << V_M)
    for (int k = 0; k < n; ++k)
      l[V_M][k] = rt_magnitude(x + k - (pic->width + 1) / 2, y - (pic->height + 1) / 2);
}

const int32_t* rt_run_block(const Code* code, const Picture* pic, const int32_t* lanes,
                            int32_t* work, int n) {
  const int32_t* p[256 + 16];
  const int32_t* ip = code->code;
  const int32_t* end = ip + code->length;
  const uint8_t* sl = pic->sliders;
  const int32_t* lx = lanes + V_X * RT_BLOCK;
  const int32_t* ly = lanes + V_Y * RT_BLOCK;
  const int32_t* lz = lanes + V_Z * RT_BLOCK;
  int d = -1;
  while (ip < end) {
    switch (*ip++) {
      case OP_K: {
        const int32_t v = *ip++;
        int32_t* r = work + ++d * RT_BLOCK;
        for (int k = 0; k < n; ++k) r[k] = v;
        p[d] = r;
        break;
      }
      case OP_VAR:
        p[++d] = lanes + *ip++ * RT_BLOCK;
        break;
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
        LANE2(wadd(A[k], B[k]));
        break;
      case OP_SUB:
        LANE2(wsub(A[k], B[k]));
        break;
      case OP_MUL:
        LANE2(wmul(A[k], B[k]));
        break;
      case OP_DIV:
        LANE2(wdiv(A[k], B[k]));
        break;
      case OP_MOD:
        LANE2(wmod(A[k], B[k]));
        break;
      case OP_SHL:
        LANE2((i32)((u32)A[k] << (B[k] & 31)));
        break;
      case OP_SHR:
        LANE2((i32)((u32)A[k] >> (B[k] & 31)));
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
        LANE2(A[k] & B[k]);
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
        LANE2(imin(A[k], B[k]));
        break;
      case OP_MAX:
        LANE2(imax(A[k], B[k]));
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
        LANE2(angle(A[k], B[k]));
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
      case OP_CNV: {
        d -= 9;
        const int32_t* const* q = &p[d];
        int32_t* r = work + d * RT_BLOCK;
        for (int k = 0; k < n; ++k) {
          i32 sum = 0;
          if (Q(9) != 0) {
            for (int row = 0; row < 3; ++row)
              for (int col = 0; col < 3; ++col)
                sum = wadd(sum, wmul(Q(row * 3 + col),
                                     sample(pic, lx[k] + col - 1, ly[k] + row - 1, lz[k])));
            sum = wdiv(sum, Q(9));
          }
          r[k] = sum;
        }
        p[d] = r;
        break;
      }
      default:
        break;
    }
  }
  return p[0];
}
#endif
