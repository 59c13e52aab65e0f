/* The about box: the filter's title, author and copyright from the parameter block. */
#include <windows.h>

#include "runtime.h"

static int appendField(char* out, int n, int room, const Params* params, int offset) {
  const int length = rt_text_length(params, offset, kBlockText);
  for (int k = 0; k < length && n < room - 1; ++k) out[n++] = (char)params->block[offset + k];
  return n;
}

static int appendText(char* out, int n, int room, const char* text) {
  while (*text && n < room - 1) out[n++] = *text++;
  return n;
}

void rt_about(const Params* params, void* parentWindow) {
  char title[kBlockText + 1];
  char body[3 * kBlockText + 64];
  int n = appendField(title, 0, sizeof title, params, kBlockTitle);
  title[n] = 0;
  n = appendField(body, 0, sizeof body, params, kBlockTitle);
  n = appendText(body, n, sizeof body, "\r\n\r\n");
  n = appendField(body, n, sizeof body, params, kBlockAuthor);
  n = appendText(body, n, sizeof body, "\r\n");
  n = appendField(body, n, sizeof body, params, kBlockCopyright);
  body[n] = 0;
  MessageBoxA((HWND)parentWindow, body, title, MB_OK | MB_ICONINFORMATION);
}
