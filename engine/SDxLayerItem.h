// The base of every scene item of a layer: its engine, layer and device,
// its sequence number (handed out by the layer, the tie-break of the
// camera ordering) and its kind word, which decides the layer's list for it.
// Items are made by the layer's factories (cameras by the engine) and
// deleted by their owner through the virtual destructor.
#pragma once

#include "core/Platform.h"

#include <d3dx9.h>

class SDx;
class SDxLayer;
class SDxTexture;

class SDxLayerItem {
public:
  // Kind words; the high byte groups the families that the layer's
  // ordering and lists test.
  enum {
    KIND_MOTION = 0x100,
    KIND_BLOB = 0x101,
    KIND_CAMERA = 0x102,
    KIND_LIGHT = 0x104,
    KIND_MESH = 0x108,
    KIND_SHAPE = 0x110,
    KIND_TRIGGER = 0x120,
    KIND_PARTICLE = 0x200,
    KIND_PARTICLE_MESH = 0x201,
    KIND_PARTICLE_POINT = 0x202,
    KIND_PRESET = 0x400,
    KIND_SHOCKWAVE = 0x402,
    KIND_SPRITE = 0x800,
    KIND_TEXT = 0x1000,
  };

  // The engine is the layer's; without a layer the given one (cameras).
  // The sequence number is the layer's next (0 without a layer).
  SDxLayerItem(SDx* engine, SDxLayer* layer, int kind);
  virtual ~SDxLayerItem();

  // The per-frame step that the layer's update runs (lights, triggers,
  // presets, particle systems); empty here.
  virtual void Step();
  // The texture is about to go: the item lets go of every reference to it.
  // Empty here.
  virtual void ForgetTexture(SDxTexture* texture);
  // The position that the layer's ordering measures from the camera; false
  // for an item without one (here).
  virtual bool GetOrderPosition(D3DXVECTOR3* position) const;

  // The active and hidden bytes that sprites and texts are drawn by.
  SDxLayerItem* SetActive(bool active);
  void SetVisible(bool visible) { m_hidden = !visible; }
  bool IsActive() const { return m_active; }
  // An integer the owner keeps in the item (0 until set); the engine never
  // reads it.
  void SetTag(int tag) { m_tag = tag; }
  int GetTag() const { return m_tag; }

  SDx* GetEngine() const { return m_engine; }
  SDxLayer* GetLayer() const { return m_layer; }
  int GetKind() const { return m_kind; }
  int GetSequence() const { return m_sequence; }

  SDx* m_engine;
  SDxLayer* m_layer;
  IDirect3DDevice9* m_device;
  int m_sequence;
  int m_kind;
  // Squared distance to the current camera cached by the layer's ordering;
  // -1 when a new sort is due.
  float m_cameraDistance;
  bool m_active;
  bool m_hidden;
  int m_tag;

private:
  SDxLayerItem(const SDxLayerItem&) = delete;
  SDxLayerItem& operator=(const SDxLayerItem&) = delete;
};
