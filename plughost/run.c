/* Running a filter on the pixel file: the record, the rectangles a plugin asks for, and the
   selectors in the order hosts call them. The result goes over the pixel file's pixels only
   when every selector succeeded. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host.h"
#include "wire.h"

/* The callbacks take no context, so the run they serve lives here. */
static struct {
  FilterRecord rec;
  volatile LONG* abortWord;
  uint8_t *source, *target;
  int width, height, planes;
  uint8_t *inBuffer, *outBuffer;
  Rect16 outRect;
  int outLo, outHi;
  int lastPercent;
} run;

static int rectEmpty(const Rect16* r) {
  return r->left >= r->right || r->top >= r->bottom;
}

static int clampTo(int v, int low, int high) {
  return v < low ? low : v > high ? high : v;
}

/* Planes lo..hi of rectangle r of picture in a new buffer, rows rowBytes apart. Pixels outside
   the picture take the plugin's padding value, or the nearest edge pixel. */
static uint8_t* gather(const uint8_t* picture, const Rect16* r, int lo, int hi, int padding,
                       int32_t* rowBytes) {
  const int n = hi - lo + 1, w = r->right - r->left, h = r->bottom - r->top;
  *rowBytes = w * n;
  /* A request larger than any picture we hand over is refused, not wrapped around. */
  if ((uint64_t)w * h * n > (uint64_t)kWireMaxSide * kWireMaxSide) return NULL;
  uint8_t* buf = (uint8_t*)malloc((size_t)w * h * n + 1);
  if (!buf) return NULL;
  for (int y = 0; y < h; ++y) {
    const int sy = r->top + y;
    for (int x = 0; x < w; ++x) {
      const int sx = r->left + x;
      uint8_t* d = buf + (size_t)y * *rowBytes + (size_t)x * n;
      const int inside = sx >= 0 && sy >= 0 && sx < run.width && sy < run.height;
      if (!inside && padding >= 0 && padding <= 255) {
        memset(d, padding, (size_t)n);
        continue;
      }
      const size_t at = ((size_t)clampTo(sy, 0, run.height - 1) * run.width +
                         (size_t)clampTo(sx, 0, run.width - 1)) *
                            run.planes +
                        (size_t)lo;
      memcpy(d, picture + at, (size_t)n);
    }
  }
  return buf;
}

/* The last output buffer back into the target, inside the picture only. */
static void commitOutput(void) {
  if (!run.outBuffer) return;
  const Rect16 r = run.outRect;
  const int n = run.outHi - run.outLo + 1, w = r.right - r.left;
  for (int y = r.top < 0 ? 0 : r.top; y < r.bottom && y < run.height; ++y)
    for (int x = r.left < 0 ? 0 : r.left; x < r.right && x < run.width; ++x)
      memcpy(run.target + ((size_t)y * run.width + x) * run.planes + run.outLo,
             run.outBuffer + ((size_t)(y - r.top) * w + (x - r.left)) * n, (size_t)n);
  free(run.outBuffer);
  run.outBuffer = NULL;
  run.rec.outData = NULL;
}

static int planesValid(int lo, int hi) {
  return lo >= 0 && lo <= hi && hi < run.planes;
}

/* Delivers what the record asks for now (after committing the last output). */
static int16_t deliver(void) {
  FilterRecord* rec = &run.rec;
  commitOutput();
  free(run.inBuffer);
  run.inBuffer = NULL;
  rec->inData = NULL;
  rec->inRowBytes = 0;
  rec->outRowBytes = 0;
  if (!rectEmpty(&rec->inRect)) {
    if (!planesValid(rec->inLoPlane, rec->inHiPlane)) return kBadParameters;
    run.inBuffer = gather(run.source, &rec->inRect, rec->inLoPlane, rec->inHiPlane,
                          rec->inputPadding, &rec->inRowBytes);
    if (!run.inBuffer) return kMemFull;
    rec->inData = run.inBuffer;
  }
  if (!rectEmpty(&rec->outRect)) {
    if (!planesValid(rec->outLoPlane, rec->outHiPlane)) return kBadParameters;
    run.outBuffer =
        gather(run.target, &rec->outRect, rec->outLoPlane, rec->outHiPlane, -1, &rec->outRowBytes);
    if (!run.outBuffer) return kMemFull;
    rec->outData = run.outBuffer;
    run.outRect = rec->outRect;
    run.outLo = rec->outLoPlane;
    run.outHi = rec->outHiPlane;
  }
  const int n = rec->inHiPlane - rec->inLoPlane + 1, m = rec->outHiPlane - rec->outLoPlane + 1;
  rec->inColumnBytes = n > 0 ? n : 1;
  rec->outColumnBytes = m > 0 ? m : 1;
  rec->inPlaneBytes = rec->outPlaneBytes = 1;
  return 0;
}

