// The export dialog: its template, built in memory, and its procedure.
#include "elements/export_dialog.h"

#include <cstdint>
#include <vector>

#include "platform/text_codec.h"

namespace {

using namespace export_dialog_ids;

// A dialog template under construction: DWORD-aligned items, UTF-16 texts.
class TTemplate {
 public:
  TTemplate(const char* title, short width, short height, int items) {
    const DWORD style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER;
    Put32(style);
    Put32(0);
    Put16(static_cast<std::uint16_t>(items));
    for (short v : {short{0}, short{0}, width, height}) Put16(static_cast<std::uint16_t>(v));
    Put16(0);  // no menu
    Put16(0);  // the standard class
    Text(title);
    Put16(8);  // the form's font and size
    Text("MS Sans Serif");
  }
  // `kind`: 0x0080 button, 0x0081 edit, 0x0082 static.
  void Item(std::uint16_t kind, DWORD style, int id, short x, short y, short w, short h, const char* text) {
    while (words_.size() % 2 != 0) words_.push_back(0);
    Put32(style | WS_CHILD | WS_VISIBLE);
    Put32(0);
    for (short v : {x, y, w, h}) Put16(static_cast<std::uint16_t>(v));
    Put16(static_cast<std::uint16_t>(id));
    Put16(0xFFFF);
    Put16(kind);
    Text(text);
    Put16(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Put16(std::uint16_t v) { words_.push_back(v); }
  void Put32(DWORD v) {
    Put16(static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(static_cast<std::uint16_t>(v >> 16));
  }
  // CP1251 bytes, as every string of the program, to the template's UTF-16.
  void Text(const char* text) {
    for (wchar_t c : WideFromCp1251(text)) Put16(static_cast<std::uint16_t>(c));
    Put16(0);
  }
  std::vector<std::uint16_t> words_;
};

struct TSession {
  std::size_t Frames;
  bool CubeView;
  TExportChoice* Choice;
};

constexpr DWORD kRadio = BS_AUTORADIOBUTTON | WS_TABSTOP;
constexpr DWORD kEdit = ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP;

TTemplate MakeTemplate(std::size_t frames) {
  TTemplate t(kExportDialogTitle, 216, 146, 13);
  t.Item(0x0080, BS_GROUPBOX, -1, 6, 4, 204, 66, "Формат");
  t.Item(0x0080, kRadio | WS_GROUP, kCHeader, 14, 16, 190, 11, "&Заголовок C для микроконтроллера (.h)");
  t.Item(0x0080, kRadio, kLayersGif, 14, 29, 190, 11, "GIF: сло&и куба (.gif)");
  t.Item(0x0080, kRadio, kCubeGif, 14, 42, 190, 11, "GIF: &вид куба (.gif)");
  t.Item(0x0080, kRadio, kPngStrip, 14, 55, 190, 11, "PNG: &лист кадров с номерами (.png)");
  t.Item(0x0080, BS_GROUPBOX, -1, 6, 74, 204, 46, "Кадры");
  const std::string all = "Вс&е (" + std::to_string(frames) + ")";
  t.Item(0x0080, kRadio | WS_GROUP, kAllFrames, 14, 86, 190, 11, all.c_str());
  t.Item(0x0080, kRadio, kRange, 14, 102, 24, 11, "&с");
  t.Item(0x0081, kEdit | WS_GROUP, kFirst, 40, 101, 40, 13, "");
  t.Item(0x0082, SS_LEFT, -1, 86, 103, 14, 10, "&по");
  t.Item(0x0081, kEdit, kLast, 102, 101, 40, 13, "");
  t.Item(0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, 100, 126, 52, 14, "Экспорт");
  t.Item(0x0080, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 158, 126, 52, 14, "Отмена");
  return t;
}

int FormatId(TExportFormat format) { return kCHeader + static_cast<int>(format); }

std::string FieldText(HWND dialog, int id) {
  wchar_t text[32] = {};
  GetDlgItemTextW(dialog, id, text, 32);
  return Cp1251FromWide(text);
}

void Start(HWND dialog, const TSession& session) {
  const TExportChoice& choice = *session.Choice;
  EnableWindow(GetDlgItem(dialog, kCubeGif), session.CubeView ? TRUE : FALSE);
  const bool cubeMissing = choice.Format == TExportFormat::CubeGif && !session.CubeView;
  CheckRadioButton(dialog, kCHeader, kPngStrip,
                   cubeMissing ? FormatId(TExportFormat::LayersGif) : FormatId(choice.Format));
  CheckRadioButton(dialog, kAllFrames, kRange, kAllFrames);
  SetDlgItemTextW(dialog, kFirst, L"1");
  SetDlgItemTextW(dialog, kLast, std::to_wstring(session.Frames).c_str());
}

void Finish(HWND dialog, TExportChoice& choice) {
  for (int id = kCHeader; id <= kPngStrip; ++id)
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED)
      choice.Format = static_cast<TExportFormat>(id - kCHeader);
  choice.AllFrames = IsDlgButtonChecked(dialog, kRange) != BST_CHECKED;
  choice.First = FieldText(dialog, kFirst);
  choice.Last = FieldText(dialog, kLast);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    Start(dialog, *reinterpret_cast<TSession*>(lParam));
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  auto* session = reinterpret_cast<TSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
  const int id = LOWORD(wParam);
  if (id == IDOK && session != nullptr) {
    Finish(dialog, *session->Choice);
    EndDialog(dialog, IDOK);
  } else if (id == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
  } else if ((id == kFirst || id == kLast) && HIWORD(wParam) == EN_SETFOCUS) {
    // Going into a field means that range.
    CheckRadioButton(dialog, kAllFrames, kRange, kRange);
  }
  return TRUE;
}

}  // namespace

bool RunExportDialog(HWND owner, std::size_t frames, bool cubeView, TExportChoice& choice) {
  const TTemplate dialogTemplate = MakeTemplate(frames);
  TSession session{frames, cubeView, &choice};
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(), owner, &DialogProc,
                                 reinterpret_cast<LPARAM>(&session)) == IDOK;
}
