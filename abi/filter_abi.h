/* The filter interface between a host and a filter plugin, for both sides of it: our plugin
   runtime, our host of Windows plugins and the test host. The whole filter record with every
   suite it points to, and the numbers both sides agree on. The record is packed to 4 bytes on
   Windows, the suites are not; the static checks hold the offsets to the published tables. */
#ifndef QM_FILTER_ABI_H
#define QM_FILTER_ABI_H

#include <stddef.h>
#include <stdint.h>

typedef struct {
  int16_t v, h;
} Point16;
typedef struct {
  int16_t top, left, bottom, right;
} Rect16;
typedef struct {
  int32_t top, left, bottom, right;
} Rect32;
typedef char** Handle;
typedef void* BufferId;

typedef struct {
  int16_t version, count;
  Handle (*newProc)(int32_t size);
  void (*disposeProc)(Handle h);
  int32_t (*getSizeProc)(Handle h);
  int16_t (*setSizeProc)(Handle h, int32_t size);
  char* (*lockProc)(Handle h, uint8_t moveHigh);
  void (*unlockProc)(Handle h);
  void (*recoverSpaceProc)(int32_t size);
  void (*disposeRegularProc)(Handle h);
} HandleProcs;

typedef struct {
  int16_t version, count;
  int16_t (*allocateProc)(int32_t size, BufferId* id);
  char* (*lockProc)(BufferId id, uint8_t moveHigh);
  void (*unlockProc)(BufferId id);
  void (*freeProc)(BufferId id);
  int32_t (*spaceProc)(void);
} BufferProcs;

typedef int16_t (*GetPropertyProc)(uint32_t signature, uint32_t key, int32_t index,
                                   intptr_t* simple, Handle* complex);
typedef struct {
  int16_t version, count;
  GetPropertyProc getPropertyProc;
  int16_t (*setPropertyProc)(uint32_t signature, uint32_t key, int32_t index, intptr_t simple,
                             Handle complex);
} PropertyProcs;

typedef struct {
  int32_t (*acquireSuite)(const char* name, int32_t version, const void** suite);
  int32_t (*releaseSuite)(const char* name, int32_t version);
  int32_t (*isEqual)(const char* a, const char* b);
  int32_t (*allocateBlock)(size_t size, void** block);
  int32_t (*freeBlock)(void* block);
  int32_t (*reallocateBlock)(void* block, size_t size, void** newBlock);
  int32_t (*undefined)(void);
} BasicSuite;

typedef struct {
  int32_t version;
  Rect32 bounds;
  int32_t imageMode, rowBytes, colBytes, planeBytes;
  void* baseAddr;
} PixelMap;

typedef struct {
  int32_t infoSize;
  int16_t selector, sourceSpace, resultSpace;
  uint8_t resultGamutInfoValid, resultInGamut;
  void *reservedSourceSpaceInfo, *reservedResultSpaceInfo;
  int16_t colorComponents[4];
  void* reserved;
  void* selectorParameter;
} ColorServicesInfo;

typedef struct {
  void* platformData;
  BasicSuite* basicSuite;
  void* plugInRef;
  char reserved[244];
} AboutRecord;