static uint8_t aborted(void) {
  return run.abortWord && *run.abortWord != 0;
}

static void progress(int32_t done, int32_t total) {
  if (total <= 0) return;
  const int percent = (int)((int64_t)clampTo(done, 0, total) * 100 / total);
  if (percent == run.lastPercent) return;
  run.lastPercent = percent;
  char a[16], b[16];
  snprintf(a, sizeof a, "%d", percent);
  snprintf(b, sizeof b, "%d", 100);
  answer("progress", a, b, NULL);
}

static void answerResult(int16_t result) {
  if (result == kUserCanceled) {
    answer("cancelled", NULL);
    return;
  }
  char code[16], text[512] = "";
  snprintf(code, sizeof code, "%d", result);
  const unsigned char* s = run.rec.errorString;
  if (result == kReportString && s && s[0]) {
    wchar_t wide[256];
    const int n = MultiByteToWideChar(CP_ACP, 0, (const char*)s + 1, s[0], wide, 255);
    const int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, text, sizeof text - 1, NULL, NULL);
    text[m > 0 ? m : 0] = 0;
  }
  answer("error", code, text, NULL);
}

static int16_t call(EntryPoint entry, int selector, intptr_t* data) {
  int16_t result = 0;
  entry((int16_t)selector, &run.rec, data, &result);
  return result;
}

static void setUpRecord(int channels) {
  static unsigned char errorText[256];
  static intptr_t parentWindow;
  FilterRecord* rec = &run.rec;
  memset(rec, 0, sizeof *rec);
  rec->abortProc = aborted;
  rec->progressProc = progress;
  rec->imageSize.h = rec->wholeSize.h = (int16_t)run.width;
  rec->imageSize.v = rec->wholeSize.v = (int16_t)run.height;
  rec->planes = (int16_t)run.planes;
  rec->filterRect.right = (int16_t)run.width;
  rec->filterRect.bottom = (int16_t)run.height;
  for (int k = 0; k < 3; ++k) rec->background[k] = 0xFFFF;
  rec->backColor[0] = rec->backColor[1] = rec->backColor[2] = 255;
  rec->maxSpace = 1 << 30;
  rec->maxSpace64 = rec->maxSpace;
  rec->hostSig = FOURCC('8', 'B', 'I', 'M');
  rec->imageMode = (int16_t)(channels == 1 ? kModeGray : kModeRGB);
  rec->imageHRes = rec->imageVRes = 72 << 16;
  rec->platformData = &parentWindow;
  rec->advanceState = deliver;
  rec->supportsPadding = 1;
  rec->inputPadding = rec->outputPadding = rec->maskPadding = -3;
  rec->samplingSupport = 1;
  rec->inputRate = rec->maskRate = 0x10000;
  rec->dummyPlaneValue = -1;
  rec->depth = 8;
  rec->errorString = errorText;
  /* A picture with alpha is a layer whose transparency the filter may change. */
  rec->filterCase = (int16_t)(channels == 4 ? 4 : 1);
  if (channels == 4) {
    rec->inLayerPlanes = rec->outLayerPlanes = rec->absLayerPlanes = 3;
    rec->inTransparencyMask = rec->outTransparencyMask = rec->absTransparencyMask = 1;
  } else {
    rec->inNonLayerPlanes = rec->outNonLayerPlanes = rec->absNonLayerPlanes = (int16_t)channels;
  }
  rec->inTileHeight = rec->outTileHeight = rec->maskTileHeight = rec->absTileHeight =
      (int16_t)run.height;
  rec->inTileWidth = rec->outTileWidth = rec->maskTileWidth = rec->absTileWidth =
      (int16_t)run.width;
  suites_fill(rec);
}

