#include "common/png_picture_win.h"

#include <wincodec.h>

#include "common/system_library_win.h"

namespace kelvane {

namespace {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  T** out() { return &p_; }

 private:
  T* p_ = nullptr;
};

}  // namespace

PngDecoder::PngDecoder() : codecs_(loadSystemLibrary(L"windowscodecs.dll")) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  comStarted_ = SUCCEEDED(com);  // S_FALSE too: every successful call is paired with an uninitialize
  // The factory the library's own CoCreateInstance class hands out, without COM's bookkeeping.
  using CreateFactoryFn = HRESULT(WINAPI*)(UINT, IWICImagingFactory**);
  const auto create = systemExport<CreateFactoryFn>(codecs_, "WICCreateImagingFactory_Proxy");
  if (!create || FAILED(create(WINCODEC_SDK_VERSION, &factory_))) factory_ = nullptr;
}

PngDecoder::~PngDecoder() {
  if (factory_) factory_->Release();
  if (comStarted_) CoUninitialize();
}

Picture PngDecoder::decode(const void* bytes, std::size_t size, int width, int height) const {
  Picture picture;
  if (!factory_ || !bytes || size == 0 || size > 0x7FFFFFFF) return picture;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory_->CreateStream(stream.out())) ||
      FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), static_cast<DWORD>(size))) ||
      FAILED(factory_->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                               decoder.out())) ||
      FAILED(decoder->GetFrame(0, frame.out())) || FAILED(factory_->CreateFormatConverter(converter.out())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return picture;
  UINT ownWidth = 0, ownHeight = 0;
  if (FAILED(converter->GetSize(&ownWidth, &ownHeight)) || ownWidth == 0 || ownHeight == 0 || ownWidth > 8192 ||
      ownHeight > 8192)
    return picture;
  IWICBitmapSource* source = converter.get();
  ComPtr<IWICBitmapScaler> scaler;
  if (width > 0 && height > 0 && (static_cast<UINT>(width) != ownWidth || static_cast<UINT>(height) != ownHeight)) {
    if (FAILED(factory_->CreateBitmapScaler(scaler.out())) ||
        FAILED(scaler->Initialize(converter.get(), static_cast<UINT>(width), static_cast<UINT>(height),
                                  WICBitmapInterpolationModeFant)))
      return picture;
    source = scaler.get();
  } else {
    width = static_cast<int>(ownWidth);
    height = static_cast<int>(ownHeight);
  }

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as WIC delivers rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!bitmap || !pixels) return picture;
  const UINT stride = static_cast<UINT>(width) * 4;
  // A cut or damaged file fails here, when the pixel data is read.
  if (FAILED(source->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height), static_cast<BYTE*>(pixels))))
    return picture;
  picture.bitmap = std::move(bitmap);
  picture.width = width;
  picture.height = height;
  return picture;
}

Picture PngDecoder::decodeResource(int id, int width, int height) const {
  const HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  return decode(bytes, SizeofResource(module, found), width, height);
}

void drawPicture(HDC dc, const Picture& picture, int x, int y) {
  if (!picture) return;
  const UniqueMemoryDc memory(CreateCompatibleDC(dc));
  if (!memory) return;
  const SelectObjectScope select(memory.get(), picture.bitmap.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, x, y, picture.width, picture.height, memory.get(), 0, 0, picture.width, picture.height, blend);
}

}  // namespace kelvane
