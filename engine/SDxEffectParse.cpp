// Reading of effect texts: the tokeniser, parameters, samplers, techniques and
// the assembly of the passes' shaders.
#include "core/Platform.h"
#include "engine/SDxEffect.h"

#include <ctype.h>
#include <stdarg.h>

namespace {

struct TypeRow {
  const char* name;
  int type;  // 0 float, 1 int, 2 bool, 3 texture (the order of SDxEffect's types)
  int rows;
  int columns;
};

const TypeRow kTypes[] = {
    {"float", 0, 1, 1},   {"float1", 0, 1, 1}, {"float2", 0, 1, 2},    {"float3", 0, 1, 3},
    {"float4", 0, 1, 4},  {"matrix", 0, 4, 4}, {"int", 1, 1, 1},       {"int2", 1, 1, 2},
    {"int3", 1, 1, 3},    {"int4", 1, 1, 4},   {"bool", 2, 1, 1},      {"texture", 3, 0, 0},
    {"texture2D", 3, 0, 0},
};

struct SamplerStateRow {
  const char* name;
  D3DSAMPLERSTATETYPE state;
  bool isFloat;
};

const SamplerStateRow kSamplerStates[] = {
    {"AddressU", D3DSAMP_ADDRESSU, false},
    {"AddressV", D3DSAMP_ADDRESSV, false},
    {"AddressW", D3DSAMP_ADDRESSW, false},
    {"BorderColor", D3DSAMP_BORDERCOLOR, false},
    {"MagFilter", D3DSAMP_MAGFILTER, false},
    {"MinFilter", D3DSAMP_MINFILTER, false},
    {"MipFilter", D3DSAMP_MIPFILTER, false},
    {"MipMapLodBias", D3DSAMP_MIPMAPLODBIAS, true},
    {"MaxMipLevel", D3DSAMP_MAXMIPLEVEL, false},
    {"MaxAnisotropy", D3DSAMP_MAXANISOTROPY, false},
    {"SRGBTexture", D3DSAMP_SRGBTEXTURE, false},
};

struct StateValueRow {
  const char* name;
  DWORD value;
};

const StateValueRow kStateValues[] = {
    {"Wrap", D3DTADDRESS_WRAP},     {"Mirror", D3DTADDRESS_MIRROR},
    {"Clamp", D3DTADDRESS_CLAMP},   {"Border", D3DTADDRESS_BORDER},
    {"MirrorOnce", D3DTADDRESS_MIRRORONCE},
    {"None", D3DTEXF_NONE},         {"Point", D3DTEXF_POINT},
    {"Linear", D3DTEXF_LINEAR},     {"Anisotropic", D3DTEXF_ANISOTROPIC},
    {"True", 1},                    {"False", 0},
};

const int kMaxElements = 64;

bool IsNameStart(char c) { return isalpha((unsigned char)c) || c == '_'; }
bool IsNameChar(char c) { return isalnum((unsigned char)c) || c == '_'; }

// A register, sampler or array index: decimal digits only, at most 65535.
bool ParseIndex(const char* text, int* value) {
  if (!text || !isdigit((unsigned char)*text)) return false;
  int n = 0;
  for (const char* p = text; *p; ++p) {
    if (!isdigit((unsigned char)*p)) return false;
    n = n * 10 + (*p - '0');
    if (n > 65535) return false;
  }
  *value = n;
  return true;
}

}  // namespace

// Tokens of an effect text: names, numbers and one-character symbols; blanks
// and comments are skipped and lines counted.
class SDxEffect::_SReader {
public:
  enum { END, NAME, NUMBER, SYMBOL, BAD };

  _SReader(const char* text, int length)
      : m_text(text), m_end(text + length), m_p(text), m_line(1), m_commentOpen(false) {}

  int GetLine() const { return m_line; }
  // A comment ran to the end of the text.
  bool IsCommentOpen() const { return m_commentOpen; }

