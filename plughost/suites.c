/* The services a host lends a plugin: handles, buffers, properties, the basic suite, colour
   services and drawing pixels into a window. */
#include <stdlib.h>
#include <string.h>

#include "host.h"

/* ---- handles: the first word of the block is the data pointer, so *h works ---- */
typedef struct {
  char* data;
  int32_t size;
} HandleBlock;

static Handle newHandle(int32_t size) {
  if (size < 0) return NULL;
  HandleBlock* b = (HandleBlock*)calloc(1, sizeof(HandleBlock));
  if (!b) return NULL;
  b->data = (char*)calloc(1, size > 0 ? (size_t)size : 1);
  if (!b->data) {
    free(b);
    return NULL;
  }
  b->size = size;
  return (Handle)b;
}
void suites_dispose_handle(Handle h) {
  if (!h) return;
  free(((HandleBlock*)h)->data);
  free(h);
}
static int32_t handleSize(Handle h) {
  return h ? ((HandleBlock*)h)->size : 0;
}
static int16_t setHandleSize(Handle h, int32_t size) {
  HandleBlock* b = (HandleBlock*)h;
  if (!b || size < 0) return kParamErr;
  char* grown = (char*)realloc(b->data, size > 0 ? (size_t)size : 1);
  if (!grown) return kMemFull;
  if (size > b->size) memset(grown + b->size, 0, (size_t)(size - b->size));
  b->data = grown;
  b->size = size;
  return 0;
}
static char* lockHandle(Handle h, uint8_t moveHigh) {
  (void)moveHigh;
  return h ? *h : NULL;
}
static void unlockHandle(Handle h) {
  (void)h;
}
static void recoverSpace(int32_t size) {
  (void)size;
}

/* ---- buffers ---- */
static int16_t allocateBuffer(int32_t size, BufferId* id) {
  if (!id || size < 0) return kParamErr;
  *id = malloc(size > 0 ? (size_t)size : 1);
  return *id ? 0 : kMemFull;
}
static char* lockBuffer(BufferId id, uint8_t moveHigh) {
  (void)moveHigh;
  return (char*)id;
}
static void unlockBuffer(BufferId id) {
  (void)id;
}
static void freeBuffer(BufferId id) {
  free(id);
}
static int32_t bufferSpace(void) {
  return 1 << 30;
}

/* ---- properties: the few simple ones a filter asks for ---- */
static FilterRecord* current;

static int16_t getProperty(uint32_t signature, uint32_t key, int32_t index, intptr_t* simple,
                           Handle* complex) {
  (void)index, (void)complex;
  if (signature != FOURCC('8', 'B', 'I', 'M') || !simple) return kPropertyUndefined;
  switch (key) {
    case FOURCC('n', 'u', 'c', 'h'): /* number of channels */
      *simple = current ? current->planes : 3;
      return 0;
    case FOURCC('m', 'o', 'd', 'e'):
      *simple = current ? current->imageMode : kModeRGB;
      return 0;
    case FOURCC('i', 'n', 't', 'p'): /* interpolation: bicubic */
      *simple = 3;
      return 0;
    default:
      return kPropertyUndefined;
  }
}
static int16_t setProperty(uint32_t signature, uint32_t key, int32_t index, intptr_t simple,
                           Handle complex) {
  (void)signature, (void)key, (void)index, (void)simple, (void)complex;
  return kPropertyUndefined;
}

/* ---- the basic suite: blocks work, no other suite is offered ---- */
static int32_t acquireSuite(const char* name, int32_t version, const void** suite) {
  (void)name, (void)version;
  if (suite) *suite = NULL;
  return 0x53214664; /* 'S!Fd': not found */
}
static int32_t releaseSuite(const char* name, int32_t version) {
  (void)name, (void)version;
  return 0;
}
static int32_t isEqual(const char* a, const char* b) {
  return a && b && !strcmp(a, b);
}
static int32_t allocateBlock(size_t size, void** block) {
  if (!block) return -1;
  *block = malloc(size ? size : 1);
  return *block ? 0 : -1;
}
static int32_t freeBlock(void* block) {
  free(block);
  return 0;
}
static int32_t reallocateBlock(void* block, size_t size, void** newBlock) {
  if (!newBlock) return -1;
  *newBlock = realloc(block, size ? size : 1);
  return *newBlock ? 0 : -1;
}
static int32_t undefinedCall(void) {
  return -1;
}

