#include "params.h"

#include <windows.h>

static const uint32_t kModeKey = 0x6D6F6465; /* 'mode' */

/* The supported-modes word of our PIPL; RGB when the PIPL cannot be walked. */
static uint16_t piplModes(HMODULE module) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(kResourceId), "PIPL");
  if (!found) return 0x10;
  const DWORD size = SizeofResource(module, found);
  const uint8_t* p = (const uint8_t*)LockResource(LoadResource(module, found));
  if (!p || size < 10) return 0x10;
  const uint32_t count = *(const uint32_t*)(p + 6);
  DWORD at = 10;
  for (uint32_t k = 0; k < count && at + 16 <= size; ++k) {
    const uint32_t key = *(const uint32_t*)(p + at + 4);
    const uint32_t length = *(const uint32_t*)(p + at + 12);
    if (key == kModeKey && at + 18 <= size) return *(const uint16_t*)(p + at + 16);
    at += 16 + ((length + 3) & ~3u);
  }
  return 0x10;
}

/* Any object of this DLL names the module that holds it. */
static const char kAnchor = 0;

int rt_load_params(Params* params) {
  HMODULE module = 0;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          &kAnchor, &module))
    return 0;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(kResourceId), "PARM");
  if (!found || SizeofResource(module, found) < kParmHeader + kBlockSize) return 0;
  const uint8_t* p = (const uint8_t*)LockResource(LoadResource(module, found));
  if (!p) return 0;
  params->block = p + kParmHeader;
  params->modes = piplModes(module);
  params->module = module;
  return 1;
}

uint8_t rt_slider(const Params* params, int i) {
  return params->block[kBlockSliders + 4 * i];
}

int rt_text_length(const Params* params, int offset, int room) {
  int n = 0;
  while (n < room && params->block[offset + n]) ++n;
  return n;
}

int rt_field_text(const Params* params, int offset, int room, char* out) {
  const int n = rt_text_length(params, offset, room);
  for (int k = 0; k < n; ++k) out[k] = (char)params->block[offset + k];
  out[n] = 0;
  return n;
}
