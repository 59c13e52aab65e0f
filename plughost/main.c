/* qm-plughost: runs one filter plugin for Quillmark under Wine. Reads one command from its
   standard input, answers on its standard output (see wire.h) and ends; a plugin that
   crashes takes only this process with it.

   qm-plughost --probe    prints "qm-plughost" and ends: tells whether the host starts at all. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host.h"

void answer(const char* first, ...) {
  char line[1024];
  size_t n = 0;
  va_list fields;
  va_start(fields, first);
  for (const char* f = first; f; f = va_arg(fields, const char*)) {
    if (f != first && n + 1 < sizeof line) line[n++] = '\t';
    for (; *f && n + 1 < sizeof line; ++f)
      line[n++] = *f == '\t' || *f == '\r' || *f == '\n' ? ' ' : *f;
  }
  va_end(fields);
  line[n++] = '\n';
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, (DWORD)n, &written, NULL);
}

/* ---- the plugin's windows: shut in quiet runs, counted otherwise ---- */
static int quiet;
static int openDialogs;

static LRESULT CALLBACK watchWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTW* cs = ((const CBT_CREATEWNDW*)lParam)->lpcs;
    if (!(cs->style & WS_CHILD)) {
      if (quiet) return 1;
      if ((cs->style & WS_CAPTION) == WS_CAPTION && openDialogs++ == 0) answer("dialog", NULL);
    }
  } else if (code == HCBT_DESTROYWND && !quiet) {
    const LONG style = GetWindowLongW((HWND)wParam, GWL_STYLE);
    if (!(style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION && openDialogs > 0 &&
        --openDialogs == 0)
      answer("dialog-end", NULL);
  }
  return CallNextHookEx(NULL, code, wParam, lParam);
}

void quiet_windows(int on) {
  quiet = on;
}

/* ---- a crash ends the process with its exception code, never a debugger ---- */
static LONG WINAPI crashed(EXCEPTION_POINTERS* e) {
  char code[16];
  snprintf(code, sizeof code, "0x%08lX", (unsigned long)e->ExceptionRecord->ExceptionCode);
  answer("error", code, "", NULL);
  ExitProcess(3);
  return EXCEPTION_EXECUTE_HANDLER;
}

/* ---- the command ---- */
static int readLine(char* line, int room) {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  int n = 0;
  DWORD got = 0;
  char c;
  while (n + 1 < room && ReadFile(in, &c, 1, &got, NULL) && got == 1 && c != '\n')
    if (c != '\r') line[n++] = c;
  line[n] = 0;
  return n;
}

static wchar_t* widen(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, NULL, 0);
  wchar_t* w = n > 0 ? (wchar_t*)calloc((size_t)n, sizeof(wchar_t)) : NULL;
  if (w) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w, n);
  return w;
}

static void answerLoadError(DWORD error) {
  switch (error) {
    case ERROR_BAD_EXE_FORMAT:
#ifdef _WIN64
      answer("error", "load", "it is not a 64-bit Windows library", NULL);
#else
      answer("error", "load", "it is not a 32-bit Windows library", NULL);
#endif
      return;
    case ERROR_MOD_NOT_FOUND:
      answer("error", "load", "a library it needs is missing", NULL);
      return;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      answer("error", "load", "the file is not there", NULL);
      return;
    default: {
      char text[64];
      snprintf(text, sizeof text, "Windows error %lu", (unsigned long)error);
      answer("error", "load", text, NULL);
    }
  }
}

/* Loads filter index of the plugin and finds its entry point; answers and returns NULL when
   that fails. */
static EntryPoint loadFilter(const char* path, int index, FilterEntry* facts) {
  wchar_t* wide = widen(path);
  HMODULE module = wide ? LoadLibraryExW(wide, NULL, LOAD_WITH_ALTERED_SEARCH_PATH) : NULL;
  free(wide);
  if (!module) {
    answerLoadError(GetLastError());
    return NULL;
  }
  const int found = pipl_find(module, index, facts);
  const char* problem = NULL;
  if (found == 0)
    problem = "it holds no filter description (PiPL)";
  else if (found < 0)
    problem = "it holds fewer filters";
  else if (!facts->isFilter)
    problem = "it is not a filter plugin";
  else if (!facts->entry[0])
#ifdef _WIN64
    problem = facts->hasOtherEntry ? "it is a 32-bit plugin" : "it has no 64-bit entry point";
#else
    problem = facts->hasOtherEntry ? "it is a 64-bit plugin" : "it has no 32-bit entry point";
#endif
  EntryPoint entry = NULL;
  if (!problem) {
    const FARPROC address = GetProcAddress(module, facts->entry);
    memcpy(&entry, &address, sizeof entry);
  }
  if (!problem && !entry) problem = "its entry point is missing";
  if (problem) answer("error", "load", problem, NULL);
  return entry;
}

static int about(EntryPoint entry) {
  static intptr_t parentWindow;
  AboutRecord record;
  memset(&record, 0, sizeof record);
  record.platformData = &parentWindow;
  record.basicSuite = suites_basic();
  intptr_t data = 0;
  int16_t result = 0;
  entry(kSelectorAbout, &record, &data, &result);
  if (result && result != kUserCanceled) {
    char code[16];
    snprintf(code, sizeof code, "%d", result);
    answer("error", code, "", NULL);
    return 1;
  }
  answer("done", NULL);
  return 0;
}

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(crashed);
  if (argc > 1 && !strcmp(argv[1], "--probe")) {
    answer("qm-plughost", NULL);
    return 0;
  }
  SetWindowsHookExW(WH_CBT, watchWindows, NULL, GetCurrentThreadId());
  static char line[8192];
  readLine(line, sizeof line);
  char* fields[6] = {0};
  int count = 0;
  for (char* p = line; p && count < 6; ++count) {
    fields[count] = p;
    p = strchr(p, '\t');
    if (p) *p++ = 0;
  }
  FilterEntry facts;
  if (count == 3 && !strcmp(fields[0], "about")) {
    EntryPoint entry = loadFilter(fields[2], atoi(fields[1]), &facts);
    return entry ? about(entry) : 1;
  }
  if (count == 5 && !strcmp(fields[0], "run")) {
    EntryPoint entry = loadFilter(fields[4], atoi(fields[1]), &facts);
    if (!entry) return 1;
    wchar_t* pixels = widen(fields[3]);
    return pixels ? run_filter(entry, &facts, pixels, fields[2][0] == '1') : 1;
  }
  answer("error", "load", "the host did not understand its command", NULL);
  return 2;
}
