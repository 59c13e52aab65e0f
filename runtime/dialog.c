/* The filter's dialog: each named map's name over its two sliders, the other sliders in use
   with their names, each with its value (dragged or typed), a live preview of a scaled copy
   of the input over a checkerboard where it has transparency, OK and Cancel. Built in code,
   so the plugin needs no dialog resource. Where no window can be made (a host without a
   desktop), the filter runs with the stored values. */
#include <windows.h>

#include "runtime.h"

enum {
  kPreviewWidth = 240,
  kPreviewHeight = 180,
  kRowHeight = 26,
  kTop = 196,
  kIdScroll = 100,
  kIdEdit = 200,
  kIdPreview = 300
};

typedef struct {
  Run* run;
  uint8_t* small;    /* the input scaled into the preview, inPlanes per pixel */
  uint8_t* filtered; /* the same after the filter */
  uint8_t* dib;      /* BGR rows for display, 4-byte aligned */
  int width, height, dibRow;
  int updating; /* set while the dialog itself changes an edit field */
} DialogState;

static int sliderInUse(const Run* run, int i) {
  return run->params.block[kBlockControlFlags + 4 * i] == 1;
}
static int mapNamed(const Run* run, int map) {
  return run->params.block[kBlockMapFlags + 4 * map] == 1;
}

/* A light and a dark grey in 8-pixel squares, as image editors show transparency. */
static int checker(int x, int y) {
  return ((x >> 3) ^ (y >> 3)) & 1 ? 204 : 255;
}

static void refreshPreview(HWND dialog, DialogState* d) {
  Run* run = d->run;
  Picture pic;
  RunState state;
  pic.data = d->small;
  pic.width = d->width;
  pic.height = d->height;
  pic.channels = run->channels;
  pic.pixelStride = run->inPlanes;
  pic.rowStride = (intptr_t)d->width * run->inPlanes;
  rt_copy(pic.sliders, run->sliders, 8);
  /* The filter writes every plane the loop below shows: filtered needs no copy of small. */
  rt_seed(&state, 0);
  rt_filter_rows(run, &pic, d->filtered, pic.rowStride, run->inPlanes, 0, d->height, &state, 0, 0);
  for (int y = 0; y < d->height; ++y)
    for (int x = 0; x < d->width; ++x) {
      const int at = (y * d->width + x) * run->inPlanes;
      const uint8_t* s = d->filtered + at;
      uint8_t* t = d->dib + y * d->dibRow + 3 * x;
      t[0] = run->inPlanes >= 3 ? s[2] : s[0];
      t[1] = run->inPlanes >= 3 ? s[1] : s[0];
      t[2] = s[0];
      if (run->imageMode != kModeRGB || run->inPlanes != 4) continue;
      /* The filter leaves a protected transparency plane alone: the input's then holds. */
      const int alpha = run->channels == 4 ? s[3] : d->small[at + 3];
      const int back = checker(x, y) * (255 - alpha);
      for (int k = 0; k < 3; ++k) t[k] = (uint8_t)((t[k] * alpha + back + 127) / 255);
    }
  InvalidateRect(GetDlgItem(dialog, kIdPreview), NULL, FALSE);
}

static void paintPreview(HDC dc, const DialogState* d) {
  BITMAPINFO info = {0};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = d->width;
  info.bmiHeader.biHeight = -d->height; /* rows top to bottom */
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  /* Small pictures are shown enlarged to the preview's box, keeping their shape. */
  int w = kPreviewWidth, h = d->height * kPreviewWidth / d->width;
  if (h > kPreviewHeight) {
    h = kPreviewHeight;
    w = d->width * kPreviewHeight / d->height;
  }
  StretchDIBits(dc, 0, 0, w, h, 0, 0, d->width, d->height, d->dib, &info, DIB_RGB_COLORS, SRCCOPY);
}

