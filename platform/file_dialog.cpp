// TOpenSaveDialog over GetOpenFileNameW / GetSaveFileNameW.
#include "platform/file_dialog.h"

#include <commdlg.h>
// After <commdlg.h>: the dialogs' error codes.
#include <cderr.h>

#include <vector>

#include "platform/app.h"
#include "platform/control.h"
#include "platform/lazy_library.h"
#include "platform/wide_path.h"

namespace {

const wchar_t* NullWhenEmpty(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

}  // namespace

TOpenSaveDialog* CreateOpenSaveDialog(std::string_view title, std::string_view initialDir,
                                      std::uint32_t options) {
  auto* dialog = new TOpenSaveDialog();
  dialog->Title = title;
  dialog->InitialDir = initialDir;
  dialog->Options = options == 0 ? TOpenSaveOptions::Default : options;
  return dialog;
}

bool TOpenSaveDialog::Execute() {
  const bool multiSelect = (Options & TOpenSaveOptions::AllowMultiSelect) != 0;
  // Names go in and come out in UTF-16: a chosen name never passes through CP1251 on its way to a file.
  const std::wstring filter = WideFromCp1251(SystemFilterText(Filter));
  const std::wstring initialDir = PathOfGraphName(InitialDir);
  const std::wstring title = WideFromCp1251(Title);
  const std::wstring extension = WideFromCp1251(DefaultExtension);
  std::vector<wchar_t> buffer = MakeWideFileBuffer(PathOfGraphName(FileName), multiSelect);

  OPENFILENAMEW record{};
  // The record without the fields added after the classic layout (76 bytes on 32-bit Windows).
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  record.hwndOwner = OwnerWindow;
  if (record.hwndOwner == nullptr && AppWindow != nullptr) record.hwndOwner = AppWindow->Handle;
  record.hInstance = GetModuleHandleW(nullptr);
  record.lpstrFilter = NullWhenEmpty(filter);
  record.nFilterIndex = static_cast<DWORD>(FilterIndex);
  record.lpstrFile = buffer.data();
  record.nMaxFile = static_cast<DWORD>(buffer.size());
  record.lpstrInitialDir = NullWhenEmpty(initialDir);
  record.lpstrTitle = NullWhenEmpty(title);
  record.lpstrDefExt = NullWhenEmpty(extension);
  // Always added: explorer style, long names, resizable.
  record.Flags = MapDialogOptions(Options) | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
  record.lCustData = reinterpret_cast<LPARAM>(this);

  // comdlg32 brings the shell with it: loaded at the first dialog, not at start.
  static const auto getOpenName =
      LazyFunction<decltype(&GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
  static const auto getSaveName =
      LazyFunction<decltype(&GetSaveFileNameW)>("comdlg32.dll", "GetSaveFileNameW");
  static const auto lastError =
      LazyFunction<decltype(&CommDlgExtendedError)>("comdlg32.dll", "CommDlgExtendedError");
  const auto show = OpenDialog ? getOpenName : getSaveName;
  const BOOL chosen = show != nullptr && show(&record);
  LastError = chosen ? 0 : lastError != nullptr ? lastError() : CDERR_INITIALIZATION;
  if (!chosen) {
    FileName.clear();
    return false;
  }
  FilterIndex = static_cast<std::int32_t>(record.nFilterIndex);
  FileName = GraphNameOfPath(FileNameFromWideBuffer(buffer.data(), buffer.size(), multiSelect));
  return !FileName.empty();  // a confirmation without a name is no choice
}
