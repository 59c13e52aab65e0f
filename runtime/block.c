#include "block.h"

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

void rt_divide_by(int32_t* r, const int32_t* a, i32 b, int n, int remainder) {
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
  } else if (b > 0) {
    /* By a positive number that stays the same: a multiplication and shifts on the
       magnitude (rounded up reciprocal m of 2^(32+l)/b, l = ceil(log2 b) >= 2). */
    int l = 0;
    while (((uint64_t)1 << l) < (uint64_t)b) ++l;
    const u32 m = (u32)((((uint64_t)1 << 32) * (((uint64_t)1 << l) - (u32)b)) / (u32)b + 1);
    for (int k = 0; k < n; ++k) {
      const u32 u = a[k] < 0 ? 0u - (u32)a[k] : (u32)a[k];
      const u32 t = (u32)(((uint64_t)m * u) >> 32);
      const u32 q = (t + ((u - t) >> 1)) >> (l - 1);
      const i32 signedQ = a[k] < 0 ? (i32)(0u - q) : (i32)q;
      r[k] = remainder ? wsub(a[k], wmul(signedQ, b)) : signedQ;
    }
  } else if (remainder) {
    for (int k = 0; k < n; ++k) r[k] = a[k] % b;
  } else {
    for (int k = 0; k < n; ++k) r[k] = a[k] / b;
  }
}

/* The offset of pixel (x, y) pinned to the picture, before its plane. */
static inline intptr_t placeOf(const Picture* pic, i32 x, i32 y) {
  x = x < 0 ? 0 : x >= pic->width ? pic->width - 1 : x;
  y = y < 0 ? 0 : y >= pic->height ? pic->height - 1 : y;
  return y * pic->rowStride + (intptr_t)x * pic->pixelStride;
}

/* src(x, y, z) for the block's x lane with y and z the same for all. */
static void sampleRow(const Picture* pic, const int32_t* x, i32 y, i32 z, int32_t* r, int n) {
  if (z < 0 || z >= pic->channels) {
    for (int k = 0; k < n; ++k) r[k] = 0;
    return;
  }
  y = y < 0 ? 0 : y >= pic->height ? pic->height - 1 : y;
  const uint8_t* row = pic->data + y * pic->rowStride + z;
  const int last = pic->width - 1, col = pic->pixelStride;
  for (int k = 0; k < n; ++k)
    r[k] = row[(intptr_t)(x[k] < 0 ? 0 : x[k] > last ? last : x[k]) * col];
}

/* 1 when every offset into the picture fits 32 bits, so they vectorise. */
static int narrowOffsets(const Picture* pic) {
  return pic->rowStride > 0 && (int64_t)pic->rowStride * pic->height < ((int64_t)1 << 31);
}

/* Where src(x, y, ...) or rad(a, b, ...) reads, for lanes x and y or a and b. */
static void samplePlaces(const Picture* pic, const int32_t* x, const int32_t* y, intptr_t* at,
                         int n) {
  if (narrowOffsets(pic)) {
    const i32 lastX = pic->width - 1, lastY = pic->height - 1;
    const i32 row = (i32)pic->rowStride, col = pic->pixelStride;
    for (int k = 0; k < n; ++k)
      at[k] = imin(imax(y[k], 0), lastY) * row + imin(imax(x[k], 0), lastX) * col;
  } else {
    for (int k = 0; k < n; ++k) at[k] = placeOf(pic, x[k], y[k]);
  }
}
static void radialPlaces(const Picture* pic, const int32_t* a, const int32_t* b, intptr_t* at,
                         int n) {
  const i32 cx = pic->width / 2, cy = pic->height / 2;
  int32_t x[RT_BLOCK], y[RT_BLOCK];
  for (int k = 0; k < n; ++k) {
    x[k] = wadd(cx, radial(a[k], b[k]));
    y[k] = wadd(cy, radial(wsub(a[k], 256), b[k]));
  }
  samplePlaces(pic, x, y, at, n);
}

/* The bytes at the offsets in plane z, the lane z or the number zk when z is 0; 0 outside the
   picture's planes. */