  // The next token; BAD for an unterminated comment, a malformed number or a
  // stray character.
  int Next(SString* token) {
    token->Set("");
    if (!SkipBlanks()) return BAD;
    if (m_p >= m_end) return END;
    const char* start = m_p;
    int kind;
    if (IsNameStart(*m_p)) {
      while (m_p < m_end && IsNameChar(*m_p)) ++m_p;
      kind = NAME;
    } else if (isdigit((unsigned char)*m_p) ||
               (*m_p == '.' && m_p + 1 < m_end && isdigit((unsigned char)m_p[1]))) {
      kind = ReadNumber() ? NUMBER : BAD;
    } else if (strchr("{}()[];:,=<>-+", *m_p)) {
      ++m_p;
      kind = SYMBOL;
    } else {
      ++m_p;
      kind = BAD;
    }
    SString text;
    text.SetLength((int)(m_p - start), false);
    memcpy((char*)text.GetText(), start, m_p - start);
    *token = text;
    return kind;
  }

  // The next token without reading it.
  int Peek(SString* token) {
    const char* p = m_p;
    int line = m_line;
    int kind = Next(token);
    m_p = p;
    m_line = line;
    return kind;
  }

  // Reads the next token when it is the symbol or name.
  bool Accept(const char* text) {
    SString token;
    int kind = Peek(&token);
    if ((kind != SYMBOL && kind != NAME) || token != text) return false;
    Next(&token);
    return true;
  }

  // The raw text up to the next "}" outside a comment ("//", ";" to the end
  // of the line, "/* */"); the "}" is read too. False at the end.
  bool ReadRaw(SString* out) {
    const char* start = m_p;
    while (m_p < m_end && *m_p != '}') {
      if (*m_p == ';' || (*m_p == '/' && m_p + 1 < m_end && m_p[1] == '/')) {
        while (m_p < m_end && *m_p != '\n') ++m_p;
      } else if (*m_p == '/' && m_p + 1 < m_end && m_p[1] == '*') {
        if (!SkipBlockComment()) return false;
      } else {
        if (*m_p == '\n') ++m_line;
        ++m_p;
      }
    }
    if (m_p >= m_end) return false;
    out->SetLength((int)(m_p - start), false);
    memcpy((char*)out->GetText(), start, m_p - start);
    ++m_p;
    return true;
  }

private:
  bool SkipBlanks() {
    while (m_p < m_end) {
      if (*m_p == '\n') {
        ++m_line;
        ++m_p;
      } else if (isspace((unsigned char)*m_p)) {
        ++m_p;
      } else if (*m_p == '/' && m_p + 1 < m_end && m_p[1] == '/') {
        while (m_p < m_end && *m_p != '\n') ++m_p;
      } else if (*m_p == '/' && m_p + 1 < m_end && m_p[1] == '*') {
        if (!SkipBlockComment()) return false;
      } else {
        break;
      }
    }
    return true;
  }

  // At "/*": past the closing "*/", counting lines; false when the comment
  // runs to the end of the text.
  bool SkipBlockComment() {
    m_p += 2;
    while (m_p + 1 < m_end && !(m_p[0] == '*' && m_p[1] == '/')) {
      if (*m_p == '\n') ++m_line;
      ++m_p;
    }
    if (m_p + 1 >= m_end) {
      m_p = m_end;
      m_commentOpen = true;
      return false;
    }
    m_p += 2;
    return true;
  }

