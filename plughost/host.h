/* The parts of the host process and what they share. */
#ifndef QM_PLUGHOST_HOST_H
#define QM_PLUGHOST_HOST_H

#include <stdint.h>
#include <windows.h>

#include "filter_abi.h"

typedef void (*EntryPoint)(int16_t selector, void* record, intptr_t* data, int16_t* result);

/* One filter of a plugin file: the facts of its PiPL that a run needs. */
typedef struct {
  char entry[64];    /* export name for this architecture; empty when the PiPL has none */
  uint16_t modes;    /* 'mode' bits, first byte high; 0xFFFF when the PiPL names none */
  int isFilter;      /* 'kind' is '8BFM', or the PiPL has no 'kind' */
  int hasOtherEntry; /* an entry for another architecture only */
} FilterEntry;

/* Filter index (1-based) of the PiPLs of module, in resource order. 0 when there is none;
   -1 when the file has fewer PiPLs. */
int pipl_find(HMODULE module, int index, FilterEntry* entry);
/* Mode bit of an image mode in the 'mode' flags. */
uint16_t pipl_mode_bit(int imageMode);

/* Writes one answer line to the program (tab-separated fields, NUL-ended list). */
void answer(const char* first, ...);

/* The suites the record points to; handles are blocks whose first word is the data. */
void suites_fill(FilterRecord* rec);
void suites_dispose_handle(Handle h);
BasicSuite* suites_basic(void);

/* A plugin's own windows stay shut when quiet is set (runs without a dialog). */
void quiet_windows(int quiet);

/* Runs filter entry of module on the pixel file at path; answers the program. */
int run_filter(EntryPoint entry, const FilterEntry* facts, const wchar_t* pixelFile, int dialog);

#endif
