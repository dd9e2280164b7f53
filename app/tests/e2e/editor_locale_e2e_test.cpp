// The built editor read from outside in UTF-16, as any Windows shows it whatever its code page: the
// caption, the buttons, the labels and a message box are Russian; typed Cyrillic keeps its CP1251
// bytes and a character CP1251 lacks is refused; an effect is saved to and opened from a folder
// whose name holds Cyrillic, accented Latin and CJK characters. CTest runs this program under
// several locales (ru_RU, en_US, C).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_effect_driver.h"
#include "app/tests/e2e/editor_save_driver.h"
#include "app/tests/e2e/saving_editor_fixture.h"

namespace {

// Wide literals are UTF-16 whatever -fexec-charset says: the expectations never pass through CP1251.
std::wstring Utf16(const char16_t* text) {
  return std::wstring(text, text + std::char_traits<char16_t>::length(text));
}

std::wstring WideText(HWND window) { return e2e::WideWindowText(window); }

std::wstring WideClass(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  std::wstring lower(name);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
  return lower;
}

// Texts of the direct children whose class ends in `kind` ("button", "static"), sorted.
std::vector<std::wstring> ChildTexts(HWND parent, const std::wstring& kind) {
  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring name = WideClass(child);
    if (name.size() >= kind.size() && name.compare(name.size() - kind.size(), kind.size(), kind) == 0)
      texts.push_back(WideText(child));
  }
  std::sort(texts.begin(), texts.end());
  return texts;
}

std::vector<std::wstring> Sorted(std::initializer_list<const char16_t*> texts) {
  std::vector<std::wstring> list;
  for (const char16_t* t : texts) list.push_back(Utf16(t));
  std::sort(list.begin(), list.end());
  return list;
}

bool WaitWide(HWND window, const std::wstring& expected) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(5))
    if (WideText(window) == expected) return true;
  return false;
}

// The folder the dialogs start in next time, as the editor stored it.
std::wstring RememberedFolder() {
  wchar_t folder[1024] = {};
  DWORD size = sizeof folder;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\TESSARO", L"EffectFolder", RRF_RT_REG_SZ, nullptr, folder,
                   &size) != ERROR_SUCCESS)
    return {};
  return folder;
}

bool PutOnClipboard(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  bool put = false;
  if (auto* bytes = static_cast<wchar_t*>(memory != nullptr ? GlobalLock(memory) : nullptr)) {
    std::copy(text.c_str(), text.c_str() + text.size() + 1, bytes);
    GlobalUnlock(memory);
    put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  }
  CloseClipboard();
  return put;
}

class EditorLocale : public e2e::TSavingEditor {
 protected:
  e2e::TEffectDriver effect{editor, save};
};

TEST_F(EditorLocale, CaptionButtonsAndLabelsAreRussian) {
  EXPECT_EQ(WideText(editor.Window()), Utf16(u" НОМЕРА СВЕТОДИОДОВ ДЛЯ ЭФФЕКТА"));
  EXPECT_EQ(ChildTexts(editor.Window(), L"button"), Sorted({u"СБРОС КАДРА",
                                                            u"СОХРАНЕНИЕ ЭФФЕКТА В ФАЙЛ",
                                                            u"Открыть эффект…",
                                                            u"Заменить кадр",
                                                            u"Кадр из строки",
                                                            u"Пуск",
                                                            u"Стоп",
                                                            u"Назад",
                                                            u"Вперёд",
                                                            u"Повтор: нет",
                                                            u"Перенос строк: да",
                                                            u"+ кадр",
                                                            u"Копия",
                                                            u"Выше",
                                                            u"Ниже",
                                                            u"Удалить",
                                                            u"Генератор…",
                                                            u"Вид куба",
                                                            u"Экспорт…",
                                                            u"X+",
                                                            u"X–",
                                                            u"Y+",
                                                            u"Y–",
                                                            u"Z+",
                                                            u"Z–",
                                                            u"Поворот",
                                                            u"Зеркало X",
                                                            u"Зеркало Y",
                                                            u"Зеркало Z",
                                                            u"Инверсия",
                                                            u"Все",
                                                            u"По кругу: нет",
                                                            u"Отменить",
                                                            u"Вернуть"}));
  const std::vector<std::wstring> labels = ChildTexts(editor.Window(), L"static");
  for (const char16_t* label : {u"СТРОКА ДАННЫХ ДЛЯ КАДРА", u"СЛОЙ 1", u"СЛОЙ 6", u"мс"})
    EXPECT_NE(std::find(labels.begin(), labels.end(), Utf16(label)), labels.end())
        << "no label " << labels.size();
}