/* Stores slider i's value and shows it in its bar and, unless typed there, its edit field. */
/* Stores slider i's value and shows it in its bar and its edit field; a typed value that is
   already what is shown stays as typed, so the caret does not jump. */
static void showValue(HWND dialog, DialogState* d, int i, int value, int typed) {
  value = value < 0 ? 0 : value > 255 ? 255 : value;
  d->run->sliders[i] = (uint8_t)value;
  SetScrollPos(GetDlgItem(dialog, kIdScroll + i), SB_CTL, value, TRUE);
  if (typed == value) return;
  const HWND edit = GetDlgItem(dialog, kIdEdit + i);
  d->updating = 1;
  SetDlgItemInt(dialog, kIdEdit + i, (UINT)value, FALSE);
  SendMessageA(edit, EM_SETSEL, 3, 3);
  d->updating = 0;
}

static void setValue(HWND dialog, DialogState* d, int i, int value, int typed) {
  showValue(dialog, d, i, value, typed);
  refreshPreview(dialog, d);
}

/* The edit fields select their whole text on Ctrl+A. */
static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM w, LPARAM l) {
  const WNDPROC base = (WNDPROC)GetWindowLongPtrA(edit, GWLP_USERDATA);
  if (message == WM_CHAR && w == 1) { /* Ctrl+A */
    SendMessageA(edit, EM_SETSEL, 0, -1);
    return 0;
  }
  return CallWindowProcA(base, edit, message, w, l);
}

static HWND child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w,
                  int h, int id) {
  HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           (HMENU)(intptr_t)id, NULL, NULL);
  SendMessageA(c, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 0);
  return c;
}

/* One slider's row at y: its name (may be empty), bar and edit field. */
static void sliderRow(HWND dialog, DialogState* d, int i, const char* name, int y) {
  child(dialog, "STATIC", name, 0, 10, y + 3, 90, 18, -1);
  HWND bar = child(dialog, "SCROLLBAR", "", SBS_HORZ | WS_TABSTOP, 104, y, 110, 18, kIdScroll + i);
  SetScrollRange(bar, SB_CTL, 0, 255, FALSE);
  HWND edit =
      child(dialog, "EDIT", "", WS_BORDER | ES_NUMBER | WS_TABSTOP, 220, y, 36, 20, kIdEdit + i);
  SetWindowLongPtrA(edit, GWLP_USERDATA, SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)editProc));
  showValue(dialog, d, i, d->run->sliders[i], -1);
}

static void buildControls(HWND dialog, DialogState* d) {
  const Run* run = d->run;
  char title[kBlockText + 1];
  rt_field_text(&run->params, kBlockTitle, kBlockText, title);
  SetWindowTextA(dialog, title);
  child(dialog, "STATIC", "", SS_OWNERDRAW, 10, 8, kPreviewWidth, kPreviewHeight, kIdPreview);
  int y = kTop;
  char name[kBlockText + 1];
  for (int i = 0; i < 8; ++i) {
    if (i % 2 == 0 && mapNamed(run, i / 2)) {
      rt_field_text(&run->params, kBlockMapNames + i / 2 * kBlockText, kBlockText, name);
      child(dialog, "STATIC", name, 0, 10, y + 3, 246, 18, -1);
      sliderRow(dialog, d, i, "", y += kRowHeight);
      sliderRow(dialog, d, i + 1, "", y += kRowHeight);
      y += kRowHeight;
      ++i;
    } else if (sliderInUse(run, i)) {
      rt_field_text(&run->params, kBlockControlNames + i * kBlockText, kBlockText, name);
      sliderRow(dialog, d, i, name, y);
      y += kRowHeight;
    }
  }
  y += 8;
  child(dialog, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 100, y, 74, 24, IDOK);
  child(dialog, "BUTTON", "Cancel", WS_TABSTOP, 182, y, 74, 24, IDCANCEL);
  SetWindowPos(dialog, NULL, 0, 0, 276, y + 64, SWP_NOMOVE | SWP_NOZORDER);
  refreshPreview(dialog, d);
}

