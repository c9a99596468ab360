#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace skyfare {

inline constexpr std::size_t kFontListLength = 40;

// The faces the system offers for display, each once, in the order it reports them. Vertical
// variants ("@" names) are the same faces turned for vertical text and are left out.
std::vector<std::wstring> reportedFontFaces();

// The entries of the font list: the first 40 reported faces, sorted without regard to letter
// case (ties keep the reported order). Stored list positions refer to this order.
std::vector<std::wstring> fontListEntries(const std::vector<std::wstring>& reported);

// The face the system draws for `name` when it has no face of that name but substitutes one
// for it. Empty when `name` is a face of its own, or when the system would draw it in the face
// it draws for any unknown name: that face does not stand for `name`.
std::wstring substitutedFace(const std::wstring& name);

}  // namespace skyfare