  // At the first character of a number: reads it whole. A decimal number
  // is digits with at most one point, then an exponent with at least one
  // digit, then an optional f or h; a hexadecimal one is "0x" and at least
  // one hexadecimal digit. False for anything else, such as "1.2.3", "0x",
  // "1e" or "2px"; the token then runs to the end of the malformed text.
  bool ReadNumber() {
    bool ok = true;
    if (m_p + 1 < m_end && m_p[0] == '0' && (m_p[1] == 'x' || m_p[1] == 'X')) {
      m_p += 2;
      const char* digits = m_p;
      while (m_p < m_end && isxdigit((unsigned char)*m_p)) ++m_p;
      ok = m_p > digits;
    } else {
      while (m_p < m_end && isdigit((unsigned char)*m_p)) ++m_p;
      if (m_p < m_end && *m_p == '.') {
        ++m_p;
        while (m_p < m_end && isdigit((unsigned char)*m_p)) ++m_p;
      }
      if (m_p < m_end && (*m_p == 'e' || *m_p == 'E')) {
        ++m_p;
        if (m_p < m_end && (*m_p == '+' || *m_p == '-')) ++m_p;
        const char* digits = m_p;
        while (m_p < m_end && isdigit((unsigned char)*m_p)) ++m_p;
        ok = m_p > digits;
      }
      if (ok && m_p < m_end && (*m_p == 'f' || *m_p == 'F' || *m_p == 'h' || *m_p == 'H')) ++m_p;
    }
    if (m_p < m_end && (IsNameChar(*m_p) || *m_p == '.')) ok = false;
    if (!ok) {
      while (m_p < m_end && (IsNameChar(*m_p) || *m_p == '.')) ++m_p;
    }
    return ok;
  }

  const char* m_text;
  const char* m_end;
  const char* m_p;
  int m_line;
  bool m_commentOpen;
};

bool SDxEffect::Fail(const _SReader& reader, const char* format, ...) {
  SString message;
  va_list args;
  va_start(args, format);
  message.FormatV(format, args);
  va_end(args);
  if (reader.IsCommentOpen()) message.Set("unterminated comment");
  m_errors.Format("line %d: %s", reader.GetLine(), message.GetText());
  return false;
}

bool SDxEffect::Create(const char* text, int length, DWORD flags) {
  Release();
  m_errors.Set("");
  if (!m_device || !text || length <= 0) {
    m_errors.Set("no device or no text");
    return false;
  }
  m_rowMajor = (flags & D3DXSHADER_PACKMATRIX_ROWMAJOR) != 0;
  _SReader reader(text, length);
  if (!Parse(reader) || !CheckRegisters()) {
    SString errors = m_errors;
    Release();
    m_errors = errors;
    return false;
  }
  m_current = m_techniques[0];
  m_created = true;
  return true;
}

bool SDxEffect::Parse(_SReader& reader) {
  for (;;) {
    SString token;
    int kind = reader.Peek(&token);
    if (kind == _SReader::END) break;
    if (kind == _SReader::BAD)
      return Fail(reader, "unexpected \"%s\" or an unterminated comment", token.GetText());
    bool ok;
    if (kind == _SReader::NAME && token == "technique") {
      ok = ParseTechnique(reader);
    } else if (kind == _SReader::NAME && (token == "sampler" || token == "sampler2D")) {
      ok = ParseSampler(reader);
    } else if (kind == _SReader::NAME) {
      ok = ParseParameter(reader);
    } else {
      return Fail(reader, "unexpected \"%s\"", token.GetText());
    }
    if (!ok) return false;
  }
  if (m_techniques.GetCount() == 0) return Fail(reader, "the text has no technique");
  return true;
}

