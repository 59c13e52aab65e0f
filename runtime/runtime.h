/* What the entry point, the filter driver and the dialogs share. */
#ifndef QM_RUNTIME_RUNTIME_H
#define QM_RUNTIME_RUNTIME_H

#include "filter_abi.h"
#include "formula.h"
#include "params.h"
#include "share.h"

/* One filter run's state, kept in the host's data cell between selectors. */
typedef struct {
  Params params;
  uint8_t sliders[8];
  int showDialog; /* the Parameters selector asked for the dialog */
  Code code[4];
  int32_t* stack;
  int useBlocks;       /* 64-bit: the formulas run a block of pixels at a time */
  int blockWidth;      /* pixels to a block */
  int leader[4];       /* the first channel whose code the channel repeats: itself if none */
  Sharing* sharing[4]; /* of the channels others repeat */
  int channels;        /* Z: formulas run */
  int imageMode;
  int inPlanes, outPlanes;
  int width, height;
  uint8_t* copy; /* the whole input, interleaved inPlanes */
  intptr_t copyRow;
  int phase; /* 0 reading input, 1 writing output, 2 done */
  int band;  /* first row of the band requested */
  int bandHeight;
  uint32_t reported; /* tick count when the host last heard of the progress */
  RunState state;
} Run;

/* Compiles the formulas for Z channels; 0 on success, else errorString is filled. */
int rt_prepare_formulas(Run* run, FilterRecord* rec);
/* Readies the compiled code of run->channels channels for rt_filter_rows, in blocks of
   blockWidth pixels (RT_BLOCK if out of range) where allowed; 0 when out of memory. */
int rt_prepare_rows(Run* run, int blocksAllowed, int blockWidth);
/* Frees what rt_prepare_formulas and rt_prepare_rows allocated. */
void rt_free_rows(Run* run);
/* Told that row y is written; a nonzero answer stops the rows. */
typedef int (*RowDone)(void* context, int y);
/* Filters rows [top, bottom) of the picture into out, the work that serves every row done once;
   done, when given, hears of each row. Returns done's nonzero answer, else 0. */
int rt_filter_rows(Run* run, const Picture* pic, uint8_t* out, intptr_t outRow, int outStride,
                   int top, int bottom, RunState* state, RowDone done, void* context);

/* Returns 1 when the user confirmed (sliders updated), 0 on cancel. */
int rt_dialog(Run* run, FilterRecord* rec);
void rt_about(const Params* params, void* parentWindow);

void rt_copy(void* dst, const void* src, uintptr_t n);

#endif
