/* Work that the channels of a block share. Where a later channel runs the same code as an
   earlier one, the parts of that code that read neither c nor z (nor cnv, which reads the
   channel's plane) give the same values, and src and rad whose coordinates are such parts
   read the same places of the picture, only in another plane. The earlier channel keeps
   those values and places; the later one takes them instead of computing them again. */
#ifndef QM_RUNTIME_SHARE_H
#define QM_RUNTIME_SHARE_H

#include "formula.h"

#define RT_MAX_SHARED 24

enum {
  RT_SHARE_VALUE, /* the value of the code words [start, end) */
  RT_SHARE_PLACES /* the picture offsets the src or rad at start reads, before its plane */
};

typedef struct {
  int start, end;
  int kind;
} SharedPart;

typedef struct {
  int count;
  SharedPart part[RT_MAX_SHARED]; /* in code order, none overlapping */
} SharePlan;

/* A plan and what the first channel of the block kept by it, for the later channels. */
typedef struct Sharing {
  SharePlan plan;
  int reuse; /* 0: compute the parts and keep them; 1: take the kept ones */
  int32_t value[RT_MAX_SHARED];
  uint8_t isConstant[RT_MAX_SHARED];
  int32_t values[RT_MAX_SHARED * RT_BLOCK];  /* a lane per value part */
  intptr_t places[RT_MAX_SHARED * RT_BLOCK]; /* a lane per places part */
} Sharing;

/* Finds the parts of code that channels running the same code can share. */
void rt_plan_sharing(const Code* code, SharePlan* plan);

/* 1 when a and b are the same instructions. */
int rt_same_code(const Code* a, const Code* b);

#endif