bool SDxEffect::ParseParameter(_SReader& reader) {
  SString word;
  bool rowMajor = m_rowMajor;
  for (;;) {
    if (reader.Next(&word) != _SReader::NAME) return Fail(reader, "a type was expected");
    if (word == "row_major") {
      rowMajor = true;
    } else if (word == "column_major") {
      rowMajor = false;
    } else if (word != "uniform") {
      break;
    }
  }
  int type = -1, rows = 0, columns = 0;
  for (const TypeRow& row : kTypes) {
    if (word == row.name) {
      type = row.type;
      rows = row.rows;
      columns = row.columns;
    }
  }
  int r = 0, c = 0;
  char tail = 0;
  if (type < 0 && sscanf(word.GetText(), "float%dx%d%c", &r, &c, &tail) == 2 && r >= 1 && r <= 4 &&
      c >= 1 && c <= 4) {
    type = TYPE_FLOAT;
    rows = r;
    columns = c;
  }
  if (type < 0) return Fail(reader, "unknown type \"%s\"", word.GetText());

  SString name;
  if (reader.Next(&name) != _SReader::NAME) return Fail(reader, "a parameter name was expected");
  if (FindParameterIndex(name.GetText()) >= 0) {
    return Fail(reader, "\"%s\" is declared twice", name.GetText());
  }
  _SParameter* p = new _SParameter;
  p->name = name;
  p->type = type;
  p->rows = rows;
  p->columns = columns;
  p->elements = 1;
  p->rowMajor = rowMajor;
  p->texture = nullptr;
  p->dirty = true;
  for (_SRegister& reg : p->registers) {
    reg.kind = 0;
    reg.index = 0;
  }
  m_parameters.Add(p);

  SString token;
  if (reader.Accept("[")) {
    if (reader.Next(&token) != _SReader::NUMBER) return Fail(reader, "an array size was expected");
    int n = 0;
    if (!ParseIndex(token.GetText(), &n) || n < 1 || n > kMaxElements || !reader.Accept("]")) {
      return Fail(reader, "bad array size of \"%s\"", name.GetText());
    }
    p->elements = n;
  }
  if (type == TYPE_TEXTURE && p->elements != 1)
    return Fail(reader, "texture arrays are not supported");

  while (reader.Accept(":")) {
    if (!reader.Accept("register") || !reader.Accept("(")) {
      return Fail(reader, "\"register(...)\" was expected after \":\"");
    }
    int first = STAGE_VERTEX, last = STAGE_PIXEL;
    if (reader.Accept("vs")) {
      last = STAGE_VERTEX;
      if (!reader.Accept(",")) return Fail(reader, "\",\" was expected");
    } else if (reader.Accept("ps")) {
      first = STAGE_PIXEL;
      if (!reader.Accept(",")) return Fail(reader, "\",\" was expected");
    }
    int index = 0;
    if (reader.Next(&token) != _SReader::NAME || token.GetLength() < 2 ||
        !strchr("cbi", token.GetAt(0)) || !ParseIndex(token.GetText() + 1, &index)) {
      return Fail(reader, "bad register \"%s\"", token.GetText());
    }
    if (type == TYPE_TEXTURE)
      return Fail(reader, "a texture takes no register; bind it with a sampler");
    if (!reader.Accept(")")) return Fail(reader, "\")\" was expected");
    for (int stage = first; stage <= last; ++stage) {
      p->registers[stage].kind = token.GetAt(0);
      p->registers[stage].index = index;
    }
  }

  int total = type == TYPE_TEXTURE ? 0 : rows * columns * p->elements;
  p->values.SetSize(total, false);
  for (int i = 0; i < total; ++i) p->values[i] = 0.0f;
  if (reader.Accept("=")) {
    if (type == TYPE_TEXTURE) return Fail(reader, "a texture has no initial value");
    if (!ParseInitialValues(reader, p)) return false;
  }
  if (!reader.Accept(";")) return Fail(reader, "\";\" was expected after \"%s\"", name.GetText());
  return true;
}

