/* The plugin's entry point and the filter protocol: the whole input is gathered band by
   band into a copy (so src, rad and cnv see every pixel and rnd runs in row order whatever
   the host's tiles), then the output is computed band by band. With advanceState the whole
   job happens inside Start; without it, through Continue. */
#include <windows.h>

#include "runtime.h"

void* rt_alloc(uintptr_t size) {
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}
void rt_free(void* p) {
  if (p) HeapFree(GetProcessHeap(), 0, p);
}
/* Eight bytes at a time where it can: whole pictures pass through here. */
typedef uint64_t __attribute__((may_alias, aligned(1))) Unaligned64;
void rt_copy(void* dst, const void* src, uintptr_t n) {
  uint8_t* d = (uint8_t*)dst;
  const uint8_t* s = (const uint8_t*)src;
  for (; n >= 8; n -= 8, d += 8, s += 8) *(Unaligned64*)d = *(const Unaligned64*)s;
  while (n--) *d++ = *s++;
}

/* The compiler may call these for structure copies and clears. */
void* memset(void* dst, int v, size_t n) {
  volatile uint8_t* d = (volatile uint8_t*)dst;
  while (n--) *d++ = (uint8_t)v;
  return dst;
}
void* memcpy(void* dst, const void* src, size_t n) {
  rt_copy(dst, src, n);
  return dst;
}

BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}

/* The parameters handle the host keeps for repeat runs: a marker and the slider values. */
enum { kMarker = 0x514D4646, kHandleSize = 12 };

static void saveSliders(FilterRecord* rec, const Run* run) {
  HandleProcs* hp = rec->handleProcs;
  if (!hp || !hp->newProc) return;
  if (!rec->parameters) rec->parameters = hp->newProc(kHandleSize);
  if (!rec->parameters) return;
  uint8_t* p = (uint8_t*)(hp->lockProc ? hp->lockProc(rec->parameters, 0) : *rec->parameters);
  if (!p) return;
  *(uint32_t*)p = kMarker;
  rt_copy(p + 4, run->sliders, 8);
  if (hp->unlockProc) hp->unlockProc(rec->parameters);
}

static int loadSliders(FilterRecord* rec, Run* run) {
  HandleProcs* hp = rec->handleProcs;
  if (!hp || !rec->parameters) return 0;
  /* The size a host reports for its handle is not trusted; the marker decides. */
  const uint8_t* p =
      (const uint8_t*)(hp->lockProc ? hp->lockProc(rec->parameters, 0) : *rec->parameters);
  int ok = p && *(const uint32_t*)p == kMarker;
  if (ok) rt_copy(run->sliders, p + 4, 8);
  if (hp->unlockProc) hp->unlockProc(rec->parameters);
  return ok;
}

static void freeRun(Run* run) {
  if (!run) return;
  rt_free_rows(run);
  rt_free(run->copy);
  rt_free(run);
}

/* Appends text to the Pascal string s (at most 255 characters). */
static void appendText(unsigned char* s, const char* text) {
  for (; *text && s[0] < 255; ++text) s[1 + s[0]++] = (unsigned char)*text;
}

/* "R formula, column 5: unknown name 'pow'" into the host's errorString. */
static int16_t reportFormulaError(FilterRecord* rec, int channel, const FormulaError* error) {
  static const char* kChannel[] = {"R", "G", "B", "A"};
  unsigned char* s = rec->errorString;
  if (!s) return kBadParameters;
  char digits[12];
  int n = 11;
  digits[n] = 0;
  for (unsigned v = (unsigned)error->position + 1; v; v /= 10) digits[--n] = (char)('0' + v % 10);
  s[0] = 0;
  appendText(s, kChannel[channel]);
  appendText(s, " formula, column ");
  appendText(s, digits + n);
  appendText(s, ": ");
  appendText(s, error->message);
  return kReportString;
}

int rt_prepare_formulas(Run* run, FilterRecord* rec) {
  for (int ch = 0; ch < run->channels; ++ch) {
    const int offset = kBlockFormulas + ch * kBlockFormula;
    FormulaError error;
    const char* text = (const char*)run->params.block + offset;
    if (rt_compile(text, rt_text_length(&run->params, offset, kBlockFormula), &run->code[ch],
                   &error))
      return reportFormulaError(rec, ch, &error);
  }
  /* Pixels that depend on no earlier pixel run a block at a time (64-bit only). The variable
     lets the tests hold the one-pixel evaluator of the 32-bit runtime to the same results. */
#if RT_HAS_BLOCKS
  const int blocks = !GetEnvironmentVariableA("QUILLMARK_RUNTIME_ONE_PIXEL", NULL, 0);
#else
  const int blocks = 0;
#endif
  return rt_prepare_rows(run, blocks, RT_BLOCK) ? kNoErr : kMemFull;
}

/* The 64-bit runtime reads the host's buffer where it holds the whole picture; the 3.04 layout
   leaves the 32-bit one no room for that, so it always copies. */
#define READS_IN_PLACE RT_HAS_BLOCKS

