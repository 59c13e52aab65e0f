/* Filtering rows of a picture: a block of pixels at a time where pixels do not depend on
   each other (64-bit), else pixel after pixel. */
#include "runtime.h"

#if RT_HAS_BLOCKS
#include "block.h"
#include "linear.h"

/* Channels that run the code of an earlier channel share with it what they can. */
static int planSharing(Run* run) {
  for (int ch = 0; ch < 4; ++ch) {
    rt_free(run->sharing[ch]);
    run->sharing[ch] = 0;
  }
  for (int ch = 0; ch < run->channels; ++ch) {
    run->leader[ch] = ch;
    for (int e = 0; e < ch && run->leader[ch] == ch; ++e)
      if (run->leader[e] == e && rt_same_code(&run->code[e], &run->code[ch])) run->leader[ch] = e;
    const int lead = run->leader[ch];
    if (lead == ch || run->sharing[lead]) continue;
    Sharing* share = (Sharing*)rt_alloc(sizeof(Sharing));
    if (!share) return 0;
    rt_plan_sharing(&run->code[lead], &share->plan);
    run->sharing[lead] = share;
  }
  return 1;
}

static void filterBlocks(Run* run, const Picture* pic, uint8_t* out, intptr_t outRow, int outStride,
                         int top, int bottom, uint32_t used, const int32_t* vars) {
  int32_t* lanes = run->stack;
  int32_t* work = lanes + V_COUNT * RT_BLOCK;
  const int width = run->blockWidth;
  for (int v = V_W; v <= V_MAXMAG; ++v)
    for (int k = 0; k < RT_BLOCK; ++k) lanes[v * RT_BLOCK + k] = vars[v];
  for (int y = top; y < bottom; ++y) {
    uint8_t* row = out + (y - top) * outRow;
    for (int x0 = 0; x0 < pic->width; x0 += width) {
      const int n = pic->width - x0 < width ? pic->width - x0 : width;
      uint8_t bytes[4][RT_BLOCK];
      rt_block_inputs(pic, x0, y, n, used, lanes);
      for (int ch = 0; ch < pic->channels; ++ch) {
        const int32_t* in = lanes + (pic->channels == 1 ? V_R : ch < 3 ? V_R + ch : V_A) * RT_BLOCK;
        if (run->code[ch].varsUsed & 1u << V_C)
          for (int k = 0; k < n; ++k) lanes[V_C * RT_BLOCK + k] = in[k];
        lanes[V_Z * RT_BLOCK] = ch; /* the row and the channel: one number for the block */
        Sharing* share = run->sharing[run->leader[ch]];
        if (share) share->reuse = run->leader[ch] != ch;
        const int32_t* v = rt_run_block(&run->code[ch], pic, lanes, work, n, share);
        rt_clamp_bytes(v, bytes[ch], n);
      }
      rt_store_block((const uint8_t(*)[RT_BLOCK])bytes, pic->channels,
                     row + (intptr_t)x0 * outStride, outStride, n);
    }
  }
}
#endif

int rt_prepare_rows(Run* run, int blocksAllowed, int blockWidth) {
  int deepest = 1;
  for (int ch = 0; ch < run->channels; ++ch)
    if (run->code[ch].maxDepth > deepest) deepest = run->code[ch].maxDepth;
  rt_free(run->stack);
  /* The scalar evaluator's stack, or the block evaluator's input and work lanes. */
  run->stack = (int32_t*)rt_alloc((uintptr_t)(deepest + 1 + V_COUNT) * RT_BLOCK * sizeof(int32_t));
  if (!run->stack) return 0;
#if RT_HAS_BLOCKS
  for (int ch = 0; ch < run->channels; ++ch)
    if (run->code[ch].usesState || run->code[ch].maxDepth > 256) blocksAllowed = 0;
  run->blockWidth = blockWidth < 1 || blockWidth > RT_BLOCK ? RT_BLOCK : blockWidth;
  run->useBlocks = blocksAllowed;
  if (blocksAllowed && !planSharing(run)) return 0;
#else
  (void)blocksAllowed;
  (void)blockWidth;
#endif
  return 1;
}

void rt_free_rows(Run* run) {
  for (int k = 0; k < 4; ++k) {
    rt_free(run->code[k].code);
    run->code[k].code = 0;
#if RT_HAS_BLOCKS
    rt_free(run->sharing[k]);
    run->sharing[k] = 0;
#endif
  }
  rt_free(run->stack);
  run->stack = 0;
}

/* Row y of the picture, pixel after pixel, into o. */
static void filterPixels(Run* run, const Picture* pic, uint8_t* o, int outStride, int y,
                         uint32_t used, int32_t* vars, RunState* state) {
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

int rt_filter_rows(Run* run, const Picture* pic, uint8_t* out, intptr_t outRow, int outStride,
                   int top, int bottom, RunState* state, RowDone done, void* context) {
  int32_t vars[V_COUNT];
  uint32_t used = 0;
  for (int ch = 0; ch < pic->channels; ++ch) used |= run->code[ch].varsUsed;
  vars[V_W] = pic->width;
  vars[V_H] = pic->height;
  vars[V_CHANNELS] = pic->channels;
  vars[V_MAXMAG] = rt_magnitude(pic->width / 2, pic->height / 2);
#if RT_HAS_BLOCKS
  LinearPlan plan;
  const int sums = run->useBlocks && rt_plan_linear(run->code, pic, vars, &plan);
#endif
  for (int y = top; y < bottom; ++y, out += outRow) {
#if RT_HAS_BLOCKS
    if (sums)
      rt_linear_rows(&plan, pic, out, outRow, outStride, y, y + 1);
    else if (run->useBlocks)
      filterBlocks(run, pic, out, outRow, outStride, y, y + 1, used, vars);
    else
#endif
      filterPixels(run, pic, out, outStride, y, used, vars, state);
    const int stop = done ? done(context, y) : 0;
    if (stop) return stop;
  }
  return 0;
}