bool SDxEffect::ParseInitialValues(_SReader& reader, _SParameter* p) {
  SArray<float> values;
  int depth = 0;
  SString token;
  do {
    int kind = reader.Next(&token);
    if (kind == _SReader::BAD)
      return Fail(reader, "malformed \"%s\" in the value", token.GetText());
    if (kind == _SReader::SYMBOL && token == "{") {
      ++depth;
    } else if (kind == _SReader::SYMBOL && token == "}") {
      if (--depth < 0) return Fail(reader, "unbalanced \"}\"");
    } else if (kind == _SReader::SYMBOL && (token == "," || token == "(" || token == ")")) {
      // separators and constructor brackets
    } else if (kind == _SReader::NAME && (token == "true" || token == "false")) {
      values.Add(token == "true" ? 1.0f : 0.0f);
    } else if (kind == _SReader::NAME) {
      if (!reader.Accept("("))
        return Fail(reader, "unexpected \"%s\" in the value", token.GetText());
      // A constructor such as float4(...): its numbers follow.
      int inner = 1;
      while (inner > 0) {
        kind = reader.Next(&token);
        if (kind == _SReader::BAD)
          return Fail(reader, "malformed \"%s\" in the value", token.GetText());
        if (kind == _SReader::END) return Fail(reader, "unbalanced \"(\"");
        if (token == "(") {
          ++inner;
        } else if (token == ")") {
          --inner;
        } else if (token == "-" || token == "+" || kind == _SReader::NUMBER) {
          float sign = 1.0f;
          if (token == "-" || token == "+") {
            if (token == "-") sign = -1.0f;
            if (reader.Next(&token) != _SReader::NUMBER)
              return Fail(reader, "a number was expected");
          }
          values.Add(sign * (float)strtod(token.GetText(), nullptr));
        } else if (token != ",") {
          return Fail(reader, "unexpected \"%s\" in the value", token.GetText());
        }
      }
    } else if (kind == _SReader::NUMBER ||
               (kind == _SReader::SYMBOL && (token == "-" || token == "+"))) {
      float sign = 1.0f;
      if (kind == _SReader::SYMBOL) {
        if (token == "-") sign = -1.0f;
        if (reader.Next(&token) != _SReader::NUMBER) return Fail(reader, "a number was expected");
      }
      values.Add(sign * (float)strtod(token.GetText(), nullptr));
    } else {
      return Fail(reader, "unexpected \"%s\" in the value", token.GetText());
    }
  } while (depth > 0);
  if (values.GetCount() != p->values.GetCount()) {
    return Fail(reader, "\"%s\" needs %d initial values, not %d", p->name.GetText(),
                p->values.GetCount(), values.GetCount());
  }
  for (int i = 0; i < values.GetCount(); ++i) Store(p, i, values[i]);
  return true;
}

bool SDxEffect::ParseSampler(_SReader& reader) {
  SString token, name;
  reader.Next(&token);
  if (reader.Next(&name) != _SReader::NAME) return Fail(reader, "a sampler name was expected");
  _SSampler* s = new _SSampler;
  s->name = name;
  s->index = -1;
  s->texture = -1;
  m_samplers.Add(s);
  while (reader.Accept(":")) {
    int index = 0;
    if (!reader.Accept("register") || !reader.Accept("(") ||
        reader.Next(&token) != _SReader::NAME || token.GetAt(0) != 's' ||
        !ParseIndex(token.GetText() + 1, &index) || !reader.Accept(")")) {
      return Fail(reader, "sampler \"%s\": \"register(sN)\" was expected", name.GetText());
    }
    s->index = index;
  }
  if (s->index < 0 || s->index > 15)
    return Fail(reader, "sampler \"%s\" needs a register s0 to s15", name.GetText());
  if (reader.Accept("=")) {
    if (!reader.Accept("sampler_state") || !reader.Accept("{")) {
      return Fail(reader, "\"sampler_state {\" was expected");
    }
    while (!reader.Accept("}")) {
      SString state;
      if (reader.Next(&state) != _SReader::NAME || !reader.Accept("=")) {
        return Fail(reader, "a sampler state was expected in \"%s\"", name.GetText());
      }
      if (state.CompareNoCase("Texture") == 0) {
        bool angle = reader.Accept("<");
        if (!angle && !reader.Accept("(")) return Fail(reader, "\"<texture>\" was expected");
        if (reader.Next(&token) != _SReader::NAME)
          return Fail(reader, "a texture name was expected");
        int index = FindParameterIndex(token.GetText());
        if (index < 0 || m_parameters[index]->type != TYPE_TEXTURE) {
          return Fail(reader, "\"%s\" is not a texture", token.GetText());
        }
        if (!reader.Accept(angle ? ">" : ")")) return Fail(reader, "unbalanced \"<\" or \"(\"");
        s->texture = index;
      } else {
        const SamplerStateRow* row = nullptr;
        for (const SamplerStateRow& r : kSamplerStates) {
          if (state.CompareNoCase(r.name) == 0) row = &r;
        }
        if (!row) return Fail(reader, "unknown sampler state \"%s\"", state.GetText());
        int kind = reader.Next(&token);
        DWORD value = 0;
        bool found = false;
        if (kind == _SReader::NAME) {
          for (const StateValueRow& v : kStateValues) {
            if (token.CompareNoCase(v.name) == 0) {
              value = v.value;
              found = true;
            }
          }
        } else if (kind == _SReader::NUMBER) {
          if (row->isFloat) {
            float f = (float)strtod(token.GetText(), nullptr);
            memcpy(&value, &f, sizeof(value));
          } else {
            value = (DWORD)strtoul(token.GetText(), nullptr, 0);
          }
          found = true;
        }
        if (!found) return Fail(reader, "unknown value \"%s\" of %s", token.GetText(), row->name);
        s->states.Add((DWORD)row->state);
        s->states.Add(value);
      }
      if (!reader.Accept(";")) return Fail(reader, "\";\" was expected after the sampler state");
    }
  }
  if (!reader.Accept(";"))
    return Fail(reader, "\";\" was expected after sampler \"%s\"", name.GetText());
  return true;
}

