#include "wayview/browser_site_win.h"

#include <exdispid.h>

#include <cwchar>

#include "platform/web_address.h"

namespace ludora::win32 {

namespace {

// Characters taken of a text the control hands over: any address or title
// fits; a page cannot make the frame hold more.
constexpr UINT kMaxText = 64 * 1024;

// A title or a status text, to be shown. Characters the code page lacks may
// come as look-alikes: a title names a file only through the favourites,
// which replace what a file name may not hold after this.
std::string Narrow(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    ::WideCharToMultiByte(CP_ACP, 0, wide, length, narrow.data(), size, nullptr, nullptr);
  }
  return narrow;
}

// What an argument holds, through the references events pass it by.
const VARIANT& Value(const VARIANT& argument) {
  const VARIANT* at = &argument;
  for (int depth = 0; depth < 4 && V_VT(at) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(at);
       ++depth) {
    at = V_VARIANTREF(at);
  }
  return *at;
}

// The text of a string argument, kMaxText characters at most.
std::u16string_view Wide(const VARIANT& argument) {
  const VARIANT& value = Value(argument);
  BSTR text = nullptr;
  if (V_VT(&value) == VT_BSTR) text = V_BSTR(&value);
  if (V_VT(&value) == (VT_BYREF | VT_BSTR) && V_BSTRREF(&value)) text = *V_BSTRREF(&value);
  if (!text) return {};
  const UINT length = ::SysStringLen(text);
  return {reinterpret_cast<const char16_t*>(text), length < kMaxText ? length : kMaxText};
}

std::string Text(const VARIANT& argument) {
  return Narrow(Wide(argument));
}

// An address, in ASCII: never through the code page's look-alikes, as the
// default browser may be handed it (platform/web_address.h).
std::string Address(const VARIANT& argument) {
  return ludora::AsciiAddress(Wide(argument)).value_or("");
}

LONG Number(const VARIANT& argument) {
  const VARIANT& value = Value(argument);
  switch (V_VT(&value)) {
    case VT_I4:
      return V_I4(&value);
    case VT_BYREF | VT_I4:
      return V_I4REF(&value) ? *V_I4REF(&value) : 0;
    case VT_I2:
      return V_I2(&value);
    case VT_BOOL:
      return V_BOOL(&value);
  }
  return 0;
}

void SetBool(const VARIANT& argument, bool value) {
  if (V_VT(&argument) == (VT_BYREF | VT_BOOL) && V_BOOLREF(&argument)) {
    *V_BOOLREF(&argument) = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
}

// How many arguments each event handled here declares.
UINT Declared(DISPID id) {
  switch (id) {
    case DISPID_BEFORENAVIGATE2:
      return 7;
    case DISPID_NAVIGATEERROR:
      return 5;
    case DISPID_NAVIGATECOMPLETE2:
    case DISPID_DOCUMENTCOMPLETE:
    case DISPID_PROGRESSCHANGE:
    case DISPID_COMMANDSTATECHANGE:
    case DISPID_NEWWINDOW2:
    case DISPID_WINDOWCLOSING:
      return 2;
    case DISPID_TITLECHANGE:
    case DISPID_STATUSTEXTCHANGE:
      return 1;
  }
  return 0;
}

}  // namespace

HRESULT BrowserSite::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else if (iid == IID_IDocHostUIHandler) {
    *object = static_cast<IDocHostUIHandler*>(this);
  } else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
    *object = static_cast<IDispatch*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG BrowserSite::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT BrowserSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}

HRESULT BrowserSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = host_ ? host_->FrameHandle() : nullptr;
  return *window ? S_OK : E_FAIL;
}

