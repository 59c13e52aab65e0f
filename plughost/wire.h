/* What the host process and the program say to each other. The program writes one command
   line on the host's standard input; the host answers with lines on its standard output.
   Fields are separated by tabs, texts are UTF-8.

     about INDEX PLUGIN                 the about box of filter INDEX (1-based) of PLUGIN
     run INDEX DIALOG PIXELS PLUGIN     filters the pixel file, with the plugin's dialog first
                                        when DIALOG is 1

   Answers: "progress DONE TOTAL", "dialog" and "dialog-end" around the plugin's own dialog
   (no time limit while it is open), then one of "done", "cancelled", "error CODE TEXT".
   CODE is the plugin's result code in decimal, an exception code as 0x and eight hex digits,
   or "load" when the plugin could not be loaded.

   The pixel file holds a header of kWireHeaderSize bytes, then the pixels row by row with
   the channels of each pixel together (1 grey, 3 RGB, 4 RGBA). The host writes the result
   over the pixels only when it answers "done". The program may set the abort word while the
   plugin runs; the plugin's abort test then says yes. This file is shared by the C host and
   the C++ program. */
#ifndef QM_PLUGHOST_WIRE_H
#define QM_PLUGHOST_WIRE_H

enum {
  kWireMagic = 0x58504D51, /* "QMPX" */
  kWireHeaderSize = 64,
  kWireMagicAt = 0,
  kWireWidthAt = 4,
  kWireHeightAt = 8,
  kWireChannelsAt = 12,
  kWireAbortAt = 16
};

/* The largest side the filter record can describe. */
enum { kWireMaxSide = 32767 };

#endif