bool SDxEffect::ParseTechnique(_SReader& reader) {
  SString token, name;
  reader.Next(&token);
  if (reader.Next(&name) != _SReader::NAME) return Fail(reader, "a technique name was expected");
  if (GetTechniqueByName(name.GetText()))
    return Fail(reader, "technique \"%s\" is declared twice", name.GetText());
  _STechnique* t = new _STechnique;
  t->name = name;
  m_techniques.Add(t);
  if (!reader.Accept("{"))
    return Fail(reader, "\"{\" was expected after technique \"%s\"", name.GetText());
  while (!reader.Accept("}")) {
    SString next;
    if (reader.Peek(&next) == _SReader::END)
      return Fail(reader, "unbalanced \"{\" in technique \"%s\"", name.GetText());
    if (!reader.Accept("pass")) return Fail(reader, "\"pass\" or \"}\" was expected");
    _SPass* pass = new _SPass;
    pass->vertexShader = nullptr;
    pass->pixelShader = nullptr;
    t->passes.Add(pass);
    if (reader.Next(&pass->name) != _SReader::NAME) return Fail(reader, "a pass name was expected");
    if (!reader.Accept("{"))
      return Fail(reader, "\"{\" was expected after pass \"%s\"", pass->name.GetText());
    while (!reader.Accept("}")) {
      int kind = reader.Next(&token);
      if (kind == _SReader::END)
        return Fail(reader, "unbalanced \"{\" in pass \"%s\"", pass->name.GetText());
      bool vertex = token == "VertexShader";
      if (kind != _SReader::NAME || (!vertex && token != "PixelShader")) {
        return Fail(reader, "unknown pass state \"%s\"", token.GetText());
      }
      if ((vertex && pass->vertexShader) || (!vertex && pass->pixelShader)) {
        return Fail(reader, "%s is set twice", token.GetText());
      }
      if (!reader.Accept("=")) return Fail(reader, "\"=\" was expected");
      if (reader.Accept("NULL")) {
        // no shader of that stage
      } else if (reader.Accept("asm")) {
        if (!reader.Accept("{")) return Fail(reader, "\"{\" was expected after \"asm\"");
        if (!ParseShader(reader, pass, vertex)) return false;
      } else {
        return Fail(reader, "\"asm { ... }\" was expected: only assembly shaders are supported");
      }
      if (!reader.Accept(";")) return Fail(reader, "\";\" was expected after the shader");
    }
  }
  if (t->passes.GetCount() == 0)
    return Fail(reader, "technique \"%s\" has no pass", name.GetText());
  return true;
}

