/* The about box: the filter's title, author and copyright from the parameter block. */
#include <windows.h>

#include "runtime.h"

static int appendText(char* out, int n, int room, const char* text) {
  while (*text && n < room - 1) out[n++] = *text++;
  return n;
}

void rt_about(const Params* params, void* parentWindow) {
  char title[kBlockText + 1];
  /* Room for the three fields and the line breaks between them. */
  char body[3 * kBlockText + 64];
  rt_field_text(params, kBlockTitle, kBlockText, title);
  int n = rt_field_text(params, kBlockTitle, kBlockText, body);
  n = appendText(body, n, sizeof body, "\r\n\r\n");
  n += rt_field_text(params, kBlockAuthor, kBlockText, body + n);
  n = appendText(body, n, sizeof body, "\r\n");
  rt_field_text(params, kBlockCopyright, kBlockText, body + n);
  MessageBoxA((HWND)parentWindow, body, title, MB_OK | MB_ICONINFORMATION);
}
