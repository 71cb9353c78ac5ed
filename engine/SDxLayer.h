// The container of a scene. The engine owns one main layer and an array of
// further layers (SDx::CreateLayer). A layer owns every item filed in it:
// it files each item in the list that its kind word calls for, keeps a
// second list ordered by distance to the current camera for the items that
// are drawn back to front, steps the items once a frame and supplies the
// draw passes of the frame.
//
// Lists: lights, shapes, meshes, presets and texts are kept in ascending order of their element
// values (pointers) and searched by binary search; sprites are kept in order of creation; the
// ordered list holds blobs, point particle systems and the depth-sorted
// meshes and shapes, in order of creation until the next sort. Every item
// is in exactly one list.
//
// Factories: each is defined with its item class (AddLight and AddText
// here) and files its item with FileItem, which knows every kind's list;
// the factories of blobs, particle systems, presets and sprites (AddBlob,
// AddParticle, AddPreset, AddSprite) come the same way.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

#include <d3d9.h>
#include <stdint.h>

#include <vector>

class SDx;
struct D3DXMATRIX;
class SDxBlob;
class SDxDispatcher;
class SDxLayerItem;
class SDxLight;
class SDxManager;
class SDxMesh;
class SDxObject;
class SDxParticle;
class SDxParticlePoint;
class SDxPreset;
class SDxShader;
class SDxShape;
class SDxSprite;
class SDxText;
class SDxTexture;

class SDxLayer {
public:
  // The list of the ordered items; its comparison puts the farther item
  // first (squared distances to the current camera, cached in the items),
  // items within 1.0 of each other by sequence number. A param of 1 asks
  // for the raw comparison of the pointers (searches).
  class _SOrderItemArray : public SArray<SDxLayerItem*> {
  public:
    int CompareElements(SDxLayerItem* const* a, SDxLayerItem* const* b, uint32_t flags,
                        int param) override;
    SDxLayer* m_layer = nullptr;
  };

  // The kind lists, in the order of their slots in m_lists.
  enum {
    LIST_LIGHTS,
    LIST_SHAPES,
    LIST_MESHES,
    LIST_PRESETS,
    LIST_SPRITES,
    LIST_TEXTS,
    LIST_COUNT,
    LIST_ORDERED = -1,
  };

  // Makes the entity manager and the message dispatcher, then Clear.
  explicit SDxLayer(SDx* engine);
  // Clear, then the manager, the dispatcher and the lists' storage.
  virtual ~SDxLayer();

  // Deletes the queued messages and every entity (whose objects leave the
  // layer with them), then every item (all are taken out of the lists
  // before the first is deleted, so that an item's destructor meets no
  // half-deleted list), and the instances of its master meshes on other
  // layers; counters 0, next sequence number 1, order dirty. Hooks are not
  // called for its own items.
  void Clear();
  // n >= 0: every list gets storage for n items (at least for the items it
  // holds, which stay filed) and never reallocates; n < 0: growable again.
  // The same for the manager's entities.
  void SetFixedCapacity(int n);

  // --- factories ---------------------------------------------------------------
  SDxLight* AddLight();
  // A text with its font (face, height in hundredths of the screen, style),
  // format flags and colour; null when the font cannot be made.
  SDxText* AddText(const char* face, float height, int style, DWORD format, D3DCOLOR color);
  // An empty mesh (SDxMesh.cpp) or shape (SDxShape.cpp).
  SDxMesh* AddMesh();
  SDxShape* AddShape();
  // A blob showing the sheet, its pivot at the frame centre (SDxBlob.cpp).
  SDxBlob* AddBlob(SDxTexture* texture, int columns, int rows, int frameCount);
  // A point particle system; a capacity of 0 or less gives 100 atoms
  // (SDxParticle.cpp).
  SDxParticlePoint* AddParticle(SDxTexture* texture, int capacity);
  // A shock-wave ring; a vertex count of 0 or less gives 96 (SDxPreset.cpp).
  SDxPreset* AddPreset(SDxTexture* texture, float outerRadius, float width, int vertexCount);
  // A sprite with SDxSprite::SetTexture's arguments, filed whatever that
  // call answers (SDxSprite.cpp).
  SDxSprite* AddSprite(SDxTexture* texture, int rows, SDxTexture* second, int columns,
                       int frameCount, int inset);
  // Files an item of this layer by its kind (and, for meshes and shapes,
  // its depth-sorted flag) and counts it; the layer owns it from then on.
  // False, with the item deleted, for another layer's item or a kind
  // without a list.
  bool FileItem(SDxLayerItem* item);

  // --- removal and filing ---------------------------------------------------------
  // Finds the item in its list, calls the engine's removal hook of its kind,
  // deletes it and removes its slot. False for null, an item not filed
  // here, a motion item or a camera.
  bool RemoveItem(SDxLayerItem* item);
  // The same for meshes, shapes and blobs: the object leaves the object
  // list and its owner entity's objects, lights attached to it are
  // detached; removing a master mesh first removes its instances on every
  // layer of the engine, so that none is left on freed geometry.
  bool RemoveObject(SDxObject* object);
  // Removes every mesh of this layer that is an instance of the master.
  void RemoveInstancesOf(SDxMesh* master);
  // After the object's depth-sorted flag changed: moves it between its
  // plain list and the ordered list.
  void UpdateDepthSorting(SDxObject* object);
  // Every item lets go of the texture.
  void ForgetTexture(SDxTexture* texture);