static int isEmpty(const Rect16* r) {
  return r->left >= r->right || r->top >= r->bottom;
}

static void request(FilterRecord* rec, Run* run) {
  const Rect16 none = {0, 0, 0, 0};
  rec->inRect = rec->outRect = rec->maskRect = none;
  if (run->phase == 2) return;
  Rect16 band = rec->filterRect;
  band.top = (int16_t)(rec->filterRect.top + run->band);
  band.bottom = (int16_t)(band.top + run->bandHeight);
  if (band.bottom > rec->filterRect.bottom) band.bottom = rec->filterRect.bottom;
  if (run->phase == 0 || (READS_IN_PLACE && !run->copy)) {
    rec->inRect = band;
    rec->inLoPlane = 0; /* from plane 0: some hosts mishandle a first plane above 0 */
    rec->inHiPlane = (int16_t)(run->inPlanes - 1);
  }
  if (run->phase == 1) {
    rec->outRect = band;
    rec->outLoPlane = 0;
    rec->outHiPlane = (int16_t)(run->outPlanes - 1);
  }
}

/* The input: the runtime's copy, or the host's buffer when it holds the whole picture. */
static Picture pictureOf(const Run* run, const FilterRecord* rec) {
  Picture pic;
  const int inPlace = READS_IN_PLACE && !run->copy;
  pic.data = inPlace ? (const uint8_t*)rec->inData : run->copy;
  pic.width = run->width;
  pic.height = run->height;
  pic.channels = run->channels;
  pic.pixelStride = run->inPlanes;
  pic.rowStride = inPlace ? rec->inRowBytes : run->copyRow;
  rt_copy(pic.sliders, run->sliders, 8);
  return pic;
}

/* The host hears how far the work is, and may stop it, after the band's first row, its last,
   and whenever kReportMs passed since it last heard: so a cancel is seen within a row's time
   and the progress bar keeps moving. */
enum { kReportMs = 40 };
typedef struct {
  FilterRecord* rec;
  Run* run;
  int last; /* the band's last row */
} BandReport;

static int reportRow(void* context, int row) {
  BandReport* b = (BandReport*)context;
  const DWORD now = GetTickCount();
  if (row > 0 && row < b->last && now - b->run->reported < kReportMs) return kNoErr;
  b->run->reported = now;
  if (b->rec->progressProc) b->rec->progressProc(row + 1, b->run->height);
  return b->rec->abortProc && b->rec->abortProc() ? kUserCanceled : kNoErr;
}

static int16_t filterBand(FilterRecord* rec, Run* run, int rows) {
  const Picture pic = pictureOf(run, rec);
  BandReport report = {rec, run, run->band + rows - 1};
  return (int16_t)rt_filter_rows(run, &pic, (uint8_t*)rec->outData, rec->outRowBytes,
                                 run->outPlanes, run->band, run->band + rows, &run->state,
                                 reportRow, &report);
}

/* Copies the delivered input rows into the runtime's copy of the picture. */
static void keepInput(const FilterRecord* rec, Run* run, int rows) {
  const int rowBytes = run->width * run->inPlanes;
  for (int y = 0; y < rows; ++y)
    rt_copy(run->copy + (run->band + y) * run->copyRow,
            (const uint8_t*)rec->inData + (intptr_t)y * rec->inRowBytes, (uintptr_t)rowBytes);
}

/* 1 when the host's input and output buffers share bytes. */
static int buffersOverlap(const FilterRecord* rec, int rows) {
  const uint8_t* in = (const uint8_t*)rec->inData;
  const uint8_t* out = (const uint8_t*)rec->outData;
  return in < out + (intptr_t)rec->outRowBytes * rows &&
         out < in + (intptr_t)rec->inRowBytes * rows;
}

/* Takes what the host delivered for the current request and moves to the next one. */
static int16_t step(FilterRecord* rec, Run* run) {
  const int rows =
      run->bandHeight < run->height - run->band ? run->bandHeight : run->height - run->band;
  if (run->phase == 0) {
    if (!rec->inData) return kBadParameters;
    keepInput(rec, run, rows);
  } else if (run->phase == 1) {
    const int inPlace = READS_IN_PLACE && !run->copy;
    if (!rec->outData || (inPlace && !rec->inData)) return kBadParameters;
    /* A host that writes over its input gets the input copied first. */
    if (inPlace && buffersOverlap(rec, rows)) {
      run->copy = (uint8_t*)rt_alloc((uintptr_t)(run->copyRow * run->height));
      if (!run->copy) return kMemFull;
      keepInput(rec, run, rows);
    }
    const int16_t err = filterBand(rec, run, rows);
    if (err) return err;
  }
  run->band += rows;
  if (rec->abortProc && rec->abortProc()) return kUserCanceled;
  if (run->band >= run->height) {
    run->band = 0;
    ++run->phase;
    if (run->phase == 1 && run->showDialog) {
      run->showDialog = 0;
      if (!rt_dialog(run, rec)) return kUserCanceled;
      saveSliders(rec, run);
    }
  }
  request(rec, run);
  return kNoErr;
}