static void readPlane(const Picture* pic, const intptr_t* at, const int32_t* z, i32 zk, int32_t* r,
                      int n) {
  if (z) {
    for (int k = 0; k < n; ++k)
      r[k] = z[k] >= 0 && z[k] < pic->channels ? pic->data[at[k] + z[k]] : 0;
  } else if (zk < 0 || zk >= pic->channels) {
    for (int k = 0; k < n; ++k) r[k] = 0;
  } else {
    const uint8_t* plane = pic->data + zk;
    for (int k = 0; k < n; ++k) r[k] = plane[at[k]];
  }
}

/* cnv's weighted sum at (x, y) without a divisor, with the picture's edges pinned. */
static i32 convolveAt(const Picture* pic, const i32* w, i32 x, i32 y, i32 z) {
  i32 sum = 0;
  for (int i = 0; i < 9; ++i)
    sum = wadd(sum, wmul(w[i], sample(pic, x + i % 3 - 1, y + i / 3 - 1, z)));
  return sum;
}

/* The same with the weights of lanes q at k, divided by lane 9's value. */
static i32 cnvAt(const Picture* pic, const int32_t* const* q, int k, i32 x, i32 y, i32 z) {
  i32 w[9];
  for (int i = 0; i < 9; ++i) w[i] = q[i][k];
  return wdiv(convolveAt(pic, w, x, y, z), q[9][k]);
}

/* The weighted sums of the nine bytes around each of n pixels from c on, for weights whose
   sums of any bytes fit 16 bits: sums of 16-bit numbers, eight or more to an instruction. */
static void convolveNarrow(const uint8_t* c, intptr_t row, intptr_t col, const i32* w, int32_t* r,
                           int n) {
  int16_t t[RT_BLOCK + 2], m[RT_BLOCK + 2], b[RT_BLOCK + 2];
  for (int k = 0; k < n + 2; ++k) {
    t[k] = c[k * col];
    m[k] = c[row + k * col];
    b[k] = c[2 * row + k * col];
  }
  const int16_t w0 = (int16_t)w[0], w1 = (int16_t)w[1], w2 = (int16_t)w[2], w3 = (int16_t)w[3],
                w4 = (int16_t)w[4], w5 = (int16_t)w[5], w6 = (int16_t)w[6], w7 = (int16_t)w[7],
                w8 = (int16_t)w[8];
  for (int k = 0; k < n; ++k)
    r[k] = (int16_t)(w0 * t[k] + w1 * t[k + 1] + w2 * t[k + 2] + w3 * m[k] + w4 * m[k + 1] +
                     w5 * m[k + 2] + w6 * b[k] + w7 * b[k + 1] + w8 * b[k + 2]);
}

/* The same for any weights, in 32 bits that wrap as the language's arithmetic does. */
static void convolveWide(const uint8_t* c, intptr_t row, intptr_t col, const i32* w, int32_t* r,
                         int n) {
  u32 t[RT_BLOCK + 2], m[RT_BLOCK + 2], b[RT_BLOCK + 2];
  for (int k = 0; k < n + 2; ++k) {
    t[k] = c[k * col];
    m[k] = c[row + k * col];
    b[k] = c[2 * row + k * col];
  }
  const u32 w0 = (u32)w[0], w1 = (u32)w[1], w2 = (u32)w[2], w3 = (u32)w[3], w4 = (u32)w[4],
            w5 = (u32)w[5], w6 = (u32)w[6], w7 = (u32)w[7], w8 = (u32)w[8];
  for (int k = 0; k < n; ++k)
    r[k] = (i32)(w0 * t[k] + w1 * t[k + 1] + w2 * t[k + 2] + w3 * m[k] + w4 * m[k + 1] +
                 w5 * m[k + 2] + w6 * b[k] + w7 * b[k + 1] + w8 * b[k + 2]);
}

/* cnv with constant weights w over the n pixels of row y from x0 on, without the divisor:
   away from the picture's edges the nine bytes are read at their offsets (the three rows'
   bytes first, as numbers side by side, so that the sums vectorise), at the edges through
   sample's pinning. */
