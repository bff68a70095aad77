#include "lobbyfind/prompt_window_win.h"

#include <vector>

namespace ludora::win32 {

namespace {

constexpr char kClass[] = "CorvaneLudoraPrompt";
constexpr int kEdit = 100;

class PromptWindow : public WindowBase {
 public:
  PromptWindow(HINSTANCE instance, HWND owner, const std::string& title,
               const std::string& question, const std::string& text, bool secret) {
    RegisterWindowClass(instance, kClass, ::LoadCursorA(nullptr, IDC_ARROW), nullptr,
                        ::GetSysColorBrush(COLOR_BTNFACE));
    RECT area = {0, 0, 420, 110};
    ::AdjustWindowRectEx(&area, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    RECT under = {};
    ::GetWindowRect(owner, &under);
    CreateWindowOf(instance, kClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                   WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, under.left + 60, under.top + 80,
                   area.right - area.left, area.bottom - area.top, owner);
    if (!hwnd()) return;
    const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const auto make = [&](const char* type, const char* caption, DWORD style, int x, int y, int w,
                          int h, int id, DWORD ex = 0) {
      const HWND control =
          ::CreateWindowExA(ex, type, caption, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
      ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
      return control;
    };
    make("STATIC", question.c_str(), 0, 12, 10, 396, 18, -1);
    edit_ = make("EDIT", text.c_str(), WS_TABSTOP | ES_AUTOHSCROLL | (secret ? ES_PASSWORD : 0), 12,
                 32, 396, 22, kEdit, WS_EX_CLIENTEDGE);
    make("BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 240, 72, 80, 26, IDOK);
    make("BUTTON", "Cancel", WS_TABSTOP, 328, 72, 80, 26, IDCANCEL);
    ::SendMessageA(edit_, EM_SETSEL, 0, -1);
  }

  std::optional<std::string> Run(HWND owner) {
    if (!hwnd()) return std::nullopt;
    ::EnableWindow(owner, FALSE);
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetFocus(edit_);
    MSG message;
    while (!done_) {
      if (::GetMessageA(&message, nullptr, 0, 0) <= 0) {
        ::PostQuitMessage(static_cast<int>(message.wParam));  // for the loop of WinMain
        break;
      }
      if (!::IsDialogMessageA(hwnd(), &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
      }
    }
    ::EnableWindow(owner, TRUE);
    ::SetActiveWindow(owner);
    if (hwnd()) ::DestroyWindow(hwnd());
    return answer_;
  }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
      if (LOWORD(wParam) == IDOK) {
        std::vector<char> text(static_cast<std::size_t>(::GetWindowTextLengthA(edit_)) + 1);
        ::GetWindowTextA(edit_, text.data(), static_cast<int>(text.size()));
        answer_ = text.data();
      }
      done_ = true;
      return 0;
    }
    if (message == WM_CLOSE) {
      done_ = true;
      return 0;
    }
    return WindowBase::OnMessage(message, wParam, lParam);
  }

  HWND edit_ = nullptr;
  bool done_ = false;
  std::optional<std::string> answer_;
};

}  // namespace

std::optional<std::string> AskText(HINSTANCE instance, HWND owner, const std::string& title,
                                   const std::string& question, const std::string& text,
                                   bool secret) {
  PromptWindow prompt(instance, owner, title, question, text, secret);
  return prompt.Run(owner);
}

}  // namespace ludora::win32