/* Maps the pixel file and checks that its header describes what it holds. */
static uint8_t* mapPixels(const wchar_t* path, HANDLE* file, HANDLE* mapping) {
  *file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                      OPEN_EXISTING, 0, NULL);
  if (*file == INVALID_HANDLE_VALUE) return NULL;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(*file, &size) || size.QuadPart < kWireHeaderSize) return NULL;
  *mapping = CreateFileMappingW(*file, NULL, PAGE_READWRITE, 0, 0, NULL);
  uint8_t* view = *mapping ? (uint8_t*)MapViewOfFile(*mapping, FILE_MAP_WRITE, 0, 0, 0) : NULL;
  if (!view) return NULL;
  const uint32_t* h = (const uint32_t*)view;
  const uint32_t w = h[kWireWidthAt / 4], ht = h[kWireHeightAt / 4], c = h[kWireChannelsAt / 4];
  const int ok = h[kWireMagicAt / 4] == kWireMagic && w >= 1 && w <= kWireMaxSide && ht >= 1 &&
                 ht <= kWireMaxSide && (c == 1 || c == 3 || c == 4) &&
                 (uint64_t)size.QuadPart >= kWireHeaderSize + (uint64_t)w * ht * c;
  if (!ok) {
    UnmapViewOfFile(view);
    return NULL;
  }
  run.width = (int)w;
  run.height = (int)ht;
  run.planes = (int)c;
  return view;
}

int run_filter(EntryPoint entry, const FilterEntry* facts, const wchar_t* pixelFile, int dialog) {
  HANDLE file = INVALID_HANDLE_VALUE, mapping = NULL;
  uint8_t* view = mapPixels(pixelFile, &file, &mapping);
  if (!view) {
    answer("error", "load", "the picture could not be handed to the plugin", NULL);
    return 1;
  }
  const size_t bytes = (size_t)run.width * run.height * run.planes;
  run.abortWord = (volatile LONG*)(view + kWireAbortAt);
  run.source = (uint8_t*)malloc(bytes);
  run.target = (uint8_t*)malloc(bytes);
  run.lastPercent = -1;
  if (!run.source || !run.target) {
    answer("error", "-108", "", NULL);
    return 1;
  }
  memcpy(run.source, view + kWireHeaderSize, bytes);
  memcpy(run.target, run.source, bytes);
  setUpRecord(run.planes);
  if (!(facts->modes & pipl_mode_bit(run.rec.imageMode))) {
    answerResult(kBadMode);
    return 1;
  }

  intptr_t data = 0;
  int16_t result = 0;
  quiet_windows(!dialog);
  if (dialog) result = call(entry, kSelectorParameters, &data);
  if (!result) result = call(entry, kSelectorPrepare, &data);
  if (!result) result = call(entry, kSelectorStart, &data);
  if (!result) { /* Finish follows every successful Start, whatever happens after it */
    while (!result && (!rectEmpty(&run.rec.inRect) || !rectEmpty(&run.rec.outRect))) {
      result = deliver();
      if (!result) result = call(entry, kSelectorContinue, &data);
      if (!result && aborted()) result = kUserCanceled;
    }
    commitOutput();
    const int16_t finished = call(entry, kSelectorFinish, &data);
    if (!result) result = finished;
  }
  if (run.rec.parameters) suites_dispose_handle(run.rec.parameters);
  if (result) {
    answerResult(result);
    return 1;
  }
  memcpy(view + kWireHeaderSize, run.target, bytes);
  FlushViewOfFile(view, 0);
  answer("done", NULL);
  return 0;
}
