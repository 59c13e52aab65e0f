/* Finding a filter's entry point and modes in its PiPL resource. Every length is checked
   against the resource: a hostile file yields "no entry", never a read past its end. */
#include <string.h>

#include "host.h"

#ifdef _WIN64
static const uint32_t kOwnCode = FOURCC('8', '6', '6', '4');
static const uint32_t kOtherCode = FOURCC('w', 'x', '8', '6');
#else
static const uint32_t kOwnCode = FOURCC('w', 'x', '8', '6');
static const uint32_t kOtherCode = FOURCC('8', '6', '6', '4');
#endif

typedef struct {
  int wanted, seen;
  HRSRC found;
} Search;

static BOOL CALLBACK visit(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
  Search* s = (Search*)param;
  (void)type;
  if (++s->seen == s->wanted) {
    s->found = FindResourceW(module, name, L"PIPL");
    return FALSE;
  }
  return TRUE;
}

static uint32_t word(const uint8_t* p) {
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void parse(const uint8_t* p, DWORD size, FilterEntry* entry) {
  if (size < 10) return;
  const uint32_t count = word(p + 6);
  DWORD at = 10;
  for (uint32_t k = 0; k < count && size - at >= 16; ++k) {
    const uint32_t vendor = word(p + at), key = word(p + at + 4), length = word(p + at + 12);
    const uint8_t* data = p + at + 16;
    const DWORD room = size - at - 16;
    if (length > room) return;
    if (vendor == FOURCC('8', 'B', 'I', 'M')) {
      if (key == FOURCC('k', 'i', 'n', 'd') && length >= 4)
        entry->isFilter = word(data) == FOURCC('8', 'B', 'F', 'M');
      else if (key == kOwnCode) {
        DWORD n = 0;
        while (n < length && n + 1 < sizeof entry->entry && data[n]) ++n;
        memcpy(entry->entry, data, n);
        entry->entry[n] = 0;
      } else if (key == kOtherCode)
        entry->hasOtherEntry = 1;
      else if (key == FOURCC('m', 'o', 'd', 'e') && length >= 2)
        entry->modes = (uint16_t)(data[0] << 8 | data[1]);
    }
    const DWORD padded = (length + 3) & ~3u;
    if (padded > room) return;
    at += 16 + padded;
  }
}

int pipl_find(HMODULE module, int index, FilterEntry* entry) {
  memset(entry, 0, sizeof *entry);
  entry->modes = 0xFFFF;
  entry->isFilter = 1;
  Search s = {index, 0, NULL};
  EnumResourceNamesW(module, L"PIPL", visit, (LONG_PTR)&s);
  if (!s.found) return s.seen == 0 ? 0 : -1;
  const HGLOBAL loaded = LoadResource(module, s.found);
  const uint8_t* p = loaded ? (const uint8_t*)LockResource(loaded) : NULL;
  if (p) parse(p, SizeofResource(module, s.found), entry);
  return 1;
}

uint16_t pipl_mode_bit(int imageMode) {
  return (uint16_t)(0x8000u >> imageMode);
}
