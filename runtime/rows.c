/* Filtering rows of a picture: a block of pixels at a time where pixels do not depend on
   each other (64-bit), else pixel after pixel. */
#include "runtime.h"

#ifdef _WIN64
static void filterBlocks(Run* run, const Picture* pic, uint8_t* out, intptr_t outRow, int outStride,
                         int top, int bottom, uint32_t used, const int32_t* vars) {
  int32_t* lanes = run->stack;
  int32_t* work = lanes + V_COUNT * RT_BLOCK;
  for (int v = V_W; v <= V_MAXMAG; ++v)
    for (int k = 0; k < RT_BLOCK; ++k) lanes[v * RT_BLOCK + k] = vars[v];
  for (int y = top; y < bottom; ++y) {
    uint8_t* row = out + (y - top) * outRow;
    for (int x0 = 0; x0 < pic->width; x0 += RT_BLOCK) {
      const int n = pic->width - x0 < RT_BLOCK ? pic->width - x0 : RT_BLOCK;
      rt_block_inputs(pic, x0, y, n, used, lanes);
      for (int ch = 0; ch < pic->channels; ++ch) {
        const int32_t* in = lanes + (pic->channels == 1 ? V_R : ch < 3 ? V_R + ch : V_A) * RT_BLOCK;
        const uint32_t needs = run->code[ch].varsUsed;
        for (int k = 0; needs & 1u << V_C && k < n; ++k) lanes[V_C * RT_BLOCK + k] = in[k];
        for (int k = 0; needs & 1u << V_Z && k < n; ++k) lanes[V_Z * RT_BLOCK + k] = ch;
        const int32_t* v = rt_run_block(&run->code[ch], pic, lanes, work, n);
        uint8_t* o = row + (intptr_t)x0 * outStride + ch;
        for (int k = 0; k < n; ++k, o += outStride)
          *o = (uint8_t)(v[k] < 0 ? 0 : v[k] > 255 ? 255 : v[k]);
      }
    }
  }
}

#endif

void rt_filter_rows(Run* run, const Picture* pic, uint8_t* out, intptr_t outRow, int outStride,
                    int top, int bottom, RunState* state) {
  int32_t vars[V_COUNT];
  uint32_t used = 0;
  for (int ch = 0; ch < pic->channels; ++ch) used |= run->code[ch].varsUsed;
  vars[V_W] = pic->width;
  vars[V_H] = pic->height;
  vars[V_CHANNELS] = pic->channels;
  vars[V_MAXMAG] = rt_magnitude(pic->width / 2, pic->height / 2);
#ifdef _WIN64
  if (run->useBlocks) {
    filterBlocks(run, pic, out, outRow, outStride, top, bottom, used, vars);
    return;
  }
#endif
  for (int y = top; y < bottom; ++y) {
    uint8_t* o = out + (y - top) * outRow;
    for (int x = 0; x < pic->width; ++x, o += outStride) {
      rt_pixel_inputs(pic, x, y, used, vars);
      for (int ch = 0; ch < pic->channels; ++ch) {
        vars[V_C] = pic->channels == 1 ? vars[V_R] : ch < 3 ? vars[V_R + ch] : vars[V_A];
        vars[V_Z] = ch;
        const int32_t v = rt_run(&run->code[ch], pic, vars, run->stack, state);
        o[ch] = (uint8_t)(v < 0 ? 0 : v > 255 ? 255 : v);
      }
    }
  }
}
