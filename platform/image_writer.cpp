// PNG through WIC into memory, then written whole.
#include "platform/image_writer.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <string>

#include "platform/file.h"
#include "platform/lazy_library.h"
#include "platform/wide_path.h"

namespace {

// COM's functions, from ole32 loaded at the first picture written rather than at start.
struct TOle {
  decltype(&CoInitializeEx) Initialize =
      LazyFunction<decltype(&CoInitializeEx)>("ole32.dll", "CoInitializeEx");
  decltype(&CoUninitialize) Uninitialize =
      LazyFunction<decltype(&CoUninitialize)>("ole32.dll", "CoUninitialize");
  decltype(&CoCreateInstance) Create =
      LazyFunction<decltype(&CoCreateInstance)>("ole32.dll", "CoCreateInstance");
  decltype(&CreateStreamOnHGlobal) NewStream =
      LazyFunction<decltype(&CreateStreamOnHGlobal)>("ole32.dll", "CreateStreamOnHGlobal");
  decltype(&GetHGlobalFromStream) StreamMemory =
      LazyFunction<decltype(&GetHGlobalFromStream)>("ole32.dll", "GetHGlobalFromStream");
  bool Found() const {
    return Initialize != nullptr && Uninitialize != nullptr && Create != nullptr && NewStream != nullptr &&
           StreamMemory != nullptr;
  }
};

const TOle& Ole() {
  static const TOle ole;
  return ole;
}

// Owns one COM reference.
template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  ~TComPtr() {
    if (p_ != nullptr) p_->Release();
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// COM for this thread while the object lives; a thread already in COM keeps its own set-up.
class TComScope {
 public:
  TComScope() : hr_(Ole().Found() ? Ole().Initialize(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL) {}
  ~TComScope() {
    if (SUCCEEDED(hr_)) Ole().Uninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;
  bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT hr_;
};

// A failed write on a disk without room for the bytes is told as a full disk; the error code of
// the write itself does not survive the removal of the temporary file.
TImageResult WriteBytes(std::string_view fileName, std::string_view bytes) {
  if (WriteWholeFile(fileName, bytes)) return TImageResult::Ok;
  std::string folder(fileName);
  const std::size_t slash = folder.find_last_of("\\/");
  folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash + 1);
  ULARGE_INTEGER free{};
  if (GetDiskFreeSpaceExW(LongPathForm(PathOfGraphName(folder)).c_str(), &free, nullptr, nullptr) &&
      free.QuadPart < bytes.size() + 65536)
    return TImageResult::DiskFull;
  return TImageResult::WriteFailed;
}

bool EncodePng(IStream* stream, const TPixelView& picture) {
  TComPtr<IWICImagingFactory> factory;
  TComPtr<IWICBitmapEncoder> encoder;
  TComPtr<IWICBitmapFrameEncode> frame;
  TComPtr<IPropertyBag2> options;
  if (FAILED(Ole().Create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                          reinterpret_cast<void**>(factory.Out()))) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) ||
      FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.Out(), options.Out())) ||
      FAILED(frame->Initialize(options.Get())) ||
      FAILED(frame->SetSize(static_cast<UINT>(picture.Width), static_cast<UINT>(picture.Height))))
    return false;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat32bppBGR))
    return false;
  const UINT stride = static_cast<UINT>(picture.Stride * 4);
  const UINT size = stride * static_cast<UINT>(picture.Height);
  // WritePixels reads only; the cast is its signature's.
  auto* bytes = reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(picture.Pixels));
  return SUCCEEDED(frame->WritePixels(static_cast<UINT>(picture.Height), stride, size, bytes)) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// The stream's bytes; false when they cannot be read.
bool StreamBytes(IStream* stream, std::string& bytes) {
  HGLOBAL memory = nullptr;
  STATSTG stat{};
  if (FAILED(Ole().StreamMemory(stream, &memory)) || FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
    return false;
  const void* data = GlobalLock(memory);
  if (data == nullptr) return false;
  bytes.assign(static_cast<const char*>(data), static_cast<std::size_t>(stat.cbSize.QuadPart));
  GlobalUnlock(memory);
  return true;
}

}  // namespace

TImageResult WritePngFile(std::string_view fileName, const TPixelView& picture) {
  TComScope com;
  TComPtr<IStream> stream;
  std::string bytes;
  if (!com.Usable() || picture.Pixels == nullptr || FAILED(Ole().NewStream(nullptr, TRUE, stream.Out())) ||
      !EncodePng(stream.Get(), picture) || !StreamBytes(stream.Get(), bytes))
    return TImageResult::EncodeFailed;
  return WriteBytes(fileName, bytes);
}

TImageResult WriteExportFile(std::string_view fileName, std::string_view bytes) {
  return WriteBytes(fileName, bytes);
}
