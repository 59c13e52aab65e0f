/* A filter host of our own for testing written plugins under Wine: loads the plugin, finds
   its entry point through the PIPL, runs the selectors the way hosts do and writes the
   result.

   qmhost PLUGIN IN.raw OUT.raw [--tile N] [--pad N] [--no-advance] [--parameters]
          [--gray | --cmyk] [--repeat] [--cancel] [--in-place]
   qmhost PLUGIN --about

   --cancel: the user cancels at the first progress report; an error then also says how
   many progress reports the plugin made after it.
   --in-place: when the plugin asks for the same rectangle and planes in and out at once, one
   buffer serves as both, as some hosts do.

   .raw: width, height, channels (uint32 little-endian each), then the pixels row by row.
   Exit code 0 on success; errors go to stderr with the selector and the result code. On
   success stdout says "filter ms N copying ms M": the time of the selectors, the host's
   copying included, and the time the host spent copying pixels in and out of its buffers. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "filter_abi.h"

typedef void (*EntryPoint)(int16_t selector, void* record, intptr_t* data, int16_t* result);

/* ---- the picture ---- */
typedef struct {
  uint32_t width, height, channels;
  uint8_t* pixels;
} Picture;

static int readPicture(const char* path, Picture* pic) {
  FILE* f = fopen(path, "rb");
  uint32_t h[3];
  int ok = f && fread(h, 4, 3, f) == 3;
  if (ok) {
    const size_t n = (size_t)h[0] * h[1] * h[2];
    *pic = (Picture){h[0], h[1], h[2], (uint8_t*)malloc(n)};
    ok = pic->pixels && fread(pic->pixels, 1, n, f) == n;
  }
  if (f) fclose(f);
  return ok;
}

static int writePicture(const char* path, const Picture* pic) {
  FILE* f = fopen(path, "wb");
  if (!f) return 0;
  uint32_t header[3] = {pic->width, pic->height, pic->channels};
  size_t n = (size_t)pic->width * pic->height * pic->channels;
  int ok = fwrite(header, 4, 3, f) == 3 && fwrite(pic->pixels, 1, n, f) == n;
  return fclose(f) == 0 && ok;
}

/* ---- handles: a block whose first word is the data pointer, so *h works ---- */
typedef struct {
  char* data;
  int32_t size;
} HandleBlock;

static Handle newHandle(int32_t size) {
  HandleBlock* b = (HandleBlock*)calloc(1, sizeof(HandleBlock));
  if (!b) return NULL;
  b->data = (char*)calloc(1, size > 0 ? (size_t)size : 1);
  b->size = size;
  return (Handle)b;
}
static void disposeHandle(Handle h) {
  if (!h) return;
  free(((HandleBlock*)h)->data);
  free(h);
}
/* Deliberately wrong: plugins must not trust the size a host reports. */
static int32_t handleSize(Handle h) {
  return h ? ((HandleBlock*)h)->size + 64 : 0;
}
static int16_t setHandleSize(Handle h, int32_t size) {
  HandleBlock* b = (HandleBlock*)h;
  char* grown = (char*)realloc(b->data, (size_t)size);
  if (!grown) return kMemFull;
  b->data = grown;
  b->size = size;
  return 0;
}
static char* lockHandle(Handle h, uint8_t moveHigh) {
  return (void)moveHigh, h ? *h : NULL;
}
static void unlockHandle(Handle h) {
  (void)h;
}

/* ---- the host's state; the callbacks take no context, so it lives here ---- */
static struct {
  FilterRecord rec;
  Picture source, target;
  uint8_t *inBuffer, *outBuffer;
  Rect16 deliveredOut;
  int deliveredOutLo, deliveredOutHi;
  int pad;    /* extra bytes at the end of every delivered row */
  int planes; /* planes of the host picture */
  int cancelAtProgress;
  int inPlace;
  int progressCalls, progressAfterCancel;
  LONGLONG copying; /* performance counter ticks spent in gather and commitOutput */
} host;