  // --- per frame --------------------------------------------------------------------
  // The per-frame steps: presets, point particle systems, lights.
  void Update();
  // Culled count 0; the ordered list sorted again when dirty.
  void SortOrderItems();
  // Each shape, then each mesh, with the G-buffer shader (RenderObject).
  void RenderOpaque();
  // The depth-sorted meshes and shapes of the ordered list from the
  // farthest, into the scene or the beam targets of their target mask.
  void RenderOrdered();
  // The items from .. to - 1 of the ordered list, each drawn into beam
  // targets only: the same picture as item by item, with the draws into one
  // target grouped where their screen areas allow (one target switch per
  // group).
  void RenderBeamItems(int from, int to);
  // The meshes from .. to - 1 of the mesh list, all drawing alike, as
  // RenderObject would draw each: the visible ones not culled in one
  // instanced draw of the G-buffer shader, inside the layer's pass.
  void RenderInstances(int from, int to);
  // The object's sound emitter stepped (SDxMotion::UpdateSound); then a
  // visible object is culled by the view cone (counted) or drawn.
  void RenderObject(SDxObject* object, SDxShader* shader);
  // A visible blob in one object-space batch of the engine's sprite
  // interface, z-writes off (SDxBlob.cpp).
  void RenderBlob(SDxBlob* blob);
  // A visible particle system between its render-state calls
  // (SDxParticle.cpp).
  void RenderParticle(SDxParticle* particle);
  // The decals of the plain shapes and meshes (true) or of the ordered
  // ones (false) with the G-buffer shader (SDxObjectDecals.cpp).
  void RenderDecals(bool plainLists);
  // Every preset, into the scene or the beam targets of its target mask,
  // culling off and z-writes off meanwhile (SDxPreset.cpp).
  void RenderPresets();
  // The particle systems with the overlay flag, with a fixed projection and
  // view of their own (SDxParticle.cpp).
  void RenderOverlayParticles();
  // The sprites, each run of sprites whose textures blend alike in a sprite
  // batch of its own with that blending (SDxSprite.cpp). With leaveOpen the
  // last batch is left begun, its blending still set, and true is answered
  // (false when no batch is open).
  bool RenderSprites(bool leaveOpen = false);
  // The sprites (RenderSprites), then the texts with alpha blending, over
  // them, in the same sprite batch as the last sprites (flushed first, so
  // that the texts land on top); z-buffering off meanwhile, then D3DZB_USEW.
  void RenderScreenItems();

  // --- access (null or 0 outside the range) ------------------------------------------
  int GetCount(int list) const;
  SDxLayerItem* GetItem(int list, int index) const;
  SDxLight* GetLight(int index) const;
  SDxText* GetText(int index) const;
  // The list that the item is filed in (LIST_ORDERED for the ordered list),
  // or LIST_COUNT when it is in none.
  int FindList(SDxLayerItem* item, int* index);

  SDx* m_engine;
  IDirect3DDevice9* m_device;
  bool m_active;
  int m_nextSequence;
  SArray<SDxLayerItem*> m_lists[LIST_COUNT];
  _SOrderItemArray m_ordered;
  bool m_orderDirty;
  int m_shapeCount, m_meshCount, m_blobCount, m_particleCount;
  int m_culledCount;
  // The entities of the layer and their delayed messages; owned.
  SDxManager* m_manager;
  SDxDispatcher* m_dispatcher;
  // The objects that the entities' default contact scan meets; not owned,
  // filled by the application.
  SArray<SDxObject*> m_objects;

private:
  SDxLayer(const SDxLayer&) = delete;
  SDxLayer& operator=(const SDxLayer&) = delete;

  SArray<SDxLayerItem*>& List(int list) { return list == LIST_ORDERED ? m_ordered : m_lists[list]; }
  const SArray<SDxLayerItem*>& List(int list) const {
    return list == LIST_ORDERED ? m_ordered : m_lists[list];
  }
  // The list an item of that kind belongs in; LIST_COUNT for none.
  static int ListFor(const SDxLayerItem* item);
  // The counter of the item's kind, or null.
  int* CounterFor(int kind);
  // The engine's removal hook of the item's kind.
  void NotifyRemoval(SDxLayerItem* item);
  // RenderObject without the emitter's step.
  void DrawObject(SDxObject* object, SDxShader* shader);

  // RenderInstances' lists of the meshes it draws, their world matrices and
  // object ids: kept from frame to frame, so that a frame allocates nothing.
  std::vector<SDxMesh*> m_instanceMeshes;
  std::vector<const D3DXMATRIX*> m_instanceWorlds;
  std::vector<int> m_instanceIds;
};
