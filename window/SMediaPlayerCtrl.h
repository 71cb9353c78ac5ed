// SMediaPlayerCtrl: a framework window hosting the media player control.
//
// The control is created and attached when the window is created (its
// creation fails without it). Its events reach the window as posted
// messages and the parent hears of the end, the loop and buffering. A media
// file is opened with Open; until then play, stop and the media queries do
// nothing.
#pragma once

#include "core/Platform.h"
#include "core/SDll.h"
#include "core/SPath.h"
#include "window/ActiveXHost.h"
#include "window/SOcxEvents.h"
#include "window/SWnd.h"

struct IWMPPlayer4;
struct IWMPControls;
struct IWMPSettings;
struct IWMPMedia;

enum : UINT {
  SWM_PLAYERSTATE = 0x8C58,      // posted to itself: wParam = the new play state
  SWM_PLAYERBUFFERING = 0x8C59,  // posted to itself: wParam = 1 when buffering ended
  SWM_PLAYERMOUSE = 0x8C5A,      // to the parent: lParam = MOUSERECORD*
  SWM_PLAYERENDED = 0x8C5B,      // to the parent
  SWM_PLAYERLOOPED = 0x8C5C,     // to the parent
  SWM_PLAYERBUFFER = 0x8C5D,     // to the parent: lParam = 1 when buffering ended
};

class SMediaPlayerCtrl : public SWnd {
public:
  class _SEvents : public SOcxEvents {
  public:
    explicit _SEvents(SWnd* owner) : SOcxEvents(owner) {}
    bool IsEventInterface(REFIID riid, void** object) override;
    HRESULT OnEvent(DISPID id, DISPPARAMS* parameters) override;
  };

  // Registers the class with the control factory (framework start-up does).
  static bool Register();

  SMediaPlayerCtrl();
  ~SMediaPlayerCtrl() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void OnBuffering(bool ended);
  virtual void OnEnded();
  virtual void OnLooped();
  virtual void OnTick();

  bool CreateControl();
  void DestroyControl();
  // Makes the file (a path or URL) the current media; false without a
  // player or when the player refuses it.
  bool Open(const char* path);
  bool Play();
  bool Stop();
  void Close();
  int GetDuration();
  SIZE GetVideoSize();
  RECT GetVideoRect();
  bool IsFullScreen();
  bool SetFullScreen();
  bool IsPlaying() const { return m_playing; }

  SDll m_library;
  AtlAxAttachControlProc m_attach;
  IWMPPlayer4* m_player;
  IWMPControls* m_controls;
  IUnknown* m_controls3;
  IWMPSettings* m_settings;
  IConnectionPoint* m_connection;
  _SEvents* m_events;
  DWORD m_cookie;
  bool m_loop;
  IWMPMedia* m_media;
  bool m_hasVideo;
  bool m_playing;
  SPath m_mediaPath;
};
