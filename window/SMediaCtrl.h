// The rich text view: a framework window that shows its window text.
//
// Plain mode draws the whole text with GDI+ in the control's font and text
// colour, aligned, optionally wrapped and trimmed with an ellipsis. Tag mode
// parses a small tag language (<B>, <I>, <U>, <#rrggbb[aa]>, <LINK>, <IMG>,
// <LEFT>/<L>, <CENTER>/<C>, <RIGHT>/<R> and their closing forms, names
// without regard to case), lays the text out into lines of styled runs and
// draws them run by run; link runs are clickable. Both modes keep four
// margins and may scroll the text automatically.
//
// Colours here are GDI+ ARGB values; an opaque colour carries alpha 0xFE.
// Layout happens when the text, font, size, alignment, wrapping, tags or
// margins change, never while painting; it needs a window.
//
// Notifications to the parent (wParam = the control):
//  SWM_MEDIALINK     lParam = the link's text; nonzero answer: handled,
//                    0: the control opens the link itself (mail addresses
//                    through "mailto:", anything else with the shell).
//  SWM_MEDIACLICKED  a left click while in button mode and enabled.
//  SWM_MEDIAMOUSE    lParam = MOUSERECORD* of every mouse button event,
//                    given straight to the parent's framework procedure.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SDisk.h"
#include "core/SImage.h"
#include "core/SNetwork.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "window/FrameworkMessages.h"
#include "window/SWnd.h"

#include <stdint.h>

class SResource;
namespace Gdiplus {
class Font;
}  // namespace Gdiplus

class SMediaCtrl : public SWnd {
public:
  // Alignment bits: horizontal in bits 0-3, vertical in bits 4-7.
  enum {
    ALIGN_LEFT = 0,
    ALIGN_CENTER = 1,
    ALIGN_RIGHT = 2,
    ALIGN_JUSTIFY = 3,
    ALIGN_TOP = 0,
    ALIGN_MIDDLE = 0x10,
    ALIGN_BOTTOM = 0x20,
  };

  // Tag kinds.
  enum {
    TAG_START = 0,
    TAG_BOLD = 1,
    TAG_ITALIC = 2,
    TAG_UNDERLINE = 3,
    TAG_COLOR = 4,
    TAG_LINK = 5,
    TAG_IMAGE = 6,
    TAG_LEFT = 7,
    TAG_CENTER = 8,
    TAG_RIGHT = 9,
  };

  // One run: a stretch of text in one style, or one image.
  struct _SText {
    int m_start;    // first byte in the text
    int m_length;   // bytes
    // Measured box; x becomes the placement relative to the left margin, y
    // is relative to the line's top.
    float m_x, m_y, m_width, m_height;
    LOGFONTA m_font;
    uint32_t m_color;  // ARGB
    bool m_link;
    SImage* m_image;   // in the image cache; null for a text run
    int m_alignment;   // GDI+ string alignment: 0 near, 1 centre, 2 far
  };

  // One laid-out line.
  struct _SLine {
    _SLine(int height, int alignment) : m_width(0), m_height(height), m_alignment(alignment) {}
    ~_SLine() { m_runs.DeleteAndRemoveAll(); }
    int m_width;   // sum of the runs' widths, each truncated
    int m_height;  // the tallest run; at least the font's height
    // Strongest alignment tag met on the line: 0 left, 1 centre, 2 right;
    // -1 none (the control's horizontal alignment applies).
    int m_alignment;
    SArray<_SText*> m_runs;
  };

  // One recognised tag of the parse; segments are [start, end) byte ranges,
  // an end of -1 standing for an empty physical line.
  struct _STag {
    _STag(int kind, bool opening) : m_kind(kind), m_opening(opening), m_color(0xFF000000) {}
    int m_kind;
    bool m_opening;
    SArray<int> m_starts;
    SArray<int> m_ends;
    uint32_t m_color;  // colour tags: the colour given
  };

  // The GDI+ fonts of one layout or paint, made once per run style.
  class _SFontCache {
  public:
    explicit _SFontCache(HDC dc) : m_dc(dc) {}
    _SFontCache(const _SFontCache&) = delete;
    _SFontCache& operator=(const _SFontCache&) = delete;
    ~_SFontCache();
    Gdiplus::Font* Get(const LOGFONTA& font);

  private:
    struct _SEntry {
      LOGFONTA key;
      Gdiplus::Font* font;
    };
    HDC m_dc;
    SArray<_SEntry> m_entries;
  };

