#include "shell/program.h"

#include "shell/form1.h"
#include "shell/form3.h"

namespace ludora {

std::string FolderOf(const std::string& modulePath) {
  const auto slash = modulePath.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : modulePath.substr(0, slash);
}

Program::Program(WindowsApi& api, WindowSystem& windows) : api_(api), windows_(windows) {
  char path[1024] = {};
  const DWORD length = api_.GetModuleFileNameA(0, path, sizeof path);
  if (length > 0 && length < sizeof path) appFolder_ = FolderOf(std::string(path, length));
}

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
  if (!form2_) {
    form2_ = std::make_unique<Form2>(api_, memoryStatus);
    form2View_ = &windows_.CreateForm2(*form2_);
    form2_->AttachView(form2View_);
    form2_->Load();
  }
  form2View_->Show();
}

}  // namespace ludora
