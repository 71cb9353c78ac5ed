// A scene item with a transform: position, orientation (a quaternion with
// its rotation matrix and axes), scaling and extra matrices make its world
// matrix, rebuilt at once by every setter through the update operation. It
// carries its local bounding box, its grid cell and a culling mode for the
// view-cone test. Lights, cameras and the drawable objects derive from it.
#pragma once

#include "core/Platform.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLayerItem.h"

#include <d3dx9.h>

class SDxCamera;
class SDxShader;
class SDxSound;

class SDxMotion : public SDxLayerItem {
public:
  // Update flags.
  enum { UPDATE_POSITION = 1, UPDATE_ORIENTATION = 2, UPDATE_SCALE = 4 };
  // Culling modes: none, the view-cone test, never culled by it.
  enum { CULL_NONE = 0, CULL_VIEW_CONE = 1, CULL_NEVER = 2 };

  SDxMotion(SDx* engine, SDxLayer* layer, int kind = KIND_MOTION);
  // Stops and releases the sound emitter's voice, frees the extra matrices
  // and releases the outline buffer.
  ~SDxMotion() override;

  // world = scaling x rotation x the extra matrices, moved by the position;
  // then the grid cell. The flags tell what changed; the base ignores them.
  virtual void Update(int flags);
  // Rebuilds what derives from the item's data; empty here.
  virtual void Rebuild();
  // Draws the box outline (when the item has an outline buffer).
  virtual void Render(SDxShader* shader);
  // True when culled: mode 1 only, against the given camera or the current
  // one (culled without any), with a cone of the field of view + pi/4.
  virtual bool IsOutsideViewCone(SDxCamera* camera);
  // The position.
  bool GetOrderPosition(D3DXVECTOR3* position) const override;

  // --- transform (each ends with the update) --------------------------------
  void SetPosition(const D3DXVECTOR3& position);
  void SetPositionXYZ(float x, float y, float z);
  void SetZ(float z);
  void OffsetZ(float d);
  // Along the direction, or the forward axis when null.
  const D3DXVECTOR3& MoveAlong(float distance, const D3DXVECTOR3* direction);
  // x and z along the forward axis's x and z (not normalised); y stays.
  const D3DXVECTOR3& MoveForwardFlat(float distance);
  // Along the normalised direction to the current camera.
  void MoveTowardCamera(float distance);
  void SetScale(float sx, float sy, float sz);
  // The same scale on all three axes.
  void SetUniformScale(float s);
  // The uniform scale that makes the box that wide; nothing for a box
  // without width.
  void ScaleToWidth(float width);
  // Turns by c about the forward axis, b about the right axis and a about
  // the up axis, each as they were before the call.
  void RotateLocal(float a, float b, float c);
  // From no rotation: RotateLocal (a, b, c).
  void SetRotation(float a, float b, float c);
  // The rotation matrix given; its rows are the axes.
  void SetOrientation(const D3DXMATRIX& matrix);
  // Points the forward axis at the point (nothing for the own position).
  void TurnTowards(const D3DXVECTOR3& point);
  // Turns toward the point by at most frame time x speed per angle (all at
  // once for a negative speed); an angle whose flag is false becomes 0.
  void TurnTowardsLimited(const D3DXVECTOR3& point, bool yaw, bool pitch, float speed);

  // --- queries and settings ---------------------------------------------------
  const D3DXVECTOR3& GetPosition() const { return m_position; }
  float GetX() const { return m_position.x; }
  float GetY() const { return m_position.y; }
  float GetZ() const { return m_position.z; }
  const SDxBox& GetBox() const { return m_box; }
  void GetAxes(D3DXVECTOR3* forward, D3DXVECTOR3* up, D3DXVECTOR3* right,
               D3DXQUATERNION* orientation) const;
  const D3DXMATRIX& GetWorldMatrix() const { return m_world; }
  // The local box's corners transformed by the world matrix, as a box.
  void GetWorldBox(SDxBox* box) const;
  // The local box made oriented and transformed by the world matrix.
  void GetOrientedBox(SDxOrientedBox* box) const;
  // Half the largest scaled side of the box.
  float GetBoundingRadius() const;
  // The box's depth times the z scale.
  float GetScaledDepth() const;
  // Mode 0 when not enabled, else 2 with the second flag, else 1.
  void SetCulling(bool enabled, bool never);
  // Stores the flag; with true and rebuildNow the rebuild runs. Returns the
  // previous flag.
  bool SetAutoUpdate(bool autoUpdate, bool rebuildNow);
  // Rebuilds the outline buffer from the box, only when it exists.
  void BuildOutline();

  // --- sound emitter --------------------------------------------------------------
  // Releases the voice held (stopped, reservation cleared), then reserves a
  // free voice of the engine's channel: the first unreserved one of its
  // chain. Returns it; null, with no emitter, for an invalid channel (-1
  // releases) or when every voice is taken.
  SDxSound* AttachSound(int channel);
  // Distances at which the volume is the maximum (near) and the minimum
  // (far); stored squared.
  void SetSoundRange(float nearDistance, float farDistance, float minimumVolume,
                     float maximumVolume);
  // Once a frame, from the current camera's squared distance d clamped to
  // [near, far]: volume = minimum + (maximum - minimum) x CosineEase (1 -
  // (d - near) / (far - near)), clamped to [0, 1]. Unless the engine holds
  // the voice paused (SDx::PauseSounds), a voice at volume 0 that sounds is
  // stopped and a silent one at a volume above 0 played again (not while
  // the engine's audio is off). Nothing without an emitter or a camera.
  void UpdateSound();

  int m_gridCell[3];
  bool m_autoUpdate;
  int m_culling;
  D3DXMATRIX m_world;
  D3DXMATRIX* m_extraMatrices;  // owned, m_extraCount of them
  int m_extraCount;
  D3DXMATRIX m_scaling;
  D3DXVECTOR3 m_right, m_up, m_forward;
  D3DXQUATERNION m_orientation;
  D3DXMATRIX m_rotation;
  D3DXVECTOR3 m_position;
  SDxBox m_box;
  IDirect3DVertexBuffer9* m_outline;  // 12 lines, or none
  int m_soundChannel;                 // -1 none
  SDxSound* m_soundVoice;             // reserved by this item, or none
  float m_soundNear, m_soundFar;      // squared
  float m_soundMinVolume, m_soundMaxVolume;

protected:
  // Axes, orientation and rotation back to none; no update.
  void ResetOrientation();
  // The rotation matrix from the orientation and the axes from its rows.
  void ApplyOrientation();
  // The emitter's voice stopped and its reservation cleared; no emitter.
  void ReleaseSound();
};
