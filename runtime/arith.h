/* The integer rules both evaluators share: wrapping arithmetic, division by zero gives 0,
   coordinates pinned to the picture, the trigonometry of the desktop program's tables. */
#ifndef QM_RUNTIME_ARITH_H
#define QM_RUNTIME_ARITH_H

#include "formula.h"

typedef uint32_t u32;
typedef int32_t i32;

/* Filled by rt_tables_init from the quarter wave; every entry fits 16 bits. */
extern int16_t rt_cos_table[1024];
/* The part of a magnitude above its larger leg, by 1024 times the ratio of the legs. */
extern int16_t rt_hyp_table[1024];
/* The angle in 1024ths of a turn, by 1024 times the tangent (0 for 0). */
extern int16_t rt_angle_table[1025];

static inline i32 wadd(i32 a, i32 b) {
  return (i32)((u32)a + (u32)b);
}
static inline i32 wsub(i32 a, i32 b) {
  return (i32)((u32)a - (u32)b);
}
static inline i32 wmul(i32 a, i32 b) {
  return (i32)((u32)a * (u32)b);
}
static inline i32 wneg(i32 a) {
  return (i32)(0u - (u32)a);
}
static inline i32 wdiv(i32 a, i32 b) {
  if (b == 0) return 0;
  if (b == -1) return wneg(a);
  return a / b;
}
static inline i32 wmod(i32 a, i32 b) {
  return b == 0 || b == -1 ? 0 : a % b;
}
static inline i32 wabs(i32 a) {
  return a < 0 ? wneg(a) : a;
}
static inline i32 imin(i32 a, i32 b) {
  return a < b ? a : b;
}
static inline i32 imax(i32 a, i32 b) {
  return a > b ? a : b;
}
static inline i32 clampByte(i32 v) {
  return v < 0 ? 0 : v > 255 ? 255 : v;
}

static inline u32 isqrt64(uint64_t v) {
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

static inline i32 radial(i32 d, i32 mag) {
  const int64_t p = (int64_t)mag * rt_cos_table[d & 1023] + 8191;
  return (i32)(u32)(p >> 14);
}
static inline i32 cosine(i32 x) {
  const i32 v = rt_cos_table[wabs(x) & 1023];
  return v >= 0 ? v / 32 : v / 32 - 1;
}
static inline i32 tangent(i32 x) {
  const i32 den = rt_cos_table[wabs(x) & 1023];
  const i32 num = rt_cos_table[wabs(wsub(x, 256)) & 1023];
  return wdiv(num * 1024, den);
}
static inline i32 squareRoot(i32 x) {
  return x <= 1 ? x : (i32)isqrt64((u32)x);
}

static inline i32 sample(const Picture* pic, i32 x, i32 y, i32 z) {
  if (z < 0 || z >= pic->channels) return 0;
  x = x < 0 ? 0 : x >= pic->width ? pic->width - 1 : x;
  y = y < 0 ? 0 : y >= pic->height ? pic->height - 1 : y;
  return pic->data[y * pic->rowStride + (intptr_t)x * pic->pixelStride + z];
}

static inline i32 mapRamp(const uint8_t* sliders, i32 i, i32 n) {
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

#endif
