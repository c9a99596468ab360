#pragma once

#include <windows.h>

#include <string>

namespace skyfare {

// Small readers and setters of the common controls, so the pages read as what they do.
int trackbarValue(HWND bar);
void setTrackbar(HWND bar, int value);
void setTrackbarRange(HWND bar, int minimum, int maximum);
bool isTicked(HWND box);
void setTicked(HWND box, bool ticked);
int comboSelection(HWND combo);
void setComboSelection(HWND combo, int position);
int comboCount(HWND combo);
void addComboEntry(HWND combo, const std::wstring& text);
std::wstring comboEntry(HWND combo, int position);
// The position of the entry that is exactly `text`, letter case included; -1 when none is.
int findComboEntry(HWND combo, const std::wstring& text);

// Lays controls over the longest run of blanks of a one-line label, as its words expect them:
// each control's width is kept unless it is listed as 0, which shares the rest of the run.
void placeInLabelGap(HWND label, const HWND* controls, const int* widthsPx, int count);

}  // namespace skyfare
