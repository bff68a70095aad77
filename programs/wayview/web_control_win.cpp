#include "wayview/web_control_win.h"

#include <ocidl.h>

#include <vector>

namespace ludora::win32 {

namespace {

// A COM interface released on every path out of a scope.
template <typename Interface>
struct Held {
  Interface* pointer = nullptr;
  ~Held() {
    if (pointer) pointer->Release();
  }
  void** out() { return reinterpret_cast<void**>(&pointer); }
};

IConnectionPoint* EventsPoint(IUnknown* object) {
  Held<IConnectionPointContainer> container;
  IConnectionPoint* point = nullptr;
  if (FAILED(object->QueryInterface(IID_IConnectionPointContainer, container.out())) ||
      FAILED(container.pointer->FindConnectionPoint(DIID_DWebBrowserEvents2, &point))) {
    return nullptr;
  }
  return point;
}

}  // namespace

bool WebControl::Create(SiteHost& host) {
  if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&object_)))) {
    object_ = nullptr;
    return false;
  }
  host_ = &host;
  site_ = new BrowserSite(host);
  IUnknown* identity = nullptr;
  if (SUCCEEDED(object_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
    site_->SetControl(identity);
    identity->Release();  // the object keeps it alive
  }
  RECT rect = host.ControlRect();
  if (FAILED(object_->SetClientSite(site_)) ||
      FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, host.FrameHandle(),
                             &rect)) ||
      FAILED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_)))) {
    browser_ = nullptr;
    Close();
    return false;
  }
  if (IConnectionPoint* point = EventsPoint(object_)) {
    if (FAILED(point->Advise(static_cast<IDispatch*>(site_), &eventsCookie_))) eventsCookie_ = 0;
    point->Release();
  }
  // A page's new window finds this one by it, and pages may name it as a target.
  browser_->put_RegisterAsBrowser(VARIANT_TRUE);
  return true;
}

void WebControl::Close() {
  if (site_) site_->Detach();
  if (object_ && eventsCookie_) {
    if (IConnectionPoint* point = EventsPoint(object_)) {
      point->Unadvise(eventsCookie_);
      point->Release();
    }
  }
  eventsCookie_ = 0;
  if (browser_) {
    browser_->Stop();
    browser_->Release();
    browser_ = nullptr;
  }
  if (object_) {
    Held<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, inPlace.out()))) {
      inPlace.pointer->InPlaceDeactivate();
    }
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_->Release();
    object_ = nullptr;
  }
  if (site_) site_->Release();
  site_ = nullptr;
}

bool WebControl::Navigate(const std::string& address) {
  if (!browser_) return false;
  const int size = ::MultiByteToWideChar(CP_ACP, 0, address.c_str(), -1, nullptr, 0);
  if (size <= 0) return false;
  std::vector<wchar_t> wide(static_cast<std::size_t>(size));
  ::MultiByteToWideChar(CP_ACP, 0, address.c_str(), -1, wide.data(), size);
  const BSTR url = ::SysAllocString(wide.data());
  if (!url) return false;
  VARIANT none;
  ::VariantInit(&none);
  const HRESULT result = browser_->Navigate(url, &none, &none, &none, &none);
  ::SysFreeString(url);
  return SUCCEEDED(result);
}

void WebControl::Place(const RECT& rect) {
  Held<IOleInPlaceObject> inPlace;
  if (object_ && SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, inPlace.out()))) {
    inPlace.pointer->SetObjectRects(&rect, &rect);
  }
}

void WebControl::Focus() {
  if (!browser_) return;
  RECT rect = host_->ControlRect();
  object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_, 0, host_->FrameHandle(), &rect);
}

bool WebControl::TranslateKey(MSG& message) {
  Held<IOleInPlaceActiveObject> active;
  return browser_ &&
         SUCCEEDED(browser_->QueryInterface(IID_IOleInPlaceActiveObject, active.out())) &&
         active.pointer->TranslateAccelerator(&message) == S_OK;
}

IDispatch* WebControl::Application() {
  IDispatch* application = nullptr;
  if (!browser_ || FAILED(browser_->get_Application(&application))) return nullptr;
  return application;
}

}  // namespace ludora::win32