static int scrolledTo(HWND bar, WPARAM w) {
  const int pos = GetScrollPos(bar, SB_CTL);
  switch (LOWORD(w)) {
    case SB_LINELEFT:
      return pos - 1;
    case SB_LINERIGHT:
      return pos + 1;
    case SB_PAGELEFT:
      return pos - 16;
    case SB_PAGERIGHT:
      return pos + 16;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      return HIWORD(w);
    default:
      return pos;
  }
}

static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  DialogState* d = (DialogState*)GetWindowLongPtrA(dialog, DWLP_USER);
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, l);
      buildControls(dialog, (DialogState*)l);
      return TRUE;
    case WM_HSCROLL: {
      const int id = GetDlgCtrlID((HWND)l);
      if (id >= kIdScroll && id < kIdScroll + 8)
        setValue(dialog, d, id - kIdScroll, scrolledTo((HWND)l, w), 0);
      return TRUE;
    }
    case WM_DRAWITEM:
      if (w == kIdPreview) paintPreview(((const DRAWITEMSTRUCT*)l)->hDC, d);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(w);
      if (id == IDOK || id == IDCANCEL) {
        EndDialog(dialog, id == IDOK);
      } else if (id >= kIdEdit && id < kIdEdit + 8 && HIWORD(w) == EN_CHANGE && !d->updating) {
        BOOL ok = FALSE;
        const UINT v = GetDlgItemInt(dialog, id, &ok, FALSE);
        /* Too large a number shows as the 255 that is used. */
        if (ok) setValue(dialog, d, id - kIdEdit, v > 255 ? 255 : (int)v, v > 255 ? -1 : (int)v);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

int rt_dialog(Run* run, FilterRecord* rec) {
  DialogState d = {0};
  d.run = run;
  /* The preview: the input scaled to fit, nearest pixel. */
  d.width = run->width < kPreviewWidth ? run->width : kPreviewWidth;
  d.height = run->height < kPreviewHeight ? run->height : kPreviewHeight;
  if (run->width * d.height > run->height * d.width)
    d.height = run->height * d.width / run->width;
  else
    d.width = run->width * d.height / run->height;
  if (d.width < 1) d.width = 1;
  if (d.height < 1) d.height = 1;
  d.dibRow = (3 * d.width + 3) & ~3;
  const uintptr_t size = (uintptr_t)d.width * d.height * run->inPlanes;
  d.small = (uint8_t*)rt_alloc(size);
  d.filtered = (uint8_t*)rt_alloc(size);
  d.dib = (uint8_t*)rt_alloc((uintptr_t)d.dibRow * d.height);
  INT_PTR answer = -1;
  if (d.small && d.filtered && d.dib) {
    for (int y = 0; y < d.height; ++y)
      for (int x = 0; x < d.width; ++x)
        rt_copy(d.small + (y * d.width + x) * run->inPlanes,
                run->copy + (intptr_t)(y * run->height / d.height) * run->copyRow +
                    (intptr_t)(x * run->width / d.width) * run->inPlanes,
                (uintptr_t)run->inPlanes);
    /* An empty dialog template; the controls are made in WM_INITDIALOG. */
    static const WORD kTemplate[] __attribute__((aligned(4))) = {
        LOWORD(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU),
        HIWORD(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU),
        0,
        0,
        /* extended style */ 0,
        /* controls */ 0,
        0,
        180,
        200,
        /* menu, class, title */ 0,
        0,
        0};
    const HWND parent = rec->platformData ? *(HWND*)rec->platformData : NULL;
    answer = DialogBoxIndirectParamA((HINSTANCE)run->params.module,
                                     (LPCDLGTEMPLATEA)(const void*)kTemplate, parent, dialogProc,
                                     (LPARAM)&d);
  }
  rt_free(d.small);
  rt_free(d.filtered);
  rt_free(d.dib);
  return answer != 0; /* -1: no window could be made, so run with the values as they are */
}
