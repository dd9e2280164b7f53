// The line-list bases: line inputs, saving, the whole text and the change event.
#include "elements/win_list.h"

namespace {

void ChangeHandler(void* data, TObj*) {
  auto* self = static_cast<TQxWinList*>(data);
  // Reading a long text back costs its whole length: skip it when nobody can receive it.
  if (!self->outChange.Connected() || !DeliveryEnabled() || self->Control == nullptr) return;
  FireStr(self->outChange, ByteString(self->Control->GetCaption()));
}

}  // namespace

TQxWinList::TQxWinList(TControl* parentControl) : TQxWin(parentControl) {}

TQxWinList::~TQxWinList() {
  if (WorkList != nullptr) WorkList->Free();
  WorkList = nullptr;
}

void TQxWinList::InstallChangeHandler() { Control->SetOnChange({&ChangeHandler, this}); }

void TQxWinList::ListFromControl() {
  const std::int32_t count = Control->LineCount();
  for (std::int32_t i = 0; i < count; ++i) WorkList->Add(Control->GetLine(i));
}

void TQxWinList::SetListText(std::string_view text) { Control->SetCaption(text); }
void TQxWinList::BeginUpdate() {}
void TQxWinList::EndUpdate() {}
std::int32_t TQxWinList::AddLine(std::string_view text) { return Control->AddLine(text); }
std::int32_t TQxWinList::AddLineSoon(std::string_view text) { return AddLine(text); }
void TQxWinList::DeleteLine(std::int32_t) {}
void TQxWinList::ReplaceLine(std::int32_t index, std::string_view text) { Control->SetLine(index, text); }

void TQxWinList::inAdd(TData* d, std::uint16_t) {
  const ByteString text = PullStr(d, dataText, ByteString());
  if (AddToTop == 0) {
    if (SelectAdded != 0)
      AddLine(text.view());
    else
      AddLineSoon(text.view());
  } else {
    // An edit control has no "insert as entry 0": the text goes in front as a first line.
    std::string whole(text.view());
    whole += "\r\n";
    whole += Control->GetCaption();
    Control->SetCaption(whole);
  }
  // Edit controls keep no per-entry value; the input is still read, as for every list element.
  TData value;
  PullValue(d, dataValue, nullptr, &value);
  ForwardEmpty(d, &outChange);
}

void TQxWinList::inClear(TData* d, std::uint16_t) {
  Control->Clear();
  ForwardEmpty(d, &outChange);
}

bool TQxWinList::SaveTo(std::string_view fileName) {
  WorkList = TStrList::Create();
  ListFromControl();
  const bool ok = WorkList->SaveToFile(fileName);
  WorkList->Free();
  WorkList = nullptr;
  LastSaveOk = ok;
  return ok;
}

void TQxWinList::inSave(TData* d, std::uint16_t) {
  const ByteString name = PullStr(d, dataFileName, FileName);
  SaveTo(name.view());
}

ByteString TQxWinList::WholeText() {
  WorkList = TStrList::Create();
  ListFromControl();
  std::string text = WorkList->GetText();
  if (WorkList->Count > 0 && !WorkList->Line(WorkList->Count - 1).empty()) text.resize(text.size() - 2);
  WorkList->Free();
  WorkList = nullptr;
  return ByteString(text);
}

void TQxWinList::getText(TData* d, std::uint16_t) { MakeStr(d, WholeText()); }
