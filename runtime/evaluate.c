/* The evaluator: one channel's postfix code for one pixel, with the integer rules of the
   desktop program's interpreter (wrapping arithmetic, division by zero gives 0, coordinates
   pinned to the picture, the same lookup tables). */
#include "arith.h"
#include "opcodes.h"
#include "trig_tables.h" /* kCosQuarter[256], kAtan[1025]; generated from the engine's tables */

int16_t rt_cos_table[1024];
/* Built once by integer square roots; every entry fits 16 bits. */
int16_t rt_hyp_table[1024];
#if RT_HAS_BLOCKS
int16_t rt_angle_table[1025];
#endif

void rt_tables_init(void) {
  for (int i = 0; i < 256; ++i) {
    rt_cos_table[i] = kCosQuarter[i];
    rt_cos_table[511 - i] = (int16_t)-kCosQuarter[i];
  }
  for (int i = 0; i < 512; ++i) rt_cos_table[1023 - i] = rt_cos_table[i];
  for (uint64_t k = 0; k < 1024; ++k)
    rt_hyp_table[k] = (int16_t)(isqrt64(4096 * (1048576 + k * k)) - 65504);
#if RT_HAS_BLOCKS
  for (int q = 1; q <= 1024; ++q) rt_angle_table[q] = (int16_t)((i32)kAtan[q] * 512 / 205888);
#endif
}

i32 rt_angle(i32 px, i32 py) {
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
    t = rt_hyp_table[q];
  }
  const int64_t scaled = ((int64_t)t * hi) >> 16;
  return wadd(hi, (i32)(u32)scaled);
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
  if (used & 1u << V_D) v[V_D] = rt_angle(x - pic->width / 2, y - pic->height / 2);
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
        BINARY(rt_angle(a, b));
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