  // Opens a link target (mail: an address for "mailto:"); replaces the
  // shell when set.
  typedef void (*LinkOpener)(SMediaCtrl* control, const char* target, bool mail);

  SMediaCtrl();
  ~SMediaCtrl() override;

  // A framework child window (WS_CHILD added unless WS_POPUP is set).
  bool Create(DWORD style, const char* caption, DWORD exStyle, const RECT* rect, HWND parent,
              int id);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Setters; each lays the content out again and redraws when it changes
  // something.
  void SetAlignment(int flags);
  void SetWrapping(bool wrap);
  void SetTrimming(bool trim);
  void SetTags(bool tags);
  // Negative margins count as 0; always lays out and redraws.
  void SetMargins(int left, int top, int right, int bottom);
  // Pixels per second on each axis; both 0 stop the scrolling and put the
  // text back at the margins.
  void SetAutoScroll(double speedX, double speedY);
  // The names the control factory uses.
  void SetAlign(int flags) { SetAlignment(flags); }
  void SetTagsEnabled(bool tags) { SetTags(tags); }

  // Layout in tag mode and in plain mode; nothing without a window.
  void ParseText();
  void LayoutPlainText();
  // Draws the content (button frame, text, images) into the device context;
  // in tag mode it also records the drawn links.
  void Draw(HDC dc);
  // One step of the automatic scrolling, by the time since the last one.
  void StepAutoScroll();

  // Index of the first drawn link whose rectangle holds the client point;
  // -1 when none.
  int HitTestLink(int x, int y);
  // The hand cursor over a link, the window's own cursor cleared elsewhere;
  // at the mouse position when point is null.
  void UpdateLinkCursor(const POINT* point = nullptr);
  // The inline image of that name (cached, case-insensitive); null without
  // an archive or when the entry is missing or undecodable.
  SImage* GetImage(const char* name);

  // The wide range of a run's bytes [start, start + length).
  void GetWideRange(int start, int length, int* wideStart, int* wideLength) const;
  // UTF-16 text of the bytes in the code page, with the wide index of every
  // byte (n + 1 entries; left empty when the code page has one byte per
  // character). The result is a new[] buffer of at least one character,
  // NUL-terminated; its length goes to wideLength.
  static wchar_t* ConvertText(const char* text, int n, UINT codePage, int* wideLength,
                              SArray<int>* byteToWide);

  // State (public: the dialog builder writes the colours, the archive and
  // the loop flags directly after creating the control).
  SDisk m_shell;
  SNetwork m_mail;
  SString m_text;            // the source text, as last set
  wchar_t* m_wideText;       // the text in UTF-16; null before the first text
  int m_wideLength;          // characters of the wide text
  SArray<int> m_wideIndex;   // wide index of each byte; empty: the same index
  UINT m_codePage;           // of the text; the ANSI code page by default
  uint32_t m_textColor;
  int m_alignment;
  bool m_wrapping;
  bool m_trimming;
  int m_leftMargin, m_topMargin, m_rightMargin, m_bottomMargin;
  int m_contentWidth, m_contentHeight;
  int m_scrollX, m_scrollY;
  bool m_scrolling;
  bool m_loop;
  bool m_vertical;
  double m_positionX, m_positionY;
  double m_speedX, m_speedY;  // pixels per millisecond
  DWORD m_lastStepTime;
  bool m_tags;
  uint32_t m_linkColor;
  SArray<_SLine*> m_lines;
  SStringArray m_linkTexts;
  SArray<RECT*> m_linkRects;
  SResource* m_archive;
  SArray<SImage*> m_images;
  LinkOpener m_linkOpener;  // null: the shell

private:
  // Tag mode or plain mode, by the current setting.
  void Layout();
  // Layout and the redraw every setter ends with.
  void Relayout();
  void SetTextInternal(const char* text);
  void ClearLines();
  void ClearLinks();
  void ClearImages();
  // The text area: the client rectangle less the margins.
  void GetTextArea(int* width, int* height);
  // The parse's stages.
  void ScanTags(SArray<_STag*>* tags);
  void BuildLines(const SArray<_STag*>& tags, const LOGFONTA& font, int fontHeight);
  void MeasureLines(HDC dc, _SFontCache* fonts);
  void PlaceRuns();
  void DrawPlain(HDC dc);
  void DrawTagged(HDC dc);
  void DrawButtonFrame(HDC dc);
  void OnLinkPressed(int index);
  void NotifyMouse(UINT message, LPARAM lParam);
};
