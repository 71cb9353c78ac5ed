// SMediaPlayerCtrl: hosting, playing, events and the film-strip background.
#include "core/Platform.h"
#include "window/SMediaPlayerCtrl.h"

#include "core/SResource.h"
#include "core/Utility.h"
#include "window/ControlFactory.h"
#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

#include <math.h>
#include <wmp.h>

namespace {

const UINT_PTR kTickTimer = 1;
const UINT kTickPeriod = 20;  // milliseconds
const DISPID kPlayStateChange = 5101;
const DISPID kBuffering = 5402;
const long kMediaEnded = 8;
const COLORREF kStripHoles = RGB(0xC0, 0xC0, 0xC0);

// A hole of the film strip.
void FillHole(HDC dc, HBRUSH brush, int left, int top, int right, int bottom) {
  RECT hole = {left, top, right, bottom};
  ::FillRect(dc, &hole, brush);
}

void PaintFilmStrip(HWND window, HDC dc) {
  RECT client;
  ::GetClientRect(window, &client);
  ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  int side = int(double(client.bottom - client.top) * 0.1);
  if (side <= 0) return;
  int half = side / 2;
  HBRUSH grey = ::CreateSolidBrush(kStripHoles);
  for (int x = client.left; x < client.right; x += 2 * side) {
    FillHole(dc, grey, x, client.top + half, x + side, client.top + half + half);
    FillHole(dc, grey, x, client.bottom - half - half, x + side, client.bottom - half);
  }
  ::DeleteObject(grey);
}

template <class T>
void ReleaseInterface(T** pointer) {
  if (*pointer) (*pointer)->Release();
  *pointer = nullptr;
}

SWnd* ConstructPlayer() { return new SMediaPlayerCtrl; }

void ConfigurePlayer(SWnd* control, const SDialogRecords::_SCtrl* record, SResource*, bool) {
  static_cast<SMediaPlayerCtrl*>(control)->m_loop =
      SDialogRecords::GetPropertyBool(record, "MEDIAPLAYER_LOOP");
}

const SControlKind kPlayerKind = {ControlKinds::KIND_MEDIAPLAYER};
const bool kPlayerKindRegistered = RegisterControlKind(&kPlayerKind);
const SDialogControlClass kPlayerClass = {ConstructPlayer, ConfigurePlayer, nullptr};

}  // namespace

bool SMediaPlayerCtrl::Register() {
  return RegisterDialogControlClass(ControlKinds::TYPE_MEDIAPLAYER, &kPlayerClass);
}

bool SMediaPlayerCtrl::_SEvents::IsEventInterface(REFIID riid, void** object) {
  if (!IsEqualIID(riid, ActiveXIds::kMediaPlayerEvents)) return false;
  *object = static_cast<IDispatch*>(this);
  return true;
}

HRESULT SMediaPlayerCtrl::_SEvents::OnEvent(DISPID id, DISPPARAMS* parameters) {
  SMediaPlayerCtrl* host = static_cast<SMediaPlayerCtrl*>(m_owner);
  if (!host || !host->m_hWnd) return S_OK;
  if (id == kPlayStateChange && host->m_media) {
    host->PostMessage(SWM_PLAYERSTATE, WPARAM(EventArgument(parameters, 0)), 0);
  } else if (id == kBuffering && host->m_playing) {
    host->PostMessage(SWM_PLAYERBUFFERING, EventArgument(parameters, 0) == 0 ? 1 : 0, 0);
  }
  return S_OK;
}

SMediaPlayerCtrl::SMediaPlayerCtrl()
    : m_attach(nullptr),
      m_player(nullptr),
      m_controls(nullptr),
      m_controls3(nullptr),
      m_settings(nullptr),
      m_connection(nullptr),
      m_events(nullptr),
      m_cookie(0),
      m_loop(false),
      m_media(nullptr),
      m_hasVideo(false),
      m_playing(false) {
  m_kind = ControlKinds::KIND_MEDIAPLAYER;
}

SMediaPlayerCtrl::~SMediaPlayerCtrl() {
  if (m_hWnd) {
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::DestroyWindow(m_hWnd);
  }
  DestroyControl();
}

void SMediaPlayerCtrl::OnBuffering(bool) {}
void SMediaPlayerCtrl::OnEnded() {}
void SMediaPlayerCtrl::OnLooped() {}
void SMediaPlayerCtrl::OnTick() {}

bool SMediaPlayerCtrl::CreateControl() {
  DestroyControl();
  m_attach = LoadAttachFunction(&m_library);
  bool made =
      m_attach && CreateHostedObject(ActiveXIds::kMediaPlayer, ActiveXIds::kMediaPlayerInterface,
                                     reinterpret_cast<void**>(&m_player));
  if (made) {
    m_player->put_enableContextMenu(VARIANT_FALSE);
    m_player->put_stretchToFit(VARIANT_TRUE);
    BSTR mode = ToBstr("none");
    m_player->put_uiMode(mode);
    ::SysFreeString(mode);
    m_events = new _SEvents(this);
    made = ConnectEvents(m_player, ActiveXIds::kMediaPlayerEvents, m_events, &m_connection,
                         &m_cookie) &&
           SUCCEEDED(m_player->get_controls(&m_controls)) && m_controls &&
           SUCCEEDED(m_player->get_settings(&m_settings)) && m_settings;
  }
  // The third controls interface is kept where the player offers it; no
  // operation needs it, and some players (this platform's) lack it.
  if (made) {
    m_controls->QueryInterface(ActiveXIds::kMediaControls3, reinterpret_cast<void**>(&m_controls3));
  }
  if (made && m_hWnd) made = m_attach(m_player, m_hWnd, nullptr) == S_OK;
  if (!made) {
    DestroyControl();
    return false;
  }
  m_settings->put_volume(100);
  return true;
}