static void convolveBlock(const Picture* pic, const i32* w, i32 x0, i32 y, i32 z, int32_t* r,
                          int n) {
  if (z < 0 || z >= pic->channels) {
    for (int k = 0; k < n; ++k) r[k] = 0;
    return;
  }
  int lo = n, hi = n; /* the pixels [lo, hi) have all their neighbours */
  if (y >= 1 && y + 1 < pic->height) {
    lo = x0 < 1 ? 1 - x0 : 0;
    hi = x0 + n < pic->width ? n : pic->width - 1 - x0;
  }
  if (lo < hi) {
    const intptr_t row = pic->rowStride, col = pic->pixelStride;
    const uint8_t* c = pic->data + (y - 1) * row + (intptr_t)(x0 + lo - 1) * col + z;
    int64_t weight = 0;
    for (int i = 0; i < 9; ++i) weight += w[i] < 0 ? -(int64_t)w[i] : w[i];
    if (weight * 255 <= 32767)
      convolveNarrow(c, row, col, w, r + lo, hi - lo);
    else
      convolveWide(c, row, col, w, r + lo, hi - lo);
  } else {
    lo = hi = n;
  }
  for (int k = 0; k < lo; ++k) r[k] = convolveAt(pic, w, x0 + k, y, z);
  for (int k = hi; k < n; ++k) r[k] = convolveAt(pic, w, x0 + k, y, z);
}

/* d and m of a row's pixels, as rt_angle and rt_magnitude give them, in loops without
   branches. The pixels' distances from the centre are below 2^16, so nothing wraps and
   quotients through doubles are exact. */
