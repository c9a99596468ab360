#pragma once

#include "windows/platform/win32_api.h"

namespace skyfare {

// Gives the chooser window the client size, in twips, and places its controls in it: the name
// box, file list and file types down the left column; the folder label, folder list and drives
// down the right; Cancel left of OK along the bottom.
void layOutChooser(HWND dialog, SIZE clientSizeTwips);

// Draws one entry of the owner-drawn folder list: a folder sign, indented by its depth, and the
// folder's name; open signs for the current folder and its ancestors, closed ones below it.
void drawFolderEntry(const DRAWITEMSTRUCT& item, int depth, bool open);

}  // namespace skyfare
