// meshpack: makes the game's mesh files from their descriptions.
//
//   meshpack FOLDER DESCRIPTION...
//
// Each description NAME.txt (format in MeshDescription.h) becomes the mesh
// file NAME in FOLDER: plain .X text, or the container with its texture
// images when the description has images. The output depends on the
// descriptions only. Exit status 0 on success, 1 with a one-line message on
// stderr on failure, 2 for a usage error.
#include "core/Platform.h"

#include "core/SDisk.h"
#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "core/SString.h"
#include "tools/common/DescriptionReader.h"
#include "tools/meshpack/MeshDescription.h"

#include <stdio.h>

namespace {

int Fail(const SString& message) {
  fprintf(stderr, "meshpack: %s\n", message.GetText());
  return 1;
}

// The entry name: the description's file name without its folder and its
// ".txt".
SString EntryName(const char* path) {
  SString name(path);
  int slash = -1;
  for (int i = 0; i < name.GetLength(); ++i)
    if (name.GetAt(i) == '/' || name.GetAt(i) == '\\') slash = i;
  name = name.Mid(slash + 1);
  int n = name.GetLength();
  if (n <= 4 || name.Right(4).CompareNoCase(".txt") != 0) return SString("");
  return name.Left(n - 4);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: meshpack FOLDER DESCRIPTION...\n");
    return 2;
  }
  SString folder(argv[1]);
  SDisk disk;
  if (!disk.Exists(folder.GetText()) && !disk.CreateFolder(folder.GetText()))
    return Fail(SString("cannot create ") + folder);
  int n = folder.GetLength();
  if (folder.GetAt(n - 1) != '/' && folder.GetAt(n - 1) != '\\') folder += "/";
  for (int i = 2; i < argc; ++i) {
    SString name = EntryName(argv[i]);
    if (name.GetLength() == 0) return Fail(SString(argv[i]) + ": a description's name ends in .txt");
    DescriptionReader reader;
    if (!reader.Load(argv[i])) return Fail(reader.GetError());
    MeshDescription mesh;
    if (!mesh.Read(reader)) return Fail(reader.GetError());
    SFileMem bytes;
    bytes.Allocate(0);
    if (!mesh.Write(&bytes)) return Fail(SString(argv[i]) + ": an image cannot be encoded");
    SString path = folder + name;
    SFilePath out;
    if (!out.Open(path.GetText(), true, true, false, false) ||
        out.WriteData(bytes.GetBuffer(), bytes.GetSize()) != bytes.GetSize())
      return Fail(SString("cannot write ") + path);
  }
  return 0;
}