#pragma pack(push, 4)
typedef struct {
  int32_t serialNumber;
  uint8_t (*abortProc)(void);
  void (*progressProc)(int32_t done, int32_t total);
  Handle parameters;
  Point16 imageSize;
  int16_t planes;
  Rect16 filterRect;
  uint16_t background[3], foreground[3];
  int32_t maxSpace, bufferSpace;
  Rect16 inRect;
  int16_t inLoPlane, inHiPlane;
  Rect16 outRect;
  int16_t outLoPlane, outHiPlane;
  void* inData;
  int32_t inRowBytes;
  void* outData;
  int32_t outRowBytes;
  uint8_t isFloating, haveMask, autoMask;
  Rect16 maskRect;
  void* maskData;
  int32_t maskRowBytes;
  uint8_t backColor[4], foreColor[4];
  uint32_t hostSig;
  void* hostProc;
  int16_t imageMode;
  int32_t imageHRes, imageVRes;
  Point16 floatCoord, wholeSize;
  int32_t monitor[10];
  void* platformData;
  BufferProcs* bufferProcs;
  void* resourceProcs;
  void* processEvent;
  int16_t (*displayPixels)(const PixelMap* source, const Rect32* srcRect, int32_t dstRow,
                           int32_t dstCol, void* context);
  HandleProcs* handleProcs;
  uint8_t supportsDummyChannels, supportsAlternateLayouts;
  int16_t wantLayout, filterCase, dummyPlaneValue;
  void* premiereHook;
  int16_t (*advanceState)(void);
  uint8_t supportsAbsolute, wantsAbsolute;
  GetPropertyProc getPropertyObsolete;
  uint8_t cannotUndo, supportsPadding;
  int16_t inputPadding, outputPadding, maskPadding;
  char samplingSupport, reservedByte;
  int32_t inputRate, maskRate;
  int16_t (*colorServices)(ColorServicesInfo* info);
  int16_t inLayerPlanes, inTransparencyMask, inLayerMasks, inInvertedLayerMasks, inNonLayerPlanes;
  int16_t outLayerPlanes, outTransparencyMask, outLayerMasks, outInvertedLayerMasks,
      outNonLayerPlanes;
  int16_t absLayerPlanes, absTransparencyMask, absLayerMasks, absInvertedLayerMasks,
      absNonLayerPlanes;
  int16_t inPreDummyPlanes, inPostDummyPlanes, outPreDummyPlanes, outPostDummyPlanes;
  int32_t inColumnBytes, inPlaneBytes, outColumnBytes, outPlaneBytes;
  void* imageServicesProcs;
  PropertyProcs* propertyProcs;
  int16_t inTileHeight, inTileWidth;
  Point16 inTileOrigin;
  int16_t absTileHeight, absTileWidth;
  Point16 absTileOrigin;
  int16_t outTileHeight, outTileWidth;
  Point16 outTileOrigin;
  int16_t maskTileHeight, maskTileWidth;
  Point16 maskTileOrigin;
  void* descriptorParameters;
  unsigned char* errorString;
  void* channelPortProcs;
  void* documentInfo;
  BasicSuite* sSPBasic;
  void* plugInRef;
  int32_t depth;
  Handle iCCprofileData;
  int32_t iCCprofileSize, canUseICCProfiles, hasImageScrap;
  void* bigDocumentData;
  void *input3DScene, *output3DScene;
  uint8_t createNewLayer;
  Handle iCCWorkingProfileData;
  int32_t iCCWorkingProfileSize;
  int64_t bufferSpace64, maxSpace64;
  uint8_t allowOverrangeColors;
  char reserved[45];
} FilterRecord;
#pragma pack(pop)

#ifdef _WIN64
_Static_assert(offsetof(FilterRecord, parameters) == 20, "parameters");
_Static_assert(offsetof(FilterRecord, inData) == 88, "inData");
_Static_assert(offsetof(FilterRecord, maskData) == 124, "maskData");
_Static_assert(offsetof(FilterRecord, platformData) == 216, "platformData");
_Static_assert(offsetof(FilterRecord, handleProcs) == 256, "handleProcs");
_Static_assert(offsetof(FilterRecord, advanceState) == 280, "advanceState");
_Static_assert(offsetof(FilterRecord, colorServices) == 320, "colorServices");
_Static_assert(offsetof(FilterRecord, propertyProcs) == 392, "propertyProcs");
_Static_assert(offsetof(FilterRecord, descriptorParameters) == 432, "descriptorParameters");
_Static_assert(offsetof(FilterRecord, sSPBasic) == 464, "sSPBasic");
_Static_assert(offsetof(FilterRecord, depth) == 480, "depth");
_Static_assert(offsetof(FilterRecord, bigDocumentData) == 504, "bigDocumentData");
_Static_assert(offsetof(FilterRecord, bufferSpace64) == 544, "bufferSpace64");
_Static_assert(sizeof(FilterRecord) == 608, "record size");
_Static_assert(offsetof(HandleProcs, lockProc) == 40, "lockProc");
_Static_assert(sizeof(AboutRecord) == 272, "about record");
_Static_assert(offsetof(PixelMap, baseAddr) == 40, "baseAddr");
#elif defined(_WIN32)
_Static_assert(offsetof(FilterRecord, platformData) == 188, "platformData");
_Static_assert(offsetof(FilterRecord, handleProcs) == 208, "handleProcs");
_Static_assert(offsetof(FilterRecord, advanceState) == 224, "advanceState");
_Static_assert(offsetof(FilterRecord, depth) == 380, "depth");
_Static_assert(offsetof(FilterRecord, bigDocumentData) == 400, "bigDocumentData");
_Static_assert(sizeof(FilterRecord) == 488, "record size");
_Static_assert(sizeof(AboutRecord) == 256, "about record");
#endif

enum {
  kSelectorAbout,
  kSelectorParameters,
  kSelectorPrepare,
  kSelectorStart,
  kSelectorContinue,
  kSelectorFinish
};
enum {
  kNoErr = 0,
  kUserCanceled = -128,
  kMemFull = -108,
  kParamErr = -50,
  kBadParameters = -30100,
  kBadMode = -30101,
  kHostInsufficient = -30900,
  kPropertyUndefined = -30901,
  kReportString = -30904
};
enum { kModeGray = 1, kModeRGB = 3, kModeCMYK = 4 };

#define FOURCC(a, b, c, d) \
  ((uint32_t)(a) << 24 | (uint32_t)(b) << 16 | (uint32_t)(c) << 8 | (uint32_t)(d))

#endif