static LONGLONG ticks(void) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

static int rectEmpty(const Rect16* r) {
  return r->left >= r->right || r->top >= r->bottom;
}

/* Copies planes lo..lo+n-1 of rect r between pic and buf, whose rows are rowBytes apart:
   into buf when toBuffer, else back into pic. */
static void copyRect(Picture* pic, Rect16 r, int lo, int n, uint8_t* buf, int32_t rowBytes,
                     int toBuffer) {
  for (int y = r.top; y < r.bottom; ++y) {
    uint8_t* p = pic->pixels + ((size_t)y * pic->width + r.left) * host.planes + lo;
    uint8_t* b = buf + (y - r.top) * rowBytes;
    for (int x = 0; x < r.right - r.left; ++x)
      for (int k = 0; k < n; ++k)
        if (toBuffer)
          b[x * n + k] = p[x * host.planes + k];
        else
          p[x * host.planes + k] = b[x * n + k];
  }
}

static void commitOutput(void) {
  if (!host.outBuffer) return;
  const LONGLONG started = ticks();
  copyRect(&host.target, host.deliveredOut, host.deliveredOutLo,
           host.deliveredOutHi - host.deliveredOutLo + 1, host.outBuffer, host.rec.outRowBytes, 0);
  host.copying += ticks() - started;
  if (host.outBuffer == host.inBuffer) host.inBuffer = NULL;
  free(host.outBuffer);
  host.outBuffer = NULL;
  host.rec.outData = NULL;
}

/* Planes lo..hi of rect r of pic in a new buffer with padded rows. */
static uint8_t* gather(Picture* pic, Rect16 r, int lo, int hi, int32_t* rowBytes) {
  const LONGLONG started = ticks();
  const int n = hi - lo + 1;
  *rowBytes = (r.right - r.left) * n + host.pad;
  const size_t size = (size_t)*rowBytes * (r.bottom - r.top) + 1;
  uint8_t* buf = (uint8_t*)malloc(size);
  memset(buf, 0xA5, size);
  copyRect(pic, r, lo, n, buf, *rowBytes, 1);
  host.copying += ticks() - started;
  return buf;
}

static int16_t deliver(void) {
  FilterRecord* rec = &host.rec;
  commitOutput();
  free(host.inBuffer);
  host.inBuffer = NULL;
  rec->inData = NULL;
  rec->inRowBytes = 0;
  if (rec->inLoPlane < 0 || rec->inHiPlane >= host.planes || rec->outLoPlane < 0 ||
      rec->outHiPlane >= host.planes)
    return kBadParameters;
  if (!rectEmpty(&rec->inRect)) {
    host.inBuffer =
        gather(&host.source, rec->inRect, rec->inLoPlane, rec->inHiPlane, &rec->inRowBytes);
    rec->inData = host.inBuffer;
  }
  const int shared = host.inPlace && host.inBuffer &&
                     !memcmp(&rec->inRect, &rec->outRect, sizeof rec->inRect) &&
                     rec->inLoPlane == rec->outLoPlane && rec->inHiPlane == rec->outHiPlane;
  if (shared) {
    host.outBuffer = host.inBuffer;
    rec->outRowBytes = rec->inRowBytes;
    rec->outData = host.outBuffer;
    host.deliveredOut = rec->outRect;
    host.deliveredOutLo = rec->outLoPlane;
    host.deliveredOutHi = rec->outHiPlane;
  } else if (!rectEmpty(&rec->outRect)) {
    host.outBuffer =
        gather(&host.target, rec->outRect, rec->outLoPlane, rec->outHiPlane, &rec->outRowBytes);
    rec->outData = host.outBuffer;
    host.deliveredOut = rec->outRect;
    host.deliveredOutLo = rec->outLoPlane;
    host.deliveredOutHi = rec->outHiPlane;
  }
  return 0;
}

