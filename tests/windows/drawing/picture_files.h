#pragma once

#include <wincodec.h>
#include "windows/platform/win32_api.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "windows/drawing/win_handles.h"

namespace skyfare::testing {

// A folder of its own for each test, removed after it.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::filesystem::path(base) /
            (L"skyfare-drawing-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++count()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::string folder() const { return path_.string(); }

 private:
  static int& count() {
    static int made = 0;
    return made;
  }
  std::filesystem::path path_;
};

inline void putLittle(std::vector<unsigned char>& bytes, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A 24-bit bottom-up BMP of 0xRRGGBB pixels, row by row from the top; the header may claim
// another size than the pixels given, as a hostile file does.
inline constexpr int kAsGiven = INT32_MIN;

inline std::vector<unsigned char> bmpBytes(int width, int height,
                                           const std::vector<std::uint32_t>& pixels,
                                           int declaredWidth = kAsGiven,
                                           int declaredHeight = kAsGiven) {
  const int rowBytes = (width * 3 + 3) & ~3;
  std::vector<unsigned char> bytes = {'B', 'M'};
  putLittle(bytes, 54 + rowBytes * height, 4);
  putLittle(bytes, 0, 4);
  putLittle(bytes, 54, 4);
  putLittle(bytes, 40, 4);
  putLittle(bytes, static_cast<std::uint32_t>(declaredWidth != kAsGiven ? declaredWidth : width),
            4);
  putLittle(bytes, static_cast<std::uint32_t>(declaredHeight != kAsGiven ? declaredHeight : height),
            4);
  putLittle(bytes, 1, 2);
  putLittle(bytes, 24, 2);
  putLittle(bytes, 0, 4);
  putLittle(bytes, rowBytes * height, 4);
  putLittle(bytes, 2835, 4);
  putLittle(bytes, 2835, 4);
  putLittle(bytes, 0, 8);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) putLittle(bytes, pixels[y * width + x], 3);
    bytes.insert(bytes.end(), rowBytes - width * 3, 0);
  }
  return bytes;
}

inline void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

inline void writeBmp(const std::string& path, int width, int height, std::uint32_t colour) {
  writeBytes(path, bmpBytes(width, height, std::vector<std::uint32_t>(width * height, colour)));
}

// A 32-bit PNG with straight alpha, 0xAARRGGBB pixels, written through WIC.
inline bool writePng(IWICImagingFactory& factory, const std::string& path, int width, int height,
                     const std::vector<std::uint32_t>& pixels) {
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  const std::wstring wide = std::filesystem::path(path).wstring();
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  std::vector<std::uint32_t> copy = pixels;
  return SUCCEEDED(factory.CreateStream(stream.put())) &&
         SUCCEEDED(stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory.CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) &&
         SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr)) &&
         SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
         SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGRA &&
         SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * 4,
                                      static_cast<UINT>(copy.size() * 4),
                                      reinterpret_cast<BYTE*>(copy.data()))) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// A WIC factory for the test's thread.
class WicFactory {
 public:
  WicFactory() {
    initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     factory_.putVoid());
  }
  ~WicFactory() {
    factory_.reset();
    if (initialised_)
      CoUninitialize();
  }
  IWICImagingFactory& operator*() const { return *factory_.get(); }
  IWICImagingFactory* get() const { return factory_.get(); }

 private:
  bool initialised_ = false;
  ComPtr<IWICImagingFactory> factory_;
};

}  // namespace skyfare::testing
