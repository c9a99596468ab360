#include "windows/config/font_faces.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "windows/config/gdi_font.h"

namespace skyfare {

namespace {

// A name no face carries, to learn the face the system falls back to.
constexpr wchar_t kUnknownFace[] = L"Skyfare No Such Face";

struct ScreenDc {
  ScreenDc() : dc(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc != nullptr)
      ReleaseDC(nullptr, dc);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC dc;
};

int CALLBACK addFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  auto& list = *reinterpret_cast<std::vector<std::wstring>*>(faces);
  const std::wstring face = font->lfFaceName;
  // The system reports a face once for every character set it covers.
  if (!face.empty() && face[0] != L'@' && std::find(list.begin(), list.end(), face) == list.end())
    list.push_back(face);
  return 1;
}

std::wstring drawnFace(const std::wstring& name) {
  const ScreenDc screen;
  if (screen.dc == nullptr)
    return {};
  const OwnedFont font = createFace(name, 100, USER_DEFAULT_SCREEN_DPI);
  if (!font)
    return {};
  const HGDIOBJ previous = SelectObject(screen.dc, font.get());
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(screen.dc, LF_FACESIZE, face);
  SelectObject(screen.dc, previous);
  return face;
}

bool sameFace(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::vector<std::wstring> reportedFontFaces() {
  std::vector<std::wstring> faces;
  const ScreenDc screen;
  if (screen.dc == nullptr)
    return faces;
  LOGFONTW every{};
  every.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(screen.dc, &every, addFace, reinterpret_cast<LPARAM>(&faces), 0);
  return faces;
}

std::vector<std::wstring> fontListEntries(const std::vector<std::wstring>& reported) {
  std::vector<std::wstring> entries(
      reported.begin(),
      reported.begin() + static_cast<std::ptrdiff_t>(std::min(reported.size(), kFontListLength)));
  std::stable_sort(
      entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                    static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
      });
  return entries;
}

std::wstring substitutedFace(const std::wstring& name) {
  if (name.empty() || name.size() >= LF_FACESIZE)
    return {};
  const std::wstring drawn = drawnFace(name);
  if (drawn.empty() || sameFace(drawn, name) || sameFace(drawn, drawnFace(kUnknownFace)))
    return {};
  return drawn;
}

}  // namespace skyfare