static uint8_t aborted(void) {
  return host.cancelAtProgress && host.progressCalls > 0;
}
static void progress(int32_t done, int32_t total) {
  (void)done, (void)total;
  if (aborted()) ++host.progressAfterCancel;
  ++host.progressCalls;
}

/* ---- the PIPL: the entry point of this architecture ---- */
static int entryName(HMODULE module, char* name, int room) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(16), "PIPL");
  if (!found) return 0;
  const uint8_t* p = (const uint8_t*)LockResource(LoadResource(module, found));
  const DWORD size = SizeofResource(module, found);
  if (!p || size < 10 || *(const int16_t*)p != 1) return 0;
  const uint32_t count = *(const uint32_t*)(p + 6);
  DWORD at = 10;
#ifdef _WIN64
  const uint32_t codeKey = 0x38363634; /* '8664' */
#else
  const uint32_t codeKey = 0x77783836; /* 'wx86' */
#endif
  for (uint32_t k = 0; k < count && at + 16 <= size; ++k) {
    const uint32_t key = *(const uint32_t*)(p + at + 4), length = *(const uint32_t*)(p + at + 12);
    if (length % 4) {
      fprintf(stderr, "PIPL property %u has length %u, not padded to 4\n", k, length);
      return 0;
    }
    if (key == codeKey && (int)length < room && at + 16 + length <= size) {
      memcpy(name, p + at + 16, length);
      name[length] = 0;
      return 1;
    }
    at += 16 + length;
  }
  return 0;
}

static int call(EntryPoint entry, int selector, void* record, intptr_t* data) {
  int16_t result = 0;
  entry((int16_t)selector, record, data, &result);
  if (result) {
    fprintf(stderr, "selector %d returned %d", selector, result);
    if (result == kReportString && host.rec.errorString)
      fprintf(stderr, ": %.*s", host.rec.errorString[0], (const char*)host.rec.errorString + 1);
    if (host.cancelAtProgress)
      fprintf(stderr, " (progress reports after the cancel: %d)", host.progressAfterCancel);
    fprintf(stderr, "\n");
  }
  return result;
}

