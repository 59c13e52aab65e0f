/* A filter plugin of our own for testing the plugin host; no Filter Factory inside.

   Test Shift (ShiftMain): each plane p of pixel (x, y) becomes in + amount + 3x + 5y + 11p
   (modulo 256); amount comes from its dialog (one value, 40 by default). It works inside
   Start through advanceState, in tiles of 16 x 11 pixels, every other tile plane by plane.
   RGB, RGBA and greyscale.
   Test Invert (InvertMain): 255 - in for the colour planes, alpha kept, in bands of 7 rows
   handed over through Start and Continue. RGB and RGBA only.

   The environment variable QM_TEST_FILTER makes Start misbehave: "crash" writes through a
   null pointer, "hang" never returns, "error" reports an error text, "mode" refuses the image
   mode; "slow" makes Shift take a fifth of a second per tile (time to stop it). */
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "filter_abi.h"

enum { kTileWidth = 16, kTileHeight = 11, kBand = 7, kDefaultAmount = 40, kAmountId = 1001 };
enum { kMarker = 0x51544631 };

static HINSTANCE module;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) module = instance;
  return TRUE;
}

static HWND parentOf(void* platformData) {
  return platformData ? *(HWND*)platformData : NULL;
}

static void aboutBox(const AboutRecord* about) {
  MessageBoxA(parentOf(about->platformData),
              "Quillmark Test Filter\n\nShift and Invert, for testing the plugin host.",
              "About Test Filter", MB_OK | MB_ICONINFORMATION);
}

/* ---- misbehaviour on request ---- */
static int16_t misbehave(FilterRecord* rec) {
  const char* how = getenv("QM_TEST_FILTER");
  if (!how) return 0;
  if (!strcmp(how, "crash")) {
    volatile int* nowhere = NULL;
    *nowhere = 1;
  }
  if (!strcmp(how, "hang"))
    for (;;) Sleep(100);
  if (!strcmp(how, "mode")) return kBadMode;
  if (!strcmp(how, "error")) {
    static const char text[] = "the test filter was told to fail";
    if (!rec->errorString) return kParamErr;
    rec->errorString[0] = (unsigned char)(sizeof text - 1);
    memcpy(rec->errorString + 1, text, sizeof text - 1);
    return kReportString;
  }
  return 0;
}

