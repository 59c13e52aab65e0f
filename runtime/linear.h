/* Filters whose every channel is a weighted sum of the pixel's own channels, perhaps divided by
   a positive number: channel mixers, copies, swaps, inversions, greys. They are the commonest
   formulas and the cheapest to compute, so they run as one pass over the pixels with no
   evaluator between, in 16-bit arithmetic where the sums' ranges allow it. */
#ifndef QM_RUNTIME_LINEAR_H
#define QM_RUNTIME_LINEAR_H

#include "formula.h"

typedef struct {
  /* The constant, then the weights of the picture's planes 0..3 (a channel read twice, as in
     a grey picture, adds its weights); wrapping, as the language's arithmetic. */
  int32_t weight[5];
  int32_t divisor; /* > 0 */
  /* 0: 32-bit sums; else the sums fit 16 bits, as 0..65535 (1) or -32768..32767 (2), and
     the divisor is 2^shift */
  int narrow;
  int shift;
} WeightedSum;

typedef struct {
  WeightedSum channel[4];
  int planes[4]; /* the planes' offsets in a pixel, -1 for one no channel reads */
} LinearPlan;

/* 1 when every channel's code is such a sum for this picture, sliders and per-run values
   vars (V_W..V_MAXMAG); fills plan. */
int rt_plan_linear(const Code* code, const Picture* pic, const int32_t* vars, LinearPlan* plan);

/* Filters rows [top, bottom) of pic into out by plan. */
void rt_linear_rows(const LinearPlan* plan, const Picture* pic, uint8_t* out, intptr_t outRow,
                    int outStride, int top, int bottom);

#endif