static int hasFlag(int argc, char** argv, const char* flag) {
  for (int k = 1; k < argc; ++k)
    if (!strcmp(argv[k], flag)) return k;
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: qmhost PLUGIN IN.raw OUT.raw [options] | qmhost PLUGIN --about\n");
    return 2;
  }
  HMODULE scan = LoadLibraryExA(argv[1], NULL, LOAD_LIBRARY_AS_DATAFILE);
  char name[64];
  if (!scan || !entryName(scan, name, sizeof name)) {
    fprintf(stderr, "%s: no PIPL with an entry point for this architecture\n", argv[1]);
    return 1;
  }
  FreeLibrary(scan);
  HMODULE module = LoadLibraryA(argv[1]);
  EntryPoint entry = module ? (EntryPoint)(void*)GetProcAddress(module, name) : NULL;
  if (!entry) {
    fprintf(stderr, "%s: cannot load entry point %s\n", argv[1], name);
    return 1;
  }
  intptr_t data = 0;
  intptr_t parentWindow = 0;
  if (!strcmp(argv[2], "--about")) {
    AboutRecord about;
    memset(&about, 0, sizeof about);
    about.platformData = &parentWindow;
    return call(entry, kSelectorAbout, &about, &data) ? 1 : 0;
  }
  if (argc < 4 || !readPicture(argv[2], &host.source)) {
    fprintf(stderr, "cannot read %s\n", argc < 4 ? "the input" : argv[2]);
    return 2;
  }
  int tile = 0;
  int k = hasFlag(argc, argv, "--tile");
  if (k && k + 1 < argc) tile = atoi(argv[k + 1]);
  k = hasFlag(argc, argv, "--pad");
  if (k && k + 1 < argc) host.pad = atoi(argv[k + 1]);

  host.planes = (int)host.source.channels;
  const size_t bytes = (size_t)host.source.width * host.source.height * host.planes;
  host.target = host.source;
  host.target.pixels = (uint8_t*)malloc(bytes);
  memcpy(host.target.pixels, host.source.pixels, bytes);

  static HandleProcs handles = {
      1,    6,   newHandle, disposeHandle, handleSize, setHandleSize, lockHandle, unlockHandle,
      NULL, NULL};
  static unsigned char errorText[256];
  FilterRecord* rec = &host.rec;
  rec->abortProc = aborted;
  host.cancelAtProgress = hasFlag(argc, argv, "--cancel") != 0;
  host.inPlace = hasFlag(argc, argv, "--in-place") != 0;
  rec->progressProc = progress;
  rec->imageSize.h = rec->wholeSize.h = (int16_t)host.source.width;
  rec->imageSize.v = rec->wholeSize.v = (int16_t)host.source.height;
  rec->planes = (int16_t)host.planes;
  rec->filterRect.right = (int16_t)host.source.width;
  rec->filterRect.bottom = (int16_t)host.source.height;
  rec->hostSig = 0x3842494D; /* '8BIM' */
  rec->imageMode = hasFlag(argc, argv, "--gray")   ? kModeGray
                   : hasFlag(argc, argv, "--cmyk") ? kModeCMYK
                                                   : kModeRGB;
  rec->depth = 8;
  rec->imageHRes = rec->imageVRes = 72 << 16;
  rec->filterCase = host.planes == 4 && rec->imageMode == kModeRGB ? 4 : 1;
  rec->platformData = &parentWindow;
  rec->handleProcs = &handles;
  rec->advanceState = hasFlag(argc, argv, "--no-advance") ? NULL : deliver;
  rec->maxSpace = tile ? 1024 : 1 << 30; /* small space makes the plugin tile */
  rec->inTileHeight = rec->outTileHeight = rec->maskTileHeight =
      (int16_t)(tile ? tile : (int)host.source.height);
  rec->inTileWidth = rec->outTileWidth = rec->maskTileWidth = (int16_t)host.source.width;
  rec->inputPadding = rec->outputPadding = rec->maskPadding = -3;
  rec->inputRate = rec->maskRate = 0x10000;
  rec->dummyPlaneValue = -1;
  rec->errorString = errorText;

  LARGE_INTEGER started, ended, frequency;
  QueryPerformanceCounter(&started);
  const int runs = hasFlag(argc, argv, "--repeat") ? 2 : 1;
  for (int run = 0; run < runs; ++run) {
    if (run == 0 && hasFlag(argc, argv, "--parameters") &&
        call(entry, kSelectorParameters, rec, &data))
      return 1;
    if (call(entry, kSelectorPrepare, rec, &data)) return 1;
    if (call(entry, kSelectorStart, rec, &data)) return 1;
    int failed = 0;
    while (!failed && (!rectEmpty(&rec->inRect) || !rectEmpty(&rec->outRect)))
      failed = deliver() || call(entry, kSelectorContinue, rec, &data);
    commitOutput();
    /* Finish follows every successful Start. */
    if (call(entry, kSelectorFinish, rec, &data) || failed) return 1;
    if (run + 1 < runs) memcpy(host.target.pixels, host.source.pixels, bytes);
  }
  QueryPerformanceCounter(&ended);
  QueryPerformanceFrequency(&frequency);
  const double ms = 1000.0 / (double)frequency.QuadPart;
  printf("filter ms %.1f copying ms %.1f\n", ms * (double)(ended.QuadPart - started.QuadPart),
         ms * (double)host.copying);
  if (rec->parameters) disposeHandle(rec->parameters);
  if (!writePicture(argv[3], &host.target)) {
    fprintf(stderr, "cannot write %s\n", argv[3]);
    return 1;
  }
  FreeLibrary(module);
  return 0;
}
