/* The filter's parameter block, found as the plugin's own PARM resource: the places the
   plugin writer patches (slider values, dialog word, texts, formulas). */
#ifndef QM_RUNTIME_PARAMS_H
#define QM_RUNTIME_PARAMS_H

#include <stdint.h>

enum {
  kBlockSliders = 0,
  kBlockDialogWord = 32,
  kBlockMapFlags = 48,
  kBlockControlFlags = 64,
  kBlockCategory = 96,
  kBlockTitle = 352,
  kBlockCopyright = 608,
  kBlockAuthor = 864,
  kBlockMapNames = 1120,
  kBlockControlNames = 2144,
  kBlockFormulas = 4192,
  kBlockText = 256,
  kBlockFormula = 1024,
  kBlockSize = 8288
};

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

#endif
