/* The formula language inside the plugin: text -> postfix code -> values. Semantics follow
   the desktop program's interpreter exactly: every operand is evaluated, left to right;
   all arithmetic wraps at 32 bits. */
#ifndef QM_RUNTIME_FORMULA_H
#define QM_RUNTIME_FORMULA_H

#include <stdint.h>

enum {
  /* per pixel */
  V_X,
  V_Y,
  V_R,
  V_G,
  V_B,
  V_A,
  V_I,
  V_U,
  V_V,
  V_D,
  V_M,
  /* per channel */
  V_C,
  V_Z,
  /* per run */
  V_W,
  V_H,
  V_CHANNELS,
  V_MAXMAG,
  V_COUNT
};

typedef struct {
  int32_t* code; /* op, then its immediate for K and VAR */
  int length;
  int capacity;
  int depth; /* deepest value stack the code needs */
  int maxDepth;
  uint32_t varsUsed;
  int usesState; /* cells or random numbers: pixels must run one after another */
} Code;

typedef struct {
  int position;     /* byte offset of the error */
  char message[80]; /* "unknown name 'pow'": names the name or character at fault */
} FormulaError;

/* Compiles text into code (allocated with rt_alloc); 0 on success. */
int rt_compile(const char* text, int length, Code* code, FormulaError* error);

/* The run's shared state: storage cells and the subtractive random generator. */
typedef struct {
  int32_t cells[256];
  uint32_t s[56];
  int p1, p2;
} RunState;

void rt_seed(RunState* state, uint32_t seed);

typedef struct {
  const uint8_t* data; /* pixel (0,0) of the filtered area */
  int width, height;
  int channels; /* Z */
  int pixelStride;
  intptr_t rowStride;
  uint8_t sliders[8];
} Picture;

/* Runs one channel's code for the pixel whose inputs are in vars; returns the value. */
int32_t rt_run(const Code* code, const Picture* pic, int32_t* vars, int32_t* stack,
               RunState* state);

/* The 64-bit runtime, and its evaluators built for this machine, have the block evaluator;
   the 32-bit runtime has no room for it. */
#if !defined(_WIN32) || defined(_WIN64)
#define RT_HAS_BLOCKS 1
#else
#define RT_HAS_BLOCKS 0
#endif

/* Most pixels per block of the block evaluator. */
#define RT_BLOCK 256

/* Fills the per-pixel inputs of (x, y). */
void rt_pixel_inputs(const Picture* pic, int x, int y, uint32_t used, int32_t* vars);

void rt_tables_init(void);
int32_t rt_magnitude(int32_t a, int32_t b);
/* The direction of (x, y) in 1024ths of a turn, as the d of a pixel. */
int32_t rt_angle(int32_t x, int32_t y);

void* rt_alloc(uintptr_t size);
void rt_free(void* p);

#endif