HRESULT BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                      RECT* position, RECT* clip, OLEINPLACEFRAMEINFO* info) {
  if (!frame || !document || !position || !clip || !info) return E_POINTER;
  *document = nullptr;
  *frame = nullptr;
  if (!host_) return E_FAIL;
  *frame = this;
  AddRef();
  *position = *clip = host_->ControlRect();
  info->fMDIApp = FALSE;
  info->hwndFrame = host_->FrameHandle();
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT BrowserSite::GetHostInfo(DOCHOSTUIINFO* info) {
  if (!info) return E_POINTER;
  info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  return S_OK;
}

HRESULT BrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key) *key = nullptr;
  return S_FALSE;  // Internet Explorer's own settings
}

HRESULT BrowserSite::GetExternal(IDispatch** dispatch) {
  if (dispatch) *dispatch = nullptr;
  return S_FALSE;
}

HRESULT BrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
  if (out) *out = nullptr;
  return S_FALSE;
}

HRESULT BrowserSite::FilterDataObject(IDataObject*, IDataObject** out) {
  if (out) *out = nullptr;
  return S_FALSE;
}

HRESULT BrowserSite::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}

bool BrowserSite::IsControl(const VARIANT& browser) const {
  const VARIANT& value = Value(browser);
  IDispatch* dispatch = V_VT(&value) == VT_DISPATCH ? V_DISPATCH(&value) : nullptr;
  IUnknown* identity = nullptr;
  if (!dispatch || !control_ ||
      FAILED(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
    return false;
  }
  identity->Release();
  return identity == control_;
}

HRESULT BrowserSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                            EXCEPINFO*, UINT*) {
  const UINT count = parameters ? parameters->cArgs : 0;
  if (count < Declared(id)) return DISP_E_BADPARAMCOUNT;
  // The event's arguments in their declared order; DISPPARAMS holds them last first.
  const auto argument = [&](UINT index) -> const VARIANT& {
    return parameters->rgvarg[count - 1 - index];
  };
  SiteHost* const host = host_;
  if (!host) return S_OK;
  wayview::Frame& frame = host->Events();
  try {
    switch (id) {
      case DISPID_BEFORENAVIGATE2:
        if (frame.BeforeNavigate(Address(argument(1)), IsControl(argument(0)))) {
          SetBool(argument(6), true);
        }
        break;
      case DISPID_NAVIGATECOMPLETE2:
        frame.NavigateComplete(Address(argument(1)), IsControl(argument(0)));
        break;
      case DISPID_DOCUMENTCOMPLETE:
        frame.DocumentComplete(IsControl(argument(0)));
        break;
      case DISPID_NAVIGATEERROR:
        if (frame.NavigateError(Address(argument(1)), Number(argument(3)),
                                IsControl(argument(0)))) {
          SetBool(argument(4), true);
        }
        break;
      case DISPID_TITLECHANGE:
        frame.TitleChange(Text(argument(0)));
        break;
      case DISPID_STATUSTEXTCHANGE:
        frame.StatusTextChange(Text(argument(0)));
        break;
      case DISPID_PROGRESSCHANGE:
        frame.ProgressChange(Number(argument(0)), Number(argument(1)));
        break;
      case DISPID_COMMANDSTATECHANGE:
        frame.CommandStateChange(Number(argument(0)), Number(argument(1)) != 0);
        break;
      case DISPID_DOWNLOADBEGIN:
        frame.DownloadBegin();
        break;
      case DISPID_DOWNLOADCOMPLETE:
        frame.DownloadComplete();
        break;
      case DISPID_NEWWINDOW2: {
        const VARIANT& target = argument(0);
        IDispatch* opened = host->NewWindow();
        if (opened && V_VT(&target) == (VT_BYREF | VT_DISPATCH) && V_DISPATCHREF(&target)) {
          *V_DISPATCHREF(&target) = opened;
        } else {
          if (opened) opened->Release();
          SetBool(argument(1), true);
        }
        break;
      }
      case DISPID_WINDOWCLOSING:
        SetBool(argument(1), true);  // the frame closes itself, control and all
        host->WindowClosing(Number(argument(0)) != 0);
        break;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  } catch (...) {
    // Nothing thrown may cross into the control: the event is dropped.
  }
  return S_OK;
}

}  // namespace ludora::win32
