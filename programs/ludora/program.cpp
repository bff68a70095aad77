#include "ludora/program.h"

#include "platform/paths.h"
#include "ludora/form1.h"
#include "ludora/form3.h"

namespace ludora {

Program::Program(WindowsApi& api, WindowSystem& windows)
    : api_(api), windows_(windows), appFolder_(ProgramFolder(api)) {}

Program::~Program() = default;

Form1& Program::form1() {
  if (!form1_) {
    form1_ = std::make_unique<Form1>(*this);
    windows_.LoadForm1(*form1_);
  }
  return *form1_;
}

HWND Program::BarWindow() {
  return form3_ ? form3_->view().Handle() : 0;
}

void Program::OpenForm2() {
  if (!defragmenter_) {
    auto form = std::make_unique<Form2>(api_, memoryStatus);
    Form2View* view = windows_.CreateForm2(*form);
    if (!view) return;  // no window: picked again, it is tried again
    form->AttachView(view);
    defragmenter_ = Defragmenter{std::move(form), view};
    defragmenter_->form->Load();
  }
  defragmenter_->view->Show();
}

}  // namespace ludora
