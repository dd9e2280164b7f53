// The "Генератор…" dialog's window: the list of generators, the chosen one's parameters as labelled
// fields, a seed, a preview that plays the frames on a small cube of its own and the frame count,
// "Вставить" and "Отмена". Runs modally over its owner and answers the text to insert, or nothing.
// Built with the window library; the generating and the insertion rules live in cube/. Must never
// change the effect text itself: the element that runs it does.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cube/frame_insert.h"
#include "cube/generators.h"
#include "platform/control.h"
#include "platform/timer.h"

struct TGeneratorRequest {
  cube::TPattern Start;       // the cube's pattern, where "repeat" starts
  std::int32_t RateMs = 100;  // the preview's pace
  std::string MemoText;       // the effect text and its caret, where the frames will go
  std::size_t Caret = 0;
  int Generator = 0;  // the one chosen at the start
};

class TGeneratorDialog {
 public:
  // Ids of the dialog's controls; Enter and Esc give IDOK and IDCANCEL.
  static constexpr std::int32_t kListId = 100;
  static constexpr std::int32_t kFirstFieldId = 110;  // a row's edit at + 2 * row, its choice at + 1
  static constexpr std::int32_t kMessageId = 130;
  static constexpr std::int32_t kCountId = 131;
  static constexpr std::int32_t kPreviewId = 132;
  static constexpr int kRows = 5;  // the most parameters a generator has, with its seed

  TGeneratorDialog(TControl* owner, const TGeneratorRequest& request);
  ~TGeneratorDialog();
  TGeneratorDialog(const TGeneratorDialog&) = delete;
  TGeneratorDialog& operator=(const TGeneratorDialog&) = delete;

  // Shows the dialog and runs until it closes; the frames "Вставить" accepted (each line followed
  // by CR LF), or nothing.
  std::optional<std::string> RunModal();
  int Generator() const { return generator_; }

 private:
  struct TRow {
    TControl* Label = nullptr;
    TControl* Edit = nullptr;
    TControl* Choice = nullptr;
  };

  void Build();
  void BuildRows();
  void ShowGenerator(int index);
  void ShowRow(std::size_t row, const char* caption, bool choice);
  // Reads the fields and generates; a refusal is shown and leaves frames_ empty.
  bool Refresh();
  bool ReadFields(gen::TValues& values, std::uint64_t& seed, gen::TRefusal& refusal);
  void Insert();
  void Say(const std::string& message);
  void PaintPreview(HDC dc);
  bool Command(WPARAM wParam);

  static bool FormMessage(void* data, TMessage& msg, LRESULT& result);
  static bool PreviewMessage(void* data, TMessage& msg, LRESULT& result);
  static void Paint(void* data, TControl* sender, HDC dc);
  static void Tick(void* data, TObj* sender);

  TControl* owner_;
  TGeneratorRequest request_;
  int generator_ = 0;
  TControl* form_ = nullptr;
  TControl* list_ = nullptr;
  std::array<TRow, kRows> rows_{};
  TControl* preview_ = nullptr;
  TControl* count_ = nullptr;
  TControl* message_ = nullptr;
  TTimer* timer_ = nullptr;
  std::vector<cube::TPattern> frames_;
  std::size_t shown_ = 0;
  bool filling_ = false;  // fields being filled: their change reports are ours
  bool done_ = false;
  std::optional<std::string> result_;
};
