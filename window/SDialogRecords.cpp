// SDialogRecords: the control record and its binary clipboard form.
#include "core/Platform.h"
#include "window/SDialogRecords.h"

#include "core/SFile.h"
#include "core/Utility.h"

// --- control record ---------------------------------------------------------

SDialogRecords::_SCtrl::_SCtrl()
    : m_id(0),
      m_type(-1),
      m_name(""),
      m_caption(""),
      m_fontName(""),
      m_fontSize(0),
      m_fontStyle(0),
      m_left(10),
      m_top(10),
      m_width(150),
      m_height(150),
      m_locked(false),
      m_isDialog(false),
      m_style(0),
      m_exStyle(0),
      m_backColor(COLOR_NONE),
      m_textColor(COLOR_NONE),
      m_transparent(false),
      m_properties(""),
      m_window(nullptr),
      m_font(nullptr),
      m_gridPosition(0) {}

SDialogRecords::_SCtrl::~_SCtrl() {
  m_name.Empty();
  delete m_window;
  m_window = nullptr;
  if (m_font) ::DeleteObject(m_font);
  m_font = nullptr;
}

void SDialogRecords::_SCtrl::CopyFrom(const _SCtrl* other) {
  if (!other || other == this) return;
  m_id = other->m_id;
  m_type = other->m_type < 0 ? int16_t(-1) : other->m_type;
  m_name = other->m_name;
  m_caption = other->m_caption;
  m_fontName = other->m_fontName;
  m_fontSize = other->m_fontSize;
  m_fontStyle = other->m_fontStyle;
  m_left = other->m_left;
  m_top = other->m_top;
  m_width = other->m_width;
  m_height = other->m_height;
  m_locked = other->m_locked;
  m_isDialog = other->m_isDialog;
  m_style = other->m_style;
  m_exStyle = other->m_exStyle;
  m_backColor = other->m_backColor;
  m_textColor = other->m_textColor;
  m_transparent = other->m_transparent;
  m_properties = other->m_properties.GetText() ? other->m_properties : SString("");
  m_gridPosition = other->m_gridPosition;
}

namespace {

// Reads little-endian fields and 0-ended texts; any short read marks the
// whole read as failed.
class BinaryReader {
public:
  explicit BinaryReader(SFile* file) : m_file(file), m_ok(true) {}

  bool Ok() const { return m_ok; }

  uint32_t Number(int size) {
    uint8_t bytes[4] = {0, 0, 0, 0};
    if (m_ok && m_file->ReadData(bytes, size) != size) m_ok = false;
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t(bytes[3]) << 24);
  }

  SString Text() {
    if (!m_ok) return SString("");
    int start = m_file->Tell();
    SString text = m_file->ReadStringZ(true);
    // Without its 0 byte the text ran into the end of the data.
    if (m_file->Tell() != start + text.GetLength() + 1) m_ok = false;
    return text;
  }

private:
  SFile* m_file;
  bool m_ok;
};

}  // namespace

int SDialogRecords::_SCtrl::ReadBinary(SFile* file) {
  if (!file) return 0;
  int start = file->Tell();
  BinaryReader in(file);
  uint16_t id = uint16_t(in.Number(2));
  int16_t type = int16_t(in.Number(2));
  SString name = in.Text();
  SString caption = in.Text();
  SString fontName = in.Text();
  int16_t fontSize = int16_t(in.Number(2));
  uint32_t fontStyle = in.Number(4);
  int16_t left = int16_t(in.Number(2));
  int16_t top = int16_t(in.Number(2));
  int16_t width = int16_t(in.Number(2));
  int16_t height = int16_t(in.Number(2));
  bool locked = in.Number(1) != 0;
  bool isDialog = in.Number(1) != 0;
  uint32_t style = in.Number(4);
  uint32_t exStyle = in.Number(4);
  uint32_t backColor = in.Number(4);
  uint32_t textColor = in.Number(4);
  bool transparent = in.Number(1) != 0;
  SString properties = in.Text();
  if (!in.Ok()) {
    file->Seek(start);
    return 0;
  }
  m_id = id;
  m_type = type;
  m_name = name;
  m_caption = caption;
  m_fontName = fontName;
  m_fontSize = fontSize;
  m_fontStyle = fontStyle;
  m_left = left;
  m_top = top;
  m_width = width;
  m_height = height;
  m_locked = locked;
  m_isDialog = isDialog;
  m_style = style;
  m_exStyle = exStyle;
  m_backColor = backColor;
  m_textColor = textColor;
  m_transparent = transparent;
  m_properties = properties;
  return file->Tell() - start;
}

