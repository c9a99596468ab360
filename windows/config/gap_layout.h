#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace skyfare {

// The longest run of blanks in a one-line label, [start, end) in characters: the controls that
// stand between the label's words sit over it, so the label keeps its text exactly as written.
struct BlankRun {
  std::size_t start = 0;
  std::size_t end = 0;
};
BlankRun longestBlankRun(std::wstring_view text);

// Left edges, left to right, of controls laid side by side from `left` to `right` with `spacing`
// between them. A width of 0 shares what the fixed widths leave; the sharers get their widths
// in `widths` back.
std::vector<int> placeSideBySide(int left, int right, int spacing, std::vector<int>& widths);

}  // namespace skyfare
