// The save flow: the questions before a save and a close, the status line and the folder last used.
#include "app/save_flow.h"

#include <vector>

#include "app/editor_form.h"
#include "app/form_controls.h"
#include "cube/pattern.h"
#include "elements/save_text.h"
#include "platform/message_box.h"
#include "platform/program_dir.h"
#include "platform/registry.h"
#include "platform/wide_path.h"

namespace {

constexpr const char* kSaveCaption = "Сохранение эффекта";

std::string SettingsPath() { return std::string("Software\\") + kEditorSettingsKey; }

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(LongPathForm(PathOfGraphName(path)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(LongPathForm(PathOfGraphName(path)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The folder a dialog's full name lies in, without its last backslash ("C:\" keeps it).
std::string FolderOf(const std::string& fileName) {
  std::string folder = DirectoryOfPath(fileName);
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace

bool TQxSaveFlow::Ask(const std::string& text, UINT buttons) {
  FireEmpty(outPause);
  return MessageBoxBeside(Owner != nullptr ? Owner->Handle : nullptr, text.c_str(), kSaveCaption, buttons,
                          nullptr) == IDYES;
}

void TQxSaveFlow::ShowStatus(const std::string& text) {
  if (text == shown_ || Status == nullptr || Status->Control == nullptr) return;
  shown_ = text;
  Status->Control->SetCaption(text);
}

void TQxSaveFlow::inChosen(TData* d, std::uint16_t) {
  const std::string fileName(AsStr(d).view());
  // The designed dialog is an open dialog and never asks itself.
  if (IsFile(fileName) && !Ask("Файл " + fileName + " уже существует.\r\nЗаменить его?",
                               MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON1))
    return;
  const std::string text(PullStr(nullptr, dataText, ByteString()).view());
  const std::vector<effect::TLineSpan> spans = effect::MemoLines(text);
  const effect::TBadLines bad = effect::FindBadLines(effect::LineViews(text, spans), &cube::IsFrameLine, 1);
  if (bad.Count > 0 && !Ask(effect::NotFramesQuestion(bad), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2))
    return;
  pendingName_ = fileName;
  pendingFrames_ = spans.size() - bad.Count;
  Fire(outSave, d);
}

void TQxSaveFlow::inSaved(TData*, std::uint16_t) {
  ++saves_;
  fileName_ = pendingName_;
  UseFolderOf(fileName_);
  FireEmpty(outSaved);
  ShowStatus(effect::SavedStatusText(pendingFrames_, effect::FileNameOf(fileName_)));
}

void TQxSaveFlow::inOpened(TData* d, std::uint16_t) {
  fileName_ = std::string(AsStr(d).view());
  UseFolderOf(fileName_);
  ShowStatus(effect::FileStatusText(effect::FileNameOf(fileName_), false));
}

void TQxSaveFlow::inEdited(TData*, std::uint16_t) {
  ShowStatus(effect::FileStatusText(effect::FileNameOf(fileName_), PullInt(dataUnsaved) != 0));
}

void TQxSaveFlow::getKeepOpen(TData* d, std::uint16_t) {
  bool keep = false;
  if (PullInt(dataUnsaved) != 0 && EffectFile != nullptr) {
    switch (EffectFile->AskAboutUnsaved("Сохранить его перед закрытием?", "Закрытие редактора",
                                        MB_YESNOCANCEL | MB_DEFBUTTON1)) {
      case IDNO:
        break;
      case IDYES: {
        // The designed save, dialog and questions included; only a save that reached its file closes.
        const int before = saves_;
        FireEmpty(outSaveAsked);
        keep = saves_ == before;
        break;
      }
      default:
        keep = true;
        break;
    }
  }
  MakeInt(d, keep ? 1 : 0);
}

void TQxSaveFlow::getStartDir(TData* d, std::uint16_t) {
  MakeStr(d, ByteString(folder_.empty() ? std::string(".") : folder_));
}

void TQxSaveFlow::LoadFolder() {
  // In UTF-16 both ways, so a folder CP1251 cannot name is kept exactly (its CP1251 form stands for it).
  TWideString folder;
  const TUserRegistryKey key = TUserRegistryKey::OpenForReading(SettingsPath());
  if (!key.ReadWideString(kFolderValue, folder)) return;
  const std::string form = GraphNameOfPath(folder);
  if (!IsFolder(form)) return;
  folder_ = form;
  if (SaveDialog != nullptr) SaveDialog->StartDir = ByteString(folder_);
}

void TQxSaveFlow::UseFolderOf(const std::string& fileName) {
  const std::string folder = FolderOf(fileName);
  if (folder.empty() || folder == folder_) return;
  folder_ = folder;
  if (SaveDialog != nullptr) SaveDialog->StartDir = ByteString(folder_);
  TUserRegistryKey key = TUserRegistryKey::Create(SettingsPath());
  key.WriteWideString(kFolderValue, PathOfGraphName(folder_));
}

TSaveFlowPanel::TSaveFlowPanel(TClassMainForm_1509590& form) {
  TControl* parent = form.EditorWindow->Control;
  // Between the cube picture and the save button, an empty strip of the designed form.
  StatusLabel = form_controls::MakeLabel(
      parent, {25, 139, 470, 17, "MS Sans Serif", 8, 1, 1, effect::FileStatusText("", false).c_str()},
      /*autoSize=*/false, {-1, "Открытый или сохранённый файл и есть ли несохранённые изменения"});
  StatusLabel->AttachHint(nullptr);

  Flow = new TQxSaveFlow();
  Flow->Owner = parent;
  Flow->EffectFile = form.Effect->EffectFile;
  Flow->SaveDialog = form.SaveDialog;
  Flow->Status = StatusLabel;
  Flow->LoadFolder();

  TQxEffectFile* file = form.Effect->EffectFile;
  // The dialog's choice reaches the designed save hub through the questions.
  Link(form.SaveDialog->outExecute, MakeLink<&TQxSaveFlow::inChosen>(Flow));
  Link(Flow->outSave, MakeLink<&TQxHub::inEvent>(form.SaveHub, 0));
  // A good save is told here first, then to the effect file as the workbench linked it.
  Link(form.SaveGuard->outSaved, MakeLink<&TQxSaveFlow::inSaved>(Flow));
  Link(Flow->outSaved, MakeLink<&TQxEffectFile::inSaved>(file));
  Link(Flow->outSaveAsked, MakeLink<&TQxODialog::inExecute>(form.SaveDialog));
  Link(Flow->outPause, MakeLink<&TQxPlayer::inPause>(form.Effect->Player));
  Link(Flow->dataText, MakeLink<&TQxEffectFile::getText>(file));
  Link(Flow->dataUnsaved, MakeLink<&TQxEffectFile::getUnsaved>(file));
  Link(file->outFileOpened, MakeLink<&TQxSaveFlow::inOpened>(Flow));
  Link(file->outEdited, MakeLink<&TQxSaveFlow::inEdited>(Flow));
  Link(file->dataStartDir, MakeLink<&TQxSaveFlow::getStartDir>(Flow));
  Link(form.EditorWindow->dataKeepOpen, MakeLink<&TQxSaveFlow::getKeepOpen>(Flow));
}

TSaveFlowPanel::~TSaveFlowPanel() {
  delete Flow;
  delete StatusLabel;
}

void TSaveFlowPanel::Link(TQx_Event& output, const TQx_Event& input) {
  output = input;
  ++linkCount_;
}