static int modeAllowed(const Run* run, int mode) {
  if (mode == kModeRGB) return 1;
  const uint16_t bit = mode == kModeGray ? 0x40 : mode == kModeCMYK ? 0x08 : 0;
  return bit && (run->params.modes & bit);
}

static int16_t start(FilterRecord* rec, Run* run) {
  if (rec->depth != 0 && rec->depth != 8) return kBadMode;
  if (!modeAllowed(run, rec->imageMode)) return kBadMode;
  run->width = rec->filterRect.right - rec->filterRect.left;
  run->height = rec->filterRect.bottom - rec->filterRect.top;
  if (run->width <= 0 || run->height <= 0) return kNoErr;
  run->inPlanes = rec->planes;
  run->imageMode = rec->imageMode;
  if (rec->imageMode == kModeRGB) {
    run->inPlanes = rec->planes >= 4 ? 4 : 3;
    /* A protected transparency plane is read but never written. */
    run->channels = run->inPlanes == 4 && (rec->filterCase < 6) ? 4 : 3;
  } else {
    run->inPlanes = rec->imageMode == kModeGray ? 1 : 4;
    run->channels = run->inPlanes;
  }
  if (rec->planes < run->inPlanes) return kBadMode;
  run->outPlanes = run->channels;
  int16_t err = (int16_t)rt_prepare_formulas(run, rec);
  if (err) return err;
  run->copyRow = (intptr_t)run->width * run->inPlanes;
  /* Bands of the host's tile height when it gives one and memory is short; else everything. */
  run->bandHeight = run->height;
  const int64_t whole = (int64_t)run->copyRow * run->height * 2;
  if (rec->maxSpace > 0 && whole > rec->maxSpace && rec->outTileHeight > 0)
    run->bandHeight = rec->outTileHeight;
  /* The whole picture in one band is read where the host holds it, with the output; bands,
     and the dialog's preview, need a copy of all of it first. */
  run->phase = 1;
  if (!READS_IN_PLACE || run->bandHeight < run->height || run->showDialog) {
    run->copy = (uint8_t*)rt_alloc((uintptr_t)(run->copyRow * run->height));
    if (!run->copy) return kMemFull;
    run->phase = 0;
  }
  rt_seed(&run->state, 0);
  run->band = 0;
  request(rec, run);
  if (rec->advanceState) {
    while (run->phase < 2) {
      err = rec->advanceState();
      if (err) return err;
      err = step(rec, run);
      if (err) return err;
    }
  }
  return kNoErr;
}

/* A new run, or 0 with the reason in *err. */
static Run* newRun(FilterRecord* rec, int16_t* err) {
  Run* run = (Run*)rt_alloc(sizeof(Run));
  *err = kMemFull;
  if (!run) return 0;
  if (!rt_load_params(&run->params)) {
    rt_free(run);
    *err = kBadParameters;
    if (rec->errorString) {
      rec->errorString[0] = 0;
      appendText(rec->errorString,
                 "the plugin is damaged: its filter data is missing or cut short");
      *err = kReportString;
    }
    return 0;
  }
  for (int i = 0; i < 8; ++i) run->sliders[i] = rt_slider(&run->params, i);
  rt_tables_init(); /* the same numbers every time, so a second call does no harm */
  *err = kNoErr;
  return run;
}

__attribute__((dllexport)) void RunFilter(int16_t selector, void* record, intptr_t* data,
                                          int16_t* result) {
  FilterRecord* rec = (FilterRecord*)record;
  Run* run = (Run*)*data;
  int16_t err = kNoErr;
  if (selector == kSelectorAbout) {
    Params params;
    if (rt_load_params(&params)) {
      const AboutRecord* about = (const AboutRecord*)record;
      rt_about(&params, about->platformData ? *(void**)about->platformData : 0);
    }
    *result = kNoErr;
    return;
  }
  if (!run && selector != kSelectorFinish) {
    run = newRun(rec, &err);
    if (!run) {
      *result = err;
      return;
    }
    *data = (intptr_t)run;
  }
  switch (selector) {
    case kSelectorParameters:
      run->showDialog = run->params.block[kBlockDialogWord] != 0;
      saveSliders(rec, run);
      break;
    case kSelectorPrepare:
      rec->bufferSpace = 0;
      break;
    case kSelectorStart:
      /* Repeat runs replay the stored values without the dialog. */
      if (!loadSliders(rec, run)) run->showDialog = run->params.block[kBlockDialogWord] != 0;
      err = start(rec, run);
      if (err) { /* no Finish follows a failed Start */
        freeRun(run);
        *data = 0;
      }
      break;
    case kSelectorContinue:
      if (isEmpty(&rec->inRect) && isEmpty(&rec->outRect)) break;
      err = step(rec, run);
      break;
    case kSelectorFinish:
      freeRun(run);
      *data = 0;
      break;
    default:
      break;
  }
  if (err) {
    const Rect16 none = {0, 0, 0, 0};
    rec->inRect = rec->outRect = rec->maskRect = none;
  }
  *result = err;
}
