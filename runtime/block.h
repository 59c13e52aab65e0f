/* The block evaluator: one channel's code over a block of pixels of a row, for code without
   cells or random numbers, where pixels do not depend on each other. */
#ifndef QM_RUNTIME_BLOCK_H
#define QM_RUNTIME_BLOCK_H

#include "share.h"

/* Runs one channel's code for the n <= RT_BLOCK pixels whose inputs are in lanes (V_COUNT
   lanes of RT_BLOCK values), with work space for code->maxDepth lanes; returns the lane
   holding the values. With share, the parts of its plan are kept or reused. */
const int32_t* rt_run_block(const Code* code, const Picture* pic, const int32_t* lanes,
                            int32_t* work, int n, Sharing* share);

/* Fills the input lanes V_X..V_M of the n pixels from (x, y) on. */
void rt_block_inputs(const Picture* pic, int x, int y, int n, uint32_t used, int32_t* lanes);

/* r = a / b or a % b of n values as the interpreter divides (by 0: 0; by -1: negated,
   remainder 0); r may be a. */
void rt_divide_by(int32_t* r, const int32_t* a, int32_t b, int n, int remainder);

/* The n values of v pinned to 0..255. */
void rt_clamp_bytes(const int32_t* v, uint8_t* bytes, int n);

/* Spreads the n bytes of each of the channels to pixels of stride bytes from o on. Pixels of
   3 and 4 bytes, the usual ones, have loops of their own: with the stride known the compiler
   moves whole groups of bytes. */
void rt_store_block(const uint8_t (*bytes)[RT_BLOCK], int channels, uint8_t* o, int stride, int n);

#endif