TEST_F(EditorLocale, MessageBoxSaysItInRussian) {
  ASSERT_TRUE(effect.Press(effect.PlayButton()));
  const auto box = effect.WaitMessageBox();
  ASSERT_TRUE(box.has_value()) << "no message about an effect without frames";
  EXPECT_EQ(WideText(box->Window), Utf16(u"Показ эффекта"));
  const std::vector<std::wstring> texts = ChildTexts(box->Window, L"static");
  EXPECT_NE(std::find(texts.begin(), texts.end(),
                      Utf16(u"В тексте эффекта нет ни одной строки-кадра: показывать нечего.")),
            texts.end());
  ASSERT_TRUE(save.DismissAndWait(*box));
}

TEST_F(EditorLocale, TypedCyrillicIsKeptAndACharacterCp1251LacksIsRefused) {
  HWND memo = editor.EffectMemo();
  for (const wchar_t c : Utf16(u"Жё效№")) ASSERT_TRUE(PostMessageW(memo, WM_CHAR, c, 1));
  ASSERT_TRUE(editor.Sync());
  EXPECT_TRUE(WaitWide(memo, Utf16(u"Жё№")));
  EXPECT_EQ(editor.MemoText(), "Жё№");  // the CP1251 bytes, as the effect file gets them

  // A paste likewise: text with a character CP1251 lacks is refused whole, Russian text goes in.
  const std::wstring foreign = Utf16(u"Я效");  // kept out of the assertion, whose text is CP1251
  ASSERT_TRUE(PutOnClipboard(foreign));
  DWORD_PTR result = 0;
  ASSERT_TRUE(SendMessageTimeoutW(memo, WM_PASTE, 0, 0, SMTO_NORMAL, 5000, &result));
  EXPECT_EQ(WideText(memo), Utf16(u"Жё№"));
  ASSERT_TRUE(PutOnClipboard(Utf16(u"Яю")));
  ASSERT_TRUE(SendMessageTimeoutW(memo, WM_PASTE, 0, 0, SMTO_NORMAL, 5000, &result));
  EXPECT_TRUE(WaitWide(memo, Utf16(u"Жё№Яю")));
  EXPECT_EQ(editor.MemoText(), "Жё№Яю");
}

TEST_F(EditorLocale, SaveToAndOpenFromAFolderNamedInThreeScripts) {
  const std::wstring folder = Utf16(u"Эффекты été 效果");
  std::wstring work(editor.WorkDir().begin(), editor.WorkDir().end());  // an ASCII temporary path
  const std::wstring path = work + L"\\" + folder + L"\\" + Utf16(u"эффект 效.TXT");
  if (!CreateDirectoryW((work + L"\\" + folder).c_str(), nullptr)) {
    // Wine names files by the host's own locale; without that locale installed (en_US.UTF-8 on a
    // bare machine) it cannot make such a name at all, whatever the program does.
    GTEST_SKIP() << "the host file system cannot take this name under this locale (error " << GetLastError()
                 << ")";
  }
  Record({1, 2});
  const std::string text = editor.MemoText();
  ASSERT_FALSE(text.empty());

  HWND dialog = save.OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(save.TypeFileNameW(dialog, path));
  const e2e::TDialogOutcome saved = save.PressOkAndWait(dialog);
  ASSERT_TRUE(saved.Closed);
  ASSERT_FALSE(saved.Box.has_value()) << saved.Box->Text;
  ASSERT_TRUE(editor.WaitMemoText("", 10000)) << "the saved text was not cleared";
  EXPECT_TRUE(RememberedFolder() == work + L"\\" + folder)
      << "the folder was not remembered by its real name";

  const e2e::TDialogOutcome opened = effect.OpenFileW(path);
  ASSERT_TRUE(opened.Closed);
  ASSERT_FALSE(opened.Box.has_value()) << opened.Box->Text;
  EXPECT_TRUE(editor.WaitMemoText(text, 10000)) << editor.MemoText();
  DeleteFileW(path.c_str());
  RemoveDirectoryW((work + L"\\" + folder).c_str());
}

}  // namespace