BasicSuite* suites_basic(void) {
  static BasicSuite basic = {acquireSuite, releaseSuite,    isEqual,      allocateBlock,
                             freeBlock,    reallocateBlock, undefinedCall};
  return &basic;
}

/* ---- colour services: the special colours and conversions within one space ---- */
static int16_t colorServices(ColorServicesInfo* info) {
  if (!info) return kParamErr;
  if (info->selector == 3) { /* special colour: 0 foreground (black), 1 background (white) */
    const int16_t v = (int16_t)((intptr_t)info->selectorParameter == 1 ? 255 : 0);
    for (int k = 0; k < 3; ++k) info->colorComponents[k] = v;
    info->colorComponents[3] = 0;
    info->resultSpace = 0;
    return 0;
  }
  if (info->selector == 1 && (info->resultSpace == info->sourceSpace || info->resultSpace == -1))
    return 0;
  return kHostInsufficient;
}

/* ---- drawing pixels into a device context (dialog previews) ---- */
static int16_t displayPixels(const PixelMap* source, const Rect32* srcRect, int32_t dstRow,
                             int32_t dstCol, void* context) {
  if (!source || !srcRect || !context || !source->baseAddr) return kParamErr;
  const int width = srcRect->right - srcRect->left, height = srcRect->bottom - srcRect->top;
  if (width <= 0 || height <= 0) return 0;
  if (source->imageMode != kModeRGB && source->imageMode != kModeGray) return kBadMode;
  const int colBytes = source->colBytes > 0 ? source->colBytes : 1;
  const int planeBytes = source->planeBytes > 0 ? source->planeBytes : 1;
  const int dibRow = (3 * width + 3) & ~3;
  uint8_t* dib = (uint8_t*)malloc((size_t)dibRow * height);
  if (!dib) return kMemFull;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = (const uint8_t*)source->baseAddr +
                         (intptr_t)(srcRect->top - source->bounds.top + y) * source->rowBytes +
                         (intptr_t)(srcRect->left - source->bounds.left) * colBytes;
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = row + (intptr_t)x * colBytes;
      uint8_t* d = dib + (size_t)y * dibRow + 3 * x;
      if (source->imageMode == kModeGray) {
        d[0] = d[1] = d[2] = p[0];
      } else {
        d[0] = p[2 * planeBytes];
        d[1] = p[planeBytes];
        d[2] = p[0];
      }
    }
  }
  BITMAPINFO bi;
  memset(&bi, 0, sizeof bi);
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice((HDC)context, dstCol, dstRow, (DWORD)width, (DWORD)height, 0, 0, 0,
                    (UINT)height, dib, &bi, DIB_RGB_COLORS);
  free(dib);
  return 0;
}

void suites_fill(FilterRecord* rec) {
  static HandleProcs handles = {1,
                                8,
                                newHandle,
                                suites_dispose_handle,
                                handleSize,
                                setHandleSize,
                                lockHandle,
                                unlockHandle,
                                recoverSpace,
                                suites_dispose_handle};
  static BufferProcs buffers = {2,          5,          allocateBuffer, lockBuffer, unlockBuffer,
                                freeBuffer, bufferSpace};
  static PropertyProcs properties = {1, 2, getProperty, setProperty};
  current = rec;
  rec->handleProcs = &handles;
  rec->bufferProcs = &buffers;
  rec->propertyProcs = &properties;
  rec->getPropertyObsolete = getProperty;
  rec->colorServices = colorServices;
  rec->displayPixels = displayPixels;
  rec->sSPBasic = suites_basic();
}
