// The export's flow: the frames, the choices, the file, the writing and what is told.
#include "elements/effect_export.h"

#include <vector>

#include "cube/effect_text.h"
#include "cube/export_c.h"
#include "elements/effect_pictures.h"
#include "platform/control.h"
#include "platform/file_dialog.h"
#include "platform/image_writer.h"
#include "platform/message_box.h"
#include "platform/wide_path.h"

namespace {

constexpr const char* kCaption = "Экспорт эффекта";

struct TFormatRow {
  const char* Extension;
  const char* Filter;
};

// In the order of TExportFormat.
constexpr TFormatRow kFormats[] = {
    {"h", "Заголовок C (*.h)|*.h|Все файлы (*.*)|*.*"},
    {"gif", "Рисунок GIF (*.gif)|*.gif|Все файлы (*.*)|*.*"},
    {"gif", "Рисунок GIF (*.gif)|*.gif|Все файлы (*.*)|*.*"},
    {"png", "Рисунок PNG (*.png)|*.png|Все файлы (*.*)|*.*"},
};

const TFormatRow& RowOf(TExportFormat format) { return kFormats[static_cast<int>(format)]; }

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(LongPathForm(PathOfGraphName(path)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A whole number from 1 up, at most nine digits; 0 for anything else.
std::size_t FrameNumber(const std::string& text) {
  if (text.empty() || text.size() > 9) return 0;
  std::size_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + static_cast<std::size_t>(c - '0');
  }
  return value;
}

std::string RangeMessage(const TExportChoice& choice, std::size_t frames) {
  return "Неверный диапазон кадров: с «" + choice.First + "» по «" + choice.Last + "».\r\nВ эффекте " +
         std::to_string(frames) + " кадр(ов): укажите номера от 1 до " + std::to_string(frames) +
         ", первый не больше последнего.";
}

std::string FailureMessage(TImageResult result, const std::string& fileName) {
  switch (result) {
    case TImageResult::DiskFull:
      return "На диске не хватает места для файла " + fileName + ".\r\nФайл не записан; эффект не изменён.";
    case TImageResult::EncodeFailed:
      return "Не удалось построить рисунок для файла " + fileName +
             ".\r\nФайл не записан; эффект не изменён.";
    default:
      return "Не удалось записать файл " + fileName +
             ".\r\nПроверьте, что папка существует и открыта для записи, а файл не занят другой "
             "программой. Эффект не изменён.";
  }
}

// The 3D view's picture is square, about the size of the editor's cube picture.
constexpr int kCubeViewSide = 240;

TImageResult WriteGif(const std::string& fileName, const std::vector<cube::TPattern>& frames, long rateMs,
                      effect_pictures::TPainter painter, bool cube) {
  const int width = cube ? kCubeViewSide : effect_pictures::kLayersWidth;
  const int height = cube ? kCubeViewSide : effect_pictures::kLayersHeight;
  const std::string bytes = effect_pictures::AnimatedGif(frames, rateMs, painter, width, height);
  return bytes.empty() ? TImageResult::EncodeFailed : WriteExportFile(fileName, bytes);
}

TImageResult WriteExport(TExportFormat format, const std::string& fileName,
                         const std::vector<cube::TPattern>& frames, std::size_t firstNumber, long rateMs) {
  switch (format) {
    case TExportFormat::CHeader: {
      const std::string text = export_c::HeaderText(frames, rateMs, export_c::IdentifierOf(fileName));
      return WriteExportFile(fileName, text);
    }
    case TExportFormat::LayersGif:
      return WriteGif(fileName, frames, rateMs, &effect_pictures::PaintLayers, false);
    case TExportFormat::CubeGif:
      return WriteGif(fileName, frames, rateMs, effect_pictures::CubeViewPainter(), true);
    case TExportFormat::PngStrip: {
      const std::unique_ptr<effect_pictures::TCanvas> strip =
          effect_pictures::PaintStrip(frames, firstNumber);
      return strip != nullptr ? WritePngFile(fileName, strip->View()) : TImageResult::EncodeFailed;
    }
  }
  return TImageResult::EncodeFailed;
}

}  // namespace

void TQxEffectExport::Tell(const std::string& text) const {
  MessageBoxBeside(Owner != nullptr ? Owner->Handle : nullptr, text.c_str(), kCaption, MB_OK | MB_ICONWARNING,
                   nullptr);
}

bool TQxEffectExport::Ask(const std::string& text) const {
  return MessageBoxBeside(Owner != nullptr ? Owner->Handle : nullptr, text.c_str(), kCaption,
                          MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON1, nullptr) == IDYES;
}

bool TQxEffectExport::ChooseFile(std::string& fileName) {
  const TFormatRow& row = RowOf(choice_.Format);
  const std::string folder(PullStr(nullptr, dataStartDir, ByteString(".")).view());
  TOpenSaveDialog* dialog = CreateOpenSaveDialog(
      kExportFileDialogTitle, folder, TOpenSaveOptions::HideReadOnly | TOpenSaveOptions::PathMustExist);
  dialog->OpenDialog = false;
  dialog->OwnerWindow = Owner != nullptr ? Owner->Handle : nullptr;
  dialog->Filter = row.Filter;
  dialog->DefaultExtension = row.Extension;
  dialog->FileName = std::string("ZOZIVU.") + row.Extension;
  const bool chosen = dialog->Execute();
  fileName = dialog->FileName;
  dialog->Free();
  // Replacing asks as the save does; the dialog itself does not.
  return chosen && (!IsFile(fileName) || Ask("Файл " + fileName + " уже существует.\r\nЗаменить его?"));
}

void TQxEffectExport::inExecute(TData*, std::uint16_t) {
  const std::string text(PullStr(nullptr, dataText, ByteString()).view());
  std::vector<cube::TPattern> frames = export_c::FramesOf(effect::LineViews(text, effect::MemoLines(text)));
  FireEmpty(outPause);
  FireEmpty(outSettleRate);
  if (frames.empty()) {
    Tell("В тексте эффекта нет ни одного кадра: экспортировать нечего.");
    return;
  }
  const HWND owner = Owner != nullptr ? Owner->Handle : nullptr;
  if (!RunExportDialog(owner, frames.size(), effect_pictures::CubeViewPainter() != nullptr, choice_)) return;
  const std::size_t total = frames.size();
  const std::size_t first = choice_.AllFrames ? 1 : FrameNumber(choice_.First);
  const std::size_t last = choice_.AllFrames ? total : FrameNumber(choice_.Last);
  if (!export_c::TakeRange(frames, first, last)) {
    Tell(RangeMessage(choice_, total));
    return;
  }
  std::string fileName;
  if (!ChooseFile(fileName)) return;
  std::int32_t rate = PullInt(dataRate);
  if (rate < 20 || rate > 2000) rate = 100;
  const TImageResult result = WriteExport(choice_.Format, fileName, frames, first, rate);
  if (result != TImageResult::Ok) Tell(FailureMessage(result, fileName));
}
