/* The weighted sums over the pixels. */
#include "linear.h"

#include "arith.h"
#include "block.h"

/* The bytes of a channel whose sums fit 16 bits; a negative sum, which its division leaves at
   or below 0, gives 0. n is a multiple of 8, so the loops need no ends of their own. */
static void narrowSums(const WeightedSum* s, const uint16_t (*restrict in)[RT_BLOCK],
                       uint8_t* restrict bytes, int n) {
  const uint16_t w0 = (uint16_t)s->weight[0], w1 = (uint16_t)s->weight[1],
                 w2 = (uint16_t)s->weight[2], w3 = (uint16_t)s->weight[3],
                 w4 = (uint16_t)s->weight[4];
  const uint16_t sign = s->narrow == 2 ? 0x8000 : 0;
  const int shift = s->shift;
  for (int k = 0; k < n; ++k) {
    const uint16_t t = (uint16_t)(w0 + (unsigned)w1 * in[0][k] + (unsigned)w2 * in[1][k] +
                                  (unsigned)w3 * in[2][k] + (unsigned)w4 * in[3][k]);
    const uint16_t v = t & sign ? 0 : (uint16_t)(t >> shift);
    bytes[k] = (uint8_t)(v > 255 ? 255 : v);
  }
}

/* The same in 32 bits that wrap, for any weights and divisor. */
static void wideSums(const WeightedSum* s, const uint16_t (*restrict in)[RT_BLOCK],
                     int32_t* restrict lane, uint8_t* restrict bytes, int n) {
  const u32 w0 = (u32)s->weight[0], w1 = (u32)s->weight[1], w2 = (u32)s->weight[2],
            w3 = (u32)s->weight[3], w4 = (u32)s->weight[4];
  for (int k = 0; k < n; ++k)
    lane[k] = (i32)(w0 + w1 * in[0][k] + w2 * in[1][k] + w3 * in[2][k] + w4 * in[3][k]);
  if (s->divisor != 1) rt_divide_by(lane, lane, s->divisor, n, 0);
  rt_clamp_bytes(lane, bytes, n);
}

/* Pixels of 3 and 4 bytes, the usual ones, have a loop of their own: with the stride known the
   compiler moves whole groups of bytes. */
static void readPlanes(const LinearPlan* plan, const uint8_t* restrict p, int stride,
                       uint16_t (*restrict in)[RT_BLOCK], int n) {
  if (stride == 3 && plan->planes[3] < 0) {
    for (int k = 0; k < n; ++k) {
      in[0][k] = p[3 * k];
      in[1][k] = p[3 * k + 1];
      in[2][k] = p[3 * k + 2];
    }
  } else if (stride == 4) {
    for (int k = 0; k < n; ++k) {
      in[0][k] = p[4 * k];
      in[1][k] = p[4 * k + 1];
      in[2][k] = p[4 * k + 2];
      in[3][k] = p[4 * k + 3];
    }
  } else {
    for (int j = 0; j < 4; ++j)
      for (int k = 0; plan->planes[j] >= 0 && k < n; ++k)
        in[j][k] = p[k * stride + plan->planes[j]];
  }
}

void rt_linear_rows(const LinearPlan* plan, const Picture* pic, uint8_t* out, intptr_t outRow,
                    int outStride, int top, int bottom) {
  uint16_t in[4][RT_BLOCK];
  int32_t lane[RT_BLOCK];
  uint8_t bytes[4][RT_BLOCK];
  /* A plane no channel reads has weight 0 everywhere; its lane only has to hold numbers. */
  for (int j = 0; j < 4; ++j)
    for (int k = 0; k < RT_BLOCK; ++k) in[j][k] = 0;
  for (int y = top; y < bottom; ++y) {
    const uint8_t* row = pic->data + y * pic->rowStride;
    uint8_t* o = out + (y - top) * outRow;
    for (int x0 = 0; x0 < pic->width; x0 += RT_BLOCK) {
      const int n = pic->width - x0 < RT_BLOCK ? pic->width - x0 : RT_BLOCK;
      /* The whole block is read before any of it is written: the output may be the input. */
      readPlanes(plan, row + (intptr_t)x0 * pic->pixelStride, pic->pixelStride, in, n);
      const int whole = (n + 7) & ~7; /* the lanes past n hold numbers too */
      for (int ch = 0; ch < pic->channels; ++ch) {
        const WeightedSum* s = &plan->channel[ch];
        if (s->narrow)
          narrowSums(s, (const uint16_t(*)[RT_BLOCK])in, bytes[ch], whole);
        else
          wideSums(s, (const uint16_t(*)[RT_BLOCK])in, lane, bytes[ch], whole);
      }
      rt_store_block((const uint8_t(*)[RT_BLOCK])bytes, pic->channels, o + (intptr_t)x0 * outStride,
                     outStride, n);
    }
  }
}