void SMediaPlayerCtrl::DestroyControl() {
  Close();
  DisconnectEvents(&m_connection, m_cookie);
  if (m_events) {
    m_events->Release();
    delete m_events;
    m_events = nullptr;
  }
  ReleaseInterface(&m_settings);
  ReleaseInterface(&m_controls3);
  ReleaseInterface(&m_controls);
  if (m_player) m_player->close();
  ReleaseInterface(&m_player);
  m_attach = nullptr;
  m_library.Free();
}

bool SMediaPlayerCtrl::Open(const char* path) {
  if (!m_player || !path) return false;
  Close();
  BSTR url = ToBstr(path);
  HRESULT hr = m_player->put_URL(url);
  ::SysFreeString(url);
  if (FAILED(hr) || FAILED(m_player->get_currentMedia(&m_media)) || !m_media) {
    ReleaseInterface(&m_media);
    return false;
  }
  m_mediaPath = SPath(path);
  long width = 0;
  m_hasVideo = SUCCEEDED(m_media->get_imageSourceWidth(&width)) && width > 0;
  return true;
}

bool SMediaPlayerCtrl::Play() {
  if (!m_media || !m_controls) return false;
  m_controls->put_currentPosition(0.0);
  m_controls->play();
  m_playing = true;
  if (m_hWnd) ::SetTimer(m_hWnd, kTickTimer, kTickPeriod, nullptr);
  return true;
}

bool SMediaPlayerCtrl::Stop() {
  if (!m_media || !m_controls) return false;
  m_controls->stop();
  if (m_hWnd) ::KillTimer(m_hWnd, kTickTimer);
  m_playing = false;
  return true;
}

void SMediaPlayerCtrl::Close() {
  if (m_media) Stop();
  if (m_hWnd) ::KillTimer(m_hWnd, kTickTimer);
  if (m_media && m_player) m_player->close();
  ReleaseInterface(&m_media);
  m_mediaPath = SPath();
  m_hasVideo = false;
  m_playing = false;
}

int SMediaPlayerCtrl::GetDuration() {
  double seconds = 0.0;
  if (!m_media || FAILED(m_media->get_duration(&seconds))) return 0;
  return int(floor(seconds * 1000.0 + 0.5));
}

SIZE SMediaPlayerCtrl::GetVideoSize() {
  SIZE size = {0, 0};
  long width = 0, height = 0;
  if (m_media && m_hasVideo && SUCCEEDED(m_media->get_imageSourceWidth(&width)) &&
      SUCCEEDED(m_media->get_imageSourceHeight(&height))) {
    size.cx = width;
    size.cy = height;
  }
  return size;
}

RECT SMediaPlayerCtrl::GetVideoRect() {
  RECT empty = {0, 0, 0, 0};
  SIZE size = GetVideoSize();
  if (!m_hWnd || size.cx <= 0 || size.cy <= 0) return empty;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  return FitRectToAspect(size.cx, size.cy, client, true);
}

bool SMediaPlayerCtrl::IsFullScreen() {
  VARIANT_BOOL full = VARIANT_FALSE;
  return m_player && SUCCEEDED(m_player->get_fullScreen(&full)) && full != VARIANT_FALSE;
}

bool SMediaPlayerCtrl::SetFullScreen() {
  if (!m_player || IsFullScreen()) return false;
  return SUCCEEDED(m_player->put_fullScreen(VARIANT_TRUE));
}

LRESULT SMediaPlayerCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT created = 0;
  if (!HandleHostMessage(this, message, false, &created)) return created;
  switch (message) {
    case SWM_PLAYERSTATE:
      if (long(wParam) != kMediaEnded) break;
      Stop();
      if (!m_loop) {
        OnEnded();
        NotifyParent(SWM_PLAYERENDED, ToWParam(this), 0);
      } else {
        Play();
        OnLooped();
        NotifyParent(SWM_PLAYERLOOPED, ToWParam(this), 0);
      }
      return 0;
    case SWM_PLAYERBUFFERING:
      OnBuffering(wParam != 0);
      NotifyParent(SWM_PLAYERBUFFER, ToWParam(this), LPARAM(wParam));
      return 0;
    case WM_TIMER:
      if (m_playing) OnTick();
      break;
    case WM_KEYDOWN:
      if (!IsFullScreen()) SetFullScreen();
      break;
    case WM_PRINTCLIENT:
      PaintFilmStrip(m_hWnd, reinterpret_cast<HDC>(wParam));
      return 0;
  }
  MOUSERECORD record;
  if (GetMouseRecordFlags(message) && MakeMouseRecord(m_hWnd, message, lParam, &record)) {
    SetFocus();
    NotifyParent(SWM_PLAYERMOUSE, ToWParam(this), ToLParam(&record));
    if (!m_hWnd) return 0;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
