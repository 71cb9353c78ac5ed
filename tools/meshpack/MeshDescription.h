// One mesh file of the game, described by a text of materials, texture
// images and solids, one record per line (comments and layout as in
// DescriptionReader):
//
//   material NAME R G B A [power=P] [specular=R,G,B] [emissive=R,G,B]
//            [texture=FILE]
//   image FILE WIDTH HEIGHT PATTERN COLOUR1 COLOUR2 [count=N]
//   turn X Y Z          turn of the solids that follow about their centres
//   rotate X Y Z        turn of the solids that follow about the origin
//   box X Y Z  WIDTH HEIGHT DEPTH
//   cylinder X Y Z  R1 R2 LENGTH SEGMENTS AXIS      (AXIS x, y or z)
//   sphere X Y Z  RX RY RZ SEGMENTS RINGS
//
// A solid takes the last material named before it. A material's texture
// names an image of the same description; images are carried inside the
// mesh file, which is then written in the container form "VANDRO
// DX3DMESH 1.0.0.0" (the magic and its NUL, the offset of the end of the .X
// text, the .X text, then per image its size, its name and NUL and its PNG
// bytes, and a size 0 at the end). Without images the file is the .X text
// alone.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "tools/meshpack/MeshBuilder.h"

class DescriptionReader;
class SFile;
class TextureImage;

class MeshDescription {
public:
  MeshDescription();
  ~MeshDescription();
  MeshDescription(const MeshDescription&) = delete;
  MeshDescription& operator=(const MeshDescription&) = delete;

  // Reads and checks the whole description; false with the reader's message.
  bool Read(DescriptionReader& reader);
  // The mesh file's bytes at the file's position; false when an image cannot
  // be encoded.
  bool Write(SFile* file) const;

private:
  bool ReadMaterial(DescriptionReader& reader);
  bool ReadSolid(DescriptionReader& reader);
  static bool ParseTriple(const SString& text, float out[3]);

  MeshBuilder m_builder;
  SArray<MeshBuilder::Material*> m_materials;
  SArray<TextureImage*> m_images;
};
