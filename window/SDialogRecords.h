// The records of a dialog document: the control kinds and record types, the
// control record with its binary clipboard form, the plain window of WINDOW
// records, and the typed access to a record's extended properties.
//
// Extended properties are lines of a key, "=" and a value, each ended by CR
// LF. Colours in them are signed decimal numbers ("-16777216" is no colour,
// 0xFE000000 + n the system colour n); "#RRGGBB" and "#AARRGGBB" are read too.
//
// SDialogEditor, the document, derives from this class: its names are the
// document's names (SDialogEditor::_SCtrl, SDialogEditor::GetProperty ...).
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "window/ControlKinds.h"
#include "window/SWnd.h"

#include <stdint.h>

class SFile;

class SDialogRecords : public ControlKinds {
public:
  // No colour: the default of both record colours.
  static constexpr COLORREF COLOR_NONE = SImage::COLOR_NONE;

  // One entry of the control type table: its id (the index), the keyword
  // (section name of the dialog text, stem of generated names) and the
  // display name (default caption of a new control).
  struct _SType {
    _SType() : m_id(0) {}

    int16_t m_id;
    SString m_keyword;
    SString m_displayName;
  };

  // One control record, or the dialog record. The record owns its live
  // window and its font.
  class _SCtrl {
  public:
    _SCtrl();
    _SCtrl(const _SCtrl&) = delete;
    _SCtrl& operator=(const _SCtrl&) = delete;
    // Deletes the live window and the font.
    virtual ~_SCtrl();

    // Every field but the live window and the font; a negative type becomes
    // -1. Nothing for null or the record itself.
    void CopyFrom(const _SCtrl* other);
    // One record in the binary clipboard form (little-endian, texts ended by
    // a 0 byte, the type as stored). Returns the bytes read; 0 without a file
    // or when the data ends inside the record, which then leaves the record
    // and the file position unchanged.
    int ReadBinary(SFile* file);

    SString GetName() const { return m_name; }
    SString GetCaption() const { return m_caption; }
    SString GetFontName() const { return m_fontName; }

    uint16_t m_id;   // 1 to 9999 when the document numbered it
    int16_t m_type;  // type table id, -1 for none
    SString m_name;  // unique within the document's control list
    SString m_caption;
    SString m_fontName;                        // empty: no own font
    int16_t m_fontSize;                        // points
    uint32_t m_fontStyle;                      // 1 bold, 2 italic, 4 underline, 8 strikeout
    int16_t m_left, m_top, m_width, m_height;  // for the dialog: client size
    bool m_locked;                             // ISLOCKED: the designer does not move or size it
    bool m_isDialog;                           // only the document's dialog record
    uint32_t m_style;
    uint32_t m_exStyle;
    COLORREF m_backColor;  // COLOR_NONE: none
    COLORREF m_textColor;
    bool m_transparent;
    SString m_properties;  // KEY=VALUE lines, each ended by CR LF
    SWnd* m_window;        // the designer's live window, or null
    HFONT m_font;          // the live window's font, or null
    int m_gridPosition;    // the designer's property grid scroll position
  };

  // The plain framework window (kind 0) the control factory makes for WINDOW
  // records; it paints its own background into a WM_PRINTCLIENT device
  // context before the default handling.
  class _SWnd : public SWnd {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  };

  // --- extended properties -------------------------------------------------

  // The value after the first "=" of the first line whose key equals the key
  // (case-sensitive); lines end at CR or LF. Empty when absent.
  static SString GetProperty(const _SCtrl* record, const char* key);
  // Replaces the value of the first line of the key, else appends the line
  // (after completing an unfinished last line). False, with nothing changed,
  // for a key that is empty, holds "=", CR or LF or is one of the text
  // format's own keys, and for a value that holds CR or LF.
  static bool SetProperty(_SCtrl* record, const char* key, const char* value);
  // The value as a signed decimal ("%d").
  static bool SetPropertyInt(_SCtrl* record, const char* key, int value);
  // atoi of the value is not 0; absent: false.
  static bool GetPropertyBool(const _SCtrl* record, const char* key);
  // atoi; absent: 0.
  static int GetPropertyInt(const _SCtrl* record, const char* key);
  // atof; absent: 0.0.
  static double GetPropertyDouble(const _SCtrl* record, const char* key);
  // A COLORREF: a signed decimal (strtol, clamped) or a "#" colour text;
  // 0xFE000000 + n becomes GetSysColor(n); absent or empty: COLOR_NONE.
  static COLORREF GetPropertyColor(const _SCtrl* record, const char* key);
  // 0 to 12 from the draw mode names ("_DRAWCENTER" 8 ...); any other text 0.
  static int GetPropertyDrawMode(const _SCtrl* record, const char* key);
  // "MEDIA_LINKCOLOR" as GetPropertyColor reads it, without the system
  // colour step; absent or empty: 0 (black).
  static COLORREF GetLinkColorProperty(const _SCtrl* record);
  // True for a key SetProperty accepts.
  static bool IsPropertyKey(const char* key);
  // The text format's own keys, in the order of FindFixedKey.
  enum {
    KEY_ID,
    KEY_NAME,
    KEY_CAPTION,
    KEY_FONT,
    KEY_POSITION,
    KEY_STYLE,
    KEY_EXSTYLE,
    KEY_BACKCOLOR,
    KEY_TEXTCOLOR,
    KEY_TRANSPARENT,
    KEY_ISLOCKED,
    KEY_COUNT
  };

  // Index of the text format's own key of that length (ID, NAME, CAPTION,
  // FONT, POSITION, STYLE, EXSTYLE, BACKCOLOR, TEXTCOLOR, TRANSPARENT,
  // ISLOCKED), or -1.
  static int FindFixedKey(const char* key, int length);
};
