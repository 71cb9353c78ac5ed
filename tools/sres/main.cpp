// sres: makes, lists and unpacks the data archives that SResource reads.
//
//   sres pack ARCHIVE DIR [--key-file F] [--compress]
//   sres list ARCHIVE [--key-file F]
//   sres extract ARCHIVE NAME OUT [--key-file F]
//
// pack stores every file of DIR and its subfolders (hidden ones and ARCHIVE
// itself left out), named by its path below DIR, in case-insensitive name
// order. list prints each entry's name, a tab and its size. The key file
// holds the key text; line breaks at its end are not part of the key. Exit
// status 0 on success, 1 with a one-line message on stderr on failure, 2 for
// a usage error.
#include "core/Platform.h"

#include "core/SDisk.h"
#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "core/SPath.h"
#include "core/SResource.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "tools/common/SResourceWriter.h"

#include <stdio.h>
#include <string.h>

namespace {

const char kUsage[] =
    "usage: sres pack ARCHIVE DIR [--key-file F] [--compress] | "
    "sres list ARCHIVE [--key-file F] | sres extract ARCHIVE NAME OUT [--key-file F]";

struct Arguments {
  const char* command = nullptr;
  const char* positional[3] = {nullptr, nullptr, nullptr};
  int count = 0;
  const char* keyFile = nullptr;
  bool compress = false;
};

int Fail(const char* format, const char* detail = "") {
  fprintf(stderr, "sres: ");
  fprintf(stderr, format, detail);
  fprintf(stderr, "\n");
  return 1;
}

int Usage() {
  fprintf(stderr, "%s\n", kUsage);
  return 2;
}

bool Parse(int argc, char** argv, Arguments& args) {
  if (argc < 2) return false;
  args.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    if (strcmp(argv[i], "--key-file") == 0) {
      if (++i >= argc) return false;
      args.keyFile = argv[i];
    } else if (strcmp(argv[i], "--compress") == 0) {
      args.compress = true;
    } else if (strncmp(argv[i], "--", 2) == 0 || args.count == 3) {
      return false;
    } else {
      args.positional[args.count++] = argv[i];
    }
  }
  return true;
}

// The key text from the key file; false with a message when it is unusable.
bool ReadKey(const char* keyFile, SString& key) {
  key = "";
  if (!keyFile) return true;
  SFileMem file;
  if (!file.LoadFile(keyFile)) return Fail("cannot read key file %s", keyFile), false;
  key = file.ReadString();
  int n = key.GetLength();
  while (n > 0 && (key.GetAt(n - 1) == '\r' || key.GetAt(n - 1) == '\n')) --n;
  key.SetLength(n);
  if (n == 0) return Fail("key file %s is empty", keyFile), false;
  if (int(strlen(key.GetText())) != n) return Fail("key file %s holds a NUL byte", keyFile), false;
  return true;
}

int Pack(const Arguments& args) {
  if (args.count != 2) return Usage();
  const char* archive = args.positional[0];
  SString folder(args.positional[1]);
  SString key;
  if (!ReadKey(args.keyFile, key)) return 1;

  SDisk disk;
  if (!disk.Exists(folder.GetText())) return Fail("no folder %s", folder.GetText());
  int n = folder.GetLength();
  if (folder.GetAt(n - 1) != '\\' && folder.GetAt(n - 1) != '/') folder += '\\';

  SStringArray files;
  SString pattern = folder + "*.*";
  disk.ListFolder(&files, pattern.GetText(),
                  SDisk::LIST_RECURSE | SDisk::LIST_FILES | SDisk::LIST_NO_HIDDEN);
  // Entry names are the paths below the folder. An archive of an earlier run
  // that lies in the folder is not packed into itself.
  SString archivePath = SPath(archive).GetPath();
  SStringArray names;
  names.m_flags = 2;
  for (int i = 0; i < files.GetCount(); ++i) {
    if (SPath(files.Get(i).GetText()).GetPath().CompareNoCase(archivePath.GetText()) == 0) continue;
    SString name = files.Get(i).Mid(folder.GetLength());
    if (names.FindSorted(name.GetText()) >= 0)
      return Fail("two files are both named %s when case is ignored", name.GetText());
    names.InsertSorted(name.GetText());
  }

  SFilePath out;
  if (!out.Open(archive, true, true, false, false)) return Fail("cannot create %s", archive);
  SResourceWriter writer;
  writer.SetKey(key.GetText());
  bool written = writer.Begin(&out, args.compress);
  for (int i = 0; written && i < names.GetCount(); ++i) {
    SString name = names.Get(i);
    SString path = folder + name;
    SFileMem data;
    if (!data.LoadFile(path.GetText())) {
      out.Close();
      disk.DeleteFile(archive);
      return Fail("cannot read %s", path.GetText());
    }
    written = writer.Add(name.GetText(), &data);
  }
  written = written && writer.End();
  out.Close();
  if (!written) {
    disk.DeleteFile(archive);
    return Fail("cannot write %s", archive);
  }
  return 0;
}

bool OpenArchive(const char* archive, const char* keyFile, SResource& resource) {
  SString key;
  if (!ReadKey(keyFile, key)) return false;
  resource.SetKey(key.GetText());
  if (!resource.Open(archive)) return Fail("%s is not a readable archive", archive), false;
  return true;
}

int List(const Arguments& args) {
  if (args.count != 1) return Usage();
  SResource resource;
  if (!OpenArchive(args.positional[0], args.keyFile, resource)) return 1;
  for (int i = 0; i < resource.GetCount(); ++i) {
    SString name = resource.GetName(i);
    int size = resource.GetStoredSize(i);
    if (resource.IsCompressed()) {
      SFileMem data;
      data.Allocate(0);
      if (!resource.Load(&data, name.GetText(), true))
        return Fail("entry %s cannot be read", name.GetText());
      size = data.GetSize();
    }
    printf("%s\t%d\n", name.GetText(), size);
  }
  return 0;
}

int Extract(const Arguments& args) {
  if (args.count != 3) return Usage();
  const char* name = args.positional[1];
  const char* target = args.positional[2];
  SResource resource;
  if (!OpenArchive(args.positional[0], args.keyFile, resource)) return 1;
  if (resource.Find(name) < 0) return Fail("no entry %s", name);
  SFileMem data;
  data.Allocate(0);
  if (!resource.Load(&data, name, true)) return Fail("entry %s cannot be read", name);
  SFilePath out;
  if (!out.Open(target, true, true, false, false)) return Fail("cannot create %s", target);
  int size = data.GetSize();
  if (SFile::Copy(&data, &out) != size) {
    out.Close();
    SDisk().DeleteFile(target);
    return Fail("cannot write %s", target);
  }
  return 0;
}

struct Command {
  const char* name;
  int (*run)(const Arguments&);
};

const Command kCommands[] = {
    {"pack", Pack},
    {"list", List},
    {"extract", Extract},
};

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!Parse(argc, argv, args)) return Usage();
  for (const Command& command : kCommands) {
    if (strcmp(args.command, command.name) == 0) return command.run(args);
  }
  return Usage();
}
