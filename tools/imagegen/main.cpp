// imagegen: draws the game's images from a description table.
//
//   imagegen TABLE FOLDER
//
// Every non-empty line of TABLE describes one image (format in
// ImageDescription.h, kinds in Painters.h); each is written into FOLDER
// under its name as a texture file (tools/common/TextureFile.h): the
// picture as its JPEG encoding decodes for a ".jpg" name, as its PNG
// encoding (with alpha) for a ".png" name. The output depends only on the
// table, so two runs give the same files. Exit status 0 on success, 1 with a message on
// stderr on failure, 2 for a usage error.
#include "core/PlatformGdiplus.h"

#include "core/SDisk.h"
#include "core/SFileMem.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "tools/common/TextLines.h"
#include "tools/imagegen/Canvas.h"
#include "tools/imagegen/ImageDescription.h"
#include "tools/imagegen/Painters.h"

#include <stdio.h>

namespace {

int Fail(const char* table, int line, const char* message) {
  fprintf(stderr, "imagegen: %s:%d: %s\n", table, line, message);
  return 1;
}

int Run(const char* table, const char* folderName) {
  SFileMem file;
  if (!file.LoadFile(table)) return Fail(table, 0, "cannot read the table");
  SString folder(folderName);
  int n = folder.GetLength();
  if (n > 0 && folder.GetAt(n - 1) != '\\' && folder.GetAt(n - 1) != '/') folder += '\\';
  SDisk disk;
  if (!disk.Exists(folder.GetText()) && !disk.CreateFolder(folder.GetText()))
    return Fail(table, 0, "cannot create the output folder");

  // Names seen so far, compared without regard to case as the archive does.
  SStringArray names;
  names.m_flags = 2;
  SString text = file.ReadString();
  int lineNumber = 0;
  SString line;
  for (int start = 0; NextLine(text, start, line);) {
    ++lineNumber;
    line.Trim(-1, -1, false);
    if (line.GetLength() == 0) continue;
    ImageDescription description;
    SString error;
    if (!description.Parse(line, error)) return Fail(table, lineNumber, error.GetText());
    if (names.FindSorted(description.name.GetText()) >= 0)
      return Fail(table, lineNumber, "the name is already used");
    names.InsertSorted(description.name.GetText());

    Canvas canvas(description.width, description.height);
    if (!PaintImage(description, canvas, error)) return Fail(table, lineNumber, error.GetText());
    SString path = folder + description.name;
    if (!canvas.Save(path.GetText(), description.jpeg))
      return Fail(table, lineNumber, "cannot write the image");
    if (HasNormalMap(description)) {
      // The normal map: the image's name without its extension, "+n.", and
      // the extension.
      int dot = description.name.ReverseFindChar('.');
      SString normalName = description.name.Left(dot) + "+n" + description.name.Mid(dot);
      if (names.FindSorted(normalName.GetText()) >= 0)
        return Fail(table, lineNumber, "the normal map's name is used");
      names.InsertSorted(normalName.GetText());
      Canvas normal(description.width, description.height);
      if (!PaintNormalMap(description, normal, error))
        return Fail(table, lineNumber, error.GetText());
      if (!normal.Save((folder + normalName).GetText(), description.jpeg))
        return Fail(table, lineNumber, "cannot write the normal map");
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: imagegen TABLE FOLDER\n");
    return 2;
  }
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
    fprintf(stderr, "imagegen: GDI+ does not start\n");
    return 1;
  }
  int result = Run(argv[1], argv[2]);
  Gdiplus::GdiplusShutdown(token);
  return result;
}