/* ---- Test Shift ---- */
static INT_PTR CALLBACK amountDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  int* amount = (int*)GetWindowLongPtrW(dialog, DWLP_USER);
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetDlgItemInt(dialog, kAmountId, (UINT) * (int*)lParam, FALSE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        BOOL ok = FALSE;
        const UINT v = GetDlgItemInt(dialog, kAmountId, &ok, FALSE);
        if (!ok || v > 255) {
          MessageBeep(MB_ICONWARNING);
          return TRUE;
        }
        *amount = (int)v;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

static int storedAmount(FilterRecord* rec) {
  if (!rec->parameters || !*rec->parameters) return kDefaultAmount;
  const int32_t* p = (const int32_t*)*rec->parameters;
  return p[0] == kMarker ? p[1] : kDefaultAmount;
}

static int16_t shiftParameters(FilterRecord* rec) {
  int amount = storedAmount(rec);
  const INT_PTR answer = DialogBoxParamW(module, MAKEINTRESOURCEW(101), parentOf(rec->platformData),
                                         amountDialog, (LPARAM)&amount);
  if (answer == IDCANCEL) return kUserCanceled;
  if (!rec->parameters) rec->parameters = rec->handleProcs->newProc(8);
  if (!rec->parameters) return kMemFull;
  int32_t* p = (int32_t*)rec->handleProcs->lockProc(rec->parameters, 0);
  p[0] = kMarker;
  p[1] = amount;
  rec->handleProcs->unlockProc(rec->parameters);
  return 0;
}

static int16_t shiftTile(FilterRecord* rec, Rect16 tile, int lo, int hi, int amount) {
  rec->inRect = rec->outRect = tile;
  rec->inLoPlane = rec->outLoPlane = (int16_t)lo;
  rec->inHiPlane = rec->outHiPlane = (int16_t)hi;
  const int16_t err = rec->advanceState();
  if (err) return err;
  const int n = hi - lo + 1;
  for (int y = tile.top; y < tile.bottom; ++y) {
    const uint8_t* in = (const uint8_t*)rec->inData + (y - tile.top) * rec->inRowBytes;
    uint8_t* out = (uint8_t*)rec->outData + (y - tile.top) * rec->outRowBytes;
    for (int x = tile.left; x < tile.right; ++x)
      for (int p = lo; p <= hi; ++p) {
        const int k = (x - tile.left) * n + (p - lo);
        out[k] = (uint8_t)(in[k] + amount + 3 * x + 5 * y + 11 * p);
      }
  }
  return 0;
}

static int16_t shiftStart(FilterRecord* rec) {
  if (rec->imageMode != kModeRGB && rec->imageMode != kModeGray) return kBadMode;
  if (!rec->advanceState) return kHostInsufficient;
  const int amount = storedAmount(rec);
  const Rect16 area = rec->filterRect;
  const int across = (area.right - area.left + kTileWidth - 1) / kTileWidth;
  const int down = (area.bottom - area.top + kTileHeight - 1) / kTileHeight;
  for (int t = 0; t < across * down; ++t) {
    Rect16 tile;
    tile.left = (int16_t)(area.left + (t % across) * kTileWidth);
    tile.top = (int16_t)(area.top + (t / across) * kTileHeight);
    tile.right =
        (int16_t)(tile.left + kTileWidth < area.right ? tile.left + kTileWidth : area.right);
    tile.bottom =
        (int16_t)(tile.top + kTileHeight < area.bottom ? tile.top + kTileHeight : area.bottom);
    int16_t err = 0;
    if (t % 2)
      for (int p = 0; p < rec->planes && !err; ++p) err = shiftTile(rec, tile, p, p, amount);
    else
      err = shiftTile(rec, tile, 0, rec->planes - 1, amount);
    if (err) return err;
    rec->progressProc(t + 1, across * down);
    const char* how = getenv("QM_TEST_FILTER");
    if (how && !strcmp(how, "slow")) Sleep(200);
    if (rec->abortProc()) return kUserCanceled;
  }
  const Rect16 none = {0, 0, 0, 0};
  rec->inRect = rec->outRect = none;
  return 0;
}

__attribute__((dllexport)) void ShiftMain(int16_t selector, void* record, intptr_t* data,
                                          int16_t* result) {
  FilterRecord* rec = (FilterRecord*)record;
  (void)data;
  *result = 0;
  switch (selector) {
    case kSelectorAbout:
      aboutBox((const AboutRecord*)record);
      break;
    case kSelectorParameters:
      *result = shiftParameters(rec);
      break;
    case kSelectorStart:
      *result = misbehave(rec);
      if (!*result) *result = shiftStart(rec);
      break;
    default:
      break;
  }
}

/* ---- Test Invert ---- */
static void nextBand(FilterRecord* rec, int top) {
  Rect16 band = rec->filterRect;
  band.top = (int16_t)top;
  if (band.top + kBand < band.bottom) band.bottom = (int16_t)(band.top + kBand);
  if (band.top >= band.bottom) band.top = band.bottom = band.left = band.right = 0;
  rec->inRect = rec->outRect = band;
  rec->inLoPlane = rec->outLoPlane = 0;
  rec->inHiPlane = rec->outHiPlane = (int16_t)((rec->planes < 3 ? rec->planes : 3) - 1);
}

__attribute__((dllexport)) void InvertMain(int16_t selector, void* record, intptr_t* data,
                                           int16_t* result) {
  FilterRecord* rec = (FilterRecord*)record;
  (void)data;
  *result = 0;
  if (selector == kSelectorAbout) {
    aboutBox((const AboutRecord*)record);
  } else if (selector == kSelectorStart) {
    *result = misbehave(rec);
    if (!*result && rec->imageMode != kModeRGB) *result = kBadMode;
    if (!*result) nextBand(rec, rec->filterRect.top);
  } else if (selector == kSelectorContinue) {
    const Rect16 r = rec->outRect;
    const int n = rec->outHiPlane - rec->outLoPlane + 1;
    for (int y = 0; y < r.bottom - r.top; ++y) {
      const uint8_t* in = (const uint8_t*)rec->inData + y * rec->inRowBytes;
      uint8_t* out = (uint8_t*)rec->outData + y * rec->outRowBytes;
      for (int k = 0; k < (r.right - r.left) * n; ++k) out[k] = (uint8_t)(255 - in[k]);
    }
    rec->progressProc(r.bottom - rec->filterRect.top, rec->filterRect.bottom - rec->filterRect.top);
    nextBand(rec, r.bottom);
  }
}
