#include "parlour/dialogs_win.h"

#include "parlour/parlour_ids.h"

namespace ludora::win32 {

namespace {

std::string TextOf(HWND dialog, int control) {
  char text[1100] = {};
  ::GetDlgItemTextA(dialog, control, text, sizeof text);
  return text;
}

struct PropertiesState {
  ludora::WindowsApi* api;
  const parlour::Game* game;
  const std::vector<std::string>* categories;
  parlour::GameEdit edit;
};

void BrowsePicture(HWND dialog, ludora::WindowsApi& api) {
  char picked[260] = {};
  ludora::OPENFILENAMEA open;
  open.hwndOwner = reinterpret_cast<std::uintptr_t>(dialog);
  open.lpstrFilter = "JPEG pictures (*.jpg)\0*.jpg;*.jpeg\0";
  open.lpstrFile = picked;
  open.nMaxFile = sizeof picked;
  open.lpstrTitle = "Picture of the Game";
  open.Flags = 0x1000 | 0x800 | 0x4;  // OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY
  if (api.GetOpenFileNameA(&open)) ::SetDlgItemTextA(dialog, IDC_PICTURE, picked);
}

INT_PTR CALLBACK PropertiesProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<PropertiesState*>(::GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    state = reinterpret_cast<PropertiesState*>(lParam);
    ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    const parlour::Game& game = *state->game;
    const std::pair<int, const std::string*> fields[] = {
        {IDC_NAME, &game.name},     {IDC_PROGRAM, &game.program}, {IDC_ARGUMENTS, &game.arguments},
        {IDC_FOLDER, &game.folder}, {IDC_PICTURE, &game.picture}, {IDC_CATEGORY, &game.category}};
    for (const auto& [control, text] : fields) ::SetDlgItemTextA(dialog, control, text->c_str());
    ::SendDlgItemMessageA(dialog, IDC_NAME, EM_LIMITTEXT, 260, 0);
    ::SendDlgItemMessageA(dialog, IDC_ARGUMENTS, EM_LIMITTEXT, 1024, 0);
    for (const std::string& category : *state->categories)
      ::SendDlgItemMessageA(dialog, IDC_CATEGORY, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(category.c_str()));
    return TRUE;
  }
  if (message != WM_COMMAND || !state) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_BROWSE:
      BrowsePicture(dialog, *state->api);
      return TRUE;
    case IDOK:
      state->edit = {TextOf(dialog, IDC_NAME), TextOf(dialog, IDC_ARGUMENTS),
                     TextOf(dialog, IDC_FOLDER), TextOf(dialog, IDC_CATEGORY),
                     TextOf(dialog, IDC_PICTURE)};
      ::EndDialog(dialog, IDOK);
      return TRUE;
    case IDCANCEL:
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

struct OffersState {
  const std::vector<parlour::FoundGame>* offers;
  std::vector<bool> chosen;
};

INT_PTR CALLBACK OffersProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<OffersState*>(::GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    state = reinterpret_cast<OffersState*>(lParam);
    ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    const HWND list = ::GetDlgItem(dialog, IDC_FOUND);
    for (const parlour::FoundGame& offer : *state->offers) {
      const std::string line = offer.name + "  (" + offer.program + ")";
      ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    ::SendMessageA(list, LB_SETHORIZONTALEXTENT, 1200, 0);
    return TRUE;
  }
  if (message != WM_COMMAND || !state) return FALSE;
  const WORD command = LOWORD(wParam);
  if (command == IDC_IMPORT_SELECTED || command == IDC_IMPORT_ALL) {
    const HWND list = ::GetDlgItem(dialog, IDC_FOUND);
    state->chosen.assign(state->offers->size(), command == IDC_IMPORT_ALL);
    for (std::size_t i = 0; i < state->chosen.size() && command == IDC_IMPORT_SELECTED; ++i)
      state->chosen[i] = ::SendMessageA(list, LB_GETSEL, i, 0) > 0;
    ::EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (command == IDCANCEL) {
    ::EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void LoadCommonControls() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  using Init = void(WINAPI*)();
  if (const HMODULE module = ::LoadLibraryA("comctl32.dll"))
    if (const auto init = reinterpret_cast<Init>(
            reinterpret_cast<void*>(::GetProcAddress(module, "InitCommonControls"))))
      init();
}

std::optional<parlour::GameEdit> EditProperties(HINSTANCE instance, HWND owner,
                                                ludora::WindowsApi& api, const parlour::Game& game,
                                                const std::vector<std::string>& categories) {
  LoadCommonControls();
  PropertiesState state{&api, &game, &categories, {}};
  if (::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PROPERTIES), owner, &PropertiesProcedure,
                        reinterpret_cast<LPARAM>(&state)) != IDOK)
    return std::nullopt;
  return state.edit;
}

std::optional<std::vector<bool>> ChooseOffers(HINSTANCE instance, HWND owner,
                                              const std::vector<parlour::FoundGame>& offers) {
  LoadCommonControls();
  OffersState state{&offers, {}};
  if (::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_OFFERS), owner, &OffersProcedure,
                        reinterpret_cast<LPARAM>(&state)) != IDOK)
    return std::nullopt;
  return state.chosen;
}

}  // namespace ludora::win32
