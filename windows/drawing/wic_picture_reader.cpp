#include "windows/drawing/wic_picture_reader.h"

#include <algorithm>
#include <vector>

#include "raster/picture_limits.h"
#include "windows/drawing/win_handles.h"

namespace skyfare {
namespace {

// Enough for the headers of every format read, the JPEG frame header included.
constexpr std::size_t kHeadBytes = 64 << 10;
// Pixels are converted this much at a time, so the converter's own buffer stays this small.
constexpr UINT kConvertBandBytes = 256 << 10;

std::size_t readAt(HANDLE file, std::int64_t at, unsigned char* into, std::size_t count) {
  OVERLAPPED where{};
  where.Offset = static_cast<DWORD>(at & 0xFFFFFFFF);
  where.OffsetHigh = static_cast<DWORD>(at >> 32);
  DWORD got = 0;
  if (!ReadFile(file, into, static_cast<DWORD>(count), &got, &where))
    return 0;
  return got;
}

PictureFile refused(std::string problem) {
  return {{}, std::move(problem)};
}

}  // namespace

PictureFile readPictureFile(IWICImagingFactory& factory, const std::wstring& path, int maxWidth,
                            int maxHeight) {
  HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE)
    return refused(GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND
                       ? "no such file"
                       : "cannot be opened");
  const UniqueHandle file(opened);
  LARGE_INTEGER size{};
  if (GetFileType(opened) != FILE_TYPE_DISK || !GetFileSizeEx(opened, &size))
    return refused("not a regular file");

  std::vector<unsigned char> head(kHeadBytes);
  head.resize(readAt(opened, 0, head.data(), head.size()));
  const DeclaredPicture declared = declaredPicture(head.data(), head.size());
  if (declared.kind == DeclaredPicture::Kind::Unknown)
    return refused("not a picture this program reads");
  if (std::string problem = declaredSizeProblem(declared.width, declared.height,
                                                declared.bitsPerPixel, declared.decodesPart);
      !problem.empty())
    return refused(std::move(problem));
  if (declared.kind == DeclaredPicture::Kind::Png) {
    const ReadAt read = [opened](std::int64_t at, unsigned char* into, std::size_t count) {
      return readAt(opened, at, into, count);
    };
    if (std::string problem = pngChunkProblem(read, size.QuadPart); !problem.empty())
      return refused(std::move(problem));
  }

  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  const LARGE_INTEGER start{};
  if (!SetFilePointerEx(opened, start, nullptr, FILE_BEGIN) ||
      FAILED(factory.CreateDecoderFromFileHandle(reinterpret_cast<ULONG_PTR>(opened), nullptr,
                                                 WICDecodeMetadataCacheOnDemand, decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())))
    return refused("not a picture this program reads");
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0)
    return refused("an empty picture");
  // The decoder's own idea of the size is what it will allocate for.
  if (std::string problem =
          declaredSizeProblem(width, height, declared.bitsPerPixel, declared.decodesPart);
      !problem.empty())
    return refused(std::move(problem));

  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory.CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return refused("not a picture this program reads");
  BgraPicture picture{std::min(static_cast<int>(std::min<UINT>(width, 0x7FFFFFFF)), maxWidth),
                      std::min(static_cast<int>(std::min<UINT>(height, 0x7FFFFFFF)), maxHeight),
                      false,
                      {}};
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
  const UINT stride = static_cast<UINT>(picture.width) * 4;
  const int bandRows = static_cast<int>(std::max<UINT>(1, kConvertBandBytes / stride));
  for (int top = 0; top < picture.height; top += bandRows) {
    const WICRect band{0, top, picture.width, std::min(bandRows, picture.height - top)};
    BYTE* into = reinterpret_cast<BYTE*>(picture.pixels.data() +
                                         static_cast<std::size_t>(top) * picture.width);
    if (FAILED(converter->CopyPixels(&band, stride, stride * static_cast<UINT>(band.Height), into)))
      return refused("a damaged picture");
  }
  return {std::move(picture), {}};
}

}  // namespace skyfare
