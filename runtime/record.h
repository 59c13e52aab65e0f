/* The host's filter record and the small structures it points to, as far as the runtime
   reads or writes them. The record is packed to 4 bytes on Windows; the static checks below
   hold the offsets to the published tables for both architectures. */
#ifndef QM_RUNTIME_RECORD_H
#define QM_RUNTIME_RECORD_H

#include <stddef.h>
#include <stdint.h>

typedef struct {
  int16_t v, h;
} PiPoint;
typedef struct {
  int16_t top, left, bottom, right;
} PiRect;
typedef char** PiHandle;

typedef struct {
  int16_t version, count;
  PiHandle (*newHandle)(int32_t size);
  void (*disposeHandle)(PiHandle h);
  int32_t (*getSize)(PiHandle h);
  int16_t (*setSize)(PiHandle h, int32_t size);
  char* (*lock)(PiHandle h, uint8_t moveHigh);
  void (*unlock)(PiHandle h);
} HandleProcs;

typedef struct {
  void* platformData;
  void* basicSuite;
  void* plugInRef;
} AboutRecord;

#pragma pack(push, 4)
typedef struct {
  int32_t serialNumber;
  uint8_t (*abortProc)(void);
  void (*progressProc)(int32_t done, int32_t total);
  PiHandle parameters;
  PiPoint imageSize;
  int16_t planes;
  PiRect filterRect;
  uint16_t background[3], foreground[3];
  int32_t maxSpace;
  int32_t bufferSpace;
  PiRect inRect;
  int16_t inLoPlane, inHiPlane;
  PiRect outRect;
  int16_t outLoPlane, outHiPlane;
  void* inData;
  int32_t inRowBytes;
  void* outData;
  int32_t outRowBytes;
  uint8_t isFloating, haveMask, autoMask;
  PiRect maskRect;
  void* maskData;
  int32_t maskRowBytes;
  uint8_t backColor[4], foreColor[4];
  uint32_t hostSig;
  void* hostProc;
  int16_t imageMode;
  int32_t imageHRes, imageVRes;
  PiPoint floatCoord, wholeSize;
  int32_t monitor[10];
  void* platformData;
  void* bufferProcs;
  void* resourceProcs;
  void* processEvent;
  void* displayPixels;
  HandleProcs* handleProcs;
  uint8_t supportsDummyChannels, supportsAlternateLayouts;
  int16_t wantLayout, filterCase, dummyPlaneValue;
  void* premiereHook;
  int16_t (*advanceState)(void);
  uint8_t supportsAbsolute, wantsAbsolute;
  void* getPropertyObsolete;
  uint8_t cannotUndo, supportsPadding;
  int16_t inputPadding, outputPadding, maskPadding;
  char samplingSupport, reservedByte;
  int32_t inputRate, maskRate;
  void* colorServices;
  int16_t inLayerPlanes, inTransparencyMask, inLayerMasks, inInvertedLayerMasks, inNonLayerPlanes;
  int16_t outLayerPlanes, outTransparencyMask, outLayerMasks, outInvertedLayerMasks,
      outNonLayerPlanes;
  int16_t absCounts[5];
  int16_t inPreDummyPlanes, inPostDummyPlanes, outPreDummyPlanes, outPostDummyPlanes;
  int32_t inColumnBytes, inPlaneBytes, outColumnBytes, outPlaneBytes;
  void* imageServicesProcs;
  void* propertyProcs;
  int16_t inTileHeight, inTileWidth;
  PiPoint inTileOrigin;
  int16_t absTileHeight, absTileWidth;
  PiPoint absTileOrigin;
  int16_t outTileHeight, outTileWidth;
  PiPoint outTileOrigin;
  int16_t maskTileHeight, maskTileWidth;
  PiPoint maskTileOrigin;
  void* descriptorParameters;
  unsigned char* errorString;
  void* channelPortProcs;
  void* documentInfo;
  void* sSPBasic;
  void* plugInRef;
  int32_t depth;
} FilterRecord;
#pragma pack(pop)

#ifdef _WIN64
_Static_assert(offsetof(FilterRecord, parameters) == 20, "parameters");
_Static_assert(offsetof(FilterRecord, inData) == 88, "inData");
_Static_assert(offsetof(FilterRecord, maskData) == 124, "maskData");
_Static_assert(offsetof(FilterRecord, platformData) == 216, "platformData");
_Static_assert(offsetof(FilterRecord, handleProcs) == 256, "handleProcs");
_Static_assert(offsetof(FilterRecord, advanceState) == 280, "advanceState");
_Static_assert(offsetof(FilterRecord, propertyProcs) == 392, "propertyProcs");
_Static_assert(offsetof(FilterRecord, errorString) == 440, "errorString");
_Static_assert(offsetof(FilterRecord, depth) == 480, "depth");
_Static_assert(offsetof(HandleProcs, lock) == 40, "lockProc");
#elif defined(_WIN32)
_Static_assert(offsetof(FilterRecord, inData) == 76, "inData");
_Static_assert(offsetof(FilterRecord, platformData) == 188, "platformData");
_Static_assert(offsetof(FilterRecord, handleProcs) == 208, "handleProcs");
_Static_assert(offsetof(FilterRecord, advanceState) == 224, "advanceState");
_Static_assert(offsetof(FilterRecord, errorString) == 360, "errorString");
_Static_assert(offsetof(FilterRecord, depth) == 380, "depth");
_Static_assert(offsetof(HandleProcs, lock) == 20, "lockProc");
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
  kBadParameters = -30100,
  kBadMode = -30101,
  kReportString = -30904
};
enum { kModeGray = 1, kModeRGB = 3, kModeCMYK = 4 };

#endif
