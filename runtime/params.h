/* The filter's parameter block, found as the plugin's own PARM resource: the places the
   plugin writer patches (slider values, dialog word, texts, formulas). */
#ifndef QM_RUNTIME_PARAMS_H
#define QM_RUNTIME_PARAMS_H

#include <stdint.h>

#include "block_layout.h" /* kBlock* offsets, kResourceId, kParmHeader; generated */

typedef struct {
  const uint8_t* block; /* kBlockSize bytes */
  uint16_t modes;       /* the PIPL's supported-modes word */
  void* module;
} Params;

/* 0 when the plugin carries no parameter block. */
int rt_load_params(Params* params);

/* Slider i's stored value (0..255). */
uint8_t rt_slider(const Params* params, int i);
/* Length of the zero-ended text at offset, within room bytes. */
int rt_text_length(const Params* params, int offset, int room);
/* Copies the zero-ended text at offset (within room bytes) to out, which holds room + 1,
   ends it and returns its length. */
int rt_field_text(const Params* params, int offset, int room, char* out);

#endif