static void angles(i32 px, i32 py, int32_t* d, int n) {
  const i32 ay = py < 0 ? -py : py;
  for (int k = 0; k < n; ++k) {
    const i32 x = px + k, ax = x < 0 ? -x : x;
    const i32 lo = imin(ax, ay), hi = imax(ax, ay);
    const i32 v = rt_angle_table[(i32)((double)(lo * 1024) / (double)imax(hi, 1))];
    const i32 turned = (x < 0) != (ay > ax) ? 256 - v : v;
    const i32 u = x < 0 ? turned + 256 : turned;
    d[k] = py < 0 ? -u : u;
  }
}
static void magnitudes(i32 px, i32 py, int32_t* m, int n) {
  const i32 b = py < 0 ? -py : py;
  for (int k = 0; k < n; ++k) {
    const i32 x = px + k, a = x < 0 ? -x : x;
    const i32 lo = imin(a, b), hi = imax(a, b);
    const i32 q = imin((i32)((double)(lo * 1024) / (double)imax(hi, 1)), 1023);
    const i32 t = a == b ? 27146 : rt_hyp_table[q];
    m[k] = hi + (i32)(((int64_t)t * hi) >> 16);
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
  l[V_Y][0] = y;
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
  if (used & 1u << V_D) angles(x - pic->width / 2, y - pic->height / 2, l[V_D], n);
  if (used & 1u << V_M) magnitudes(x - (pic->width + 1) / 2, y - (pic->height + 1) / 2, l[V_M], n);
}

/* Keeps place d as part k of the plan, for the channels after this one. */
static void keepPart(Sharing* share, int k, const Places* s, int d, int n) {
  share->isConstant[k] = !s->lane[d];
  share->value[k] = s->value[d];
  int32_t* lane = share->values + k * RT_BLOCK;
  for (int i = 0; s->lane[d] && i < n; ++i) lane[i] = s->lane[d][i];
}

void rt_clamp_bytes(const int32_t* restrict v, uint8_t* restrict bytes, int n) {
  for (int k = 0; k < n; ++k) bytes[k] = (uint8_t)clampByte(v[k]);
}

void rt_store_block(const uint8_t (*restrict bytes)[RT_BLOCK], int channels, uint8_t* restrict o,
                    int stride, int n) {
  if (channels == 3 && stride == 3) {
    for (int k = 0; k < n; ++k) {
      o[3 * k] = bytes[0][k];
      o[3 * k + 1] = bytes[1][k];
      o[3 * k + 2] = bytes[2][k];
    }
  } else if (channels == 4 && stride == 4) {
    for (int k = 0; k < n; ++k) {
      o[4 * k] = bytes[0][k];
      o[4 * k + 1] = bytes[1][k];
      o[4 * k + 2] = bytes[2][k];
      o[4 * k + 3] = bytes[3][k];
    }
  } else {
    for (int ch = 0; ch < channels; ++ch)
      for (int k = 0; k < n; ++k) o[k * stride + ch] = bytes[ch][k];
  }
}

const int32_t* rt_run_block(const Code* code, const Picture* pic, const int32_t* lanes,
                            int32_t* work, int n, Sharing* share) {
  Places s;
  const int32_t* const begin = code->code;
  const int32_t* ip = begin;
  const int32_t* end = ip + code->length;
  const uint8_t* sl = pic->sliders;
  const int32_t* lx = lanes + V_X * RT_BLOCK;
  const int32_t* ly = lanes + V_Y * RT_BLOCK;
  const int32_t* lz = lanes + V_Z * RT_BLOCK;
  const SharePlan* plan = share ? &share->plan : 0;
  int part = 0; /* the plan's next part */
  int d = -1;
  for (;;) {
    const int at = (int)(ip - begin);
    if (plan && part < plan->count && plan->part[part].kind == RT_SHARE_VALUE) {
      const SharedPart* p = &plan->part[part];
      if (share->reuse && at == p->start) {
        s.lane[++d] = share->isConstant[part] ? 0 : share->values + part * RT_BLOCK;
        s.value[d] = share->value[part];
        ip = begin + p->end;
        ++part;
        continue;
      }
      if (!share->reuse && at == p->end) {
        keepPart(share, part++, &s, d, n);
        continue;
      }
    }
    if (ip >= end) break;
    const int op = *ip++;
    switch (op) {
      case OP_K:
        s.lane[++d] = 0;
        s.value[d] = *ip++;
        break;
      case OP_VAR: {
        const int v = *ip++;
        /* The row, the channel and the picture's numbers are the same for the whole block. */
        s.lane[++d] = v >= V_Z || v == V_Y ? 0 : lanes + v * RT_BLOCK;
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
          rt_divide_by(r, s.lane[d], b, n, op == OP_MOD);
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
      case OP_RAD: {
        const int placesPart = plan && part < plan->count && plan->part[part].start == at &&
                               plan->part[part].kind == RT_SHARE_PLACES;
        d -= 2;
        int32_t* r = work + d * RT_BLOCK;
        if (allConstant(&s, d, 3)) {
          const i32 x = s.value[d], y = s.value[d + 1], z = s.value[d + 2];
          r[0] = op == OP_SRC ? sample(pic, x, y, z)
                              : sample(pic, wadd(pic->width / 2, radial(x, y)),
                                       wadd(pic->height / 2, radial(wsub(x, 256), y)), z);
          settle(&s, d, 1, r);
          part += placesPart;
          break;
        }
        if (!placesPart && op == OP_SRC && s.lane[d] && !s.lane[d + 1] && !s.lane[d + 2]) {
          sampleRow(pic, s.lane[d], s.value[d + 1], s.value[d + 2], r, n);
        } else {
          intptr_t own[RT_BLOCK];
          intptr_t* places = placesPart ? share->places + part * RT_BLOCK : own;
          if (!placesPart || !share->reuse) {
            const int32_t* a = laneOf(&s, work, d, n);
            const int32_t* b = laneOf(&s, work, d + 1, n);
            if (op == OP_SRC)
              samplePlaces(pic, a, b, places, n);
            else
              radialPlaces(pic, a, b, places, n);
          }
          readPlane(pic, places, s.lane[d + 2], s.value[d + 2], r, n);
          part += placesPart;
        }
        settle(&s, d, 0, r);
        break;
      }
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
          convolveBlock(pic, &s.value[d], lx[0], ly[0], lz[0], r, n);
          rt_divide_by(r, r, s.value[d + 9], n, 0);
          s.lane[d] = r;
        } else {
          LANEN(10, Q(9) == 0 ? 0 : cnvAt(pic, q, k, lx[k], ly[0], lz[0]));
        }
        break;
      default:
        break;
    }
  }
  return laneOf(&s, work, 0, n);
}