bool SDxEffect::ParseShader(_SReader& reader, _SPass* pass, bool vertex) {
  int line = reader.GetLine();
  SString source;
  if (!reader.ReadRaw(&source)) return Fail(reader, "unbalanced \"{\" of the asm block");
  ID3DXBuffer* code = nullptr;
  ID3DXBuffer* errors = nullptr;
  HRESULT hr = D3DXAssembleShader(source.GetText(), (UINT)source.GetLength(), nullptr, nullptr, 0,
                                  &code, &errors);
  if (FAILED(hr) || !code) {
    SString text;
    if (errors) {
      int n = (int)errors->GetBufferSize();
      const char* p = (const char*)errors->GetBufferPointer();
      text.SetLength(n, false);
      memcpy((char*)text.GetText(), p, n);
      text.SetLength((int)strlen(text.GetText()));
      text.TrimRight();
      errors->Release();
    }
    if (code) code->Release();
    m_errors.Format("line %d: the assembler refused the %s shader of pass \"%s\": %s", line,
                    vertex ? "vertex" : "pixel", pass->name.GetText(), text.GetText());
    return false;
  }
  if (errors) errors->Release();
  const DWORD* tokens = (const DWORD*)code->GetBufferPointer();
  bool isVertex = code->GetBufferSize() >= 4 && (tokens[0] & 0xFFFF0000) == 0xFFFE0000;
  bool isPixel = code->GetBufferSize() >= 4 && (tokens[0] & 0xFFFF0000) == 0xFFFF0000;
  if ((vertex && !isVertex) || (!vertex && !isPixel)) {
    code->Release();
    m_errors.Format("line %d: the %sShader block holds no %s shader", line,
                    vertex ? "Vertex" : "Pixel", vertex ? "vertex" : "pixel");
    return false;
  }
  if (vertex) {
    hr = m_device->CreateVertexShader(tokens, &pass->vertexShader);
  } else {
    hr = m_device->CreatePixelShader(tokens, &pass->pixelShader);
  }
  code->Release();
  if (FAILED(hr)) {
    m_errors.Format("line %d: the device refused the %s shader (0x%08lX)", line,
                    vertex ? "vertex" : "pixel", (unsigned long)hr);
    return false;
  }
  return true;
}

bool SDxEffect::CheckRegisters() {
  // Owner of each register per stage: index into the parameters, -1 free.
  struct Bank {
    char kind;
    int limit[STAGE_COUNT];
  };
  const Bank banks[] = {{'c', {256, 224}}, {'b', {16, 16}}, {'i', {16, 16}}};
  static const char* const kStageNames[] = {"vertex", "pixel"};
  for (const Bank& bank : banks) {
    for (int stage = 0; stage < STAGE_COUNT; ++stage) {
      int owner[256];
      for (int& o : owner) o = -1;
      for (int i = 0; i < m_parameters.GetCount(); ++i) {
        const _SParameter* p = m_parameters[i];
        const _SRegister& r = p->registers[stage];
        if (r.kind != bank.kind) continue;
        if (r.kind == 'b' && (p->rows != 1 || p->columns != 1)) {
          m_errors.Format("\"%s\": a b register holds one bool", p->name.GetText());
          return false;
        }
        if (r.kind == 'i' && p->rows != 1) {
          m_errors.Format("\"%s\": an i register holds one int4", p->name.GetText());
          return false;
        }
        int count = r.kind == 'c' ? RegistersPerElement(*p) * p->elements : p->elements;
        if (r.index < 0 || r.index + count > bank.limit[stage]) {
          m_errors.Format("\"%s\": register %c%d is out of range for the %s shader",
                          p->name.GetText(), r.kind, r.index, kStageNames[stage]);
          return false;
        }
        for (int k = r.index; k < r.index + count; ++k) {
          if (owner[k] >= 0) {
            m_errors.Format("register %c%d of the %s shader is used by \"%s\" and \"%s\"", r.kind,
                            k, kStageNames[stage], m_parameters[owner[k]]->name.GetText(),
                            p->name.GetText());
            return false;
          }
          owner[k] = i;
        }
      }
    }
  }
  bool used[16] = {};
  for (int i = 0; i < m_samplers.GetCount(); ++i) {
    int index = m_samplers[i]->index;
    if (used[index]) {
      m_errors.Format("register s%d is used by two samplers", index);
      return false;
    }
    used[index] = true;
  }
  return true;
}
