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

#endif
